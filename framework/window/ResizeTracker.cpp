#include "ResizeTracker.h"

#include "Cursor.h"

#include "framework/gdi/Gdi.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>

namespace {

using i64 = std::int64_t;

constexpr int kDefaultHandleSize = 7;
constexpr int kFarAway = -30000;
constexpr i64 kHatchPeriod = 4;
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A rectangle in 64-bit coordinates, so that inflating one near the ends of the 32-bit
// range cannot overflow.
struct Box {
    i64 l, t, r, b;
    bool Contains(CPoint p) const { return p.x >= l && p.x < r && p.y >= t && p.y < b; }
    Box Inflated(i64 d) const { return {l - d, t - d, r + d, b + d}; }
    Box Clipped(const Box& c) const
    {
        return {std::max(l, c.l), std::max(t, c.t), std::min(r, c.r), std::min(b, c.b)};
    }
    bool Empty() const { return r <= l || b <= t; }
};

Box Normalized(const CRect& rc)
{
    return {std::min<i64>(rc.left, rc.right), std::min<i64>(rc.top, rc.bottom),
            std::max<i64>(rc.left, rc.right), std::max<i64>(rc.top, rc.bottom)};
}

// Where a handle sits on one axis: on the stored near edge, the far edge, or the middle.
enum class Place { Near, Far, Middle };
struct HandlePlace {
    Place x, y;
};
constexpr std::array<HandlePlace, 8> kHandles = {{{Place::Near, Place::Near},
                                                  {Place::Far, Place::Near},
                                                  {Place::Far, Place::Far},
                                                  {Place::Near, Place::Far},
                                                  {Place::Middle, Place::Near},
                                                  {Place::Far, Place::Middle},
                                                  {Place::Middle, Place::Far},
                                                  {Place::Near, Place::Middle}}};

// The handle's extent on one axis of [nearEdge, farEdge], inside or outside that range.
std::pair<i64, i64> HandleSpan(Place place, i64 nearEdge, i64 farEdge, i64 size, bool inside)
{
    if (place == Place::Middle) {
        const i64 start = (nearEdge + farEdge) / 2 - size / 2;
        return {start, start + size};
    }
    const i64 edge = place == Place::Near ? nearEdge : farEdge;
    const i64 other = place == Place::Near ? farEdge : nearEdge;
    const bool towardHigher = (other >= edge) == inside;
    return towardHigher ? std::pair{edge, edge + size} : std::pair{edge - size, edge};
}

int ClampCoord(i64 v) { return int(std::clamp<i64>(v, -(i64(1) << 24), i64(1) << 24)); }

Box SurfaceOf(CDC* pDC) { return {0, 0, pDC->GetDeviceCaps(HORZRES), pDC->GetDeviceCaps(VERTRES)}; }

// Diagonal hatch lines through the box (clipped to the surface) with the selected pen:
// the pixels whose x + y is a multiple of the period.
void Hatch(CDC* pDC, const Box& box)
{
    const Box c = box.Clipped(SurfaceOf(pDC));
    if (c.Empty())
        return;
    const i64 first = (c.l + c.t + kHatchPeriod - 1) / kHatchPeriod * kHatchPeriod;
    for (i64 k = first; k <= c.r - 1 + c.b - 1; k += kHatchPeriod) {
        const i64 x0 = std::max(c.l, k - (c.b - 1));
        const i64 x1 = std::min(c.r - 1, k - c.t);
        if (x0 > x1)
            continue;
        pDC->MoveTo(int(x0), int(k - x0));
        pDC->LineTo(int(x1 + 1), int(k - x1 - 1));
    }
}

// The band of width d around the box, as four hatched strips.
void HatchBand(CDC* pDC, const Box& box, i64 d)
{
    const Box o = box.Inflated(d);
    Hatch(pDC, {o.l, o.t, o.r, box.t});
    Hatch(pDC, {o.l, box.b, o.r, o.b});
    Hatch(pDC, {o.l, box.t, box.l, box.b});
    Hatch(pDC, {box.r, box.t, o.r, box.b});
}

} // namespace

CResizeTracker::CResizeTracker() : CResizeTracker(CRect(kFarAway, kFarAway, kFarAway, kFarAway), 0)
{}

CResizeTracker::CResizeTracker(const CRect& rect, UINT nStyle)
    : m_rect(rect), m_nStyle(nStyle), m_nHandleSize(kDefaultHandleSize),
      m_sizeMin(kDefaultHandleSize * 2, kDefaultHandleSize * 2)
{}

bool CResizeTracker::IsHidden() const
{
    return m_rect.left == m_rect.right && m_rect.top == m_rect.bottom;
}

CRect CResizeTracker::GetHandleRect(int nHandle) const
{
    if (nHandle < 0 || nHandle >= int(kHandles.size()) ||
        !(m_nStyle & (resizeInside | resizeOutside)))
        return CRect();
    const bool inside = (m_nStyle & resizeInside) != 0;
    const i64 size = std::max(m_nHandleSize, 1);
    const HandlePlace place = kHandles[std::size_t(nHandle)];
    const auto [l, r] = HandleSpan(place.x, m_rect.left, m_rect.right, size, inside);
    const auto [t, b] = HandleSpan(place.y, m_rect.top, m_rect.bottom, size, inside);
    return CRect(ClampCoord(l), ClampCoord(t), ClampCoord(r), ClampCoord(b));
}

int CResizeTracker::HitTest(CPoint point) const
{
    if (IsHidden())
        return hitNothing;
    for (int i = 0; i < int(kHandles.size()); ++i)
        if (GetHandleRect(i).PtInRect(point))
            return i;
    return Normalized(m_rect).Contains(point) ? hitMiddle : hitNothing;
}

int CResizeTracker::GetCursorId(int nHandle) const
{
    // An inverted rectangle mirrors its corners: (left, top) then lies top-right or
    // bottom-left on the screen.
    const bool mirrored = (m_rect.left > m_rect.right) != (m_rect.top > m_rect.bottom);
    switch (nHandle) {
    case hitTopLeft:
    case hitBottomRight:
        return mirrored ? IDC_SIZENESW : IDC_SIZENWSE;
    case hitTopRight:
    case hitBottomLeft:
        return mirrored ? IDC_SIZENWSE : IDC_SIZENESW;
    case hitTop:
    case hitBottom:
        return IDC_SIZENS;
    case hitLeft:
    case hitRight:
        return IDC_SIZEWE;
    case hitMiddle:
        return IDC_SIZEALL;
    default:
        return 0;
    }
}

void CResizeTracker::Draw(CDC* pDC) const
{
    if (IsHidden())
        return;
    const Box box = Normalized(m_rect);
    CPen solid(PS_SOLID, 1, kBlack);
    CPen dotted(PS_DOT, 1, kBlack);
    CPen* pOldPen = pDC->GetCurrentPen();
    CBrush* pOldBrush = pDC->GetCurrentBrush();
    const CPoint ptOldPos = pDC->GetCurrentPosition();
    const int nOldRop = pDC->SetROP2(R2_COPYPEN);
    pDC->SelectStockObject(NULL_BRUSH);
    if (m_nStyle & (solidLine | dottedLine)) {
        pDC->SelectObject((m_nStyle & solidLine) ? &solid : &dotted);
        const Box border = box.Inflated(1);
        pDC->Rectangle(ClampCoord(border.l), ClampCoord(border.t), ClampCoord(border.r),
                       ClampCoord(border.b));
    }
    pDC->SelectObject(&solid);
    if (m_nStyle & hatchInside)
        Hatch(pDC, box);
    if (m_nStyle & hatchedBorder)
        HatchBand(pDC, box, std::max(m_nHandleSize, 1));
    for (int i = 0; i < int(kHandles.size()); ++i) {
        const CRect h = GetHandleRect(i);
        if (!h.IsRectEmpty())
            pDC->FillSolidRect(h.left, h.top, h.Width(), h.Height(), kBlack);
    }
    pDC->SelectObject(pOldPen);
    pDC->SelectObject(pOldBrush);
    pDC->SetROP2(nOldRop);
    pDC->MoveTo(ptOldPos);
}
