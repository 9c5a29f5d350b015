#include "FramePrivate.h"

#include "UiReport.h"

#include "framework/docview/App.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>

FrameWidget::FrameWidget(CFrameWnd* pOwner)
    : m_pOwner(pOwner), m_pReport(UiReport::ForFrame(pOwner, this))
{
    // The pointer and the keys change what the bars show (where the pointer is, a drag's
    // size): they look again once the input is handled. What the commands can do follows
    // the changes themselves.
    QApplication::instance()->installEventFilter(this);
}

bool FrameWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (m_pReport)
        m_pReport->Notice(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (watched == menuBar() && LeaveHiddenMenuKeys(static_cast<QKeyEvent*>(event)))
            return true;
        m_pOwner->DelayUpdateControlBars();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::MouseMove:
    case QEvent::Leave:
        m_pOwner->DelayUpdateControlBars();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FrameWidget::LeaveHiddenMenuKeys(const QKeyEvent* event)
{
    // Escape from a menu leaves the menu bar taking the keys even when it shows no highlighted
    // item: a plain letter would open a menu out of nowhere. Without a visible item the keys
    // go back to the window.
    const QMenuBar* bar = menuBar();
    if (bar->activeAction() || (event->modifiers() & Qt::AltModifier))
        return false;
    if (QWidget* central = centralWidget())
        central->setFocus(Qt::OtherFocusReason);
    return !event->text().isEmpty();
}

bool FrameWidget::event(QEvent* event)
{
    // A modal dialog takes the mouse: a drag in one of the frame's windows can't go on, and
    // its release will never come.
    if (event->type() == QEvent::WindowBlocked)
        ReleaseCapture();
    return QMainWindow::event(event);
}

void FrameWidget::closeEvent(QCloseEvent* event)
{
    if (!m_pOwner->OnClose()) {
        event->ignore();
        return;
    }
    m_pOwner->SaveLayout();
    event->accept();
}
