"""Text as coverage masks, rendered by ImageMagick with WenQuanYi Micro Hei (Debian
`imagemagick` and `fonts-wqy-microhei`); used only while the pictures are generated.

Masks are rendered when first measured or drawn, all that are waiting at that moment in one
run of ImageMagick, whose start-up costs far more than a few lines of text."""
import subprocess

CONVERT = "/usr/bin/convert"
FONT = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"

_cache = {}
_pending = []


class TextMask:
    def __init__(self, text, size, weight, kerning):
        self.request = (text, size, weight, kerning)
        self._data = None

    def _load(self):
        if self._data is None:
            _render_pending()
        return self._data

    w = property(lambda self: self._load()[0])
    h = property(lambda self: self._load()[1])
    coverage = property(lambda self: self._load()[2])

    def draw(self, canvas, x, y, paint, opacity=1.0):
        canvas.mask(self.coverage, self.w, self.h, x, y, paint, opacity)


def text_mask(text, size, weight=0.0, kerning=0.0):
    """The text at a pixel size, trimmed to its ink. weight > 0 thickens the strokes a
    little (the font has one weight only); kerning adds space between characters."""
    key = (text, size, weight, kerning)
    if key not in _cache:
        _cache[key] = TextMask(*key)
        _pending.append(_cache[key])
    return _cache[key]


def _render_pending():
    args = [CONVERT, "-background", "black", "-fill", "white", "-font", FONT, "-density", "72"]
    for mask in _pending:
        text, size, weight, kerning = mask.request
        args += ["-pointsize", str(size), "-kerning", str(kerning)]
        args += ["-stroke", "white", "-strokewidth", str(weight)] if weight else ["+stroke"]
        args.append("label:" + text)
    args += ["-trim", "+repage", "-depth", "8", "pgm:-"]
    data = subprocess.run(args, check=True, capture_output=True).stdout
    pos = 0
    for mask in _pending:
        mask._data, pos = _parse_pgm(data, pos)
    _pending.clear()


def _parse_pgm(data, pos):
    """One binary PGM image ("P5", width, height, maxval, one whitespace byte, samples)
    from pos on; returns (w, h, coverage) and the position after it."""
    fields = []
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    pos += 1
    if fields[0] != b"P5":
        raise ValueError("unexpected output from ImageMagick")
    w, h, maxval = int(fields[1]), int(fields[2]), int(fields[3])
    end = pos + w * h
    return (w, h, [v / maxval for v in data[pos:end]]), end
