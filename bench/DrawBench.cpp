// Drawing finished shapes and rubber-band steps on the 1280 × 1024 canvas, beside the same
// shapes drawn straight with QPainter.
#include "Ratios.h"
#include "Scene.h"

#include "shapes/DrawTool.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <vector>

namespace {

using bench::kCanvasHeight;
using bench::kCanvasWidth;

using Canvas = bench::MemoryCanvas;

void BM_DrawShape_DeviceContext(benchmark::State& state)
{
    const std::vector<CData> records = bench::MixedRecords(10000, 42);
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
    const std::vector<CData> records = bench::MixedRecords(10000, 42);
    QImage image(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&image);
        bench::DrawWithQPainter(p, records);
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
