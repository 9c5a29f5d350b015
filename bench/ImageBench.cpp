// Opening and showing a picture as the user meets it: LoadBMP and Draw onto the 1280 × 1024
// canvas, beside Qt's own path (QImage::load, conversion to 32 bits, drawImage); SaveBMP of
// the same pictures; the window capture; a memcpy of the pixel bytes as the floor; and a
// 4000 × 3000 photo opened in the real window up to its first paint, beside decoding the same
// file with QImageReader alone.
#include "Canvas.h"
#include "Ratios.h"
#include "ViewScene.h"

#include "image/BaseImage.h"
#include "res/Tables.h"

#include <QApplication>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTemporaryDir>

#include <cstring>
#include <string>
#include <vector>

namespace {

using bench::kCanvasHeight;
using bench::kCanvasWidth;

struct Picture {
    const char* name;
    int width, height, colors;
};

const Picture kPictures[] = {{"8bit_4096x4096", 4096, 4096, 256},
                             {"24bit_4096x4096", 4096, 4096, 0},
                             {"8bit_1280x1024", 1280, 1024, 256},
                             {"24bit_1280x1024", 1280, 1024, 0}};

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

std::string PathOf(const char* name)
{
    return Folder().filePath(QString(name) + ".bmp").toStdString();
}

// A picture with some texture, so that no reader gets a trivially uniform file.
void WritePicture(const Picture& p)
{
    CBaseImage image;
    image.Create(p.width, p.height, p.colors, RGB(255, 255, 255));
    const std::size_t size = image.m_pBmInfo->bmiHeader.biSizeImage;
    for (std::size_t i = 0; i < size; ++i)
        image.m_pBits[i] = BYTE((i * 7 + i / 4099) & 0xFF);
    image.SaveBMP(PathOf(p.name).c_str());
}

using Canvas = bench::MemoryCanvas;

void LoadAndShow(benchmark::State& state, std::string path)
{
    Canvas canvas;
    for (auto _ : state) {
        CBaseImage image;
        if (!image.LoadBMP(path.c_str()) || !image.Draw(0, 0, &canvas.dc))
            state.SkipWithError("LoadBMP or Draw failed");
        benchmark::ClobberMemory();
    }
}

void QtLoadAndShow(benchmark::State& state, std::string path)
{
    QImage canvas(kCanvasWidth, kCanvasHeight, QImage::Format_RGB32);
    const QString file = QString::fromStdString(path);
    for (auto _ : state) {
        QImage image;
        if (!image.load(file, "BMP"))
            state.SkipWithError("QImage::load failed");
        image = image.convertToFormat(QImage::Format_RGB32);
        QPainter painter(&canvas);
        painter.drawImage(0, 0, image);
        painter.end();
        benchmark::ClobberMemory();
    }
}

void Save(benchmark::State& state, std::string path)
{
    CBaseImage image;
    image.LoadBMP(path.c_str());
    const std::string out = path + ".saved.bmp";
    for (auto _ : state)
        if (!image.SaveBMP(out.c_str()))
            state.SkipWithError("SaveBMP failed");
}

void BM_CaptureToFile(benchmark::State& state)
{
    Canvas canvas, window;
    canvas.dc.FillSolidRect(0, 0, kCanvasWidth, kCanvasHeight, RGB(200, 100, 50));
    CBaseImage image;
    const std::string out = PathOf("capture");
    for (auto _ : state)
        if (!image.CaptureToFile(&window.dc, &canvas.dc, out))
            state.SkipWithError("CaptureToFile failed");
}

// The pixel bytes of the 24-bit 1280 × 1024 picture, copied once.
void BM_Memcpy_24bit_1280x1024(benchmark::State& state)
{
    const std::size_t size = std::size_t(DibRowBytes(1280, 24)) * 1024;
    std::vector<BYTE> from(size, 1), to(size);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), size);
        benchmark::ClobberMemory();
    }
}

// A 4000 × 3000 photo-like picture (smooth gradients with fine grain) in the format; its path.
std::string PhotoPath(const char* format)
{
    const QString path = Folder().filePath(QStringLiteral("photo.") + format);
    if (!QFile::exists(path)) {
        QImage photo(4000, 3000, QImage::Format_RGB32);
        for (int y = 0; y < photo.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
            for (int x = 0; x < photo.width(); ++x)
                row[x] = qRgb(x * 255 / 4000, y * 255 / 3000, ((x ^ y) & 15) + 120);
        }
        photo.save(path, format, 90);
    }
    return path.toStdString();
}

// Open in the real window (the file read, the canvas grown, the view shown from its corner)
// up to the first paint of what the window shows.
void OpenToFirstPaint(benchmark::State& state, std::string path)
{
    bench::Scene scene(0, false);
    for (auto _ : state) {
        if (!scene.tmpl.OpenDocumentFile(path.c_str()))
            state.SkipWithError("Open failed");
        scene.view->UpdateWindow();
        state.PauseTiming();
        scene.tmpl.OpenDocumentFile(nullptr);
        QApplication::processEvents();
        state.ResumeTiming();
    }
}

// The picture reader alone: the file's bytes to the picture's rows.
void ReadPicture(benchmark::State& state, std::string path)
{
    for (auto _ : state) {
        CBaseImage image;
        if (image.LoadPicture(path.c_str()) != CPictureReader::Result::Read)
            state.SkipWithError("LoadPicture failed");
    }
}

void QtDecode(benchmark::State& state, std::string path)
{
    for (auto _ : state) {
        QImageReader reader(QString::fromStdString(path));
        if (reader.read().isNull())
            state.SkipWithError("QImageReader failed");
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    AfxSetResources(&res::ProgramTables());
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const Picture& p : kPictures) {
        WritePicture(p);
        const std::string name = p.name;
        benchmark::RegisterBenchmark(("LoadAndShow/" + name).c_str(), LoadAndShow, PathOf(p.name))
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("QtLoadAndShow/" + name).c_str(), QtLoadAndShow,
                                     PathOf(p.name))
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("SaveBMP/" + name).c_str(), Save, PathOf(p.name))
            ->Unit(benchmark::kMillisecond);
        pairs.emplace_back("LoadAndShow/" + name, "QtLoadAndShow/" + name);
    }
    benchmark::RegisterBenchmark("CaptureToFile", BM_CaptureToFile)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Memcpy/24bit_1280x1024", BM_Memcpy_24bit_1280x1024)
        ->Unit(benchmark::kMillisecond);
    pairs.emplace_back("LoadAndShow/24bit_1280x1024", "Memcpy/24bit_1280x1024");
    for (const char* format : {"png", "jpg"}) {
        const std::string name = std::string("4000x3000_") + format;
        benchmark::RegisterBenchmark(("OpenToFirstPaint/" + name).c_str(), OpenToFirstPaint,
                                     PhotoPath(format))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("ReadPicture/" + name).c_str(), ReadPicture,
                                     PhotoPath(format))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        benchmark::RegisterBenchmark(("QtDecode/" + name).c_str(), QtDecode, PhotoPath(format))
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
        pairs.emplace_back("OpenToFirstPaint/" + name, "QtDecode/" + name);
    }
    // Targets: at most 0.5 of Qt's time on every picture, at most 4 times the memcpy; a photo
    // opened to its first paint within 1.2 times its decoding alone.
    return bench::RunWithRatios(argc, argv, pairs);
}
