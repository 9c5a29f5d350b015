// The colour bar: a dockable bar of colour swatches in two rows beside the current outline and
// fill colours. The program gives it the swatches' colours and the ids of its commands; the
// bar hands back what the user picked through those commands. A swatch or a colour of
// CLR_NONE shows as no colour.
#pragma once

#include "ControlBars.h"

#include <cstddef>
#include <vector>

class ColorBarWidget;

// The commands and strings of a colour bar.
struct CColorBarIds {
    UINT nIDLine;      // the outline colour: its update handler's SetColor shows it in the pair,
                       // and a double click on the pair's outline part runs it
    UINT nIDFill;      // the same for the fill colour
    UINT nIDPickLine;  // runs when a swatch is clicked with the left button
    UINT nIDPickFill;  // with the right button
    UINT nIDTitle;     // the bar's title
    UINT nIDSwatchTip; // what a swatch does: the status-bar prompt, then the tooltip
    UINT nIDNoneTip;   // the same for a swatch of no colour (CLR_NONE)
    UINT nIDPairTip;   // the same for the pair
};

class CColorBar : public CToolBar {
public:
    // Docks the bar as a toolbar of this style is docked, with the title nIDTitle names.
    BOOL Create(CFrameWnd* pParentWnd, DWORD dwStyle, UINT nID, const CColorBarIds& ids,
                std::vector<COLORREF> palette);
    // The colour of the swatch clicked last, for the pick commands' handlers.
    COLORREF GetPickedColor() const { return m_crPicked; }
    // Shows the outline and fill colours the update handlers of their commands set.
    void OnUpdateCmdUI(CFrameWnd* pTarget) override;

private:
    void Pick(std::size_t index, bool bFill);
    void OpenColor(bool bFill);

    ColorBarWidget* m_pSwatches = nullptr; // owned by the bar's widget
    CColorBarIds m_ids{};
    COLORREF m_crPicked = 0;
};
