#include "PictureReader.h"

#include "Dib.h"
#include "DibRows.h"

#include "JpegLayout.h"
#include "JpegRows.h"
#include "PngRows.h"
#include "framework/core/Parallel.h"
#include "framework/core/Resource.h"

#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <new>
#include <optional>

namespace {

using Result = CPictureReader::Result;

// Progress, in thousandths: looking through the file, decoding it, making the rows.
constexpr int kLookedAt = 50;
constexpr int kDecoded = 900;
// Rows made between two polls of the progress.
constexpr int kBandRows = 64;
constexpr std::int64_t kMiB = std::int64_t(1) << 20;
constexpr std::int64_t kRowBytesPerPixel = 3;

// Qt's own bound on any picture it allocates is shared by every reader in the process: the
// most a reader here lets decoding take.
void LimitQtAllocations()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        QImageReader::setAllocationLimit(int(CPictureReader::kMaxDecodeBytes / kMiB));
    });
}

// Whether the program's table has the format read through Qt, by the name its reader gives it.
bool IsDecoded(const QByteArray& format)
{
    return std::ranges::any_of(res::PictureFormats(), [&](const res::PictureFormat& f) {
        return (f.uses & res::PictureFormat::Decoded) && f.codec && format == f.codec;
    });
}

// The data as Qt's readers see it: bytes or a file, read where Qt asks. Every read reports
// how far into the data it got, and fails once the progress is cancelled, which makes the
// decoder give up.
class SourceDevice : public QIODevice {
public:
    SourceDevice(const std::vector<BYTE>* pBytes, CFileHandle* pFile, std::int64_t size,
                 CProgress* pProgress)
        : m_pBytes(pBytes), m_pFile(pFile), m_nSize(size), m_pProgress(pProgress)
    {}
    bool isSequential() const override { return false; }
    qint64 size() const override { return m_nSize; }
    // The part of the progress that reading the whole data stands for.
    void SetPhase(int from, int to)
    {
        m_nFrom = from;
        m_nTo = to;
    }
    bool Cancelled() const { return m_pProgress && m_pProgress->IsCancelled(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        if (Cancelled())
            return -1;
        const qint64 at = pos();
        const qint64 n = std::clamp<qint64>(m_nSize - at, 0, maxSize);
        if (n > 0 && m_pBytes) {
            std::memcpy(data, m_pBytes->data() + at, std::size_t(n));
        } else if (n > 0 && (!m_pFile->Seek(std::uint64_t(at)) ||
                             m_pFile->Read(data, std::size_t(n)) != std::size_t(n))) {
            return -1;
        }
        if (m_pProgress)
            m_pProgress->Report(at + n, m_nSize, m_nFrom, m_nTo);
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    const std::vector<BYTE>* m_pBytes;
    CFileHandle* m_pFile;
    std::int64_t m_nSize;
    CProgress* m_pProgress;
    int m_nFrom = 0;
    int m_nTo = CProgress::kWhole;
};

// Bytes a pixel of what Qt decodes into; 4 when the reader does not say beforehand.
std::int64_t DecodedBytesPerPixel(QImage::Format format)
{
    return format == QImage::Format_Invalid
               ? 4
               : std::max(1, QImage::toPixelFormat(format).bitsPerPixel() / 8);
}

// The bytes of libjpeg's coefficient buffers, when it keeps them; -1 for a JPEG that is
// refused before decoding: damaged markers or too many scans.
std::int64_t JpegCoefficientBytes(SourceDevice& device)
{
    JpegLayout layout;
    const bool ok = ReadJpegLayout(
        [&](BYTE* p, std::size_t n) {
            const qint64 got = device.read(reinterpret_cast<char*>(p), qint64(n));
            return got > 0 ? std::size_t(got) : 0;
        },
        CPictureReader::kMaxJpegScans, layout);
    device.seek(0);
    if (!ok || layout.scans > CPictureReader::kMaxJpegScans)
        return -1;
    return layout.KeepsAllCoefficients() ? layout.coefficientBytes : 0;
}

// What decoding will cost, as far as the header tells, or -1 when it can't tell.
std::int64_t DecodingBytes(const QByteArray& format, QImageReader& reader, std::int64_t jpegBytes,
                           std::int64_t fileBytes)
{
    const QSize size = reader.size();
    if (!size.isValid())
        return -1;
    const std::int64_t pixels = std::int64_t(size.width()) * size.height();
    std::int64_t bytes = pixels * (DecodedBytesPerPixel(reader.imageFormat()) + kRowBytesPerPixel);
    if (format == "jpeg")
        bytes += jpegBytes;
    // An animation is composed on a canvas of its own, from the file Qt holds whole.
    if (format == "webp" && reader.supportsAnimation())
        bytes += pixels * 4 + fileBytes;
    return bytes;
}

// Where the picture's pixels go in the rows: the first pixel of a source row and the step to
// the next, for the transformation Qt reads from the picture's orientation tag (mirrored,
// then flipped, then turned a quarter clockwise).
struct Placement {
    int width, height; // of the picture as it shows, turned
    std::int64_t stride;
    QImageIOHandler::Transformations t;
    int sourceWidth, sourceHeight;

    BYTE* RowStart(BYTE* bits, int y, std::int64_t& step) const
    {
        const bool mirror = t & QImageIOHandler::TransformationMirror;
        const int y1 = (t & QImageIOHandler::TransformationFlip) ? sourceHeight - 1 - y : y;
        const int x0 = mirror ? sourceWidth - 1 : 0;
        if (!(t & QImageIOHandler::TransformationRotate90)) {
            step = mirror ? -3 : 3;
            return bits + stride * (height - 1 - y1) + 3 * x0;
        }
        // Turned: source row y1 becomes column sourceHeight - 1 - y1, source column x row x.
        step = mirror ? stride : -stride;
        return bits + stride * (height - 1 - x0) + 3 * std::int64_t(sourceHeight - 1 - y1);
    }
};

// Lays one source row, as ARGB32, on white into the rows. An opaque row in its own order is
// the pixels' bytes alone, many at a time.
void PlaceRow(const QRgb* src, int width, BYTE* dst, std::int64_t step, bool opaque)
{
    int x = 0;
    if (opaque && step == 3) {
        x = dib::Encode24Blocks(src, width, dst);
        dst += 3 * std::int64_t(x);
    }
    for (; x < width; ++x, dst += step) {
        const int alpha = qAlpha(src[x]);
        dst[0] = OnWhite(qBlue(src[x]), alpha);
        dst[1] = OnWhite(qGreen(src[x]), alpha);
        dst[2] = OnWhite(qRed(src[x]), alpha);
    }
}

// One band of the picture's rows, from y0 on, placed into the rows.
Result PlaceBand(const QImage& image, int y0, const Placement& at, BYTE* bits)
{
    const bool direct =
        image.format() == QImage::Format_ARGB32 || image.format() == QImage::Format_RGB32;
    const int rows = std::min(kBandRows, image.height() - y0);
    const QImage band =
        direct ? QImage()
               : image.copy(0, y0, image.width(), rows).convertToFormat(QImage::Format_ARGB32);
    if (!direct && band.isNull())
        return Result::Refused;
    for (int y = y0; y < y0 + rows; ++y) {
        const uchar* line = direct ? image.constScanLine(y) : band.constScanLine(y - y0);
        std::int64_t step = 0;
        BYTE* dst = at.RowStart(bits, y, step);
        PlaceRow(reinterpret_cast<const QRgb*>(line), image.width(), dst, step,
                 !image.hasAlphaChannel());
    }
    return Result::Read;
}

// Where a picture of the size goes in rows turned as the transformation says.
Placement PlacementOf(QSize size, QImageIOHandler::Transformations t)
{
    const bool turned = t & QImageIOHandler::TransformationRotate90;
    Placement at{turned ? size.height() : size.width(),
                 turned ? size.width() : size.height(),
                 0,
                 t,
                 size.width(),
                 size.height()};
    at.stride = DibRowBytes(at.width, 24);
    return at;
}

// The rows of the placement, their pad bytes zero; null without the memory.
FileBlock RowsOf(const Placement& at)
{
    FileBlock bits = AllocFileBlock(std::size_t(at.stride * at.height));
    if (!bits)
        return bits;
    const std::int64_t rowBytes = 3 * std::int64_t(at.width);
    for (int y = 0; y < at.height; ++y)
        std::fill(bits.get() + at.stride * y + rowBytes, bits.get() + at.stride * (y + 1), 0);
    return bits;
}

// The rows bottom-up, turned, transparent parts on white, in bands on every core. A picture in
// another format than ARGB32 or RGB32 is converted a band of rows at a time, so that no second
// picture of its size is made beside the rows.
Result ToDib(const QImage& image, QImageIOHandler::Transformations t, CDibPixels& dib,
             CProgress* pProgress)
{
    const Placement at = PlacementOf(image.size(), t);
    FileBlock bits = RowsOf(at);
    if (!bits)
        return Result::Refused;
    const int bands = (image.height() + kBandRows - 1) / kBandRows;
    std::atomic<int> placed{0};
    std::atomic<Result> outcome{Result::Read};
    parallel::For(bands, std::int64_t(image.width()) * kBandRows,
                  [&](std::int64_t b0, std::int64_t b1, int) {
                      for (std::int64_t b = b0; b < b1 && outcome == Result::Read; ++b) {
                          if (pProgress && pProgress->IsCancelled()) {
                              outcome = Result::Cancelled;
                              return;
                          }
                          const Result band = PlaceBand(image, int(b) * kBandRows, at, bits.get());
                          if (band != Result::Read)
                              outcome = band;
                          if (pProgress)
                              pProgress->Report(++placed, bands, kDecoded, CProgress::kWhole);
                      }
                  });
    if (outcome != Result::Read)
        return outcome;
    dib = {at.width, at.height, std::move(bits)};
    return Result::Read;
}

// A decoder that writes a format's rows itself.
using RowDecoder = DecodedRows (*)(const RowSource&, int, int, const RowPlace&, const RowStop&);

// The format's own decoder, or null for a format only Qt's reader decodes.
RowDecoder RowDecoderOf(const QByteArray& format)
{
    return format == "jpeg" ? ReadJpegRows : format == "png" ? ReadPngRows : nullptr;
}

// A picture of the size decoded straight into the rows by its format's own decoder; nothing
// when it is of a kind the decoder leaves to Qt's reader. The device is read from its start.
std::optional<Result> DecodeToDib(RowDecoder decoder, SourceDevice& device, QSize size,
                                  QImageIOHandler::Transformations t, CDibPixels& dib,
                                  CProgress* pProgress)
{
    const Placement at = PlacementOf(size, t);
    FileBlock bits = RowsOf(at);
    if (!bits)
        return Result::Refused;
    device.seek(0);
    const DecodedRows rows = decoder(
        [&device](BYTE* p, std::size_t n) {
            const qint64 got = device.read(reinterpret_cast<char*>(p), qint64(n));
            return got > 0 ? std::size_t(got) : 0;
        },
        size.width(), size.height(),
        [&at, &bits](int y, std::int64_t& step) { return at.RowStart(bits.get(), y, step); },
        [&device] { return device.Cancelled(); });
    switch (rows) {
    case DecodedRows::Read:
        break;
    case DecodedRows::NotTaken:
        device.seek(0);
        return std::nullopt;
    case DecodedRows::Damaged:
        return device.Cancelled() ? Result::Cancelled : Result::Refused;
    case DecodedRows::Stopped:
        return Result::Cancelled;
    }
    if (device.Cancelled())
        return Result::Cancelled;
    if (pProgress)
        pProgress->Report(1, 1, kDecoded, CProgress::kWhole);
    dib = {at.width, at.height, std::move(bits)};
    return Result::Read;
}

// The picture decoded by Qt's reader, of at most the pixels its header announced, into rows.
Result Decode(QImageReader& reader, SourceDevice& device, std::int64_t pixels, CDibPixels& dib,
              CProgress* pProgress)
{
    QImage image;
    const bool read = reader.read(&image);
    if (device.Cancelled())
        return Result::Cancelled;
    // A decoder that reports an error may have left part of the picture unwritten; one that
    // made a larger picture than it announced has cost more than was counted.
    if (!read || image.isNull() || std::int64_t(image.width()) * image.height() > pixels)
        return Result::Refused;
    return ToDib(image, reader.transformation(), dib, pProgress);
}

} // namespace

struct CPictureReader::Source {
    CFileHandle ownFile;
    CFileHandle* pFile = nullptr;
    std::vector<BYTE> bytes;
};

CPictureReader::CPictureReader(const char* pszPath) : m_source(std::make_unique<Source>())
{
    if (pszPath && m_source->ownFile.Open(pszPath, CFileHandle::Mode::ReadExisting))
        m_source->pFile = &m_source->ownFile;
}

CPictureReader::CPictureReader(CFileHandle& file) : m_source(std::make_unique<Source>())
{
    if (file.IsOpen())
        m_source->pFile = &file;
}

CPictureReader::CPictureReader(std::vector<BYTE> bytes) : m_source(std::make_unique<Source>())
{
    m_source->bytes = std::move(bytes);
}

CPictureReader::~CPictureReader() = default;

CPictureReader::Result CPictureReader::Read(CDibPixels& dib, CProgress* pProgress)
{
    LimitQtAllocations();
    std::uint64_t length = m_source->bytes.size();
    if (m_source->pFile && !m_source->pFile->Length(length))
        return Result::NotPicture;
    SourceDevice device(m_source->pFile ? nullptr : &m_source->bytes, m_source->pFile,
                        std::int64_t(length), pProgress);
    if (!device.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Result::NotPicture;
    // The format is judged by the content alone, never by a name.
    device.SetPhase(0, kLookedAt);
    const QByteArray format = QImageReader::imageFormat(&device);
    device.seek(0);
    const std::int64_t jpegBytes = format == "jpeg" ? JpegCoefficientBytes(device) : 0;
    if (device.Cancelled())
        return Result::Cancelled;
    if (!IsDecoded(format))
        return Result::NotPicture;
    device.SetPhase(kLookedAt, kDecoded);
    QImageReader reader(&device, format);
    reader.setAutoTransform(false);
    const std::int64_t bytes = DecodingBytes(format, reader, jpegBytes, device.size());
    const std::int64_t pixels = std::int64_t(reader.size().width()) * reader.size().height();
    if (device.Cancelled())
        return Result::Cancelled;
    if (jpegBytes < 0 || bytes < 0 || bytes > m_nMaxDecodeBytes)
        return Result::Refused;
    if (const RowDecoder decoder = RowDecoderOf(format)) {
        if (const std::optional<Result> direct = DecodeToDib(
                decoder, device, reader.size(), reader.transformation(), dib, pProgress))
            return *direct;
        // Qt's reader converts what the decoder leaves, from the device's start.
        QImageReader convert(&device, format);
        convert.setAutoTransform(false);
        return Decode(convert, device, pixels, dib, pProgress);
    }
    return Decode(reader, device, pixels, dib, pProgress);
}
