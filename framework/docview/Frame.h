// The frame window with its menu, accelerators, toolbar and status bar, and the routing of
// commands from the active view through its document and the frame to the application.
#pragma once

#include "framework/core/Commands.h"
#include "framework/window/Wnd.h"

#include <memory>
#include <string>
#include <vector>

class CDocument;
class CView;
class CControlBar;
class QAction;
struct FramePrivate;

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
    // Routes a command: active view, its document, this frame, the application. Once one
    // has run, the commands' states are looked at again (DelayUpdateCommandUI).
    using CCmdTarget::OnCmdMsg;
    BOOL OnCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra) override;

    void EnableDocking(DWORD dwDockStyle);
    void DockControlBar(CControlBar* pBar, UINT nDockBarID = 0, LPCRECT lpRect = nullptr);
    CControlBar* GetControlBar(UINT nID) const;
    // Shows or hides the bar with this child id; TRUE when there is one.
    BOOL OnBarCheck(UINT nID);
    // Shows a notice in the status bar's message pane in place of the idle text, until
    // another one replaces it; an empty one brings the idle text back.
    void SetNotice(const std::string& text);

    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);
    // The caption: the document's title, an asterisk while it is modified, the program's name.
    void OnUpdateFrameTitle();
    // Updates every command's menu item and button, and the status bar's panes, through the
    // update handlers on the route: enabled when some handler takes the command, and what
    // its update handler says besides.
    void UpdateCommandStates();
    // The same, once the events being handled now are done. The states follow what changes
    // them, not every input: a command that ran, a change of the document or its undo steps,
    // the view's selection or zoom (CView::CommandStatesChanged), the clipboard; a menu
    // looks again as it opens.
    void DelayUpdateCommandUI();
    // The control bars alone (the status bar's panes, the colour bar's pair), once the events
    // being handled now are done: a pointer, a click or a key changes what they show (where
    // the pointer is, a drag's size), never what the commands can do.
    void DelayUpdateControlBars();
    // Shows a message in the status bar's first pane until the next prompt replaces it.
    void SetMessageText(const char* lpszText);
    // Closing the window: asks the document to save when it is modified.
    virtual BOOL OnClose();

    // The action of a command id, made on first use; framework-internal.
    QAction* Action(UINT nID);
    // Keeps the window's size, place and maximised state, where its bars are and whether
    // they show, and the zoom of a scrolling view, for the next start; framework-internal,
    // at close.
    void SaveLayout() const;
    void AddControlBar(CControlBar* pBar);

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    void OnViewToolbar() { OnBarCheck(ID_VIEW_TOOLBAR); }
    void OnViewStatusBar() { OnBarCheck(ID_VIEW_STATUS_BAR); }
    // Shows or hides a bar of the program's own, for a command range of its bars' ids.
    void OnViewBar(UINT nID) { OnBarCheck(nID); }
    void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    DECLARE_MESSAGE_MAP()

private:
    bool RouteCmdMsg(UINT nID, CmdAction action, const CCmdExtra& extra);
    void BuildMenu(UINT nIDResource);
    void RefreshRecentFiles();
    void BuildAccelerators(UINT nIDResource);
    void RestoreLayout();

    UINT m_nIDResource = 0;
    CCreateContext* m_pContext = nullptr;
    CView* m_pViewActive = nullptr;
    std::unique_ptr<FramePrivate> d;
};
