#include "Frame.h"

#include "App.h"
#include "ControlBars.h"
#include "Document.h"
#include "detail/FramePrivate.h"
#include "detail/Settings.h"
#include "detail/UiReport.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/window/Keyboard.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbar)
ON_COMMAND(ID_VIEW_STATUS_BAR, OnViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

namespace {

// Where the window and its bars were when it last closed.
constexpr const char* kLayoutGroup = "Layout";

QKeySequence ToKeySequence(const res::Accel& a)
{
    int key = QtKeyOf(a.key);
    if (a.fVirt & res::FCONTROL)
        key |= Qt::CTRL;
    if (a.fVirt & res::FSHIFT)
        key |= Qt::SHIFT;
    if (a.fVirt & res::FALT)
        key |= Qt::ALT;
    return QKeySequence(key);
}

// A menu item or toolbar button: both show the one action of their command.
class ActionCmdUI : public CCmdUI {
public:
    explicit ActionCmdUI(QAction* pAction) : m_pAction(pAction) {}

    void Enable(BOOL bOn) override { m_pAction->setEnabled(bOn != FALSE); }
    void SetCheck(int nCheck) override
    {
        m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }
    void SetText(const char* lpszText) override
    {
        m_pAction->setText(QString::fromUtf8(lpszText ? lpszText : ""));
    }
    void SetColor(COLORREF cr) override
    {
        if (m_pAction->property(kSwatchProperty).toUInt() == cr + 1)
            return;
        if (!m_pAction->property(kPictureProperty).isValid())
            m_pAction->setProperty(kPictureProperty, m_pAction->icon());
        m_pAction->setProperty(kSwatchProperty, cr + 1);
        m_pAction->setIcon(Swatched(m_pAction->property(kPictureProperty).value<QIcon>(), cr));
    }

private:
    static constexpr const char* kPictureProperty = "skorelPicture";
    static constexpr const char* kSwatchProperty = "skorelSwatch"; // colour + 1; 0: none

    // The picture with a bar of the colour along its bottom, framed so that white shows too;
    // at every scale the picture has.
    static QIcon Swatched(const QIcon& picture, COLORREF cr)
    {
        const QSize size(16, 15);
        QIcon icon;
        for (const qreal scale : {1.0, 2.0}) {
            QPixmap pm = picture.pixmap(size, scale);
            if (pm.isNull())
                continue;
            pm.setDevicePixelRatio(scale);
            QPainter p(&pm);
            p.fillRect(QRect(1, 11, 14, 4), QColor(64, 64, 64));
            p.fillRect(QRect(2, 12, 12, 2), QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)));
            p.end();
            icon.addPixmap(pm);
        }
        return icon;
    }

    QAction* m_pAction;
};

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

// The name of a recent file as its menu item shows it: at most kMaxRecentName characters,
// the middle left out, and an ampersand as itself rather than a mnemonic.
QString RecentItemName(QString name)
{
    constexpr qsizetype kMaxRecentName = 60;
    if (name.size() > kMaxRecentName) {
        qsizetype head = kMaxRecentName / 2 - 1, tail = kMaxRecentName / 2;
        // Never half a character.
        if (name[head - 1].isHighSurrogate())
            --head;
        if (name[name.size() - tail].isLowSurrogate())
            --tail;
        name = name.left(head) + QChar(0x2026) + name.right(tail);
    }
    return name.replace('&', QStringLiteral("&&"));
}

} // namespace

FrameWidget::FrameWidget(CFrameWnd* pOwner)
    : m_pOwner(pOwner), m_pReport(UiReport::ForFrame(pOwner, this))
{
    setProperty("skorelWnd", QVariant::fromValue(reinterpret_cast<quintptr>(pOwner)));
    // What the user does may change what the commands can do: look again once it is handled.
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
        m_pOwner->DelayUpdateCommandUI();
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseMove:
    case QEvent::KeyRelease:
    case QEvent::Leave:
        m_pOwner->DelayUpdateCommandUI();
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

CFrameWnd::CFrameWnd() : d(std::make_unique<FramePrivate>()) {}

CFrameWnd::~CFrameWnd()
{
    // The view's widget lives inside the frame's: the view goes first.
    d->view.reset();
}

QWidget* CFrameWnd::CreateWidget(QWidget*) { return new FrameWidget(this); }

BOOL CFrameWnd::PreCreate(CREATESTRUCT&) { return TRUE; }

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs) { return PreCreate(cs); }

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                          CCreateContext* pContext)
{
    m_nIDResource = nIDResource;
    m_pContext = pContext;
    CREATESTRUCT cs{};
    cs.style = dwDefaultStyle;
    // A new main window gets about three quarters of the screen, as a desktop gives it.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect avail = screen->availableGeometry();
        cs.cx = avail.width() * 3 / 4;
        cs.cy = avail.height() * 3 / 4;
    }
    if (const char* title = res::FindString(nIDResource))
        cs.name = std::string(title).substr(0, std::string(title).find('\n'));
    const BOOL ok = CreateEx(pParentWnd, cs);
    m_pContext = nullptr;
    if (!ok)
        return FALSE;
    SetIcon(nIDResource);
    if (!AfxGetMainWnd())
        AfxSetMainWnd(this);
    BuildMenu(nIDResource);
    BuildAccelerators(nIDResource);
    RestoreLayout();
    UpdateCommandStates();
    return TRUE;
}

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
}

int CFrameWnd::OnCreate(LPCREATESTRUCT)
{
    if (!m_pContext || !m_pContext->m_pNewViewClass)
        return 0;
    d->view = m_pContext->m_pNewViewClass->CreateAs<CView>();
    CView* view = d->view.get();
    if (!view)
        return -1;
    view->m_pParentFrame = this;
    CREATESTRUCT cs{};
    cs.style = WS_CHILD | WS_VISIBLE;
    if (!view->CreateEx(this, cs)) {
        d->view.reset();
        return -1;
    }
    static_cast<QMainWindow*>(Widget())->setCentralWidget(view->ContainerWidget());
    view->m_pDocument = m_pContext->m_pCurrentDoc;
    if (view->m_pDocument)
        view->m_pDocument->AddView(view);
    m_pViewActive = view;
    return 0;
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pViewActive ? m_pViewActive->GetDocument() : nullptr;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, CmdAction action, CCmdUI* pCmdUI)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, action, pCmdUI))
        return TRUE;
    if (CDocument* doc = GetActiveDocument(); doc && doc->OnCmdMsg(nID, action, pCmdUI))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, action, pCmdUI))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, action, pCmdUI);
}

QAction* CFrameWnd::Action(UINT nID)
{
    if (auto it = d->actions.find(nID); it != d->actions.end())
        return it->second;
    auto* action = new QAction(Widget());
    action->setProperty(kCommandProperty, nID);
    // The command's string: the status-bar prompt, then after a newline the tooltip.
    if (const char* s = res::FindString(nID)) {
        const QString text = QString::fromUtf8(s);
        const qsizetype nl = text.indexOf('\n');
        action->setStatusTip(nl < 0 ? text : text.left(nl));
        if (nl >= 0)
            action->setToolTip(text.mid(nl + 1));
    }
    QObject::connect(action, &QAction::triggered, Widget(), [this, nID] {
        OnCmdMsg(nID, CmdAction::Execute, nullptr);
        UpdateCommandStates();
    });
    Widget()->addAction(action);
    d->actions[nID] = action;
    return action;
}

void CFrameWnd::BuildMenu(UINT nIDResource)
{
    const res::Menu* menu = res::FindMenu(nIDResource);
    if (!menu)
        return;
    QMenuBar* bar = static_cast<QMainWindow*>(Widget())->menuBar();
    for (const res::MenuNode& popup : menu->popups) {
        QMenu* m = bar->addMenu(QString::fromUtf8(popup.text));
        for (const res::MenuNode& item : popup.children) {
            if (item.kind == res::MenuKind::Separator) {
                m->addSeparator();
                continue;
            }
            QAction* a = Action(item.id);
            if (a->text().isEmpty())
                a->setText(QString::fromUtf8(item.text));
            m->addAction(a);
            if (item.id == ID_FILE_MRU_FILE1)
                d->recentMenu = m;
        }
        QObject::connect(m, &QMenu::aboutToShow, Widget(), [this] { UpdateCommandStates(); });
    }
}

void CFrameWnd::BuildAccelerators(UINT nIDResource)
{
    const res::AccelTable* table = res::FindAccelerators(nIDResource);
    if (!table)
        return;
    std::map<UINT, QList<QKeySequence>> keys;
    for (const res::Accel& a : table->entries)
        keys[a.cmd].append(ToKeySequence(a));
    for (const auto& [cmd, seqs] : keys)
        Action(cmd)->setShortcuts(seqs);
}

void CFrameWnd::UpdateCommandStates()
{
    d->updatePending = false;
    for (const auto& [id, action] : d->actions) {
        if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16)
            continue;
        ActionCmdUI ui(action);
        ui.m_nID = id;
        ui.DoUpdate(this);
    }
    for (CControlBar* bar : d->bars)
        bar->OnUpdateCmdUI(this);
    RefreshRecentFiles();
    OnUpdateFrameTitle();
}

void CFrameWnd::DelayUpdateCommandUI()
{
    if (d->updatePending || !Widget())
        return;
    d->updatePending = true;
    QTimer::singleShot(0, Widget(), [this] {
        if (d->updatePending)
            UpdateCommandStates();
    });
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    const CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    pCmdUI->Enable(bar != nullptr);
    pCmdUI->SetCheck(bar && bar->IsVisible());
}

void CFrameWnd::RefreshRecentFiles()
{
    // The recent files take the place of the placeholder item; it shows, greyed, while the
    // list is empty.
    if (!d->recentMenu)
        return;
    QAction* placeholder = Action(ID_FILE_MRU_FILE1);
    if (d->placeholderText.isEmpty())
        d->placeholderText = placeholder->text();
    const CWinApp* app = AfxGetApp();
    const std::vector<std::string> files = app ? app->GetRecentFiles() : std::vector<std::string>();
    // Every update after the user's input comes here: the menu is rebuilt only for a new list.
    if (d->recentShown == files)
        return;
    for (std::size_t i = 1; i < (d->recentShown ? d->recentShown->size() : 0); ++i)
        d->recentMenu->removeAction(Action(UINT(ID_FILE_MRU_FILE1 + i)));
    d->recentShown = files;
    if (files.empty()) {
        placeholder->setText(d->placeholderText);
        placeholder->setEnabled(false);
        return;
    }
    QAction* before = nullptr;
    const QList<QAction*> items = d->recentMenu->actions();
    if (const qsizetype at = items.indexOf(placeholder); at >= 0 && at + 1 < items.size())
        before = items[at + 1];
    for (UINT i = 0; i < files.size(); ++i) {
        QAction* a = Action(ID_FILE_MRU_FILE1 + i);
        const QString path = QFile::decodeName(QByteArray::fromStdString(files[i]));
        a->setText(
            QStringLiteral("&%1 %2").arg(i + 1).arg(RecentItemName(QFileInfo(path).fileName())));
        a->setStatusTip(QString::fromUtf8(res::LoadString(ID_FILE_MRU_FILE1 + i)) +
                        QStringLiteral(": ") + path);
        a->setEnabled(true);
        if (i > 0)
            d->recentMenu->insertAction(before, a);
    }
}

void CFrameWnd::AddControlBar(CControlBar* pBar) { d->bars.push_back(pBar); }

CControlBar* CFrameWnd::GetControlBar(UINT nID) const
{
    for (CControlBar* bar : d->bars)
        if (bar->GetDlgCtrlID() == nID)
            return bar;
    return nullptr;
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* bar = GetControlBar(nID);
    if (!bar)
        return FALSE;
    bar->ShowWindow(bar->IsVisible() ? SW_HIDE : SW_SHOW);
    return TRUE;
}

void CFrameWnd::EnableDocking(DWORD) {}

void CFrameWnd::DockControlBar(CControlBar* pBar, UINT, LPCRECT)
{
    auto* toolbar = dynamic_cast<QToolBar*>(pBar->Widget());
    if (!toolbar)
        return;
    const DWORD style = pBar->GetBarStyle();
    const Qt::ToolBarArea area = (style & CBRS_ALIGN_TOP)      ? Qt::TopToolBarArea
                                 : (style & CBRS_ALIGN_BOTTOM) ? Qt::BottomToolBarArea
                                 : (style & CBRS_ALIGN_LEFT)   ? Qt::LeftToolBarArea
                                                               : Qt::RightToolBarArea;
    static_cast<QMainWindow*>(Widget())->addToolBar(area, toolbar);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    if (m_pViewActive)
        m_pViewActive->OnInitialUpdate();
    UpdateCommandStates();
    if (bMakeVisible)
        ShowWindow(SW_SHOW);
}

void CFrameWnd::OnUpdateFrameTitle()
{
    std::string title;
    if (const char* s = res::FindString(m_nIDResource))
        title = std::string(s).substr(0, std::string(s).find('\n'));
    if (CDocument* doc = GetActiveDocument())
        title = doc->GetTitle() + (doc->IsModified() ? "*" : "") + " - " + title;
    if (Widget() && GetWindowText() != title)
        SetWindowText(title.c_str());
}

BOOL CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    return !doc || doc->CanCloseFrame(this);
}
