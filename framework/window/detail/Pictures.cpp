#include "Pictures.h"

#include "framework/core/Resource.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPixmap>

QIcon ResourceIcon(UINT nIDIcon)
{
    QIcon icon;
    const res::Binary* ico = res::FindIcon(nIDIcon);
    if (!ico)
        return icon;
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(ico->data), qsizetype(ico->size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ICO");
    for (int i = 0; i < reader.imageCount(); ++i)
        if (reader.jumpToImage(i))
            if (const QImage image = reader.read(); !image.isNull())
                icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}
