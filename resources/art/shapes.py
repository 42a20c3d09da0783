"""Shared drawing vocabulary of the panel's artwork: colours, an SVG document builder and the pictograms.

Every pictogram is drawn in a 100 x 100 box and placed with `Svg.place`; colours come in a small dict
(`fg` main, `ac` accent, `bg` the fill inside outlined bodies) so that one pictogram serves every dealer
look. Strokes are in box units: at 40 pixels a stroke of 8 is about 3 pixels.
"""

import math

# The terminal's own colours: the four brushes and the colour table of the controls.
TEAL = (15, 72, 93)
BLUE = (53, 97, 167)
GREY = (140, 140, 140)
TEAL1 = (0, 100, 95)
KEY = (192, 192, 255)
INK = (0, 0, 1)
WHITE = (255, 255, 255)
ORANGE = (255, 64, 0)
RED = (248, 56, 56)
DEEP = (16, 64, 162)


def mix(a, b, t):
    """a moved towards b by t (0 = a, 1 = b)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def light(c, t):
    return mix(c, WHITE, t)


def dark(c, t):
    return mix(c, (0, 0, 0), t)


def hexc(c):
    return "#%02x%02x%02x" % tuple(c)


# Colours of meaning, the same for every dealer so that an engineer reads them at a glance.
HEAT = ORANGE
HEAT2 = RED
COOL = light(BLUE, 0.25)
COOL2 = BLUE
WATER = light(BLUE, 0.45)
HOTWATER = mix(ORANGE, RED, 0.5)
ECO = light(TEAL1, 0.25)
OFFGREY = GREY
FAULT = RED
WARN = mix(ORANGE, (255, 200, 0), 0.45)


class Svg:
    """One SVG document: gradient definitions with unique ids and the drawing body."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.defs = []
        self.body = []
        self._n = 0

    def uid(self, prefix):
        self._n += 1
        return "%s%d" % (prefix, self._n)

    def linear(self, stops, x1=0, y1=0, x2=0, y2=1, user=None):
        gid = self.uid("g")
        units = ""
        if user:
            units = ' gradientUnits="userSpaceOnUse"'
            x1, y1, x2, y2 = user
        s = "".join('<stop offset="%g" stop-color="%s"%s/>' % (o, hexc(c), (' stop-opacity="%g"' % op) if op != 1 else "")
                    for o, c, op in _stops(stops))
        self.defs.append('<linearGradient id="%s" x1="%g" y1="%g" x2="%g" y2="%g"%s>%s</linearGradient>'
                         % (gid, x1, y1, x2, y2, units, s))
        return "url(#%s)" % gid

    def radial(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None):
        gid = self.uid("r")
        s = "".join('<stop offset="%g" stop-color="%s"%s/>' % (o, hexc(c), (' stop-opacity="%g"' % op) if op != 1 else "")
                    for o, c, op in _stops(stops))
        f = ""
        if fx is not None:
            f = ' fx="%g" fy="%g"' % (fx, fy)
        self.defs.append('<radialGradient id="%s" cx="%g" cy="%g" r="%g"%s>%s</radialGradient>' % (gid, cx, cy, r, f, s))
        return "url(#%s)" % gid

    def filter_blur(self, deviation):
        fid = self.uid("f")
        self.defs.append('<filter id="%s" x="-50%%" y="-50%%" width="200%%" height="200%%">'
                         '<feGaussianBlur stdDeviation="%g"/></filter>' % (fid, deviation))
        return "url(#%s)" % fid

    def add(self, *parts):
        self.body.extend(parts)

    def place(self, glyph, x, y, size, colours, rotate=0):
        """Pictogram `glyph` (a function of this document and the colours) scaled into a size x size box."""
        inner = glyph(self, colours)
        rot = (" rotate(%g 50 50)" % rotate) if rotate else ""
        self.body.append('<g transform="translate(%g %g) scale(%g)%s">%s</g>' % (x, y, size / 100.0, rot, inner))

    def text(self):
        return ('<svg xmlns="http://www.w3.org/2000/svg" width="%d" height="%d" viewBox="0 0 %d %d">'
                "<defs>%s</defs>%s</svg>\n" % (self.width, self.height, self.width, self.height,
                                                "".join(self.defs), "".join(self.body)))


def _stops(stops):
    for s in stops:
        if len(s) == 2:
            yield s[0], s[1], 1
        else:
            yield s


# ---- element helpers ---------------------------------------------------------------------------

def _paint(fill, stroke, sw, extra):
    f = fill if isinstance(fill, str) else (hexc(fill) if fill is not None else "none")
    out = ' fill="%s"' % f
    if stroke is not None:
        st = stroke if isinstance(stroke, str) else hexc(stroke)
        out += ' stroke="%s" stroke-width="%g" stroke-linecap="round" stroke-linejoin="round"' % (st, sw)
    return out + ((" " + extra) if extra else "")


def path(d, fill=None, stroke=None, sw=8, extra=""):
    return '<path d="%s"%s/>' % (d, _paint(fill, stroke, sw, extra))


def rect(x, y, w, h, rx=0, fill=None, stroke=None, sw=8, extra=""):
    return '<rect x="%g" y="%g" width="%g" height="%g" rx="%g"%s/>' % (x, y, w, h, rx, _paint(fill, stroke, sw, extra))


def circle(cx, cy, r, fill=None, stroke=None, sw=8, extra=""):
    return '<circle cx="%g" cy="%g" r="%g"%s/>' % (cx, cy, r, _paint(fill, stroke, sw, extra))


def line(x1, y1, x2, y2, stroke, sw=8, extra=""):
    return path("M%g %g L%g %g" % (x1, y1, x2, y2), None, stroke, sw, extra)


def poly(points, fill=None, stroke=None, sw=8, close=True, extra=""):
    d = "M" + " L".join("%.2f %.2f" % p for p in points) + (" Z" if close else "")
    return path(d, fill, stroke, sw, extra)


def label(x, y, txt, size, fill, weight="bold", anchor="middle", family="DejaVu Sans", extra=""):
    f = fill if isinstance(fill, str) else hexc(fill)
    return ('<text x="%g" y="%g" font-family="%s" font-size="%g" font-weight="%s" text-anchor="%s" fill="%s"%s>%s</text>'
            % (x, y, family, size, weight, anchor, f, (" " + extra) if extra else "", txt))


def polar(cx, cy, r, deg):
    a = math.radians(deg)
    return cx + r * math.sin(a), cy - r * math.cos(a)


def sw_of(c, base):
    return base * c.get("sw", 1.0)


# ---- pictograms (100 x 100) ----------------------------------------------------------------------

def g_power(s, c):
    w = sw_of(c, 11)
    x1, y1 = polar(50, 55, 31, 40)
    x2, y2 = polar(50, 55, 31, 320)
    return (path("M%.2f %.2f A31 31 0 1 1 %.2f %.2f" % (x1, y1, x2, y2), None, c["fg"], w)
            + line(50, 13, 50, 50, c["fg"], w))


def g_flame(s, c):
    outer = s.linear([(0, c.get("ac2", HEAT2)), (1, c.get("ac", HEAT))], 0, 1, 0, 0)
    inner_c = c.get("hi", (255, 200, 60))
    return (path("M50 6 C58 24 78 36 78 60 C78 80 64 94 50 94 C36 94 22 82 22 62 C22 48 31 40 37 28 "
                 "C40 39 44 45 48 48 C53 36 53 21 50 6 Z", outer)
            + path("M50 52 C56 60 64 65 64 76 C64 85 58 90 50 90 C42 90 36 85 36 77 C36 70 42 66 44 60 "
                   "C46 66 48 67 50 68 C51 62 51 57 50 52 Z", inner_c))


def g_drop(s, c):
    return path("M50 8 C60 25 79 44 79 62 C79 79 66 92 50 92 C34 92 21 79 21 62 C21 44 40 25 50 8 Z", c["fg"])


def _snow_arms(c, cx, cy, arm, branch, w, colour):
    out = []
    for k in range(6):
        deg = k * 60
        ex, ey = polar(cx, cy, arm, deg)
        out.append(line(cx, cy, ex, ey, colour, w))
        bx, by = polar(cx, cy, arm * 0.6, deg)
        for side in (-45, 45):
            tx, ty = polar(bx, by, branch, deg + side)
            out.append(line(bx, by, tx, ty, colour, w))
    return "".join(out)


def g_snow(s, c):
    return _snow_arms(c, 50, 50, 42, 15, sw_of(c, 7.5), c["fg"])


def g_sun(s, c):
    out = [circle(50, 50, 19, c["fg"])]
    for k in range(8):
        x1, y1 = polar(50, 50, 28, k * 45)
        x2, y2 = polar(50, 50, 42, k * 45)
        out.append(line(x1, y1, x2, y2, c["fg"], sw_of(c, 7)))
    return "".join(out)


def g_radiator(s, c):
    out = [line(10, 34, 90, 34, c["fg"], sw_of(c, 6)), line(10, 74, 90, 74, c["fg"], sw_of(c, 6))]
    for k in range(4):
        out.append(rect(16 + k * 18, 22, 13, 64, 6.5, c["fg"]))
    return "".join(out)


def g_heating(s, c):
    """Radiator with warm air rising: the heating mode."""
    out = [line(12, 58, 88, 58, c["fg"], sw_of(c, 5)), line(12, 86, 88, 86, c["fg"], sw_of(c, 5))]
    for k in range(4):
        out.append(rect(17 + k * 18, 50, 12, 44, 6, c["fg"]))
    for k in range(3):
        x = 28 + k * 22
        out.append(path("M%g 40 C%g 34 %g 30 %g 24 C%g 18 %g 14 %g 8" % (x, x - 6, x - 6, x, x + 6, x + 6, x),
                        None, c.get("ac", c["fg"]), sw_of(c, 6)))
    return "".join(out)


def g_tap(s, c):
    """Hot-water tap with a drop: domestic hot water."""
    fg = c["fg"]
    return (rect(6, 34, 32, 14, 3, fg)
            + rect(32, 26, 30, 30, 7, fg)
            + rect(43, 13, 8, 16, 0, fg)
            + rect(31, 6, 32, 9, 4.5, fg)
            + path("M60 31 L76 31 C83 31 88 36 88 43 L88 54 L75 54 L75 47 C75 45 74 44 72 44 L60 44 Z", fg)
            + path("M81.5 61 C84 66 89 71 89 76 C89 81 85.5 85 81.5 85 C77.5 85 74 81 74 76 C74 71 79 66 81.5 61 Z",
                   c.get("ac", fg)))


def g_tank(s, c):
    return (rect(26, 8, 48, 84, 16, c.get("bg", WHITE), c["fg"], sw_of(c, 7))
            + line(26, 30, 74, 30, c["fg"], sw_of(c, 4)))


def g_tank_flame(s, c):
    """Tank with a flame at its foot: hot water being made."""
    return (g_tank(s, c)
            + '<g transform="translate(30 40) scale(0.40)">%s</g>' % g_flame(s, c))


def g_tank_levels(s, c):
    """Tank with stored-heat bars: heat storage."""
    out = [g_tank(s, c)]
    for k in range(3):
        out.append(rect(35, 72 - k * 12, 30, 7, 3, c.get("ac", HEAT)))
    return "".join(out)


def g_tank_shield(s, c):
    """Tank with a shield: anti-legionella disinfection running."""
    return (g_tank(s, c) + '<g transform="translate(30 40) scale(0.40)">%s</g>'
            % g_shield_thermo(s, dict(c, fg=c.get("ac", RED), ac=c.get("bg", WHITE), bg=c.get("bg", WHITE))))


def g_clock(s, c):
    out = [circle(50, 50, 38, c.get("bg", WHITE), c["fg"], sw_of(c, 8))]
    for k in range(4):
        x1, y1 = polar(50, 50, 28, k * 90)
        x2, y2 = polar(50, 50, 33, k * 90)
        out.append(line(x1, y1, x2, y2, c["fg"], sw_of(c, 5)))
    out.append(path("M50 24 L50 50 L66 60", None, c.get("ac", c["fg"]), sw_of(c, 7)))
    return "".join(out)


def g_suitcase(s, c):
    return (path("M38 30 L38 20 C38 17 40 15 43 15 L57 15 C60 15 62 17 62 20 L62 30", None, c["fg"], sw_of(c, 6))
            + rect(12, 28, 76, 58, 9, c["fg"])
            + rect(28, 28, 7, 58, 0, c.get("ac", WHITE))
            + rect(65, 28, 7, 58, 0, c.get("ac", WHITE)))


def g_moon(s, c):
    return (path("M58 12 A38 38 0 1 0 88 64 A30 30 0 1 1 58 12 Z", c["fg"])
            + path("M66 16 L82 16 L66 32 L82 32", None, c.get("ac", c["fg"]), sw_of(c, 5)))


def g_shield(s, c):
    return path("M50 6 L86 19 L86 46 C86 69 71 85 50 95 C29 85 14 69 14 46 L14 19 Z", c["fg"])


def g_thermo(s, c):
    bg = c.get("bg", WHITE)
    ac = c.get("ac", HEAT)
    return (rect(39, 6, 22, 64, 11, bg, c["fg"], sw_of(c, 6))
            + circle(50, 76, 16, ac, c["fg"], sw_of(c, 6))
            + rect(46, 30, 8, 44, 4, ac)
            + line(63, 22, 72, 22, c["fg"], sw_of(c, 4)) + line(63, 36, 72, 36, c["fg"], sw_of(c, 4))
            + line(63, 50, 72, 50, c["fg"], sw_of(c, 4)))


def g_shield_thermo(s, c):
    """Shield with a thermometer: thermal disinfection."""
    return (g_shield(s, c)
            + '<g transform="translate(25 20) scale(0.5)">%s</g>'
            % g_thermo(s, dict(c, fg=c.get("bg", WHITE), bg=c["fg"], ac=c.get("ac", HEAT))))


def g_bolt(s, c):
    return path("M58 4 L20 56 L45 56 L38 96 L80 40 L55 40 L64 4 Z", c["fg"])


def g_powercut(s, c):
    """Lightning bolt struck through: the power-cut input."""
    return (g_bolt(s, dict(c, fg=c["fg"]))
            + line(14, 14, 86, 86, c.get("bg", WHITE), sw_of(c, 15))
            + line(14, 14, 86, 86, c.get("ac", FAULT), sw_of(c, 8)))


def g_warning(s, c):
    return (path("M50 8 L94 88 L6 88 Z", c.get("ac", WARN), c.get("ac", WARN), 8)
            + rect(45, 34, 10, 32, 5, c["fg"]) + circle(50, 77, 6, c["fg"]))


def g_stop(s, c):
    pts = [polar(50, 50, 44, 22.5 + 45 * k) for k in range(8)]
    return poly(pts, c.get("ac", FAULT), c.get("ac", FAULT), 4) + rect(24, 42, 52, 16, 4, c["fg"])


def g_hourglass(s, c):
    fg, bg, ac = c["fg"], c.get("bg", WHITE), c.get("ac", WARN)
    return (path("M28 12 C28 36 45 42 45 50 C45 58 28 64 28 88 L72 88 C72 64 55 58 55 50 C55 42 72 36 72 12 Z",
                 bg, fg, sw_of(c, 6))
            + path("M36 24 L64 24 C62 34 54 40 50 44 C46 40 38 34 36 24 Z", ac)
            + path("M34 84 C36 72 46 66 50 64 C54 66 64 72 66 84 Z", ac)
            + line(20, 10, 80, 10, fg, sw_of(c, 8)) + line(20, 90, 80, 90, fg, sw_of(c, 8)))


def g_exchange(s, c):
    """Two opposed arrows: the unit link is talking."""
    fg, ac = c["fg"], c.get("ac", c["fg"])
    w = sw_of(c, 9)
    return (line(14, 33, 76, 33, fg, w) + path("M62 18 L80 33 L62 48", None, fg, w)
            + line(86, 67, 24, 67, ac, w) + path("M38 52 L20 67 L38 82", None, ac, w))


def g_plug(s, c):
    fg = c["fg"]
    return (rect(33, 6, 9, 22, 3, fg) + rect(58, 6, 9, 22, 3, fg)
            + path("M22 26 L78 26 L78 46 C78 62 66 70 50 70 C34 70 22 62 22 46 Z", fg)
            + line(50, 68, 50, 94, fg, sw_of(c, 9)))


def g_leaf(s, c):
    return (path("M16 84 C14 44 40 16 88 12 C88 58 62 86 22 86 Z", c.get("ac", ECO))
            + path("M20 82 C36 62 52 46 74 26", None, c.get("bg", WHITE), sw_of(c, 5)))


def g_speaker_quiet(s, c):
    """Speaker with its outer sound waves faded: low-noise operation."""
    fg = c["fg"]
    return (path("M6 38 L24 38 L48 18 L48 82 L24 62 L6 62 Z", fg)
            + path("M60 38 C66 44 66 56 60 62", None, fg, sw_of(c, 7))
            + path("M71 28 C81 38 81 62 71 72", None, mix(fg, c.get("bg", WHITE), 0.55), sw_of(c, 7))
            + path("M82 18 C96 34 96 66 82 82", None, mix(fg, c.get("bg", WHITE), 0.75), sw_of(c, 7)))


def g_grid(s, c):
    out = []
    for r in range(3):
        for q in range(3):
            out.append(rect(12 + q * 27, 12 + r * 27, 22, 22, 5, c["fg"]))
    return "".join(out)


def g_gauge(s, c):
    fg = c["fg"]
    out = [path("M12 70 A38 38 0 0 1 88 70", None, fg, sw_of(c, 8))]
    for deg in (-90, -45, 0, 45, 90):
        x1, y1 = polar(50, 70, 26, deg)
        x2, y2 = polar(50, 70, 31, deg)
        out.append(line(x1, y1, x2, y2, fg, sw_of(c, 5)))
    out.append(line(50, 70, 69, 44, c.get("ac", HEAT), sw_of(c, 8)))
    out.append(circle(50, 70, 8, fg))
    out.append(line(14, 88, 86, 88, fg, sw_of(c, 6)))
    return "".join(out)


def g_chevron(s, c, direction):
    pts = {"left": "M62 18 L30 50 L62 82", "right": "M38 18 L70 50 L38 82",
           "up": "M18 64 L50 32 L82 64", "down": "M18 36 L50 68 L82 36"}[direction]
    return path(pts, None, c["fg"], sw_of(c, 14))


def g_left(s, c):
    return g_chevron(s, c, "left")


def g_right(s, c):
    return g_chevron(s, c, "right")


def g_up(s, c):
    return g_chevron(s, c, "up")


def g_down(s, c):
    return g_chevron(s, c, "down")


def g_plus(s, c):
    w = sw_of(c, 15)
    return line(50, 16, 50, 84, c["fg"], w) + line(16, 50, 84, 50, c["fg"], w)


def g_minus(s, c):
    return line(16, 50, 84, 50, c["fg"], sw_of(c, 15))


def g_close(s, c):
    w = sw_of(c, 13)
    return line(24, 24, 76, 76, c["fg"], w) + line(76, 24, 24, 76, c["fg"], w)


def g_check(s, c):
    return path("M18 52 L41 74 L83 28", None, c["fg"], sw_of(c, 13))


def g_gear(s, c):
    teeth, outer, root = 8, 44, 33
    pts = []
    for k in range(teeth):
        base = k * 360.0 / teeth
        for off, r in ((-15, root), (-9, outer), (9, outer), (15, root)):
            pts.append(polar(50, 50, r, base + off))
    d = "M" + " L".join("%.2f %.2f" % p for p in pts) + " Z"
    d += " M50 36 A14 14 0 1 0 50 64 A14 14 0 1 0 50 36 Z"
    return path(d, c["fg"], extra='fill-rule="evenodd"')


def g_sliders(s, c):
    fg, ac = c["fg"], c.get("ac", HEAT)
    out = []
    for y, x in ((24, 34), (50, 66), (76, 44)):
        out.append(line(12, y, 88, y, fg, sw_of(c, 6)))
        out.append(circle(x, y, 10, ac, fg, sw_of(c, 4)))
    return "".join(out)


def g_heater(s, c):
    """Electric heating element: backup heaters."""
    fg, ac = c["fg"], c.get("ac", HEAT)
    return (path("M22 24 L74 24 C86 24 86 42 74 42 L30 42 C18 42 18 60 30 60 L74 60 C86 60 86 78 74 78 L22 78",
                 None, ac, sw_of(c, 8))
            + rect(6, 14, 16, 74, 4, fg))


def g_pump(s, c):
    fg = c["fg"]
    a = polar(50, 50, 38, 90)
    b = polar(50, 50, 38, 210)
    d = polar(50, 50, 38, 330)
    return (circle(50, 50, 38, c.get("bg", WHITE), fg, sw_of(c, 7))
            + poly([a, b, d], fg, fg, sw_of(c, 3)))


def g_floor(s, c):
    """Floor with heating loops under it and warmth rising: floor heating and screed drying."""
    fg, ac = c["fg"], c.get("ac", HEAT)
    out = [rect(6, 50, 88, 10, 3, fg)]
    out.append(path("M10 76 C18 64 26 64 34 76 C42 88 50 88 58 76 C66 64 74 64 82 76 C86 82 88 82 90 80",
                    None, ac, sw_of(c, 7)))
    for k in range(3):
        x = 26 + k * 24
        out.append(path("M%g 40 C%g 34 %g 30 %g 24 C%g 18 %g 14 %g 8" % (x, x - 5, x - 5, x, x + 5, x + 5, x),
                        None, ac, sw_of(c, 5)))
    return "".join(out)


def g_curve(s, c):
    """Weather curve: water temperature falling as the outdoor temperature rises."""
    fg, ac = c["fg"], c.get("ac", HEAT)
    out = [path("M14 8 L14 86 L94 86", None, fg, sw_of(c, 7)),
           path("M22 22 C42 28 58 46 86 70", None, ac, sw_of(c, 8))]
    for x, y in ((22, 22), (52, 40), (86, 70)):
        out.append(circle(x, y, 7, fg))
    return "".join(out)


def g_house(s, c):
    fg = c["fg"]
    return (rect(22, 44, 56, 46, 3, c.get("bg", WHITE), fg, sw_of(c, 7))
            + path("M8 50 L50 14 L92 50", None, fg, sw_of(c, 9))
            + rect(43, 64, 14, 26, 2, fg))


def g_house_mark(s, c, mark):
    """House outline with a sign filling it: heating or cooling running, defrost."""
    fg = c["fg"]
    out = [rect(20, 44, 60, 48, 3, c.get("bg", WHITE), fg, sw_of(c, 6)),
           path("M6 50 L50 12 L94 50", None, fg, sw_of(c, 9))]
    out.append('<g transform="translate(27 45) scale(0.46)">%s</g>' % mark(s, dict(c, fg=c.get("ac", HEAT), sw=1.3)))
    return "".join(out)


def g_unit(s, c):
    """Outdoor unit: casing, fan and grille."""
    fg = c["fg"]
    out = [rect(6, 18, 88, 66, 6, fg), circle(42, 51, 25, c.get("bg", WHITE))]
    out.append(g_fan_blades(42, 51, 21, fg))
    for k in range(4):
        out.append(line(75, 30 + k * 12, 87, 30 + k * 12, c.get("bg", WHITE), sw_of(c, 4)))
    out.append(rect(12, 84, 14, 8, 0, fg) + rect(74, 84, 14, 8, 0, fg))
    return "".join(out)


def g_fan_blades(cx, cy, r, colour):
    out = []
    for k in range(3):
        out.append('<path d="M%g %g C%g %g %g %g %g %g C%g %g %g %g %g %g Z" fill="%s" transform="rotate(%d %g %g)"/>'
                   % (cx, cy, cx - r * 0.25, cy - r * 0.55, cx + r * 0.15, cy - r * 1.0, cx + r * 0.55, cy - r * 0.85,
                      cx + r * 0.7, cy - r * 0.45, cx + r * 0.35, cy - r * 0.1, cx, cy, hexc(colour), k * 120, cx, cy))
    out.append(circle(cx, cy, r * 0.18, colour))
    return "".join(out)


def g_fan(s, c):
    return circle(50, 50, 42, None, c["fg"], sw_of(c, 7)) + g_fan_blades(50, 50, 34, c["fg"])


def g_defrost(s, c):
    """Snowflake with a melting drop: defrost."""
    return (_snow_arms(c, 40, 42, 34, 12, sw_of(c, 7), c["fg"])
            + path("M78 56 C82 64 90 70 90 78 C90 85 85 91 78 91 C71 91 66 85 66 78 C66 70 74 64 78 56 Z",
                   c.get("ac", WATER)))


def g_wrench(s, c):
    return path("M72 8 C60 6 50 16 53 29 L14 68 C9 73 9 81 14 86 C19 91 27 91 32 86 L71 47 C84 50 94 40 92 28 "
                "L80 40 L66 36 L62 22 Z", c["fg"])


def g_clock_wrench(s, c):
    return (g_clock(s, c) + '<g transform="translate(46 46) scale(0.52)">%s</g>' % g_wrench(s, dict(c, fg=c.get("ac", HEAT))))


def g_tank_clock(s, c):
    return (g_tank(s, c) + '<g transform="translate(33 40) scale(0.36)">%s</g>' % g_clock(s, dict(c, fg=c.get("ac", HEAT))))


def g_auto(s, c):
    """Letter A inside a closed arrow loop: automatic mode choice."""
    fg = c["fg"]
    w = sw_of(c, 8)
    x1, y1 = polar(50, 50, 40, 30)
    x2, y2 = polar(50, 50, 40, 330)
    hx, hy = x2, y2
    return (path("M%.2f %.2f A40 40 0 1 1 %.2f %.2f" % (x1, y1, x2, y2), None, fg, w)
            + poly([(hx - 12, hy - 8), (hx + 4, hy - 2), (hx - 6, hy + 12)], fg, fg, 3)
            + path("M32 74 L50 26 L68 74 M39 58 L61 58", None, c.get("ac", fg), sw_of(c, 10)))


def g_boost(s, c):
    """Drop with a lightning flash: quick hot-water heating."""
    return (g_drop(s, c) + '<g transform="translate(32 36) scale(0.40)">%s</g>' % g_bolt(s, dict(c, fg=c.get("ac", WHITE))))


def g_pipes(s, c):
    """Pipe run with a mixing valve: heating circuit 2."""
    return g_radiator(s, c)


def g_info(s, c):
    return (circle(50, 50, 40, None, c["fg"], sw_of(c, 8)) + circle(50, 30, 7, c["fg"])
            + rect(44, 42, 12, 34, 4, c["fg"]))


def g_valve(s, c):
    return path("M14 28 L50 50 L14 72 Z M86 28 L50 50 L86 72 Z", c["fg"], c["fg"], sw_of(c, 4))


def g_list(s, c):
    out = []
    for k in range(4):
        y = 18 + k * 21
        out.append(circle(16, y, 6, c.get("ac", c["fg"])))
        out.append(line(30, y, 88, y, c["fg"], sw_of(c, 7)))
    return "".join(out)


def g_badge2(s, c):
    """A radiator with the number 2 beside it: the second heating circuit."""
    return ('<g transform="translate(0 14) scale(0.72)">%s</g>' % g_radiator(s, c)
            + circle(74, 30, 22, c.get("ac", HEAT))
            + label(74, 40, "2", 30, c.get("bg", WHITE)))


GLYPHS = {
    "power": g_power, "flame": g_flame, "drop": g_drop, "snow": g_snow, "sun": g_sun,
    "radiator": g_radiator, "heating": g_heating, "tap": g_tap, "tank": g_tank, "tank_flame": g_tank_flame,
    "tank_levels": g_tank_levels, "tank_shield": g_tank_shield, "tank_clock": g_tank_clock,
    "clock": g_clock, "suitcase": g_suitcase, "moon": g_moon, "shield": g_shield, "thermo": g_thermo,
    "shield_thermo": g_shield_thermo, "bolt": g_bolt, "powercut": g_powercut, "warning": g_warning,
    "stop": g_stop, "hourglass": g_hourglass, "exchange": g_exchange, "plug": g_plug, "leaf": g_leaf,
    "quiet": g_speaker_quiet, "grid": g_grid, "gauge": g_gauge, "left": g_left, "right": g_right,
    "up": g_up, "down": g_down, "plus": g_plus, "minus": g_minus, "close": g_close, "check": g_check,
    "gear": g_gear, "sliders": g_sliders, "heater": g_heater, "pump": g_pump, "floor": g_floor,
    "curve": g_curve, "house": g_house, "unit": g_unit, "fan": g_fan, "defrost": g_defrost,
    "wrench": g_wrench, "clock_wrench": g_clock_wrench, "auto": g_auto, "boost": g_boost,
    "info": g_info, "valve": g_valve, "list": g_list, "circuit2": g_badge2,
    "house_heat": lambda s, c: g_house_mark(s, c, g_flame),
    "house_cool": lambda s, c: g_house_mark(s, dict(c, ac=c.get("ac2", COOL2)), g_snow),
    "house_defrost": lambda s, c: g_house_mark(s, dict(c, ac=c.get("ac2", COOL2)), g_defrost),
}
