// The program's raster image: one device-independent bitmap in the BMP layout, with the
// palette used to show it.
#pragma once

#include "framework/core/File.h"
#include "framework/core/Progress.h"
#include "framework/core/Types.h"
#include "framework/gdi/Dib.h"
#include "framework/gdi/Gdi.h"
#include "framework/gdi/Palette.h"
#include "framework/gdi/PictureReader.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CBaseImage {
public:
    CBaseImage();
    virtual ~CBaseImage();
    CBaseImage(const CBaseImage&) = delete;
    CBaseImage& operator=(const CBaseImage&) = delete;

    // A blank image of nColors colours (0 for 24 bits, 2, 16 or 256), every pixel crFill
    // (palette images: its exact entry in the default palette, else entry 0).
    BOOL Create(int nWidth, int nHeight, int nColors, COLORREF crFill);
    // An 8-bit image, every pixel 0, with the caller's 256 colours as palette.
    void CreateFromColorTable(int nWidth, int nHeight, const COLORREF* pColors);
    // The info header of a new image, without pixels or palette; FALSE with the image as it
    // was for a size or colour count it can't have.
    BOOL CreateHeader(int nWidth, int nHeight, int nColors);
    // A zeroed info block for a 40-byte header and nColors colour-table entries, in place of
    // the header and the pixels held so far.
    BOOL AllocBmInfo(int nColors);
    // The logical palette and its palette object: from the colour table, or the 6 × 6 × 6
    // colour cube written into the colour table as well.
    BOOL BuildPalette(BOOL bFromColorTable);
    // The first palette entry exactly equal to cr, or -1.
    int FindColorIndex(COLORREF cr) const;
    // Width and height as stored (negative for top-down rows); empty without a header.
    CSize GetSize() const;

    // Reads a BMP file, or one that begins `offset` bytes into the file: the regular file at
    // the path (opened without blocking on anything else), an open file (whose name is then
    // `name`, the one SaveBMP(nullptr) writes to), or the bytes of a file. On FALSE the image
    // holds what it held before, its file name and file header included.
    BOOL LoadBMP(const char* pszPath, std::uint64_t offset = 0);
    BOOL LoadBMP(CFileHandle& file, std::string name, std::uint64_t offset = 0);
    BOOL LoadBMP(const std::vector<BYTE>& bytes);
    // Reads a picture, as a 24-bit image: of another format (PNG, JPEG, GIF, TIFF, WebP, ICO;
    // see CPictureReader, whose bound on decoding holds), or a BMP file through LoadBMP, from
    // the regular file at the path, an open file (from its start; its name is `name`) or the
    // bytes of a file. With a progress it reports how far it got and stops, as Cancelled, soon
    // after the progress is cancelled; safe on any thread. Unless it was Read, the image holds
    // what it held before.
    CPictureReader::Result LoadPicture(const char* pszPath, CProgress* pProgress = nullptr);
    CPictureReader::Result LoadPicture(CFileHandle& file, std::string name,
                                       CProgress* pProgress = nullptr);
    CPictureReader::Result LoadPicture(std::vector<BYTE> bytes, CProgress* pProgress = nullptr);
    // Writes the image as a BMP file (null: to the name last loaded or saved). An existing
    // file is replaced only when the whole new one is written; on FALSE the last error says
    // why.
    BOOL SaveBMP(const char* pszPath);

    // Shows the whole image unscaled with its top-left corner at (x, y).
    BOOL Draw(int x, int y, HDC hDC);
    // Selects a palette made from the device's system palette; FALSE on a device without one.
    BOOL UseSystemPalette(HDC hDC);
    // Draws the image into m_pBitmap, a new bitmap compatible with the display.
    void RenderToBitmap();

    // Hands the image as a complete BMP file to `write` piece by piece; FALSE when a piece
    // fails. Reads nothing but the pixels and headers, so another thread may write a picture
    // that no one changes.
    BOOL WriteTo(const ByteSink& write) const;

    // Writes the kCaptureWidth × kCaptureHeight pixels at the origin of pSrcDC as a BMP file;
    // pDC is the window's context that the copy is made compatible with. On FALSE the last
    // error says why.
    BOOL CaptureToFile(CDC* pDC, CDC* pSrcDC, std::string strPath);
    static constexpr int kCaptureWidth = 800;
    static constexpr int kCaptureHeight = 600;
    // Writes a bitmap as a BMP file: palette depths kept, deeper ones as 24 bits.
    BOOL WriteBitmapFile(HBITMAP hBitmap, std::string strPath);
    // Hands the same bytes to `write`; FALSE when the bitmap's pixels cannot be had or a
    // piece fails.
    static BOOL WriteBitmap(HBITMAP hBitmap, const ByteSink& write);

    // Kept as the image's published layout has them; nothing reads them.
    int m_nDefaultWidth;
    int m_nDefaultHeight;
    BITMAPFILEHEADER m_bmfHeader{};
    // The raw pointers below are views into the blocks the image owns (at the end of the
    // class), never owners themselves; SyncViews sets every one of them from the blocks.
    // The info header, with the masks of a 40-byte BI_BITFIELDS header and the colour table
    // behind it: the own info block, or the start of the file data.
    BITMAPINFO* m_pBmInfo = nullptr;
    // The pixel rows: the own pixel block, or the file data m_nBitsOffset bytes in.
    BYTE* m_pBits = nullptr;
    // Everything behind the file header of a loaded file.
    BYTE* m_pFileData = nullptr;
    int m_nRowPad = 0;
    int m_nColors = 0;
    LOGPALETTE* m_pLogPalette = nullptr;
    CPalette* m_pPalette = nullptr;
    std::string m_strFileName; // the file last loaded or saved
    CBitmap* m_pBitmap = nullptr;

private:
    // Points every raw pointer above into the blocks that hold what it views.
    void SyncViews();
    // Exchanges everything that describes the picture (pixels, headers, palette, file name)
    // with another image.
    void Swap(CBaseImage& other) noexcept;
    // Takes over a checked file: its data, and its rebuilt info block if it needed one.
    void Adopt(FileBlock fileData, FileBlock info, std::size_t bitsOffset, int nColors);
    // Reads a BMP file from a source of `length` bytes, read at an offset by `read`, which
    // returns fewer bytes than asked only at the end.
    BOOL LoadBMPFrom(std::uint64_t length,
                     const std::function<std::size_t(std::uint64_t, void*, std::size_t)>& read,
                     std::string name, std::uint64_t offset);
    // Takes over what the reader decodes; the file name is `name`.
    CPictureReader::Result ReadPicture(CPictureReader& reader, std::string name,
                                       CProgress* pProgress);
    void ReleaseImageData();
    void ReleasePalette();
    // A new logical-palette record for m_nColors entries and an empty palette object.
    BOOL NewPalette();
    RGBQUAD* ColorTable() const;
    void FillPixels(COLORREF crFill);
    BITMAPFILEHEADER FileHeader() const;
    // Bytes of the info header, its masks and the colour table, as written to a file.
    std::size_t InfoBytes() const;
    // Bytes of the pixel block, as written to a file.
    std::size_t PixelBytes() const;

    // The blocks the raw pointers above point into.
    std::size_t m_nBitsOffset = 0; // of the pixels in the file data
    FileBlock m_fileBlock;
    FileBlock m_infoBlock;
    FileBlock m_bitsBlock;
    FileBlock m_logPaletteBlock;
    std::unique_ptr<CPalette> m_palette;
    std::unique_ptr<CPalette> m_systemPalette;
    std::unique_ptr<CBitmap> m_bitmap;
};
