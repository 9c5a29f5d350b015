#include "PictureReader.h"

#include "Dib.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <algorithm>
#include <array>
#include <new>

namespace {

// The formats read through Qt, by the names its readers give them.
constexpr std::array<const char*, 6> kFormats = {"png", "jpeg", "gif", "tiff", "webp", "ico"};

// The reader's own bound on what it allocates, in MiB: a picture of kMaxPixels pixels at four
// bytes a pixel, and a little more for the reader's bookkeeping.
constexpr int kAllocationLimitMiB = int((CPictureReader::kMaxPixels * 4 >> 20) + 16);

bool IsOurFormat(const QByteArray& format)
{
    return std::ranges::any_of(kFormats, [&](const char* f) { return format == f; });
}

// A channel of a pixel laid on white.
BYTE OnWhite(int channel, int alpha) { return BYTE((channel * alpha + 255 * (255 - alpha)) / 255); }

// The rows bottom-up, transparent parts on white. The picture is converted in its own block
// where it can be, so that no second picture of its size is made beside the rows.
bool ToDib(QImage image, CDibPixels& dib)
{
    image.convertTo(QImage::Format_ARGB32);
    const std::int64_t stride = DibRowBytes(image.width(), 24);
    auto bits =
        std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[std::size_t(stride * image.height())]());
    if (image.isNull() || !bits)
        return false;
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        BYTE* dst = bits.get() + std::size_t(stride * (image.height() - 1 - y));
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(src[x]);
            dst[3 * x] = OnWhite(qBlue(src[x]), alpha);
            dst[3 * x + 1] = OnWhite(qGreen(src[x]), alpha);
            dst[3 * x + 2] = OnWhite(qRed(src[x]), alpha);
        }
    }
    dib = {image.width(), image.height(), std::move(bits)};
    return true;
}

} // namespace

struct CPictureReader::Source {
    QFile file;
    QByteArray bytes;
    QBuffer buffer;
    QIODevice* device = nullptr;
};

CPictureReader::CPictureReader(const char* pszPath) : m_source(std::make_unique<Source>())
{
    m_source->file.setFileName(QFile::decodeName(pszPath ? pszPath : ""));
    m_source->device = &m_source->file;
}

CPictureReader::CPictureReader(std::vector<BYTE> bytes) : m_source(std::make_unique<Source>())
{
    m_source->bytes =
        QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
    m_source->buffer.setBuffer(&m_source->bytes);
    m_source->device = &m_source->buffer;
}

CPictureReader::~CPictureReader() = default;

CPictureReader::Result CPictureReader::Read(CDibPixels& dib)
{
    QIODevice& device = *m_source->device;
    if (!device.open(QIODevice::ReadOnly))
        return Result::NotPicture;
    // The format is judged by the content alone, never by a name.
    const QByteArray format = QImageReader::imageFormat(&device);
    if (!IsOurFormat(format))
        return Result::NotPicture;
    QImageReader reader(&device, format);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    reader.setAllocationLimit(kAllocationLimitMiB);
    const QSize size = reader.size();
    if (size.isValid() && std::int64_t(size.width()) * size.height() > kMaxPixels)
        return Result::Refused;
    QImage image = reader.read();
    if (image.isNull() || std::int64_t(image.width()) * image.height() > kMaxPixels ||
        !ToDib(std::move(image), dib))
        return Result::Refused;
    return Result::Read;
}
