// The widget under a window: keeps the window's surface, runs its paints and hands mouse
// events to its handlers. Framework-internal.
#pragma once

#include "framework/window/Cursor.h"
#include "framework/window/Wnd.h"
#include "framework/window/detail/WindowSurface.h"
#include "framework/window/detail/Zoom.h"

#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QTimer>
#include <QWidget>

class WindowWidget : public QWidget {
public:
    WindowWidget(CWnd* pOwner, QWidget* pParent);

    CWnd* Owner() const { return m_pOwner; }
    // The window's client pixels, of the part of the client area that shows and a margin
    // around it; they persist between paints.
    QImage& Surface() { return m_surface.Pixels(); }
    // The part of the client area the surface holds.
    QRect SurfaceRect() const { return m_surface.Rect(); }
    // Makes the surface hold what shows of the client area.
    void EnsureSurface();
    // EnsureSurface, and the paint of every pixel it holds that no paint has drawn yet: before
    // a device context draws on pixels a screen would always have.
    void HoldPainted();
    // Gives the surface back once the window has used it for none of this long and no button
    // is held; 0 keeps it.
    void SetIdleRelease(int milliseconds);
    // Shows the client area, of the given size, at a zoom (a percentage): the widget takes
    // the zoomed size, and paints, device contexts and mouse positions stay in client pixels.
    void SetZoom(int percent, const QSize& clientSize);
    int Zoom() const { return m_zoom; }
    // The client area: the widget itself at 100 %, else the size the zoom was set for.
    QSize ClientSize() const { return m_zoom == kActualSize ? size() : m_clientSize; }
    // The client pixel under a position in the widget.
    CPoint ClientPoint(QPointF position) const;
    // The pixel of the widget under a client pixel's centre.
    QPoint ScreenPoint(CPoint client) const;
    // Puts pixels that a device context changed on the screen, without a paint.
    void Show(const QRect& rect);
    // Marks an area of the client for the next paint.
    void Invalidate(const QRect& rect);
    void RunPendingPaint();
    // The area the paint in progress is for; empty outside a paint.
    QRect PaintRect() const { return m_paintRect; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The client pixels some of whose screen pixels show; empty while nothing does.
    QRect ShownClientRect() const;
    void AskForCursor(UINT message);
    // Paints the invalid area within `due` (client pixels), in a few rectangles; the rest
    // stays invalid.
    void Paint(const QRegion& due);
    static QList<QRect> PaintAreas(const QRegion& region);
    // Draws a rectangle of the widget from the surface at the zoom.
    void ShowZoomed(QPainter& painter, const QRect& screen);
    void ReleaseIfIdle();

    CWnd* m_pOwner;
    int m_zoom = kActualSize;
    QSize m_clientSize;
    QImage m_zoomed; // kept between paints, so that every paint does not allocate anew
    WindowSurface m_surface;
    QRegion m_invalid; // what the next paint is for, within the surface
    QRegion m_unknown; // the part of it that no paint has drawn since the surface held it
    QRect m_paintRect;
    QTimer m_idle;
};

// Win32 cursor ids to Qt's shapes.
Qt::CursorShape ToQtCursor(HCURSOR hCursor);
