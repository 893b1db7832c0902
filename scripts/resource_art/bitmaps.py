"""The program's bitmaps: the main window's skin, the account list's tiled background, the
list's state and small image strips, and the About picture."""
import math

from .motifs import (AMBER, AMBER_DEEP, BLUE_DEEP, GREEN, GREEN_DEEP, GULL_SHADE, INK, INK_SOFT,
                     RED, RED_DEEP, SKY_PALE, WHITE, WINGTIP, envelope, gull, pixels,
                     small_badge)
from .raster import Box, Canvas, Polygon, Stroke, linear, vertical
from .text import text_mask

# The main window's layout in pixels (dialog units x 1.5): the drag band, the three small
# buttons at the top right, the account list, and the two rows of four command buttons.
SKIN_SIZE = (385, 227)
TITLE_HEIGHT = 25
SMALL_BUTTONS = [(318, 5, 18, 17), (339, 5, 18, 17), (360, 5, 18, 17)]
LIST_AREA = (8, 29, 368, 120)
COMMAND_BUTTONS = [(x, y, 86, 26) for y in (156, 189) for x in (8, 101, 194, 287)]

LIST_SIZE = (343, 104)
LIST_PAPER = (248, 251, 255)
LIST_LINE = (231, 239, 249)

STATE_KEY = (255, 0, 0)
SMALL_KEY = (252, 2, 252)


def _sea(cv, x0, x1, y, amplitude, wavelength, phase, colour, opacity=1.0, bottom=None):
    """A band of sea: everything below a sine-shaped surface line."""
    bottom = cv.h if bottom is None else bottom
    points = [(x, y + amplitude * math.sin(2 * math.pi * x / wavelength + phase))
              for x in range(int(x0) - 2, int(x1) + 3, 2)]
    points += [(x1 + 2, bottom + 2), (x0 - 2, bottom + 2)]
    cv.fill(Polygon(points), colour, opacity)


# ---------------------------------------------------------------- skin


def _title_band(cv):
    w = cv.w
    band = Box(0, 0, w, TITLE_HEIGHT)
    cv.fill(band, vertical(0, TITLE_HEIGHT, [(0.0, (92, 160, 226)), (0.5, (56, 124, 200)),
                                              (1.0, (34, 94, 168))]))
    # A faint sea along the bottom of the band, and a sheen along its top.
    _sea(cv, 0, w, 20.5, 1.2, 64, 0.0, (40, 104, 178), 0.6, TITLE_HEIGHT)
    cv.fill(Box(0, 0, w, 1), (150, 198, 240))
    cv.fill(Box(0, TITLE_HEIGHT - 1, w, TITLE_HEIGHT), BLUE_DEEP)
    gull(cv, 15.0, 10.5, 22.0, fill=WHITE, thickness=3.2, shade=GULL_SHADE)
    title = text_mask("鸥信通", 16, 0.0, 1)
    x, y = 32, (TITLE_HEIGHT - title.h) // 2
    title.draw(cv, x, y + 1, (20, 60, 120), 0.7)
    title.draw(cv, x, y, WHITE)
    name = text_mask("Quorlet", 11)
    name.draw(cv, x + title.w + 8, y + title.h - name.h, (206, 228, 250))
    # A light panel behind the three small buttons, so their black letters read.
    x0 = SMALL_BUTTONS[0][0] - 4
    x1 = SMALL_BUTTONS[-1][0] + SMALL_BUTTONS[-1][2] + 4
    pill = Box(x0, 2, x1, TITLE_HEIGHT - 2, 4.0)
    face = vertical(2, TITLE_HEIGHT - 2, [(0.0, (250, 252, 255)), (1.0, (214, 230, 247))])
    cv.outlined(pill, face, (30, 84, 152))


def _panel(cv, x, y, w, h):
    """The quiet face under one button: a soft gradient with a faint shadow below right;
    the button draws its own frame on the edge."""
    cv.fill(Box(x + 1, y + 1, x + w + 1, y + h + 1), (176, 196, 224))
    cv.fill(Box(x, y, x + w, y + h), vertical(y, y + h, [(0.0, (253, 254, 255)),
                                                         (1.0, (224, 235, 248))]))


def skin():
    w, h = SKIN_SIZE
    cv = Canvas(w, h, WHITE)
    cv.fill(Box(0, TITLE_HEIGHT, w, h), vertical(TITLE_HEIGHT, h, [(0.0, (236, 244, 252)),
                                                                  (1.0, (214, 230, 247))]))
    _title_band(cv)
    # The well the account list sits in.
    lx, ly, lw, lh = LIST_AREA
    cv.fill(Box(lx - 1, ly - 1, lx + lw + 1, ly + lh + 1), (124, 152, 192))
    cv.fill(Box(lx, ly, lx + lw + 1, ly + lh + 1), WHITE)
    cv.fill(Box(lx, ly, lx + lw, ly + lh), LIST_PAPER)
    # The tray the command buttons stand on.
    tray = Box(4, 152, w - 4, 219, 4.0)
    cv.outlined(tray, vertical(152, 219, [(0.0, (226, 237, 250)), (1.0, (206, 224, 245))]),
                (168, 192, 224))
    for x, y, bw, bh in COMMAND_BUTTONS:
        _panel(cv, x, y, bw, bh)
    # A strip of sea along the bottom edge.
    _sea(cv, 0, w, 221.5, 1.3, 55, 0.0, (178, 208, 240))
    _sea(cv, 0, w, 224.0, 1.0, 35, 1.7, (146, 188, 232))
    return cv


# ---------------------------------------------------------------- list background


def list_background():
    """Pale paper with faint swell lines and a few far-off gulls. Every line has a whole
    number of waves across the width and the gulls wrap at the edges, so it tiles."""
    w, h = LIST_SIZE
    cv = Canvas(w, h, LIST_PAPER)
    for k, y in enumerate((13, 39, 65, 91)):
        points = [(x / 2, y + 1.6 * math.sin(2 * math.pi * x / 2 / (w / 7) + k * 1.3))
                  for x in range(-8, 2 * w + 9)]
        cv.fill(Stroke(points, 1.0), LIST_LINE)
    for gx, gy, span in ((60, 26, 16), (214, 51, 12), (306, 79, 14), (131, 90, 10)):
        for dx in (-w, 0, w):
            for dy in (-h, 0, h):
                gull(cv, gx + dx, gy + dy, span, fill=LIST_LINE, thickness=1.4)
    return cv


# ---------------------------------------------------------------- list images


def _strip(cells):
    """Lays 16 x 16 pictures side by side; each was drawn on its own, so nothing of one
    (an anti-aliased edge, a badge's halo) can reach into its neighbour."""
    cv = Canvas(16 * len(cells), 16)
    for i, cell in enumerate(cells):
        cv.draw(cell, 16 * i, 0)
    return cv


# The tick of the check box, three pixels thick like the system's own.
TICK = ["......#",
        ".....##",
        "#...###",
        "##.###.",
        "#####..",
        ".###...",
        "..#...."]


def _check_box(ticked):
    cv = Canvas(16, 16)
    cv.outlined(Box(1, 1, 14, 14), vertical(1, 14, [(0.0, WHITE), (1.0, SKY_PALE)]), INK_SOFT)
    if ticked:
        pixels(cv, 4, 4, TICK, {"#": GREEN_DEEP})
    return cv


def state_images():
    """0: an empty check box (account left out of checks); 1: a ticked one (included)."""
    return _strip([_check_box(False), _check_box(True)]).keyed_rows(STATE_KEY, LIST_PAPER)


# The 5 x 5 glyphs of the account states.
FAILED = ["w...w",
          ".w.w.",
          "..w..",
          ".w.w.",
          "w...w"]
CONNECTING = [".....",
              ".....",
              "w.w.w",
              ".....",
              "....."]
READING = ["..w..",
           "..w..",
           "w.w.w",
           ".www.",
           "..w.."]


def _small_envelope(mark=None):
    cv = Canvas(16, 16)
    envelope(cv, 0, 2, 15, 13, flap=0.6)
    if mark:
        small_badge(cv, 7, 7, *mark)
    return cv


def small_images():
    """The account's state in the list: 0 failed, 1 connecting, 2 idle, 3 reading."""
    cells = [_small_envelope((RED, RED_DEEP, FAILED)),
             _small_envelope((AMBER, AMBER_DEEP, CONNECTING)),
             _small_envelope(),
             _small_envelope((GREEN, GREEN_DEEP, READING))]
    return _strip(cells).keyed_rows(SMALL_KEY, LIST_PAPER)


# ---------------------------------------------------------------- About picture


def about():
    w, h = 260, 90
    cv = Canvas(w, h, WHITE)
    horizon = 66
    cv.fill(Box(0, 0, w, horizon + 2), vertical(0, horizon, [(0.0, (118, 178, 232)),
                                                             (0.7, (196, 224, 248)),
                                                             (1.0, (236, 245, 253))]))
    cv.fill(Box(0, horizon, w, h), vertical(horizon, h, [(0.0, (92, 156, 214)),
                                                         (1.0, (36, 96, 170))]))
    for k, (y, amp, length, colour, opacity) in enumerate(
            ((horizon + 6, 1.0, 40, (150, 196, 236), 0.7), (horizon + 12, 1.4, 52,
                                                            (72, 136, 202), 0.8),
             (horizon + 18, 1.6, 64, (48, 110, 186), 0.9))):
        _sea(cv, 0, w, y, amp, length, k * 2.1, colour, opacity)
    # Far-off gulls, then the gull carrying a letter in its beak.
    for gx, gy, span in ((226, 60, 12), (246, 55, 8)):
        gull(cv, gx, gy, span, fill=(70, 110, 160), thickness=1.4)
    envelope(cv, 46, 34, 68, 49, folds=True, flap=0.55, turn=-10.0)
    gull(cv, 56, 27, 96, outline=INK, line=1.2, tips=WINGTIP, shade=GULL_SHADE, beak=True,
         thickness=11.5)
    title = text_mask("鸥信通", 34, 0.6, 4)
    tx, ty = 118, 7
    title.draw(cv, tx + 1, ty + 2, WHITE, 0.7)
    title.draw(cv, tx, ty, linear((0, ty), (0, ty + title.h), [(0.0, BLUE_DEEP), (1.0, INK)]))
    name = text_mask("Quorlet", 13, 0.2, 1)
    name.draw(cv, tx + 2, ty + title.h + 5, INK)
    line = text_mask("邮件监视 · 拨号计费", 12)
    line.draw(cv, tx + 2, 73, WHITE)
    return cv
