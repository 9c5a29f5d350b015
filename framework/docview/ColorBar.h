// The colour bar: a dockable bar of colour swatches in two rows beside a pair of overlapping
// squares. The program gives it the swatches' colours and the ids of its commands; the bar
// reports which swatch was clicked with which button, and which square of the pair was
// double-clicked, through those commands. What a swatch or a square means is the program's. A
// swatch or a colour of CLR_NONE shows as no colour.
#pragma once

#include "ControlBars.h"

#include <vector>

class ColorBarWidget;

// The commands and strings of a colour bar.
struct CColorBarIds {
    UINT nIDSwatch;    // runs when a swatch is clicked, told the swatch's index and the button
    UINT nIDPair[2];   // the pair's squares, the front one first: each shows the colour that the
                       // update handler of its command sets with SetColor, and a double click on
                       // it runs that command
    UINT nIDTitle;     // the bar's title
    UINT nIDSwatchTip; // what a swatch does: the status-bar prompt, then the tooltip
    UINT nIDNoneTip;   // the same for a swatch of no colour (CLR_NONE)
    UINT nIDPairTip;   // the same for the pair
};

class CColorBar : public CToolBar {
public:
    // Docks the bar as a toolbar of this style is docked, with the title nIDTitle names.
    BOOL Create(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID, const CColorBarIds& ids,
                std::vector<COLORREF> swatches);
    // Shows the colours the update handlers of the pair's commands set.
    void OnUpdateCmdUI(CFrameWnd* pTarget) override;

private:
    void Run(UINT nID, const CCmdNotify* pNotify);

    ColorBarWidget* m_pSwatches = nullptr; // owned by the bar's widget
    CColorBarIds m_ids{};
};
