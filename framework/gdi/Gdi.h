// GDI objects (pens, brushes, bitmaps, palettes) and device contexts with Win32 semantics,
// drawn without antialiasing onto 32-bit pixel surfaces.
#pragma once

#include "framework/core/Object.h"
#include "framework/core/Types.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>

class QImage;
class QPainter;

namespace raster {
class Canvas;
struct Stroke;
struct Ink;
} // namespace raster

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;
// No colour at all: a value no RGB colour can have.
constexpr COLORREF CLR_NONE = 0xFFFFFFFF;

// Clip regions and drawing bounds.
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
constexpr UINT DCB_RESET = 0x0001;
constexpr UINT DCB_SET = 0x0003;

// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_NULL = 5;

// Mix modes.
constexpr int R2_BLACK = 1;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOP = 11;
constexpr int R2_COPYPEN = 13;
constexpr int R2_WHITE = 16;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;

// Raster operations of block transfers.
constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD SRCINVERT = 0x00660046;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Stretch modes.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;

// Device capabilities.
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int RASTERCAPS = 38;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int RC_BITBLT = 0x0001;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_DI_BITMAP = 0x0080;
constexpr int RC_DIBTODEV = 0x0200;

class CGdiObject : public CObject {
public:
    ~CGdiObject() override = default;

protected:
    // Stock objects live for the whole process and ignore deletion.
    bool m_bStock = false;
};

class CPen : public CGdiObject {
public:
    CPen() = default;
    CPen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL CreatePen(int nPenStyle, int nWidth, COLORREF crColor);
    BOOL DeleteObject();
    bool IsCreated() const { return m_bCreated; }

    // As GDI makes it: a dashed or dotted pen wider than 1 pixel draws solid, width 0 is 1.
    int Style() const { return m_nWidth > 1 && m_nStyle != PS_NULL ? PS_SOLID : m_nStyle; }
    int Width() const { return m_nWidth < 1 ? 1 : m_nWidth; }
    COLORREF Color() const { return m_crColor; }

    static CPen* Stock(int nIndex);

private:
    int m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_crColor = 0;
    bool m_bCreated = false;
};

class CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF crColor);
    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL DeleteObject();
    bool IsCreated() const { return m_bCreated; }

    bool IsHollow() const { return m_bHollow; }
    COLORREF Color() const { return m_crColor; }

    static CBrush* Stock(int nIndex);

private:
    COLORREF m_crColor = 0;
    bool m_bHollow = false;
    bool m_bCreated = false;
};

class CDC;

// A bitmap compatible with the display: 32 bits per pixel.
class CBitmap : public CGdiObject {
public:
    CBitmap();
    ~CBitmap() override;
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);
    BOOL DeleteObject();
    bool IsCreated() const { return m_pImage != nullptr; }
    CSize GetSize() const;

    // The pixels, for the framework's own use.
    QImage* Image() const { return m_pImage.get(); }
    void Attach(std::unique_ptr<QImage> image);

private:
    std::unique_ptr<QImage> m_pImage;
};

class CWnd;
using HWND = CWnd*;
using HDC = CDC*;
using HBITMAP = CBitmap*;
using HGDIOBJ = CGdiObject*;

HGDIOBJ GetStockObject(int nIndex);
// Frees an object a Create function of the platform made; FALSE for any other (a stock
// object, a CPen or CBrush that its owner keeps).
BOOL DeleteObject(HGDIOBJ hObject);
// Keeps an object for the platform's Create functions until DeleteObject frees it;
// framework-internal.
HGDIOBJ AfxAddGdiHandle(std::unique_ptr<CGdiObject> pObject);

// Whether a rectangle, or an ellipse, with these corners (in any order) drawn with a solid pen
// of nPenWidth and a solid brush paints every pixel of the area, with its pen or its brush:
// then nothing drawn before it shows there.
BOOL FigureCoversRect(BOOL bEllipse, LPCRECT lpFigure, int nPenWidth, LPCRECT lpArea);
// The same for a line drawn with a solid pen of nPenWidth; where the pen's edge runs within
// a pixel or so of the area, it counts as not covering it.
BOOL LineCoversRect(POINT from, POINT to, int nPenWidth, LPCRECT lpArea);

// A platform palette; made by CreatePalette, freed by DeleteObject (framework/Palette.h).
struct PaletteObject;
using HPALETTE = PaletteObject*;

class CDC : public CObject {
public:
    CDC();
    ~CDC() override;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() { return this; }

    // A memory context holding a 1 × 1 bitmap until another is selected into it.
    BOOL CreateCompatibleDC(CDC* pDC);
    // A context drawing on the same pixels as pDC, within pDC's clip, with objects of its own:
    // for drawing parts of one picture side by side on several threads. What it draws is not
    // reported to pDC: within a paint, the paint shows its whole area. FALSE when pDC has no
    // pixels (a printer) or this context already draws somewhere.
    BOOL CreateSharingDC(const CDC* pDC);
    BOOL DeleteDC();

    CPen* SelectObject(CPen* pPen);
    CBrush* SelectObject(CBrush* pBrush);
    CBitmap* SelectObject(CBitmap* pBitmap);
    CGdiObject* SelectStockObject(int nIndex);
    CPen* GetCurrentPen() const { return m_pPen; }
    CBrush* GetCurrentBrush() const { return m_pBrush; }

    HPALETTE SelectPalette(HPALETTE hPalette, BOOL bForceBackground);
    UINT RealizePalette();
    HPALETTE GetCurrentPalette() const { return m_hPalette; }

    int SetROP2(int nDrawMode);
    int GetROP2() const { return m_nDrawMode; }
    int SetStretchBltMode(int nStretchMode);
    int GetStretchBltMode() const { return m_nStretchMode; }

    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT pt) { return MoveTo(pt.x, pt.y); }
    CPoint GetCurrentPosition() const { return m_ptCurrent; }
    // Draws from the current position up to, not including, (x, y).
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT pt) { return LineTo(pt.x, pt.y); }
    // Corners in any order; covers [left, right) × [top, bottom) of the ordered rectangle.
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL Ellipse(int x1, int y1, int x2, int y2);
    BOOL Ellipse(LPCRECT lpRect);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                DWORD dwRop);
    // Copies the source rectangle scaled to the destination rectangle (SRCCOPY only): with
    // the HALFTONE stretch mode smoothly filtered, otherwise pixel by pixel.
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF crColor);

    int GetDeviceCaps(int nIndex) const;

    // Where the logical point (0, 0) lies on the device: what is drawn at (x, y) lands on the
    // device pixel (x + org.x, y + org.y). Figures, the clip, the bounds and pixel positions
    // are logical; the clip stays where it lies on the device when the origin moves.
    CPoint SetViewportOrg(int x, int y);
    CPoint GetViewportOrg() const { return m_ptViewportOrg; }

    // The clip: drawing on the context's pixels lands only inside it. Narrowing it to a
    // rectangle, and null for no clip, give the region's kind (NULLREGION, SIMPLEREGION).
    // No clip still leaves the context's own limit (a paint's area).
    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int SelectClipRgn(std::nullptr_t);
    // The clip's rectangle; the whole surface, or the context's limit, without one.
    int GetClipBox(LPRECT lpRect) const;
    // The bounds of what was drawn since the last reset (DCB_RESET resets them afterwards);
    // DCB_SET when there are any, DCB_RESET when nothing was drawn.
    UINT GetBoundsRect(LPRECT lpRectBounds, UINT flags);

    // The pixels this context draws on, or null (a printer, or no bitmap).
    QImage* Surface() const { return m_pSurface; }
    // Reports pixels written into the surface: they join the bounds, and OnChanged hears.
    void SurfaceChanged(const CRect& bounds);

protected:
    // A context drawing on a surface that someone else owns (a window's).
    void AttachSurface(QImage* pSurface);
    // Limits every drawing to the logical rectangle, whatever clip is selected later: a
    // window's paint draws only on the area it is for.
    void LimitTo(const CRect& rect);
    // A context drawing through a painter (printing).
    void AttachPainter(QPainter* pPainter, int nLogPixels);
    // Called with the bounds of every change to the surface.
    virtual void OnChanged(const CRect& bounds);

private:
    friend struct DcAccess;
    void UpdateSurface();
    // Runs one drawing step on the surface and reports what it changed. A step that touches
    // only a border nBorder pixels wide inside the bounds of what it touched (a hollow
    // rectangle) reports the four sides apart, so that a window shows only those again.
    BOOL Draw(const std::function<void(raster::Canvas&)>& draw, int nBorder = 0);
    // A rectangle or an ellipse with the selected pen and brush, corners in any order.
    using FigureFn = void (raster::Canvas::*)(std::int64_t, std::int64_t, std::int64_t,
                                              std::int64_t, const raster::Stroke&,
                                              const raster::Ink*);
    BOOL Figure(int x1, int y1, int x2, int y2, FigureFn figure);

    QImage* m_pSurface = nullptr;
    QPainter* m_pPainter = nullptr;
    int m_nLogPixels = 96;
    bool m_bMemory = false;
    CBitmap m_defaultBitmap;
    CPen* m_pPen;
    CBrush* m_pBrush;
    CBitmap* m_pBitmap = nullptr;
    HPALETTE m_hPalette;
    int m_nDrawMode = R2_COPYPEN;
    int m_nStretchMode = BLACKONWHITE;
    CPoint m_ptCurrent;
    CPoint m_ptViewportOrg;
    bool m_bClipped = false;
    CRect m_rcClip;   // on the device, inside the limit
    bool m_bLimited = false;
    CRect m_rcLimit;  // on the device
    CRect m_rcBounds; // of what was drawn since the bounds were last reset
};

// The screen's device context (hWnd null); windows hand out their own. Each context from
// GetDC lives until it is given back with ReleaseDC.
HDC GetDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
