// Mouse cursor shapes. SetCursor makes a shape current; the window that asked for it (in its
// cursor handler) shows it while the mouse is over it.
#pragma once

#include "framework/core/Types.h"

#include <cstddef>

constexpr int IDC_ARROW = 32512;
constexpr int IDC_IBEAM = 32513;
constexpr int IDC_WAIT = 32514;
constexpr int IDC_CROSS = 32515;
constexpr int IDC_SIZENWSE = 32642;
constexpr int IDC_SIZENESW = 32643;
constexpr int IDC_SIZEWE = 32644;
constexpr int IDC_SIZENS = 32645;
constexpr int IDC_SIZEALL = 32646;

struct CursorObject {
    int id;
};
using HCURSOR = const CursorObject*;

// One of the system's standard cursors (IDC_*); null for an unknown id.
HCURSOR LoadCursor(std::nullptr_t hInstance, int nIDCursor);
// Makes the cursor current and returns the one that was.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
