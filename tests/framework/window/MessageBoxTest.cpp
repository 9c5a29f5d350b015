// The message box: buttons and their results, caption, icon, text, and the hook that
// answers without showing a box.
#include "framework/window/MessageBox.h"

#include "tests/support/ModalAnswers.h"

#include "framework/core/Resource.h"

#include <gtest/gtest.h>

namespace {

struct ButtonCase {
    const char* name;
    UINT nType;
    QMessageBox::StandardButton click;
    int expected;
};

class MessageBoxButtons : public ::testing::TestWithParam<ButtonCase> {};

TEST_P(MessageBoxButtons, ClickedButtonGivesItsResult)
{
    const ButtonCase& c = GetParam();
    ModalAnswers answers({ModalAnswers::Click(c.click)});
    EXPECT_EQ(AfxMessageBox("질문", c.nType), c.expected);
    EXPECT_EQ(answers.Answered(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    AllSets, MessageBoxButtons,
    ::testing::Values(
        ButtonCase{"OkGivesIdOk", MB_OK, QMessageBox::Ok, int(IDOK)},
        ButtonCase{"OkCancelCancel", MB_OKCANCEL, QMessageBox::Cancel, int(IDCANCEL)},
        ButtonCase{"OkCancelOk", MB_OKCANCEL, QMessageBox::Ok, int(IDOK)},
        ButtonCase{"YesNoCancelYes", MB_YESNOCANCEL, QMessageBox::Yes, int(IDYES)},
        ButtonCase{"YesNoCancelNo", MB_YESNOCANCEL, QMessageBox::No, int(IDNO)},
        ButtonCase{"YesNoCancelCancel", MB_YESNOCANCEL, QMessageBox::Cancel, int(IDCANCEL)},
        ButtonCase{"YesNoNo", MB_YESNO | MB_ICONQUESTION, QMessageBox::No, int(IDNO)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MessageBox, ShowsTextCaptionedWithTheApplicationTitle)
{
    QString caption, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    ModalAnswers answers({ModalAnswers::Cancel([&](QWidget* w) {
        auto* box = qobject_cast<QMessageBox*>(w);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        icon = box->icon();
        buttons = box->standardButtons();
    })});
    EXPECT_EQ(AfxMessageBox("저장 성공", MB_YESNOCANCEL | MB_ICONEXCLAMATION), int(IDCANCEL));
    const char* title = res::FindString(IDS_APP_TITLE);
    EXPECT_EQ(caption, QString::fromUtf8(title ? title : "Skorel"));
    EXPECT_EQ(text, QString::fromUtf8("저장 성공"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
}

TEST(MessageBox, EscapeCancelsAYesNoCancelQuestion)
{
    ModalAnswers answers({[](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }});
    EXPECT_EQ(AfxMessageBox("질문", MB_YESNOCANCEL), int(IDCANCEL));
}

TEST(MessageBox, HookAnswersWithoutShowingABox)
{
    static int calls = 0;
    static std::string seen;
    const AFX_MSGBOX_HOOK before = AfxSetMessageBoxHook([](const char* text, UINT nType) {
        ++calls;
        seen = text;
        return (nType & MB_TYPEMASK) == MB_YESNO ? int(IDNO) : int(IDOK);
    });
    ModalAnswers answers({});
    EXPECT_EQ(AfxMessageBox("하나", MB_YESNO), int(IDNO));
    EXPECT_EQ(AfxMessageBox("둘"), int(IDOK));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(seen, "둘");
    QTest::qWait(50);
    EXPECT_EQ(answers.Unexpected(), 0);
    EXPECT_NE(AfxSetMessageBoxHook(before), nullptr);
}

} // namespace
