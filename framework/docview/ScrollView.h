// A view whose client area has a fixed size of its own, shown in a scrolling area: scroll bars
// when the window is smaller, a grey desk beyond it when the window is larger. Coordinates in
// the view stay client coordinates of the whole area; scrolling happens around it.
#pragma once

#include "View.h"

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
    CSize GetTotalSize() const { return m_totalSize; }
    // The top-left client point that the window shows.
    CPoint GetScrollPosition() const;
    void ScrollToPosition(POINT pt);
    // The part of the client area that the window shows.
    CRect GetVisibleRect() const;

    QWidget* ContainerWidget() const override;

protected:
    QWidget* CreateWidget(QWidget* pParent) override;

private:
    QScrollArea* m_pArea = nullptr;
    CSize m_totalSize;
};
