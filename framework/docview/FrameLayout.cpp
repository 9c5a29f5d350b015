// The frame's layout kept between runs: the window's size and place, where its bars are and
// whether they show, and the zoom of its view.
#include "Frame.h"

#include "ControlBars.h"
#include "ScrollView.h"
#include "detail/Settings.h"

#include "framework/core/Commands.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>

#include <algorithm>

namespace {

// Where the window and its bars were when it last closed.
constexpr const char* kLayoutGroup = "Layout";

// A layout saved on another screen, or damaged, must not leave the window out of reach or
// larger than the screen it lands on.
void KeepOnScreen(QWidget* window)
{
    if (window->isMaximized() || window->isFullScreen())
        return;
    const QScreen* screen = QGuiApplication::screenAt(window->geometry().center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    // The frame with its border and title bar is what must fit.
    const QRect avail = screen->availableGeometry();
    const QRect inner = window->geometry();
    QRect r = window->frameGeometry();
    const QMargins border(inner.left() - r.left(), inner.top() - r.top(), r.right() - inner.right(),
                          r.bottom() - inner.bottom());
    r.setSize(r.size().boundedTo(avail.size()));
    r.moveLeft(std::clamp(r.left(), avail.left(), avail.right() + 1 - r.width()));
    r.moveTop(std::clamp(r.top(), avail.top(), avail.bottom() + 1 - r.height()));
    if (r.marginsRemoved(border) != inner)
        window->setGeometry(r.marginsRemoved(border));
}

} // namespace

void CFrameWnd::SaveLayout() const
{
    const std::unique_ptr<QSettings> settings = AfxOpenSettings();
    const auto* window = static_cast<const QMainWindow*>(Widget());
    if (!settings || !window)
        return;
    settings->beginGroup(kLayoutGroup);
    settings->setValue(QStringLiteral("Geometry"), window->saveGeometry());
    settings->setValue(QStringLiteral("Bars"), window->saveState());
    if (const CControlBar* status = GetControlBar(ID_VIEW_STATUS_BAR))
        settings->setValue(QStringLiteral("StatusBar"), bool(status->IsVisible()));
    if (const auto* view = dynamic_cast<const CScrollView*>(GetActiveView()))
        settings->setValue(QStringLiteral("Zoom"), view->GetZoom());
}

void CFrameWnd::RestoreLayout()
{
    const std::unique_ptr<QSettings> settings = AfxOpenSettings();
    auto* window = static_cast<QMainWindow*>(Widget());
    if (!settings || !window)
        return;
    settings->beginGroup(kLayoutGroup);
    window->restoreGeometry(settings->value(QStringLiteral("Geometry")).toByteArray());
    KeepOnScreen(window);
    window->restoreState(settings->value(QStringLiteral("Bars")).toByteArray());
    const QVariant status = settings->value(QStringLiteral("StatusBar"));
    if (CControlBar* bar = GetControlBar(ID_VIEW_STATUS_BAR); bar && status.isValid())
        bar->ShowWindow(status.toBool() ? SW_SHOW : SW_HIDE);
    // A damaged zoom is no step and changes nothing.
    if (auto* view = dynamic_cast<CScrollView*>(GetActiveView()))
        view->ZoomTo(settings->value(QStringLiteral("Zoom"), view->GetZoom()).toInt());
}
