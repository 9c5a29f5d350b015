#include "Palette.h"

#include <algorithm>
#include <memory>

PaletteObject* PaletteObject::Default()
{
    // The twenty static colours of the default palette.
    static PaletteObject* stock = [] {
        auto* p = new PaletteObject;
        static const BYTE rgb[20][3] = {
            {0, 0, 0},       {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128},
            {128, 0, 128},   {0, 128, 128},   {192, 192, 192}, {192, 220, 192}, {166, 202, 240},
            {255, 251, 240}, {160, 160, 164}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0},
            {255, 255, 0},   {0, 0, 255},     {255, 0, 255},   {0, 255, 255},   {255, 255, 255}};
        for (const auto& c : rgb)
            p->entries.push_back({c[0], c[1], c[2], 0});
        p->m_bStock = true;
        return p;
    }();
    return stock;
}

CPalette::~CPalette() { DeleteObject(); }

BOOL CPalette::CreatePalette(const LOGPALETTE* lpLogPalette)
{
    if (m_hPalette)
        return FALSE;
    m_hPalette = ::CreatePalette(lpLogPalette);
    return m_hPalette ? TRUE : FALSE;
}

BOOL CPalette::DeleteObject()
{
    if (!m_hPalette)
        return FALSE;
    ::DeleteObject(m_hPalette);
    m_hPalette = nullptr;
    return TRUE;
}

int CPalette::GetEntryCount() const { return m_hPalette ? int(m_hPalette->entries.size()) : 0; }

HPALETTE CreatePalette(const LOGPALETTE* lpLogPalette)
{
    if (!lpLogPalette || lpLogPalette->palVersion != 0x300 || lpLogPalette->palNumEntries == 0)
        return nullptr;
    auto palette = std::make_unique<PaletteObject>();
    palette->entries.assign(lpLogPalette->palPalEntry,
                            lpLogPalette->palPalEntry + lpLogPalette->palNumEntries);
    return static_cast<HPALETTE>(AfxAddGdiHandle(std::move(palette)));
}

HPALETTE SelectPalette(HDC hDC, HPALETTE hPalette, BOOL bForceBackground)
{
    return hDC ? hDC->SelectPalette(hPalette, bForceBackground) : nullptr;
}

UINT RealizePalette(HDC hDC) { return hDC ? hDC->RealizePalette() : 0; }

UINT GetSystemPaletteEntries(HDC hDC, UINT, UINT, PALETTEENTRY*)
{
    (void)hDC;
    return 0;
}

int GetDeviceCaps(HDC hDC, int nIndex) { return hDC ? hDC->GetDeviceCaps(nIndex) : 0; }

int SetStretchBltMode(HDC hDC, int nStretchMode)
{
    return hDC ? hDC->SetStretchBltMode(nStretchMode) : 0;
}
