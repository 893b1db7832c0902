"""Writers for the picture formats the program's resources need: Windows BMP (24-bit, and
8-bit with a 256-colour palette), ICO (32-bit images with alpha and an AND mask) and PNG for
the preview sheet; and readers for the BMP and ICO files, to check what was written. All
output is byte-for-byte deterministic."""
import struct
import zlib


def _bitmap_info(w, h, bits, colours=0, height_factor=1, image_size=0):
    # BITMAPINFOHEADER: no compression, no resolution, every palette entry used.
    return struct.pack("<IiiHHIIiiII", 40, w, h * height_factor, 1, bits, 0, image_size,
                       0, 0, colours, 0)


def _stride(w, bits):
    return ((w * bits + 31) // 32) * 4


def _file(info, palette, pixels):
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    return header + info + palette + pixels


def bmp24(rows):
    """A bottom-up 24-bit BMP from rows of (r, g, b)."""
    h, w = len(rows), len(rows[0])
    pad = b"\0" * (_stride(w, 24) - w * 3)
    body = bytearray()
    for row in reversed(rows):
        for r, g, b in row:
            body += bytes((b, g, r))
        body += pad
    return _file(_bitmap_info(w, h, 24, image_size=len(body)), b"", bytes(body))


# ---------------------------------------------------------------- palette


def _measure(box):
    """A box's split priority, its summed squared error about its weighted mean (so the
    palette goes where the picture has most pixels far from their box's colour), and the
    channel along which it spreads most."""
    total = sum(n for _, n in box)
    sse, spread = 0.0, []
    for k in range(3):
        mean = sum(c[k] * n for c, n in box) / total
        var = sum((c[k] - mean) ** 2 * n for c, n in box)
        sse += var
        spread.append(var)
    return (sse if len(box) > 1 else -1.0), spread.index(max(spread))


def _cut_palette(histogram, count):
    """Splits the colour histogram {rgb: n} into at most count boxes, each time cutting the
    box with the largest error at its mean along the channel it spreads most in, and returns
    each box's weighted mean colour."""
    first = sorted(histogram.items())
    boxes = [(first, *_measure(first))]
    while len(boxes) < count:
        best = max(range(len(boxes)), key=lambda i: (boxes[i][1], -i))
        box, score, channel = boxes[best]
        if score < 0:
            break
        del boxes[best]
        box.sort(key=lambda item: (item[0][channel], item[0]))
        # Cut at the weighted mean of that channel, leaving at least one colour each side.
        mean = sum(c[channel] * n for c, n in box) / sum(n for _, n in box)
        cut = sum(1 for c, _ in box if c[channel] <= mean)
        cut = min(max(cut, 1), len(box) - 1)
        for part in (box[:cut], box[cut:]):
            boxes.append((part, *_measure(part)))
    palette = []
    for box, _, _ in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(sum(c[k] * n for c, n in box) / total + 0.5) for k in range(3)))
    return palette


def _nearest(palette, colour):
    best, best_d = 0, 1 << 30
    r, g, b = colour
    for i, (pr, pg, pb) in enumerate(palette):
        # Weighted distance: the eye is most sensitive to green, least to blue.
        d = 3 * (pr - r) ** 2 + 4 * (pg - g) ** 2 + 2 * (pb - b) ** 2
        if d < best_d:
            best, best_d = i, d
    return best


def bmp8(rows):
    """A bottom-up 8-bit BMP with a 256-entry palette. A picture of at most 256 colours keeps
    them exactly; a richer one gets 256 colours cut from its own, without dithering, which
    keeps text and edges clean (the pictures are gradients and flat shapes)."""
    h, w = len(rows), len(rows[0])
    histogram = {}
    for row in rows:
        for c in row:
            histogram[c] = histogram.get(c, 0) + 1
    if len(histogram) <= 256:
        palette = sorted(histogram)
    else:
        palette = sorted(set(_cut_palette(histogram, 256)))
    index = {c: _nearest(palette, c) for c in histogram}
    table = bytearray()
    for r, g, b in palette + [(0, 0, 0)] * (256 - len(palette)):
        table += bytes((b, g, r, 0))
    pad = b"\0" * (_stride(w, 8) - w)
    body = bytearray()
    for row in reversed(rows):
        body += bytes(index[c] for c in row)
        body += pad
    return _file(_bitmap_info(w, h, 8, 256, image_size=len(body)), bytes(table), bytes(body))


# ---------------------------------------------------------------- icons


def _icon_image(canvas):
    """One icon image: BITMAPINFOHEADER of double height, 32-bit BGRA bottom-up, AND mask.
    The mask marks the pixels less than half covered, so a reader without alpha support
    still shows a clean shape."""
    w, h = canvas.w, canvas.h
    colour = bytearray()
    mask = bytearray()
    mask_stride = _stride(w, 1)
    for y in reversed(range(h)):
        bits = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = canvas.pixel(x, y)
            alpha = int(a * 255 + 0.5)
            if alpha == 0:
                r = g = b = 0
            colour += bytes((b, g, r, alpha))
            if alpha < 128:
                bits[x >> 3] |= 0x80 >> (x & 7)
        mask += bits
    info = _bitmap_info(w, h, 32, height_factor=2, image_size=len(colour) + len(mask))
    return info + bytes(colour) + bytes(mask)


def ico(canvases):
    """An ICO file holding the given square canvases in the given order."""
    images = [_icon_image(c) for c in canvases]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for c, data in zip(canvases, images):
        size = c.w if c.w < 256 else 0
        out += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    for data in images:
        out += data
    return bytes(out)


# ---------------------------------------------------------------- PNG


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(w, h, rgb):
    """An 8-bit RGB PNG from R, G, B bytes row by row, without any time or text chunks."""
    stride = 3 * w
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        raw += rgb[y * stride:(y + 1) * stride]
    header = struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _chunk(b"IHDR", header)
            + _chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _chunk(b"IEND", b""))


# ---------------------------------------------------------------- readers


def read_bmp(data):
    """Rows of (r, g, b) from an uncompressed 8-bit or 24-bit BMP, with its bit depth."""
    magic, _, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    if magic != b"BM":
        raise ValueError("not a BMP file")
    size, w, h, planes, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if size < 40 or planes != 1 or compression != 0 or bits not in (8, 24):
        raise ValueError("unexpected BMP header")
    colours = struct.unpack_from("<I", data, 14 + 32)[0] or (1 << bits if bits == 8 else 0)
    palette = [tuple(data[14 + size + 4 * i + k] for k in (2, 1, 0)) for i in range(colours)]
    stride = _stride(w, bits)
    rows = []
    for y in range(abs(h)):
        start = offset + (abs(h) - 1 - y if h > 0 else y) * stride
        if bits == 8:
            rows.append([palette[v] for v in data[start:start + w]])
        else:
            rows.append([(data[start + 3 * x + 2], data[start + 3 * x + 1], data[start + 3 * x])
                         for x in range(w)])
    return bits, rows


def read_ico(data):
    """The images of an ICO file of 32-bit images: a list of (size, rows of (r, g, b, a),
    rows of AND-mask bits)."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if reserved != 0 or kind != 1:
        raise ValueError("not an icon file")
    images = []
    for i in range(count):
        w, h, _, _, _, bits, length, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        w, h = w or 256, h or 256
        _, bw, bh, _, bbits = struct.unpack_from("<IiiHH", data, offset)
        if (bw, bh, bbits, bits) != (w, 2 * h, 32, 32):
            raise ValueError("unexpected icon image header")
        pixels = offset + 40
        mask_at = pixels + w * h * 4
        mask_stride = _stride(w, 1)
        if mask_at + mask_stride * h != offset + length:
            raise ValueError("icon image length does not match its size")
        colour, mask = [], []
        for y in range(h):
            src = pixels + (h - 1 - y) * w * 4
            colour.append([(data[src + 4 * x + 2], data[src + 4 * x + 1], data[src + 4 * x],
                            data[src + 4 * x + 3]) for x in range(w)])
            m = mask_at + (h - 1 - y) * mask_stride
            mask.append([(data[m + (x >> 3)] >> (7 - (x & 7))) & 1 for x in range(w)])
        images.append((w, colour, mask))
    return images
