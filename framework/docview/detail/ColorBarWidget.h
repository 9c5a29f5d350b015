// The colour bar's swatches and its pair of squares, drawn and hit-tested in one widget.
// Docview-layer private.
#pragma once

#include "framework/core/Types.h"
#include "framework/window/CmdTarget.h"

#include <QRect>
#include <QWidget>

#include <functional>
#include <vector>

class QPainter;

// Fills the rectangle with the colour; CLR_NONE, no colour, shows as white crossed by a red
// line.
void FillWithColor(QPainter& painter, const QRect& rect, COLORREF cr);

class ColorBarWidget : public QWidget {
public:
    // onPick: a swatch was clicked, with the left or the right button (MK_LBUTTON,
    // MK_RBUTTON); onPair(square): the pair's front (0) or back (1) square was double-clicked
    // with the left button.
    ColorBarWidget(std::vector<COLORREF> palette, std::function<void(const CCmdNotify&)> onPick,
                   std::function<void(std::size_t)> onPair, QWidget* pParent);

    // Lays the swatches out in two rows, or, on a bar docked at a side, in two columns.
    void SetVertical(bool bVertical);
    // The colours of the front and the back square.
    void SetPair(COLORREF crFront, COLORREF crBack);
    // The prompt (status bar) and tooltip of the swatches, of a swatch of no colour, and of
    // the pair.
    void SetTips(QString swatch, QString none, QString pair);

    std::size_t SwatchCount() const { return m_palette.size(); }
    COLORREF SwatchColor(std::size_t index) const { return m_palette[index]; }
    QRect SwatchRect(std::size_t index) const;
    // The pair's squares: 0 in front, 1 behind it below and to the right, the centre of each
    // clear of the other.
    QRect PairRect(std::size_t square) const;

    QSize sizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // A rectangle laid out for two rows, turned for two columns.
    QRect Placed(const QRect& r) const;
    // The swatch at the point; -1 when none.
    int SwatchAt(QPoint p) const;
    // The square of the pair at the point, the front one where they overlap; -1 when none.
    int PairPartAt(QPoint p) const;
    // The prompt and tooltip of what lies at the point; empty over nothing.
    QStringList TipsAt(QPoint p) const;

    std::vector<COLORREF> m_palette;
    std::function<void(const CCmdNotify&)> m_onPick;
    std::function<void(std::size_t)> m_onPair;
    bool m_bVertical = false;
    COLORREF m_crPair[2] = {0, 0}; // front, back
    QStringList m_swatchTips;      // prompt, tooltip
    QStringList m_noneTips;
    QStringList m_pairTips;
    QString m_shownPrompt; // the prompt sent to the status bar last
};
