// The selected shape: restyled by a colour or thickness, nudged by the keys, through the
// clipboard.
#include "tests/view/ViewEditFixture.h"

#include <QClipboard>
#include <QColorDialog>
#include <QMimeData>

#include <tuple>

namespace {

// A colour or thickness chosen while a shape is selected restyles that shape alone, as one
// step, and becomes what new shapes get; only what the shape covered before and after is
// repainted, and the canvas is what composing every record from scratch makes, after the
// change, its undo and its redo.
struct RestyleCase {
    const char* name;
    Step choose;
    std::function<void(CData&)> expected; // what the choice does to a style
};

void PrintTo(const RestyleCase& c, std::ostream* os) { *os << c.name; }

class ViewRestyle : public ViewEditTest, public ::testing::WithParamInterface<RestyleCase> {};

TEST_P(ViewRestyle, ChangesTheSelectedShapeAsOneStep)
{
    Grab({200, 180});
    ASSERT_EQ(m_view->Selected(), Records()[0]);
    const auto before = Values();
    CData changed = *Records()[0]; // drawn in the style the view had
    GetParam().expected(changed);
    auto after = before;
    after[0] = FieldsOf(changed);
    const int steps = m_doc->m_undo.GetCount();
    // A mark on the window far from the shape: a repaint of the whole canvas would cover it.
    CClientDC(m_view).FillSolidRect(1100, 900, 4, 4, RGB(255, 0, 255));
    GetParam().choose(*this);
    EXPECT_TRUE(DrawingIsFullComposition());
    EXPECT_EQ(m_doc->m_undo.GetCount(), steps + 1);
    EXPECT_EQ(Values(), after);
    EXPECT_EQ(std::tuple(m_view->LineColor(), m_view->FillColor(), m_view->Thickness()),
              std::tuple(changed.m_crLine, changed.m_crFill, changed.m_nThickness));
    EXPECT_EQ(Screen(1101, 901), RGB(255, 0, 255));
    EXPECT_EQ(m_view->Selected(), Records()[0]);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Values(), before);
    EXPECT_TRUE(DrawingIsFullComposition());
    Command(ID_EDIT_REDO);
    EXPECT_EQ(Values(), after);
    EXPECT_TRUE(DrawingIsFullComposition());
    EXPECT_EQ(Screen(1101, 901), RGB(255, 0, 255));
}

Step ChooseInDialog(UINT id, QColor color)
{
    return [=](ViewEditTest& t) {
        ModalAnswers answers({[color](QWidget* w) {
            qobject_cast<QColorDialog*>(w)->setCurrentColor(color);
            static_cast<QDialog*>(w)->accept();
        }});
        t.Command(id);
    };
}

Step PressKey(Qt::Key key)
{
    return [=](ViewEditTest& t) {
        t.m_frame->UpdateCommandStates();
        QTest::keyClick(t.W(), key);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Choices, ViewRestyle,
    ::testing::Values(RestyleCase{"OutlineColour", ChooseInDialog(ID_LINE_COLOR, QColor(200, 0, 0)),
                                  [](CData& d) { d.m_crLine = RGB(200, 0, 0); }},
                      RestyleCase{"FillColour", ChooseInDialog(ID_FILL_COLOR, QColor(0, 90, 250)),
                                  [](CData& d) { d.m_crFill = RGB(0, 90, 250); }},
                      RestyleCase{"ThicknessMenu", [](ViewEditTest& t) { t.Command(ID_WIDTH_7); },
                                  [](CData& d) { d.m_nThickness = 7; }},
                      RestyleCase{"ThinnerKey", PressKey(Qt::Key_BracketLeft),
                                  [](CData& d) { d.m_nThickness = 2; }},
                      RestyleCase{"ThickerKey", PressKey(Qt::Key_BracketRight),
                                  [](CData& d) { d.m_nThickness = 4; }}),
    [](const auto& info) { return std::string(info.param.name); });

// Without a selected shape a choice only sets what new shapes get; a choice the shape already
// has is no step.
TEST_F(ViewEditTest, ChoosingWithoutAChangeToASelectedShapeAddsNoStep)
{
    const int steps = m_doc->m_undo.GetCount();
    Command(ID_WIDTH_7);
    EXPECT_EQ(m_view->Thickness(), 7);
    Grab({200, 180});
    Command(ID_WIDTH_3);
    EXPECT_EQ(m_doc->m_undo.GetCount(), steps);
    EXPECT_EQ(m_view->Thickness(), 3);
}

// A burst of arrow keys is one step; a selection made between them starts another.
TEST_F(ViewEditTest, ArrowKeyBurstNudgesTheSelectionAsOneStep)
{
    Grab({500, 200});
    QTest::keyClick(W(), Qt::Key_Left);
    QTest::keyClick(W(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(399, 130));
    EXPECT_EQ(m_doc->m_tracker.m_rect, CRect(399, 130, 599, 310));
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(400, 120));
    QTest::keyClick(W(), Qt::Key_Left);
    Grab({500, 200});
    QTest::keyClick(W(), Qt::Key_Left);
    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(399, 120));
    // A drawing tool ends the selection: the keys go back to scrolling.
    Command(ID_DRAW_RECT);
    QTest::keyClick(W(), Qt::Key_Left);
    EXPECT_EQ(Records()[1]->m_ptStart, CPoint(399, 120));
}

// The clipboard carries the shape in the archive form and as a picture; each paste lands 10
// pixels further right and down and comes selected.
TEST_F(ViewEditTest, CopyPasteCascadesAndOffersAPicture)
{
    m_frame->UpdateCommandStates();
    for (UINT id : {ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_CLEAR})
        EXPECT_FALSE(m_frame->Action(id)->isEnabled()) << id;
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
