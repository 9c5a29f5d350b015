// Editing the drawing: every change undone and redone, the clipboard, the keys.
#include "tests/view/ViewFixture.h"

#include "tests/support/Surface.h"

#include "framework/window/Clipboard.h"

#include <QClipboard>
#include <QColorDialog>
#include <QMimeData>
#include <QTemporaryDir>

#include <functional>
#include <random>
#include <tuple>

namespace {

using namespace testing_support;

using Fields = std::tuple<int, int, int, int, int, COLORREF, COLORREF, int>;

class ViewEditTest : public ViewTest {
public:
    // For the steps of the table below.
    using ViewTest::Command;
    using ViewTest::Draw;
    using ViewTest::m_frame;
    using ViewTest::m_template;
    using ViewTest::W;

protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        Command(ID_WIDTH_3);
        Draw(ID_DRAW_RECT, {100, 100}, {300, 250});
        Draw(ID_DRAW_ELLIPSE, {400, 120}, {600, 300});
        Draw(ID_DRAW_LINE, {120, 400}, {500, 450});
    }
    static Fields FieldsOf(const CData& d)
    {
        return {d.m_ptStart.x, d.m_ptStart.y, d.m_ptEnd.x, d.m_ptEnd.y,
                d.m_nKind,     d.m_crLine,    d.m_crFill,  d.m_nThickness};
    }
    std::vector<Fields> Values() const
    {
        std::vector<Fields> v;
        for (const CData* d : Records())
            v.push_back(FieldsOf(*d));
        return v;
    }
    QImage Canvas()
    {
        Paint();
        return m_view->m_dcCanvas.Surface()->copy();
    }

public:
    // Grabs the shape under the point with the arrow tool.
    void Grab(QPoint p)
    {
        Command(ID_SELECT);
        Press(W(), p);
        Release(W(), p);
        Paint(); // and the commands' states follow, as after any click
    }
    // The canvas composed from scratch: white, the picture, every record.
    QImage FullComposition() const
    {
        MemorySurface full(1280, 1024, kWhite);
        CDrawTool tool;
        tool.ClearCanvas(&full.dc, 1280, 1024);
        if (m_doc->m_pImage)
            m_doc->m_pImage->Draw(0, 0, &full.dc);
        for (const CData* d : Records())
            tool.DrawShape(&full.dc, d);
        return full.bmp.Image()->copy();
    }
    QPoint HandleCentre(int handle) const
    {
        const CRect r = m_doc->m_tracker.GetHandleRect(handle);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }
};

struct StepCase {
    const char* name;
    std::function<void(ViewEditTest&)> change;
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
    Canvas();
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    EXPECT_TRUE(Canvas() == FullComposition());
    EXPECT_TRUE(ScreenShowsCanvas(FrameArea()));
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Values(), after);
    EXPECT_TRUE(Canvas() == FullComposition());
    // A new change after an undo drops what could have been redone.
    Command(ID_EDIT_UNDO);
    Draw(ID_DRAW_RECT, {700, 500}, {720, 520});
    EXPECT_FALSE(m_doc->m_undo.CanRedo());
    EXPECT_FALSE(m_frame->OnCmdMsg(ID_EDIT_REDO, false) && m_doc->m_undo.CanRedo());
}

INSTANTIATE_TEST_SUITE_P(
    Steps, ViewUndo,
    ::testing::Values(
        StepCase{"Draw",
                 [](ViewEditTest& t) {
                     t.Draw(ID_DRAW_ELLIPSE, {50, 500}, {150, 600});
                 }},
        StepCase{"MoveRectangle",
                 [](ViewEditTest& t) {
                     t.Command(ID_SELECT);
                     Drag(t.W(), {200, 180}, {260, 230});
                 }},
        StepCase{"ResizeEllipse",
                 [](ViewEditTest& t) {
                     t.Grab({500, 200});
                     Drag(t.W(), t.HandleCentre(CResizeTracker::hitBottomRight), {650, 380});
                 }},
        StepCase{"MoveLine",
                 [](ViewEditTest& t) {
                     t.Command(ID_SELECT);
                     Drag(t.W(), {300, 425}, {340, 470});
                 }},
        StepCase{"Eraser", [](ViewEditTest& t) { t.Command(ID_ERASER); }},
        StepCase{"Delete",
                 [](ViewEditTest& t) {
                     t.Grab({200, 180});
                     QTest::keyClick(t.W(), Qt::Key_Delete);
                 }},
        StepCase{"Cut",
                 [](ViewEditTest& t) {
                     t.Grab({500, 200});
                     t.Command(ID_EDIT_CUT);
                 }},
        StepCase{"Paste",
                 [](ViewEditTest& t) {
                     t.Grab({500, 200});
                     t.Command(ID_EDIT_COPY);
                     t.Command(ID_EDIT_PASTE);
                 }},
        StepCase{"ShiftArrowNudge",
                 [](ViewEditTest& t) {
                     t.Grab({200, 180});
                     QTest::keyClick(t.W(), Qt::Key_Right, Qt::ShiftModifier);
                 }},
        StepCase{"Open",
                 [](ViewEditTest& t) {
                     QTemporaryDir dir;
                     const QString path = dir.filePath("one.skr");
                     QFile file(path);
                     ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                     const std::int32_t values[] = {1, 10, 20, 110, 80, 2, 0xFF, 0xFF00, 5};
                     file.write(reinterpret_cast<const char*>(values), sizeof values);
                     file.close();
                     ASSERT_TRUE(t.m_template->OpenDocumentFile(path.toUtf8().constData()));
                 }}),
    [](const auto& info) { return std::string(info.param.name); });

// Whatever the edits, repainting only what they changed leaves the canvas exactly as
// composing all of it from scratch would, and the window showing it.
TEST_F(ViewEditTest, RepaintingWhatChangedEqualsAFullComposition)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath("picture.bmp");
    QImage bands(700, 500, QImage::Format_RGB888);
    for (int y = 0; y < bands.height(); ++y)
        for (int x = 0; x < bands.width(); ++x)
            bands.setPixel(x, y, qRgb(x & 255, y & 255, (x ^ y) & 255));
    ASSERT_TRUE(bands.save(picture, "BMP"));
    std::mt19937 rng(3);
    std::uniform_int_distribution<int> x(-60, 1340), y(-60, 1080), offset(-120, 120), width(1, 7),
        colour(0, 0xFFFFFF), action(0, 99);
    const auto someShape = [&]() -> const CData* {
        const auto records = Records();
        return records.empty() ? nullptr : records[std::size_t(rng()) % records.size()];
    };
    for (int step = 0; step < 150; ++step) {
        const int a = action(rng);
        if (a < 30) {
            m_view->m_nThickness = width(rng);
            m_view->m_crLine = COLORREF(colour(rng));
            m_view->m_crFill = COLORREF(colour(rng));
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
            ASSERT_TRUE(m_template->OpenDocumentFile(picture.toUtf8().constData()));
        } else {
            Command(ID_ERASER);
        }
        Paint();
        ASSERT_TRUE(*m_view->m_dcCanvas.Surface() == FullComposition()) << "step " << step;
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
        EXPECT_TRUE(Canvas() == FullComposition()) << width;
    }
}

TEST_F(ViewEditTest, UndoReachesBackAcrossNewAndSelectsWhatItTouched)
{
    const auto before = Values();
    Grab({200, 180});
    Drag(W(), {200, 180}, {210, 200});
    ASSERT_TRUE(m_template->OpenDocumentFile(nullptr)); // New keeps the shapes and the steps
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
}

TEST_F(ViewEditTest, ArrowKeysNudgeTheSelectionOneStepPerPress)
{
    Grab({500, 200});
    QTest::keyClick(W(), Qt::Key_Left);
    QTest::keyClick(W(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(399, 130));
    EXPECT_EQ(m_doc->m_tracker.m_rect, CRect(399, 130, 599, 310));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(399, 120));
    // A drawing tool ends the selection: the keys go back to scrolling.
    Command(ID_DRAW_RECT);
    QTest::keyClick(W(), Qt::Key_Left);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(399, 120));
}

// Escape, an undo, a redo or a right click in the middle of a drag drops it, with either tool:
// the release that follows changes nothing, and what could be redone stays so.
struct Interruption {
    const char* name;
    std::function<void(QWidget*)> interrupt;
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
    Paint();
    EXPECT_EQ(Values(), afterKey);
    EXPECT_EQ(m_doc->m_undo.CanRedo(), couldRedo);
    EXPECT_TRUE(*m_view->m_dcCanvas.Surface() == FullComposition());
    EXPECT_TRUE(ScreenShowsCanvas(FrameArea()));
}

INSTANTIATE_TEST_SUITE_P(ToolsAndInterruptions, ViewDroppedDrag,
                         ::
                             testing::Combine(::testing::Values(ID_DRAW_RECT, ID_SELECT),
                                              ::
                                                  testing::
                                                      Values(
                                                          Interruption{"Escape",
                                                                       [](QWidget* w) {
                                                                           QTest::keyClick(
                                                                               w, Qt::Key_Escape);
                                                                       }},
                                                          Interruption{"Undo",
                                                                       [](QWidget* w) {
                                                                           QTest::keyClick(
                                                                               w, Qt::Key_Z,
                                                                               Qt::ControlModifier);
                                                                       }},
                                                          Interruption{"Redo",
                                                                       [](QWidget* w) {
                                                                           QTest::keyClick(
                                                                               w, Qt::Key_Y,
                                                                               Qt::ControlModifier);
                                                                       }},
                                                          Interruption{"RightClick",
                                                                       [](QWidget* w) {
                                                                           SendMouse(
                                                                               w,
                                                                               QEvent::
                                                                                   MouseButtonPress,
                                                                               {260, 230},
                                                                               Qt::RightButton,
                                                                               Qt::LeftButton |
                                                                                   Qt::RightButton);
                                                                           SendMouse(
                                                                               w,
                                                                               QEvent::
                                                                                   MouseButtonRelease,
                                                                               {260, 230},
                                                                               Qt::RightButton,
                                                                               Qt::LeftButton);
                                                                       }})),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param) == ID_SELECT ? "Select"
                                                                                     : "Rect") +
                                    std::get<1>(info.param).name;
                         });

// A colour or thickness chosen while a shape is selected restyles that shape alone, as one
// step; only what the shape covered before and after is repainted, and the canvas is what
// composing every record from scratch makes, after the change, its undo and its redo.
struct RestyleCase {
    const char* name;
    std::function<void(ViewEditTest&)> choose;
    std::function<void(CData&)> expected; // what the choice does to a style
};

void PrintTo(const RestyleCase& c, std::ostream* os) { *os << c.name; }

class ViewRestyle : public ViewEditTest, public ::testing::WithParamInterface<RestyleCase> {};

TEST_P(ViewRestyle, ChangesTheSelectedShapeAsOneStep)
{
    Grab({200, 180});
    ASSERT_EQ(m_view->Selected(), Records()[0]);
    const auto before = Values();
    auto after = before;
    CData changed = *Records()[0], choice;
    GetParam().expected(changed);
    after[0] = FieldsOf(changed);
    std::tie(choice.m_crLine, choice.m_crFill, choice.m_nThickness) =
        std::tuple(m_view->m_crLine, m_view->m_crFill, m_view->m_nThickness);
    GetParam().expected(choice);
    const int steps = m_doc->m_undo.GetCount();
    // A mark on the window far from the shape: a repaint of the whole canvas would cover it.
    CClientDC(m_view).FillSolidRect(1100, 900, 4, 4, RGB(255, 0, 255));
    GetParam().choose(*this);
    Paint();
    EXPECT_EQ(m_doc->m_undo.GetCount(), steps + 1);
    EXPECT_EQ(Values(), after);
    // New shapes get the choice too.
    EXPECT_EQ(std::tuple(m_view->m_crLine, m_view->m_crFill, m_view->m_nThickness),
              std::tuple(choice.m_crLine, choice.m_crFill, choice.m_nThickness));
    EXPECT_EQ(Screen(1101, 901), RGB(255, 0, 255));
    EXPECT_TRUE(*m_view->m_dcCanvas.Surface() == FullComposition());
    EXPECT_EQ(m_view->Selected(), Records()[0]);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    EXPECT_TRUE(Canvas() == FullComposition());
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Values(), after);
    EXPECT_TRUE(Canvas() == FullComposition());
    EXPECT_EQ(Screen(1101, 901), RGB(255, 0, 255));
}

// Answers the colour dialog with a colour.
void ChooseInDialog(ViewEditTest& t, UINT id, QColor colour)
{
    ModalAnswers answers({[colour](QWidget* w) {
        qobject_cast<QColorDialog*>(w)->setCurrentColor(colour);
        static_cast<QDialog*>(w)->accept();
    }});
    t.Command(id);
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ViewRestyle,
    ::testing::Values(
        RestyleCase{"OutlineColour",
                    [](ViewEditTest& t) { ChooseInDialog(t, ID_LINE_COLOR, QColor(200, 0, 0)); },
                    [](CData& d) { d.m_crLine = RGB(200, 0, 0); }},
        RestyleCase{"FillColour",
                    [](ViewEditTest& t) { ChooseInDialog(t, ID_FILL_COLOR, QColor(0, 90, 250)); },
                    [](CData& d) { d.m_crFill = RGB(0, 90, 250); }},
        RestyleCase{"ThicknessMenu", [](ViewEditTest& t) { t.Command(ID_WIDTH_7); },
                    [](CData& d) { d.m_nThickness = 7; }},
        RestyleCase{"ThinnerKey",
                    [](ViewEditTest& t) {
                        t.m_frame->UpdateCommandStates();
                        QTest::keyClick(t.W(), Qt::Key_BracketLeft);
                    },
                    [](CData& d) { d.m_nThickness = 2; }},
        RestyleCase{"ThickerKey",
                    [](ViewEditTest& t) {
                        t.m_frame->UpdateCommandStates();
                        QTest::keyClick(t.W(), Qt::Key_BracketRight);
                    },
                    [](CData& d) { d.m_nThickness = 4; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a selected shape a choice only sets what new shapes get; a choice the shape already
// has is no step.
TEST_F(ViewEditTest, ChoosingWithoutAChangeToASelectedShapeAddsNoStep)
{
    const int steps = m_doc->m_undo.GetCount();
    Command(ID_WIDTH_7);
    EXPECT_EQ(m_view->m_nThickness, 7);
    Grab({200, 180});
    Command(ID_WIDTH_3);
    EXPECT_EQ(m_doc->m_undo.GetCount(), steps);
    EXPECT_EQ(m_view->m_nThickness, 3);
}

// The clipboard carries the shape in the archive form and as a picture; each paste lands 10
// pixels further right and down and comes selected.
TEST_F(ViewEditTest, CopyPasteCascadesAndOffersAPicture)
{
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_CLEAR}) {
        m_frame->UpdateCommandStates();
        EXPECT_FALSE(m_frame->Action(id)->isEnabled()) << id;
    }
    Grab({200, 180});
    Command(ID_EDIT_COPY);
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(mime, nullptr);
    EXPECT_EQ(mime->data("application/x-skorel-shapes").size(), 4 + 32);
    ASSERT_TRUE(mime->hasImage());
    const QImage picture = qvariant_cast<QImage>(mime->imageData());
    // The rectangle (100, 100)-(300, 250) with its 3-pixel outline, 3 pixels in from the
    // picture's edges, white inside.
    EXPECT_EQ(picture.size(), QSize(207, 157));
    EXPECT_EQ(picture.pixelColor(3, 78), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(103, 153), QColor(Qt::black));
    EXPECT_EQ(picture.pixelColor(103, 78), QColor(Qt::white));
    Command(ID_EDIT_PASTE);
    Command(ID_EDIT_PASTE);
    const auto records = Records();
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[3]->m_ptStart, CPoint(110, 110));
    EXPECT_EQ(records[4]->m_ptStart, CPoint(120, 120));
    EXPECT_EQ(records[4]->m_nThickness, 3);
    EXPECT_EQ(m_view->Selected(), records[4]);

    // Cut and paste bring the shape back 10 pixels further, selected even when a drawing tool
    // was chosen in between.
    Command(ID_EDIT_CUT);
    Command(ID_DRAW_RECT);
    Command(ID_EDIT_PASTE);
    ASSERT_EQ(Records().size(), 5u);
    EXPECT_EQ(Records()[4]->m_ptStart, CPoint(130, 130));
    EXPECT_EQ(m_view->Selected(), Records()[4]);
}

TEST_F(ViewEditTest, MalformedClipboardShapesAreIgnored)
{
    for (const QByteArray& bytes :
         {QByteArray("\x02\0\0\0", 4), QByteArray(36, '\x01'), QByteArray("\xff\xff\xff\xff", 4),
          QByteArray("\x01\0\0\0", 4) + QByteArray(32 + 1, '\x01'), QByteArray()}) {
        auto* mime = new QMimeData;
        mime->setData("application/x-skorel-shapes", bytes);
        QGuiApplication::clipboard()->setMimeData(mime);
        Command(ID_EDIT_PASTE);
        EXPECT_EQ(Records().size(), 3u) << bytes.size();
    }
    QGuiApplication::clipboard()->setText("not shapes");
    m_frame->UpdateCommandStates();
    EXPECT_FALSE(m_frame->Action(ID_EDIT_PASTE)->isEnabled());
}

} // namespace
