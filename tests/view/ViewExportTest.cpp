// The drawing as other programs take it: export to PNG, JPEG, BMP and SVG against the canvas,
// the area written, the export dialog, and pictures through the clipboard.
#include "tests/view/ViewFixture.h"

#include "tests/support/Pictures.h"

#include <QCheckBox>
#include <QClipboard>
#include <QMimeData>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <sys/stat.h>

#include <cstdlib>

namespace {

using namespace testing_support;

class ViewExportTest : public ViewTest {
protected:
    // A picture, then shapes of each kind in colours and widths of their own, one selected.
    void SetUp() override
    {
        ViewTest::SetUp();
        auto picture = std::make_unique<CBaseImage>();
        ASSERT_EQ(picture->LoadPicture(Encoded(Stripes(300, 200), "png")),
                  CPictureReader::Result::Read);
        m_doc->ReplacePicture(std::move(picture));
        const struct {
            UINT tool, width;
            COLORREF line, fill;
            QPoint from, to;
        } shapes[] = {
            {ID_DRAW_RECT, ID_WIDTH_3, RGB(200, 0, 0), RGB(0, 120, 255), {100, 100}, {400, 250}},
            {ID_DRAW_ELLIPSE, ID_WIDTH_5, RGB(0, 90, 0), RGB(250, 250, 0), {500, 300}, {700, 420}},
            {ID_DRAW_LINE, ID_WIDTH_1, RGB(0, 90, 0), RGB(250, 250, 0), {120, 600}, {900, 700}}};
        for (const auto& s : shapes) {
            m_view->ChooseLineColor(s.line);
            m_view->ChooseFillColor(s.fill);
            Command(s.width);
            Draw(s.tool, s.from, s.to);
        }
        // The selection frame shows on the window, and must not reach the files.
        Command(ID_SELECT);
        testing_support::Drag(W(), {600, 360}, {600, 360});
        Paint();
    }
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    QImage Canvas(const CRect& area = CRect(0, 0, 1280, 1024)) const { return Composed(area); }

    QTemporaryDir m_dir;
};

// The mean difference of the two pictures' channels over the part, 0 … 255.
double MeanDifference(const QImage& a, const QImage& b, const QRect& part)
{
    double sum = 0;
    for (int y = part.top(); y <= part.bottom(); ++y)
        for (int x = part.left(); x <= part.right(); ++x)
            for (int shift : {0, 8, 16})
                sum +=
                    std::abs(int(a.pixel(x, y) >> shift & 255) - int(b.pixel(x, y) >> shift & 255));
    return sum / (3.0 * part.width() * part.height());
}

struct ExportCase {
    const char* name;
    ExportFormat format;
    bool pictureOnly;
    int tolerance; // of the mean channel difference; 0: pixel for pixel
    QByteArray magic;
};

class ViewExportFormat : public ViewExportTest, public ::testing::WithParamInterface<ExportCase> {};

// The whole canvas, or the picture's area, as the canvas shows it without the frame, in a
// file that starts as its format's do.
TEST_P(ViewExportFormat, WritesTheCanvasWithoutTheFrame)
{
    const ExportCase& c = GetParam();
    ASSERT_TRUE(m_view->ExportTo(Path("out"), c.format, c.pictureOnly));
    QFile file(m_dir.filePath("out"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(8).startsWith(c.magic));
    const QImage written = QImage(m_dir.filePath("out")).convertToFormat(QImage::Format_RGB32);
    const CRect area = ExportArea(*m_view->GetDocument(), c.pictureOnly);
    EXPECT_EQ(area, c.pictureOnly ? CRect(0, 0, 300, 200) : CRect(0, 0, 1280, 1024));
    const QImage canvas = Canvas(area);
    ASSERT_EQ(written.size(), canvas.size());
    EXPECT_LE(MeanDifference(written, canvas, canvas.rect()), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ViewExportFormat,
    ::testing::Values(ExportCase{"PngPictureArea", ExportFormat::Png, true, 0, "\x89PNG\r\n"},
                      ExportCase{"BmpWhole", ExportFormat::Bmp, false, 0, "BM"},
                      ExportCase{"PngWhole", ExportFormat::Png, false, 0, "\x89PNG\r\n"},
                      ExportCase{"JpegWhole", ExportFormat::Jpeg, false, 6, "\xFF\xD8\xFF"}),
    [](const auto& info) { return std::string(info.param.name); });

// A picture stored top-down (a BMP with a negative height) is the drawing's area upright in a
// PNG and in an SVG, as its rows were written: red above, blue below.
TEST_F(ViewExportTest, TopDownPictureIsTheAreaUpright)
{
    constexpr int kWidth = 30, kHeight = 20, kStride = 92; // 24-bit rows padded to four bytes
    std::vector<BYTE> bmp(54 + kStride * kHeight);
    const auto put = [&bmp](std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            bmp[at + std::size_t(i)] = BYTE(v >> (8 * i));
    };
    bmp[0] = 'B', bmp[1] = 'M';
    put(2, std::uint32_t(bmp.size()), 4), put(10, 54, 4), put(14, 40, 4), put(18, kWidth, 4);
    put(22, std::uint32_t(-kHeight), 4), put(26, 1, 2), put(28, 24, 2);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) // blue, green, red; the first row is the top
            put(54 + std::size_t(y * kStride + x * 3), y < kHeight / 2 ? 0xFF0000 : 0x0000FF, 3);
    auto picture = std::make_unique<CBaseImage>();
    ASSERT_EQ(picture->LoadPicture(bmp), CPictureReader::Result::Read);
    m_doc->DeleteContents();
    m_doc->ReplacePicture(std::move(picture));
    ASSERT_EQ(ExportArea(*m_view->GetDocument(), true), CRect(0, 0, kWidth, kHeight));
    ASSERT_TRUE(m_view->ExportTo(Path("td.png"), ExportFormat::Png, true));
    ASSERT_TRUE(m_view->ExportTo(Path("td.svg"), ExportFormat::Svg, true));
    QImage drawn(kWidth, kHeight, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    QSvgRenderer(m_dir.filePath("td.svg")).render(&painter);
    painter.end();
    for (const QImage& written : {QImage(m_dir.filePath("td.png")), drawn}) {
        ASSERT_EQ(written.size(), QSize(kWidth, kHeight));
        for (const QPoint p : {QPoint(3, 2), QPoint(26, 8), QPoint(3, 11), QPoint(26, 17)})
            EXPECT_EQ(written.pixel(p) & 0xFFFFFF, p.y() < kHeight / 2 ? 0xFF0000u : 0x0000FFu)
                << p.x() << ", " << p.y();
    }
}

// Each record is one element in drawing order with its colours, width and geometry on the
// pixel centres, the canvas's white under the picture, and a renderer draws the document as
// the canvas shows it: outline widths and smoothed edges aside, every 16-pixel square has
// about the same colour in both.
TEST_F(ViewExportTest, SvgHoldsTheRecordsAndDrawsAsTheCanvas)
{
    // A hollow ellipse has no fill.
    m_doc->RestyleShapes({m_doc->m_shapeList.GetAt(m_doc->m_shapeList.FindIndex(1))},
                         [](CData& d) { d.m_crFill = kNoFill; });
    ASSERT_TRUE(m_view->ExportTo(Path("out.svg"), ExportFormat::Svg, false));
    QFile file(m_dir.filePath("out.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(file.readAll());
    QStringList elements;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() == u"svg")
            continue;
        QStringList fields = {xml.name().toString()};
        for (const char* attribute :
             {"x", "y", "width", "height", "cx", "cy", "rx", "ry", "x1", "y1", "x2", "y2", "stroke",
              "fill", "stroke-width", "stroke-linecap"})
            if (xml.attributes().hasAttribute(attribute))
                fields << xml.attributes().value(attribute).toString();
        if (xml.name() == u"image")
            fields << xml.attributes().value("xlink:href").left(22).toString();
        elements << fields.join(' ');
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(elements,
              (QStringList{"rect 0 0 1280 1024 #ffffff", "image 0 0 300 200 data:image/png;base64,",
                           "rect 100.5 100.5 299 149 #c80000 #0078ff 3",
                           "ellipse 600 360 99.5 59.5 #005a00 none 5",
                           "line 120.5 600.5 900.5 700.5 #005a00 none 1 round"}));

    QImage drawn(1280, 1024, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    QSvgRenderer(m_dir.filePath("out.svg")).render(&painter);
    painter.end();
    const QImage canvas = Canvas();
    for (int y = 0; y < 1024; y += 16)
        for (int x = 0; x < 1280; x += 16)
            EXPECT_LT(MeanDifference(drawn, canvas, QRect(x, y, 16, 16)), 8) << x << ", " << y;
}

// Another program's picture pastes under the shapes as one step that undo takes back; a
// damaged one changes nothing and says so; the drawing copied as a picture pastes back.
TEST_F(ViewExportTest, PicturesPasteUnderTheShapesAsOneStep)
{
    const auto SetClipboardPng = [](const QByteArray& png) {
        auto* mime = new QMimeData;
        mime->setData("image/png", png);
        QGuiApplication::clipboard()->setMimeData(mime);
    };
    const CBaseImage* before = m_doc->m_pImage.get();
    SetClipboardPng(QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    {
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
        Command(ID_EDIT_PASTE);
        ASSERT_EQ(answers.Texts().size(), 1);
        EXPECT_TRUE(ModalAnswers::Says(answers.Texts()[0], IDS_BAD_PICTURE));
    }
    EXPECT_EQ(m_doc->m_pImage.get(), before);
    m_doc->m_undo.SetClean();
    const QImage stripes = Stripes(50, 40);
    const std::vector<BYTE> png = Encoded(stripes, "png");
    SetClipboardPng(QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));
    m_frame->UpdateCommandStates();
    EXPECT_TRUE(m_frame->Action(ID_EDIT_PASTE)->isEnabled());
    Command(ID_EDIT_PASTE);
    Paint();
    EXPECT_TRUE(DibShows(m_doc->m_pImage->m_pBits, 50, 40, stripes));
    EXPECT_TRUE(m_doc->IsModified());
    EXPECT_EQ(Screen(200, 50), kWhite); // the old picture went
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_doc->m_pImage.get(), before);
    EXPECT_FALSE(m_doc->IsModified());

    // Copy picture puts the picture's area of the drawing alone on the clipboard; pasted back,
    // it is the picture.
    Command(ID_EDIT_COPY_PICTURE);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(mime->hasFormat("application/x-skorel-shapes"));
    const QImage canvas = Canvas(CRect(0, 0, 300, 200));
    EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_RGB32),
              canvas);
    Command(ID_EDIT_PASTE);
    EXPECT_TRUE(DibShows(m_doc->m_pImage->m_pBits, 300, 200, canvas));
    // Without a picture, the area the shapes cover: every pixel they paint, and little more.
    m_doc->ReplacePicture(nullptr);
    Command(ID_EDIT_COPY_PICTURE);
    const QImage drawn = Canvas();
    QRect ink;
    for (int y = 0; y < drawn.height(); ++y)
        for (int x = 0; x < drawn.width(); ++x)
            if ((drawn.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ink |= QRect(x, y, 1, 1);
    const CRect shapes = ExportArea(*m_view->GetDocument(), true);
    EXPECT_TRUE(QRect(shapes.left, shapes.top, shapes.Width(), shapes.Height()).contains(ink));
    EXPECT_TRUE(ink.adjusted(-5, -5, 5, 5)
                    .contains(QRect(shapes.left, shapes.top, shapes.Width(), shapes.Height())));
    EXPECT_EQ(qvariant_cast<QImage>(QGuiApplication::clipboard()->mimeData()->imageData())
                  .convertToFormat(QImage::Format_RGB32),
              Canvas(shapes));
}

// The dialog offers the area as a check box and the name's extension chooses the format; a
// file that can't be written gets the message.
TEST_F(ViewExportTest, DialogTicksThePictureAreaAndNamesTheFormat)
{
    {
        ModalAnswers answers(
            {ModalAnswers::TypeFileName(m_dir.filePath("part.svg"), [](QFileDialog* dlg) {
                dlg->findChild<QCheckBox*>()->setChecked(true);
            })});
        Command(ID_FILE_EXPORT);
    }
    const CRect area = ExportArea(*m_view->GetDocument(), true);
    EXPECT_EQ(QSvgRenderer(m_dir.filePath("part.svg")).viewBox(),
              QRect(area.left, area.top, area.Width(), area.Height()));
    // A pipe is never replaced by a plain file.
    ASSERT_EQ(mkfifo(Path("pipe.png").c_str(), 0600), 0);
    ModalAnswers failing({ModalAnswers::TypeFileName(m_dir.filePath("pipe.png")),
                          ModalAnswers::Click(QMessageBox::Yes),
                          ModalAnswers::Click(QMessageBox::Ok)});
    Command(ID_FILE_EXPORT);
    ASSERT_EQ(failing.Texts().size(), 2); // replace it? and the failure
    EXPECT_TRUE(ModalAnswers::Says(failing.Texts()[1], IDS_EXPORT_FAILED));
    // Without a picture, shapes past the canvas's edge are cut at it.
    m_doc->ReplacePicture(nullptr);
    Draw(ID_DRAW_RECT, {1200, 900}, {1300, 1100});
    const CRect shapes = ExportArea(*m_view->GetDocument(), true);
    EXPECT_EQ(CPoint(shapes.right, shapes.bottom), CPoint(1280, 1024));
    EXPECT_GT(shapes.left, 0);
}

// Export proposes the drawing's name with the type's extension, never the file the picture
// was opened from; a name of a type it does not write gets the chosen type's extension.
TEST_F(ViewExportTest, NamesNeitherTheOpenedPictureNorAnotherType)
{
    const std::string photo = Path("photo.png");
    {
        QImage(20, 10, QImage::Format_RGB32).save(QString::fromStdString(photo));
        ModalAnswers none({});
        ASSERT_TRUE(m_doc->OnOpenDoc(photo.c_str()));
        m_doc->SetPathName(photo.c_str());
    }
    QString proposed, offered;
    ModalAnswers answers({[&](QWidget* w) {
                              proposed = w->findChild<QLineEdit*>("fileNameEdit")->text();
                              ModalAnswers::TypeFileName(m_dir.filePath("pic.gif"))(w);
                              offered = w->findChild<QLineEdit*>("fileNameEdit")->text();
                              static_cast<QDialog*>(w)->accept(); // the name offered
                          },
                          ModalAnswers::Click(QMessageBox::Ok)}); // the refusal
    Command(ID_FILE_EXPORT);
    EXPECT_EQ(proposed, QStringLiteral("photo-1.png"));
    EXPECT_TRUE(answers.Texts().value(0).contains(
        QString::fromStdString(res::FormatString(IDS_EXPORT_TYPE, "PNG, JPEG, BMP, SVG"))));
    EXPECT_EQ(offered, QStringLiteral("pic.gif.png"));
    QFile png(m_dir.filePath("pic.gif.png"));
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.read(4).startsWith("\x89PNG"));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("pic.gif")));
}

} // namespace
