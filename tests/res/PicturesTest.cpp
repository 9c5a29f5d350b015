// The embedded pictures: toolbar strips and blank canvas (BMP), application and document
// icons (ICO), and the icons the framework makes of them. Headers are read byte by byte; the
// BMPs also go through Qt's decoder.
#include "res/resource.h"

#include "framework/core/Commands.h"
#include "framework/core/Resource.h"
#include "framework/docview/ControlBars.h"
#include "framework/docview/Frame.h"

#include <QAction>
#include <QBuffer>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QRect>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

namespace {

// A frame with a toolbar of the tables, as the framework shows them.
struct Shown {
    CFrameWnd frame;
    CToolBar toolbar;
    UINT nIDToolbar;
    explicit Shown(UINT nIDToolbar = IDR_MAINFRAME) : nIDToolbar(nIDToolbar)
    {
        frame.LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, nullptr, nullptr);
        toolbar.CreateEx(&frame, TBSTYLE_FLAT, WS_CHILD | WS_VISIBLE | CBRS_TOP, CRect(),
                         ID_VIEW_TOOLBAR);
        toolbar.LoadToolBar(nIDToolbar);
    }
    // The icons of the buttons, in order.
    std::vector<QIcon> ButtonIcons()
    {
        std::vector<QIcon> icons;
        for (UINT id : res::FindToolbar(nIDToolbar)->items)
            if (id != ID_SEPARATOR)
                icons.push_back(frame.Action(id)->icon());
        return icons;
    }
    QIcon Icon(UINT nIDIcon)
    {
        frame.SetIcon(nIDIcon);
        return frame.Widget()->windowIcon();
    }
};

unsigned U16(const BYTE* p) { return p[0] | (p[1] << 8); }
unsigned U32(const BYTE* p) { return U16(p) | (U16(p + 2) << 16); }
int Stride(int width, int bits) { return (width * bits + 31) / 32 * 4; }

// A BITMAPINFOHEADER of an uncompressed 4-bit image of the given size.
void ExpectFourBitInfoHeader(const BYTE* info, int width, int height)
{
    EXPECT_EQ(U32(info), 40u);
    EXPECT_EQ(int(U32(info + 4)), width);
    EXPECT_EQ(int(U32(info + 8)), height);
    EXPECT_EQ(U16(info + 14), 4u); // bits per pixel
    EXPECT_EQ(U32(info + 16), 0u); // no compression
}

// A BMP file with a 16-entry colour table right before uncompressed 4-bit pixels.
QImage ExpectSixteenColorBmp(const res::Binary& bmp, int width, int height)
{
    EXPECT_EQ(std::memcmp(bmp.data, "BM", 2), 0);
    EXPECT_EQ(U32(bmp.data + 2), bmp.size);
    EXPECT_EQ(U32(bmp.data + 10), 14u + 40u + 16u * 4u);
    ExpectFourBitInfoHeader(bmp.data + 14, width, height);
    EXPECT_EQ(bmp.size, 14u + 40u + 16u * 4u + std::size_t(Stride(width, 4)) * height);
    QImage image;
    EXPECT_TRUE(image.loadFromData(bmp.data, int(bmp.size), "BMP"));
    EXPECT_EQ(image.size(), QSize(width, height));
    return image.convertToFormat(QImage::Format_RGB32);
}

// Scale2x, the doubling that makes the pictures for 200 %: where two neighbours of a pixel
// agree across a corner, that quarter takes their colour. Edge pixels repeat beyond the border.
QImage Scale2x(const QImage& image)
{
    const auto at = [&image](int x, int y) {
        return image.pixel(std::clamp(x, 0, image.width() - 1),
                           std::clamp(y, 0, image.height() - 1));
    };
    QImage doubled(image.size() * 2, image.format());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = at(x, y), up = at(x, y - 1), down = at(x, y + 1);
            const QRgb left = at(x - 1, y), right = at(x + 1, y);
            const bool corners = up != down && left != right;
            doubled.setPixel(2 * x, 2 * y, corners && left == up ? left : p);
            doubled.setPixel(2 * x + 1, 2 * y, corners && up == right ? right : p);
            doubled.setPixel(2 * x, 2 * y + 1, corners && left == down ? left : p);
            doubled.setPixel(2 * x + 1, 2 * y + 1, corners && down == right ? right : p);
        }
    return doubled;
}

QImage Argb(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
}

// The main toolbar and the thickness bar, with the number of pictures each strip holds.
struct Strip {
    UINT id;
    int pictures;
};

class ToolbarBitmap : public ::testing::TestWithParam<Strip> {
protected:
    QImage Pictures() const
    {
        return ExpectSixteenColorBmp(*res::FindBitmap(GetParam().id), GetParam().pictures * 16,
                                      15);
    }
};

TEST_P(ToolbarBitmap, IsASixteenColorStripOfOnePictureAButtonAtBothScales)
{
    const res::Toolbar* bar = res::FindToolbar(GetParam().id);
    ASSERT_NE(bar, nullptr);
    const int buttons =
        int(bar->items.size() - std::count(bar->items.begin(), bar->items.end(), 0u));
    EXPECT_EQ(buttons, GetParam().pictures);
    ExpectSixteenColorBmp(*res::FindBitmap(GetParam().id), buttons * bar->buttonWidth,
                           bar->buttonHeight);
    ExpectSixteenColorBmp(*res::FindBitmap(GetParam().id, 2), 2 * buttons * bar->buttonWidth,
                           2 * bar->buttonHeight);
}

// At 200 % a button shows its picture doubled by Scale2x from the 100 % strip, not one that
// Qt enlarged (blurred or blocky), nor a neighbour's; the grey is transparent at both scales.
TEST_P(ToolbarBitmap, IconsHoldEachPictureAndItsScale2xDoubleOnATransparentBackground)
{
    QImage strip = Pictures().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < strip.height(); ++y)
        for (int x = 0; x < strip.width(); ++x)
            if (strip.pixel(x, y) == 0xFFC0C0C0)
                strip.setPixel(x, y, 0);
    const std::vector<QIcon> icons = Shown(GetParam().id).ButtonIcons();
    ASSERT_EQ(int(icons.size()), GetParam().pictures);
    for (int i = 0; i < GetParam().pictures; ++i) {
        const QImage picture = strip.copy(16 * i, 0, 16, 15);
        const QPixmap doubled = icons[i].pixmap(QSize(16, 15), 2.0);
        EXPECT_EQ(Argb(icons[i].pixmap(QSize(16, 15), 1.0)), picture) << "button " << i;
        EXPECT_EQ(doubled.devicePixelRatio(), 2.0) << "button " << i;
        EXPECT_EQ(Argb(doubled), Scale2x(picture)) << "button " << i;
    }
}

TEST_P(ToolbarBitmap, EveryPictureIsDrawnOnLightGreyAndDiffersFromTheOthers)
{
    const QImage image = Pictures();
    constexpr QRgb lightGrey = 0xFFC0C0C0;
    std::set<std::vector<QRgb>> pictures;
    for (int left = 0; left < image.width(); left += 16) {
        std::vector<QRgb> pixels;
        QRect drawn;
        for (int y = 0; y < image.height(); ++y)
            for (int x = left; x < left + 16; ++x) {
                pixels.push_back(image.pixel(x, y));
                if (pixels.back() != lightGrey)
                    drawn |= QRect(x, y, 1, 1);
            }
        const auto background = std::count(pixels.begin(), pixels.end(), lightGrey);
        // Readable: on the grey, filling most of its button, yet no solid block.
        EXPECT_EQ(image.pixel(left, 0), lightGrey) << "picture at " << left;
        EXPECT_TRUE(drawn.width() >= 8 && drawn.height() >= 8) << "picture at " << left;
        EXPECT_GT(background, 16 * 15 / 5) << "picture at " << left;
        EXPECT_TRUE(pictures.insert(pixels).second) << "picture at " << left << " repeats";
    }
}

INSTANTIATE_TEST_SUITE_P(Toolbars, ToolbarBitmap,
                         ::testing::Values(Strip{IDR_MAINFRAME, 17}, Strip{IDR_THICKNESS, 7}),
                         [](const auto& info) {
                             return info.param.id == IDR_MAINFRAME ? "Main" : "Thickness";
                         });

TEST(CanvasBitmap, IsAWhiteSixteenColorBitmapOfTheCanvasSize)
{
    const QImage image = ExpectSixteenColorBmp(*res::FindBitmap(IDB_CANVAS), 1280, 1024);
    ASSERT_EQ(image.size(), QSize(1280, 1024));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        ASSERT_TRUE(std::all_of(line, line + image.width(), [](QRgb c) { return c == 0xFFFFFFFF; }))
            << "row " << y;
    }
}

class IconFile : public ::testing::TestWithParam<UINT> {};

// Each image: a 4-bit bitmap of double height (colours, then AND mask). Where the mask
// makes a pixel transparent its colour must be 0, or the desktop would invert what lies
// under it. The 32 comes first, for readers that take only the first image.
TEST_P(IconFile, Holds32_16And64PixelSixteenColorImagesWithCleanMasks)
{
    const res::Binary& ico = *res::FindIcon(GetParam());
    ASSERT_GE(ico.size, 6u + 3 * 16u);
    EXPECT_EQ(U16(ico.data + 2), 1u); // an icon, not a cursor
    ASSERT_EQ(U16(ico.data + 4), 3u);
    const int sizes[] = {32, 16, 64};
    for (int i = 0; i < 3; ++i) {
        const BYTE* entry = ico.data + 6 + 16 * i;
        const int size = sizes[i];
        EXPECT_TRUE(entry[0] == size && entry[1] == size) << i;
        EXPECT_EQ(entry[2], 16); // colours
        EXPECT_EQ(U16(entry + 6), 4u);
        const unsigned bytes = U32(entry + 8);
        const unsigned offset = U32(entry + 12);
        ASSERT_LE(std::size_t(offset) + bytes, ico.size);
        ASSERT_EQ(bytes, 40u + 16u * 4u + unsigned(Stride(size, 4) + Stride(size, 1)) * size);
        ExpectFourBitInfoHeader(ico.data + offset, size, 2 * size);

        const BYTE* colors = ico.data + offset + 40 + 16 * 4;
        const BYTE* mask = colors + Stride(size, 4) * size;
        int transparent = 0;
        for (int row = 0; row < size; ++row)
            for (int x = 0; x < size; ++x) {
                if (!(mask[row * Stride(size, 1) + x / 8] & (0x80 >> (x % 8))))
                    continue;
                ++transparent;
                EXPECT_EQ((colors[row * Stride(size, 4) + x / 2] >> (x % 2 ? 0 : 4)) & 0xF, 0)
                    << size << "px at " << x << "," << row;
            }
        EXPECT_TRUE(transparent > 0 && transparent < size * size / 2) << size;
    }
}

// Qt picks among all the images for the size and scale it draws at; the 64 is the 32 doubled
// by Scale2x.
TEST_P(IconFile, BecomesAnIconOfEveryImageWhoseLargestIsTheScale2xOfThe32)
{
    const QIcon icon = Shown().Icon(GetParam());
    EXPECT_EQ(icon.availableSizes(), (QList<QSize>{{32, 32}, {16, 16}, {64, 64}}));
    EXPECT_EQ(Argb(icon.pixmap(64)), Scale2x(Argb(icon.pixmap(32))));
    // Each image as Qt's own ICO reader has it, transparency and all.
    const res::Binary& ico = *res::FindIcon(GetParam());
    QByteArray bytes(reinterpret_cast<const char*>(ico.data), qsizetype(ico.size));
    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ICO");
    for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(Argb(icon.pixmap(image.size())), image) << image.width();
    }
}

INSTANTIATE_TEST_SUITE_P(Icons, IconFile, ::testing::Values(IDR_MAINFRAME, IDR_SKORELTYPE),
                         [](const auto& info) {
                             return info.param == IDR_MAINFRAME ? "Application" : "Document";
                         });

} // namespace
