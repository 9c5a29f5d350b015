// The mixed drawing the benchmarks use, and the same drawing done straight with QPainter.
#pragma once

#include "Canvas.h"

#include "shapes/Data.h"

#include <QPainter>

#include <map>
#include <random>
#include <vector>

namespace bench {

// n records, each filled in by make(engine, record) from a random engine of the seed.
template <class Make> std::vector<CData> RandomRecords(int n, unsigned seed, Make make)
{
    std::mt19937 rng(seed);
    std::vector<CData> records(static_cast<std::size_t>(n));
    for (CData& d : records)
        make(rng, d);
    return records;
}

// Lines, filled rectangles and ellipses of 10–400 pixels, thickness 1–7, on the canvas.
inline std::vector<CData> MixedRecords(int n, unsigned seed)
{
    return RandomRecords(n, seed, [](std::mt19937& rng, CData& d) {
        std::uniform_int_distribution<int> x(0, kCanvasWidth - 1), y(0, kCanvasHeight - 1),
            size(10, 400), thickness(1, 7), kind(1, 3), color(0, 0xFFFFFF);
        d.m_nKind = kind(rng);
        d.m_ptStart = CPoint(x(rng), y(rng));
        d.m_ptEnd = CPoint(d.m_ptStart.x + size(rng), d.m_ptStart.y + size(rng));
        d.m_nThickness = thickness(rng);
        d.m_crLine = COLORREF(color(rng));
        d.m_crFill = COLORREF(color(rng));
    });
}

// Lines between random points of the canvas, thickness 1–7; or, fat, rectangles and lines
// whose pens are wider than the canvas, up to the widest a file can give: each of those
// paints the whole canvas.
inline std::vector<CData> ScatteredRecords(int n, unsigned seed, bool fat)
{
    return RandomRecords(n, seed, [fat](std::mt19937& rng, CData& d) {
        std::uniform_int_distribution<int> x(0, kCanvasWidth - 1), y(0, kCanvasHeight - 1),
            thickness(fat ? 2 * kCanvasWidth : 1, fat ? INT32_MAX : 7), line(0, 1),
            color(0, 0xFFFFFF);
        d.m_nKind = !fat || line(rng) ? SHAPE_LINE : SHAPE_RECT;
        d.m_ptStart = CPoint(x(rng), y(rng));
        d.m_ptEnd = CPoint(x(rng), y(rng));
        d.m_nThickness = thickness(rng);
        d.m_crLine = COLORREF(color(rng));
        d.m_crFill = COLORREF(color(rng));
    });
}

inline std::vector<CData> LineRecords(int n, unsigned seed)
{
    return ScatteredRecords(n, seed, false);
}

inline std::vector<CData> FatBandRecords(int n, unsigned seed)
{
    return ScatteredRecords(n, seed, true);
}

inline QColor ToQColor(COLORREF cr) { return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)); }

// The reference: each kind of the scene drawn the way Qt draws that figure.
inline void DrawWithQPainter(QPainter& p, const std::vector<CData>& records)
{
    using Figure = void (*)(QPainter&, const QRect&);
    static const std::map<int, Figure> kFigures = {
        {SHAPE_LINE, [](QPainter& q, const QRect& r) { q.drawLine(r.topLeft(), r.bottomRight()); }},
        {SHAPE_RECT, [](QPainter& q, const QRect& r) { q.drawRect(r); }},
        {SHAPE_ELLIPSE, [](QPainter& q, const QRect& r) { q.drawEllipse(r); }},
    };
    for (const CData& d : records) {
        p.setPen(QPen(ToQColor(d.m_crLine), d.m_nThickness));
        p.setBrush(ToQColor(d.m_crFill));
        kFigures.at(d.m_nKind)(
            p, QRect(QPoint(d.m_ptStart.x, d.m_ptStart.y), QPoint(d.m_ptEnd.x, d.m_ptEnd.y)));
    }
}

} // namespace bench
