#include "UiReport.h"

#include "ColorBarWidget.h"
#include "FramePrivate.h"

#include "framework/core/AppName.h"
#include "framework/docview/Frame.h"
#include "framework/docview/View.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSaveFile>
#include <QScrollArea>
#include <QStatusBar>
#include <QTextStream>
#include <QToolBar>

#include <vector>

namespace {

QString Place(const QRect& r)
{
    return QStringLiteral("%1 %2 %3 %4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

QRect OnScreen(const QWidget* w, const QRect& r)
{
    return QRect(w->mapToGlobal(r.topLeft()), r.size());
}

QString CommandOf(const QAction* a)
{
    return QString::number(a->property(kCommandProperty).toUInt());
}

QString Flags(const QAction* a)
{
    return QStringLiteral("%1 %2").arg(a->isChecked() ? 1 : 0).arg(a->isEnabled() ? 1 : 0);
}

bool IsModifier(int key)
{
    switch (key) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
        return true;
    default:
        return false;
    }
}

// The reports there are, and whether start-up is over.
std::vector<UiReport*>& Reports()
{
    static std::vector<UiReport*> reports;
    return reports;
}
bool g_started = false;

} // namespace

UiReport* UiReport::ForFrame(CFrameWnd* pFrame, QMainWindow* pWindow)
{
    const QString path = qEnvironmentVariable(AfxSwitchVariable("UI_REPORT").c_str());
    return path.isEmpty() ? nullptr : new UiReport(pFrame, pWindow, path);
}

UiReport::UiReport(CFrameWnd* pFrame, QMainWindow* pWindow, QString path)
    : QObject(pWindow), m_pFrame(pFrame), m_pWindow(pWindow), m_path(std::move(path))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &UiReport::Write);
    Reports().push_back(this);
}

UiReport::~UiReport() { std::erase(Reports(), this); }

void UiReport::Started()
{
    g_started = true;
    for (UiReport* report : Reports())
        report->Schedule();
}

void UiReport::Notice(QObject* watched, const QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Move:
    case QEvent::Resize:
        if (watched->isWidgetType())
            Schedule();
        break;
    case QEvent::ActionChanged:
        Schedule();
        break;
    // A lock key changes what the status bar shows, as it is pressed or released.
    case QEvent::KeyRelease:
        if (watched->isWindowType())
            Schedule();
        break;
    // A key press reaches a window, or, matching a shortcut, the shortcut's owner instead.
    // Modifiers alone do not count: typing a text counts its characters.
    case QEvent::KeyPress:
        if (!watched->isWindowType())
            break;
        if (IsModifier(static_cast<const QKeyEvent*>(event)->key())) {
            Schedule();
            break;
        }
        [[fallthrough]];
    case QEvent::Shortcut:
        ++m_nKeys;
        Schedule();
        break;
    default:
        break;
    }
}

void UiReport::Schedule()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void UiReport::Write()
{
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QTextStream out(&file);
    out << "window " << Place(OnScreen(m_pWindow, m_pWindow->rect())) << '\n';
    if (const CView* view = m_pFrame->GetActiveView(); view && view->Widget()) {
        const QWidget* canvas = view->Widget();
        const QPoint origin = canvas->mapToGlobal(QPoint(0, 0));
        out << "canvas " << origin.x() << ' ' << origin.y() << '\n';
        out << "zoom " << view->GetZoom() << '\n';
        const auto* area = qobject_cast<const QScrollArea*>(view->ContainerWidget());
        const QWidget* port = area ? area->viewport() : canvas;
        const QRect shown = OnScreen(port, port->rect()) & QRect(origin, canvas->size());
        out << "visible " << Place(shown) << '\n';
    }
    const QMenuBar* bar = m_pWindow->menuBar();
    const QList<QAction*> titles = bar->actions();
    for (qsizetype i = 0; i < titles.size(); ++i)
        out << "title " << i << ' ' << Place(OnScreen(bar, bar->actionGeometry(titles[i]))) << ' '
            << titles[i]->text() << '\n';
    for (const QAction* title : titles) {
        const QMenu* menu = title->menu();
        if (!menu || !menu->isVisible())
            continue;
        out << "menu " << Place(menu->geometry()) << '\n';
        for (QAction* a : menu->actions())
            out << "item " << CommandOf(a) << ' ' << Place(OnScreen(menu, menu->actionGeometry(a)))
                << ' ' << Flags(a) << ' ' << a->text() << '\n';
    }
    if (const QStatusBar* status = m_pWindow->findChild<QStatusBar*>()) {
        connect(status, &QStatusBar::messageChanged, this, &UiReport::Schedule,
                Qt::UniqueConnection);
        if (status->isVisible()) {
            out << "status " << Place(OnScreen(status, status->rect())) << ' '
                << status->currentMessage() << '\n';
            for (const QLabel* pane : status->findChildren<QLabel*>())
                if (!pane->text().isEmpty())
                    out << "pane " << pane->text() << '\n';
        }
    }
    for (const QToolBar* toolbar : m_pWindow->findChildren<QToolBar*>()) {
        if (!toolbar->isVisible())
            continue;
        for (QAction* a : toolbar->actions())
            if (const QWidget* button = toolbar->widgetForAction(a);
                button && a->property(kCommandProperty).isValid())
                out << "button " << CommandOf(a) << ' ' << Place(OnScreen(button, button->rect()))
                    << ' ' << Flags(a) << ' ' << a->toolTip() << '\n';
    }
    // The swatches' widget has no meta-object of its own: findChildren<ColorBarWidget*> would
    // take any widget for it.
    for (const QWidget* w : m_pWindow->findChildren<QWidget*>()) {
        const auto* bar = dynamic_cast<const ColorBarWidget*>(w);
        if (!bar || !bar->isVisible())
            continue;
        for (std::size_t i = 0; i < bar->SwatchCount(); ++i) {
            const COLORREF cr = bar->SwatchColor(i);
            out << "swatch " << i << ' ' << Place(OnScreen(bar, bar->SwatchRect(i))) << ' '
                << QStringLiteral("%1%2%3")
                       .arg(GetRValue(cr), 2, 16, QChar('0'))
                       .arg(GetGValue(cr), 2, 16, QChar('0'))
                       .arg(GetBValue(cr), 2, 16, QChar('0'))
                       .toUpper()
                << '\n';
        }
        for (std::size_t square = 0; square < 2; ++square)
            out << "pair " << square << ' ' << Place(OnScreen(bar, bar->PairRect(square))) << '\n';
    }
    WriteApplication(out);
    out.flush();
    file.commit();
}

void UiReport::WriteApplication(QTextStream& out) const
{
    if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal->isVisible())
        out << "modal " << modal->windowTitle() << '\n';
    out << "keys " << m_nKeys << '\n';
    if (g_started)
        out << "started\n";
}
