// The drawing's life in the view: the canvas takes the picture's size and everything reaches
// all of it; Open and New start from the canvas's top-left corner with nothing selected; fit
// to window; the title follows a change made without input.
#include "tests/view/ViewFixture.h"

#include "tests/support/Pictures.h"

#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>

#include <cmath>
#include <functional>
#include <tuple>

namespace {

using namespace testing_support;

class ViewCanvasTest : public ViewTest {
protected:
    QScrollArea* Area() const { return static_cast<QScrollArea*>(m_view->ContainerWidget()); }
    void PastePicture(int width, int height)
    {
        auto picture = std::make_unique<CBaseImage>();
        ASSERT_EQ(picture->LoadPicture(Encoded(Stripes(width, height), "png")),
                  CPictureReader::Result::Read);
        m_doc->ReplacePicture(std::move(picture));
        Paint();
    }
    // Scrolls over the whole canvas, a window at a time, each part painted as it shows, and
    // calls `atEach` at every place.
    void ScrollOverAll(const std::function<void()>& atEach = [] {})
    {
        QScrollBar* h = Area()->horizontalScrollBar();
        QScrollBar* v = Area()->verticalScrollBar();
        for (int y = 0;; y += v->pageStep()) {
            v->setValue(y);
            for (int x = 0;; x += h->pageStep()) {
                h->setValue(x);
                Paint();
                atEach();
                if (x >= h->maximum())
                    break;
            }
            if (y >= v->maximum())
                break;
        }
    }
};

class ViewScrollTest : public ViewCanvasTest, public ::testing::WithParamInterface<int> {};

// A picture larger than 1280 × 1024 makes the canvas its size: scrolling, painting, drawing
// and export reach all of it, each pixel as a composition from scratch has it; undoing the
// picture gives the canvas its size back.
TEST_F(ViewCanvasTest, TakesThePicturesSizeAndReachesAllOfIt)
{
    PastePicture(3000, 2000);
    EXPECT_EQ(CSize(m_view->CanvasSize().cx, m_view->CanvasSize().cy), CSize(3000, 2000));
    EXPECT_EQ(W()->size(), QSize(3000, 2000));
    EXPECT_EQ(Area()->horizontalScrollBar()->maximum(), 3000 - Area()->viewport()->width());
    Command(ID_WIDTH_3);
    Draw(ID_DRAW_ELLIPSE, {2700, 1800}, {2990, 1990});
    Draw(ID_DRAW_LINE, {100, 1900}, {2900, 100});
    ScrollOverAll();
    EXPECT_EQ(Drawing(), Composed());
    QTemporaryDir dir;
    const std::string path = dir.filePath("whole.png").toStdString();
    ASSERT_TRUE(m_view->ExportTo(path, ExportFormat::Png, false));
    EXPECT_EQ(QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32),
              Composed());
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_UNDO);
    Paint();
    EXPECT_EQ(CSize(m_view->CanvasSize().cx, m_view->CanvasSize().cy), CSize(1280, 1024));
    EXPECT_EQ(W()->size(), QSize(1280, 1024));
    const CRect held = m_view->GetSurfaceRect();
    EXPECT_TRUE(held.left >= 0 && held.top >= 0 && held.right <= 1280 && held.bottom <= 1024);
}

// Wherever the window scrolls over a large canvas, at every zoom, it shows each pixel as a
// composition from scratch has it, and keeps the pixels of what shows and a margin around it
// (at most 4.5 times as many), not of the whole canvas.
TEST_P(ViewScrollTest, ShowsTheCompositionWhereverItScrolls)
{
    PastePicture(3000, 2000);
    std::vector<std::unique_ptr<CData>> across;
    for (const auto& [kind, from, to] :
         {std::tuple{SHAPE_ELLIPSE, CPoint(2200, 1800), CPoint(2900, 1990)},
          {SHAPE_RECT, CPoint(100, 120), CPoint(2700, 1900)},
          {SHAPE_LINE, CPoint(2900, 20), CPoint(20, 1990)}}) {
        auto d = std::make_unique<CData>();
        d->m_nKind = kind;
        d->m_ptStart = from;
        d->m_ptEnd = to;
        d->m_crLine = RGB(200, 0, 0);
        d->m_crFill = RGB(0, 90, 200);
        d->m_nThickness = 5;
        across.push_back(std::move(d));
    }
    m_doc->AddShapes(std::move(across), false);
    ASSERT_TRUE(m_view->ZoomTo(GetParam()));
    const QImage whole = Composed();
    int places = 0;
    ScrollOverAll([&] {
        ++places;
        const CRect shown = m_view->GetVisibleRect();
        const CRect held = m_view->GetSurfaceRect();
        const QImage client = HeldClientArea(*m_view, QSize(3000, 2000));
        ASSERT_EQ(client.copy(shown.left, shown.top, shown.Width(), shown.Height())
                      .convertToFormat(QImage::Format_RGB32),
                  whole.copy(shown.left, shown.top, shown.Width(), shown.Height()))
            << shown.left << "," << shown.top;
        EXPECT_LE(double(held.Width()) * held.Height(), 4.5 * shown.Width() * shown.Height());
    });
    EXPECT_EQ(places > 1, GetParam() > 25);
}

INSTANTIATE_TEST_SUITE_P(Zooms, ViewScrollTest, ::testing::Values(25, 67, 100, 400),
                         [](const auto& info) { return "At" + std::to_string(info.param); });

// Open shows the file's drawing from the canvas's top-left corner with nothing selected; New
// gives back the empty 1280 × 1024 canvas. Tool, colours and zoom stay.
TEST_F(ViewCanvasTest, OpenAndNewStartAtTheTopLeftCorner)
{
    QTemporaryDir dir;
    const QString big = dir.filePath("big.png");
    ASSERT_TRUE(Stripes(2500, 1500).save(big));
    m_frame->Widget()->resize(500, 400);
    Command(ID_DRAW_RECT);
    Draw(ID_DRAW_RECT, {1000, 800}, {1200, 1000});
    Command(ID_SELECT);
    testing_support::Drag(W(), {1100, 800}, {1100, 800});
    ASSERT_NE(m_view->Selected(), nullptr);
    m_view->ChooseLineColor(RGB(1, 2, 3));
    Area()->horizontalScrollBar()->setValue(Area()->horizontalScrollBar()->maximum());
    Area()->verticalScrollBar()->setValue(Area()->verticalScrollBar()->maximum());
    {
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::No)}); // the drawing is dropped
        ASSERT_NE(m_template->OpenDocumentFile(big.toUtf8().constData()), nullptr);
        EXPECT_EQ(answers.Answered(), 1);
    }
    Paint();
    EXPECT_EQ(m_view->Selected(), nullptr);
    EXPECT_TRUE(m_doc->m_shapeList.IsEmpty());
    EXPECT_EQ(W()->size(), QSize(2500, 1500));
    EXPECT_EQ(Area()->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(Area()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(Drawing(CRect(0, 0, 2500, 1500)), Stripes(2500, 1500));
    Area()->verticalScrollBar()->setValue(600);
    ASSERT_NE(m_template->OpenDocumentFile(nullptr), nullptr); // unmodified: nothing asked
    Paint();
    EXPECT_EQ(m_doc->m_pImage, nullptr);
    EXPECT_EQ(W()->size(), QSize(1280, 1024));
    EXPECT_EQ(Area()->verticalScrollBar()->value(), 0);
    EXPECT_EQ(Screen(100, 100), kWhite);
    EXPECT_EQ(m_view->Mode(), MODE_SELECT);
    EXPECT_EQ(m_view->LineColor(), RGB(1, 2, 3));
}

// Fit to window takes the largest step at which the whole canvas fits the window without
// scroll bars, for small and large canvases in small and large windows; the view is then
// ceil(width · zoom) × ceil(height · zoom).
TEST_F(ViewCanvasTest, FitTakesTheLargestStepThatShowsEverything)
{
    for (const QSize picture : {QSize(10, 10), QSize(4000, 3000)})
        for (const QSize window : {QSize(500, 400), QSize(1400, 1150)}) {
            PastePicture(picture.width(), picture.height());
            m_frame->Widget()->resize(window);
            Paint();
            Command(ID_VIEW_ZOOM_FIT);
            Paint();
            const QSize room = Area()->maximumViewportSize();
            const QSize canvas(m_view->CanvasSize().cx, m_view->CanvasSize().cy);
            const auto shown = [canvas](int z) {
                return QSize(int(std::ceil(canvas.width() * z / 100.0)),
                             int(std::ceil(canvas.height() * z / 100.0)));
            };
            int expected = kZoomSteps[0];
            for (int z : kZoomSteps)
                if (shown(z).width() <= room.width() && shown(z).height() <= room.height())
                    expected = z;
            EXPECT_EQ(m_view->GetZoom(), expected) << picture.width() << " " << window.width();
            EXPECT_EQ(W()->size(), shown(expected));
            const bool fits = shown(expected).width() <= room.width() &&
                              shown(expected).height() <= room.height();
            EXPECT_EQ(Area()->horizontalScrollBar()->isVisible(), !fits);
        }
}

// The title marks a change that came without input (a restored drawing) at once.
TEST_F(ViewCanvasTest, TitleMarksAChangeMadeWithoutInput)
{
    CDrawingJournal::Drawing drawing;
    drawing.records.push_back(std::make_unique<CData>());
    m_doc->TakeRecovered(std::move(drawing));
    QApplication::processEvents();
    EXPECT_EQ(m_frame->Widget()->windowTitle(), QStringLiteral("제목 없음* - Skorel"));
}

} // namespace
