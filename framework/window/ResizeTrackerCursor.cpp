// The tracker's cursor, which needs the window the mouse is over.
#include "Cursor.h"
#include "ResizeTracker.h"
#include "Wnd.h"

BOOL CResizeTracker::SetCursor(CWnd* pWnd, UINT nHitTest) const
{
    if (!pWnd || nHitTest != HTCLIENT)
        return FALSE;
    CPoint point;
    GetCursorPos(&point);
    pWnd->ScreenToClient(&point);
    const int id = GetCursorId(HitTest(point));
    if (id == 0)
        return FALSE;
    ::SetCursor(LoadCursor(nullptr, id));
    return TRUE;
}
