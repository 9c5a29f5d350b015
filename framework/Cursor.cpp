#include "Cursor.h"

#include <array>

namespace {

constexpr std::array<CursorObject, 9> kCursors = {{{IDC_ARROW},
                                                   {IDC_IBEAM},
                                                   {IDC_WAIT},
                                                   {IDC_CROSS},
                                                   {IDC_SIZENWSE},
                                                   {IDC_SIZENESW},
                                                   {IDC_SIZEWE},
                                                   {IDC_SIZENS},
                                                   {IDC_SIZEALL}}};

HCURSOR g_current = &kCursors[0];

} // namespace

HCURSOR LoadCursor(std::nullptr_t, int nIDCursor)
{
    for (const CursorObject& c : kCursors)
        if (c.id == nIDCursor)
            return &c;
    return nullptr;
}

HCURSOR SetCursor(HCURSOR hCursor)
{
    HCURSOR old = g_current;
    g_current = hCursor;
    return old;
}

HCURSOR GetCursor() { return g_current; }
