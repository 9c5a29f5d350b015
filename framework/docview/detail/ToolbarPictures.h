// The toolbar pictures of the resource tables as Qt icons. Docview-layer private.
#pragma once

#include "framework/core/Types.h"

#include <QIcon>

#include <vector>

// One icon a button, cut from bitmap `nIDResource` in columns of width × height: the strip's
// picture, and where the tables also hold the strip at scale 2, that picture at device pixel
// ratio 2. The button-face grey is transparent in both. Empty when the bitmap is missing or
// unreadable.
std::vector<QIcon> ToolbarIcons(UINT nIDResource, int width, int height);
