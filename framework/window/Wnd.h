// Windows: the base of frames and views. A window is a Qt widget underneath; its message
// handlers are virtual functions that the widget calls.
#pragma once

#include "CmdTarget.h"

#include "framework/core/VirtualKeys.h"
#include "framework/gdi/Gdi.h"

#include <memory>
#include <string>
#include <vector>

class QImage;
class QWidget;
class CFrameWnd;

// Mouse and key flags of the button messages.
constexpr UINT MK_LBUTTON = 0x0001;
constexpr UINT MK_RBUTTON = 0x0002;
constexpr UINT MK_SHIFT = 0x0004;
constexpr UINT MK_CONTROL = 0x0008;
constexpr UINT MK_MBUTTON = 0x0010;
// Alt held, which the platform's mouse messages leave to a question of the keyboard; here a
// flag beside Shift and Ctrl.
constexpr UINT MK_ALT = 0x0100;

// Hit-test area codes and the messages that ask for a cursor.
constexpr UINT HTCLIENT = 1;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;

// The zoom, a percentage, at which one client pixel is one screen pixel.
constexpr int kActualSize = 100;

// Show commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

// Window styles.
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

struct CREATESTRUCT {
    int x, y, cx, cy;
    DWORD style;
    std::string name;
};
using LPCREATESTRUCT = CREATESTRUCT*;

struct CCreateContext;

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

public:
    CWnd();
    ~CWnd() override;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // Message handlers; the defaults do what the platform does by itself.
    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual int OnCreate(LPCREATESTRUCT lpCreateStruct);
    virtual void OnPaint();
    virtual BOOL OnEraseBkgnd(CDC* pDC);
    // Returns TRUE when it set a cursor; the default shows the arrow.
    virtual BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    virtual void OnLButtonDown(UINT nFlags, CPoint point);
    virtual void OnLButtonUp(UINT nFlags, CPoint point);
    virtual void OnLButtonDblClk(UINT nFlags, CPoint point);
    virtual void OnRButtonDown(UINT nFlags, CPoint point);
    virtual void OnMouseMove(UINT nFlags, CPoint point);
    // The pointer left the window.
    virtual void OnMouseLeave();
    // A key went down while the window has the keyboard: nChar is its virtual key
    // (VirtualKeys.h), nFlags holds MK_SHIFT, MK_CONTROL and MK_ALT while they are held. TRUE
    // when the window used the key; an unused key goes on to the window around it (a scrolling
    // area pages with it).
    virtual BOOL OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    virtual void OnSize(UINT nType, int cx, int cy);
    // The mouse capture left this window: released, taken by another window, or taken away
    // because a modal dialog blocked the window. pWnd is the new holder, or null.
    virtual void OnCaptureChanged(CWnd* pWnd);
    // Files another program dropped on the window (a file manager's list of file URLs): their
    // local paths as bytes of the file system, in the order given, and MK_CONTROL and MK_SHIFT
    // while those keys were held. Called once the drop has ended, so it may ask the user.
    virtual void OnDropFiles(const std::vector<std::string>& paths, UINT nFlags);

    // Marks the whole client area, or a rectangle of it, for painting; the paint runs from the
    // event loop and draws only on what was marked.
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    // Runs a pending paint of the window and the windows inside it now.
    void UpdateWindow();
    BOOL ShowWindow(int nCmdShow);
    CWnd* SetCapture();
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void SetWindowText(const char* lpszString);
    // Shows the client area, of the given size, at a zoom (a percentage) on a widget of the
    // zoomed size: at 100 % and above each client pixel is a sharp square, below the client
    // area is smoothly filtered. Client coordinates, paints, device contexts and mouse
    // positions stay in client pixels: a mouse position is the client pixel shown under it.
    void SetZoom(int nPercent, SIZE sizeClient);
    int GetZoom() const;
    // The screen pixels a client area of this size takes at a zoom.
    static CSize ZoomedSize(SIZE sizeClient, int nPercent);
    // The window surface: the client pixels as the paints and the drawing since left them,
    // of the part of the client area that GetSurfaceRect gives (what shows, and a margin
    // around it); null before the window exists. Its pixel (0, 0) is the part's top-left.
    const QImage* GetSurface() const;
    CRect GetSurfaceRect() const;
    // Lets the surface's memory go once the window has drawn nothing for nElapse milliseconds
    // and no mouse button is held; 0, the default, keeps it. The screen keeps showing its
    // pixels, and a paint or a device context that needs the surface paints it again first.
    // What a device context drew outside a paint is gone then: for a window whose paint draws
    // all it shows while no button is held.
    void ReleaseSurfaceWhenIdle(UINT nElapse);
    // Whether the window takes files dropped on it, and on the windows inside it that take
    // none of their own; a drop that holds no local file is refused.
    void DragAcceptFiles(BOOL bAccept = TRUE);
    // Shows the icon resource on the window's title bar; FALSE when the tables hold none.
    BOOL SetIcon(UINT nIDIcon);
    std::string GetWindowText() const;
    CFrameWnd* GetParentFrame() const;

    // The widget underneath, for the framework's own use.
    QWidget* Widget() const { return m_pWidget; }
    // The widget that stands for the window in its parent: the widget itself, or what holds
    // it (a scrolling area).
    virtual QWidget* ContainerWidget() const { return m_pWidget; }

protected:
    // Makes the window: the widget (from CreateWidget), then OnCreate. Returns FALSE and
    // leaves no window when OnCreate returns -1.
    BOOL CreateEx(CWnd* pParent, CREATESTRUCT& cs);
    // The widget that carries this window; the default is a widget with a window surface.
    virtual QWidget* CreateWidget(QWidget* pParent);
    void AttachWidget(QWidget* pWidget);

private:
    friend class CFrameWnd;
    QWidget* m_pWidget = nullptr;
    CFrameWnd* m_pParentFrame = nullptr; // set by the frame that hosts this window
};

// The application's main window, which dialogs without a parent belong to; the frame that
// is the main window registers itself, and a window that goes leaves the place empty.
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* pWnd);

BOOL GetCursorPos(LPPOINT lpPoint);
// Ends the capture; its holder hears of it through OnCaptureChanged.
BOOL ReleaseCapture();

// Draws onto a window's surface; what it draws is shown at once.
class CWindowDC : public CDC {
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    void OnChanged(const CRect& bounds) override;

private:
    CWnd* m_pWnd;
};

// A device context of a window's client area.
class CClientDC : public CWindowDC {
public:
    explicit CClientDC(CWnd* pWnd) : CWindowDC(pWnd) {}
};

// The context of a paint: draws onto the surface, clipped to the area being painted (its clip
// box); the paint shows that area when it ends.
class CPaintDC : public CWindowDC {
public:
    explicit CPaintDC(CWnd* pWnd);

protected:
    void OnChanged(const CRect&) override {}
};
