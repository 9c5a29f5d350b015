// The main window: the frame with its flat toolbar docked at the top, its colour and thickness
// bars at the bottom, and its status bar.
#pragma once

#include "framework/docview/ColorBar.h"
#include "framework/docview/ControlBars.h"
#include "framework/docview/Frame.h"

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)

public:
    CMainFrame() = default;
    ~CMainFrame() override = default;

    BOOL PreCreate(CREATESTRUCT& cs) override;
    // Makes the toolbar, the colour and thickness bars and the status bar; -1 when one can't
    // be made.
    int OnCreate(LPCREATESTRUCT lpCreateStruct) override;
    // Files dropped on the window: the first opens as Open opens it, or with Ctrl held goes
    // into the drawing as Insert puts it there; the status bar says how many others were left.
    void OnDropFiles(const std::vector<std::string>& paths, UINT nFlags) override;

protected:
    CStatusBar m_statusBar;
    CToolBar m_toolBar;
    CColorBar m_colorBar;
    CToolBar m_thicknessBar;
    DECLARE_MESSAGE_MAP()
};
