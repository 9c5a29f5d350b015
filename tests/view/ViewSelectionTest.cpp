// Many shapes at once: what the arrow tool, Shift, Alt and the edit commands select, and what
// moving, restyling, copying in place, deleting and reordering do to all of them as one step;
// a single line's ends; Shift's squares, 45° lines and kept proportions; hollow shapes.
#include "tests/view/ViewEditFixture.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QPushButton>

#include <algorithm>

namespace {

using namespace testing_support;

// The fixture's rectangle, ellipse and line, by their place in the list.
class ViewSelectionTest : public ViewEditTest {
protected:
    std::vector<int> SelectedIndices() const
    {
        std::vector<int> indices;
        const auto records = Records();
        for (std::size_t i = 0; i < records.size(); ++i)
            if (m_view->GetSelection().Contains(records[i]))
                indices.push_back(int(i));
        return indices;
    }
    CData* At(int index) const { return const_cast<CData*>(Records()[std::size_t(index)]); }
};

struct BandCase {
    const char* name;
    QPoint from, to;
    Qt::KeyboardModifiers keys;
    std::vector<int> selected; // with the ellipse selected before
};

class ViewBand : public ViewSelectionTest, public ::testing::WithParamInterface<BandCase> {};

// A drag from empty canvas selects the shapes wholly inside its rectangle, with Alt every shape
// it touches, with Shift in addition to those selected; a click there deselects.
TEST_P(ViewBand, SelectsWhatTheRectangleHolds)
{
    Grab({500, 200});
    ASSERT_EQ(SelectedIndices(), std::vector<int>{1});
    Drag(W(), GetParam().from, GetParam().to, 4, GetParam().keys);
    EXPECT_EQ(SelectedIndices(), GetParam().selected);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, ViewBand,
    ::testing::Values(BandCase{"WhollyInside", {50, 50}, {320, 320}, {}, {0}},
                      BandCase{"AltTouching", {50, 50}, {450, 320}, Qt::AltModifier, {0, 1}},
                      BandCase{"AroundAll", {700, 500}, {20, 20}, {}, {0, 1, 2}},
                      BandCase{"ShiftAdds", {50, 50}, {320, 320}, Qt::ShiftModifier, {0, 1}},
                      BandCase{"ClickOnNothing", {700, 700}, {700, 700}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Shift and a click add a shape or take it out; Escape deselects.
TEST_F(ViewSelectionTest, ShiftClickTogglesAndEscapeDeselects)
{
    Grab({200, 180});
    Drag(W(), {500, 200}, {500, 200}, 1, Qt::ShiftModifier);
    EXPECT_EQ(SelectedIndices(), (std::vector<int>{0, 1}));
    EXPECT_EQ(m_view->Selected(), nullptr); // no single shape, no handles
    Drag(W(), {200, 180}, {200, 180}, 1, Qt::ShiftModifier);
    EXPECT_EQ(SelectedIndices(), std::vector<int>{1});
    QTest::keyClick(W(), Qt::Key_Escape);
    EXPECT_TRUE(SelectedIndices().empty());
    EXPECT_TRUE(CanvasIsFullComposition());
}

// Every selected shape moves with the one dragged, is copied in place and deleted, each as
// one step that undo takes back whole.
TEST_F(ViewSelectionTest, ManyShapesMoveCopyAndGoAsOneStepEach)
{
    const auto before = Values();
    Command(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(SelectedIndices(), (std::vector<int>{0, 1, 2}));
    Drag(W(), {200, 180}, {230, 200});
    for (std::size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(Records()[i]->m_ptStart,
                  CPoint(std::get<0>(before[i]) + 30, std::get<1>(before[i]) + 20));
        EXPECT_EQ(Records()[i]->m_ptEnd,
                  CPoint(std::get<2>(before[i]) + 30, std::get<3>(before[i]) + 20));
    }
    EXPECT_TRUE(CanvasIsFullComposition());
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    Command(ID_EDIT_DUPLICATE);
    ASSERT_EQ(Records().size(), 6u);
    EXPECT_EQ(SelectedIndices(), (std::vector<int>{3, 4, 5}));
    EXPECT_EQ(Records()[5]->m_ptEnd, CPoint(510, 460));
    QTest::keyClick(W(), Qt::Key_Delete);
    EXPECT_EQ(Values(), before);
    Command(ID_EDIT_UNDO);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    EXPECT_TRUE(CanvasIsFullComposition());
}

// Selecting a shape shows its style as the choice; a choice restyles every selected shape
// as one step. The fill dialog's no-fill button leaves what lies under a box showing.
TEST_F(ViewSelectionTest, ChoicesShowAndRestyleTheSelection)
{
    m_doc->RestyleShapes({At(1)}, [](CData& d) {
        d.m_crLine = RGB(200, 0, 0);
        d.m_crFill = RGB(0, 0, 200);
        d.m_nThickness = 5;
    });
    Grab({500, 200});
    EXPECT_EQ(std::tuple(m_view->LineColor(), m_view->FillColor(), m_view->Thickness()),
              std::tuple(RGB(200, 0, 0), RGB(0, 0, 200), 5));
    ModalAnswers answers({[](QWidget* w) {
        for (QPushButton* b : w->findChild<QDialogButtonBox*>()->findChildren<QPushButton*>())
            if (b->text() == QString::fromUtf8(res::LoadString(IDS_NO_FILL)))
                b->click();
    }});
    Command(ID_FILL_COLOR);
    EXPECT_EQ(At(1)->m_crFill, kNoFill);
    EXPECT_EQ(m_view->FillColor(), kNoFill);
    Paint();
    EXPECT_EQ(Screen(500, 210), kWhite);
    EXPECT_TRUE(CanvasIsFullComposition());
    Command(ID_EDIT_SELECT_ALL);
    const int steps = m_doc->m_undo.GetCount();
    Command(ID_WIDTH_2);
    EXPECT_EQ(m_doc->m_undo.GetCount(), steps + 1);
    for (const CData* d : Records())
        EXPECT_EQ(d->m_nThickness, 2);
}

// A single line's end handle moves that end alone, as one step.
TEST_F(ViewSelectionTest, LineEndMovesAlone)
{
    Grab({310, 425});
    Drag(W(), {500, 450}, {560, 380});
    EXPECT_EQ(At(2)->m_ptStart, CPoint(120, 400));
    EXPECT_EQ(At(2)->m_ptEnd, CPoint(560, 380));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(At(2)->m_ptEnd, CPoint(500, 450));
}

struct ShiftCase {
    const char* name;
    UINT tool;
    QPoint to; // from (700, 500)
    CPoint end;
};

class ViewShift : public ViewSelectionTest, public ::testing::WithParamInterface<ShiftCase> {};

// Shift makes a drawn box square and a line run at a multiple of 45°.
TEST_P(ViewShift, ConstrainsTheDrawnShape)
{
    Command(GetParam().tool);
    Drag(W(), {700, 500}, GetParam().to, 4, Qt::ShiftModifier);
    EXPECT_EQ(Records().back()->m_ptEnd, GetParam().end);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, ViewShift,
    ::testing::Values(ShiftCase{"Square", ID_DRAW_RECT, {760, 540}, {760, 560}},
                      ShiftCase{"Circle", ID_DRAW_ELLIPSE, {730, 590}, {790, 590}},
                      ShiftCase{"Flat", ID_DRAW_LINE, {800, 510}, {800, 500}},
                      ShiftCase{"Upright", ID_DRAW_LINE, {690, 400}, {700, 400}},
                      ShiftCase{"Diagonal", ID_DRAW_LINE, {650, 540}, {655, 545}}),
    [](const auto& info) { return std::string(info.param.name); });

// Shift keeps a box's proportions while a corner resizes it.
TEST_F(ViewSelectionTest, ShiftResizeKeepsProportions)
{
    Grab({200, 180});
    Drag(W(), HandleCentre(CResizeTracker::hitBottomRight), {400, 260}, 4, Qt::ShiftModifier);
    EXPECT_EQ(At(0)->m_ptStart, CPoint(100, 100));
    EXPECT_EQ(At(0)->m_ptEnd, CPoint(400, 325));
}

// The order commands are greyed where they would change nothing, and move the selection.
TEST_F(ViewSelectionTest, ArrangeCommandsFollowTheSelection)
{
    const auto enabled = [this] {
        m_frame->UpdateCommandStates();
        std::vector<bool> v;
        for (UINT id : {ID_ARRANGE_FRONT, ID_ARRANGE_FORWARD, ID_ARRANGE_BACKWARD, ID_ARRANGE_BACK})
            v.push_back(m_frame->Action(id)->isEnabled());
        return v;
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, false, false}));
    Grab({310, 425});
    EXPECT_EQ(enabled(), (std::vector<bool>{false, false, true, true}));
    const CData* line = At(2);
    Command(ID_ARRANGE_BACK);
    EXPECT_EQ(Records()[0], line);
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, false, false}));
    Command(ID_ARRANGE_FORWARD);
    EXPECT_EQ(Records()[1], line);
    EXPECT_TRUE(CanvasIsFullComposition());
}

} // namespace

namespace {

// Every shape of several selected shows a mark on each corner (a line's on each end), where
// marks crowd and overlap too, however a paint's area cuts them; the rest inside the frame is
// the drawing.
TEST_F(ViewSelectionTest, MarksShowOnEachCornerOfEverySelectedShape)
{
    Draw(ID_DRAW_RECT, {150, 150}, {156, 156});
    Draw(ID_DRAW_RECT, {153, 152}, {161, 160});
    // A crowd, whose marks would cover a small area's repaint many times.
    for (int i = 0; i < 24; ++i)
        Draw(ID_DRAW_RECT, {170 + i % 6 * 2, 150 + i / 6 * 3}, {176 + i % 5, 157 + i % 4});
    Command(ID_EDIT_SELECT_ALL);
    Paint();
    const int nHandle = m_doc->m_tracker.m_nHandleSize, side = std::max(1, (nHandle + 1) / 2);
    std::vector<QRect> marks;
    QRect around;
    for (const CData* d : Records()) {
        const QPoint a(d->m_ptStart.x, d->m_ptStart.y), b(d->m_ptEnd.x, d->m_ptEnd.y);
        // A box's pixels reach to one short of its second corner; a line's to its end.
        const QRect box = QRect(a, QSize(b.x() - a.x(), b.y() - a.y())).normalized();
        around |= QRect(a, b).normalized();
        const std::vector<QPoint> at =
            d->m_nKind == SHAPE_LINE
                ? std::vector{a, b}
                : std::vector{box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()};
        for (const QPoint p : at)
            marks.emplace_back(p - QPoint(side / 2, side / 2), QSize(side, side));
    }
    const QImage drawing = Composed();
    const auto expectMarks = [&](const char* paint) {
        for (int y = around.top(); y <= around.bottom(); ++y)
            for (int x = around.left(); x <= around.right(); ++x) {
                const bool marked =
                    std::ranges::any_of(marks, [&](const QRect& m) { return m.contains(x, y); });
                ASSERT_EQ(Screen(x, y),
                          marked ? RGB(0, 120, 215) : drawing.pixel(x, y) & 0xFFFFFF)
                    << paint << " at " << x << ", " << y;
            }
    };
    expectMarks("a whole paint");
    // Repaints of single columns and then rows cut every mark: each composes its strip afresh.
    const QRect reach = around.adjusted(-side, -side, side, side);
    for (int x = reach.left(); x <= reach.right(); ++x) {
        const CRect column(x, reach.top(), x + 1, reach.bottom() + 1);
        m_view->InvalidateRect(&column);
        Paint();
    }
    expectMarks("column repaints");
    for (int y = reach.top(); y <= reach.bottom(); ++y) {
        const CRect row(reach.left(), y, reach.right() + 1, y + 1);
        m_view->InvalidateRect(&row);
        Paint();
    }
    expectMarks("row repaints");
    // Small areas across the crowd, each holding more marks than would cover it.
    for (int y = 148; y < 166; y += 5)
        for (int x = 168; x < 190; x += 5) {
            const CRect block(x, y, x + 5, y + 5);
            m_view->InvalidateRect(&block);
            Paint();
        }
    expectMarks("crowd repaints");
}

} // namespace
