// A window's client pixels shown at a zoom, a whole percentage: where they land on the screen,
// which client pixel a screen pixel shows, and the screen pixels themselves. Client pixel c
// covers the screen span [c · z / 100, (c + 1) · z / 100). Window-layer private.
#pragma once

#include "framework/window/Wnd.h"

#include <QImage>
#include <QRect>

#include <vector>

namespace zoom {

// Client pixels held by an image: the client area is `client` large, and the image holds the
// part of it whose top-left pixel is `origin`.
struct Held {
    const QImage& image;
    QPoint origin;
    QSize client;
};

// Screen pixels that show some of `length` client pixels.
int ScreenLength(int length, int percent);
// The screen pixels that show some of a client rectangle: rounded out.
QRect ScreenRect(const QRect& client, int percent);
// The client pixel a screen pixel shows: the one under the screen pixel's centre.
int ClientPixel(int screenPixel, int percent);
// The screen pixel under a client pixel's centre; at 100 % and above it shows that pixel.
int ScreenPixel(int clientPixel, int percent);
// The client pixels some of whose screen pixels lie in the screen rectangle.
QRect ClientRectAround(const QRect& screen, int percent);
// The client pixels all of whose screen pixels lie in the screen rectangle.
QRect ClientRectInside(const QRect& screen, int percent);
// Where within the rectangle of its pixels the surface differs from what the screen shows
// (`shown`, of the surface's size), in columns of whole chunks of a few pixels; rows that
// differ in the same columns join into one rectangle.
std::vector<QRect> Changed(const QImage& surface, const QImage& shown, const QRect& rect);
// The screen pixels of the screen rectangle `screen` of the client area shown at the zoom,
// from the client pixels the surface holds, which are all that the rectangle shows. At 100 %
// and above each client pixel is a block of equal screen pixels (nearest neighbour); below,
// each screen pixel is the average of the client area it covers, each client pixel weighted
// by how much of it the screen pixel covers. A screen pixel's value never depends on the
// rectangle asked for, nor on what else the surface holds, so parts shown one by one join
// without seams. The result goes to the top-left of `out`, which grows to hold it when it must.
void Zoomed(const Held& surface, const QRect& screen, int percent, QImage& out);
// The same into a 32-bit image that holds it with its top-left pixel at `at`.
void ZoomedInto(const Held& surface, const QRect& screen, int percent, QImage& out, QPoint at);

} // namespace zoom
