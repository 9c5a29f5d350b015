#include "framework/window/Wnd.h"

#include "tests/support/WindowPixels.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kPainted = RGB(255, 0, 0);

// A window whose paint narrows its clip, drops it again and then fills everything.
class ClipDroppingWnd : public CWnd {
public:
    ClipDroppingWnd()
    {
        CREATESTRUCT cs{0, 0, 60, 40, 0, {}};
        CreateEx(nullptr, cs);
    }
    CRect m_seen; // the clip box the last paint had after dropping its clip

protected:
    void OnPaint() override
    {
        CPaintDC dc(this);
        dc.IntersectClipRect(0, 0, 5, 5);
        dc.SelectClipRgn(nullptr);
        dc.GetClipBox(&m_seen);
        dc.FillSolidRect(0, 0, 60, 40, kPainted);
    }
};

// A paint draws only on the area it is for, also once the clip it selected is gone, as a
// window's paint context does with its update region.
TEST(WindowPaint, DrawsOnlyOnItsAreaAfterItsClipIsDropped)
{
    ClipDroppingWnd wnd;
    wnd.Widget()->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.Widget()));
    wnd.UpdateWindow();
    CClientDC(&wnd).FillSolidRect(0, 0, 60, 40, RGB(255, 255, 255));
    const CRect area(10, 10, 20, 15);
    wnd.InvalidateRect(&area);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.m_seen, area);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(testing_support::HeldPixel(wnd, x, y) & 0xFFFFFF,
                      area.PtInRect(CPoint(x, y)) ? 0xFF0000u : 0xFFFFFFu)
                << x << ", " << y;
}

} // namespace
