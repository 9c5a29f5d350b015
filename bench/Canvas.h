// The canvas the benchmarks draw on: its size, and a memory device context holding a bitmap of
// that size.
#pragma once

#include "framework/gdi/Gdi.h"

namespace bench {

constexpr int kCanvasWidth = 1280, kCanvasHeight = 1024;

struct MemoryCanvas {
    CBitmap bitmap;
    CDC dc;
    MemoryCanvas()
    {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, kCanvasWidth, kCanvasHeight);
        dc.SelectObject(&bitmap);
    }
};

} // namespace bench
