// Drawing finished shapes and rubber-band steps on the 1280 × 1024 canvas, beside the same
// shapes drawn straight with QPainter.
#include "Ratios.h"

#include "shapes/DrawTool.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <random>
#include <vector>

namespace {

constexpr int kWidth = 1280, kHeight = 1024;

std::vector<CData> MixedRecords(int n)
{
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1), size(10, 400),
        thickness(1, 7), kind(1, 3), colour(0, 0xFFFFFF);
    std::vector<CData> records(n);
    for (CData& d : records) {
        d.m_nKind = kind(rng);
        d.m_ptStart = CPoint(x(rng), y(rng));
        d.m_ptEnd = CPoint(d.m_ptStart.x + size(rng), d.m_ptStart.y + size(rng));
        d.m_nThickness = thickness(rng);
        d.m_crLine = COLORREF(colour(rng));
        d.m_crFill = COLORREF(colour(rng));
    }
    return records;
}

struct Canvas {
    CDC dc;
    CBitmap bmp;
    Canvas()
    {
        dc.CreateCompatibleDC(nullptr);
        bmp.CreateCompatibleBitmap(&dc, kWidth, kHeight);
        dc.SelectObject(&bmp);
    }
};

QColor ToQColor(COLORREF cr) { return QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)); }

void BM_DrawShape_DeviceContext(benchmark::State& state)
{
    const std::vector<CData> records = MixedRecords(10000);
    Canvas canvas;
    CDrawTool tool;
    for (auto _ : state) {
        for (const CData& d : records)
            tool.DrawShape(&canvas.dc, &d);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawShape_DeviceContext)->Unit(benchmark::kMillisecond);

void BM_DrawShape_RawQPainter(benchmark::State& state)
{
    const std::vector<CData> records = MixedRecords(10000);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        for (const CData& d : records) {
            p.setPen(QPen(ToQColor(d.m_crLine), d.m_nThickness));
            p.setBrush(ToQColor(d.m_crFill));
            const QRect r(QPoint(d.m_ptStart.x, d.m_ptStart.y), QPoint(d.m_ptEnd.x, d.m_ptEnd.y));
            if (d.m_nKind == SHAPE_LINE)
                p.drawLine(r.topLeft(), r.bottomRight());
            else if (d.m_nKind == SHAPE_RECT)
                p.drawRect(r);
            else
                p.drawEllipse(r);
        }
        p.end();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawShape_RawQPainter)->Unit(benchmark::kMillisecond);

void BM_RubberBandStep(benchmark::State& state)
{
    Canvas canvas;
    CDrawTool tool;
    const int kind = int(state.range(0));
    tool.SetStartPoint(CPoint(200, 150));
    bool flip = false;
    for (auto _ : state) {
        // One mouse-move step: erase the previous 400 × 300 figure and draw the next one.
        tool.DrawRubberBand(&canvas.dc, CPoint(flip ? 600 : 601, flip ? 450 : 451), kind);
        flip = !flip;
    }
}
BENCHMARK(BM_RubberBandStep)->Arg(SHAPE_RECT)->Arg(SHAPE_ELLIPSE)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    return bench::RunWithRatios(argc, argv,
                                {{"BM_DrawShape_DeviceContext", "BM_DrawShape_RawQPainter"}});
}
