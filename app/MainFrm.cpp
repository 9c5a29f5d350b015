#include "MainFrm.h"

#include "res/resource.h"

#include "framework/core/Commands.h"
#include "framework/core/Trace.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

namespace {

const UINT indicators[] = {
    ID_SEPARATOR, // the message pane
    ID_INDICATOR_POSITION, ID_INDICATOR_SIZE, ID_INDICATOR_ZOOM,
    ID_INDICATOR_CAPS,     ID_INDICATOR_NUM,  ID_INDICATOR_SCRL,
};

} // namespace

BOOL CMainFrame::PreCreate(CREATESTRUCT& cs) { return CFrameWnd::PreCreate(cs) ? TRUE : FALSE; }

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!m_toolBar.CreateEx(this, TBSTYLE_FLAT,
                            WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                            CRect(0, 0, 0, 0), ID_VIEW_TOOLBAR) ||
        !m_toolBar.LoadToolBar(IDR_MAINFRAME)) {
        TRACE("%s", "Failed to create toolbar\n");
        return -1;
    }
    if (!m_statusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP,
                            ID_VIEW_STATUS_BAR) ||
        !m_statusBar.SetIndicators(indicators, sizeof(indicators) / sizeof(UINT))) {
        TRACE("%s", "Failed to create status bar\n");
        return -1;
    }
    m_toolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_toolBar);
    return 0;
}
