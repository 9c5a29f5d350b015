// A real frame with the real view and document on the offscreen platform.
#pragma once

#include "tests/support/ModalAnswers.h"
#include "tests/support/Mouse.h"

#include "document/SkorelDoc.h"
#include "res/resource.h"
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
        const QRgb p = m_view->GetSurface()->pixel(x, y);
        return RGB(BYTE(qRed(p)), BYTE(qGreen(p)), BYTE(qBlue(p)));
    }
    std::vector<const CData*> Records() const
    {
        std::vector<const CData*> v;
        for (POSITION pos = m_doc->m_shapeList.GetHeadPosition(); pos;)
            v.push_back(m_doc->m_shapeList.GetNext(pos));
        return v;
    }
    // Whether the window shows exactly what the canvas holds, with nothing left over from a
    // drag; `except` is left out of the comparison (where the selection frame is).
    bool ScreenShowsCanvas(const CRect& except = CRect()) const
    {
        const QImage& screen = *m_view->GetSurface();
        const QImage& canvas = *m_view->m_dcCanvas.Surface();
        if (screen.size() != canvas.size())
            return false;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x)
                if (!PtInRect(&except, CPoint(x, y)) &&
                    (screen.pixel(x, y) & 0xFFFFFF) != (canvas.pixel(x, y) & 0xFFFFFF))
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

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
