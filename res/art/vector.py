"""Pictures made of a few filled and stroked figures, written as SVG and rasterised to RGBA.

Both come from the same figures, so the scalable icon and its fixed sizes agree: a stroke is
centred on its outline as SVG draws it, a line has butt ends, and a circle's stroke is the ring
between two circles (SVG's offset of a circle is a circle). The rasteriser takes 4 x 4 samples
a pixel, each the colour of the last figure that covers it, and averages them.
"""

import math
from dataclasses import dataclass

SAMPLES = 4


@dataclass
class Rect:
    left: float
    top: float
    right: float
    bottom: float
    fill: str = None
    stroke: str = None
    width: float = 0.0


@dataclass
class Circle:
    cx: float
    cy: float
    r: float
    fill: str = None
    stroke: str = None
    width: float = 0.0


@dataclass
class Line:
    x0: float
    y0: float
    x1: float
    y1: float
    stroke: str
    width: float


@dataclass
class Polygon:
    points: list
    fill: str


def svg(figures, size):
    """The figures as an SVG document whose user space is size x size."""
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" '
           f'viewBox="0 0 {size} {size}">']
    for f in figures:
        if isinstance(f, Rect):
            out.append(f'  <rect x="{f.left:g}" y="{f.top:g}" width="{f.right - f.left:g}" '
                       f'height="{f.bottom - f.top:g}"{paint(f)}/>')
        elif isinstance(f, Circle):
            out.append(f'  <circle cx="{f.cx:g}" cy="{f.cy:g}" r="{f.r:g}"{paint(f)}/>')
        elif isinstance(f, Line):
            out.append(f'  <line x1="{f.x0:g}" y1="{f.y0:g}" x2="{f.x1:g}" y2="{f.y1:g}" '
                       f'stroke="{f.stroke}" stroke-width="{f.width:g}"/>')
        else:
            points = ' '.join(f'{x:g},{y:g}' for x, y in f.points)
            out.append(f'  <polygon points="{points}" fill="{f.fill}"/>')
    out.append('</svg>')
    return '\n'.join(out) + '\n'


def paint(f):
    text = f' fill="{f.fill or "none"}"'
    if f.stroke:
        text += f' stroke="{f.stroke}" stroke-width="{f.width:g}"'
    return text


def areas(f):
    """A figure as (colour, bounds, covers(x, y)) in painting order: fill, then stroke."""
    if isinstance(f, Rect):
        def in_rect(grow):
            return lambda x, y: (f.left - grow <= x < f.right + grow and
                                 f.top - grow <= y < f.bottom + grow)
        half = f.width / 2
        bounds = (f.left - half, f.top - half, f.right + half, f.bottom + half)
        if f.fill:
            yield f.fill, bounds, in_rect(0)
        if f.stroke:
            outer, inner = in_rect(half), in_rect(-half)
            yield f.stroke, bounds, lambda x, y: outer(x, y) and not inner(x, y)
    elif isinstance(f, Circle):
        def distance(x, y):
            return math.hypot(x - f.cx, y - f.cy)
        half = f.width / 2
        reach = f.r + half
        bounds = (f.cx - reach, f.cy - reach, f.cx + reach, f.cy + reach)
        if f.fill:
            yield f.fill, bounds, lambda x, y: distance(x, y) <= f.r
        if f.stroke:
            yield f.stroke, bounds, lambda x, y: abs(distance(x, y) - f.r) <= half
    elif isinstance(f, Line):
        dx, dy = f.x1 - f.x0, f.y1 - f.y0
        length = math.hypot(dx, dy)
        ux, uy = dx / length, dy / length
        nx, ny = -uy * f.width / 2, ux * f.width / 2
        yield from areas(Polygon([(f.x0 + nx, f.y0 + ny), (f.x1 + nx, f.y1 + ny),
                                  (f.x1 - nx, f.y1 - ny), (f.x0 - nx, f.y0 - ny)], f.stroke))
    else:
        xs, ys = [p[0] for p in f.points], [p[1] for p in f.points]
        yield f.fill, (min(xs), min(ys), max(xs), max(ys)), lambda x, y: inside(f.points, x, y)


def inside(points, x, y):
    """Whether a point lies inside a polygon, by the even-odd rule."""
    result = False
    for (x0, y0), (x1, y1) in zip(points, points[1:] + points[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            result = not result
    return result


def rgb(colour):
    return tuple(int(colour[i:i + 2], 16) for i in (1, 3, 5))


def rasterise(figures, size, pixels):
    """The figures, whose user space is size x size, as rows of RGBA pixels, pixels x pixels."""
    n = pixels * SAMPLES
    scale = size / n
    samples = [[None] * n for _ in range(n)]
    for f in figures:
        for colour, (left, top, right, bottom), covers in areas(f):
            value = rgb(colour)
            x_range = range(max(0, int(left / scale)), min(n, int(right / scale) + 1))
            for j in range(max(0, int(top / scale)), min(n, int(bottom / scale) + 1)):
                y = (j + 0.5) * scale
                row = samples[j]
                for i in x_range:
                    if covers((i + 0.5) * scale, y):
                        row[i] = value
    return [[average(samples, x, y) for x in range(pixels)] for y in range(pixels)]


def average(samples, x, y):
    """One pixel's samples as RGBA: the mean colour of what is covered, and how much is."""
    covered = [samples[y * SAMPLES + j][x * SAMPLES + i]
               for j in range(SAMPLES) for i in range(SAMPLES)]
    covered = [c for c in covered if c is not None]
    if not covered:
        return (0, 0, 0, 0)
    mean = [round(sum(c[k] for c in covered) / len(covered)) for k in range(3)]
    return (*mean, round(255 * len(covered) / SAMPLES ** 2))
