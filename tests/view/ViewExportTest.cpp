// The drawing as other programs take it: export to PNG, JPEG, BMP and SVG against the canvas,
// the area written, the export dialog, and pictures through the clipboard (copied, pasted,
// undone).
#include "tests/view/ViewFixture.h"

#include "tests/support/Pictures.h"

#include "framework/core/Resource.h"

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
    void SetUp() override
    {
        ViewTest::SetUp();
        ASSERT_TRUE(m_doc->OnOpenDoc(Write("stripes.png", Encoded(Stripes(300, 200), "png")).c_str()));
        m_view->m_crLine = RGB(200, 0, 0);
        m_view->m_crFill = RGB(0, 120, 255);
        Command(ID_WIDTH_3);
        Draw(ID_DRAW_RECT, {100, 100}, {400, 250});
        m_view->m_crLine = RGB(0, 90, 0);
        m_view->m_crFill = RGB(250, 250, 0);
        Command(ID_WIDTH_5);
        Draw(ID_DRAW_ELLIPSE, {500, 300}, {700, 420});
        Command(ID_WIDTH_1);
        Draw(ID_DRAW_LINE, {120, 600}, {900, 700});
        // The selection frame shows on the window, and must not reach the files.
        Command(ID_SELECT);
        testing_support::Drag(W(), {600, 360}, {600, 360});
        Paint();
    }
    std::string Write(const char* name, const std::vector<BYTE>& bytes) const
    {
        QFile file(m_dir.filePath(name));
        file.open(QIODevice::WriteOnly);
        file.write(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
        return Path(name);
    }
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    QImage Canvas(const CRect& area) const
    {
        return m_view->m_dcCanvas.Surface()
            ->copy(area.left, area.top, area.Width(), area.Height())
            .convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir m_dir;
};

// The mean difference of the two pictures' channels, 0 … 255; 255 when their sizes differ.
double MeanDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 255;
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

struct ExportCase {
    const char* name;
    ExportFormat format;
    bool pictureOnly;
    double tolerance; // of MeanDifference; 0: pixel for pixel
};

class ViewExportFormat : public ViewExportTest, public ::testing::WithParamInterface<ExportCase> {};

TEST_P(ViewExportFormat, WritesTheCanvasWithoutTheFrame)
{
    const ExportCase& c = GetParam();
    const std::string path = Path("out.file");
    ASSERT_TRUE(m_view->ExportTo(path, c.format, c.pictureOnly));
    const QImage written = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    const CRect area = m_view->ExportArea(c.pictureOnly);
    EXPECT_EQ(written.size(), QSize(area.Width(), area.Height()));
    if (c.tolerance == 0)
        EXPECT_EQ(written, Canvas(area));
    else
        EXPECT_LT(MeanDifference(written, Canvas(area)), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ViewExportFormat,
    ::testing::Values(ExportCase{"PngWhole", ExportFormat::Png, false, 0},
                      ExportCase{"PngPictureArea", ExportFormat::Png, true, 0},
                      ExportCase{"BmpWhole", ExportFormat::Bmp, false, 0},
                      ExportCase{"JpegPictureArea", ExportFormat::Jpeg, true, 6}),
    [](const auto& info) { return std::string(info.param.name); });

// The picture area holds every pixel drawn, and little more than their bounds.
TEST_F(ViewExportTest, PictureAreaBoundsWhatIsDrawnWithinTheCanvas)
{
    EXPECT_EQ(m_view->ExportArea(false), CRect(0, 0, 1280, 1024));
    const CRect area = m_view->ExportArea(true);
    const QImage& canvas = *m_view->m_dcCanvas.Surface();
    CRect drawn(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if ((canvas.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                drawn = CRect(std::min<int>(drawn.left, x), std::min<int>(drawn.top, y),
                              std::max<int>(drawn.right, x + 1), std::max<int>(drawn.bottom, y + 1));
    EXPECT_LE(area.left, drawn.left);
    EXPECT_LE(area.top, drawn.top);
    EXPECT_GE(area.right, drawn.right);
    EXPECT_GE(area.bottom, drawn.bottom);
    EXPECT_LE(area.right - drawn.right, 4);
    EXPECT_LE(area.bottom - drawn.bottom, 4);
    // A shape past the canvas's edge is cut at it.
    Draw(ID_DRAW_RECT, {1200, 900}, {1300, 1100});
    EXPECT_EQ(m_view->ExportArea(true), CRect(0, 0, 1280, 1024));
}

// Each record is one element in drawing order with its colours and width; a renderer draws
// the document as the canvas shows it, outline widths aside.
TEST_F(ViewExportTest, SvgHoldsTheRecordsAndDrawsAsTheCanvas)
{
    const std::string path = Path("out.svg");
    ASSERT_TRUE(m_view->ExportTo(path, ExportFormat::Svg, false));
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(file.readAll());
    QStringList elements;
    std::vector<QXmlStreamAttributes> attributes;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() != u"svg") {
            elements << xml.name().toString();
            attributes.push_back(xml.attributes());
        }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    ASSERT_EQ(elements, (QStringList{"image", "rect", "ellipse", "line"}));
    EXPECT_TRUE(attributes[0].value("xlink:href").startsWith(u"data:image/png;base64,"));
    const auto records = Records();
    const char* fills[] = {"#0078ff", "#fafa00", "none"};
    const char* strokes[] = {"#c80000", "#005a00", "#005a00"};
    for (std::size_t i = 0; i < records.size(); ++i) {
        const QXmlStreamAttributes& a = attributes[i + 1];
        EXPECT_EQ(a.value("stroke"), QLatin1String(strokes[i])) << i;
        EXPECT_EQ(a.value("fill"), QLatin1String(fills[i])) << i;
        EXPECT_EQ(a.value("stroke-width").toInt(), records[i]->m_nThickness) << i;
    }

    QSvgRenderer renderer(QString::fromStdString(path));
    ASSERT_TRUE(renderer.isValid());
    QImage drawn(1280, 1024, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    // Where the two differ, each pixel's colour is found in the other picture a few pixels
    // away, or lies between the colours there: the renderer smooths the edges.
    const QImage canvas = Canvas(CRect(0, 0, 1280, 1024));
    const auto around = [](const QImage& image, int x, int y, QRgb want) {
        int lo[3] = {255, 255, 255}, hi[3] = {0, 0, 0};
        const int w[3] = {qRed(want), qGreen(want), qBlue(want)};
        for (int dy = -4; dy <= 4; ++dy)
            for (int dx = -4; dx <= 4; ++dx) {
                if (!image.rect().contains(x + dx, y + dy))
                    continue;
                const QRgb p = image.pixel(x + dx, y + dy);
                const int c[3] = {qRed(p), qGreen(p), qBlue(p)};
                int distance = 0;
                for (int i = 0; i < 3; ++i) {
                    lo[i] = std::min(lo[i], c[i]);
                    hi[i] = std::max(hi[i], c[i]);
                    distance += std::abs(c[i] - w[i]);
                }
                if (distance < 30)
                    return true;
            }
        // A smoothed line one pixel wide never reaches its full colour.
        constexpr int kSlack = 40;
        for (int i = 0; i < 3; ++i)
            if (w[i] < lo[i] - kSlack || w[i] > hi[i] + kSlack)
                return false;
        return true;
    };
    int far = 0;
    for (int y = 0; y < 1024; ++y)
        for (int x = 0; x < 1280; ++x)
            if (drawn.pixel(x, y) != canvas.pixel(x, y) &&
                (!around(drawn, x, y, canvas.pixel(x, y)) ||
                 !around(canvas, x, y, drawn.pixel(x, y))))
                ++far;
    EXPECT_EQ(far, 0);
}

// The picture on the clipboard, as another program offers it, pastes under the shapes as one
// step; undo brings back the picture before it.
TEST_F(ViewExportTest, PastedPictureIsOneStepUnderTheShapes)
{
    const QImage stripes = Stripes(50, 40);
    const CBaseImage* before = m_doc->m_pImage.get();
    auto* mime = new QMimeData;
    const std::vector<BYTE> png = Encoded(stripes, "png");
    mime->setData("image/png", QByteArray(reinterpret_cast<const char*>(png.data()), qsizetype(png.size())));
    QGuiApplication::clipboard()->setMimeData(mime);
    m_frame->UpdateCommandStates();
    EXPECT_TRUE(m_frame->Action(ID_EDIT_PASTE)->isEnabled());
    Command(ID_EDIT_PASTE);
    Paint();
    ASSERT_NE(m_doc->m_pImage.get(), before);
    EXPECT_TRUE(DibShows(m_doc->m_pImage->m_pBits, 50, 40, stripes));
    EXPECT_EQ(Records().size(), 3u);
    EXPECT_EQ(Screen(45, 35), COLORREF(RGB(qRed(stripes.pixel(45, 35)), qGreen(stripes.pixel(45, 35)),
                                          qBlue(stripes.pixel(45, 35)))));
    EXPECT_EQ(Screen(200, 50), kWhite); // the old picture went
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(m_doc->m_pImage.get(), before);
    EXPECT_EQ(Records().size(), 3u);
}

// Copy picture puts the drawing alone on the clipboard; pasted back, it is the picture.
TEST_F(ViewExportTest, CopiedPictureIsTheDrawingAndPastesBack)
{
    Command(ID_EDIT_COPY_PICTURE);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_FALSE(mime->hasFormat("application/x-skorel-shapes"));
    const QImage copied = qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_RGB32);
    const QImage canvas = Canvas(CRect(0, 0, 1280, 1024));
    EXPECT_EQ(copied, canvas);
    Command(ID_EDIT_PASTE);
    ASSERT_NE(m_doc->m_pImage, nullptr);
    EXPECT_TRUE(DibShows(m_doc->m_pImage->m_pBits, 1280, 1024, canvas));
}

TEST_F(ViewExportTest, DamagedClipboardPictureChangesNothing)
{
    const CBaseImage* before = m_doc->m_pImage.get();
    auto* mime = new QMimeData;
    mime->setData("image/png", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR", 16));
    QGuiApplication::clipboard()->setMimeData(mime);
    ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(answers.Texts().size(), 1);
    EXPECT_TRUE(answers.Texts()[0].contains(QString::fromUtf8(res::LoadString(IDS_BAD_PICTURE))));
    EXPECT_EQ(m_doc->m_pImage.get(), before);
    EXPECT_FALSE(m_doc->m_undo.CanRedo());
}

// The dialog offers the area as a check box; the name's extension chooses the format; a file
// that can't be written gets the message.
TEST_F(ViewExportTest, DialogTicksThePictureAreaAndNamesTheFormat)
{
    bool sawCheck = false;
    {
        ModalAnswers answers({ModalAnswers::TypeFileName(
            m_dir.filePath("part.svg"), [&sawCheck](QFileDialog* dlg) {
                auto* check = dlg->findChild<QCheckBox*>();
                sawCheck = check && check->text() ==
                                        QString::fromUtf8(res::LoadString(IDS_EXPORT_AREA));
                if (check)
                    check->setChecked(true);
            })});
        Command(ID_FILE_EXPORT);
    }
    EXPECT_TRUE(sawCheck);
    const CRect area = m_view->ExportArea(true);
    QSvgRenderer renderer(m_dir.filePath("part.svg"));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(area.left, area.top, area.Width(), area.Height()));

    // A pipe is never replaced by a plain file.
    const QByteArray pipe = QFile::encodeName(m_dir.filePath("pipe.png"));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    ModalAnswers failing({ModalAnswers::TypeFileName(m_dir.filePath("pipe.png")),
                          ModalAnswers::Click(QMessageBox::Yes), ModalAnswers::Click(QMessageBox::Ok)});
    Command(ID_FILE_EXPORT);
    ASSERT_EQ(failing.Texts().size(), 2); // replace it? and the failure
    EXPECT_TRUE(failing.Texts()[1].contains(QString::fromUtf8(res::LoadString(IDS_EXPORT_FAILED))));
}

} // namespace
