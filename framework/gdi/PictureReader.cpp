#include "PictureReader.h"

#include "Dib.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QPainter>

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

// The picture as 32-bit pixels, transparent parts on white.
QImage Opaque(QImage image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage opaque(image.size(), QImage::Format_RGB32);
    if (opaque.isNull())
        return opaque;
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    return opaque;
}

bool ToDib(const QImage& image, CDibPixels& dib)
{
    const std::int64_t stride = DibRowBytes(image.width(), 24);
    auto bits =
        std::unique_ptr<BYTE[]>(new (std::nothrow) BYTE[std::size_t(stride * image.height())]());
    if (!bits)
        return false;
    for (int y = 0; y < image.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        BYTE* dst = bits.get() + std::size_t(stride * (image.height() - 1 - y));
        for (int x = 0; x < image.width(); ++x) {
            dst[3 * x] = BYTE(qBlue(src[x]));
            dst[3 * x + 1] = BYTE(qGreen(src[x]));
            dst[3 * x + 2] = BYTE(qRed(src[x]));
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
    const QImage image = Opaque(reader.read());
    if (image.isNull() || std::int64_t(image.width()) * image.height() > kMaxPixels ||
        !ToDib(image, dib))
        return Result::Refused;
    return Result::Read;
}
