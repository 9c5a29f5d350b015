// The view's commands, its paint, Save and printing.
#include "tests/view/ViewFixture.h"

#include "framework/core/Error.h"
#include "framework/core/Resource.h"
#include "framework/docview/Printing.h"

#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>

namespace {

using namespace testing_support;

TEST_F(ViewTest, FreshViewDrawsBlackOnePixelLinesWithWhiteFill)
{
    EXPECT_EQ(m_view->Mode(), MODE_DRAW);
    EXPECT_EQ(m_view->ShapeKind(), SHAPE_LINE);
    EXPECT_EQ(m_view->Thickness(), 1);
    EXPECT_EQ(m_view->LineColor(), kBlack);
    EXPECT_EQ(m_view->FillColor(), kWhite);
    EXPECT_EQ(m_view->CanvasSize().cx, 1280);
    EXPECT_EQ(m_view->CanvasSize().cy, 1024);
    EXPECT_EQ(Screen(640, 512), kWhite);
}

TEST_F(ViewTest, ThicknessItemsFiveAndSevenCarryTheirOwnIds)
{
    Command(32788);
    EXPECT_EQ(m_view->Thickness(), 5);
    Command(32786);
    EXPECT_EQ(m_view->Thickness(), 7);
    Command(ID_WIDTH_6);
    EXPECT_EQ(m_view->Thickness(), 6);
}

TEST_F(ViewTest, SelectionCommandChangesOnlyTheMode)
{
    Command(ID_DRAW_ELLIPSE);
    Command(ID_SELECT);
    EXPECT_EQ(m_view->Mode(), MODE_SELECT);
    EXPECT_EQ(m_view->ShapeKind(), SHAPE_ELLIPSE);
    Drag(W(), {10, 10}, {90, 90});
    EXPECT_TRUE(Records().empty());
    Command(ID_DRAW_RECT);
    EXPECT_EQ(m_view->Mode(), MODE_DRAW);
}

TEST_F(ViewTest, ColorDialogCancelKeepsTheColorAndOkTakesTheChosenOne)
{
    QColor opened;
    ModalAnswers answers({[&opened](QWidget* w) {
                              auto* dlg = qobject_cast<QColorDialog*>(w);
                              ASSERT_NE(dlg, nullptr);
                              opened = dlg->currentColor();
                              dlg->setCurrentColor(QColor(10, 20, 30));
                              dlg->accept();
                          },
                          ModalAnswers::Cancel(),
                          [](QWidget* w) { static_cast<QDialog*>(w)->accept(); }});
    Command(ID_LINE_COLOR);
    // It opens on the colour it changes.
    EXPECT_EQ(opened, QColor(0, 0, 0));
    EXPECT_EQ(m_view->LineColor(), RGB(10, 20, 30));
    Command(ID_LINE_COLOR);
    EXPECT_EQ(m_view->LineColor(), RGB(10, 20, 30));
    Command(ID_FILL_COLOR);
    EXPECT_EQ(m_view->FillColor(), kWhite);
    EXPECT_EQ(answers.Answered(), 3);
}

// What a colour-bar swatch means: the colour bar reports only which swatch was clicked with
// which button.
struct SwatchCase {
    const char* name;
    CCmdNotify notify;
    COLORREF line; // the outline and fill colours afterwards
    COLORREF fill;
};

class SwatchTest : public ViewTest, public ::testing::WithParamInterface<SwatchCase> {};

TEST_P(SwatchTest, ButtonAndColorChooseOutlineOrFill)
{
    const SwatchCase& c = GetParam();
    m_frame->OnCmdMsg(ID_COLOR_SWATCH, CmdAction::Execute, {.pNotify = &c.notify});
    EXPECT_EQ(m_view->LineColor(), c.line);
    EXPECT_EQ(m_view->FillColor(), c.fill);
}

INSTANTIATE_TEST_SUITE_P(
    ColorBar, SwatchTest,
    ::testing::Values(SwatchCase{"LeftGivesTheOutline", {17, MK_LBUTTON}, RGB(255, 0, 0), kWhite},
                      SwatchCase{"RightGivesTheFill", {21, MK_RBUTTON}, kBlack, RGB(0, 0, 255)},
                      SwatchCase{"DarkRowFirst", {1, MK_RBUTTON}, kBlack, RGB(128, 128, 128)},
                      // An outline is never none: the last swatch is a fill with either button.
                      SwatchCase{"NoFillWithLeftIsAFill", {29, MK_LBUTTON}, kBlack, kNoFill},
                      SwatchCase{"NoFillWithRight", {29, MK_RBUTTON}, kBlack, kNoFill},
                      SwatchCase{"BeyondTheSwatchesNothing", {30, MK_LBUTTON}, kBlack, kWhite}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ViewTest, PaintDrawsTheFrameOnTopOnlyWhenThereAreRecords)
{
    m_doc->m_tracker.m_rect = CRect(50, 50, 150, 150);
    m_doc->m_tracker.m_nStyle = 10;
    m_doc->m_tracker.m_nHandleSize = 7;
    m_view->Invalidate();
    Paint();
    EXPECT_EQ(Screen(52, 52), kWhite);
    Draw(ID_DRAW_RECT, {40, 40}, {160, 160});
    m_doc->m_tracker.m_rect = CRect(50, 50, 150, 150);
    m_view->Invalidate();
    Paint();
    // The handle inside the top-left corner is drawn over the record's white fill.
    EXPECT_NE(Screen(52, 52), kWhite);
}

// A 64 × 32 BMP file of one colour.
QString SavePicture(const QTemporaryDir& dir, const char* name, const QColor& color)
{
    const QString path = dir.filePath(QString::fromUtf8(name));
    QImage picture(64, 32, QImage::Format_RGB888);
    picture.fill(color);
    return picture.save(path, "BMP") ? path : QString();
}

TEST_F(ViewTest, EraserRemovesTheShapesAndKeepsThePicture)
{
    QTemporaryDir dir;
    const QString path = SavePicture(dir, "red.bmp", QColor(255, 0, 0));
    ASSERT_FALSE(path.isEmpty());
    ASSERT_TRUE(m_doc->OnOpenDoc(path.toUtf8().constData()));
    Draw(ID_DRAW_RECT, {200, 200}, {300, 300});
    EXPECT_EQ(Screen(10, 10), RGB(255, 0, 0));
    Command(ID_ERASER);
    Paint();
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(m_doc->m_tracker.m_rect, CRect(0, 0, 0, 0));
    EXPECT_EQ(Screen(10, 10), RGB(255, 0, 0));
    EXPECT_EQ(Screen(200, 250), kWhite);
}

TEST_F(ViewTest, SaveWritesTheTopLeft800By600OfTheCanvas)
{
    Command(ID_WIDTH_5);
    Draw(ID_DRAW_RECT, {100, 100}, {300, 250});
    Draw(ID_DRAW_ELLIPSE, {820, 100}, {1000, 300});
    QTemporaryDir dir;
    const QString path = dir.filePath("canvas.bmp");
    int filters = 0;
    // A name typed without an extension gets .bmp.
    ModalAnswers answers({ModalAnswers::TypeFileName(dir.filePath("canvas"),
                                                     [&filters](QFileDialog* d) {
                                                         filters = int(d->nameFilters().size());
                                                     }),
                          ModalAnswers::Click(QMessageBox::Ok)});
    Command(ID_FILE_SAVE);
    EXPECT_EQ(filters, 2);
    EXPECT_EQ(answers.Texts(), QStringList{QStringLiteral("저장 성공")});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), 1440054);
    QImage saved(path, "BMP");
    ASSERT_EQ(saved.size(), QSize(800, 600));
    const QImage canvas = Drawing();
    for (int y = 0; y < 600; y += 3)
        for (int x = 0; x < 800; x += 3)
            ASSERT_EQ(saved.pixel(x, y) & 0xFFFFFF, canvas.pixel(x, y) & 0xFFFFFF) << x << "," << y;
    EXPECT_EQ(saved.pixel(100, 150) & 0xFFFFFF, 0u);
    // The document's path and title are not touched by Save.
    EXPECT_EQ(m_doc->GetPathName(), "");
}

// Save writes the drawing as it is, also where an edit has not reached the screen yet, and
// composes only what changed.
TEST_F(ViewTest, SaveWritesEditsTheScreenHasNotShown)
{
    Draw(ID_DRAW_RECT, {100, 100}, {300, 250});
    QTemporaryDir dir;
    const std::string path = dir.filePath("edit.bmp").toStdString();
    for (const bool drawn : {false, true, true}) {
        Command(drawn ? ID_EDIT_REDO : ID_EDIT_UNDO);
        ASSERT_TRUE(m_view->SaveCanvas(path));
        const QImage saved(QString::fromStdString(path), "BMP");
        EXPECT_EQ(saved.pixel(100, 175) & 0xFFFFFF, drawn ? 0u : 0xFFFFFFu);
    }
}

// The selection frame is a mark on the screen: the file holds the drawing alone.
TEST_F(ViewTest, SaveLeavesTheSelectionFrameOut)
{
    Draw(ID_DRAW_RECT, {100, 100}, {300, 250});
    Command(ID_SELECT);
    Press(W(), {200, 200});
    Release(W(), {200, 200});
    Paint();
    EXPECT_EQ(Screen(103, 103), kBlack); // the top-left handle, on the screen
    QTemporaryDir dir;
    const QString path = dir.filePath("selected.bmp");
    ModalAnswers answers({ModalAnswers::TypeFileName(path), ModalAnswers::Click(QMessageBox::Ok)});
    Command(ID_FILE_SAVE);
    const QImage saved(path, "BMP");
    ASSERT_EQ(saved.size(), QSize(800, 600));
    for (QPoint p : {QPoint(103, 103), QPoint(199, 103), QPoint(296, 246), QPoint(102, 175)})
        EXPECT_EQ(saved.pixel(p) & 0xFFFFFF, 0xFFFFFFu) << p.x() << "," << p.y();
    EXPECT_EQ(saved.pixel(100, 175) & 0xFFFFFF, 0u);
}

// Save's picture never replaces a drawing: a drawing's name is refused in the dialog, which
// then offers the .bmp name, and the drawing file keeps its bytes.
TEST_F(ViewTest, SaveRefusesADrawingsNameAndOffersThePictures)
{
    Draw(ID_DRAW_RECT, {100, 100}, {300, 250});
    QTemporaryDir dir;
    const QString drawing = dir.filePath("work.skr");
    {
        QFile old(drawing);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("drawing");
    }
    QString offered;
    ModalAnswers answers({[&](QWidget* w) {
                              ModalAnswers::TypeFileName(drawing)(w); // refused
                              offered = w->findChild<QLineEdit*>("fileNameEdit")->text();
                              static_cast<QDialog*>(w)->accept(); // the name offered
                          },
                          ModalAnswers::Click(QMessageBox::Ok),   // the refusal
                          ModalAnswers::Click(QMessageBox::Ok)}); // saved
    Command(ID_FILE_SAVE);
    EXPECT_EQ(answers.Texts().value(0),
              QString::fromUtf8(res::LoadString(IDS_PICTURE_NOT_DRAWING)));
    EXPECT_EQ(offered, QStringLiteral("work.bmp"));
    QFile kept(drawing);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("drawing"));
    EXPECT_EQ(QImage(dir.filePath("work.bmp"), "BMP").size(), QSize(800, 600));
}

// A failed write is reported with the file's name and the reason, and the file is kept.
TEST_F(ViewTest, FailedSaveSaysWhyAndKeepsTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("kept.bmp");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    ModalAnswers answers({ModalAnswers::TypeFileName(path),
                          ModalAnswers::Click(QMessageBox::Yes), // replace it?
                          ModalAnswers::Click(QMessageBox::Ok)});
    Command(ID_FILE_SAVE);
    ASSERT_EQ(answers.Texts().size(), 2);
    const QString message = answers.Texts().back();
    EXPECT_TRUE(message.contains(path));
    EXPECT_TRUE(message.contains(QString::fromUtf8(res::FindString(IDS_SAVE_FAILED))));
    EXPECT_TRUE(message.contains(QString::fromStdString(AfxErrorText(EACCES))));
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("old"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.bmp"});
}

// New and Open show the document at once: the picture opened replaces what the window showed.
TEST_F(ViewTest, OpenedPictureReachesTheScreen)
{
    QTemporaryDir dir;
    const QString path = SavePicture(dir, "blue.bmp", QColor(0, 0, 255));
    ASSERT_FALSE(path.isEmpty());
    Draw(ID_DRAW_RECT, {200, 200}, {300, 300});
    ModalAnswers answers({ModalAnswers::Click(QMessageBox::No)}); // the drawing is dropped
    ASSERT_TRUE(m_template->OpenDocumentFile(path.toUtf8().constData()));
    Paint();
    EXPECT_EQ(Screen(10, 10), RGB(0, 0, 255));
    EXPECT_EQ(Screen(200, 250), kWhite);
    EXPECT_TRUE(ScreenShowsCanvas());
}

TEST_F(ViewTest, CancelledSaveWritesNothingAndShowsNothing)
{
    QTemporaryDir dir;
    ModalAnswers answers(
        {ModalAnswers::TypeFileName(dir.filePath("no.bmp"), [](QFileDialog* d) { d->reject(); })});
    Command(ID_FILE_SAVE);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(answers.Answered(), 1);
    EXPECT_EQ(answers.Unexpected(), 0);
}

class ViewPrint : public ViewTest,
                  public ::testing::WithParamInterface<QPageLayout::Orientation> {};

// One page: the canvas as large as the printable area takes it, centred across its top,
// without the selection frame. The page is rendered back with poppler's pdftoppm.
TEST_P(ViewPrint, FillsThePageWithTheDrawingAlone)
{
    Command(ID_WIDTH_7);
    Draw(ID_DRAW_RECT, {0, 0}, {1280, 1024});
    Command(ID_WIDTH_1);
    Draw(ID_DRAW_RECT, {300, 300}, {500, 450});
    Command(ID_SELECT);
    Press(W(), {400, 400});
    Release(W(), {400, 400});
    QTemporaryDir dir;
    const QString pdf = dir.filePath("page.pdf");
    QPrinter& printer = AfxPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(GetParam());
    Command(ID_FILE_PRINT_DIRECT);
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);

    constexpr int kDpi = 72;
    QProcess render;
    render.start("pdftoppm",
                 {"-r", QString::number(kDpi), "-png", "-singlefile", pdf, dir.filePath("page")});
    ASSERT_TRUE(render.waitForFinished(30000));
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    const QRectF printable = printer.pageLayout().paintRect(QPageLayout::Inch);
    const double inches = std::min(printable.width() / 1280, printable.height() / 1024);
    const double expectedWidth = 1280 * inches * kDpi;
    // The canvas's black border, along the row a quarter down the canvas.
    const int row = int((printable.top() + 1024 * inches / 4) * kDpi);
    int left = -1, right = -1;
    for (int x = 0; x < page.width(); ++x)
        if (qGray(page.pixel(x, row)) < 128)
            (left < 0 ? left : right) = x;
    const double width = right - left + 1;
    EXPECT_NEAR(width, expectedWidth, expectedWidth * 0.01);
    EXPECT_NEAR(left, printable.left() * kDpi + (printable.width() * kDpi - expectedWidth) / 2, 2);
    // The top-left handle of the frame lies inside the selected rectangle's white fill.
    const double scale = width / 1280;
    const QPoint handle(left + int(303.5 * scale), int(printable.top() * kDpi + 303.5 * scale));
    EXPECT_GT(qGray(page.pixel(handle)), 200);
}

INSTANTIATE_TEST_SUITE_P(Pages, ViewPrint,
                         ::testing::Values(QPageLayout::Portrait, QPageLayout::Landscape));

TEST_F(ViewTest, PrintAsksForThePrinterAndPreviewShowsThePage)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath("cancelled.pdf");
    AfxPrinter().setOutputFormat(QPrinter::PdfFormat);
    AfxPrinter().setOutputFileName(pdf);
    bool printDialog = false, preview = false;
    ModalAnswers answers({ModalAnswers::Cancel([&](QWidget* w) {
                              printDialog = qobject_cast<QPrintDialog*>(w) != nullptr;
                          }),
                          ModalAnswers::Cancel([&](QWidget* w) {
                              preview = qobject_cast<QPrintPreviewDialog*>(w) != nullptr;
                          })});
    Command(ID_FILE_PRINT);
    EXPECT_TRUE(printDialog);
    EXPECT_FALSE(QFile::exists(pdf));
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_TRUE(preview);
    EXPECT_EQ(answers.Unexpected(), 0);
}

} // namespace
