// The frame's layout kept between runs: the window's size and place, where its bars are and
// whether they show, and the zoom of its view.
#include "Frame.h"

#include "App.h"
#include "ControlBars.h"
#include "ScrollView.h"
#include "detail/FramePrivate.h"
#include "detail/Settings.h"

#include "framework/core/Commands.h"

#include <QDir>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStandardPaths>

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

// How far each window of the program that is open already moves the next one down and right:
// about a title bar, so that every title shows.
constexpr int kCascadeStep = 32;
constexpr int kPlaces = 64;

// The lowest place free among the windows of this program that are open, in its runtime
// folder: a place is a lock that the process holding it keeps while its window is open, and a
// process that ended leaves it free. Null (no place, no offset) without a folder for them.
std::unique_ptr<QLockFile> ClaimPlace(int& place)
{
    const CWinApp* app = AfxGetApp();
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!app || app->GetSettingsKey().empty() || runtime.isEmpty())
        return nullptr;
    const QString folder = runtime + '/' + QString::fromStdString(app->GetSettingsKey()) + '/' +
                           QString::fromUtf8(app->m_pszAppName);
    if (!QDir().mkpath(folder))
        return nullptr;
    for (place = 0; place < kPlaces; ++place) {
        auto lock =
            std::make_unique<QLockFile>(folder + QStringLiteral("/window%1.lock").arg(place));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0))
            return lock;
    }
    return nullptr;
}

// Moves a window that would open where another of the program's is down and right by its
// place, so that both show; past the screen's corner the steps start again at its top left.
void Cascade(QWidget* window, int place)
{
    const QScreen* screen = window->screen();
    if (place == 0 || !screen || window->isMaximized() || window->isFullScreen())
        return;
    const QRect avail = screen->availableGeometry();
    // A window with no layout of its own goes where the desktop puts it: from the top left here.
    const QPoint from = window->testAttribute(Qt::WA_Moved) ? window->pos() : avail.topLeft();
    const QSize size = window->frameGeometry().size();
    QPoint to = from + QPoint(place, place) * kCascadeStep;
    if (!avail.contains(QRect(to, size))) {
        const QSize room = avail.size() - size;
        const int steps = std::max(1, std::min(room.width(), room.height()) / kCascadeStep + 1);
        to = avail.topLeft() + QPoint(1, 1) * (place % steps * kCascadeStep);
    }
    window->move(to);
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
    int place = 0;
    d->place = ClaimPlace(place);
    if (d->place)
        Cascade(window, place);
    window->restoreState(settings->value(QStringLiteral("Bars")).toByteArray());
    const QVariant status = settings->value(QStringLiteral("StatusBar"));
    if (CControlBar* bar = GetControlBar(ID_VIEW_STATUS_BAR); bar && status.isValid())
        bar->ShowWindow(status.toBool() ? SW_SHOW : SW_HIDE);
    // A damaged zoom is no step and changes nothing.
    if (auto* view = dynamic_cast<CScrollView*>(GetActiveView()))
        view->ZoomTo(settings->value(QStringLiteral("Zoom"), view->GetZoom()).toInt());
}
