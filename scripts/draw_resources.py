#!/usr/bin/python3
"""Draws every icon and bitmap of the program into res/art/, with the preview sheet
res/art/preview.png, then reads each file back and checks it.

    /usr/bin/python3 scripts/draw_resources.py

Plain Python 3 without third-party modules. Only the lettering (the title in the skin and
the About picture, the preview's captions) is rendered by ImageMagick (/usr/bin/convert)
with WenQuanYi Micro Hei (Debian imagemagick and fonts-wqy-microhei). The output is
deterministic: a second run leaves the files byte for byte as they were."""
import pathlib
import sys

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))

from resource_art import bitmaps, formats, icons, preview  # noqa: E402

OUT = pathlib.Path(__file__).resolve().parent.parent / "res" / "art"

# Bitmaps: file, resource identifier, size, bits per pixel, mask colour, what draws it.
BITMAPS = [
    ("skin.bmp", 201, (385, 227), 8, None, lambda: bitmaps.skin().rgb_rows()),
    ("list_background.bmp", 202, (343, 104), 8, None,
     lambda: bitmaps.list_background().rgb_rows()),
    ("state_images.bmp", 154, (32, 16), 24, bitmaps.STATE_KEY, bitmaps.state_images),
    ("small_images.bmp", 210, (64, 16), 24, bitmaps.SMALL_KEY, bitmaps.small_images),
    ("about.bmp", 147, (260, 90), 24, None, lambda: bitmaps.about().rgb_rows()),
]

# Icons: file, resource identifier, what it is for, its images (size -> drawing).
ICONS = [
    ("app.ico", 128, "the application", [(32, icons.emblem), (16, icons.emblem),
                                         (48, icons.emblem)]),
    ("tray_manual.ico", 140, "tray: manual checking", [(32, icons.tray_manual),
                                                       (16, icons.tray_manual)]),
    ("tray_auto.ico", 141, "tray: automatic checking", [(32, icons.tray_auto),
                                                        (16, icons.tray_auto)]),
    ("tray_checking.ico", 165, "tray: a check is running", [(32, icons.tray_checking),
                                                            (16, icons.tray_checking)]),
    ("tray_mail.ico", 137, "tray: new mail, first blink phase", [(32, icons.tray_mail),
                                                                 (16, icons.tray_mail)]),
    ("tray_mail_dim.ico", 186, "tray: new mail, second blink phase",
     [(16, icons.tray_mail_dim)]),
    ("button_ok.ico", 169, "button: confirm", [(32, lambda _: icons.button_ok())]),
    ("button_cancel.ico", 168, "button: cancel", [(32, lambda _: icons.button_cancel())]),
    ("button_open.ico", 171, "button: choose a file", [(32, lambda _: icons.button_open())]),
    ("button_play.ico", 175, "button: play a sound", [(32, lambda _: icons.button_play())]),
    ("button_send.ico", 193, "button: send a mail", [(32, lambda _: icons.button_send())]),
    ("button_leave.ico", 192, "button: leave the compose window",
     [(32, lambda _: icons.button_leave())]),
]


def write_all():
    OUT.mkdir(parents=True, exist_ok=True)
    for name, _, _, bits, _, draw in BITMAPS:
        rows = draw()
        (OUT / name).write_bytes(formats.bmp8(rows) if bits == 8 else formats.bmp24(rows))
    for name, _, _, images in ICONS:
        (OUT / name).write_bytes(formats.ico([draw(size) for size, draw in images]))


# ---------------------------------------------------------------- checks


def _distance(a, b):
    return max(abs(x - y) for x, y in zip(a, b))


def _seam_ok(rows):
    """A tiled picture joins without a seam when the step from its last column to its first
    (and last row to first) is no larger than the largest step inside it."""
    inner_x = max(_distance(r[x], r[x + 1]) for r in rows for x in range(len(r) - 1))
    inner_y = max(_distance(a[x], b[x]) for a, b in zip(rows, rows[1:]) for x in range(len(a)))
    seam_x = max(_distance(r[-1], r[0]) for r in rows)
    seam_y = max(_distance(rows[-1][x], rows[0][x]) for x in range(len(rows[0])))
    return seam_x <= inner_x and seam_y <= inner_y


def check_all():
    problems = []
    read = {}
    for name, _, size, bits, key, _ in BITMAPS:
        got_bits, rows = formats.read_bmp((OUT / name).read_bytes())
        read[name] = rows
        if got_bits != bits or (len(rows[0]), len(rows)) != size:
            problems.append(f"{name}: {len(rows[0])}x{len(rows)} {got_bits}-bit")
        if key:
            # Every cell's corner is transparent, and nothing drawn comes near the key.
            if any(rows[0][16 * i] != key for i in range(size[0] // 16)):
                problems.append(f"{name}: cell corners are not the mask colour")
            near = {c for r in rows for c in r if c != key and _distance(c, key) < 48}
            if near:
                problems.append(f"{name}: colours close to the mask colour: {sorted(near)}")
    if not _seam_ok(read["list_background.bmp"]):
        problems.append("list_background.bmp: visible seam when tiled")
    for name, _, _, images in ICONS:
        got = formats.read_ico((OUT / name).read_bytes())
        read[name] = got
        if [g[0] for g in got] != [size for size, _ in images]:
            problems.append(f"{name}: sizes {[g[0] for g in got]}")
        for size, colour, mask in got:
            for y in range(size):
                for x in range(size):
                    alpha = colour[y][x][3]
                    if mask[y][x] != (alpha < 128):
                        problems.append(f"{name}: mask disagrees with alpha at {x},{y}")
                        break
    return read, problems


# ---------------------------------------------------------------- preview


def build_preview(read):
    sheet = preview.Sheet()
    skin = preview.from_rows(read["skin.bmp"])
    lst = preview.from_rows(read["list_background.bmp"])
    states = preview.from_rows(read["state_images.bmp"])
    smalls = preview.from_rows(read["small_images.bmp"])
    about = preview.from_rows(read["about.bmp"])

    sheet.heading("Main window (dialog 102): skin 201 under the list and the buttons")
    masked_states = preview.from_rows(read["state_images.bmp"], key=bitmaps.STATE_KEY)
    masked_smalls = preview.from_rows(read["small_images.bmp"], key=bitmaps.SMALL_KEY)
    sheet.row([(preview.window_mockup(skin, lst, masked_states, masked_smalls),
                "as the window shows it, 1:1\n(one button hovered, 中止 disabled)"),
               (skin, "skin.bmp  201  385 x 227  8-bit, 1:1"),
               (about, "about.bmp  147  260 x 90  24-bit, 1:1")])
    sheet.row([(preview.layout_overlay(skin, 2), "skin.bmp x2 with the layout of dialog 102"),
               (about.scaled(2), "about.bmp x2")])

    sheet.heading("Account list: background 202 (2 x 2 tiles), state images 154, small images 210")
    tiles = preview.Canvas(lst.w * 2, lst.h * 2)
    for i in range(4):
        tiles.draw(lst, lst.w * (i % 2), lst.h * (i // 2))
    sheet.row([(lst, "list_background.bmp  343 x 104  8-bit, 1:1"),
               (tiles, "tiled 2 x 2: no seams")])
    sheet.row([(states, "state_images.bmp\n1:1"), (states.scaled(8),
                                                    "x8: 0 empty, 1 ticked;\nred = mask"),
               (smalls, "small_images.bmp\n1:1"),
               (smalls.scaled(8), "x8: 0 failed, 1 connecting, 2 idle, 3 reading;\n"
                                  "RGB(252,2,252) = mask")])

    sheet.heading("Icons, 1:1 on a light and a dark ground, then enlarged")
    light, dark, big = [], [], []
    for name, ident, _, _ in ICONS:
        for size, colour, _ in read[name]:
            cv = preview.icon_canvas(size, colour)
            caption = f"{ident} {size}"
            light.append((cv, caption))
            dark.append((cv, caption))
            big.append((cv.scaled(4 if size > 16 else 6), f"{ident}  {name}\n{size} x {size}"))
    sheet.row(light, gap=18)
    sheet.row(dark, gap=18, ground=preview.DARK)
    for start in range(0, len(big), 7):
        sheet.row(big[start:start + 7], gap=26)
    out = sheet.render()
    (OUT / "preview.png").write_bytes(formats.png(out.w, out.h, out.rgb_bytes()))


def main():
    write_all()
    read, problems = check_all()
    build_preview(read)
    for name, ident, size, bits, key, _ in BITMAPS:
        mask = f", mask RGB{key}" if key else ""
        print(f"{name:22} bitmap {ident}  {size[0]} x {size[1]}  {bits}-bit{mask}")
    for name, ident, what, images in ICONS:
        sizes = ", ".join(f"{s} x {s}" for s, _ in images)
        print(f"{name:22} icon {ident}  {sizes}  ({what})")
    for p in problems:
        print("PROBLEM:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
