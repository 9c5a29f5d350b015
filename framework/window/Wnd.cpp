#include "Wnd.h"

#include "Cursor.h"
#include "Keyboard.h"
#include "detail/Pictures.h"
#include "detail/WindowWidget.h"

#include "framework/core/File.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>

namespace {

CWnd* g_pCapture = nullptr;
CWnd* g_pMainWnd = nullptr;

UINT KeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    UINT flags = 0;
    if (buttons & Qt::LeftButton)
        flags |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        flags |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        flags |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier)
        flags |= MK_SHIFT;
    if (mods & Qt::ControlModifier)
        flags |= MK_CONTROL;
    if (mods & Qt::AltModifier)
        flags |= MK_ALT;
    return flags;
}

} // namespace

// ---- the widget ---------------------------------------------------------------------------

WindowWidget::WindowWidget(CWnd* pOwner, QWidget* pParent) : QWidget(pParent), m_pOwner(pOwner)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_idle.setSingleShot(true);
    connect(&m_idle, &QTimer::timeout, this, &WindowWidget::ReleaseIfIdle);
}

QRect WindowWidget::ShownClientRect() const
{
    const QRect screen = visibleRegion().boundingRect();
    if (screen.isEmpty())
        return QRect();
    return zoom::ClientRectAround(screen, m_zoom).intersected(QRect(QPoint(0, 0), ClientSize()));
}

void WindowWidget::EnsureSurface()
{
    if (m_idle.interval() > 0)
        m_idle.start();
    // What the surface holds newly is unknown until its paint, which comes when it shows.
    const QRegion added = m_surface.Hold(ShownClientRect(), ClientSize());
    m_invalid += added;
    m_invalid &= m_surface.Rect();
    m_unknown += added;
    m_unknown &= m_surface.Rect();
}

void WindowWidget::HoldPainted()
{
    EnsureSurface();
    // Pixels held that no paint has drawn yet, beyond what shows too, are painted before a
    // device context draws on them, as on a screen that always has its pixels: feedback drawn
    // on them and scrolled into view later shows as drawn, and its wiping then wipes it. Within
    // a paint the paint itself draws them.
    if (m_unknown.isEmpty() || !m_paintRect.isEmpty())
        return;
    const QRegion due = m_unknown;
    Paint(due);
    for (const QRect& r : due)
        update(zoom::ScreenRect(r, m_zoom));
}

void WindowWidget::SetIdleRelease(int milliseconds)
{
    m_idle.setInterval(milliseconds);
    if (milliseconds > 0)
        m_idle.start();
    else
        m_idle.stop();
}

void WindowWidget::ReleaseIfIdle()
{
    // A held button may mean feedback on the surface that the drawing does not hold, which
    // a paint could not bring back.
    if (g_pCapture || QGuiApplication::mouseButtons() != Qt::NoButton) {
        m_idle.start();
        return;
    }
    // The screen keeps showing the pixels; the surface is held and painted again when a paint
    // or a device context needs it.
    m_surface.Release();
    m_invalid = QRegion();
    m_unknown = QRegion();
    m_zoomed = QImage();
}

void WindowWidget::SetZoom(int percent, const QSize& clientSize)
{
    m_zoom = percent;
    m_clientSize = clientSize;
    m_surface.TrackShown(percent != kActualSize);
    setFixedSize(zoom::ScreenLength(clientSize.width(), percent),
                 zoom::ScreenLength(clientSize.height(), percent));
    EnsureSurface();
    update();
}

CPoint WindowWidget::ClientPoint(QPointF position) const
{
    // At a display scale above 100 % positions fall between whole pixels, and the pixel is the
    // one they fall in, not the nearest corner; the zoom then shows a client pixel there.
    const int x = int(std::floor(position.x())), y = int(std::floor(position.y()));
    if (m_zoom == kActualSize)
        return CPoint(x, y);
    return CPoint(zoom::ClientPixel(x, m_zoom), zoom::ClientPixel(y, m_zoom));
}

QPoint WindowWidget::ScreenPoint(CPoint client) const
{
    return QPoint(zoom::ScreenPixel(client.x, m_zoom), zoom::ScreenPixel(client.y, m_zoom));
}

void WindowWidget::Show(const QRect& rect)
{
    if (!m_surface.TracksShown()) {
        update(zoom::ScreenRect(rect.intersected(m_surface.Rect()), m_zoom));
        return;
    }
    // What does not show needs no looking at: a scroll shows it from the surface.
    for (const QRect& changed : m_surface.Changed(rect.intersected(ShownClientRect())))
        update(zoom::ScreenRect(changed, m_zoom));
}

void WindowWidget::Invalidate(const QRect& rect)
{
    // What the surface does not hold is painted when it comes to hold it.
    const QRect area = rect.intersected(m_surface.Rect());
    if (area.isEmpty())
        return;
    m_invalid += area;
    update(zoom::ScreenRect(area, m_zoom));
}

void WindowWidget::RunPendingPaint()
{
    if (m_invalid.isEmpty() || !isVisible())
        return;
    // Only what was invalidated goes to the screen again.
    QRegion screen;
    for (const QRect& r : m_invalid)
        screen += zoom::ScreenRect(r, m_zoom);
    repaint(screen);
}

QList<QRect> WindowWidget::PaintAreas(const QRegion& region)
{
    // Few rectangles: the bounding one when it is not much larger than the areas themselves,
    // since every paint walks the whole drawing once.
    qint64 area = 0;
    for (const QRect& r : region)
        area += qint64(r.width()) * r.height();
    const QRect box = region.boundingRect();
    if (qint64(box.width()) * box.height() <= 2 * area)
        return {box};
    return QList<QRect>(region.begin(), region.end());
}

void WindowWidget::Paint(const QRegion& due)
{
    const QRegion painted = m_invalid.intersected(due);
    if (painted.isEmpty())
        return;
    const QList<QRect> areas = PaintAreas(painted);
    m_invalid -= painted;
    m_unknown -= painted;
    for (const QRect& area : areas) {
        m_paintRect = area;
        {
            CPaintDC dc(m_pOwner);
            m_pOwner->OnEraseBkgnd(&dc);
        }
        m_pOwner->OnPaint();
    }
    m_paintRect = QRect();
}

void WindowWidget::paintEvent(QPaintEvent* event)
{
    EnsureSurface();
    // The surface holds what the window shows: only what was invalidated needs a paint; an
    // uncovered area, or pixels a device context put there, only need showing. What does not
    // show waits for its paint until it does (a scroll brings it).
    if (!m_invalid.isEmpty()) {
        QRegion shown;
        for (const QRect& r : event->region().intersected(visibleRegion()))
            shown += zoom::ClientRectAround(r, m_zoom);
        Paint(shown);
    }
    // The surface reaches the screen scaled, only where the screen needs it.
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect held = m_surface.Rect();
    for (const QRect& r : event->region()) {
        if (m_zoom != kActualSize)
            ShowZoomed(p, r);
        else if (const QRect part = r.intersected(held); !part.isEmpty())
            p.drawImage(part.topLeft(), m_surface.Pixels(), part.translated(-held.topLeft()));
    }
}

namespace {

// The pixels the painter ends in, when they are a 32-bit image, one pixel to a widget pixel,
// that holds the screen rectangle: the scaled surface is then written there at once rather
// than made aside and copied. `at` is where the rectangle's top-left pixel lies in them.
QImage* DirectPixels(QPainter& painter, const QRect& screen, QPoint& at)
{
    QPaintEngine* engine = painter.paintEngine();
    QPaintDevice* device = engine ? engine->paintDevice() : nullptr;
    if (!device || device->devType() != QInternal::Image)
        return nullptr;
    auto* image = static_cast<QImage*>(device);
    const QTransform t = painter.deviceTransform();
    const QImage::Format f = image->format();
    if (t.type() > QTransform::TxTranslate || image->devicePixelRatio() != 1.0 ||
        (f != QImage::Format_RGB32 && f != QImage::Format_ARGB32_Premultiplied))
        return nullptr;
    at = screen.topLeft() + QPoint(qRound(t.dx()), qRound(t.dy()));
    return image->rect().contains(QRect(at, screen.size())) ? image : nullptr;
}

} // namespace

void WindowWidget::ShowZoomed(QPainter& painter, const QRect& screen)
{
    const zoom::Held held{m_surface.Pixels(), m_surface.Rect().topLeft(), ClientSize()};
    QPoint at;
    if (QImage* pixels = DirectPixels(painter, screen, at)) {
        zoom::ZoomedInto(held, screen, m_zoom, *pixels, at);
    } else {
        zoom::Zoomed(held, screen, m_zoom, m_zoomed);
        painter.drawImage(screen.topLeft(), m_zoomed, QRect(QPoint(0, 0), screen.size()));
    }
    // The screen now shows the client pixels inside wholly; those it shows in part are
    // unknown, and never match the surface.
    m_surface.Shown(zoom::ClientRectAround(screen, m_zoom), zoom::ClientRectInside(screen, m_zoom));
}

void WindowWidget::resizeEvent(QResizeEvent*)
{
    EnsureSurface();
    const QSize client = ClientSize();
    m_pOwner->OnSize(0, client.width(), client.height());
}

void WindowWidget::mousePressEvent(QMouseEvent* event)
{
    const UINT flags = KeyFlags(event->buttons(), event->modifiers());
    if (event->button() == Qt::LeftButton)
        m_pOwner->OnLButtonDown(flags, ClientPoint(event->position()));
    else if (event->button() == Qt::RightButton)
        m_pOwner->OnRButtonDown(flags, ClientPoint(event->position()));
}

void WindowWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_pOwner->OnLButtonUp(KeyFlags(event->buttons(), event->modifiers()),
                              ClientPoint(event->position()));
}

void WindowWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press of a double click is a message of its own, not a button-down.
    if (event->button() == Qt::LeftButton)
        m_pOwner->OnLButtonDblClk(KeyFlags(event->buttons(), event->modifiers()),
                                  ClientPoint(event->position()));
}

void WindowWidget::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() == Qt::NoButton)
        AskForCursor(WM_MOUSEMOVE);
    m_pOwner->OnMouseMove(KeyFlags(event->buttons(), event->modifiers()),
                          ClientPoint(event->position()));
}

void WindowWidget::keyPressEvent(QKeyEvent* event)
{
    const WORD vk = VirtualKeyOf(event->key());
    if (!vk || !m_pOwner->OnKeyDown(vk, 1, KeyFlags(Qt::NoButton, event->modifiers())))
        event->ignore();
}

void WindowWidget::enterEvent(QEnterEvent*) { AskForCursor(WM_MOUSEMOVE); }

void WindowWidget::leaveEvent(QEvent*) { m_pOwner->OnMouseLeave(); }

void WindowWidget::AskForCursor(UINT message)
{
    m_pOwner->OnSetCursor(m_pOwner, HTCLIENT, message);
    setCursor(ToQtCursor(GetCursor()));
}

// ---- the window ---------------------------------------------------------------------------

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    if (g_pCapture == this)
        g_pCapture = nullptr;
    if (g_pMainWnd == this)
        g_pMainWnd = nullptr;
    delete m_pWidget;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&) { return TRUE; }
int CWnd::OnCreate(LPCREATESTRUCT) { return 0; }
void CWnd::OnPaint() { CPaintDC dc(this); }

BOOL CWnd::OnEraseBkgnd(CDC* pDC)
{
    CRect rc;
    GetClientRect(rc);
    pDC->FillSolidRect(0, 0, rc.Width(), rc.Height(), RGB(255, 255, 255));
    return TRUE;
}

BOOL CWnd::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(LoadCursor(nullptr, IDC_ARROW));
    return TRUE;
}

void CWnd::OnLButtonDown(UINT, CPoint) {}
void CWnd::OnLButtonUp(UINT, CPoint) {}
void CWnd::OnLButtonDblClk(UINT, CPoint) {}

void CWnd::OnRButtonDown(UINT, CPoint) {}
void CWnd::OnMouseMove(UINT, CPoint) {}
void CWnd::OnMouseLeave() {}
BOOL CWnd::OnKeyDown(UINT, UINT, UINT) { return FALSE; }
void CWnd::OnSize(UINT, int, int) {}
void CWnd::OnCaptureChanged(CWnd*) {}

QWidget* CWnd::CreateWidget(QWidget* pParent) { return new WindowWidget(this, pParent); }

void CWnd::AttachWidget(QWidget* pWidget) { m_pWidget = pWidget; }

BOOL CWnd::CreateEx(CWnd* pParent, CREATESTRUCT& cs)
{
    if (!PreCreateWindow(cs))
        return FALSE;
    QWidget* parentWidget = pParent ? pParent->m_pWidget : nullptr;
    m_pWidget = CreateWidget(parentWidget);
    if (!cs.name.empty())
        m_pWidget->setWindowTitle(QString::fromStdString(cs.name));
    if (cs.cx > 0 && cs.cy > 0)
        m_pWidget->resize(cs.cx, cs.cy);
    if (OnCreate(&cs) == -1) {
        const std::unique_ptr<QWidget> container(ContainerWidget());
        m_pWidget = nullptr;
        return FALSE;
    }
    if (cs.style & WS_VISIBLE)
        m_pWidget->show();
    return TRUE;
}

void CWnd::Invalidate(BOOL bErase) { InvalidateRect(nullptr, bErase); }

void CWnd::InvalidateRect(LPCRECT lpRect, BOOL)
{
    auto* w = dynamic_cast<WindowWidget*>(m_pWidget);
    if (!w) {
        if (m_pWidget)
            m_pWidget->update();
        return;
    }
    if (!lpRect) {
        w->Invalidate(QRect(QPoint(0, 0), w->ClientSize()));
        return;
    }
    const CRect r = CRect(*lpRect).Normalized();
    w->Invalidate(QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
}

void CWnd::UpdateWindow()
{
    if (!m_pWidget)
        return;
    if (auto* w = dynamic_cast<WindowWidget*>(m_pWidget))
        w->RunPendingPaint();
    // The windows inside a frame paint with it.
    for (QWidget* child : m_pWidget->findChildren<QWidget*>())
        if (auto* w = dynamic_cast<WindowWidget*>(child))
            w->RunPendingPaint();
}

BOOL CWnd::ShowWindow(int nCmdShow)
{
    if (!m_pWidget)
        return FALSE;
    const BOOL wasVisible = m_pWidget->isVisible();
    m_pWidget->setVisible(nCmdShow != SW_HIDE);
    return wasVisible;
}

CWnd* CWnd::SetCapture()
{
    // While a button is held the widget has the mouse anyway; the capture is remembered so
    // that moves and the release keep coming here.
    CWnd* old = std::exchange(g_pCapture, this);
    if (old && old != this)
        old->OnCaptureChanged(this);
    return old;
}

void CWnd::GetClientRect(LPRECT lpRect) const
{
    const auto* w = dynamic_cast<const WindowWidget*>(m_pWidget);
    const QSize size = w ? w->ClientSize() : m_pWidget ? m_pWidget->size() : QSize();
    *lpRect = RECT{0, 0, size.width(), size.height()};
}

void CWnd::SetZoom(int nPercent, SIZE sizeClient)
{
    if (auto* w = dynamic_cast<WindowWidget*>(m_pWidget))
        w->SetZoom(nPercent, QSize(sizeClient.cx, sizeClient.cy));
}

CSize CWnd::ZoomedSize(SIZE sizeClient, int nPercent)
{
    return CSize(zoom::ScreenLength(sizeClient.cx, nPercent),
                 zoom::ScreenLength(sizeClient.cy, nPercent));
}

int CWnd::GetZoom() const
{
    const auto* w = dynamic_cast<const WindowWidget*>(m_pWidget);
    return w ? w->Zoom() : kActualSize;
}

void CWnd::ClientToScreen(LPPOINT lpPoint) const
{
    if (!m_pWidget)
        return;
    const auto* w = dynamic_cast<const WindowWidget*>(m_pWidget);
    const QPoint client(lpPoint->x, lpPoint->y);
    const QPoint p =
        m_pWidget->mapToGlobal(w ? w->ScreenPoint(CPoint(client.x(), client.y())) : client);
    *lpPoint = POINT{p.x(), p.y()};
}

void CWnd::ScreenToClient(LPPOINT lpPoint) const
{
    if (!m_pWidget)
        return;
    const QPoint p = m_pWidget->mapFromGlobal(QPoint(lpPoint->x, lpPoint->y));
    const auto* w = dynamic_cast<const WindowWidget*>(m_pWidget);
    *lpPoint = w ? POINT(w->ClientPoint(QPointF(p))) : POINT{p.x(), p.y()};
}

void CWnd::SetWindowText(const char* lpszString)
{
    if (m_pWidget)
        m_pWidget->setWindowTitle(QString::fromUtf8(lpszString));
}

const QImage* CWnd::GetSurface() const
{
    auto* w = dynamic_cast<WindowWidget*>(m_pWidget);
    if (!w)
        return nullptr;
    w->HoldPainted();
    return &w->Surface();
}

CRect CWnd::GetSurfaceRect() const
{
    auto* w = dynamic_cast<WindowWidget*>(m_pWidget);
    if (w)
        w->HoldPainted();
    const QRect r = w ? w->SurfaceRect() : QRect();
    return r.isEmpty() ? CRect() : CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
}

void CWnd::ReleaseSurfaceWhenIdle(UINT nElapse)
{
    if (auto* w = dynamic_cast<WindowWidget*>(m_pWidget))
        w->SetIdleRelease(int(std::min<UINT>(nElapse, INT_MAX)));
}

BOOL CWnd::SetIcon(UINT nIDIcon)
{
    const QIcon icon = ResourceIcon(nIDIcon);
    if (!m_pWidget || icon.isNull())
        return FALSE;
    m_pWidget->setWindowIcon(icon);
    return TRUE;
}

std::string CWnd::GetWindowText() const
{
    return m_pWidget ? m_pWidget->windowTitle().toStdString() : std::string();
}

CFrameWnd* CWnd::GetParentFrame() const { return m_pParentFrame; }

BOOL GetCursorPos(LPPOINT lpPoint)
{
    const QPoint p = QCursor::pos();
    *lpPoint = POINT{p.x(), p.y()};
    return TRUE;
}

BOOL ReleaseCapture()
{
    if (CWnd* old = std::exchange(g_pCapture, nullptr))
        old->OnCaptureChanged(nullptr);
    return TRUE;
}

CWnd* AfxGetMainWnd() { return g_pMainWnd; }

void AfxSetMainWnd(CWnd* pWnd) { g_pMainWnd = pWnd; }

// ---- window device contexts ---------------------------------------------------------------

CWindowDC::CWindowDC(CWnd* pWnd) : m_pWnd(pWnd)
{
    if (auto* w = dynamic_cast<WindowWidget*>(pWnd ? pWnd->Widget() : nullptr)) {
        w->HoldPainted();
        AttachSurface(&w->Surface());
        // Client coordinates: the surface holds the client area from its own top-left pixel.
        const QPoint held = w->SurfaceRect().topLeft();
        SetViewportOrg(-held.x(), -held.y());
    }
}

CPaintDC::CPaintDC(CWnd* pWnd) : CWindowDC(pWnd)
{
    // A paint draws only on the area it is for.
    auto* w = dynamic_cast<WindowWidget*>(pWnd ? pWnd->Widget() : nullptr);
    if (w && !w->PaintRect().isEmpty()) {
        const QRect r = w->PaintRect();
        LimitTo(CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1));
    }
}

CWindowDC::~CWindowDC() = default;

void CWindowDC::OnChanged(const CRect& bounds)
{
    // A paint shows all of its area once it is done: what it draws needs no showing of its
    // own on the way.
    auto* w = dynamic_cast<WindowWidget*>(m_pWnd->Widget());
    if (w && w->PaintRect().isEmpty())
        w->Show(QRect(bounds.left, bounds.top, bounds.Width(), bounds.Height()));
}
