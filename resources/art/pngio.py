"""Minimal PNG reading and writing (8-bit RGB and RGBA, no interlace) with the standard library only.

The rasteriser hands us RGBA images; the panel's button faces must be plain RGB in which every pixel
that is not part of the picture is exactly the transparent key colour, so the faces are flattened here.
"""

import struct
import zlib

KEY = (192, 192, 255)

_SIGNATURE = b"\x89PNG\r\n\x1a\n"


class Image:
    """Pixels as a flat bytearray, `channels` bytes per pixel (3 = RGB, 4 = RGBA), rows top to bottom."""

    def __init__(self, width, height, channels, pixels=None):
        self.width = width
        self.height = height
        self.channels = channels
        self.pixels = pixels if pixels is not None else bytearray(width * height * channels)

    def get(self, x, y):
        i = (y * self.width + x) * self.channels
        return tuple(self.pixels[i:i + self.channels])

    def put(self, x, y, value):
        i = (y * self.width + x) * self.channels
        self.pixels[i:i + self.channels] = bytes(value)


def _unfilter(raw, width, height, bpp):
    stride = width * bpp
    out = bytearray(height * stride)
    prev = bytearray(stride)
    pos = 0
    for y in range(height):
        kind = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 255
        elif kind == 2:
            line = bytearray((a + b) & 255 for a, b in zip(line, prev))
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - bpp] if i >= bpp else 0
                b = prev[i]
                c = prev[i - bpp] if i >= bpp else 0
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pred = a if (pa <= pb and pa <= pc) else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        elif kind != 0:
            raise ValueError("bad PNG filter type %d" % kind)
        out[y * stride:(y + 1) * stride] = line
        prev = line
    return out


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != _SIGNATURE:
        raise ValueError("%s: not a PNG file" % path)
    pos = 8
    idat = []
    header = None
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos:pos + 4])
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
    if header is None:
        raise ValueError("%s: no IHDR" % path)
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or interlace != 0 or colour not in (2, 6):
        raise ValueError("%s: only 8-bit RGB/RGBA without interlace is handled" % path)
    channels = 3 if colour == 2 else 4
    pixels = _unfilter(zlib.decompress(b"".join(idat)), width, height, channels)
    return Image(width, height, channels, pixels)


def _chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)


def write_png(path, image):
    colour = 2 if image.channels == 3 else 6
    stride = image.width * image.channels
    raw = bytearray()
    for y in range(image.height):
        raw.append(0)
        raw += image.pixels[y * stride:(y + 1) * stride]
    with open(path, "wb") as f:
        f.write(_SIGNATURE)
        f.write(_chunk(b"IHDR", struct.pack(">IIBBBBB", image.width, image.height, 8, colour, 0, 0, 0)))
        f.write(_chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(_chunk(b"IEND", b""))


def near_key(r, g, b, tolerance=24):
    return abs(r - KEY[0]) <= tolerance and abs(g - KEY[1]) <= tolerance and abs(b - KEY[2]) <= tolerance


def away_from_key(r, g, b, distance=26):
    """A colour at least `distance` from the key in one channel, moved as little as possible: a
    picture colour that happens to lie next to the key must neither read as lavender nor, if it is
    the key, punch a hole."""
    d = (r - KEY[0], g - KEY[1], b - KEY[2])
    m = max(abs(v) for v in d)
    if m == 0:
        return (KEY[0] - distance, KEY[1] - distance, KEY[2] - distance)
    scale = float(distance) / m
    out = tuple(max(0, min(255, int(round(k + v * scale)))) for k, v in zip(KEY, d))
    if near_key(*out):
        out = (max(0, out[0] - distance), max(0, out[1] - distance), out[2])
    return out


def flatten_to_key(image, matte, threshold=128):
    """RGBA -> RGB face: pixels at least `threshold` opaque are blended over `matte` (the colour of
    the screen the face is usually drawn on, so edges look smooth there without any key colour
    mixed into them); the rest become exactly the key. Picture pixels that land close to the key
    are moved away from it, so the only key-like pixels left are the transparent ones."""
    out = bytearray(image.width * image.height * 3)
    mr, mg, mb = matte
    px = image.pixels
    n = image.width * image.height
    for i in range(n):
        if image.channels == 4:
            r, g, b, a = px[4 * i], px[4 * i + 1], px[4 * i + 2], px[4 * i + 3]
        else:
            r, g, b, a = px[3 * i], px[3 * i + 1], px[3 * i + 2], 255
        if a < threshold:
            r, g, b = KEY
        else:
            if a < 255:
                r = (r * a + mr * (255 - a) + 127) // 255
                g = (g * a + mg * (255 - a) + 127) // 255
                b = (b * a + mb * (255 - a) + 127) // 255
            if near_key(r, g, b):
                r, g, b = away_from_key(r, g, b)
        out[3 * i] = r
        out[3 * i + 1] = g
        out[3 * i + 2] = b
    return Image(image.width, image.height, 3, out)


def flatten_opaque(image, under=(0, 0, 0)):
    """RGBA -> RGB over a solid colour (backgrounds are opaque anyway; this drops the alpha byte)."""
    if image.channels == 3:
        return image
    out = bytearray(image.width * image.height * 3)
    px = image.pixels
    ur, ug, ub = under
    for i in range(image.width * image.height):
        r, g, b, a = px[4 * i], px[4 * i + 1], px[4 * i + 2], px[4 * i + 3]
        if a < 255:
            r = (r * a + ur * (255 - a) + 127) // 255
            g = (g * a + ug * (255 - a) + 127) // 255
            b = (b * a + ub * (255 - a) + 127) // 255
        out[3 * i:3 * i + 3] = bytes((r, g, b))
    return Image(image.width, image.height, 3, out)


def replace_key(image, colour):
    """A keyed RGB face as it looks on a surface of `colour` (for the review sheet)."""
    out = bytearray(image.pixels)
    for i in range(0, len(out), 3):
        if (out[i], out[i + 1], out[i + 2]) == KEY:
            out[i:i + 3] = bytes(colour)
    return Image(image.width, image.height, 3, out)
