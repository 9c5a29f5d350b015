#include "PictureWriter.h"

#include "Gdi.h"

#include <QBuffer>
#include <QImage>
#include <QImageWriter>

bool CPictureWriter::Encode(const CBitmap& bitmap, const char* pszCodec, std::vector<BYTE>& bytes,
                            int nQuality)
{
    bytes.clear();
    const QImage* image = bitmap.Image();
    if (!image || image->isNull())
        return false;
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, pszCodec);
    writer.setQuality(nQuality);
    // The canvas is opaque: no alpha channel goes into the file.
    if (!writer.write(image->convertToFormat(QImage::Format_RGB888)))
        return false;
    bytes.assign(encoded.begin(), encoded.end());
    return true;
}
