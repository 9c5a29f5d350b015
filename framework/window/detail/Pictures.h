// The icons of the resource tables as Qt icons, each holding every size the tables draw, so
// that Qt picks a sharp one at any display scale instead of enlarging a small one.
// Window-layer private.
#pragma once

#include "framework/core/Types.h"

#include <QIcon>

// Every image of the ICO file `nIDIcon` as a pixmap of the icon; a null icon when the tables
// hold none.
QIcon ResourceIcon(UINT nIDIcon);
