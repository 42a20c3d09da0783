"""Screen backgrounds (480 x 272, the pop-up 375 x 225). They are opaque; labels copy their own piece of
them, so the places where a screen writes its values are kept calm. The status pages of most dealers
have no visible buttons and are left by tapping their corners, so those backgrounds mark the corners."""

from faces import r_unit_picture
from shapes import COOL, COOL2, GLYPHS, HEAT, HOTWATER, RED, WHITE, circle, dark, light, line, mix, path, rect

W, H = 480, 272


def _sky(s, t, w=W, h=H):
    s.add(rect(0, 0, w, h, 0, s.linear([(0, t["main_top"]), (1, t["main_bottom"])])))


def _body(s, t, top, w=W, h=H):
    s.add(rect(0, top, w, h - top, 0, s.linear([(0, t["body_top"]), (1, t["body_bottom"])], user=(0, top, 0, h))))


def _header(s, t, height):
    s.add(rect(0, 0, W, height, 0, s.linear([(0, light(t["header"], 0.25)), (1, t["header"])])))
    s.add(rect(0, height, W, 2, 0, t["header_line"]))


def _hint(s, glyph, x, y, size, colour, backing=None, opacity=0.85):
    """A small marked corner: the finger knows where to tap."""
    if backing is not None:
        s.add(rect(x - 3, y - 3, size + 6, size + 6, 8, backing, extra='opacity="0.35"'))
    s.add('<g opacity="%g">' % opacity)
    s.place(GLYPHS[glyph], x, y, size, {"fg": colour, "sw": 1.2})
    s.add("</g>")


def _back_glyph(d, c):
    """Curved arrow back to the main screen."""
    return (path("M30 40 L74 40 C86 40 92 50 92 60 C92 72 84 80 72 80 L40 80", None, c["fg"], 12)
            + path("M44 18 L22 40 L44 62", None, c["fg"], 12))


GLYPHS.setdefault("back", _back_glyph)


def _corner_hints(s, colour, backing, prev_next=True, menu=True):
    _hint(s, "back", 10, 8, 26, colour, backing)
    if menu:
        _hint(s, "grid", 444, 8, 24, colour, backing)
    if prev_next:
        _hint(s, "left", 10, 238, 26, colour, backing)
        _hint(s, "right", 444, 238, 26, colour, backing)


def _menu_tile(s, t, x=402, y=202, size=56):
    """The main screen opens the menu by a tap at its lower right; the tile shows where."""
    s.add(rect(x, y + 2, size, size, 12, dark(t["main_bottom"], 0.3), extra='opacity="0.5"'))
    fill = s.linear([(0, light(t["primary"], 0.25)), (1, t["primary"])])
    s.add(rect(x, y, size, size, 12, fill, light(t["primary"], 0.45) if not t["dark"] else t["accent"], 1.5))
    s.place(GLYPHS["grid"], x + size * 0.2, y + size * 0.2, size * 0.6, {"fg": WHITE})


# ---- main screens --------------------------------------------------------------------------------

def bg_main(s, w, h, t, variant=None):
    if t["dark"]:
        return _main_dark(s, t)
    _sky(s, t)
    # Header strip for the date and the compressor figure; dealer 9 writes them in white, so its strip is dark.
    if t["name"] == "d9":
        s.add(rect(0, 0, W, 30, 0, dark(t["primary"], 0.35)))
    else:
        s.add(rect(0, 0, W, 30, 0, WHITE, extra='opacity="0.55"'))
    s.add(rect(0, 30, W, 1.5, 0, light(t["primary"], 0.35)))
    ground = t["ground"] if variant != "13" else light(t["second"], 0.72)
    s.add(path("M0 226 C90 210 190 214 260 222 C340 231 410 222 480 210 L480 272 L0 272 Z", ground))
    s.add(path("M0 246 C120 236 220 240 300 246 C380 252 430 246 480 238 L480 272 L0 272 Z", dark(ground, 0.08)))
    # Soft sun in the sky: the outdoor side of the picture.
    s.add(circle(40, 70, 46, WHITE, extra='opacity="0.35"'))
    if t["name"] == "d9":
        _main_scene_d9(s, t)
    _menu_tile(s, t)


def _main_scene_d9(s, t):
    """Dealer 9 shows no unit picture: the house, the outdoor unit and the tank are in the background,
    around the value plates at (220,130), (75,180) and (390,180)."""
    s.add('<g transform="translate(20 30) scale(1.36 1.0)">')
    r_unit_picture(s, 320, 150, t, accent=",".join(str(v) for v in t["primary"]), fans=1, split=1, tank=1)
    s.add("</g>")


def _main_dark(s, t):
    """Dealers 3 and 15: two rows of circuit cells; the first row's pictures are part of the
    background, the second row's are buttons (hot water at (78,151), circuit 2 at (264,151))."""
    _sky(s, t)
    s.add(rect(0, 0, W, 30, 0, (0, 0, 0), extra='opacity="0.25"'))
    s.add(rect(0, 30, W, 1.5, 0, t["accent"], extra='opacity="0.8"'))
    for y in (56, 143):
        s.add(rect(70, y, 332, 74, 14, WHITE, extra='opacity="0.06"'))
        s.add(rect(70, y, 332, 74, 14, None, t["accent"], 1, extra='opacity="0.35"'))
        s.add(line(236, y + 10, 236, y + 64, t["accent"], 1, extra='opacity="0.35"'))
    # Outdoor temperature at the top left.
    s.place(GLYPHS["thermo"], 12, 36, 26, {"fg": WHITE, "ac": COOL, "bg": t["primary"]})
    # Row one: room (house) and circuit 1 (radiator), drawn as the circuit buttons are drawn: 48-pixel
    # tiles at the left of 60-pixel cells, clear of the values 56 pixels further right.
    for x, glyph, ac in ((78, "house", t["accent"]), (264, "radiator", HEAT)):
        s.add(rect(x + 2, 70, 48, 48, 12, s.linear([(0, light(t["primary"], 0.2)), (1, dark(t["primary"], 0.3))]), ac, 2))
        s.place(GLYPHS[glyph], x + 9, 77, 34, {"fg": WHITE, "ac": ac, "bg": t["primary"]})
    # Under the power button (54 x 54 at (4,211)): its lit face is an open ring, so the symbol of the
    # running system is here; the off face is a closed disc that covers it.
    cx, cy = 31, 238
    s.add(circle(cx, cy, 22, s.linear([(0, light(t["primary"], 0.2)), (1, dark(t["primary"], 0.4))])))
    s.place(GLYPHS["power"], cx - 14.5, cy - 14.5, 29, {"fg": t["accent"], "sw": 1.15})
    _menu_tile(s, t)


# ---- pages ---------------------------------------------------------------------------------------

def bg_page(s, w, h, t, variant=None):
    top = 34 if variant != "param" else 38
    _body(s, t, 0)
    _header(s, t, top)
    if not t["dark"] and t["name"] != "d9":
        # A faint sheen across the body.
        s.add(path("M0 %d L480 %d L480 120 C300 160 160 110 0 170 Z" % (top + 2, top + 2), WHITE, extra='opacity="0.04"'))
    glyph_c = WHITE if (t["dark"] or t["name"] == "d9") else t["primary"]
    _hint(s, "back", 10, 5, 24, glyph_c)


def bg_param(s, w, h, t):
    bg_page(s, w, h, t, variant="param")


def bg_popup(s, w, h, t):
    s.add(rect(0, 0, w, h, 0, s.linear([(0, light(t["popup_body"], 0.05)), (1, dark(t["popup_body"], 0.15))])))
    s.add(rect(0, 0, w, 36, 0, s.linear([(0, light(t["popup_title"], 0.2)), (1, t["popup_title"])])))
    s.add(rect(0, 36, w, 2, 0, t["accent"] if t["name"] != "d9" else light(t["primary"], 0.4)))
    s.add(rect(1, 1, w - 2, h - 2, 0, None, light(t["popup_title"], 0.35), 2))


# ---- status pages --------------------------------------------------------------------------------

def _diagram_colours(t):
    if t["name"] == "d9":
        base_top, base_bottom = dark(t["primary"], 0.35), dark(t["primary"], 0.7)
    else:
        base_top, base_bottom = t["body_top"], t["body_bottom"]
    edge = light(base_top, 0.55)
    if t["dark"]:
        edge = mix(edge, t["accent"], 0.3)
    box = light(base_top, 0.12)
    return base_top, base_bottom, edge, box


def bg_design1(s, w, h, t, hints="1"):
    """Water side: room, hydro unit, two mixing circuits, the tank, and a panel for pump and links."""
    top, bottom, edge, box = _diagram_colours(t)
    s.add(rect(0, 0, W, H, 0, s.linear([(0, top), (1, bottom)])))
    hot, cold = light(HEAT, 0.1), light(COOL, 0.1)
    pipe = 'opacity="0.9"'
    # Room (label at 10,48).
    s.place(GLYPHS["house"], 16, 66, 50, {"fg": edge, "bg": box})
    s.place(GLYPHS["thermo"], 33, 84, 18, {"fg": edge, "ac": hot, "bg": box})
    # Hydro unit with its pump; flow temperature and set point are written above it (135,34).
    s.add(rect(88, 70, 82, 98, 8, box, edge, 2))
    s.place(GLYPHS["pump"], 98, 124, 30, {"fg": edge, "bg": box})
    for k in range(5):
        s.add(line(136, 82 + k * 8, 160, 86 + k * 8, edge, 2))
    s.place(GLYPHS["thermo"], 114, 34, 20, {"fg": edge, "ac": hot, "bg": box})
    # Circuit 1: flow to the radiator through mixing valve 1 (label 282,69).
    s.add(path("M170 92 L252 92 M272 92 L352 92 L352 70 L358 70", None, hot, 4, pipe))
    s.add(path("M170 112 L470 112 L470 166 L460 166 M436 96 L436 112", None, cold, 4, pipe))
    s.place(GLYPHS["valve"], 250, 80, 24, {"fg": edge})
    for k in range(5):
        s.add(rect(360 + k * 13, 56, 9, 42, 4, light(HEAT, 0.25), extra='opacity="0.9"'))
    s.add(line(356, 62, 428, 62, light(HEAT, 0.25), 3))
    s.add(line(356, 94, 438, 94, light(HEAT, 0.25), 3))
    # Circuit 2: branch down to mixing valve 2 (label 292,138) and the floor loops.
    s.add(path("M220 92 L220 160 L258 160 M282 160 L372 160", None, hot, 4, pipe))
    s.place(GLYPHS["valve"], 258, 148, 24, {"fg": edge})
    s.add(path("M372 160 L372 132 L392 132 L392 160 L412 160 L412 132 L432 132 L432 160 L452 160 L452 132 "
               "L460 132 L460 166", None, hot, 3, pipe))
    # Hot-water tank (labels 267,228 and 267,241) fed from the unit's foot.
    s.add(path("M130 168 L130 214 L216 214", None, hot, 4, pipe))
    s.add(path("M216 234 L112 234 L112 168", None, cold, 4, pipe))
    s.add(rect(214, 174, 46, 82, 16, box, edge, 2))
    s.add(path("M216 214 L250 214 C256 214 256 222 250 222 L226 222 C220 222 220 230 226 230 L250 230 "
               "C256 230 256 238 250 238 L226 238 C220 238 220 234 216 234", None, hot, 2.5))
    s.place(GLYPHS["drop"], 228, 184, 18, {"fg": light(HOTWATER, 0.2)})
    # Panel for the pump speed and the two link qualities (336,178 to 466,232).
    s.add(rect(330, 172, 142, 66, 8, dark(bottom, 0.3), edge, 1, 'fill-opacity="0.85"'))
    if hints == "1":
        _corner_hints(s, WHITE, dark(bottom, 0.2))


def bg_design2(s, w, h, t, hints="1"):
    """Refrigerant side: water heat exchanger, four-way valve, compressor, expansion valve and the
    outdoor coil with its two fans; each value is written beside its sensor."""
    top, bottom, edge, box = _diagram_colours(t)
    s.add(rect(0, 0, W, H, 0, s.linear([(0, top), (1, bottom)])))
    hot, cold = light(HEAT, 0.1), light(COOL, 0.1)
    gas, liquid = light(RED, 0.25), light(COOL2, 0.35)
    op = 'opacity="0.9"'
    # Water side: outlet (label 33,49) and inlet (label 33,160).
    s.add(path("M0 71 L76 71", None, hot, 5, op))
    s.add(path("M0 182 L76 182", None, cold, 5, op))
    # Plate heat exchanger.
    s.add(rect(76, 44, 40, 152, 6, box, edge, 2))
    for k in range(9):
        y = 56 + k * 15
        s.add(path("M82 %d L96 %d L110 %d" % (y + 6, y, y + 6), None, edge, 1.5))
    # Gas line to the four-way valve; pressure and temperature sensors under it (142,67 and 142,87).
    s.add(path("M116 56 L262 56 L262 84", None, gas, 4, op))
    s.add(circle(136, 56, 5, WHITE, gas, 2))
    # Four-way valve.
    s.add(rect(250, 84, 24, 24, 4, box, edge, 2))
    s.add(path("M256 90 C262 102 262 88 268 102", None, edge, 2))
    s.add(path("M274 96 L352 96", None, gas, 4, op))
    s.add(circle(288, 96, 5, WHITE, gas, 2))
    # Compressor (frequency and current written at 234,193): discharge up, suction in at its side.
    s.add(path("M202 148 L202 130 L256 130 L256 108", None, gas, 4, op))
    s.add(path("M268 108 L268 160 L226 160", None, liquid, 4, op))
    s.add(circle(268, 132, 5, WHITE, liquid, 2))
    s.add(rect(186, 146, 42, 78, 18, s.linear([(0, light(box, 0.2)), (1, box)], 0, 0, 1, 0), edge, 2))
    s.add(rect(196, 168, 22, 34, 6, None, edge, 1.5))
    s.add(line(200, 224, 196, 229, edge, 2) + line(214, 224, 218, 229, edge, 2))
    # Outdoor unit: coil on the left, two fans (fan speeds written under it at 345,190).
    s.add(rect(352, 72, 120, 110, 8, box, edge, 2))
    for k in range(12):
        s.add(line(358, 80 + k * 8, 380, 80 + k * 8, edge, 1.2))
    for fy in (102, 152):
        s.add(circle(426, fy, 25, dark(box, 0.25), edge, 1.5))
        s.place(GLYPHS["fan"], 404, fy - 22, 44, {"fg": edge})
    # Ambient temperature (399,52).
    s.place(GLYPHS["thermo"], 372, 40, 24, {"fg": edge, "ac": cold, "bg": box})
    # Liquid line through the expansion valve (its opening written at 175,231 on a black plate).
    s.add(path("M358 172 L336 172 L336 252 L172 252 M148 252 L100 252 L100 196", None, liquid, 4, op))
    s.place(GLYPHS["valve"], 148, 240, 24, {"fg": edge})
    s.add(circle(100, 212, 5, WHITE, liquid, 2))
    if hints == "1":
        _corner_hints(s, WHITE, dark(bottom, 0.2))


# ---- menus with their pictures (dealers 3 and 15) ------------------------------------------------

MENU_ITEMS_X = (35, 139, 243, 345)
MENU_ITEMS_Y = (42, 150)
MENU_PICTURES = {
    "1": ("curve", "circuit2", "tap", "tank_clock", "moon", "shield_thermo", "suitcase", "gear"),
    "2": ("sliders", "heater", "pump", "floor", "plug", "wrench", "gauge", None),
}


def bg_menu(s, w, h, t, page="1"):
    """Menu page whose item buttons draw only a lit ring (60 x 60 at each item's corner); the pictures
    of the parameter pages are here, under the rings."""
    bg_page(s, w, h, t)
    pics = MENU_PICTURES[page]
    for i, glyph in enumerate(pics):
        if glyph is None:
            continue
        x = MENU_ITEMS_X[i % 4]
        y = MENU_ITEMS_Y[i // 4]
        s.add(circle(x + 30, y + 30, 25, s.radial([(0, light(t["primary"], 0.35)), (1, dark(t["primary"], 0.2))])))
        s.place(GLYPHS[glyph], x + 12, y + 12, 36, {"fg": WHITE, "ac": t["accent"], "bg": t["primary"], "sw": 1.1})
    if page == "1":
        _hint(s, "right", 444, 236, 26, WHITE, dark(t["body_bottom"], 0.2))
    else:
        _hint(s, "left", 10, 236, 26, WHITE, dark(t["body_bottom"], 0.2))


RECIPES = {
    "bg_main": bg_main, "bg_page": bg_page, "bg_param": bg_param, "bg_popup": bg_popup,
    "bg_design1": bg_design1, "bg_design2": bg_design2, "bg_menu": bg_menu,
}
