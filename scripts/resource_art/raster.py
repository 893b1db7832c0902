"""A small anti-aliased rasteriser: shapes are signed distance fields in pixel units (pixel
(i, j) covers [i, i+1] x [j, j+1], its centre is (i + 0.5, j + 0.5)), and a pixel's coverage is
0.5 minus the distance at its centre, clamped to [0, 1]. Edges placed on whole-pixel lines
therefore come out perfectly sharp, which is what the 16 x 16 pictures rely on."""
import math


def clamp01(v):
    return 0.0 if v < 0.0 else (1.0 if v > 1.0 else v)


def mix(c0, c1, t):
    """Colour between c0 and c1 (RGB tuples of 0..255) at t in [0, 1]."""
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def ramp(stops, t):
    """Colour at t along a list of (position, colour) stops in increasing position."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / (t1 - t0))
    return stops[-1][1]


def linear(p0, p1, stops):
    """Paint: a gradient along the line p0 -> p1 (stops at 0..1 along it)."""
    dx, dy = p1[0] - p0[0], p1[1] - p0[1]
    k = 1.0 / (dx * dx + dy * dy)
    return lambda x, y: ramp(stops, ((x - p0[0]) * dx + (y - p0[1]) * dy) * k)


def vertical(y0, y1, stops):
    return linear((0.0, y0), (0.0, y1), stops)


def radial(cx, cy, r, stops):
    return lambda x, y: ramp(stops, math.hypot(x - cx, y - cy) / r)


# ---------------------------------------------------------------- shapes


class Shape:
    bbox = (0.0, 0.0, 0.0, 0.0)

    def sd(self, x, y):
        raise NotImplementedError


class Box(Shape):
    """Axis-aligned rectangle [x0, x1] x [y0, y1] with corner radius r."""

    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.bbox = (x0, y0, x1, y1)
        self.cx, self.cy = (x0 + x1) / 2, (y0 + y1) / 2
        self.hx, self.hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r
        self.r = r

    def sd(self, x, y):
        qx = abs(x - self.cx) - self.hx
        qy = abs(y - self.cy) - self.hy
        if qx > 0.0 and qy > 0.0:
            return math.hypot(qx, qy) - self.r
        return max(qx, qy) - self.r


class Circle(Shape):
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r
        self.bbox = (cx - r, cy - r, cx + r, cy + r)

    def sd(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r


class Ellipse(Shape):
    def __init__(self, cx, cy, rx, ry):
        self.cx, self.cy, self.rx, self.ry = cx, cy, rx, ry
        self.bbox = (cx - rx, cy - ry, cx + rx, cy + ry)

    def sd(self, x, y):
        px, py = (x - self.cx) / self.rx, (y - self.cy) / self.ry
        k0 = math.hypot(px, py)
        k1 = math.hypot(px / self.rx, py / self.ry)
        if k1 == 0.0:
            return -min(self.rx, self.ry)
        return k0 * (k0 - 1.0) / k1


def _bbox_of(points, pad=0.0):
    xs = [p[0] for p in points]
    ys = [p[1] for p in points]
    return (min(xs) - pad, min(ys) - pad, max(xs) + pad, max(ys) + pad)


def _segments(points, closed):
    pairs = list(zip(points, points[1:]))
    if closed:
        pairs.append((points[-1], points[0]))
    # Each segment's origin, direction and 1 / |direction|^2.
    out = []
    for (ax, ay), (bx, by) in pairs:
        dx, dy = bx - ax, by - ay
        ll = dx * dx + dy * dy
        out.append((ax, ay, dx, dy, 1.0 / ll if ll else 0.0))
    return out


class _SegmentGrid:
    """Segments filed by the square cells their neighbourhood touches, so that the distance
    of a point is taken over the few segments near it. Beyond REACH pixels from every
    segment the distance is reported as REACH, which is all any caller needs (coverage and
    outlines look no further than a few pixels)."""

    CELL = 8.0
    REACH = 6.0

    def __init__(self, segs, pad=0.0):
        self.cells = {}
        reach = self.REACH + pad
        for seg in segs:
            ax, ay, dx, dy, _ = seg
            x0, x1 = sorted((ax, ax + dx))
            y0, y1 = sorted((ay, ay + dy))
            for cy in range(int((y0 - reach) // self.CELL), int((y1 + reach) // self.CELL) + 1):
                for cx in range(int((x0 - reach) // self.CELL),
                                int((x1 + reach) // self.CELL) + 1):
                    self.cells.setdefault((cx, cy), []).append(seg)

    def distance(self, x, y):
        segs = self.cells.get((int(x // self.CELL), int(y // self.CELL)))
        if not segs:
            return self.REACH
        return min(math.sqrt(_segment_distance2(segs, x, y)), self.REACH)


def _segment_distance2(segs, x, y):
    best = 1e18
    for ax, ay, dx, dy, inv in segs:
        px, py = x - ax, y - ay
        t = (px * dx + py * dy) * inv
        t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
        ex, ey = px - dx * t, py - dy * t
        d2 = ex * ex + ey * ey
        if d2 < best:
            best = d2
    return best


class Polygon(Shape):
    """A closed polygon (even-odd rule)."""

    def __init__(self, points):
        self.points = list(points)
        self.segs = _segments(self.points, True)
        self.grid = _SegmentGrid(self.segs)
        self.bbox = _bbox_of(self.points)
        self._row_y, self._row = None, ()

    def _crossings(self, y):
        # The x positions where the horizontal line at y crosses the outline, kept for the
        # row being painted.
        if y != self._row_y:
            xs = []
            for ax, ay, dx, dy, _ in self.segs:
                if (ay > y) != (ay + dy > y):
                    xs.append(ax + dx * (y - ay) / dy)
            self._row_y, self._row = y, sorted(xs)
        return self._row

    def sd(self, x, y):
        d = self.grid.distance(x, y)
        inside = False
        for cx in self._crossings(y):
            if cx > x:
                break
            inside = not inside
        return -d if inside else d


class Stroke(Shape):
    """A polyline of the given width with round caps and joins."""

    def __init__(self, points, width, closed=False):
        self.half = width / 2
        self.grid = _SegmentGrid(_segments(list(points), closed), self.half)
        self.bbox = _bbox_of(points, self.half)

    def sd(self, x, y):
        return self.grid.distance(x, y) - self.half


class Union(Shape):
    def __init__(self, *shapes):
        self.shapes = shapes
        boxes = [s.bbox for s in shapes]
        self.bbox = (min(b[0] for b in boxes), min(b[1] for b in boxes),
                     max(b[2] for b in boxes), max(b[3] for b in boxes))

    def sd(self, x, y):
        return min(s.sd(x, y) for s in self.shapes)


class Intersect(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = (max(a.bbox[0], b.bbox[0]), max(a.bbox[1], b.bbox[1]),
                     min(a.bbox[2], b.bbox[2]), min(a.bbox[3], b.bbox[3]))

    def sd(self, x, y):
        return max(self.a.sd(x, y), self.b.sd(x, y))


class Subtract(Shape):
    def __init__(self, a, b):
        self.a, self.b = a, b
        self.bbox = a.bbox

    def sd(self, x, y):
        return max(self.a.sd(x, y), -self.b.sd(x, y))


class Grow(Shape):
    """The shape grown by k pixels (shrunk for negative k)."""

    def __init__(self, shape, k):
        self.shape, self.k = shape, k
        b = shape.bbox
        self.bbox = (b[0] - k, b[1] - k, b[2] + k, b[3] + k)

    def sd(self, x, y):
        return self.shape.sd(x, y) - self.k


class Turn(Shape):
    """The shape turned by an angle (degrees, clockwise on screen) about (cx, cy)."""

    def __init__(self, shape, angle, cx, cy):
        self.shape, self.cx, self.cy = shape, cx, cy
        a = math.radians(angle)
        self.cos, self.sin = math.cos(a), math.sin(a)
        x0, y0, x1, y1 = shape.bbox
        corners = [self.forward(x, y) for x in (x0, x1) for y in (y0, y1)]
        self.bbox = _bbox_of(corners)

    def forward(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return (self.cx + dx * self.cos - dy * self.sin, self.cy + dx * self.sin + dy * self.cos)

    def back(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        return (self.cx + dx * self.cos + dy * self.sin, self.cy - dx * self.sin + dy * self.cos)

    def sd(self, x, y):
        return self.shape.sd(*self.back(x, y))

    def paint(self, paint):
        """A paint that follows the turn, for shapes painted with a gradient."""
        if not callable(paint):
            return paint
        return lambda x, y: paint(*self.back(x, y))


# ---------------------------------------------------------------- curves


def quad(p0, p1, p2, n=12):
    """Points of a quadratic Bezier curve, p0 included, p2 included."""
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        pts.append((u * u * p0[0] + 2 * u * t * p1[0] + t * t * p2[0],
                    u * u * p0[1] + 2 * u * t * p1[1] + t * t * p2[1]))
    return pts


def cubic(p0, p1, p2, p3, n=16):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        a, b, c, d = u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t
        pts.append((a * p0[0] + b * p1[0] + c * p2[0] + d * p3[0],
                    a * p0[1] + b * p1[1] + c * p2[1] + d * p3[1]))
    return pts


def arc(cx, cy, r, a0, a1, n=16):
    """Points on a circle from angle a0 to a1 (degrees, 0 = east, clockwise on screen)."""
    out = []
    for i in range(n + 1):
        a = math.radians(a0 + (a1 - a0) * i / n)
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


# ---------------------------------------------------------------- canvas


class Canvas:
    """RGBA pixels, stored premultiplied as floats (colour 0..255, alpha 0..1)."""

    def __init__(self, w, h, background=None):
        self.w, self.h = w, h
        n = w * h
        if background is None:
            self.r, self.g, self.b, self.a = [0.0] * n, [0.0] * n, [0.0] * n, [0.0] * n
        else:
            self.r = [float(background[0])] * n
            self.g = [float(background[1])] * n
            self.b = [float(background[2])] * n
            self.a = [1.0] * n

    def _span(self, bbox):
        x0 = max(0, int(math.floor(bbox[0])) - 1)
        y0 = max(0, int(math.floor(bbox[1])) - 1)
        x1 = min(self.w, int(math.ceil(bbox[2])) + 1)
        y1 = min(self.h, int(math.ceil(bbox[3])) + 1)
        return x0, y0, x1, y1

    def put(self, i, colour, alpha):
        """Composites one colour with the given alpha over pixel index i."""
        k = 1.0 - alpha
        self.r[i] = colour[0] * alpha + self.r[i] * k
        self.g[i] = colour[1] * alpha + self.g[i] * k
        self.b[i] = colour[2] * alpha + self.b[i] * k
        self.a[i] = alpha + self.a[i] * k

    def fill(self, shape, paint, opacity=1.0):
        """Paints the shape with a colour tuple or a paint function of (x, y)."""
        x0, y0, x1, y1 = self._span(shape.bbox)
        solid = not callable(paint)
        for y in range(y0, y1):
            cy = y + 0.5
            row = y * self.w
            for x in range(x0, x1):
                cov = 0.5 - shape.sd(x + 0.5, cy)
                if cov <= 0.0:
                    continue
                if cov > 1.0:
                    cov = 1.0
                self.put(row + x, paint if solid else paint(x + 0.5, cy), cov * opacity)

    def outlined(self, shape, fill, outline, width=1.0):
        """The shape in the outline colour with its inside, width pixels in, in the fill."""
        self.fill(shape, outline)
        self.fill(Grow(shape, -width), fill)

    def mask(self, coverage, w, h, x, y, paint, opacity=1.0):
        """Paints a coverage mask (w * h floats 0..1) with its top-left at (x, y)."""
        solid = not callable(paint)
        for j in range(h):
            ty = y + j
            if not 0 <= ty < self.h:
                continue
            for i in range(w):
                tx = x + i
                c = coverage[j * w + i]
                if c <= 0.0 or not 0 <= tx < self.w:
                    continue
                colour = paint if solid else paint(tx + 0.5, ty + 0.5)
                self.put(ty * self.w + tx, colour, c * opacity)

    def draw(self, other, x, y, opacity=1.0):
        """Composites another canvas over this one with its top-left at (x, y)."""
        R, G, B, A = self.r, self.g, self.b, self.a
        oR, oG, oB, oA = other.r, other.g, other.b, other.a
        i0, i1 = max(0, -x), min(other.w, self.w - x)
        for j in range(max(0, -y), min(other.h, self.h - y)):
            src = j * other.w
            dst = (y + j) * self.w + x
            for i in range(i0, i1):
                k = src + i
                a = oA[k] * opacity
                if a <= 0.0:
                    continue
                t = dst + i
                inv = 1.0 - a
                R[t] = oR[k] * opacity + R[t] * inv
                G[t] = oG[k] * opacity + G[t] * inv
                B[t] = oB[k] * opacity + B[t] * inv
                A[t] = a + A[t] * inv

    def pixel(self, x, y):
        """Straight (not premultiplied) RGBA of a pixel, colour rounded to 0..255."""
        i = y * self.w + x
        a = self.a[i]
        if a <= 0.0:
            return (0, 0, 0, 0.0)
        return (min(255, int(self.r[i] / a + 0.5)), min(255, int(self.g[i] / a + 0.5)),
                min(255, int(self.b[i] / a + 0.5)), a)

    def _flat(self, background):
        """The three channels flattened over a background colour, as lists of 0..255."""
        # Premultiplied colour never exceeds 255 * alpha, so no sum passes 255.5.
        out = []
        for channel, ground in zip((self.r, self.g, self.b), background):
            out.append([int(v + ground * (1.0 - a) + 0.5) for v, a in zip(channel, self.a)])
        return out

    def rgb_rows(self, background=(255, 255, 255)):
        """Rows of (r, g, b) tuples, the picture flattened over a background colour."""
        r, g, b = self._flat(background)
        w = self.w
        return [list(zip(r[y * w:(y + 1) * w], g[y * w:(y + 1) * w], b[y * w:(y + 1) * w]))
                for y in range(self.h)]

    def rgb_bytes(self, background=(255, 255, 255)):
        """The picture flattened over a background colour, as R, G, B bytes row by row."""
        out = bytearray(3 * self.w * self.h)
        for k, channel in enumerate(self._flat(background)):
            out[k::3] = bytes(channel)
        return bytes(out)

    def keyed_rows(self, key, edge_background, threshold=0.5):
        """Rows for a bitmap with a mask colour: pixels less covered than the threshold
        become the key colour exactly; partly covered edges are flattened over the colour
        the picture will usually stand on, so no key colour bleeds into them."""
        rows = self.rgb_rows(edge_background)
        for y in range(self.h):
            for x in range(self.w):
                if self.a[y * self.w + x] < threshold:
                    rows[y][x] = tuple(key)
        return rows

    def scaled(self, factor):
        """A copy enlarged by an integer factor, each pixel a block (for previews)."""
        out = Canvas(self.w * factor, self.h * factor)
        for y in range(out.h):
            src = (y // factor) * self.w
            dst = y * out.w
            for x in range(out.w):
                k = src + x // factor
                out.r[dst + x] = self.r[k]
                out.g[dst + x] = self.g[k]
                out.b[dst + x] = self.b[k]
                out.a[dst + x] = self.a[k]
        return out
