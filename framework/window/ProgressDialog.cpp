#include "ProgressDialog.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

namespace {

// Work done within this many milliseconds shows no dialog: a dialog that flashes up and goes
// says nothing.
constexpr int kMomentMs = 300;
// How often the window's thread looks at the work.
constexpr int kPollMs = 15;

std::unique_ptr<QProgressDialog> MakeDialog(const char* pszLabel, CProgress& progress)
{
    auto dialog = std::make_unique<QProgressDialog>(QApplication::activeWindow());
    const char* title = res::FindString(IDS_APP_TITLE);
    if (title)
        dialog->setWindowTitle(QString::fromUtf8(title));
    dialog->setLabelText(QString::fromUtf8(pszLabel ? pszLabel : ""));
    if (const char* cancel = res::FindString(AFX_IDS_CANCEL))
        dialog->setCancelButtonText(QString::fromUtf8(cancel));
    dialog->setRange(0, CProgress::kWhole);
    dialog->setAutoReset(false);
    dialog->setAutoClose(false);
    dialog->setMinimumDuration(0);
    dialog->setWindowModality(Qt::ApplicationModal);
    QObject::connect(dialog.get(), &QProgressDialog::canceled, [&progress] { progress.Cancel(); });
    dialog->setValue(progress.Done());
    dialog->show();
    return dialog;
}

} // namespace

BOOL AfxRunWithProgress(const char* pszLabel, const std::function<void(CProgress&)>& work)
{
    CProgress progress;
    std::atomic<bool> done{false};
    std::exception_ptr error;
    QEventLoop loop;
    std::thread worker([&] {
        try {
            work(progress);
        } catch (...) {
            error = std::current_exception();
        }
        done = true;
        // The window's thread goes on at once, not at its next look.
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    QElapsedTimer since;
    since.start();
    std::unique_ptr<QProgressDialog> dialog;
    QTimer poll;
    // The loop runs until the work is done, and ends early to change what it lets through:
    // when the dialog is due, and when the dialog has been cancelled.
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const bool due = !dialog && !progress.IsCancelled() && since.elapsed() >= kMomentMs;
        if (done || due || (dialog && progress.IsCancelled()))
            loop.quit();
        else if (dialog)
            dialog->setValue(progress.Done());
    });
    poll.start(kPollMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!done && !progress.IsCancelled()) {
        dialog = MakeDialog(pszLabel, progress);
        loop.exec();
        dialog.reset();
    }
    // Cancelled: the window takes no input while the work winds down.
    if (!done)
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    if (error)
        std::rethrow_exception(error);
    return progress.IsCancelled() ? FALSE : TRUE;
}
