"""The program's palette and its recurring motifs: the envelope, the gull, the sky disk and
the small round badges that mark a state."""
import math

from .raster import (Box, Circle, Ellipse, Grow, Intersect, Polygon, Stroke, Turn, Union,
                     mix, quad, vertical)

# Palette: sea blues, white paper, a navy ink line, and a few signal colours.
INK = (27, 52, 90)
INK_SOFT = (92, 116, 152)
BLUE_DEEP = (24, 74, 140)
BLUE = (46, 116, 196)
SKY = (120, 180, 234)
SKY_PALE = (214, 232, 249)
MIST = (238, 244, 251)
WHITE = (255, 255, 255)
PAPER = (255, 254, 248)
PAPER_SHADE = (226, 234, 245)
GULL_SHADE = (196, 210, 226)
WINGTIP = (46, 54, 68)
BEAK = (244, 164, 36)
RED = (214, 50, 50)
RED_DEEP = (160, 28, 30)
GREEN = (44, 156, 76)
GREEN_DEEP = (22, 110, 48)
AMBER = (240, 166, 28)
AMBER_DEEP = (178, 110, 10)
GOLD_PAPER = (255, 234, 150)
GOLD_SHADE = (250, 204, 90)
GREY = (150, 158, 170)
GREY_PALE = (226, 229, 234)


# ---------------------------------------------------------------- envelope


def envelope(cv, x0, y0, x1, y1, line=1.0, flap=0.55, folds=False, corner=1.0,
             paper=(PAPER, PAPER_SHADE), ink=INK, flap_ink=None, turn=0.0):
    """A closed envelope seen from the back: body, V-shaped flap, and (large sizes) the
    two lower folds. flap is how far down the flap's point reaches, as a part of the
    height; turn tilts the whole envelope about its centre (degrees, clockwise)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    if turn:
        tilt = lambda shape: Turn(shape, turn, cx, cy)
    else:
        tilt = lambda shape: shape
    body = Box(x0, y0, x1, y1, corner)
    paint = vertical(y0, y1, [(0.0, paper[0]), (1.0, paper[1])])
    cv.fill(tilt(body), ink)
    turned = tilt(Grow(body, -line))
    cv.fill(turned, turned.paint(paint) if turn else paint)
    tip = y0 + (y1 - y0) * flap
    inset = line / 2
    inner = Grow(body, -line)
    if folds:
        low = y1 - inset
        fold = Stroke([(x0 + inset, low), (cx - (x1 - x0) * 0.08, tip - line * 0.2)],
                      line * 0.8)
        fold2 = Stroke([(x1 - inset, low), (cx + (x1 - x0) * 0.08, tip - line * 0.2)],
                       line * 0.8)
        cv.fill(tilt(Intersect(Union(fold, fold2), inner)), flap_ink or INK_SOFT)
    v = Stroke([(x0 + inset, y0 + inset), (cx, tip), (x1 - inset, y0 + inset)], line)
    cv.fill(tilt(Intersect(v, Grow(body, -0.01))), flap_ink or ink)


# ---------------------------------------------------------------- gull


def _wing_outline(cx, cy, span, sign, thickness, rise, n):
    """One wing as a closed outline. Its centre line climbs from the body to the wrist and
    bends there to fall away to the tip; the inner wing keeps its breadth and the outer wing
    narrows to a point."""
    s = span / 2
    wrist = (cx + sign * s * 0.40, cy - s * rise * 0.80)
    inner = quad((cx, cy), (cx + sign * s * 0.14, cy - s * rise * 0.78), wrist, n // 2)
    outer = quad(wrist, (cx + sign * s * 0.72, cy - s * rise * 0.86),
                 (cx + sign * s, cy + s * rise * 0.12), n - n // 2)
    line = inner + outer[1:]
    top, bottom = [], []
    for i, (x, y) in enumerate(line):
        t = i / n
        a = line[min(i + 1, n)]
        b = line[max(i - 1, 0)]
        dx, dy = a[0] - b[0], a[1] - b[1]
        ln = math.hypot(dx, dy) or 1.0
        nx, ny = -dy / ln * sign, dx / ln * sign  # points below the centre line
        if t <= 0.5:
            w = thickness * (1.0 - 0.2 * t)
        else:
            w = thickness * 0.9 * (1.0 - (t - 0.5) / 0.5) ** 0.8
        top.append((x - nx * w * 0.3, y - ny * w * 0.3))
        bottom.append((x + nx * w * 0.7, y + ny * w * 0.7))
    return top + bottom[::-1]


def gull_shape(cx, cy, span, thickness=None, rise=0.42, n=20):
    """A gull seen from the front, wings spread: the wings and a small body. (cx, cy) is where
    the wings meet."""
    thickness = thickness if thickness is not None else span * 0.14
    wings = [Polygon(_wing_outline(cx, cy, span, sign, thickness, rise, n)) for sign in (-1, 1)]
    body = Ellipse(cx, cy + thickness * 0.2, thickness * 0.45, thickness * 0.55)
    head = Circle(cx, cy - thickness * 0.3, thickness * 0.36)
    return Union(wings[0], wings[1], body, head)


def gull(cv, cx, cy, span, fill=WHITE, outline=None, line=1.0, tips=None, shade=None,
         beak=False, thickness=None, rise=0.42):
    """Paints a gull: white body and wings, optionally outlined, with dark wing tips, a
    soft grey under the wings and an orange beak where the size allows."""
    t = thickness if thickness is not None else span * 0.14
    shape = gull_shape(cx, cy, span, t, rise)
    if outline:
        cv.outlined(shape, fill, outline, line)
        inner = Grow(shape, -line)
    else:
        cv.fill(shape, fill)
        inner = shape
    if shade:
        # The underside: the same gull, lower and thinner, seen through the wings.
        under = gull_shape(cx, cy + t * 0.45, span * 0.98, t * 0.55, rise)
        cv.fill(Intersect(inner, under), shade, 0.8)
    s = span / 2
    if tips:
        for sign in (-1, 1):
            tip = Circle(cx + sign * s, cy + s * rise * 0.12, s * 0.24)
            cv.fill(Intersect(inner, tip), tips)
    if beak:
        cv.fill(Polygon([(cx - t * 0.22, cy - t * 0.05), (cx + t * 0.22, cy - t * 0.05),
                         (cx, cy + t * 0.45)]), BEAK)


# ---------------------------------------------------------------- sky disk and badges


def sky_disk(cv, cx, cy, r, ring=None, line=1.0):
    """The round patch of sky behind the gull in the program's emblem."""
    paint = vertical(cy - r, cy + r, [(0.0, SKY), (1.0, BLUE)])
    disk = Circle(cx, cy, r)
    if ring:
        cv.outlined(disk, paint, ring, line)
    else:
        cv.fill(disk, paint)


def badge(cv, cx, cy, r, colour, rim, halo=WHITE, halo_width=1.0):
    """A round badge with a darker rim, set off from what lies under it by a white halo."""
    if halo:
        cv.fill(Circle(cx, cy, r + halo_width), halo)
    cv.outlined(Circle(cx, cy, r), vertical(cy - r, cy + r, [(0.0, colour), (1.0, rim)]),
                rim, 1.0)


def cross(cv, cx, cy, k, width, colour):
    """Two strokes crossing at (cx, cy), each reaching k pixels along both axes."""
    cv.fill(Union(Stroke([(cx - k, cy - k), (cx + k, cy + k)], width),
                  Stroke([(cx - k, cy + k), (cx + k, cy - k)], width)), colour)


# ---------------------------------------------------------------- pixel work for 16 x 16


def pixels(cv, x, y, rows, colours):
    """Sets pixels from a character map. A colour is an RGB tuple, or (RGB, alpha) for a
    partly covered pixel; characters without a colour leave the pixel as it is."""
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            c = colours.get(ch)
            tx, ty = x + i, y + j
            if c is None or not (0 <= tx < cv.w and 0 <= ty < cv.h):
                continue
            colour, alpha = (c, 1.0) if len(c) == 3 else c
            cv.put(ty * cv.w + tx, colour, alpha)


# A 9 x 9 round badge for the 16 pixel pictures: rim '#', face 'o', softened corners 'c'.
SMALL_BADGE = [".c#####c.",
               "c#ooooo#c",
               "#ooooooo#",
               "#ooooooo#",
               "#ooooooo#",
               "#ooooooo#",
               "#ooooooo#",
               "c#ooooo#c",
               ".c#####c."]


def small_badge(cv, x, y, face, rim, glyph, ink=WHITE):
    """The 9 x 9 badge with its top-left at (x, y), set off by a one-pixel white halo,
    with a 5 x 5 glyph ('w' pixels) in its middle."""
    solid = {(i, j) for j, row in enumerate(SMALL_BADGE) for i, ch in enumerate(row)
             if ch in "#o"}
    halo = {(i + di, j + dj) for i, j in solid for di in (-1, 0, 1) for dj in (-1, 0, 1)}
    for i, j in sorted(halo - solid):
        if 0 <= x + i < cv.w and 0 <= y + j < cv.h:
            cv.put((y + j) * cv.w + x + i, WHITE, 1.0)
    for j, row in enumerate(SMALL_BADGE):
        shade = mix(face, rim, 0.4 * j / 8)
        pixels(cv, x, y + j, [row], {"#": rim, "o": shade, "c": (rim, 0.45)})
    pixels(cv, x + 2, y + 2, glyph, {"w": ink})
