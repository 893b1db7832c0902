"""The preview sheet: every picture as read back from the written files, at 1:1 and enlarged,
the icons on a light and a dark ground, and the skin twice: as the main window will look with
its list and buttons over it, and enlarged with the layout drawn over it."""
from .bitmaps import COMMAND_BUTTONS, LIST_AREA, SMALL_BUTTONS
from .raster import Box, Canvas
from .text import text_mask

SHEET_WIDTH = 1340
GROUND = (236, 238, 242)
DARK = (32, 36, 44)
CAPTION = (60, 64, 72)
LAYOUT = (255, 110, 0)
MARGIN = 16


def from_rows(rows, alphas=None, key=None):
    """A canvas from rows of (r, g, b); pixels of the key colour, if one is given, are left
    transparent as an image list with that mask colour shows them."""
    cv = Canvas(len(rows[0]), len(rows))
    for y, row in enumerate(rows):
        for x, c in enumerate(row):
            if c != key:
                cv.put(y * cv.w + x, c, 1.0 if alphas is None else alphas[y][x])
    return cv


def icon_canvas(size, rgba_rows):
    return from_rows([[p[:3] for p in row] for row in rgba_rows],
                     [[p[3] / 255 for p in row] for row in rgba_rows])


def _frame(cv, x, y, w, h, light, dark):
    cv.fill(Box(x, y, x + w, y + 1), light)
    cv.fill(Box(x, y, x + 1, y + h), light)
    cv.fill(Box(x, y + h - 1, x + w, y + h), dark)
    cv.fill(Box(x + w - 1, y, x + w, y + h), dark)


def _label(cv, text, rect, colour, size=12, emboss=False):
    x, y, w, h = rect
    m = text_mask(text, size)
    tx, ty = x + (w - m.w) // 2, y + (h - m.h) // 2
    if emboss:
        m.draw(cv, tx + 1, ty + 1, (255, 255, 255))
    m.draw(cv, tx, ty, colour)


# The window as the program will show it: sample rows in the list, one button hovered and
# the stop button disabled as it is while no check runs.
BUTTON_TEXTS = ["检测(C)", "中止(T)", "自动(C)", "预览(P)", "新增(A)", "修改(E)", "发送(S)",
                "设置(O)"]
SAMPLE_ROWS = [(1, 2, "个人邮箱", "pop.home.cn", "3", "12K"),
               (1, 3, "工作邮箱", "mail.work.cn", "", ""),
               (1, 1, "旧账户", "pop.old.cn", "", ""),
               (0, 0, "学校", "pop.school.cn", "", "")]
COLUMNS = [("账户名", 120), ("POP3服务器", 100), ("邮件数", 60), ("大小", 60)]


def window_mockup(skin, list_background, states, smalls):
    """states and smalls are the image strips with their mask colour made transparent."""
    texts = BUTTON_TEXTS + ["S", "-", "X"] + [c for c, _ in COLUMNS]
    texts += [t for row in SAMPLE_ROWS for t in row[2:] if t]
    for t in texts:  # asked for together, rendered together
        text_mask(t, 12)
    cv = Canvas(skin.w, skin.h)
    cv.draw(skin, 0, 0)
    lx, ly, lw, lh = LIST_AREA
    header = 19
    cv.fill(Box(lx, ly, lx + lw, ly + header), (240, 240, 240))
    x = lx
    for name, width in COLUMNS:
        _frame(cv, x, ly, width, header, (255, 255, 255), (160, 160, 160))
        m = text_mask(name, 12)
        m.draw(cv, x + 6, ly + (header - m.h) // 2, (0, 0, 0))
        x += width
    top = ly + header
    for ty in range(top, ly + lh, list_background.h):
        for tx in range(lx, lx + lw, list_background.w):
            part = Canvas(min(list_background.w, lx + lw - tx), min(list_background.h,
                                                                   ly + lh - ty))
            part.draw(list_background, 0, 0)
            cv.draw(part, tx, ty)
    for i, (state, image, name, *texts) in enumerate(SAMPLE_ROWS):
        y = top + 1 + 17 * i
        cv.draw(_cell(states, state), lx + 2, y)
        cv.draw(_cell(smalls, image), lx + 19, y)
        m = text_mask(name, 12)
        m.draw(cv, lx + 40, y + (16 - m.h) // 2, (0, 0, 0))
        x = lx + COLUMNS[0][1]
        for (_, width), text in zip(COLUMNS[1:], texts):
            if text:  # the other columns are right-aligned
                m = text_mask(text, 12)
                m.draw(cv, x + width - m.w - 8, y + (16 - m.h) // 2, (0, 0, 0))
            x += width
    for (x, y, w, h), text in zip(SMALL_BUTTONS, ["S", "-", "X"]):
        _frame(cv, x, y, w, h, (255, 255, 255), (128, 128, 128))
        _label(cv, text, (x, y, w, h), (0, 0, 0))
    for k, ((x, y, w, h), text) in enumerate(zip(COMMAND_BUTTONS, BUTTON_TEXTS)):
        if k == 5:  # hovered: a full raised edge and blue text, moved up and left
            _frame(cv, x, y, w, h, (255, 255, 255), (64, 64, 64))
            _frame(cv, x + 1, y + 1, w - 2, h - 2, (227, 227, 227), (128, 128, 128))
            _label(cv, text, (x - 1, y - 1, w, h), (0, 0, 255))
        else:
            _frame(cv, x, y, w, h, (255, 255, 255), (128, 128, 128))
            _label(cv, text, (x, y, w, h), (128, 128, 128) if k == 1 else (0, 0, 0), emboss=k == 1)
    return cv


def _cell(strip, index):
    cell = Canvas(16, 16)
    cell.draw(strip, -16 * index, 0)
    return cell


def layout_overlay(skin, factor):
    cv = skin.scaled(factor)
    rects = [(0, 0, skin.w, 25, "drag band")] + \
            [r + (t,) for r, t in zip(SMALL_BUTTONS, ["1085", "1083", "1084"])] + \
            [LIST_AREA + ("1001 list",)] + \
            [r + (t,) for r, t in zip(COMMAND_BUTTONS, ["1049", "1047", "1014", "1025", "1000",
                                                        "1008", "1077", "1013"])]
    for *_, text in rects:
        text_mask(text, 11)
    for x, y, w, h, text in rects:
        x, y, w, h = x * factor, y * factor, w * factor, h * factor
        for inner in range(2):
            cv.fill(Box(x + inner, y + inner, x + w - inner, y + inner + 1), LAYOUT)
            cv.fill(Box(x + inner, y + h - inner - 1, x + w - inner, y + h - inner), LAYOUT)
            cv.fill(Box(x + inner, y + inner, x + inner + 1, y + h - inner), LAYOUT)
            cv.fill(Box(x + w - inner - 1, y + inner, x + w - inner, y + h - inner), LAYOUT)
        m = text_mask(text, 11)
        # The band's label goes just left of the small buttons, clear of the title.
        lx = SMALL_BUTTONS[0][0] * factor - m.w - 16 if text == "drag band" else x + 4
        cv.fill(Box(lx - 2, y + 2, lx + m.w + 2, y + m.h + 5), (255, 255, 255), 0.85)
        m.draw(cv, lx, y + 3, LAYOUT)
    return cv


class Sheet:
    """Headings and rows of pictures, each picture with a caption under it. Laid out when
    rendered, so that all the lettering is rendered in one go."""

    def __init__(self):
        self.parts = []

    def heading(self, text):
        self.parts.append(("heading", text_mask(text, 15, 0.3)))

    def row(self, entries, gap=20, ground=None):
        """entries: (canvas, caption) pairs, laid out left to right; a caption's lines are
        separated by newlines."""
        entries = [(cv, [text_mask(line, 11) for line in caption.split("\n")])
                   for cv, caption in entries]
        self.parts.append(("row", (entries, gap, ground)))

    def render(self):
        placed, y = [], MARGIN
        for kind, part in self.parts:
            if kind == "heading":
                placed.append((part, MARGIN, y + 4, None))
                y += part.h + 18
                continue
            entries, gap, ground = part
            x, height = MARGIN, 0
            for cv, captions in entries:
                placed.append((cv, x, y, ground))
                cy = y + cv.h + 6
                for m in captions:
                    placed.append((m, x, cy, None))
                    cy += m.h + 3
                height = max(height, cy - y)
                x += max([cv.w] + [m.w for m in captions]) + gap
            y += height + 14
        out = Canvas(SHEET_WIDTH, y + MARGIN, GROUND)
        for item, x, y, ground in placed:
            if isinstance(item, Canvas):
                if ground:
                    out.fill(Box(x - 4, y - 4, x + item.w + 4, y + item.h + 4), ground)
                out.draw(item, x, y)
            else:
                item.draw(out, x, y, CAPTION)
        return out
