// The system clipboard: the program's own data under a MIME type of its own, and a picture of
// it that other programs can paste; pictures that other programs put there.
#pragma once

#include "framework/core/Types.h"

#include <string>
#include <vector>

class CBitmap;

class CClipboard {
public:
    // Replaces what the clipboard holds with the data and, when given, the bitmap's pixels as
    // a picture (offered as PNG among Qt's image types).
    static void SetData(const char* pszMimeType, const std::vector<BYTE>& data,
                        const CBitmap* pPicture);
    // Whether the clipboard holds the type, as it last announced when it changed: never waits
    // on the program that holds it.
    static bool HasData(const char* pszMimeType);
    // The data under the type; empty when there is none.
    static std::vector<BYTE> GetData(const char* pszMimeType);

    // Replaces what the clipboard holds with the bitmap's pixels as a picture alone.
    static void SetPicture(const CBitmap& picture);
    // Whether the clipboard announced a picture in a format CPictureReader reads.
    static bool HasPicture();
    // The picture as a file of one of those formats (a picture this program put there comes
    // as PNG); empty when there is none.
    static std::vector<BYTE> GetPicture();
};
