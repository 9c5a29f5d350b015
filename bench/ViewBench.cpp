// The view as the user meets it: a full paint over a picture, one mouse-move step of a drag,
// and Save's capture and write; beside the same work done straight with Qt.
#include "Ratios.h"
#include "Scene.h"
#include "ViewScene.h"

#include "document/DrawingRecovery.h"
#include "res/Tables.h"

#include "framework/core/File.h"
#include "framework/core/VirtualKeys.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <malloc.h>

#include <algorithm>

namespace {

using bench::kCanvasHeight;
using bench::kCanvasWidth;
using bench::PicturePath;
using bench::Records;
using bench::Scene;

// The heap in use: small blocks and mapped ones.
std::size_t HeapInUse()
{
    const struct mallinfo2 m = mallinfo2();
    return m.uordblks + m.hblkhd;
}

// A full paint of the view: the whole canvas composed and copied to the window. The counter
// is what the scene holds after its first paint for each of its records, beyond what the same
// scene holds without records.
void PaintView(benchmark::State& state, Records records)
{
    const auto paintedSceneBytes = [records](int n) {
        const std::size_t before = HeapInUse();
        Scene scene(n, true, records);
        CPaintDC dc(scene.view);
        scene.view->OnDraw(&dc);
        return double(HeapInUse()) - double(before);
    };
    const int n = int(state.range(0));
    if (n > 0) {
        paintedSceneBytes(0); // what the first scene leaves in Qt's caches
        state.counters["bytes_per_shape"] = (paintedSceneBytes(n) - paintedSceneBytes(0)) / n;
    }
    Scene scene(n, true, records);
    for (auto _ : state) {
        CPaintDC dc(scene.view);
        scene.view->OnDraw(&dc);
    }
}

void BM_Paint_View(benchmark::State& state) { PaintView(state, bench::MixedRecords); }
BENCHMARK(BM_Paint_View)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_Paint_View_Lines(benchmark::State& state) { PaintView(state, bench::LineRecords); }
BENCHMARK(BM_Paint_View_Lines)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_Paint_View_FatBands(benchmark::State& state) { PaintView(state, bench::FatBandRecords); }
BENCHMARK(BM_Paint_View_FatBands)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The lines scene drawn straight with QPainter on the 32-bit canvas.
void BM_Paint_QPainter_Lines(benchmark::State& state)
{
    const std::vector<CData> records = bench::LineRecords(int(state.range(0)), 3);
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&canvas);
        p.fillRect(canvas.rect(), Qt::white);
        bench::DrawWithQPainter(p, records);
    }
}
BENCHMARK(BM_Paint_QPainter_Lines)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond);

void BM_Paint_RawQPainter(benchmark::State& state)
{
    // The same scene: the 24-bit picture as Qt keeps it, the shapes, one copy to the window.
    const QImage picture = QImage(PicturePath()).convertToFormat(QImage::Format_RGB888);
    const std::vector<CData> records = bench::MixedRecords(int(state.range(0)), 3);
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32),
        window(1400, 1150, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&canvas);
        p.fillRect(canvas.rect(), Qt::white);
        p.drawImage(0, 0, picture);
        bench::DrawWithQPainter(p, records);
        p.end();
        QPainter w(&window);
        w.drawImage(0, 0, canvas);
    }
}
BENCHMARK(BM_Paint_RawQPainter)
    ->Arg(0)
    ->Arg(1000)
    ->Arg(10000)
    ->Arg(100000)
    ->Unit(benchmark::kMillisecond);

// Brings what an edit invalidated to the screen: the paint and its copy to the window.
void ShowEdit(Scene& scene)
{
    scene.view->UpdateWindow();
    QApplication::processEvents();
}

// Keeps the scene's recovery copy from now on, with the document already modified, as it is
// while the user works: the edits that follow are journalled one by one.
void KeepJournal(Scene& scene)
{
    static QTemporaryDir dir;
    scene.doc->Observe(
        std::make_unique<CDrawingRecovery>(dir.filePath("journal.skrj").toStdString()));
    std::vector<std::unique_ptr<CData>> one;
    one.push_back(std::make_unique<CData>(bench::MixedRecords(1, 11).front()));
    scene.doc->AddShapes(std::move(one), false);
    scene.doc->Observer().Flush();
}

// One shape drawn on top of nRecords records, then the paint that follows, with the view at a
// zoom (in percent), the recovery copy kept or not, over a picture of the size given.
void AppendRepaint(benchmark::State& state, int nRecords, int nZoom, bool journal,
                   QSize picture = QSize(kCanvasWidth, kCanvasHeight))
{
    Scene scene(nRecords, true, bench::MixedRecords, picture);
    scene.view->ZoomTo(nZoom);
    if (journal)
        KeepJournal(scene);
    ShowEdit(scene);
    CData shape = bench::MixedRecords(1, 99).front();
    shape.m_ptStart = CPoint(500, 400);
    shape.m_ptEnd = CPoint(700, 550);
    for (auto _ : state) {
        std::vector<std::unique_ptr<CData>> drawn;
        drawn.push_back(std::make_unique<CData>(shape));
        scene.doc->AddShapes(std::move(drawn), true);
        ShowEdit(scene);
        state.PauseTiming();
        scene.doc->m_undo.Undo();
        ShowEdit(scene);
        state.ResumeTiming();
    }
}

// The same among 10,000 records at the zoom of the argument: the canvas is scaled only where
// the edit shows.
void BM_EditRepaint_Zoomed(benchmark::State& state)
{
    AppendRepaint(state, 10000, int(state.range(0)), false);
}
BENCHMARK(BM_EditRepaint_Zoomed)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// The same among 10,000 records over a picture as wide as the argument, and 3/4 as high: the
// canvas is that size from 1280 on.
void BM_EditRepaint_Canvas(benchmark::State& state)
{
    const int width = int(state.range(0));
    AppendRepaint(state, 10000, 100, false, QSize(width, width * 3 / 4));
}
BENCHMARK(BM_EditRepaint_Canvas)->Arg(1280)->Arg(4000)->Unit(benchmark::kMillisecond);

// A shape in the middle of the list moved by 50 pixels (and back, on every other run), then
// the paint that follows.
void EditRepaintMove(benchmark::State& state, bool journal)
{
    Scene scene(int(state.range(0)), true);
    if (scene.doc->m_shapeList.IsEmpty()) {
        std::vector<std::unique_ptr<CData>> one;
        one.push_back(std::make_unique<CData>(bench::MixedRecords(1, 5).front()));
        scene.doc->AddShapes(std::move(one), false);
    }
    CData* middle = scene.doc->m_shapeList.GetAt(
        scene.doc->m_shapeList.FindIndex(scene.doc->m_shapeList.GetCount() / 2));
    if (journal)
        KeepJournal(scene);
    ShowEdit(scene);
    int step = 50;
    for (auto _ : state) {
        scene.doc->ChangeShape(middle, Shifted(middle->m_ptStart, step, step),
                               Shifted(middle->m_ptEnd, step, step));
        ShowEdit(scene);
        step = -step;
    }
}

void BM_EditRepaint_Append(benchmark::State& state)
{
    AppendRepaint(state, int(state.range(0)), 100, false);
}
void BM_EditRepaint_Move(benchmark::State& state) { EditRepaintMove(state, false); }
BENCHMARK(BM_EditRepaint_Append)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditRepaint_Move)->Arg(0)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
// The same with the recovery copy kept.
void BM_EditRepaint_Append_Journal(benchmark::State& state)
{
    AppendRepaint(state, int(state.range(0)), 100, true);
}
void BM_EditRepaint_Move_Journal(benchmark::State& state) { EditRepaintMove(state, true); }
BENCHMARK(BM_EditRepaint_Append_Journal)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditRepaint_Move_Journal)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// A document of the argument's number of records, not shown, and a recovery journal for it.
struct JournalScene {
    CSkorelDoc doc;
    CDrawingJournal journal;

    JournalScene(const benchmark::State& state, const char* name)
        : journal(Folder().filePath(QString::fromLatin1(name)).toStdString())
    {
        for (const CData& d : bench::MixedRecords(int(state.range(0)), 13))
            doc.m_shapeList.AddTail(std::make_unique<CData>(d));
    }
    static QTemporaryDir& Folder()
    {
        static QTemporaryDir dir;
        return dir;
    }
};

// One move step journalled, the repaint aside: the entry made and handed to the writing
// thread.
void BM_Journal_Append(benchmark::State& state)
{
    JournalScene scene(state, "append.skrj");
    scene.journal.Keep("", scene.doc.m_shapeList, nullptr);
    CData* middle = scene.doc.m_shapeList.GetAt(
        scene.doc.m_shapeList.FindIndex(scene.doc.m_shapeList.GetCount() / 2));
    for (auto _ : state) {
        middle->m_ptStart.x ^= 1;
        scene.journal.Changed(*middle);
    }
    scene.journal.Flush();
}
BENCHMARK(BM_Journal_Append)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// What the window waits for when a drawing gets its first unsaved change: the snapshot made
// and handed to the writing thread, which writes it meanwhile.
void BM_Journal_Snapshot(benchmark::State& state)
{
    JournalScene scene(state, "snapshot.skrj");
    for (auto _ : state) {
        scene.journal.Keep("", scene.doc.m_shapeList, nullptr);
        state.PauseTiming();
        scene.journal.Flush();
        scene.journal.Stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Journal_Snapshot)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A first change among the first argument's number of records, over a picture of side ×
// (side - 1) pixels or none (side 0), until the copy is written and durable: the most a kill
// right after the change can lose. The window waits only for the records; the journal's thread
// writes the picture from the document's own pixels.
void BM_Journal_Picture(benchmark::State& state)
{
    JournalScene scene(state, "picture.skrj");
    const auto side = int(state.range(1));
    std::shared_ptr<CBaseImage> picture;
    if (side > 0) {
        picture = std::make_shared<CBaseImage>();
        picture->Create(side, side - 1, 0, RGB(90, 140, 200));
    }
    for (auto _ : state) {
        scene.journal.Keep("", scene.doc.m_shapeList, picture);
        scene.journal.Flush();
        state.PauseTiming();
        scene.journal.Stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Journal_Picture)
    ->Args({0, 4096})
    ->Args({0, 16384})
    ->Args({1000000, 0})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);

// Undo and redo of a move among the argument's number of records, each with its paint; and
// what one move step keeps in memory (it must not grow with the records).
void BM_UndoRedo_Move(benchmark::State& state)
{
    Scene scene(int(state.range(0)), true);
    CData* middle = scene.doc->m_shapeList.GetAt(
        scene.doc->m_shapeList.FindIndex(scene.doc->m_shapeList.GetCount() / 2));
    constexpr int kSteps = 1000;
    const std::size_t before = mallinfo2().uordblks;
    for (int i = 0; i < kSteps; ++i) {
        const int dx = i % 2 ? -50 : 50;
        scene.doc->ChangeShape(middle, Shifted(middle->m_ptStart, dx, dx),
                               Shifted(middle->m_ptEnd, dx, dx));
    }
    const std::size_t after = mallinfo2().uordblks;
    ShowEdit(scene);
    for (auto _ : state) {
        scene.doc->m_undo.Undo();
        ShowEdit(scene);
        scene.doc->m_undo.Redo();
        ShowEdit(scene);
    }
    state.counters["bytes_per_step"] = double(after - before) / kSteps;
}
BENCHMARK(BM_UndoRedo_Move)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

// Selection among many records, each with the repaint that follows: a rectangle that takes in
// about a tenth of a million records, a nudge of ten thousand selected ones, and one record sent
// behind all others and brought in front again. Targets: each within a 60 Hz frame.
void BM_Select_Band(benchmark::State& state)
{
    const int n = int(state.range(0));
    Scene scene(n, false);
    ShowEdit(scene);
    // The band reaches as far right as a tenth of the records' right edges, or a little less
    // every other time, so that each band selects anew and the frame moves: it starts beside
    // the canvas, where no record is, and reaches below the lowest record, so that it holds
    // a tenth of the records wholly.
    std::vector<LONG> rights;
    LONG bottom = 0;
    for (POSITION pos = scene.doc->m_shapeList.GetHeadPosition(); pos;) {
        const CData* d = scene.doc->m_shapeList.GetNext(pos);
        rights.push_back(std::max(d->m_ptStart.x, d->m_ptEnd.x) + 1);
        bottom = std::max({bottom, d->m_ptStart.y + 1, d->m_ptEnd.y + 1});
    }
    std::nth_element(rights.begin(), rights.begin() + n / 10, rights.end());
    const CPoint from(-5, -5);
    const CPoint ends[] = {CPoint(rights[std::size_t(n / 10)], bottom),
                           CPoint(rights[std::size_t(n / 10)] - 8, bottom)};
    scene.view->OnCmdMsg(ID_SELECT, true);
    std::size_t turn = 0;
    for (auto _ : state) {
        const CPoint to = ends[turn++ % 2];
        scene.view->OnLButtonDown(MK_LBUTTON, from);
        scene.view->OnMouseMove(MK_LBUTTON, to);
        scene.view->OnLButtonUp(0, to);
        ShowEdit(scene);
    }
    state.counters["selected"] = double(scene.view->GetSelection().Count());
}
BENCHMARK(BM_Select_Band)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Nudge_Many(benchmark::State& state)
{
    Scene scene(int(state.range(0)), false);
    scene.view->OnCmdMsg(ID_EDIT_SELECT_ALL, true);
    ShowEdit(scene);
    UINT key = VK_RIGHT;
    for (auto _ : state) {
        scene.view->OnKeyDown(key, 1, 0);
        ShowEdit(scene);
        key = key == VK_RIGHT ? VK_LEFT : VK_RIGHT;
    }
}
BENCHMARK(BM_Nudge_Many)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_Arrange_One(benchmark::State& state)
{
    Scene scene(int(state.range(0)), false);
    // The topmost record under a point, grabbed with the arrow tool.
    scene.view->OnCmdMsg(ID_SELECT, true);
    scene.view->OnLButtonDown(MK_LBUTTON, CPoint(640, 512));
    scene.view->OnLButtonUp(0, CPoint(640, 512));
    ShowEdit(scene);
    UINT command = ID_ARRANGE_BACK;
    for (auto _ : state) {
        scene.view->OnCmdMsg(command, true);
        ShowEdit(scene);
        command = command == ID_ARRANGE_BACK ? ID_ARRANGE_FRONT : ID_ARRANGE_BACK;
    }
}
BENCHMARK(BM_Arrange_One)->Arg(1000000)->Unit(benchmark::kMillisecond);

// One mouse move of a drag, until its pixels are on the screen, among nRecords other records
// with the view at a zoom (in percent).
void DragStep(benchmark::State& state, UINT tool, QPoint press, QPoint a, QPoint b, int nRecords,
              int nZoom = 100, QSize picture = QSize())
{
    Scene scene(nRecords, !picture.isEmpty(), bench::MixedRecords, picture);
    scene.view->ZoomTo(nZoom);
    {
        // The drag starts on a shape of its own, appended after the others.
        CData target;
        target.m_nKind = SHAPE_RECT;
        target.m_ptStart = CPoint(200, 150);
        target.m_ptEnd = CPoint(600, 450);
        target.m_nThickness = 1;
        target.m_crLine = 0;
        target.m_crFill = RGB(255, 255, 255);
        scene.doc->m_shapeList.AddTail(std::make_unique<CData>(target));
    }
    scene.view->OnCmdMsg(tool, true);
    scene.view->OnLButtonDown(MK_LBUTTON, CPoint(press.x(), press.y()));
    bool flip = false;
    for (auto _ : state) {
        const QPoint p = flip ? a : b;
        scene.view->OnMouseMove(MK_LBUTTON, CPoint(p.x(), p.y()));
        QApplication::processEvents();
        flip = !flip;
    }
    scene.view->OnLButtonUp(0, CPoint(press.x(), press.y()));
}

void BM_MouseMove_DrawingRectangle(benchmark::State& state)
{
    DragStep(state, ID_DRAW_RECT, {200, 150}, {600, 450}, {601, 451}, int(state.range(0)));
}
BENCHMARK(BM_MouseMove_DrawingRectangle)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The same among 10,000 records at the zoom of the argument.
void BM_MouseMove_Zoomed(benchmark::State& state)
{
    DragStep(state, ID_DRAW_RECT, {200, 150}, {600, 450}, {601, 451}, 10000, int(state.range(0)));
}
BENCHMARK(BM_MouseMove_Zoomed)->Arg(25)->Arg(100)->Arg(400)->Unit(benchmark::kMicrosecond);

// The same over a picture as wide as the argument, and 3/4 as high.
void BM_MouseMove_Canvas(benchmark::State& state)
{
    const int width = int(state.range(0));
    DragStep(state, ID_DRAW_RECT, {200, 150}, {600, 450}, {601, 451}, 10000, 100,
             QSize(width, width * 3 / 4));
}
BENCHMARK(BM_MouseMove_Canvas)->Arg(1280)->Arg(4000)->Unit(benchmark::kMicrosecond);

void BM_MouseMove_MovingSelection(benchmark::State& state)
{
    DragStep(state, ID_SELECT, {400, 300}, {410, 305}, {411, 306}, int(state.range(0)));
}
BENCHMARK(BM_MouseMove_MovingSelection)->Arg(0)->Arg(10000)->Unit(benchmark::kMicrosecond);

// Ctrl+S after a paint: the canvas brought up to date and its top-left 800 × 600 written, with
// the argument's number of records, to memory-backed storage.
void BM_Save_Capture(benchmark::State& state)
{
    Scene scene(int(state.range(0)), true);
    {
        CPaintDC paint(scene.view);
        scene.view->OnDraw(&paint);
    }
    const std::string path = "/dev/shm/skorel-capture.bmp";
    for (auto _ : state)
        scene.view->SaveCanvas(path);
    QFile::remove(QString::fromStdString(path));
}
BENCHMARK(BM_Save_Capture)->Arg(0)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The write alone, beside Qt's: the canvas captured to a file on memory-backed storage and on
// the disk of the build.
void BM_Save_Write(benchmark::State& state, const QString& dir)
{
    Scene scene(100, true);
    CBitmap drawing;
    scene.view->CopyCanvas(CRect(0, 0, 800, 600), drawing);
    CDC source;
    source.CreateCompatibleDC(nullptr);
    source.SelectObject(&drawing);
    const std::string path = (dir + "/capture.bmp").toStdString();
    CBaseImage capture; // kept across saves, as the view keeps its own
    for (auto _ : state) {
        CClientDC dc(scene.view);
        capture.CaptureToFile(&dc, &source, path);
    }
    QFile::remove(QString::fromStdString(path));
}

void BM_Save_QImage(benchmark::State& state, const QString& dir)
{
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    const QString path = dir + "/qt.bmp";
    for (auto _ : state)
        canvas.copy(0, 0, 800, 600).save(path, "BMP");
    QFile::remove(path);
}

// The least any atomic save of that file can cost, with no pixels to prepare: its 1,440,054
// bytes written to a new file beside the target, made durable and renamed over it.
void BM_Save_FileFloor(benchmark::State& state)
{
    const std::vector<char> bytes(54 + 800 * 600 * 3, 1);
    const std::string path = "/dev/shm/skorel-floor.bmp";
    for (auto _ : state) {
        CFileReplacement file;
        if (!file.Open(path.c_str()) || !file.Write(bytes.data(), bytes.size()) || !file.Commit())
            state.SkipWithError("could not write");
    }
    QFile::remove(QString::fromStdString(path));
}
BENCHMARK(BM_Save_FileFloor)->Unit(benchmark::kMillisecond);

const QString kShm = QStringLiteral("/dev/shm");
const QString kDisk = QDir::currentPath();
BENCHMARK_CAPTURE(BM_Save_Write, memory, kShm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save_QImage, memory, kShm)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save_Write, disk, kDisk)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Save_QImage, disk, kDisk)->Unit(benchmark::kMillisecond);

// A drawing file of the argument's number of records opened, up to the end of its first paint.
void BM_Open_Drawing(benchmark::State& state)
{
    static QTemporaryDir dir;
    const std::string path = dir.filePath("drawing.skr").toStdString();
    {
        CSkorelDoc written;
        for (const CData& d : bench::MixedRecords(int(state.range(0)), 7))
            written.m_shapeList.AddTail(std::make_unique<CData>(d));
        written.OnSaveDoc(path.c_str());
    }
    Scene scene(0, false);
    for (auto _ : state) {
        scene.doc->OnOpenDoc(path.c_str());
        ShowEdit(scene);
        state.PauseTiming();
        scene.doc->m_undo.Undo();
        ShowEdit(scene);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Open_Drawing)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    AfxSetResources(&res::ProgramTables());
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char* n : {"0", "1000", "10000", "100000"})
        pairs.emplace_back(std::string("BM_Paint_View/") + n,
                           std::string("BM_Paint_RawQPainter/") + n);
    for (const char* n : {"10000", "100000", "1000000"})
        pairs.emplace_back(std::string("BM_Paint_View_Lines/") + n,
                           std::string("BM_Paint_QPainter_Lines/") + n);
    for (const char* n : {"10000", "100000"})
        pairs.emplace_back(std::string("BM_Paint_View_FatBands/") + n,
                           std::string("BM_Paint_View/") + n);
    pairs.emplace_back("BM_Paint_View/1000000", "BM_Paint_View/100000");
    for (const char* n : {"0", "100000", "1000000"})
        pairs.emplace_back(std::string("BM_Save_Capture/") + n, std::string("BM_Paint_View/") + n);
    pairs.emplace_back("BM_Save_Capture/1000000", "BM_Save_FileFloor");
    for (const char* n : {"0", "10000", "100000"})
        for (const char* edit : {"BM_EditRepaint_Append/", "BM_EditRepaint_Move/"})
            pairs.emplace_back(std::string(edit) + n, std::string("BM_Paint_View/") + n);
    for (const char* n : {"10000", "100000"})
        for (const char* edit : {"BM_EditRepaint_Append", "BM_EditRepaint_Move"})
            pairs.emplace_back(std::string(edit) + "_Journal/" + n, std::string(edit) + "/" + n);
    for (const char* zoom : {"25", "400"})
        for (const char* step : {"BM_MouseMove_Zoomed/", "BM_EditRepaint_Zoomed/"})
            pairs.emplace_back(std::string(step) + zoom, std::string(step) + "100");
    // Targets: an edit and a drag step on a 4000 × 3000 canvas within 1.5 times the same on
    // the 1280 × 1024 one.
    for (const char* step : {"BM_EditRepaint_Canvas/", "BM_MouseMove_Canvas/"})
        pairs.emplace_back(std::string(step) + "4000", std::string(step) + "1280");
    pairs.emplace_back("BM_Save_Write/memory", "BM_Save_QImage/memory");
    pairs.emplace_back("BM_Save_Write/disk", "BM_Save_QImage/disk");
    return bench::RunWithRatios(argc, argv, pairs);
}
