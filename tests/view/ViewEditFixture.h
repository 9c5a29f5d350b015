// The real view with three shapes drawn three pixels wide: a rectangle, an ellipse and a line.
#pragma once

#include "tests/support/Surface.h"
#include "tests/view/ViewFixture.h"

#include <functional>
#include <tuple>
#include <vector>

class ViewEditTest : public ViewTest {
public:
    // For the steps of the tables of changes.
    using ViewTest::Command;
    using ViewTest::Draw;
    using ViewTest::m_frame;
    using ViewTest::m_doc;
    using ViewTest::m_template;
    using ViewTest::W;

    // Grabs the shape under the point with the arrow tool.
    void Grab(QPoint p)
    {
        Command(ID_SELECT);
        testing_support::Press(W(), p);
        testing_support::Release(W(), p);
        Paint(); // and the commands' states follow, as after any click
    }
    QPoint HandleCentre(int handle) const
    {
        const CRect r = m_doc->m_tracker.GetHandleRect(handle);
        return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

protected:
    using Fields = std::tuple<int, int, int, int, int, COLORREF, COLORREF, int>;

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
    // Whether the window, once painted, and the drawing the view composes are what composing
    // it from scratch makes: white, the picture, every record (the window apart from the
    // selection frame).
    bool CanvasIsFullComposition()
    {
        const bool frame = !m_doc->m_shapeList.IsEmpty();
        return DrawingIsFullComposition() && ScreenShowsCanvas(frame ? FrameArea() : CRect());
    }
    // The same for the drawing alone, once painted: the window may hold marks of its own.
    bool DrawingIsFullComposition()
    {
        Paint();
        return Drawing() == Composed();
    }
};

// A change made through the view, for a table of cases.
using Step = std::function<void(ViewEditTest&)>;
