#include "ToolbarPictures.h"

#include "framework/core/Resource.h"
#include "framework/gdi/Dib.h"

#include <QImage>
#include <QPixmap>

namespace {

constexpr QRgb kButtonFace = 0xFFC0C0C0; // the toolbar bitmap's background

// The strip drawn at this scale, with the background made transparent and the scale as its
// device pixel ratio; null when there is none.
QImage TransparentStrip(UINT nIDResource, int scale)
{
    const res::Binary* bmp = res::FindBitmap(nIDResource, scale);
    CBitmap bitmap;
    if (!bmp || !LoadBitmapFile(bmp->data, bmp->size, bitmap))
        return {};
    QImage strip = bitmap.Image()->convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < strip.width(); ++x)
            if (row[x] == kButtonFace)
                row[x] = 0;
    }
    strip.setDevicePixelRatio(scale);
    return strip;
}

// Button `index` of a strip, its width and height given in picture pixels.
QPixmap Button(const QImage& strip, int index, int width, int height)
{
    const int scale = int(strip.devicePixelRatio());
    return QPixmap::fromImage(strip.copy(index * width * scale, 0, width * scale, height * scale));
}

} // namespace

std::vector<QIcon> ToolbarIcons(UINT nIDResource, int width, int height)
{
    std::vector<QIcon> icons;
    const QImage strip = TransparentStrip(nIDResource, 1);
    if (strip.isNull() || width <= 0)
        return icons;
    const QImage doubled = TransparentStrip(nIDResource, 2);
    const bool hasDoubled = doubled.size() == strip.size() * 2;
    for (int i = 0; i < strip.width() / width; ++i) {
        QIcon icon(Button(strip, i, width, height));
        if (hasDoubled)
            icon.addPixmap(Button(doubled, i, width, height));
        icons.push_back(icon);
    }
    return icons;
}
