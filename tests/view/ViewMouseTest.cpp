// Drawing, grabbing, moving and resizing shapes with real mouse events.
#include "tests/view/ViewFixture.h"

#include "framework/window/MessageBox.h"

#include <QCursor>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

using namespace testing_support;

TEST_F(ViewTest, RoadOfOneRectangle)
{
    Command(ID_WIDTH_3);
    Draw(ID_DRAW_RECT, {300, 200}, {100, 50});
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    const CData* r = records[0];
    EXPECT_EQ(r->m_ptStart, CPoint(100, 50));
    EXPECT_EQ(r->m_ptEnd, CPoint(300, 200));
    EXPECT_EQ(r->m_nKind, SHAPE_RECT);
    EXPECT_EQ(r->m_crLine, kBlack);
    EXPECT_EQ(r->m_crFill, kWhite);
    EXPECT_EQ(r->m_nThickness, 3);
    EXPECT_EQ(Screen(100, 120), kBlack);
    EXPECT_EQ(Screen(98, 120), kWhite);
    EXPECT_EQ(Screen(200, 120), kWhite);
    EXPECT_EQ(Screen(299, 120), kBlack);
}

TEST_F(ViewTest, FeedbackGoesWhereverTheReleaseLands)
{
    for (UINT tool : {ID_DRAW_ELLIPSE, ID_SELECT}) {
        Command(tool);
        Press(W(), {100, 100});
        MoveHeld(W(), {300, 300});
        Release(W(), {150, 150});
        Paint();
        EXPECT_TRUE(ScreenShowsCanvas(FrameArea())) << tool;
    }
}

TEST_F(ViewTest, RubberBandShowsDuringTheDragAndGoesAtRelease)
{
    Command(ID_DRAW_RECT);
    Press(W(), {50, 50});
    MoveHeld(W(), {200, 150});
    EXPECT_EQ(Screen(120, 50), RGB(128, 128, 128));
    MoveHeld(W(), {100, 100});
    // The first figure was taken away by the second step.
    EXPECT_EQ(Screen(150, 149), kWhite);
    EXPECT_EQ(Screen(75, 99), RGB(128, 128, 128));
    Release(W(), {100, 100});
    Paint();
    EXPECT_EQ(Screen(75, 99), kBlack);
    EXPECT_EQ(Screen(150, 149), kWhite);
}

TEST_F(ViewTest, ClickWithoutMovingAddsNothing)
{
    for (UINT tool : {ID_DRAW_LINE, ID_DRAW_RECT, ID_DRAW_ELLIPSE}) {
        Command(tool);
        Press(W(), {40, 60});
        Release(W(), {40, 60});
    }
    EXPECT_TRUE(Records().empty());
    EXPECT_FALSE(m_doc->IsModified());
}

TEST_F(ViewTest, LineDrawnRightToLeftKeepsItsDirection)
{
    Draw(ID_DRAW_LINE, {400, 300}, {100, 120});
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->m_ptStart, CPoint(400, 300));
    EXPECT_EQ(records[0]->m_ptEnd, CPoint(100, 120));
    EXPECT_EQ(records[0]->m_nKind, SHAPE_LINE);
}

TEST_F(ViewTest, SecondPressOfADoubleClickIsNotAPressButItsReleaseDraws)
{
    Command(ID_DRAW_RECT);
    Press(W(), {10, 10});
    Release(W(), {10, 10});
    SendMouse(W(), QEvent::MouseButtonDblClick, {30, 40}, Qt::LeftButton, Qt::LeftButton);
    Release(W(), {30, 40});
    // The click adds nothing; the second release draws from the last real press.
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->m_ptStart, CPoint(10, 10));
    EXPECT_EQ(records[0]->m_ptEnd, CPoint(30, 40));
}

TEST_F(ViewTest, PointsOutsideTheWindowArriveWhileTheButtonIsHeld)
{
    Draw(ID_DRAW_RECT, {100, 100}, {-50, -20});
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->m_ptStart, CPoint(-50, -20));
    EXPECT_EQ(records[0]->m_ptEnd, CPoint(100, 100));
}

TEST_F(ViewTest, OverlappingShapesGrabTheLastOne)
{
    Draw(ID_DRAW_RECT, {100, 100}, {300, 300});
    Draw(ID_DRAW_RECT, {200, 200}, {400, 400});
    Command(ID_SELECT);
    Drag(W(), {250, 250}, {260, 270});
    const auto records = Records();
    EXPECT_EQ(records[0]->m_ptStart, CPoint(100, 100));
    EXPECT_EQ(records[1]->m_ptStart, CPoint(210, 220));
    EXPECT_EQ(records[1]->m_ptEnd, CPoint(410, 420));
    EXPECT_EQ(m_doc->m_tracker.m_rect, CRect(210, 220, 410, 420));
}

TEST_F(ViewTest, RightAndBottomEdgesOfTheBoundingBoxDoNotHit)
{
    Draw(ID_DRAW_RECT, {100, 100}, {200, 200});
    Command(ID_SELECT);
    for (QPoint p : {QPoint(200, 150), QPoint(150, 200), QPoint(99, 150)}) {
        Drag(W(), p, p + QPoint(30, 30));
        EXPECT_EQ(Records()[0]->m_ptStart, CPoint(100, 100)) << p.x() << "," << p.y();
    }
    Drag(W(), {100, 150}, {110, 150});
    EXPECT_EQ(Records()[0]->m_ptStart, CPoint(110, 100));
}

TEST_F(ViewTest, EllipseIsHitAnywhereInItsBoundingBox)
{
    Draw(ID_DRAW_ELLIPSE, {100, 100}, {300, 200});
    Command(ID_SELECT);
    // Inside the box, outside the curve, on no handle of the frame.
    Drag(W(), {110, 180}, {120, 200});
    EXPECT_EQ(Records()[0]->m_ptStart, CPoint(110, 120));
    EXPECT_EQ(Records()[0]->m_ptEnd, CPoint(310, 220));
}

TEST_F(ViewTest, ResizePastTheOppositeEdgeIsStoredNormalised)
{
    Draw(ID_DRAW_RECT, {100, 100}, {200, 200});
    Command(ID_SELECT);
    // Grab, then drag the right-edge handle far past the left edge.
    Press(W(), {150, 150});
    Release(W(), {150, 150});
    const CRect handle = m_doc->m_tracker.GetHandleRect(CResizeTracker::hitRight);
    const QPoint onHandle((handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2);
    Drag(W(), onHandle, {40, 150});
    const CData* r = Records()[0];
    EXPECT_EQ(r->m_ptStart, CPoint(40, 100));
    EXPECT_EQ(r->m_ptEnd, CPoint(100, 200));
    EXPECT_EQ(m_doc->m_tracker.m_rect, CRect(100, 100, 40, 200));
}

TEST_F(ViewTest, ClickOnAHandleWithoutMovingChangesNothing)
{
    Draw(ID_DRAW_RECT, {100, 100}, {200, 200});
    Command(ID_SELECT);
    Press(W(), {150, 150});
    Release(W(), {150, 150});
    const CRect handle = m_doc->m_tracker.GetHandleRect(CResizeTracker::hitBottomRight);
    const QPoint onHandle((handle.left + handle.right) / 2, (handle.top + handle.bottom) / 2);
    Press(W(), onHandle);
    Release(W(), onHandle);
    EXPECT_EQ(Records()[0]->m_ptStart, CPoint(100, 100));
    EXPECT_EQ(Records()[0]->m_ptEnd, CPoint(200, 200));
}

TEST_F(ViewTest, PressOnEmptyCanvasChangesNothing)
{
    Draw(ID_DRAW_RECT, {100, 100}, {200, 200});
    Command(ID_SELECT);
    Drag(W(), {500, 500}, {600, 650});
    EXPECT_EQ(Records()[0]->m_ptStart, CPoint(100, 100));
    EXPECT_EQ(Records()[0]->m_ptEnd, CPoint(200, 200));
}

TEST_F(ViewTest, MovingALineKeepsItsThicknessAndColors)
{
    Command(ID_WIDTH_4);
    Draw(ID_DRAW_LINE, {100, 100}, {300, 100});
    Command(ID_SELECT);
    Drag(W(), {200, 110}, {220, 150});
    Paint();
    const CData* r = Records()[0];
    EXPECT_EQ(r->m_ptStart, CPoint(120, 140));
    EXPECT_EQ(r->m_ptEnd, CPoint(320, 140));
    EXPECT_EQ(r->m_nThickness, 4);
    EXPECT_EQ(Screen(200, 140), kBlack);
    EXPECT_EQ(Screen(200, 100), kWhite);
}

// How a drag can lose its release: a modal dialog takes the mouse (Ctrl+O, Ctrl+S, Ctrl+P
// while the button is down), a move arrives with the button already up, or a new press.
enum class Loss { ModalDialog, MoveWithoutButton, NewPress };

struct LostCase {
    const char* name;
    UINT tool;
    Loss loss;
};

class ViewLostRelease : public ViewTest, public ::testing::WithParamInterface<LostCase> {
protected:
    void Lose(Loss loss)
    {
        switch (loss) {
        case Loss::ModalDialog: {
            ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
            AfxMessageBox("x");
            break;
        }
        case Loss::MoveWithoutButton:
            SendMouse(W(), QEvent::MouseMove, {700, 500}, Qt::NoButton, Qt::NoButton);
            break;
        case Loss::NewPress:
            Press(W(), {900, 700});
            break;
        }
    }
};

// The drag is dropped: nothing is stored, the feedback leaves the window, and later moves
// with no button draw nothing.
TEST_P(ViewLostRelease, DropsTheDrag)
{
    Draw(ID_DRAW_RECT, {100, 100}, {200, 200});
    Command(GetParam().tool);
    Press(W(), {150, 150});
    MoveHeld(W(), {400, 350});
    Lose(GetParam().loss);
    EXPECT_EQ(m_view->IsDragging(), GetParam().loss == Loss::NewPress);
    EXPECT_FALSE(m_view->Tracker().m_bGrabbed);
    SendMouse(W(), QEvent::MouseMove, {600, 450}, Qt::NoButton, Qt::NoButton);
    Paint();
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]->m_ptStart, CPoint(100, 100));
    EXPECT_EQ(records[0]->m_ptEnd, CPoint(200, 200));
    EXPECT_TRUE(ScreenShowsCanvas(CRect(90, 90, 210, 210)));
}

INSTANTIATE_TEST_SUITE_P(
    Losses, ViewLostRelease,
    ::testing::Values(LostCase{"DrawingModalDialog", ID_DRAW_ELLIPSE, Loss::ModalDialog},
                      LostCase{"DrawingMoveWithoutButton", ID_DRAW_LINE, Loss::MoveWithoutButton},
                      LostCase{"SelectionModalDialog", ID_SELECT, Loss::ModalDialog},
                      LostCase{"SelectionMoveWithoutButton", ID_SELECT, Loss::MoveWithoutButton},
                      LostCase{"SelectionNewPress", ID_SELECT, Loss::NewPress}),
    [](const auto& info) { return std::string(info.param.name); });

// Under AddressSanitizer: a grab whose release was lost, then the eraser, then a click on
// empty canvas must not reach the erased record.
TEST_F(ViewTest, EraserAfterALostReleaseLeavesNoGrabbedRecord)
{
    Draw(ID_DRAW_LINE, {100, 100}, {300, 100});
    Command(ID_SELECT);
    Press(W(), {200, 105});
    MoveHeld(W(), {210, 130});
    {
        ModalAnswers answers({ModalAnswers::Click(QMessageBox::Ok)});
        AfxMessageBox("x");
    }
    Command(ID_ERASER);
    Drag(W(), {600, 600}, {640, 650});
    Paint();
    EXPECT_TRUE(Records().empty());
    EXPECT_TRUE(ScreenShowsCanvas());
}

// Nothing drawn during a drag outlives its release, also where it reached past the canvas.
TEST_F(ViewTest, FeedbackPastTheCanvasEdgeLeavesNoTrace)
{
    Draw(ID_DRAW_RECT, {1200, 950}, {1500, 1200});
    Command(ID_SELECT);
    Drag(W(), {1250, 1000}, {1400, 1100});
    Paint();
    EXPECT_EQ(QSize(W()->size()), QSize(1280, 1024));
    EXPECT_TRUE(ScreenShowsCanvas(CRect(1180, 930, 1280, 1024)));
}

// At a scale above 100 % a position falls inside a canvas pixel: that pixel, not the next.
TEST_F(ViewTest, PositionsBetweenWholePixelsMapToThePixelUnderThem)
{
    Command(ID_DRAW_RECT);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const QPointF at =
            type == QEvent::MouseButtonPress ? QPointF(100.5, 50.75) : QPointF(200.5, 120.5);
        QMouseEvent event(type, at, W()->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(W(), &event);
    }
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0]->m_ptStart, CPoint(100, 50));
    EXPECT_EQ(Records()[0]->m_ptEnd, CPoint(200, 120));
}

// The canvas scrolls inside a smaller window, keeping its coordinates; beyond a larger one
// lies a grey desk.
TEST_F(ViewTest, CanvasScrollsInASmallWindowAndShowsItsEdgeInALargeOne)
{
    auto* area = qobject_cast<QScrollArea*>(W()->parentWidget()->parentWidget());
    ASSERT_NE(area, nullptr);
    m_frame->Widget()->resize(700, 500);
    QApplication::processEvents();
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());

    const auto wheel = [area](Qt::KeyboardModifiers mods) {
        QWheelEvent event(QPointF(50, 50), area->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(area->viewport(), &event);
    };
    wheel(Qt::NoModifier);
    EXPECT_GT(area->verticalScrollBar()->value(), 0);
    EXPECT_EQ(area->horizontalScrollBar()->value(), 0);
    wheel(Qt::ShiftModifier);
    EXPECT_GT(area->horizontalScrollBar()->value(), 0);
    const int before = area->verticalScrollBar()->value();
    QTest::keyClick(W(), Qt::Key_PageDown);
    EXPECT_GT(area->verticalScrollBar()->value(), before);

    // A drag that rests past the visible edge scrolls along, step after step, and its feedback
    // follows the pointer's place on the canvas; the shape keeps canvas coordinates.
    area->horizontalScrollBar()->setValue(0);
    const QPoint beyond =
        area->viewport()->mapToGlobal(QPoint(area->viewport()->width() + 30, 300));
    QCursor::setPos(beyond);
    Command(ID_DRAW_RECT);
    Press(W(), {100, 400});
    MoveHeld(W(), W()->mapFromGlobal(beyond));
    EXPECT_TRUE(QTest::qWaitFor([area] { return area->horizontalScrollBar()->value() >= 90; }));
    const QPoint now = W()->mapFromGlobal(QCursor::pos());
    EXPECT_EQ(m_view->Pointer(), CPoint(now.x(), now.y()));
    Release(W(), now);
    ASSERT_EQ(Records().size(), 1u);
    EXPECT_EQ(Records()[0]->m_ptEnd, CPoint(now.x(), now.y()));

    m_frame->Widget()->resize(1600, 1300);
    QApplication::processEvents();
    const QImage shown = area->grab().toImage();
    EXPECT_EQ(shown.pixelColor(1400, 200), QColor(0x9A, 0x9A, 0x9A));
    EXPECT_EQ(shown.pixelColor(1200, 1100), QColor(0x9A, 0x9A, 0x9A));
    EXPECT_EQ(shown.pixelColor(1200, 1000), QColor(255, 255, 255));
}

// At 200 % (the view_test_scaled run) one canvas pixel is an exact 2 × 2 block on the screen.
TEST_F(ViewTest, ScaledCanvasShowsEveryPixelAsAnExactBlock)
{
    if (W()->devicePixelRatioF() != 2.0)
        GTEST_SKIP() << "runs at QT_SCALE_FACTOR=2";
    Command(ID_WIDTH_3);
    Draw(ID_DRAW_ELLIPSE, {20, 30}, {180, 130});
    const QImage shown = W()->grab(QRect(0, 0, 200, 150)).toImage();
    ASSERT_EQ(shown.size(), QSize(400, 300));
    const QImage canvas = Drawing();
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            ASSERT_EQ(shown.pixel(x, y) & 0xFFFFFF, canvas.pixel(x / 2, y / 2) & 0xFFFFFF)
                << x << "," << y;
}

TEST_F(ViewTest, CursorIsACrossHairWhileDrawing)
{
    Command(ID_DRAW_RECT);
    SendMouse(W(), QEvent::MouseMove, {20, 20}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(W()->cursor().shape(), Qt::CrossCursor);
    Command(ID_SELECT);
    SendMouse(W(), QEvent::MouseMove, {25, 20}, Qt::NoButton, Qt::NoButton);
    EXPECT_EQ(W()->cursor().shape(), Qt::ArrowCursor);
}

} // namespace
