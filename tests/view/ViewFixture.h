// A real frame with the real view and document on the offscreen platform.
#pragma once

#include "tests/support/ModalAnswers.h"
#include "tests/support/Mouse.h"
#include "tests/support/Surface.h"
#include "tests/support/WindowPixels.h"

#include "document/SkorelDoc.h"
#include "res/resource.h"
#include "shapes/DrawTool.h"
#include "view/SkorelView.h"

#include "framework/core/Commands.h"
#include "framework/docview/App.h"
#include "framework/docview/DocTemplate.h"
#include "framework/docview/Frame.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

class ViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_template = std::make_unique<CSingleDocTemplate>(IDR_MAINFRAME, RUNTIME_CLASS(CSkorelDoc),
                                                          RUNTIME_CLASS(CFrameWnd),
                                                          RUNTIME_CLASS(CSkorelView));
        m_doc = static_cast<CSkorelDoc*>(m_template->OpenDocumentFile(nullptr));
        ASSERT_NE(m_doc, nullptr);
        m_frame = m_template->GetFrame();
        m_view = static_cast<CSkorelView*>(m_frame->GetActiveView());
        m_frame->Widget()->resize(1400, 1150);
        m_frame->ShowWindow(SW_SHOW);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_frame->Widget()));
        // Keys reach the frame's shortcuts only while it is the active window.
        m_frame->Widget()->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_frame->Widget()));
        Paint();
    }

    QWidget* W() const { return m_view->Widget(); }
    void Command(UINT id) { m_frame->OnCmdMsg(id, true); }
    // Runs the pending paint, as the event loop would.
    void Paint()
    {
        QApplication::processEvents();
        m_view->UpdateWindow();
    }
    COLORREF Screen(int x, int y) const
    {
        const QRgb p = testing_support::HeldPixel(*m_view, x, y);
        return RGB(BYTE(qRed(p)), BYTE(qGreen(p)), BYTE(qBlue(p)));
    }
    std::vector<const CData*> Records() const
    {
        std::vector<const CData*> v;
        for (POSITION pos = m_doc->m_shapeList.GetHeadPosition(); pos;)
            v.push_back(m_doc->m_shapeList.GetNext(pos));
        return v;
    }
    // The drawing as the view composes it for Save, export and printing: the whole canvas, or
    // an area of it.
    QImage Drawing(const CRect& area = CRect()) const
    {
        const CRect part = area.IsRectEmpty()
                               ? CRect(0, 0, m_view->CanvasSize().cx, m_view->CanvasSize().cy)
                               : area;
        CBitmap picture;
        m_view->CopyCanvas(part, picture);
        return picture.Image()->convertToFormat(QImage::Format_RGB32);
    }
    // The drawing composed from scratch, with none of the view's composition: a canvas of the
    // document's size made white, the picture, every record; the whole canvas or an area.
    QImage Composed(const CRect& area = CRect()) const
    {
        const CSize size = m_doc->GetCanvasSize();
        MemorySurface full(size.cx, size.cy, RGB(255, 255, 255));
        CDrawTool tool;
        tool.ClearCanvas(&full.dc, size.cx, size.cy);
        if (m_doc->m_pImage)
            m_doc->m_pImage->Draw(0, 0, &full.dc);
        for (const CData* d : Records())
            tool.DrawShape(&full.dc, d);
        const QImage whole = full.bmp.Image()->convertToFormat(QImage::Format_RGB32);
        return area.IsRectEmpty() ? whole
                                  : whole.copy(area.left, area.top, area.Width(), area.Height());
    }
    // Whether the window shows exactly what the drawing is where it shows, with nothing left
    // over from a drag; `except` is left out of the comparison (where the selection frame is).
    bool ScreenShowsCanvas(const CRect& except = CRect()) const
    {
        const QImage screen = testing_support::HeldClientArea(
            *m_view, QSize(m_view->CanvasSize().cx, m_view->CanvasSize().cy));
        const QImage canvas = Drawing();
        const CRect shown = m_view->GetVisibleRect();
        for (int y = shown.top; y < shown.bottom; ++y)
            for (int x = shown.left; x < shown.right; ++x)
                if (!PtInRect(&except, CPoint(x, y)) && screen.pixel(x, y) != canvas.pixel(x, y))
                    return false;
        return true;
    }
    // Where the selection frame draws: its border lies just outside its rectangle, its
    // handles inside (or, on a rectangle narrower than two handles, across its edges).
    CRect FrameArea() const
    {
        const CRect r = m_doc->m_tracker.m_rect.Normalized();
        const int reach = m_doc->m_tracker.m_nHandleSize + 1;
        return CRect(r.left - reach, r.top - reach, r.right + reach, r.bottom + reach);
    }
    void Draw(UINT tool, QPoint from, QPoint to)
    {
        Command(tool);
        testing_support::Drag(W(), from, to);
        Paint();
    }

    CWinApp m_app;
    std::unique_ptr<CSingleDocTemplate> m_template;
    CSkorelDoc* m_doc = nullptr;
    CFrameWnd* m_frame = nullptr;
    CSkorelView* m_view = nullptr;
};

constexpr COLORREF kBlack = RGB(0, 0, 0);
// The zooms the view steps through, in percent.
constexpr int kZoomSteps[] = {25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800};
