// Opens arbitrary bytes as a document file, the way the Open command does: a drawing, with or
// without its signature, or a picture when they start with "BM". The framework's message boxes
// answer at once. The shapes that open are painted as the view paints them, hit-tested as a press
// of the arrow tool tests them, and stored again, so that the rasteriser and the hit tests meet
// every coordinate an archive holds.
#include "document/SkorelDoc.h"
#include "res/Tables.h"

#include "shapes/DrawTool.h"
#include "shapes/Shape.h"

#include "framework/core/Archive.h"
#include "framework/core/Resource.h"
#include "framework/gdi/Dib.h"
#include "framework/window/MessageBox.h"

#include <QApplication>

#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr int kCanvasWidth = 1280, kCanvasHeight = 1024;

int AnswerAtOnce(const char*, UINT) { return IDOK; }

const std::string& InputPath()
{
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("skorel_fuzz_doc_" + std::to_string(::getpid())))
            .string();
    return path;
}

bool WriteInput(const std::uint8_t* data, std::size_t size)
{
    std::FILE* f = std::fopen(InputPath().c_str(), "wb");
    if (!f)
        return false;
    const bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

struct Surface {
    int width;
    int height;
    CBitmap bitmap;
    CDC dc;
    Surface(int w, int h) : width(w), height(h)
    {
        dc.CreateCompatibleDC(nullptr);
        bitmap.CreateCompatibleBitmap(&dc, w, h);
        dc.SelectObject(&bitmap);
    }
    std::vector<BYTE> Pixels()
    {
        BITMAPINFO bmi{};
        bmi.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        std::vector<BYTE> rows(std::size_t(width) * std::size_t(height) * 4);
        GetDIBits(&dc, &bitmap, 0, UINT(height), rows.data(), &bmi, DIB_RGB_COLORS);
        return rows;
    }
};

// The shapes on the canvas as a paint draws them; large figures are cut into slices drawn on
// several threads.
void Paint(const CSkorelDoc& doc)
{
    static Surface canvas(kCanvasWidth, kCanvasHeight);
    CDrawTool tool;
    for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;)
        tool.DrawShape(&canvas.dc, doc.m_shapeList.GetNext(pos));
}

// A figure touches each of its pixels once, so that exclusive-or feedback drawn twice goes
// away: inverted over black, it shows exactly what it shows painted white. A small surface
// takes the same clipping paths as the canvas.
void CheckTouchesEachPixelOnce(const CData& d)
{
    static Surface inverted(64, 48), white(64, 48);
    CDrawTool tool;
    for (auto [s, mix] : {std::pair{&inverted, R2_NOT}, std::pair{&white, R2_WHITE}}) {
        s->dc.FillSolidRect(0, 0, s->width, s->height, RGB(0, 0, 0));
        s->dc.SetROP2(mix);
        tool.DrawShape(&s->dc, &d);
    }
    if (inverted.Pixels() != white.Pixels())
        std::abort();
}

// A line is hit at both of its ends unless it has no length; a filled box whose corners are in
// order is hit at its start corner and in its middle, any other one nowhere; a hollow box, its
// corners in any order, is hit on its outline (a rectangle's at its start corner) and not in
// the middle of a large one; a record of another kind nowhere.
void HitTest(const CData& d)
{
    const CPoint s = d.m_ptStart, e = d.m_ptEnd;
    const CPoint middle(int((std::int64_t(s.x) + e.x) >> 1), int((std::int64_t(s.y) + e.y) >> 1));
    if (IsBoxShape(d.m_nKind) && IsHollow(d)) {
        // Far beyond the pen's half width and the hit's tolerance on every side of the middle.
        const std::int64_t room = 2 * (std::int64_t(std::max(d.m_nThickness, 1)) + 64);
        const bool large = std::llabs(std::int64_t(e.x) - s.x) > room &&
                           std::llabs(std::int64_t(e.y) - s.y) > room;
        if ((large && ShapeHit(d, middle)) || (d.m_nKind == SHAPE_RECT && !ShapeHit(d, s)))
            std::abort();
        return;
    }
    bool expected = false;
    CPoint other = e;
    if (IsLineShape(d.m_nKind)) {
        expected = s != e;
    } else if (IsBoxShape(d.m_nKind)) {
        expected = s.x < e.x && s.y < e.y;
        other = middle;
    }
    if (ShapeHit(d, s) != expected || ShapeHit(d, other) != expected)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Open reads a picture on a thread of its own while this one waits in an event loop, which
    // needs the application the program has.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_doc";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    AfxSetMessageBoxHook(AnswerAtOnce);
    AfxSetResources(&res::ProgramTables());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!WriteInput(data, size))
        return 0;
    CSkorelDoc doc;
    if (doc.OnOpenDoc(InputPath().c_str())) {
        Paint(doc);
        for (POSITION pos = doc.m_shapeList.GetHeadPosition(); pos;) {
            const CData& d = *doc.m_shapeList.GetNext(pos);
            CheckTouchesEachPixelOnce(d);
            HitTest(d);
        }
        // Whatever was read stores again as a count and the bytes of each record.
        std::vector<BYTE> out;
        CArchive ar(out, CArchive::store);
        doc.Serialize(ar);
        if (out.size() != 4 + CData::kArchiveBytes * std::size_t(doc.m_shapeList.GetCount()))
            std::abort();
    }
    return 0;
}
