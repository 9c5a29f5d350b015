#include "MainFrm.h"

#include "document/SkorelDoc.h"
#include "res/resource.h"
#include "view/ColorSwatches.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/core/Trace.h"
#include "framework/docview/App.h"

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_COMMAND_RANGE(ID_VIEW_COLOR_BAR, ID_VIEW_COLOR_BAR, OnViewBar)
ON_COMMAND_RANGE(ID_VIEW_THICKNESS_BAR, ID_VIEW_THICKNESS_BAR, OnViewBar)
ON_UPDATE_COMMAND_UI(ID_VIEW_COLOR_BAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_THICKNESS_BAR, OnUpdateControlBarMenu)
END_MESSAGE_MAP()

namespace {

const UINT indicators[] = {
    ID_SEPARATOR, // the message pane
    ID_INDICATOR_POSITION, ID_INDICATOR_SIZE, ID_INDICATOR_THICKNESS, ID_INDICATOR_ZOOM,
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
    // Docked at the bottom, as a desktop paint program keeps its colours: the toolbar keeps the
    // whole width of the top.
    // The pair shows the outline colour in front, as it is drawn over the fill.
    const CColorBarIds colorIds = {ID_COLOR_SWATCH,    {ID_LINE_COLOR, ID_FILL_COLOR},
                                   IDS_COLOR_BAR,      IDS_COLOR_SWATCH,
                                   IDS_NO_FILL_SWATCH, IDS_COLOR_PAIR};
    if (!m_colorBar.Create(this,
                           WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP |
                               CBRS_GRIPPER | CBRS_SIZE_DYNAMIC,
                           ID_VIEW_COLOR_BAR, colorIds,
                           {kColorSwatches.begin(), kColorSwatches.end()})) {
        TRACE("%s", "Failed to create colour bar\n");
        return -1;
    }
    m_colorBar.EnableDocking(CBRS_ALIGN_ANY);
    // The thickness buttons follow the colours on the bottom line.
    if (!m_thicknessBar.CreateEx(this, TBSTYLE_FLAT,
                                 WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_GRIPPER |
                                     CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC,
                                 CRect(0, 0, 0, 0), ID_VIEW_THICKNESS_BAR) ||
        !m_thicknessBar.LoadToolBar(IDR_THICKNESS)) {
        TRACE("%s", "Failed to create thickness bar\n");
        return -1;
    }
    m_thicknessBar.SetWindowText(res::LoadString(IDS_THICKNESS_BAR));
    m_thicknessBar.EnableDocking(CBRS_ALIGN_ANY);
    // A picture or drawing dragged from a file manager onto the window opens.
    DragAcceptFiles();
    return 0;
}

void CMainFrame::OnDropFiles(const std::vector<std::string>& paths, UINT nFlags)
{
    if (paths.empty())
        return;
    auto* doc = dynamic_cast<CSkorelDoc*>(GetActiveDocument());
    if ((nFlags & MK_CONTROL) && doc)
        doc->InsertFile(paths.front().c_str());
    else
        AfxGetApp()->OpenDocumentFile(paths.front().c_str());
    if (paths.size() > 1)
        SetMessageText(
            res::FormatString(IDS_DROP_OTHERS_LEFT, std::to_string(paths.size() - 1)).c_str());
}
