#include "PictureWriter.h"

#include "Gdi.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

namespace {

// JPEG's quality: sharp enough for lines one pixel wide.
constexpr int kJpegQuality = 95;

const char* FormatName(CPictureWriter::Format format)
{
    switch (format) {
    case CPictureWriter::Format::Jpeg:
        return "jpeg";
    case CPictureWriter::Format::Bmp:
        return "bmp";
    case CPictureWriter::Format::Png:
        break;
    }
    return "png";
}

} // namespace

bool CPictureWriter::Encode(const CBitmap& bitmap, Format format, std::vector<BYTE>& bytes)
{
    bytes.clear();
    const QImage* image = bitmap.Image();
    if (!image || image->isNull())
        return false;
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, FormatName(format));
    if (format == Format::Jpeg)
        writer.setQuality(kJpegQuality);
    // The canvas is opaque: no alpha channel goes into the file.
    if (!writer.write(image->convertToFormat(QImage::Format_RGB888)))
        return false;
    bytes.assign(encoded.begin(), encoded.end());
    return true;
}
