"""The program's icons: the emblem (application icon), the four tray states with the second
blink phase, and the six button icons. The 32 and 48 pixel images are drawn from shapes; the
16 pixel images are laid out on the pixel grid for that size."""
from .motifs import (AMBER_DEEP, BLUE, BLUE_DEEP, GOLD_PAPER, GOLD_SHADE, GREEN,
                     GREEN_DEEP, GREY, GREY_PALE, GULL_SHADE, INK, INK_SOFT, MIST, PAPER,
                     PAPER_SHADE, RED, RED_DEEP, SKY, SKY_PALE, WHITE, WINGTIP, badge, cross,
                     envelope, gull, pixels, sky_disk, small_badge)
from .raster import (Box, Canvas, Circle, Grow, Polygon, Stroke, Union, arc, linear,
                     vertical)


# The 16 pixel emblem's gull (a white "M" rising to two shoulders) and envelope.
SMALL_GULL = [".##....##.",
              "#..#..#..#",
              "....##...."]
SMALL_ENVELOPE = ["v........v",
                  ".vv....vv.",
                  "...v..v...",
                  "....vv....",
                  "..........",
                  ".........."]


# ---------------------------------------------------------------- emblem


def emblem(size):
    """The program's emblem: a round patch of sky with a gull flying over an envelope."""
    cv = Canvas(size, size)
    if size <= 16:
        sky_disk(cv, 8, 8, 7.5, ring=BLUE_DEEP)
        pixels(cv, 3, 3, SMALL_GULL, {"#": WHITE})
        pixels(cv, 3, 8, SMALL_ENVELOPE, {"v": BLUE_DEEP, ".": PAPER})
        return cv
    k = size / 32
    sky_disk(cv, 16 * k, 16 * k, 15.5 * k, ring=BLUE_DEEP)
    envelope(cv, 7 * k, 17 * k, 25 * k, 28 * k, line=1.0, folds=size >= 48)
    gull(cv, 16 * k, 10.5 * k, 27 * k, outline=INK, line=1.0, tips=WINGTIP,
         shade=GULL_SHADE if size >= 48 else None, beak=True)
    return cv


# ---------------------------------------------------------------- tray states


def _tray_envelope(cv, size, paper=(PAPER, PAPER_SHADE), ink=INK):
    if size <= 16:
        envelope(cv, 0, 3, 16, 14, paper=paper, ink=ink, flap=0.6)
    else:
        envelope(cv, 1, 6, 31, 27, paper=paper, ink=ink, folds=True, flap=0.58)


def tray_manual(size):
    """Manual checking: the envelope on its own, waiting to be told."""
    cv = Canvas(size, size)
    _tray_envelope(cv, size)
    return cv


def _clock(cv, cx, cy, r, hand):
    badge(cv, cx, cy, r, WHITE, BLUE_DEEP)
    cv.fill(Stroke([(cx, cy - hand), (cx, cy), (cx + hand * 0.8, cy)], 1.0), INK)


# The hands of the small clock, at twelve and three.
CLOCK = ["..w..",
         "..w..",
         "..www",
         ".....",
         "....."]


def tray_auto(size):
    """Automatic checking: the envelope with a clock."""
    cv = Canvas(size, size)
    _tray_envelope(cv, size)
    if size <= 16:
        small_badge(cv, 7, 7, WHITE, BLUE_DEEP, CLOCK, INK)
    else:
        _clock(cv, 23.5, 23.5, 8.0, 5.0)
        for a in (0, 90, 180, 270):
            p = arc(23.5, 23.5, 6.0, a, a, 1)[0]
            cv.fill(Circle(p[0], p[1], 0.7), BLUE)
    return cv


def _magnifier(cv, cx, cy, r, handle, lens_line, handle_width):
    glass = Circle(cx, cy, r)
    cv.fill(Stroke([(cx + r * 0.6, cy + r * 0.6), (cx + r * 0.6 + handle, cy + r * 0.6 + handle)],
                   handle_width + 2), WHITE)
    cv.fill(Grow(glass, 1.0), WHITE)
    cv.fill(Stroke([(cx + r * 0.7, cy + r * 0.7), (cx + r * 0.7 + handle, cy + r * 0.7 + handle)],
                   handle_width), AMBER_DEEP)
    cv.outlined(glass, linear((cx - r, cy - r), (cx + r, cy + r),
                              [(0.0, WHITE), (0.5, SKY_PALE), (1.0, SKY)]), INK, lens_line)


def tray_checking(size):
    """A check is running: the envelope under a magnifying glass."""
    cv = Canvas(size, size)
    _tray_envelope(cv, size)
    if size <= 16:
        _magnifier(cv, 10.0, 9.0, 3.5, 3.6, 1.0, 2.0)
    else:
        _magnifier(cv, 20.0, 17.0, 7.0, 6.5, 1.5, 3.5)
        cv.fill(Stroke(arc(20.0, 17.0, 4.2, 200, 260, 6), 1.2), WHITE)
    return cv


def tray_mail(size):
    """New mail, first blink phase: a golden envelope with a red dot."""
    cv = Canvas(size, size)
    _tray_envelope(cv, size, paper=(GOLD_PAPER, GOLD_SHADE), ink=AMBER_DEEP)
    if size <= 16:
        badge(cv, 12.5, 3.5, 3.5, RED, RED_DEEP)
    else:
        badge(cv, 25.0, 7.5, 6.5, RED, RED_DEEP, halo_width=1.5)
        cv.fill(Stroke([(25.0, 4.5), (25.0, 8.5)], 2.0), WHITE)
        cv.fill(Circle(25.0, 11.2, 1.1), WHITE)
    return cv


def tray_mail_dim(size=16):
    """New mail, second blink phase: the same envelope faded, without the dot."""
    cv = Canvas(size, size)
    _tray_envelope(cv, size, paper=(MIST, GREY_PALE), ink=GREY)
    return cv


# ---------------------------------------------------------------- button icons


def button_ok():
    cv = Canvas(32, 32)
    points = [(6.5, 17.0), (13.0, 23.5), (26.0, 8.5)]
    cv.fill(Stroke(points, 7.0), GREEN_DEEP)
    cv.fill(Stroke(points, 5.0), vertical(8, 24, [(0.0, (108, 206, 120)), (1.0, GREEN)]))
    cv.fill(Stroke([(7.5, 16.5), (13.0, 22.0)], 1.2), (170, 232, 176), 0.8)
    return cv


def button_cancel():
    cv = Canvas(32, 32)
    cross(cv, 16.0, 16.0, 8.5, 7.0, RED_DEEP)
    cross(cv, 16.0, 16.0, 8.5, 5.0, vertical(7, 25, [(0.0, (240, 110, 100)), (1.0, RED)]))
    return cv


def button_open():
    """Choose a file: an open folder with a sheet of paper in it."""
    cv = Canvas(32, 32)
    back = Union(Box(3, 7, 13, 12, 1.5), Box(3, 9, 27, 27, 1.5))
    cv.outlined(back, vertical(7, 27, [(0.0, (244, 196, 80)), (1.0, (214, 150, 40))]),
                AMBER_DEEP)
    cv.outlined(Box(7, 6, 24, 20, 0.5), vertical(6, 20, [(0.0, WHITE), (1.0, PAPER_SHADE)]),
                INK_SOFT)
    for y in (10, 13, 16):
        cv.fill(Box(10, y, 21, y + 1), SKY)
    front = Polygon([(3.0, 27.5), (7.5, 14.5), (30.5, 14.5), (26.0, 27.5)])
    cv.outlined(front, vertical(14, 28, [(0.0, (255, 226, 130)), (1.0, (246, 184, 60))]),
                AMBER_DEEP)
    return cv


def button_play():
    """Play a sound: a loudspeaker sending out waves."""
    cv = Canvas(32, 32)
    speaker = Polygon([(3.5, 12.0), (9.0, 12.0), (16.5, 5.0), (16.5, 27.0), (9.0, 20.0),
                       (3.5, 20.0)])
    cv.outlined(speaker, linear((3, 5), (17, 27), [(0.0, MIST), (1.0, (160, 176, 198))]), INK)
    cv.fill(Stroke([(9.5, 12.5), (9.5, 19.5)], 1.0), INK_SOFT)
    for r, width in ((5.0, 2.2), (9.0, 2.2), (13.0, 2.2)):
        cv.fill(Stroke(arc(16.5, 16.0, r, -48, 48, 12), width), BLUE)
    return cv


def _arrow(cv, x0, y, x1, half, head, colour, rim):
    """A right-pointing block arrow from x0 to the point at x1, its shaft half tall."""
    shape = Polygon([(x0, y - half), (x1 - head, y - half), (x1 - head, y - half - head * 0.7),
                     (x1, y), (x1 - head, y + half + head * 0.7), (x1 - head, y + half),
                     (x0, y + half)])
    cv.outlined(shape, vertical(y - half - head, y + half + head, [(0.0, colour[0]),
                                                                   (1.0, colour[1])]), rim)


def button_send():
    """Send a mail: the envelope flying off to the right."""
    cv = Canvas(32, 32)
    envelope(cv, 1, 4, 25, 21, folds=True, flap=0.58)
    for y, x0 in ((24.5, 2.0), (28.0, 6.0)):
        cv.fill(Stroke([(x0, y), (x0 + 6.0, y)], 1.4), SKY)
    _arrow(cv, 12.5, 25.0, 31.0, 2.5, 6.0, ((120, 214, 130), GREEN), GREEN_DEEP)
    return cv


def button_leave():
    """Leave the compose window: an open door with an arrow going out of it."""
    cv = Canvas(32, 32)
    cv.outlined(Box(13, 3, 29, 30), vertical(3, 30, [(0.0, (58, 74, 100)), (1.0, (30, 40, 58))]),
                INK)
    door = Polygon([(13.5, 3.5), (21.0, 6.5), (21.0, 31.0), (13.5, 29.5)])
    cv.outlined(door, linear((13, 0), (21, 0), [(0.0, (170, 110, 62)), (1.0, (214, 156, 96))]),
                (96, 58, 26))
    cv.fill(Circle(19.3, 18.5, 1.0), (250, 220, 130))
    shape = Polygon([(26.0, 14.0), (10.0, 14.0), (10.0, 9.5), (2.0, 17.0), (10.0, 24.5),
                     (10.0, 20.0), (26.0, 20.0)])
    cv.outlined(shape, vertical(9, 25, [(0.0, (120, 186, 244)), (1.0, BLUE)]), BLUE_DEEP)
    return cv
