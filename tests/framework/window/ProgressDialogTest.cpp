// Work on a thread of its own: no dialog for a moment's work, and a dialog whose button stops
// longer work.
#include "framework/window/ProgressDialog.h"

#include "tests/support/ModalAnswers.h"

#include <QProgressDialog>
#include <QPushButton>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

TEST(ProgressDialog, QuickWorkShowsNoDialog)
{
    ModalAnswers answers({});
    EXPECT_TRUE(AfxRunWithProgress("읽는 중", [](CProgress&) {}));
    EXPECT_EQ(answers.Unexpected(), 0);
}

// The work goes on until it is cancelled, or for ten seconds, so that a fault fails the test
// rather than hanging it.
TEST(ProgressDialog, LongWorkShowsADialogWhoseButtonStopsIt)
{
    QString label;
    ModalAnswers answers({[&](QWidget* w) {
        auto* dialog = qobject_cast<QProgressDialog*>(w);
        if (auto* cancel = dialog ? w->findChild<QPushButton*>() : nullptr) {
            label = dialog->labelText() + " " + cancel->text();
            cancel->click();
        }
    }});
    bool stopped = false;
    EXPECT_FALSE(AfxRunWithProgress("읽는 중", [&](CProgress& progress) {
        for (int i = 0; i < 1000 && !progress.IsCancelled(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        stopped = progress.IsCancelled();
    }));
    EXPECT_TRUE(stopped);
    EXPECT_EQ(label, QString("읽는 중 취소"));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

} // namespace
