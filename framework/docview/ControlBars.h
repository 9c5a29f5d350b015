// The frame's control bars: the toolbar of its commands' buttons and the status bar with its
// prompt and indicator panes.
#pragma once

#include "framework/core/Types.h"
#include "framework/window/Wnd.h"

#include <string>

class CFrameWnd;

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

class CControlBar : public CWnd {
public:
    ~CControlBar() override = default;
    UINT GetDlgCtrlID() const { return m_nID; }
    DWORD GetBarStyle() const { return m_dwStyle; }
    // Shown by its own state, whether or not the frame is on the screen yet.
    BOOL IsVisible() const;
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
    // Shows `text` in pane 0 in place of the idle text, prompts passing over it, until another
    // notice replaces it; an empty one brings the idle text back.
    void SetNotice(const std::string& text);
    void OnUpdateCmdUI(CFrameWnd* pTarget) override;

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
};
