#include "ColorBarWidget.h"

#include "framework/gdi/Gdi.h"
#include "framework/window/Wnd.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStatusTipEvent>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kMargin = 2;
constexpr int kSwatch = 16;        // a swatch's side, its frame included
constexpr int kSwatchStep = 17;    // from one swatch to the next
constexpr int kPairSquare = 22;    // the side of each of the pair's squares
constexpr int kPairOffset = 12;    // how far the back square sits right of and below the front
constexpr int kPairToSwatches = 8; // the space between the pair and the swatches
constexpr int kRows = 2;

// A sunken frame, a white ring so that dark colours stand apart from it, and the colour.
void DrawWell(QPainter& p, const QRect& r, COLORREF cr, bool bRing)
{
    p.fillRect(r, QColor(128, 128, 128));
    const QRect inner = r.adjusted(1, 1, -1, -1);
    p.fillRect(inner, Qt::white);
    FillWithColor(p, bRing ? inner.adjusted(1, 1, -1, -1) : inner, cr);
}

} // namespace

void FillWithColor(QPainter& painter, const QRect& rect, COLORREF cr)
{
    if (cr != CLR_NONE) {
        painter.fillRect(rect, QColor(GetRValue(cr), GetGValue(cr), GetBValue(cr)));
        return;
    }
    painter.fillRect(rect, Qt::white);
    painter.save();
    painter.setClipRect(rect);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(220, 0, 0), 2));
    painter.drawLine(rect.bottomLeft() + QPointF(0, 1), rect.topRight() + QPointF(1, 0));
    painter.restore();
}

ColorBarWidget::ColorBarWidget(std::vector<COLORREF> palette,
                               std::function<void(const CCmdNotify&)> onPick,
                               std::function<void(std::size_t)> onPair, QWidget* pParent)
    : QWidget(pParent), m_palette(std::move(palette)), m_onPick(std::move(onPick)),
      m_onPair(std::move(onPair))
{
    setMouseTracking(true);
    // The right button picks a swatch here, not the frame's menu of bars.
    setContextMenuPolicy(Qt::PreventContextMenu);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void ColorBarWidget::SetVertical(bool bVertical)
{
    if (m_bVertical == bVertical)
        return;
    m_bVertical = bVertical;
    updateGeometry();
    update();
}

void ColorBarWidget::SetPair(COLORREF crFront, COLORREF crBack)
{
    if (m_crPair[0] == crFront && m_crPair[1] == crBack)
        return;
    m_crPair[0] = crFront;
    m_crPair[1] = crBack;
    update(PairRect(0) | PairRect(1));
}

void ColorBarWidget::SetTips(QString swatch, QString none, QString pair)
{
    m_swatchTips = swatch.split('\n');
    m_noneTips = none.split('\n');
    m_pairTips = pair.split('\n');
}

QRect ColorBarWidget::Placed(const QRect& r) const
{
    return m_bVertical ? QRect(r.y(), r.x(), r.height(), r.width()) : r;
}

QRect ColorBarWidget::SwatchRect(std::size_t index) const
{
    const int columns = int((m_palette.size() + kRows - 1) / kRows);
    const int row = int(index) / columns, column = int(index) % columns;
    const int left = kMargin + kPairSquare + kPairOffset + kPairToSwatches;
    return Placed(
        QRect(left + column * kSwatchStep, kMargin + row * kSwatchStep, kSwatch, kSwatch));
}

QRect ColorBarWidget::PairRect(std::size_t square) const
{
    const int at = kMargin + (square == 1 ? kPairOffset : 0);
    return Placed(QRect(at, at, kPairSquare, kPairSquare));
}

QSize ColorBarWidget::sizeHint() const
{
    const QRect last = m_palette.empty() ? PairRect(1) : SwatchRect(m_palette.size() - 1);
    const QRect pair = PairRect(1);
    return QSize(std::max(last.right(), pair.right()) + 1 + kMargin,
                 std::max(last.bottom(), pair.bottom()) + 1 + kMargin);
}

int ColorBarWidget::SwatchAt(QPoint p) const
{
    for (std::size_t i = 0; i < m_palette.size(); ++i)
        if (SwatchRect(i).contains(p))
            return int(i);
    return -1;
}

int ColorBarWidget::PairPartAt(QPoint p) const
{
    if (PairRect(0).contains(p))
        return 0;
    return PairRect(1).contains(p) ? 1 : -1;
}

QStringList ColorBarWidget::TipsAt(QPoint p) const
{
    if (const int swatch = SwatchAt(p); swatch >= 0)
        return m_palette[std::size_t(swatch)] == CLR_NONE ? m_noneTips : m_swatchTips;
    return PairPartAt(p) >= 0 ? m_pairTips : QStringList();
}

void ColorBarWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    for (std::size_t i = 0; i < m_palette.size(); ++i)
        DrawWell(p, SwatchRect(i), m_palette[i], false);
    DrawWell(p, PairRect(1), m_crPair[1], true);
    DrawWell(p, PairRect(0), m_crPair[0], true);
}

void ColorBarWidget::mousePressEvent(QMouseEvent* event)
{
    const int swatch = SwatchAt(event->position().toPoint());
    if (swatch < 0)
        return;
    if (event->button() == Qt::LeftButton)
        m_onPick({std::size_t(swatch), MK_LBUTTON});
    else if (event->button() == Qt::RightButton)
        m_onPick({std::size_t(swatch), MK_RBUTTON});
}

void ColorBarWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    const int part = PairPartAt(event->position().toPoint());
    if (part < 0)
        mousePressEvent(event); // a second click on a swatch picks it again
    else if (event->button() == Qt::LeftButton)
        m_onPair(std::size_t(part));
}

void ColorBarWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QString prompt = TipsAt(event->position().toPoint()).value(0);
    if (prompt == m_shownPrompt)
        return;
    m_shownPrompt = prompt;
    QStatusTipEvent tip(prompt);
    QApplication::sendEvent(this, &tip);
}

void ColorBarWidget::leaveEvent(QEvent*)
{
    if (m_shownPrompt.isEmpty())
        return;
    m_shownPrompt.clear();
    QStatusTipEvent tip(m_shownPrompt);
    QApplication::sendEvent(this, &tip);
}

bool ColorBarWidget::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = TipsAt(help->pos()).value(1);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, this);
    return true;
}
