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
            m_view->m_crLine = s.line;
            m_view->m_crFill = s.fill;
            Command(s.width);
            Draw(s.tool, s.from, s.to);
        }
        // The selection frame shows on the window, and must not reach the files.
        Command(ID_SELECT);
        testing_support::Drag(W(), {600, 360}, {600, 360});
        Paint();
    }
    std::string Path(const char* name) const { return m_dir.filePath(name).toStdString(); }
    QImage Canvas(const CRect& area = CRect(0, 0, 1280, 1024)) const
    {
        return m_view->m_dcCanvas.Surface()
            ->copy(area.left, area.top, area.Width(), area.Height())
            .convertToFormat(QImage::Format_RGB32);
    }

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
};

class ViewExportFormat : public ViewExportTest, public ::testing::WithParamInterface<ExportCase> {};

// The whole canvas, or the bounds of what is drawn, as the canvas holds it without the frame.
TEST_P(ViewExportFormat, WritesTheCanvasWithoutTheFrame)
{
    const ExportCase& c = GetParam();
    ASSERT_TRUE(m_view->ExportTo(Path("out"), c.format, c.pictureOnly));
    const QImage written = QImage(m_dir.filePath("out")).convertToFormat(QImage::Format_RGB32);
    // The picture lies at the origin, and the line's end is the farthest drawn.
    const CRect area = m_view->ExportArea(c.pictureOnly);
    EXPECT_TRUE(!c.pictureOnly || (area.TopLeft() == CPoint(0, 0) && area.right >= 900 &&
                                   area.right <= 905 && area.bottom >= 700 && area.bottom <= 705));
    const QImage canvas = Canvas(area);
    ASSERT_EQ(written.size(), canvas.size());
    EXPECT_LE(MeanDifference(written, canvas, canvas.rect()), c.tolerance);
}

INSTANTIATE_TEST_SUITE_P(Formats, ViewExportFormat,
                         ::testing::Values(ExportCase{"PngPictureArea", ExportFormat::Png, true, 0},
                                           ExportCase{"BmpWhole", ExportFormat::Bmp, false, 0},
                                           ExportCase{"JpegPictureArea", ExportFormat::Jpeg, true,
                                                      6}),
                         [](const auto& info) { return std::string(info.param.name); });

// Each record is one element in drawing order with its colours and width, and a renderer
// draws the document as the canvas shows it: outline widths and smoothed edges aside, every
// 16-pixel square has about the same colour in both.
TEST_F(ViewExportTest, SvgHoldsTheRecordsAndDrawsAsTheCanvas)
{
    ASSERT_TRUE(m_view->ExportTo(Path("out.svg"), ExportFormat::Svg, false));
    QFile file(m_dir.filePath("out.svg"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(file.readAll());
    QStringList elements;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() == u"svg")
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        elements << QStringList{xml.name().toString(), a.value("stroke").toString(),
                                a.value("fill").toString(), a.value("stroke-width").toString(),
                                a.value("xlink:href").left(22).toString()}
                        .join(' ');
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(elements, (QStringList{"image    data:image/png;base64,", "rect #c80000 #0078ff 3 ",
                                     "ellipse #005a00 #fafa00 5 ", "line #005a00 none 1 "}));

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

    // Copy picture puts the drawing alone on the clipboard; pasted back, it is the picture.
    Command(ID_EDIT_COPY_PICTURE);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    EXPECT_FALSE(mime->hasFormat("application/x-skorel-shapes"));
    const QImage canvas = Canvas();
    EXPECT_EQ(qvariant_cast<QImage>(mime->imageData()).convertToFormat(QImage::Format_RGB32),
              canvas);
    Command(ID_EDIT_PASTE);
    EXPECT_TRUE(DibShows(m_doc->m_pImage->m_pBits, 1280, 1024, canvas));
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
    const CRect area = m_view->ExportArea(true);
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
    // A shape past the canvas's edge is cut at it.
    Draw(ID_DRAW_RECT, {1200, 900}, {1300, 1100});
    EXPECT_EQ(m_view->ExportArea(true), CRect(0, 0, 1280, 1024));
}

} // namespace
