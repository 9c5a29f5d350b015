#include "Cursor.h"

#include "detail/WindowWidget.h"

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

Qt::CursorShape ToQtCursor(HCURSOR hCursor)
{
    switch (hCursor ? hCursor->id : IDC_ARROW) {
    case IDC_IBEAM:
        return Qt::IBeamCursor;
    case IDC_WAIT:
        return Qt::WaitCursor;
    case IDC_CROSS:
        return Qt::CrossCursor;
    case IDC_SIZENWSE:
        return Qt::SizeFDiagCursor;
    case IDC_SIZENESW:
        return Qt::SizeBDiagCursor;
    case IDC_SIZEWE:
        return Qt::SizeHorCursor;
    case IDC_SIZENS:
        return Qt::SizeVerCursor;
    case IDC_SIZEALL:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}
