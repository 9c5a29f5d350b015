// The frame window with its menu, accelerators, toolbar and status bar, and the routing of
// commands from the active view through its document and the frame to the application.
#pragma once

#include "Commands.h"
#include "Wnd.h"

#include <memory>
#include <vector>

class CDocument;
class CView;
class CControlBar;
class QAction;
struct FramePrivate;

// Control-bar styles.
constexpr DWORD CBRS_TOOLTIPS = 0x0010;
constexpr DWORD CBRS_FLYBY = 0x0020;
constexpr DWORD CBRS_SIZE_DYNAMIC = 0x0004;
constexpr DWORD CBRS_BORDER_TOP = 0x0200;
constexpr DWORD CBRS_BORDER_BOTTOM = 0x0800;
constexpr DWORD CBRS_ALIGN_LEFT = 0x1000;
constexpr DWORD CBRS_ALIGN_TOP = 0x2000;
constexpr DWORD CBRS_ALIGN_RIGHT = 0x4000;
constexpr DWORD CBRS_ALIGN_BOTTOM = 0x8000;
constexpr DWORD CBRS_ALIGN_ANY = 0xF000;
constexpr DWORD CBRS_GRIPPER = 0x00400000;
constexpr DWORD CBRS_TOP = CBRS_ALIGN_TOP | CBRS_BORDER_BOTTOM;
constexpr DWORD TBSTYLE_FLAT = 0x0800;

// What the frame needs to make its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
};

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd();
    ~CFrameWnd() override;

    // Makes the frame with the menu, accelerators, icon and title of the resource id.
    BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd,
                   CCreateContext* pContext);
    // Hook before the window is made; the default keeps the frame style.
    virtual BOOL PreCreate(CREATESTRUCT& cs);
    BOOL PreCreateWindow(CREATESTRUCT& cs) final;
    // Makes the view from the creation context; -1 when it can't.
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;

    CView* GetActiveView() const { return m_pViewActive; }
    CDocument* GetActiveDocument() const;
    // Routes a command: active view, its document, this frame, the application.
    using CCmdTarget::OnCmdMsg;
    BOOL OnCmdMsg(UINT nID, CmdAction action, CCmdUI* pCmdUI) override;

    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    CControlBar* GetControlBar(UINT nID) const;
    // Shows or hides the bar with this child id; TRUE when there is one.
    BOOL OnBarCheck(UINT nID);

    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // The caption: the document's title, an asterisk while it is modified, the program's name.
    void OnUpdateFrameTitle();
    // Updates every command's menu item and button, and the status bar's panes, through the
    // update handlers on the route: enabled when some handler takes the command, and what
    // its update handler says besides.
    void UpdateCommandStates();
    // The same, once the events being handled now are done (after what the user did).
    void DelayUpdateCommandUI();
    // Closing the window: asks the document to save when it is modified.
    virtual BOOL OnClose();

    // The action of a command id, made on first use; framework-internal.
    QAction* Action(UINT nID);
    // Keeps the window's size, place and maximised state, where its bars are and whether
    // they show, for the next start; framework-internal, at close.
    void SaveLayout() const;
    void AddControlBar(CControlBar* pBar);

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    void OnViewToolbar() { OnBarCheck(ID_VIEW_TOOLBAR); }
    void OnViewStatusBar() { OnBarCheck(ID_VIEW_STATUS_BAR); }
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    void BuildMenu(UINT nIDResource);
    void RefreshRecentFiles();
    void BuildAccelerators(UINT nIDResource);
    void RestoreLayout();

    UINT m_nIDResource = 0;
    CCreateContext* m_pContext = nullptr;
    CView* m_pViewActive = nullptr;
    std::unique_ptr<FramePrivate> d;
};

class CControlBar : public CWnd {
public:
    ~CControlBar() override = default;
    UINT GetDlgCtrlID() const { return m_nID; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Shown by its own state, whether or not the frame is on the screen yet.
    BOOL IsVisible() const;
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // Edges of the frame the bar may dock at (CBRS_ALIGN_*).
    virtual void EnableDocking(DWORD dwDockStyle);
    // Updates what the bar shows of the commands' states, asking pTarget's route.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget);

protected:
    // Makes the bar's window as a child of the frame and registers it there.
    BOOL CreateBar(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID);

    CFrameWnd* m_pFrame = nullptr;
    UINT m_nID = 0;
    DWORD m_dwStyle = 0;
};

class CToolBar : public CControlBar {
public:
    BOOL CreateEx(CFrameWnd* pParentWnd, DWORD dwCtrlStyle, DWORD dwStyle, CRect rcBorders,
                  UINT nID);
    // The buttons of a toolbar resource, with their pictures from the bitmap of the same id.
    BOOL LoadToolBar(UINT nIDResource);
    void EnableDocking(DWORD dwDockStyle) override;

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
};

class CStatusBar : public CControlBar {
public:
    BOOL Create(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID);
    // Pane 0 (ID_SEPARATOR) shows prompts and the idle text; the lock indicators show their
    // text while their lock is on; any other pane shows what its id's update handler sets
    // (its string in the table gives the widest text it is made room for).
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);
    std::string GetPaneText(int nIndex) const;
    void OnUpdateCmdUI(CFrameWnd* pTarget) override;

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
};
