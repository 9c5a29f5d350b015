// A view whose client area has a fixed size of its own, shown in a scrolling area: scroll bars
// when the window is smaller, a grey desk beyond it when the window is larger, at a zoom of
// 25 to 800 %. Coordinates in the view stay client coordinates of the whole area at every
// zoom; scrolling and zooming happen around it.
#pragma once

#include "View.h"

class CCmdUI;
class QPoint;
class QScrollArea;

// Mapping modes; client pixels are the only one.
constexpr int MM_TEXT = 1;

class CScrollView : public CView {
    DECLARE_DYNAMIC(CScrollView)

public:
    CScrollView();
    ~CScrollView() override;

    // Fixes the size of the client area.
    void SetScrollSizes(int nMapMode, SIZE sizeTotal);
    void ScrollToPosition(POINT pt);
    // The part of the client area that the window shows.
    CRect GetVisibleRect() const;

    // Zooms to one of the steps (25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800 %),
    // keeping the middle of what shows of the client area in the middle of the window, as far
    // as the scroll range allows; FALSE, changing nothing, for a percentage that is no step.
    BOOL ZoomTo(int nPercent);

    // Standard zoom commands, for the derived view's command table: a step larger, a step
    // smaller, 100 %. The update handlers grey the first two at the ends of the steps; the
    // zoom pane shows the zoom ("100%"). Ctrl with the wheel zooms a step about the pointer.
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomActual();
    // The largest step at which the whole client area fits the window without scroll bars;
    // the smallest when none does.
    void OnZoomFit();
    void OnUpdateZoomIn(CCmdUI* pCmdUI);
    void OnUpdateZoomOut(CCmdUI* pCmdUI);
    void OnUpdateZoomPane(CCmdUI* pCmdUI);

    QWidget* ContainerWidget() const override;

protected:
    QWidget* CreateWidget(QWidget* pParent) override;
    // After the zoom changed; the default does nothing.
    virtual void OnZoomChanged();

private:
    // Zooms to a step keeping the client pixel under the point of the window (viewport
    // coordinates) under it; a point beyond the client area stands for the nearest pixel of
    // it. Without a point, the middle of what shows stays in the middle.
    BOOL ZoomAbout(int nPercent, const QPoint* pAt);
    // Scrolls the client pixel to the point of the window, or to its middle without one.
    void ShowPixelAt(CPoint pixel, const QPoint* pAt);
    // The step nSteps steps from the zoom now; the zoom itself when there is none.
    int StepFrom(int nSteps) const;

    QScrollArea* m_pArea = nullptr;
    CSize m_totalSize;
};
