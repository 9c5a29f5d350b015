#include "ScrollView.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace {

// A wheel's notch.
constexpr int kWheelNotch = 120;

// The desk beyond the client area: a neutral grey, so the edge of the area shows.
constexpr QRgb kDeskColor = 0xFF9A9A9A;
// While a drag rests beyond the visible edge, the view keeps scrolling toward it.
constexpr int kAutoScrollMs = 40;
constexpr int kMaxAutoScrollStep = 40;

// The scrolling area around a view: Shift turns the wheel sideways, Ctrl makes it zoom, and a
// drag that reaches the visible edge scrolls the view along.
class ScrollArea : public QScrollArea {
public:
    explicit ScrollArea(QWidget* pParent) : QScrollArea(pParent)
    {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setFrameShape(QFrame::NoFrame);
        QPalette desk = viewport()->palette();
        desk.setColor(QPalette::Window, QColor::fromRgb(kDeskColor));
        viewport()->setPalette(desk);
        viewport()->setAutoFillBackground(true);
        m_timer.setInterval(kAutoScrollMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { AutoScrollStep(); });
    }

    // onZoom gets the steps to zoom (up positive) and the pointer in the viewport.
    void Hold(QWidget* pInner, std::function<void(int, QPoint)> onZoom)
    {
        setWidget(pInner);
        pInner->installEventFilter(this);
        m_onZoom = std::move(onZoom);
        for (const QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
            QObject::connect(bar, &QScrollBar::valueChanged, this, [this] { FollowPointer(); });
    }

    // The widget moved under a pointer that rests over it (scrolled or zoomed): once the
    // events at hand are through, it gets a move at the pointer's new place in it, so that
    // whatever follows the pointer (a drag's feedback, the position shown) sees where it is.
    void FollowPointer()
    {
        if (std::exchange(m_bFollowing, true))
            return;
        QMetaObject::invokeMethod(
            this,
            [this] {
                m_bFollowing = false;
                if (viewport()->rect().contains(viewport()->mapFromGlobal(QCursor::pos())))
                    MoveAtPointer();
            },
            Qt::QueuedConnection);
    }

protected:
    void wheelEvent(QWheelEvent* event) override
    {
        if (event->modifiers() & Qt::ControlModifier) {
            // A fine wheel or a touchpad zooms a step once its movement adds up to a notch.
            m_zoomTurn += event->angleDelta().y();
            const int steps = m_zoomTurn / kWheelNotch;
            m_zoomTurn -= steps * kWheelNotch;
            if (steps)
                m_onZoom(steps, event->position().toPoint());
            event->accept();
            return;
        }
        if (!(event->modifiers() & Qt::ShiftModifier)) {
            QScrollArea::wheelEvent(event);
            return;
        }
        const QPoint turned(event->angleDelta().y(), event->angleDelta().x());
        QWheelEvent sideways(event->position(), event->globalPosition(), event->pixelDelta(),
                             turned, event->buttons(), event->modifiers() & ~Qt::ShiftModifier,
                             event->phase(), event->inverted());
        QApplication::sendEvent(horizontalScrollBar(), &sideways);
        event->setAccepted(sideways.isAccepted());
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != widget())
            return QScrollArea::eventFilter(watched, event);
        // Whether the left button is held comes from the events the view gets: the same for
        // the pointer of the system and for events sent by a program.
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            m_bHeld = (mouse->buttons() & Qt::LeftButton) != 0;
            if (m_bHeld && !Visible().contains(mouse->position().toPoint()))
                m_timer.start();
            else
                m_timer.stop();
            break;
        }
        default:
            break;
        }
        return QScrollArea::eventFilter(watched, event);
    }

private:
    // The part of the inner widget that shows.
    QRect Visible() const
    {
        return QRect(widget()->mapFrom(viewport(), QPoint(0, 0)), viewport()->size());
    }

    // One step toward a pointer that rests beyond the edge, and a move at the pointer's new
    // place in the widget, so that the drag's feedback follows.
    void AutoScrollStep()
    {
        QWidget* inner = widget();
        const QPoint p = inner ? inner->mapFromGlobal(QCursor::pos()) : QPoint();
        const QRect visible = inner ? Visible() : QRect();
        if (!m_bHeld || visible.contains(p)) {
            m_timer.stop();
            return;
        }
        const auto step = [](int beyond) {
            return std::clamp(beyond, -kMaxAutoScrollStep, kMaxAutoScrollStep);
        };
        const int dx = p.x() < visible.left()    ? step(p.x() - visible.left())
                       : p.x() > visible.right() ? step(p.x() - visible.right())
                                                 : 0;
        const int dy = p.y() < visible.top()      ? step(p.y() - visible.top())
                       : p.y() > visible.bottom() ? step(p.y() - visible.bottom())
                                                  : 0;
        const QPoint before(horizontalScrollBar()->value(), verticalScrollBar()->value());
        horizontalScrollBar()->setValue(before.x() + dx);
        verticalScrollBar()->setValue(before.y() + dy);
        // At the end of the scrolling range there is nothing more to follow.
        if (QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value()) == before) {
            m_timer.stop();
            return;
        }
        MoveAtPointer();
    }

    void MoveAtPointer()
    {
        QWidget* inner = widget();
        if (!inner)
            return;
        QMouseEvent move(QEvent::MouseMove, QPointF(inner->mapFromGlobal(QCursor::pos())),
                         QCursor::pos(), Qt::NoButton, m_bHeld ? Qt::LeftButton : Qt::NoButton,
                         QApplication::keyboardModifiers());
        QApplication::sendEvent(inner, &move);
    }

    bool m_bHeld = false;      // the left button is down in the inner widget
    bool m_bFollowing = false; // a move at the pointer is on its way
    QTimer m_timer;
    std::function<void(int, QPoint)> m_onZoom;
    int m_zoomTurn = 0; // the wheel's turn toward the next zoom step
};

} // namespace

IMPLEMENT_DYNAMIC(CScrollView, CView)

CScrollView::CScrollView() = default;

CScrollView::~CScrollView()
{
    // The area holds the view's widget: both go, and the window's own clean-up finds none.
    QScrollArea* area = m_pArea;
    m_pArea = nullptr;
    AttachWidget(nullptr);
    delete area;
}

QWidget* CScrollView::CreateWidget(QWidget* pParent)
{
    auto* area = new ScrollArea(pParent);
    QWidget* inner = CView::CreateWidget(nullptr);
    inner->setFocusPolicy(Qt::StrongFocus);
    area->Hold(inner, [this](int steps, QPoint at) { ZoomAbout(StepFrom(steps), &at); });
    m_pArea = area;
    // Whoever deletes the area (the window's failed creation, the frame) takes it from us.
    QObject::connect(area, &QObject::destroyed, area, [this] { m_pArea = nullptr; });
    return inner;
}

QWidget* CScrollView::ContainerWidget() const { return m_pArea ? m_pArea : Widget(); }

void CScrollView::SetScrollSizes(int, SIZE sizeTotal)
{
    m_totalSize = CSize(sizeTotal.cx, sizeTotal.cy);
    SetZoom(GetZoom(), sizeTotal);
}

void CScrollView::ScrollToPosition(POINT pt)
{
    if (!m_pArea || !Widget())
        return;
    ClientToScreen(&pt);
    const QPoint at = Widget()->mapFromGlobal(QPoint(pt.x, pt.y));
    m_pArea->horizontalScrollBar()->setValue(at.x());
    m_pArea->verticalScrollBar()->setValue(at.y());
}

CRect CScrollView::GetVisibleRect() const
{
    if (!m_pArea || !Widget())
        return CRect();
    const QPoint origin = Widget()->mapFrom(m_pArea->viewport(), QPoint(0, 0));
    const QRect visible = QRect(origin, m_pArea->viewport()->size()).intersected(Widget()->rect());
    if (visible.isEmpty())
        return CRect();
    const QPoint a = Widget()->mapToGlobal(visible.topLeft());
    const QPoint b = Widget()->mapToGlobal(visible.bottomRight());
    CPoint first(a.x(), a.y()), last(b.x(), b.y());
    ScreenToClient(&first);
    ScreenToClient(&last);
    const CRect shown(first.x, first.y, last.x + 1, last.y + 1);
    CRect clipped;
    const CRect whole(0, 0, m_totalSize.cx, m_totalSize.cy);
    IntersectRect(&clipped, &shown, &whole);
    return clipped;
}

void CScrollView::SetZoomSteps(std::vector<int> steps)
{
    std::ranges::sort(steps);
    steps.erase(std::unique(steps.begin(), steps.end()), steps.end());
    std::erase_if(steps, [](int step) { return step <= 0; });
    if (!steps.empty())
        m_zoomSteps = std::move(steps);
}

int CScrollView::StepFrom(int nSteps) const
{
    const auto at = std::ranges::find(m_zoomSteps, GetZoom());
    if (at == m_zoomSteps.end())
        return GetZoom();
    const std::ptrdiff_t index = std::clamp<std::ptrdiff_t>(at - m_zoomSteps.begin() + nSteps, 0,
                                                            std::ptrdiff_t(m_zoomSteps.size()) - 1);
    return m_zoomSteps[std::size_t(index)];
}

BOOL CScrollView::ZoomTo(int nPercent) { return ZoomAbout(nPercent, nullptr); }

BOOL CScrollView::ZoomAbout(int nPercent, const QPoint* pAt)
{
    if (std::ranges::find(m_zoomSteps, nPercent) == m_zoomSteps.end() || !Widget())
        return FALSE;
    if (nPercent == GetZoom())
        return TRUE;
    // The client pixel under the point, or in the middle of what shows, before.
    CPoint pixel;
    if (pAt) {
        const QWidget* port = m_pArea ? m_pArea->viewport() : Widget();
        const QPoint global = port->mapToGlobal(*pAt);
        pixel = CPoint(global.x(), global.y());
        ScreenToClient(&pixel);
    } else if (const CRect visible = GetVisibleRect(); !visible.IsRectEmpty()) {
        pixel = CPoint((visible.left + visible.right) / 2, (visible.top + visible.bottom) / 2);
    }
    pixel.x = std::clamp<LONG>(pixel.x, 0, std::max<LONG>(m_totalSize.cx - 1, 0));
    pixel.y = std::clamp<LONG>(pixel.y, 0, std::max<LONG>(m_totalSize.cy - 1, 0));
    SetZoom(nPercent, m_totalSize);
    if (m_pArea) {
        ShowPixelAt(pixel, pAt);
        // Scroll bars that the new size brings or takes away come and go once the events
        // at hand are through, and change the window's size and range: the pixel is put in
        // its place again then.
        const std::optional<QPoint> at = pAt ? std::optional(*pAt) : std::nullopt;
        QMetaObject::invokeMethod(
            m_pArea, [this, pixel, at] { ShowPixelAt(pixel, at ? &*at : nullptr); },
            Qt::QueuedConnection);
        static_cast<ScrollArea*>(m_pArea)->FollowPointer();
    }
    OnZoomChanged();
    CommandStatesChanged();
    return TRUE;
}

void CScrollView::ShowPixelAt(CPoint pixel, const QPoint* pAt)
{
    if (!m_pArea || !Widget())
        return;
    const QPoint at = pAt ? *pAt : m_pArea->viewport()->rect().center();
    ClientToScreen(&pixel);
    const QPoint inWidget = Widget()->mapFromGlobal(QPoint(pixel.x, pixel.y));
    m_pArea->horizontalScrollBar()->setValue(inWidget.x() - at.x());
    m_pArea->verticalScrollBar()->setValue(inWidget.y() - at.y());
}

void CScrollView::OnZoomChanged() {}

void CScrollView::OnZoomIn() { ZoomTo(StepFrom(1)); }

void CScrollView::OnZoomOut() { ZoomTo(StepFrom(-1)); }

void CScrollView::OnZoomActual() { ZoomTo(kActualSize); }

void CScrollView::OnZoomFit()
{
    if (!m_pArea)
        return;
    const QSize room = m_pArea->maximumViewportSize();
    int fit = m_zoomSteps.front();
    for (const int step : m_zoomSteps) {
        const CSize shown = ZoomedSize(m_totalSize, step);
        if (shown.cx <= room.width() && shown.cy <= room.height())
            fit = step;
    }
    ZoomTo(fit);
}

void CScrollView::OnUpdateZoomIn(CCmdUI* pCmdUI) { pCmdUI->Enable(GetZoom() < m_zoomSteps.back()); }

void CScrollView::OnUpdateZoomOut(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetZoom() > m_zoomSteps.front());
}

void CScrollView::OnUpdateZoomPane(CCmdUI* pCmdUI)
{
    pCmdUI->SetText((std::to_string(GetZoom()) + "%").c_str());
}
