// The pictures of the resource tables as Qt icons. Each icon holds every size the tables
// draw, so that Qt picks a sharp one at any display scale instead of enlarging a small one.
// Framework-internal.
#pragma once

#include "Types.h"

#include <QIcon>

#include <vector>

// One icon a button, cut from bitmap `nIDResource` in columns of width × height: the strip's
// picture, and where the tables also hold the strip at scale 2, that picture at device pixel
// ratio 2. The button-face grey is transparent in both. Empty when the bitmap is missing or
// unreadable.
std::vector<QIcon> ToolbarIcons(UINT nIDResource, int width, int height);

// Every image of the ICO file `nIDIcon` as a pixmap of the icon; a null icon when the tables
// hold none.
QIcon ResourceIcon(UINT nIDIcon);
