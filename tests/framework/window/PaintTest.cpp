#include "framework/window/Wnd.h"

#include "tests/support/WindowPixels.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <tuple>

namespace {

constexpr COLORREF kPainted = RGB(255, 0, 0);

// A window whose paint narrows its clip, drops it again and then fills everything.
class ClipDroppingWnd : public CWnd {
public:
    explicit ClipDroppingWnd(int nHeight = 40) : m_nHeight(nHeight)
    {
        CREATESTRUCT cs{0, 0, 60, nHeight, 0, {}};
        CreateEx(nullptr, cs);
    }
    CRect m_seen; // the clip box the last paint had after dropping its clip
    int m_nPaints = 0;

protected:
    void OnPaint() override
    {
        CPaintDC dc(this);
        ++m_nPaints;
        dc.IntersectClipRect(0, 0, 5, 5);
        dc.SelectClipRgn(nullptr);
        dc.GetClipBox(&m_seen);
        dc.FillSolidRect(0, 0, 60, m_nHeight, kPainted);
    }

private:
    int m_nHeight;
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

// A window left alone gives its surface back, unless a button is held (the surface may then
// carry feedback that no paint brings back). A device context that draws afterwards finds the
// paint's pixels under it, as on a screen: a figure inverted on them shows as it would have,
// at any zoom.
TEST(WindowPaint, GivesItsSurfaceBackWhenIdleAndPaintsItBeforeDrawing)
{
    const struct {
        bool held;
        int zoom;
    } cases[] = {{false, 100}, {true, 100}, {false, 200}, {false, 50}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.held ? "a button held, " : "idle, ") << c.zoom);
        ClipDroppingWnd wnd;
        wnd.Widget()->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(wnd.Widget()));
        wnd.SetZoom(c.zoom, CSize(60, 40));
        wnd.UpdateWindow();
        QTest::qWait(20); // no paint of the window's showing comes later
        if (c.held)
            wnd.SetCapture();
        wnd.ReleaseSurfaceWhenIdle(1);
        QTest::qWait(50);
        const int paints = wnd.m_nPaints;
        CClientDC(&wnd).PatBlt(0, 0, 10, 10, DSTINVERT);
        ReleaseCapture();
        EXPECT_EQ(wnd.m_nPaints, paints + (c.held ? 0 : 1));
        wnd.UpdateWindow();
        const QImage screen = wnd.Widget()->grab().toImage();
        for (const auto& [x, y, rgb] :
             {std::tuple(5, 5, 0x00FFFFu), std::tuple(30, 30, 0xFF0000u)}) {
            EXPECT_EQ(testing_support::HeldPixel(wnd, x, y) & 0xFFFFFF, rgb);
            EXPECT_EQ(screen.pixel(x * c.zoom / 100, y * c.zoom / 100) & 0xFFFFFF, rgb);
        }
    }
}

// A window taller than what shows of it (its parent's 40 rows) holds pixels beyond the edge.
// They are painted before a device context draws across the edge, so that what it drew there
// shows as drawn once a scroll brings it into view, and not painted over.
TEST(WindowPaint, PaintsWhatItHoldsBeyondTheEdgeBeforeDrawing)
{
    QWidget port;
    port.resize(60, 40);
    ClipDroppingWnd wnd(200);
    wnd.Widget()->setParent(&port);
    port.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&port));
    wnd.UpdateWindow();
    CClientDC(&wnd).PatBlt(0, 30, 10, 20, DSTINVERT);
    wnd.Widget()->move(0, -20);
    QCoreApplication::processEvents();
    wnd.UpdateWindow();
    for (const int y : {35, 45})
        EXPECT_EQ(testing_support::HeldPixel(wnd, 5, y) & 0xFFFFFF, 0x00FFFFu) << y;
    EXPECT_EQ(testing_support::HeldPixel(wnd, 5, 55) & 0xFFFFFF, 0xFF0000u);
}

} // namespace
