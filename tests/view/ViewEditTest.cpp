// Editing the drawing: every change undone and redone, repainting only what changed, drags
// dropped half-way.
#include "tests/view/ViewEditFixture.h"

#include "tests/support/Pictures.h"

#include <QTemporaryDir>

#include <random>
#include <tuple>

namespace {

using namespace testing_support;

struct StepCase {
    const char* name;
    Step change;
};

class ViewUndo : public ViewEditTest, public ::testing::WithParamInterface<StepCase> {};

// One change is one step: undo gives back the records exactly as before it, redo exactly as
// after it, and each time the canvas is what composing those records from scratch makes, also
// when a drawing tool ended the selection first (nothing repaints the frame's area then).
TEST_P(ViewUndo, UndoAndRedoRestoreRecordsAndPixels)
{
    const auto before = Values();
    GetParam().change(*this);
    const auto after = Values();
    ASSERT_NE(after, before);
    Command(ID_DRAW_LINE);
    Paint();
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    EXPECT_TRUE(CanvasIsFullComposition());
    EXPECT_TRUE(ScreenShowsCanvas(FrameArea()));
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Values(), after);
    EXPECT_TRUE(CanvasIsFullComposition());
    // A new change after an undo drops what could have been redone.
    Command(ID_EDIT_UNDO);
    Draw(ID_DRAW_RECT, {700, 500}, {720, 520});
    EXPECT_FALSE(m_doc->m_undo.CanRedo());
}

Step DragWithArrow(QPoint from, QPoint to)
{
    return [=](ViewEditTest& t) {
        t.Command(ID_SELECT);
        Drag(t.W(), from, to);
    };
}

// Grabs the shape under `at` with the arrow tool, then gives the commands.
Step GrabThen(QPoint at, std::vector<UINT> commands)
{
    return [=](ViewEditTest& t) {
        t.Grab(at);
        for (UINT id : commands)
            t.Command(id);
    };
}

Step GrabAndPress(QPoint at, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    return [=](ViewEditTest& t) {
        t.Grab(at);
        QTest::keyClick(t.W(), key, modifiers);
    };
}

void InsertOneRecordDrawing(ViewEditTest& t)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("one.skr");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::int32_t values[] = {1, 10, 20, 110, 80, 2, 0xFF, 0xFF00, 5};
    file.write(reinterpret_cast<const char*>(values), sizeof values);
    file.close();
    ASSERT_TRUE(t.m_doc->InsertFile(path.toUtf8().constData()));
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ViewUndo,
    ::testing::Values(
        StepCase{"Draw",
                 [](ViewEditTest& t) {
                     t.Draw(ID_DRAW_ELLIPSE, {50, 500}, {150, 600});
                 }},
        StepCase{"MoveRectangle", DragWithArrow({200, 180}, {260, 230})},
        StepCase{"ResizeEllipse",
                 [](ViewEditTest& t) {
                     t.Grab({500, 200});
                     Drag(t.W(), t.HandleCentre(CResizeTracker::hitBottomRight), {650, 380});
                 }},
        StepCase{"MoveLine", DragWithArrow({300, 425}, {340, 470})},
        StepCase{"Eraser", [](ViewEditTest& t) { t.Command(ID_ERASER); }},
        StepCase{"Delete", GrabAndPress({200, 180}, Qt::Key_Delete)},
        StepCase{"Cut", GrabThen({500, 200}, {ID_EDIT_CUT})},
        StepCase{"Paste", GrabThen({500, 200}, {ID_EDIT_COPY, ID_EDIT_PASTE})},
        StepCase{"ShiftArrowNudge", GrabAndPress({200, 180}, Qt::Key_Right, Qt::ShiftModifier)},
        StepCase{"Insert", InsertOneRecordDrawing}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever the edits, repainting only what they changed leaves the canvas exactly as
// composing all of it from scratch would, and the window showing it.
TEST_F(ViewEditTest, RepaintingWhatChangedEqualsAFullComposition)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("picture.bmp");
    // Larger than the canvas: inserting it, and undoing that, changes the canvas's size.
    ASSERT_TRUE(Stripes(1500, 1100).save(picture, "BMP"));
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> x(-60, 1340), y(-60, 1080), offset(-120, 120), width(1, 7),
        color(0, 0xFFFFFF), action(0, 99);
    const auto someShape = [&]() -> const CData* {
        const auto records = Records();
        return records.empty() ? nullptr : records[std::size_t(rng()) % records.size()];
    };
    for (int step = 0; step < 150; ++step) {
        const int a = action(rng);
        if (a < 30) {
            m_view->ChooseThickness(width(rng));
            m_view->ChooseLineColor(COLORREF(color(rng)));
            m_view->ChooseFillColor(COLORREF(color(rng)));
            const UINT tools[] = {ID_DRAW_LINE, ID_DRAW_RECT, ID_DRAW_ELLIPSE};
            Draw(tools[rng() % 3], {x(rng), y(rng)}, {x(rng), y(rng)});
        } else if (a < 55) {
            // Grab a shape by its start corner and move it, or a handle and resize it.
            if (const CData* d = someShape()) {
                const QPoint at(d->m_ptStart.x, d->m_ptStart.y);
                Grab(at);
                const QPoint from = a < 45 ? at : HandleCentre(int(rng() % 8));
                Drag(W(), from, from + QPoint(offset(rng), offset(rng)));
            }
        } else if (a < 80) {
            Command(a < 72 ? ID_EDIT_UNDO : ID_EDIT_REDO);
        } else if (a < 90) {
            if (const CData* d = someShape()) {
                Grab(QPoint(d->m_ptStart.x, d->m_ptStart.y));
                Command(ID_EDIT_COPY);
                Command(ID_EDIT_PASTE);
            }
        } else if (a < 93) {
            QTest::keyClick(W(), Qt::Key_Right, Qt::ShiftModifier);
        } else if (a < 96) {
            // A drag whose feedback ends elsewhere than its release, with either tool.
            Command(a == 93 ? ID_DRAW_ELLIPSE : ID_SELECT);
            const QPoint from(x(rng), y(rng));
            Press(W(), from);
            MoveHeld(W(), from + QPoint(offset(rng), offset(rng)));
            Release(W(), from + QPoint(offset(rng), offset(rng)));
        } else if (a < 98) {
            ASSERT_TRUE(m_doc->InsertFile(picture.toUtf8().constData()));
        } else {
            Command(ID_ERASER);
        }
        ASSERT_TRUE(CanvasIsFullComposition()) << "step " << step;
        ASSERT_TRUE(ScreenShowsCanvas(FrameArea())) << "step " << step;
    }
}

// Pens wider than a tile hide what lies under them as fills do: what shows is still exactly
// what composing every record from scratch shows.
TEST_F(ViewEditTest, FatPensHideOnlyWhatTheyPaint)
{
    for (const auto& [kind, a, b, width] :
         {std::tuple{SHAPE_LINE, CPoint(-50, 300), CPoint(1400, 700), 260},
          std::tuple{SHAPE_RECT, CPoint(600, 100), CPoint(900, 200), 180},
          std::tuple{SHAPE_ELLIPSE, CPoint(100, 600), CPoint(500, 900), 120},
          std::tuple{SHAPE_LINE, CPoint(0, 0), CPoint(1280, 1024), 2000000000},
          std::tuple{SHAPE_LINE, CPoint(200, 900), CPoint(1200, 100), 7}}) {
        auto d = std::make_unique<CData>(*Records()[0]);
        d->m_nKind = kind;
        d->m_ptStart = a;
        d->m_ptEnd = b;
        d->m_nThickness = width;
        d->m_crLine = RGB(BYTE(width), 40, 200);
        std::vector<std::unique_ptr<CData>> one;
        one.push_back(std::move(d));
        m_doc->AddShapes(std::move(one), false);
        EXPECT_TRUE(CanvasIsFullComposition()) << width;
    }
}

TEST_F(ViewEditTest, UndoSelectsWhatItTouchedAndNewLeavesNothingToUndo)
{
    const auto before = Values();
    Grab({200, 180});
    Drag(W(), {200, 180}, {210, 200});
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    EXPECT_EQ(m_view->Selected(), Records()[0]);
    EXPECT_EQ(m_doc->m_tracker.m_rect, CRect(100, 100, 300, 250));
    for (int i = 0; i < 3; ++i)
        Command(ID_EDIT_UNDO);
    EXPECT_TRUE(Records().empty());
    EXPECT_EQ(m_view->Selected(), nullptr);
    EXPECT_FALSE(m_doc->IsModified());
    m_frame->UpdateCommandStates();
    EXPECT_FALSE(m_frame->Action(ID_EDIT_UNDO)->isEnabled());
    EXPECT_TRUE(m_frame->Action(ID_EDIT_REDO)->isEnabled());
    ASSERT_TRUE(m_template->OpenDocumentFile(nullptr)); // unmodified: nothing asked
    m_frame->UpdateCommandStates();
    EXPECT_FALSE(m_frame->Action(ID_EDIT_REDO)->isEnabled());
}

// Escape, an undo, a redo or a right click in the middle of a drag drops it, with either tool:
// the release that follows changes nothing, and what could be redone stays so.
struct Interruption {
    const char* name;
    std::function<void(QWidget*)> interrupt;
};

const Interruption kInterruptions[] = {
    {"Escape", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); }},
    {"Undo", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Z, Qt::ControlModifier); }},
    {"Redo", [](QWidget* w) { QTest::keyClick(w, Qt::Key_Y, Qt::ControlModifier); }},
    {"RightClick",
     [](QWidget* w) {
         SendMouse(w, QEvent::MouseButtonPress, {260, 230}, Qt::RightButton,
                   Qt::LeftButton | Qt::RightButton);
         SendMouse(w, QEvent::MouseButtonRelease, {260, 230}, Qt::RightButton, Qt::LeftButton);
     }},
};

void PrintTo(const Interruption& i, std::ostream* os) { *os << i.name; }

class ViewDroppedDrag : public ViewEditTest,
                        public ::testing::WithParamInterface<std::tuple<UINT, Interruption>> {};

TEST_P(ViewDroppedDrag, ReleaseChangesNothing)
{
    const auto& [tool, interruption] = GetParam();
    Draw(ID_DRAW_RECT, {700, 500}, {760, 560});
    Command(ID_EDIT_UNDO);
    Command(tool);
    m_frame->UpdateCommandStates(); // as after any input: the keys' commands are enabled
    Press(W(), {200, 180});
    MoveHeld(W(), {260, 230});
    interruption.interrupt(W());
    const auto afterKey = Values();
    const bool couldRedo = m_doc->m_undo.CanRedo();
    MoveHeld(W(), {280, 240});
    Release(W(), {260, 230});
    EXPECT_TRUE(CanvasIsFullComposition());
    EXPECT_EQ(Values(), afterKey);
    EXPECT_EQ(m_doc->m_undo.CanRedo(), couldRedo);
    EXPECT_TRUE(ScreenShowsCanvas(FrameArea()));
}

INSTANTIATE_TEST_SUITE_P(ToolsAndInterruptions, ViewDroppedDrag,
                         ::testing::Combine(::testing::Values(ID_DRAW_RECT, ID_SELECT),
                                            ::testing::ValuesIn(kInterruptions)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == ID_SELECT ? "Select"
                                                                                     : "Rect") +
                                    std::get<1>(info.param).name;
                         });

} // namespace
