// The client pixels a window keeps: those of the part of its client area that shows, with a
// margin around it, not the whole area. Window-layer private.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>

#include <vector>

class WindowSurface {
public:
    // The part of the client area held: pixel (0, 0) of the pixels is its top-left one.
    const QRect& Rect() const { return m_rect; }
    QImage& Pixels() { return m_pixels; }
    const QImage& Pixels() const { return m_pixels; }

    // Holds at least `need`, a part of the client area `client` large, and nothing beyond the
    // area. A need already held changes nothing, unless what is held is far larger than the
    // need with its margin; otherwise the part held becomes the need with a margin around it,
    // keeping the pixels already held there. Returns what it holds newly: those pixels are
    // unknown, due for a paint. An empty need keeps what is held within the area. Pages are
    // taken as pixels are written, so a margin never painted costs none.
    QRegion Hold(const QRect& need, const QSize& client);
    // Gives the pixels back to the system: the next Hold holds anew, all of it due for a paint.
    void Release();

    // At a zoom other than 100 %: the client pixels as the screen shows them, for the part
    // held, so that a change goes to the screen only where it changed pixels (the box of a
    // hollow figure is mostly untouched, and scaling it all would cost many times the drawing).
    // Pixels never shown are transparent, unlike any of the surface.
    void TrackShown(bool bTrack);
    bool TracksShown() const { return m_bTrackShown && !m_shown.isNull(); }
    // Where within the client rectangle the pixels differ from what the screen shows.
    std::vector<QRect> Changed(const QRect& rect) const;
    // The screen now shows the client pixels of `inside` as they are, and those of the rest
    // of `around` only in part.
    void Shown(const QRect& around, const QRect& inside);

private:
    QRect m_rect;
    QImage m_pixels;
    QImage m_shown;
    bool m_bTrackShown = false;
};
