#include "ControlBars.h"

#include "Frame.h"
#include "detail/FramePrivate.h"
#include "detail/ToolbarPictures.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/window/Keyboard.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include <functional>
#include <utility>

namespace {

// Calls `refresh` whenever the lock keys may have changed: after a key the program took, and
// when it becomes active again, since a key in another program's window changes them too. No
// asking the display while nothing happens.
class LockKeyWatch : public QObject {
public:
    LockKeyWatch(QObject* parent, std::function<void()> refresh)
        : QObject(parent), m_refresh(std::move(refresh))
    {
        qApp->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const QEvent::Type type = event->type();
        // A key comes to its window first and then to the widget with the focus: once is enough.
        if (((type == QEvent::KeyPress || type == QEvent::KeyRelease) && watched->isWindowType()) ||
            (type == QEvent::ApplicationStateChange &&
             QGuiApplication::applicationState() == Qt::ApplicationActive))
            m_refresh();
        return false;
    }

private:
    std::function<void()> m_refresh;
};

Qt::ToolBarAreas ToAreas(DWORD dwDockStyle)
{
    Qt::ToolBarAreas areas;
    if (dwDockStyle & CBRS_ALIGN_TOP)
        areas |= Qt::TopToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_BOTTOM)
        areas |= Qt::BottomToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_LEFT)
        areas |= Qt::LeftToolBarArea;
    if (dwDockStyle & CBRS_ALIGN_RIGHT)
        areas |= Qt::RightToolBarArea;
    return areas;
}

// The status bar's texts for pane 0 between prompts.
constexpr const char* kIdleProperty = "afxIdleText";
constexpr const char* kNoticeProperty = "afxNotice";

QString IdleText(const QStatusBar* bar)
{
    const QString notice = bar->property(kNoticeProperty).toString();
    return notice.isEmpty() ? bar->property(kIdleProperty).toString() : notice;
}

bool IsLockIndicator(UINT id)
{
    return id == ID_INDICATOR_CAPS || id == ID_INDICATOR_NUM || id == ID_INDICATOR_SCRL;
}

// A status-bar pane while its command's update handler runs.
class PaneCmdUI : public CCmdUI {
public:
    explicit PaneCmdUI(QLabel* pLabel) : m_pLabel(pLabel) {}
    void SetText(const char* lpszText) override
    {
        const QString text = QString::fromUtf8(lpszText ? lpszText : "");
        if (m_pLabel->text() != text)
            m_pLabel->setText(text);
    }

private:
    QLabel* m_pLabel;
};

} // namespace

void CControlBar::EnableDocking(DWORD) {}

void CControlBar::OnUpdateCmdUI(CFrameWnd*) {}

BOOL CControlBar::IsVisible() const { return Widget() && !Widget()->isHidden(); }

BOOL CControlBar::CreateBar(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!pParentWnd || !pParentWnd->Widget())
        return FALSE;
    m_pFrame = pParentWnd;
    m_nID = nID;
    m_dwStyle = dwStyle;
    CREATESTRUCT cs{};
    if (!CWnd::CreateEx(pParentWnd, cs))
        return FALSE;
    pParentWnd->AddControlBar(this);
    return TRUE;
}

// ---- toolbar ------------------------------------------------------------------------------

QWidget* CToolBar::CreateWidget(QWidget* pParent) { return new QToolBar(pParent); }

BOOL CToolBar::CreateEx(CFrameWnd* pParentWnd, DWORD, DWORD dwStyle, CRect, UINT nID)
{
    if (!CreateBar(pParentWnd, dwStyle, nID))
        return FALSE;
    auto* bar = static_cast<QToolBar*>(Widget());
    bar->setObjectName(QStringLiteral("toolbar%1").arg(nID));
    bar->setWindowTitle(QString::fromUtf8(res::LoadString(AFX_IDS_TOOLBAR)));
    // A gripper: the bar can be dragged off its dock and docked again.
    bar->setMovable((dwStyle & CBRS_GRIPPER) != 0);
    bar->setFloatable((dwStyle & CBRS_SIZE_DYNAMIC) != 0);
    bar->setAllowedAreas(ToAreas(dwStyle & CBRS_ALIGN_ANY));
    pParentWnd->DockControlBar(this);
    bar->setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource)
{
    const res::Toolbar* tb = res::FindToolbar(nIDResource);
    auto* bar = static_cast<QToolBar*>(Widget());
    if (!tb || !bar)
        return FALSE;
    bar->setIconSize(QSize(tb->buttonWidth, tb->buttonHeight));
    const std::vector<QIcon> icons = ToolbarIcons(nIDResource, tb->buttonWidth, tb->buttonHeight);
    size_t button = 0;
    for (UINT id : tb->items) {
        if (id == ID_SEPARATOR) {
            bar->addSeparator();
            continue;
        }
        QAction* action = m_pFrame->Action(id);
        if (button < icons.size())
            action->setIcon(icons[button]);
        ++button;
        bar->addAction(action);
    }
    return TRUE;
}

void CToolBar::EnableDocking(DWORD dwDockStyle)
{
    if (auto* bar = static_cast<QToolBar*>(Widget()))
        bar->setAllowedAreas(ToAreas(dwDockStyle));
}

// ---- status bar ---------------------------------------------------------------------------

QWidget* CStatusBar::CreateWidget(QWidget* pParent) { return new QStatusBar(pParent); }

BOOL CStatusBar::Create(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID)
{
    if (!CreateBar(pParentWnd, dwStyle, nID))
        return FALSE;
    auto* bar = static_cast<QStatusBar*>(Widget());
    static_cast<QMainWindow*>(pParentWnd->Widget())->setStatusBar(bar);
    bar->setVisible((dwStyle & WS_VISIBLE) != 0);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount)
{
    auto* bar = static_cast<QStatusBar*>(Widget());
    if (!bar || nIDCount < 1 || lpIDArray[0] != ID_SEPARATOR)
        return FALSE;
    // Pane 0: the prompt of the highlighted command, or the notice, or the idle text.
    const char* idle = res::FindString(IDS_IDLE_MESSAGE);
    bar->setProperty(kIdleProperty, QString::fromUtf8(idle ? idle : ""));
    QObject::connect(bar, &QStatusBar::messageChanged, bar, [bar](const QString& m) {
        if (m.isEmpty())
            bar->showMessage(IdleText(bar));
    });
    bar->showMessage(IdleText(bar));
    // The lock indicators show their text only while their lock is on.
    std::vector<std::pair<QLabel*, UINT>> panes;
    for (int i = 1; i < nIDCount; ++i) {
        const char* text = res::FindString(lpIDArray[i]);
        auto* label = new QLabel(bar);
        label->setObjectName(QStringLiteral("pane%1").arg(i));
        label->setMinimumWidth(
            label->fontMetrics().horizontalAdvance(QString::fromUtf8(text ? text : "")) + 8);
        label->setAlignment(Qt::AlignCenter);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        bar->addPermanentWidget(label);
        if (IsLockIndicator(lpIDArray[i])) {
            label->setProperty("indicatorText", QString::fromUtf8(text ? text : ""));
            panes.emplace_back(label, lpIDArray[i]);
        } else {
            label->setProperty(kCommandProperty, lpIDArray[i]);
        }
    }
    auto refresh = [panes] {
        const LockKeys locks = ReadLockKeys();
        for (const auto& [label, id] : panes) {
            const bool on = (id == ID_INDICATOR_CAPS && locks.caps) ||
                            (id == ID_INDICATOR_NUM && locks.num) ||
                            (id == ID_INDICATOR_SCRL && locks.scroll);
            label->setText(on ? label->property("indicatorText").toString() : QString());
        }
    };
    new LockKeyWatch(bar, refresh);
    refresh();
    return TRUE;
}

void CStatusBar::OnUpdateCmdUI(CFrameWnd* pTarget)
{
    if (!Widget())
        return;
    for (QLabel* label : Widget()->findChildren<QLabel*>()) {
        const QVariant id = label->property(kCommandProperty);
        if (!id.isValid())
            continue;
        PaneCmdUI ui(label);
        ui.m_nID = id.toUInt();
        pTarget->OnCmdMsg(ui.m_nID, CmdAction::Update, {.pCmdUI = &ui});
    }
}

void CStatusBar::SetNotice(const std::string& text)
{
    auto* bar = static_cast<QStatusBar*>(Widget());
    if (!bar)
        return;
    const QString before = IdleText(bar);
    bar->setProperty(kNoticeProperty, QString::fromStdString(text));
    if (bar->currentMessage() == before)
        bar->showMessage(IdleText(bar));
}
