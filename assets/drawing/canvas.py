"""A small RGBA raster with shapes described by signed distance (negative inside).

Every shape answers `distance(x, y)` and `bounds()`. Filling evaluates the distance at each pixel
centre: with antialiasing the coverage is 0.5 - distance, clamped to 0..1 (exact on straight
edges), without it a pixel is either inside or not. Pictures that are read with a mask colour
(toolbar bitmaps, list pictures) are drawn without antialiasing so that no edge pixel is a blend
with the mask colour.
"""

import math


def clamp01(v):
    return 0.0 if v < 0.0 else 1.0 if v > 1.0 else v


def rgb(hex_text):
    """'#rrggbb' -> (r, g, b) with channels in 0..1."""
    h = hex_text.lstrip("#")
    return tuple(int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4))


def mix(a, b, t):
    return tuple(x + (y - x) * t for x, y in zip(a, b))


def _segment_distance(px, py, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy
    t = 0.0 if length2 == 0 else clamp01(((px - ax) * dx + (py - ay) * dy) / length2)
    ex, ey = px - (ax + t * dx), py - (ay + t * dy)
    return math.sqrt(ex * ex + ey * ey)


class Shape:
    def distance(self, x, y):
        raise NotImplementedError

    def bounds(self):
        raise NotImplementedError

    def __or__(self, other):
        return Union(self, other)

    def __sub__(self, other):
        return Difference(self, other)

    def __and__(self, other):
        return Intersection(self, other)

    def grown(self, amount):
        return Grown(self, amount)

    def moved(self, dx, dy):
        return Moved(self, dx, dy)


class Box(Shape):
    """Axis-aligned box from (x0, y0) to (x1, y1), optionally with rounded corners."""

    def __init__(self, x0, y0, x1, y1, radius=0.0):
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hx, self.hy = (x1 - x0) / 2, (y1 - y0) / 2
        self.r = min(radius, self.hx, self.hy)
        self.box = (x0, y0, x1, y1)

    def distance(self, x, y):
        qx = abs(x - self.cx) - self.hx + self.r
        qy = abs(y - self.cy) - self.hy + self.r
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.r

    def bounds(self):
        return self.box


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry=None):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, rx if ry is None else ry

    def distance(self, x, y):
        dx, dy = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        k = math.hypot(dx, dy)
        if k == 0:
            return -min(self.rx, self.ry)
        gradient = math.hypot(dx / self.rx, dy / self.ry) / k
        return (k - 1.0) / gradient

    def bounds(self):
        return (self.cx - self.rx, self.cy - self.ry, self.cx + self.rx, self.cy + self.ry)


class Polygon(Shape):
    def __init__(self, points):
        self.points = list(points)

    def distance(self, x, y):
        pts = self.points
        best = math.inf
        inside = False
        j = len(pts) - 1
        for i in range(len(pts)):
            ax, ay = pts[j]
            bx, by = pts[i]
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
            if (by > y) != (ay > y) and x < (ax - bx) * (y - by) / (ay - by) + bx:
                inside = not inside
            j = i
        return -best if inside else best

    def bounds(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return (min(xs), min(ys), max(xs), max(ys))


class Stroke(Shape):
    """Polylines drawn with a round pen of the given width."""

    def __init__(self, polylines, width):
        self.segments = []
        for line in polylines:
            for a, b in zip(line, line[1:]):
                self.segments.append((a[0], a[1], b[0], b[1]))
            if len(line) == 1:
                self.segments.append((line[0][0], line[0][1], line[0][0], line[0][1]))
        self.half = width / 2.0

    def distance(self, x, y):
        best = math.inf
        for ax, ay, bx, by in self.segments:
            # Cheap rejection before the exact distance: most segments are far away.
            if min(abs(x - ax), abs(x - bx)) > best and (x - ax) * (x - bx) > 0:
                continue
            best = min(best, _segment_distance(x, y, ax, ay, bx, by))
        return best - self.half

    def bounds(self):
        xs = [s[0] for s in self.segments] + [s[2] for s in self.segments]
        ys = [s[1] for s in self.segments] + [s[3] for s in self.segments]
        h = self.half
        return (min(xs) - h, min(ys) - h, max(xs) + h, max(ys) + h)


def arc(cx, cy, rx, ry, start_degrees, end_degrees, steps=24):
    """Points along an elliptic arc; angles grow clockwise on screen (y points down)."""
    points = []
    for i in range(steps + 1):
        a = math.radians(start_degrees + (end_degrees - start_degrees) * i / steps)
        points.append((cx + rx * math.cos(a), cy + ry * math.sin(a)))
    return points


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes

    def distance(self, x, y):
        return min(s.distance(x, y) for s in self.shapes)

    def bounds(self):
        bs = [s.bounds() for s in self.shapes]
        return (min(b[0] for b in bs), min(b[1] for b in bs), max(b[2] for b in bs),
                max(b[3] for b in bs))


class Intersection(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def distance(self, x, y):
        return max(self.a.distance(x, y), self.b.distance(x, y))

    def bounds(self):
        a, b = self.a.bounds(), self.b.bounds()
        return (max(a[0], b[0]), max(a[1], b[1]), min(a[2], b[2]), min(a[3], b[3]))


class Difference(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b

    def distance(self, x, y):
        return max(self.a.distance(x, y), -self.b.distance(x, y))

    def bounds(self):
        return self.a.bounds()


class Grown(Shape):
    """The shape widened (positive amount) or narrowed (negative) all round."""

    def __init__(self, shape, amount):
        self.shape, self.amount = shape, amount

    def distance(self, x, y):
        return self.shape.distance(x, y) - self.amount

    def bounds(self):
        b = self.shape.bounds()
        a = max(self.amount, 0.0)
        return (b[0] - a, b[1] - a, b[2] + a, b[3] + a)


class Moved(Shape):
    def __init__(self, shape, dx, dy):
        self.shape, self.dx, self.dy = shape, dx, dy

    def distance(self, x, y):
        return self.shape.distance(x - self.dx, y - self.dy)

    def bounds(self):
        b = self.shape.bounds()
        return (b[0] + self.dx, b[1] + self.dy, b[2] + self.dx, b[3] + self.dy)


class Canvas:
    """Non-premultiplied RGBA pixels with channels in 0..1."""

    def __init__(self, width, height, background=(1.0, 1.0, 1.0), alpha=1.0, antialias=True):
        self.width, self.height = width, height
        self.antialias = antialias
        n = width * height
        self.r = [background[0]] * n
        self.g = [background[1]] * n
        self.b = [background[2]] * n
        self.a = [alpha] * n

    def blend(self, x, y, colour, coverage):
        if coverage <= 0.0:
            return
        i = y * self.width + x
        da = self.a[i]
        out_a = coverage + da * (1.0 - coverage)
        keep = da * (1.0 - coverage)
        self.r[i] = (colour[0] * coverage + self.r[i] * keep) / out_a
        self.g[i] = (colour[1] * coverage + self.g[i] * keep) / out_a
        self.b[i] = (colour[2] * coverage + self.b[i] * keep) / out_a
        self.a[i] = out_a

    def fill(self, shape, paint, opacity=1.0):
        """Fills a shape with a colour, or with paint(x, y) -> colour for gradients."""
        x0, y0, x1, y1 = shape.bounds()
        xa, xb = max(0, int(math.floor(x0)) - 1), min(self.width, int(math.ceil(x1)) + 1)
        ya, yb = max(0, int(math.floor(y0)) - 1), min(self.height, int(math.ceil(y1)) + 1)
        solid = not callable(paint)
        for y in range(ya, yb):
            cy = y + 0.5
            for x in range(xa, xb):
                d = shape.distance(x + 0.5, cy)
                if self.antialias:
                    coverage = clamp01(0.5 - d)
                else:
                    coverage = 1.0 if d <= 0.0 else 0.0
                if coverage <= 0.0:
                    continue
                colour = paint if solid else paint(x + 0.5, cy)
                self.blend(x, y, colour, coverage * opacity)

    def set(self, x, y, colour, alpha=1.0):
        i = y * self.width + x
        self.r[i], self.g[i], self.b[i] = colour
        self.a[i] = alpha

    def rgba8(self):
        """Rows top to bottom of (r, g, b, a) byte tuples."""
        def byte(v):
            return int(round(clamp01(v) * 255.0))

        rows = []
        for y in range(self.height):
            row = []
            for x in range(self.width):
                i = y * self.width + x
                row.append((byte(self.r[i]), byte(self.g[i]), byte(self.b[i]), byte(self.a[i])))
            rows.append(row)
        return rows


def scaled(canvas_rows, factor):
    """Nearest-neighbour enlargement of RGBA rows, for previews."""
    out = []
    for row in canvas_rows:
        wide = [p for p in row for _ in range(factor)]
        for _ in range(factor):
            out.append(list(wide))
    return out
