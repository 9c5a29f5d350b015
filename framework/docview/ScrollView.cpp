#include "ScrollView.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>

namespace {

// The desk beyond the client area: a neutral grey, so the edge of the area shows.
constexpr QRgb kDeskColour = 0xFF9A9A9A;
// While a drag rests beyond the visible edge, the view keeps scrolling toward it.
constexpr int kAutoScrollMs = 40;
constexpr int kMaxAutoScrollStep = 40;

// The scrolling area around a view: Shift turns the wheel sideways, and a drag that reaches
// the visible edge scrolls the view along.
class ScrollArea : public QScrollArea {
public:
    explicit ScrollArea(QWidget* pParent) : QScrollArea(pParent)
    {
        setAlignment(Qt::AlignLeft | Qt::AlignTop);
        setFrameShape(QFrame::NoFrame);
        QPalette desk = viewport()->palette();
        desk.setColor(QPalette::Window, QColor::fromRgb(kDeskColour));
        viewport()->setPalette(desk);
        viewport()->setAutoFillBackground(true);
        m_timer.setInterval(kAutoScrollMs);
        QObject::connect(&m_timer, &QTimer::timeout, this, [this] { AutoScrollStep(); });
    }

    void Hold(QWidget* pInner)
    {
        setWidget(pInner);
        pInner->installEventFilter(this);
    }

protected:
    void wheelEvent(QWheelEvent* event) override
    {
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
        // The widget moved under the pointer.
        QMouseEvent move(QEvent::MouseMove, QPointF(inner->mapFromGlobal(QCursor::pos())),
                         QCursor::pos(), Qt::NoButton, Qt::LeftButton,
                         QApplication::keyboardModifiers());
        QApplication::sendEvent(inner, &move);
    }

    bool m_bHeld = false; // the left button is down in the inner widget
    QTimer m_timer;
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
    area->Hold(inner);
    m_pArea = area;
    // Whoever deletes the area (the window's failed creation, the frame) takes it from us.
    QObject::connect(area, &QObject::destroyed, area, [this] { m_pArea = nullptr; });
    return inner;
}

QWidget* CScrollView::ContainerWidget() const { return m_pArea ? m_pArea : Widget(); }

void CScrollView::SetScrollSizes(int, SIZE sizeTotal)
{
    m_totalSize = CSize(sizeTotal.cx, sizeTotal.cy);
    if (QWidget* w = Widget())
        w->setFixedSize(sizeTotal.cx, sizeTotal.cy);
}

CPoint CScrollView::GetScrollPosition() const
{
    if (!m_pArea)
        return CPoint();
    return CPoint(m_pArea->horizontalScrollBar()->value(), m_pArea->verticalScrollBar()->value());
}

void CScrollView::ScrollToPosition(POINT pt)
{
    if (!m_pArea)
        return;
    m_pArea->horizontalScrollBar()->setValue(pt.x);
    m_pArea->verticalScrollBar()->setValue(pt.y);
}

CRect CScrollView::GetVisibleRect() const
{
    if (!m_pArea || !Widget())
        return CRect();
    const QPoint origin = Widget()->mapFrom(m_pArea->viewport(), QPoint(0, 0));
    const QRect visible = QRect(origin, m_pArea->viewport()->size()).intersected(Widget()->rect());
    return CRect(visible.left(), visible.top(), visible.right() + 1, visible.bottom() + 1);
}
