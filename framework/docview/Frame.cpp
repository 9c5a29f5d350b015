// The frame: its window, its view, the routing of commands and its control bars.
#include "Frame.h"

#include "App.h"
#include "ControlBars.h"
#include "Document.h"
#include "View.h"
#include "detail/FramePrivate.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"

#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_COMMAND(ID_VIEW_TOOLBAR, OnViewToolbar)
ON_COMMAND(ID_VIEW_STATUS_BAR, OnViewStatusBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

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
    d->clipboard = CClipboard::WatchFormats([this] { DelayUpdateCommandUI(); });
    UpdateCommandStates();
    return TRUE;
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

BOOL CFrameWnd::OnCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra)
{
    const bool handled = RouteCmdMsg(nID, action, extra);
    // A command that ran may have changed what every command can do.
    if (handled && action == CmdAction::Execute)
        DelayUpdateCommandUI();
    return handled;
}

bool CFrameWnd::RouteCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra)
{
    if (m_pViewActive && m_pViewActive->OnCmdMsg(nID, action, extra))
        return true;
    if (CDocument* doc = GetActiveDocument(); doc && doc->OnCmdMsg(nID, action, extra))
        return true;
    if (CWnd::OnCmdMsg(nID, action, extra))
        return true;
    CWinApp* app = AfxGetApp();
    return app && app->OnCmdMsg(nID, action, extra);
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    const CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    pCmdUI->Enable(bar != nullptr);
    pCmdUI->SetCheck(bar && bar->IsVisible());
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

void CFrameWnd::SetNotice(const std::string& text)
{
    if (auto* bar = dynamic_cast<CStatusBar*>(GetControlBar(ID_VIEW_STATUS_BAR)))
        bar->SetNotice(text);
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

void CFrameWnd::SetMessageText(const char* lpszText)
{
    if (const CControlBar* bar = GetControlBar(ID_VIEW_STATUS_BAR))
        if (auto* status = qobject_cast<QStatusBar*>(bar->Widget()))
            status->showMessage(QString::fromUtf8(lpszText ? lpszText : ""));
}

BOOL CFrameWnd::OnClose()
{
    CDocument* doc = GetActiveDocument();
    return !doc || doc->CanCloseFrame(this);
}
