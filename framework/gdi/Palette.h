// Logical palettes and the palette objects that wrap them. The display is a 32-bit
// true-colour device: palettes can be made, selected and realized, and change no pixel.
#pragma once

#include "Gdi.h"

#include <vector>

struct PALETTEENTRY {
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};

// The platform's record: allocated with room for palNumEntries entries.
struct LOGPALETTE {
    WORD palVersion;
    WORD palNumEntries;
    PALETTEENTRY palPalEntry[1];
};

struct PaletteObject : CGdiObject {
    std::vector<PALETTEENTRY> entries;
    // The stock default palette, selected into every new device context.
    static PaletteObject* Default();
};

// Owns one platform palette, made by CreatePalette and deleted with the object.
class CPalette : public CGdiObject {
public:
    CPalette() = default;
    ~CPalette() override;
    BOOL CreatePalette(const LOGPALETTE* lpLogPalette);
    BOOL DeleteObject();
    HPALETTE GetSafeHandle() const { return m_hPalette; }
    operator HPALETTE() const { return m_hPalette; }
    int GetEntryCount() const;

private:
    HPALETTE m_hPalette = nullptr;
};

HPALETTE CreatePalette(const LOGPALETTE* lpLogPalette);
HPALETTE SelectPalette(HDC hDC, HPALETTE hPalette, BOOL bForceBackground);
UINT RealizePalette(HDC hDC);
// The system palette of a palette device; a true-colour display has none and yields 0.
UINT GetSystemPaletteEntries(HDC hDC, UINT iStart, UINT nEntries, PALETTEENTRY* pEntries);
int GetDeviceCaps(HDC hDC, int nIndex);
int SetStretchBltMode(HDC hDC, int nStretchMode);
