// The view at every zoom: drags make the records of the canvas pixels under the pointer, the
// screen shows the canvas scaled, Ctrl+wheel keeps the pixel under the pointer, and an edit
// repaints only around itself.
#include "tests/view/ViewFixture.h"

#include <QPaintEvent>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

using namespace testing_support;

// The canvas pixel that screen pixel x shows: the one under its centre.
int CanvasAt(int x, int zoom) { return int(std::floor((x + 0.5) * 100.0 / zoom)); }

// Screen pixel (x, y) of the canvas shown at the zoom, computed pixel by pixel: at 100 % and
// above the canvas pixel under its centre; below, the mean of the canvas area it covers.
QRgb ScaledPixel(const QImage& canvas, int x, int y, int zoom)
{
    if (zoom >= 100)
        return canvas.pixel(CanvasAt(x, zoom), CanvasAt(y, zoom));
    const double step = 100.0 / zoom;
    double sum[3] = {}, total = 0;
    for (int cy = int(y * step); cy < std::min<double>(canvas.height(), (y + 1) * step); ++cy)
        for (int cx = int(x * step); cx < std::min<double>(canvas.width(), (x + 1) * step); ++cx) {
            const double w = (std::min(cx + 1.0, (x + 1) * step) - std::max<double>(cx, x * step)) *
                             (std::min(cy + 1.0, (y + 1) * step) - std::max<double>(cy, y * step));
            const QRgb p = canvas.pixel(cx, cy);
            sum[0] += w * qRed(p), sum[1] += w * qGreen(p), sum[2] += w * qBlue(p), total += w;
        }
    return qRgb(int(std::lround(sum[0] / total)), int(std::lround(sum[1] / total)),
                int(std::lround(sum[2] / total)));
}

class ZoomTest : public ViewTest, public ::testing::WithParamInterface<int> {
protected:
    int Z() const { return GetParam(); }
    void ZoomTo(int zoom)
    {
        ASSERT_TRUE(m_view->ZoomTo(zoom));
        Paint();
    }
    QScrollArea* Area() const { return static_cast<QScrollArea*>(m_view->ContainerWidget()); }
    CPoint CanvasUnder(QPoint screen) const
    {
        return CPoint(CanvasAt(screen.x(), Z()), CanvasAt(screen.y(), Z()));
    }
};

TEST_P(ZoomTest, DragMakesTheRecordOfTheCanvasPixelsUnderThePointer)
{
    const QPoint from(121, 97), to(173, 150);
    ZoomTo(Z());
    Command(ID_WIDTH_3);
    Command(ID_DRAW_RECT);
    Press(W(), from);
    MoveHeld(W(), to);
    EXPECT_EQ(m_view->Pointer(), CanvasUnder(to)); // the status bar's position
    Release(W(), to);
    ZoomTo(100);
    Draw(ID_DRAW_RECT, {CanvasUnder(from).x, CanvasUnder(from).y},
         {CanvasUnder(to).x, CanvasUnder(to).y});
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    for (const CData* record : records)
        EXPECT_TRUE(record->m_ptStart == CanvasUnder(from) && record->m_ptEnd == CanvasUnder(to) &&
                    record->m_nThickness == 3);

    // The arrow grabs it at the zoom and moves it by the canvas pixels the pointer crossed;
    // its handles keep their size on the screen.
    ZoomTo(Z());
    Command(ID_EDIT_UNDO);
    Command(ID_SELECT);
    const QPoint grab((from + to) / 2), drop(grab + QPoint(40, 24));
    Drag(W(), grab, drop);
    const CPoint moved = CanvasUnder(drop) - CanvasUnder(grab);
    EXPECT_EQ(Records()[0]->m_ptStart, CanvasUnder(from) + moved);
    const double handle = m_doc->m_tracker.m_nHandleSize * Z() / 100.0;
    EXPECT_TRUE(std::abs(handle - 7) <= std::max(Z() / 200.0, 1.0)) << handle;
}

// What reaches the screen, during a drag too (whose feedback goes to the screen only where it
// changed pixels), is the canvas with the feedback, scaled. At a display scale of 2 (the
// view_test_scaled run) each screen pixel is a 2 × 2 block.
TEST_P(ZoomTest, ScreenShowsTheCanvasScaledDuringADrag)
{
    // The window fits on the offscreen screen at either display scale.
    m_frame->Widget()->resize(380, 280);
    Command(ID_WIDTH_4);
    Draw(ID_DRAW_ELLIPSE, {600, 480}, {700, 530});
    ZoomTo(Z());
    const QPoint middle = W()->visibleRegion().boundingRect().topLeft() + QPoint(90, 60);
    const QRect part(middle - QPoint(90, 60), QSize(180, 120));
    // Whole blocks of pixels (at 25 % and 50 %) give their exact mean, rounded; other steps
    // below 100 % weigh pixels split between two screen pixels.
    const int scale = int(W()->devicePixelRatioF()),
              tolerance = Z() >= 100 || 100 % Z() == 0 ? 0 : 1;
    for (UINT tool : {ID_DRAW_ELLIPSE, ID_DRAW_RECT}) {
        Command(tool);
        Press(W(), middle - QPoint(60, 40));
        for (const QPoint to : {QPoint(30, 20), QPoint(50, 35), QPoint(45, 30)}) {
            MoveHeld(W(), middle + to);
            Paint();
            const QPoint at = W()->mapTo(m_frame->Widget(), part.topLeft());
            const QImage shown = W()->screen()
                                     ->grabWindow(m_frame->Widget()->winId(), at.x(), at.y(),
                                                  part.width(), part.height())
                                     .toImage();
            ASSERT_EQ(shown.size(), part.size() * scale);
            const QImage client =
                HeldClientArea(*m_view, QSize(m_view->GetDocument()->GetCanvasSize().cx,
                                              m_view->GetDocument()->GetCanvasSize().cy));
            for (int y = 0; y < shown.height(); ++y)
                for (int x = 0; x < shown.width(); ++x) {
                    const QRgb a = shown.pixel(x, y),
                               b = ScaledPixel(client, part.left() + x / scale,
                                               part.top() + y / scale, Z());
                    ASSERT_LE(
                        std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                  std::abs(qBlue(a) - qBlue(b))}),
                        tolerance)
                        << x << "," << y;
                }
        }
        Release(W(), middle + QPoint(45, 30));
    }
}

TEST_P(ZoomTest, CtrlWheelKeepsThePixelUnderThePointer)
{
    m_frame->Widget()->resize(300, 300);
    ZoomTo(Z());
    QScrollBar* h = Area()->horizontalScrollBar();
    QScrollBar* v = Area()->verticalScrollBar();
    h->setValue(h->maximum() / 2);
    v->setValue(v->maximum() / 2);
    const QPoint at(Area()->viewport()->width() * 2 / 3, Area()->viewport()->height() / 3);
    const CPoint pixel = CanvasUnder(QPoint(h->value(), v->value()) + at);
    const int notch = Z() < 800 ? 120 : -120;
    QWheelEvent wheel(at, Area()->viewport()->mapToGlobal(at), QPoint(), QPoint(0, notch),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Area()->viewport(), &wheel);
    const int now = m_view->GetZoom();
    const int* step = std::ranges::find(kZoomSteps, Z());
    EXPECT_EQ(now, Z() < 800 ? step[1] : step[-1]);
    // The screen pixel now under the pointer covers the centre of the pixel that was.
    const QPoint under = QPoint(h->value(), v->value()) + at;
    for (const auto& [screen, canvas] : {std::pair{under.x(), pixel.x}, {under.y(), pixel.y}}) {
        EXPECT_LE(screen * 100.0 / now, canvas + 0.5);
        EXPECT_GT((screen + 1) * 100.0 / now, canvas + 0.5);
    }
}

// The window is as large as the whole canvas scaled, its last part-covered pixel included.
TEST_P(ZoomTest, WindowHoldsTheWholeScaledCanvas)
{
    ZoomTo(Z());
    const auto scaled = [this](int n) { return int(std::ceil(n * Z() / 100.0)); };
    EXPECT_EQ(W()->size(), QSize(scaled(1280), scaled(1024)));
}

TEST_P(ZoomTest, EditRepaintsOnlyAroundItself)
{
    Draw(ID_DRAW_LINE, {620, 495}, {660, 530});
    ZoomTo(Z());
    struct PaintWatch : QObject {
        QRect painted;
        bool eventFilter(QObject*, QEvent* e) override
        {
            if (e->type() == QEvent::Paint)
                painted |= static_cast<QPaintEvent*>(e)->region().boundingRect();
            return false;
        }
    } watch;
    W()->installEventFilter(&watch);
    CData* line = m_doc->m_shapeList.GetAt(m_doc->m_shapeList.GetTailPosition());
    m_doc->ChangeShape(line, CPoint(625, 500), CPoint(655, 525));
    Paint();
    W()->removeEventFilter(&watch);
    const auto screen = [this](double v, bool up) {
        return int(up ? std::ceil(v * Z() / 100) : std::floor(v * Z() / 100));
    };
    const QRect around(QPoint(screen(610, false), screen(485, false)),
                       QPoint(screen(670, true), screen(540, true)));
    EXPECT_TRUE(around.contains(watch.painted)) // and not when nothing was
        << watch.painted.x() << "," << watch.painted.y() << " " << watch.painted.width() << "×"
        << watch.painted.height();
}

// Ctrl+wheel past either end of the steps leaves the zoom where it is.
TEST_F(ViewTest, CtrlWheelStopsAtTheEndsOfTheSteps)
{
    auto* area = static_cast<QScrollArea*>(m_view->ContainerWidget());
    for (const auto& [zoom, notch] : {std::pair{kZoomSteps[0], -120}, {std::end(kZoomSteps)[-1], 120}}) {
        ASSERT_TRUE(m_view->ZoomTo(zoom));
        const QPoint at(20, 20);
        QWheelEvent wheel(at, area->viewport()->mapToGlobal(at), QPoint(), QPoint(0, notch),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area->viewport(), &wheel);
        EXPECT_EQ(m_view->GetZoom(), zoom);
    }
}

// The zoom commands walk the steps the view is given, in ascending order whatever order they
// come in, each once; what is no percentage is left out, and no steps at all change nothing.
TEST_F(ViewTest, ZoomCommandsWalkTheStepsGiven)
{
    m_view->SetZoomSteps({400, 50, 0, 100, -25, 50});
    EXPECT_FALSE(m_view->ZoomTo(200));
    EXPECT_FALSE(m_view->ZoomTo(0));
    m_view->SetZoomSteps({});
    std::vector<int> zooms;
    for (const UINT command : {ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_IN, ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_OUT,
                               ID_VIEW_ZOOM_OUT, ID_VIEW_ZOOM_IN}) {
        Command(command);
        zooms.push_back(m_view->GetZoom());
    }
    EXPECT_EQ(zooms, (std::vector{400, 400, 100, 50, 50, 100}));
}

INSTANTIATE_TEST_SUITE_P(Zooms, ZoomTest, ::testing::ValuesIn(kZoomSteps),
                         [](const auto& info) { return "At" + std::to_string(info.param); });

} // namespace
