#include "MessageBox.h"

#include "framework/core/AppName.h"
#include "framework/core/Error.h"

#include <QApplication>
#include <QMessageBox>

namespace {

AFX_MSGBOX_HOOK g_hook = nullptr;

QMessageBox::Icon IconOf(UINT nType)
{
    switch (nType & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONASTERISK:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// The buttons of a set, the first of them the default, and the answer when the box is
// closed without one.
struct ButtonSet {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};

ButtonSet ButtonsOf(UINT nType)
{
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Cancel};
    case MB_YESNOCANCEL:
        return {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes,
                QMessageBox::Cancel};
    case MB_YESNO:
        return {QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::No};
    default:
        return {QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok};
    }
}

int ResultOf(QMessageBox::StandardButton button)
{
    switch (button) {
    case QMessageBox::Ok:
        return IDOK;
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    default:
        return IDCANCEL;
    }
}

QString AppTitle() { return QString::fromStdString(AfxGetAppName()); }

} // namespace

AFX_MSGBOX_HOOK AfxSetMessageBoxHook(AFX_MSGBOX_HOOK hook)
{
    AFX_MSGBOX_HOOK old = g_hook;
    g_hook = hook;
    return old;
}

int AfxMessageBox(const char* text, UINT nType, UINT)
{
    if (g_hook)
        return g_hook(text, nType);
    const ButtonSet set = ButtonsOf(nType);
    QMessageBox box(IconOf(nType), AppTitle(), QString::fromUtf8(text ? text : ""), set.buttons,
                    QApplication::activeWindow());
    box.setDefaultButton(set.defaultButton);
    box.setEscapeButton(set.escapeButton);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    return ResultOf(clicked ? box.standardButton(clicked) : set.escapeButton);
}

int AfxFileMessageBox(const std::string& path, const char* message, DWORD dwError)
{
    std::string text = path + "\n\n" + (message ? message : "");
    if (const std::string reason = AfxErrorText(dwError); !reason.empty())
        text += "\n\n" + reason;
    return AfxMessageBox(text.c_str(), MB_OK | MB_ICONEXCLAMATION);
}
