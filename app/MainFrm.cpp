#include "MainFrm.h"

#include "document/SkorelDoc.h"
#include "res/resource.h"

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

// The colour bar's swatches: the dark row over the light one, as a desktop paint program
// offers them, and at the end of the light row no fill at all.
const std::vector<COLORREF> kPalette = {
    RGB(0, 0, 0),       RGB(128, 128, 128), RGB(128, 0, 0),     RGB(128, 128, 0),
    RGB(0, 128, 0),     RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 0, 128),
    RGB(128, 128, 64),  RGB(0, 64, 64),     RGB(0, 128, 255),   RGB(0, 64, 128),
    RGB(128, 0, 255),   RGB(128, 64, 0),    RGB(64, 64, 64),

    RGB(255, 255, 255), RGB(192, 192, 192), RGB(255, 0, 0),     RGB(255, 255, 0),
    RGB(0, 255, 0),     RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255),
    RGB(255, 255, 128), RGB(0, 255, 128),   RGB(128, 255, 255), RGB(128, 128, 255),
    RGB(255, 0, 128),   RGB(255, 128, 64),  kNoFill,
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
    const CColorBarIds colorIds = {ID_LINE_COLOR,    ID_FILL_COLOR,      ID_PICK_LINE_COLOR,
                                   ID_PICK_FILL_COLOR, IDS_COLOR_BAR,    IDS_COLOR_SWATCH,
                                   IDS_NO_FILL_SWATCH, IDS_COLOR_PAIR};
    if (!m_colorBar.Create(this,
                           WS_CHILD | WS_VISIBLE | CBRS_ALIGN_BOTTOM | CBRS_BORDER_TOP |
                               CBRS_GRIPPER | CBRS_SIZE_DYNAMIC,
                           ID_VIEW_COLOR_BAR, colorIds, kPalette)) {
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
