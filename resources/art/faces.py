"""Button faces and icons. Each recipe draws into an `Svg` of the face's size on a transparent ground;
the renderer turns the ground into the key colour afterwards. Faces keep a margin of at least one
pixel at their corners, so the corner pixels are always the key."""

from shapes import (COOL, COOL2, ECO, FAULT, GLYPHS, GREY, HEAT, HOTWATER, INK, ORANGE, RED, TEAL1, WARN, WATER,
                    WHITE, circle, dark, label, light, line, mix, path, rect)

# Mode colours: (light end, dark end) of the disc behind the pictogram.
MODES = {
    "heat": (light(HEAT, 0.15), dark(HEAT, 0.1)),
    "cool": (light(COOL, 0.2), COOL2),
    "hw": (light(HOTWATER, 0.1), dark(RED, 0.2)),
    "auto": (light(TEAL1, 0.35), TEAL1),
    "off": (light(GREY, 0.35), dark(GREY, 0.2)),
    "boost": (light(RED, 0.15), dark(RED, 0.25)),
}

MODE_GLYPH = {"heat": "heating", "cool": "snow", "hw": "tap", "auto": "auto", "off": "power", "boost": "boost"}

# Status tones: colours of the pictogram on a light or a dark screen.
TONES = {
    "normal": None,
    "fault": FAULT,
    "warn": WARN,
    "heat": HEAT,
    "cool": COOL2,
    "eco": ECO,
}


def _glyph_colours(t, tone, on_dark):
    fg = WHITE if on_dark else t["status_fg"]
    ac = t["accent"]
    if tone == "fault":
        ac = FAULT
    elif tone == "warn":
        ac = WARN
    elif tone == "cool":
        ac = COOL2 if not on_dark else COOL
    elif tone == "eco":
        ac = ECO
    bg = t["primary"] if on_dark else WHITE
    return {"fg": fg, "ac": ac, "bg": bg, "ac2": COOL2 if not on_dark else COOL, "sw": 1.1}


def _centre_glyph(s, name, w, h, size, colours, dy=0.0, dx=0.0):
    s.place(GLYPHS[name], (w - size) / 2.0 + dx, (h - size) / 2.0 + dy, size, colours)


# ---- icons on tiles ------------------------------------------------------------------------------

def r_menu_tile(s, w, h, t, glyph):
    """Menu item: a rounded tile (default looks) or a white round card (light look)."""
    m = 2
    if t["name"] == "d9":
        r = min(w, h) / 2.0 - m
        s.add(circle(w / 2.0, h / 2.0 + 1, r, dark(t["tile_b"], 0.12)))
        s.add(circle(w / 2.0, h / 2.0, r, s.linear([(0, t["tile_a"]), (1, t["tile_b"])]), t["primary"], 2))
        colours = {"fg": t["tile_glyph"], "ac": t["tile_accent"], "bg": WHITE, "sw": 1.1}
    else:
        s.add(rect(m, m, w - 2 * m, h - 2 * m, 12, s.linear([(0, t["tile_a"]), (1, t["tile_b"])]),
                   light(t["tile_a"], 0.35), 1.5))
        s.add(rect(m + 4, m + 3, w - 2 * m - 8, (h - 2 * m) * 0.42, 9, WHITE, extra='opacity="0.10"'))
        colours = {"fg": t["tile_glyph"], "ac": t["tile_accent"], "bg": t["tile_b"], "sw": 1.1}
    _centre_glyph(s, glyph, w, h, min(w, h) * 0.58, colours)


def r_mode(s, w, h, t, mode, glyph=None, style="disc"):
    """Operating-mode icon: the mode's colour on a disc with the mode's pictogram in white."""
    glyph = glyph or MODE_GLYPH[mode]
    a, b = MODES[mode]
    cx, cy = w / 2.0, h / 2.0
    r = min(w, h) / 2.0 - 1.5
    if h == 45:
        # The mode strip writes its caption from y 40 down: keep the disc above it.
        r = h / 2.0 - 3
        cy = r + 1
    if style == "ring":
        # Dark looks: a dark disc with a ring of the mode's colour.
        s.add(circle(cx, cy, r, s.linear([(0, light(t["primary"], 0.18)), (1, dark(t["primary"], 0.35))]), a, max(2, r * 0.14)))
        colours = {"fg": a if mode != "off" else light(GREY, 0.3), "ac": WHITE, "bg": t["primary"], "sw": 1.2}
        s.place(GLYPHS[glyph], cx - r * 0.6, cy - r * 0.6, r * 1.2, colours)
        return
    if style == "card":
        # Light look: a white card with the mode's pictogram in its colour.
        s.add(circle(cx, cy + 1, r, dark(t["tile_b"], 0.15)))
        s.add(circle(cx, cy, r, s.linear([(0, WHITE), (1, t["tile_b"])]), b, max(1.5, r * 0.08)))
        colours = {"fg": b, "ac": a if mode != "boost" else WHITE, "bg": WHITE, "sw": 1.2}
        if mode == "boost":
            colours["ac"] = WHITE
        _centre_glyph(s, glyph, w, h, r * 1.2, colours)
        return
    s.add(circle(cx, cy, r, s.radial([(0, light(a, 0.25)), (1, b)], 0.35, 0.3, 0.8), dark(b, 0.15), 1))
    colours = {"fg": WHITE, "ac": light(a, 0.55) if mode != "boost" else b, "bg": b, "sw": 1.2}
    size = r * 1.4
    s.place(GLYPHS[glyph], cx - size / 2.0, cy - size / 2.0, size, colours)


def r_mode_word(s, w, h, t, mode, word, glyph=None, style="card"):
    """Mode icon that carries its own word under the pictogram (layouts whose strip has no captions)."""
    glyph = glyph or MODE_GLYPH[mode]
    a, b = MODES[mode]
    if style == "ring":
        s.add(rect(1.5, 1.5, w - 3, h - 3, 9, s.linear([(0, light(t["primary"], 0.2)), (1, dark(t["primary"], 0.3))]),
                   a, 2))
        fg, text = a, WHITE
    else:
        s.add(rect(1.5, 2.5, w - 3, h - 3, 9, dark(t["tile_b"], 0.2)))
        s.add(rect(1.5, 1.5, w - 3, h - 3, 9, s.linear([(0, WHITE), (1, t["tile_b"])]), b, 1.5))
        fg, text = b, t["primary"]
    size = h * 0.56
    s.place(GLYPHS[glyph], (w - size) / 2.0, 3, size, {"fg": fg, "ac": a if mode != "boost" else WHITE,
                                                        "bg": WHITE, "sw": 1.2})
    fs = min(10.5, (w - 6) / (0.62 * max(4, len(word))))
    s.add(label(w / 2.0, h - 5.5, word, fs, text))


def r_status(s, w, h, t, glyph, tone="normal", on_dark=None, room=None):
    """Main-screen status icon: the pictogram alone, in the look's status colour. With room="count"
    (the hot-water and heating side icons) the pictogram is smaller and keeps to the left, leaving the
    right third of the icon to the count of running heaters that the screen writes there."""
    if on_dark is None:
        on_dark = t["dark"]
    colours = _glyph_colours(t, tone, on_dark)
    if tone in ("fault", "warn", "eco") and glyph in ("warning", "stop", "leaf"):
        colours["fg"] = WHITE if glyph in ("stop",) else (INK if glyph == "warning" else colours["fg"])
    if glyph == "warning":
        colours["fg"] = INK if not on_dark else dark(t["primary"], 0.3)
    size = min(w, h) - 4
    if room == "count":
        small = size * 0.68
        _centre_glyph(s, glyph, w, h, small, colours, dx=1 - (w - small) / 2.0)
    else:
        _centre_glyph(s, glyph, w, h, size, colours)


def r_power(s, w, h, t, state):
    """Power button: off shows a quiet grey button, on a lit one."""
    cx, cy = w / 2.0, h / 2.0
    r = min(w, h) / 2.0 - 2
    on = state == "on"
    if t["name"] in ("d3", "d15"):
        base = t["primary"]
        s.add(circle(cx, cy, r, s.linear([(0, light(base, 0.2)), (1, dark(base, 0.4))]),
                     t["accent"] if on else light(GREY, 0.1), max(2, r * 0.1)))
        fg = t["accent"] if on else light(GREY, 0.3)
        _centre_glyph(s, "power", w, h, r * 1.15, {"fg": fg, "sw": 1.15})
        return
    if on:
        lit = t["primary"] if t["name"] != "d9" else t["primary"]
        s.add(circle(cx, cy, r, light(t["glow"], 0.35)))
        s.add(circle(cx, cy, r - 3, s.radial([(0, light(lit, 0.35)), (1, lit)], 0.4, 0.3, 0.8)))
        fg = WHITE
    else:
        s.add(circle(cx, cy, r, s.linear([(0, WHITE), (1, light(GREY, 0.55))]), light(GREY, 0.1), 2))
        fg = dark(GREY, 0.15)
    _centre_glyph(s, "power", w, h, r * 1.15, {"fg": fg, "sw": 1.15})


def r_ring(s, w, h, t):
    """Lit ring with an open centre: the dark looks' menu item frame and their power-on face (the
    picture inside comes from the background under the button)."""
    cx, cy = w / 2.0, h / 2.0
    r = min(w, h) / 2.0 - 3
    s.add(circle(cx, cy, r, None, mix(t["glow"], t["primary"], 0.55), 5))
    s.add(circle(cx, cy, r - 1.5, None, t["accent"], 2.5))


def r_nav(s, w, h, t, glyph, shape=None):
    """Navigation button (previous, next, menu, status): a disc or tile with a white pictogram."""
    shape = shape or ("disc" if t["name"] in ("d9", "d3", "d15") else "tile")
    base = t["button_b"] if t["name"] != "d15" else t["primary"]
    top = t["button_a"]
    if t["name"] in ("d3", "d15"):
        top, base = light(t["primary"], 0.25), dark(t["primary"], 0.3)
    fill = s.linear([(0, top), (1, base)])
    edge = light(top, 0.45) if t["name"] not in ("d3", "d15") else t["accent"]
    if shape == "disc":
        r = min(w, h) / 2.0 - 1.5
        s.add(circle(w / 2.0, h / 2.0, r, fill, edge, 1.5))
        size = r * (1.1 if glyph in ("left", "right", "up", "down", "plus", "minus") else 1.3)
    else:
        s.add(rect(1.5, 1.5, w - 3, h - 3, min(w, h) * 0.22, fill, edge, 1.2))
        size = min(w, h) * 0.62
    colours = {"fg": WHITE, "ac": t["tile_accent"], "bg": base, "sw": 1.25 if glyph in ("left", "right", "up", "down") else 1.1}
    _centre_glyph(s, glyph, w, h, size, colours)


def r_close(s, w, h, t):
    """Close corner of a pop-up: acts as Cancel."""
    r = min(w, h) / 2.0 - 2
    if t["name"] == "d9":
        fill = s.linear([(0, light(t["primary"], 0.25)), (1, t["primary"])])
        edge = WHITE
    else:
        fill = s.linear([(0, light(RED, 0.2)), (1, dark(RED, 0.25))])
        edge = light(RED, 0.5)
    s.add(circle(w / 2.0, h / 2.0, r, fill, edge, 1.5))
    _centre_glyph(s, "close", w, h, r * 1.05, {"fg": WHITE, "sw": 1.1})


# ---- plain faces ---------------------------------------------------------------------------------

def r_button(s, w, h, t, state, radius=None):
    """Push-button face stretched to the button; white captions read on it, black ones still do."""
    radius = radius if radius is not None else min(h * 0.3, 12)
    if state == "pressed":
        a, b = t["pressed_a"], t["pressed_b"]
    else:
        a, b = t["button_a"], t["button_b"]
    s.add(rect(1, 1.5, w - 2, h - 2.5, radius, dark(b, 0.35)))
    s.add(rect(1, 1, w - 2, h - 2.5, radius, s.linear([(0, a), (1, b)]), light(a, 0.35), 1))
    s.add(rect(4, 2.5, w - 8, (h - 4) * 0.4, radius * 0.8, WHITE, extra='opacity="0.14"'))


def r_pill(s, w, h, t):
    """Wide rounded face (light look: OK/Cancel and the main screen's value plates)."""
    r = h / 2.0 - 2
    base = t["primary"]
    s.add(rect(2, 4, w - 4, h - 5, r, dark(base, 0.4)))
    s.add(rect(2, 2, w - 4, h - 5, r, s.linear([(0, light(base, 0.3)), (1, base)]), light(base, 0.5), 3))
    s.add(rect(14, 7, w - 28, (h - 10) * 0.38, r * 0.8, WHITE, extra='opacity="0.15"'))


def r_field(s, w, h, t):
    """Value display: an inset field; white digits on it."""
    r = min(h * 0.25, 8)
    s.add(rect(1, 1, w - 2, h - 2, r, t["field"], t["line"], 1.5))
    s.add(rect(3, 3, w - 6, 3, 1.5, (0, 0, 0), extra='opacity="0.25"'))


def r_arrow_btn(s, w, h, t, direction, state):
    """Half-height arrow key of the date and time editors."""
    r_button(s, w, h, t, state, radius=min(h * 0.35, 8))
    size = h * 1.0
    s.place(GLYPHS[direction], (w - size) / 2.0, (h - size) / 2.0, size, {"fg": WHITE, "sw": 1.15})


def r_checkbox(s, w, h, t, state):
    """Day box of the disinfection days: captions are drawn over it, white on the default look."""
    checked = state == "on"
    if t["name"] in ("d9",):
        s.add(rect(2, 2, w - 4, h - 4, 6, t["primary"] if checked else WHITE, t["primary"], 2))
        if checked:
            _centre_glyph(s, "check", w, h, w * 0.8, {"fg": WHITE, "sw": 1.0})
        return
    fill = s.linear([(0, t["pressed_a"]), (1, t["pressed_b"])]) if checked else dark(t["popup_body"], 0.3)
    edge = light(t["pressed_a"], 0.3) if checked else t["line"]
    s.add(rect(1.5, 1.5, w - 3, h - 3, 7, fill, edge, 1.5))


def r_radio(s, w, h, t, state):
    """Radio mark at the right end of a choice."""
    r = min(w, h) / 2.0 - 1.5
    cx, cy = w / 2.0, h / 2.0
    ring = t["primary"] if t["name"] == "d9" else WHITE
    s.add(circle(cx, cy, r, (0, 0, 0) if t["name"] != "d9" else WHITE, ring, 2,
                 extra='fill-opacity="0.25"' if t["name"] != "d9" else ""))
    if state == "on":
        s.add(circle(cx, cy, r * 0.5, ORANGE if t["name"] != "d9" else t["primary"]))


def r_slot(s, w, h, t, state):
    """Two-hour slot of the weekly timer; black captions on a light face, orange when switched on."""
    on = state == "on"
    if on:
        a, b = light(ORANGE, 0.35), light(ORANGE, 0.1)
        edge = dark(ORANGE, 0.1)
    else:
        a, b = (240, 243, 247), (206, 214, 224)
        edge = t["line"] if t["name"] != "d9" else t["primary"]
    s.add(rect(1, 1, w - 2, h - 2, min(h * 0.3, 8), s.linear([(0, a), (1, b)]), edge, 1.5))


def r_tab(s, w, h, t, state):
    """Weekday tab of the weekly timer (light look); white captions."""
    on = state == "on"
    a, b = (t["pressed_a"], t["pressed_b"]) if on else (light(t["primary"], 0.35), t["primary"])
    s.add(rect(1, 1, w - 2, h - 2, min(h * 0.3, 9), s.linear([(0, a), (1, b)]), light(a, 0.4), 1))


def r_key(s, w, h, t):
    """Keypad key (light look): near-black digits on a light key."""
    s.add(rect(1, 2, w - 2, h - 3, 8, dark(t["tile_b"], 0.3)))
    s.add(rect(1, 1, w - 2, h - 3, 8, s.linear([(0, WHITE), (1, t["tile_b"])]), t["primary"], 1.5))


def r_bar(s, w, h, t, orient="h"):
    """Pipe segment joining a circuit icon to its values."""
    a = light(t["primary"], 0.25) if not t["dark"] else light(t["primary"], 0.45)
    b = t["primary"] if not t["dark"] else light(t["primary"], 0.15)
    if orient == "h":
        r = (h - 2) / 2.0
        s.add(rect(1, 1, w - 2, h - 2, r, s.linear([(0, a), (0.5, light(a, 0.4)), (1, b)])))
    else:
        r = (w - 2) / 2.0
        s.add(rect(1, 1, w - 2, h - 2, r, s.linear([(0, a), (0.5, light(a, 0.4)), (1, b)], 0, 0, 1, 0)))


def r_circuit(s, w, h, t, glyph, mode=None):
    """Circuit icon of the main screen (hot water, heating, cooling, second circuit)."""
    dx = 0.0
    if t["dark"]:
        # The dark look's value stands 56 pixels right of its icon: the tile keeps to the left part.
        ac = MODES.get(mode, (t["accent"], t["accent"]))[0]
        size = min(w, h) - 12
        s.add(rect(2, (h - size) / 2.0, size, size, 12,
                   s.linear([(0, light(t["primary"], 0.2)), (1, dark(t["primary"], 0.3))]), ac, 2))
        dx = 2 + size / 2.0 - w / 2.0
        colours = {"fg": WHITE, "ac": ac, "bg": t["primary"], "ac2": COOL, "sw": 1.15}
    else:
        b = MODES.get(mode, (t["primary"], t["primary"]))[1]
        s.add(circle(w / 2.0, h / 2.0 + 1, min(w, h) / 2.0 - 2, dark(t["tile_b"], 0.15)))
        s.add(circle(w / 2.0, h / 2.0, min(w, h) / 2.0 - 2, s.linear([(0, WHITE), (1, t["tile_b"])]), b, 2))
        colours = {"fg": b, "ac": MODES.get(mode, (t["accent"],))[0], "bg": WHITE, "ac2": COOL2, "sw": 1.15}
    _centre_glyph(s, glyph, w, h, min(w, h) * 0.58, colours, dx=dx)


# ---- unit pictures -------------------------------------------------------------------------------

def r_unit_picture(s, w, h, t, accent=None, fans=1, split=0, tank=1, roof=None):
    """The installation at a glance: outdoor unit, house with its emitters, hot-water tank.
    `fans` 1 or 2 (outdoor unit type), `split` 1 puts a hydro box in the house, `tank` 0 leaves it out."""
    acc = tuple(int(x) for x in accent.split(",")) if isinstance(accent, str) else (accent or t["primary"])
    roof_c = tuple(int(x) for x in roof.split(",")) if isinstance(roof, str) else (roof or dark(acc, 0.1))
    fans, split, tank = int(fans), int(split), int(tank)
    sx = w / 320.0
    sy = h / 150.0
    s.add('<g transform="scale(%g %g)">' % (sx, sy))
    hot, cold = HEAT, COOL2
    # Ground shadow.
    s.add(rect(6, 138, 308, 8, 4, dark(t["main_bottom"], 0.12)))
    # Outdoor unit on its feet, left.
    ux, uy, uw, uh = 10, 62 if fans == 1 else 40, 94, 70 if fans == 1 else 92
    s.add(rect(ux + 8, uy + uh, 10, 138 - uy - uh, 0, dark(GREY, 0.3)))
    s.add(rect(ux + uw - 18, uy + uh, 10, 138 - uy - uh, 0, dark(GREY, 0.3)))
    s.add(rect(ux, uy, uw, uh, 6, s.linear([(0, (246, 248, 250)), (1, (200, 208, 216))]), dark(GREY, 0.25), 2))
    s.add(rect(ux, uy, uw, 6, 3, acc))
    for k in range(fans):
        fy = uy + 12 + k * 42 + (0 if fans == 2 else 4)
        fcx, fcy, fr = ux + 38, fy + 19, 19
        s.add(circle(fcx, fcy, fr + 2, dark(GREY, 0.55)))
        s.add(circle(fcx, fcy, fr, (60, 68, 76)))
        s.add('<g opacity="0.9">' + _blades(fcx, fcy, fr - 2, (190, 200, 210)) + '</g>')
        for q in range(3):
            s.add(line(fcx - fr, fcy - 8 + q * 8, fcx + fr, fcy - 8 + q * 8, (120, 128, 136), 1))
    for q in range(5):
        s.add(line(ux + 70, uy + 14 + q * 9, ux + 86, uy + 14 + q * 9, dark(GREY, 0.1), 2))
    # Pipes from the unit to the house: flow (warm) above, return (cool) below.
    s.add(path("M104 104 L150 104", None, hot, 5))
    s.add(path("M104 116 L150 116", None, cold, 5))
    # House.
    hx, hy, hw, hh = 140, 54, 110, 84
    s.add(rect(hx, hy, hw, hh, 2, s.linear([(0, WHITE), (1, (226, 232, 238))]), dark(GREY, 0.3), 2))
    s.add(path("M%g %g L%g %g L%g %g Z" % (hx - 12, hy + 2, hx + hw / 2.0, hy - 44, hx + hw + 12, hy + 2), roof_c, dark(roof_c, 0.25), 2))
    s.add(rect(hx + hw - 30, hy - 36, 12, 22, 1, dark(roof_c, 0.2)))
    # Window with warm light, radiator under it, floor loops.
    s.add(rect(hx + 14, hy + 12, 34, 26, 2, light(WATER, 0.5), dark(GREY, 0.3), 2))
    s.add(line(hx + 31, hy + 12, hx + 31, hy + 38, dark(GREY, 0.3), 1.5))
    for k in range(5):
        s.add(rect(hx + 14 + k * 7, hy + 46, 5, 18, 2.5, dark(HEAT, 0.05)))
    s.add(line(hx + 12, hy + 50, hx + 50, hy + 50, dark(HEAT, 0.1), 2))
    s.add(path("M%g %g C%g %g %g %g %g %g S%g %g %g %g S%g %g %g %g" % (
        hx + 6, hy + hh - 6, hx + 18, hy + hh - 14, hx + 26, hy + hh + 2, hx + 38, hy + hh - 6,
        hx + 56, hy + hh + 2, hx + 66, hy + hh - 6, hx + 86, hy + hh + 2, hx + 100, hy + hh - 6),
        None, HEAT, 2.5))
    if split:
        s.add(rect(hx + 62, hy + 10, 30, 40, 4, s.linear([(0, WHITE), (1, (214, 220, 228))]), dark(GREY, 0.3), 1.5))
        s.add(circle(hx + 77, hy + 24, 6, None, acc, 2))
        s.add(rect(hx + 66, hy + 38, 22, 4, 2, acc))
    else:
        s.add(rect(hx + 58, hy + 14, 38, 38, 3, light(WATER, 0.5), dark(GREY, 0.3), 2))
        s.add(line(hx + 77, hy + 14, hx + 77, hy + 52, dark(GREY, 0.3), 1.5))
        s.add(line(hx + 58, hy + 33, hx + 96, hy + 33, dark(GREY, 0.3), 1.5))
    if tank:
        s.add(path("M250 104 L268 104", None, hot, 5))
        s.add(path("M250 116 L268 116", None, cold, 5))
        tx, ty, tw, th = 266, 38, 44, 100
        s.add(rect(tx, ty, tw, th, 14, s.linear([(0, (250, 250, 252)), (1, (208, 214, 222))], 0, 0, 1, 0), dark(GREY, 0.3), 2))
        s.add(rect(tx, ty + 16, tw, 6, 0, acc))
        coil = "M%g %g" % (tx + 6, ty + 62)
        for k in range(4):
            y0 = ty + 62 + k * 9
            coil += " L%g %g C%g %g %g %g %g %g L%g %g" % (tx + 34, y0, tx + 40, y0, tx + 40, y0 + 4.5, tx + 34, y0 + 4.5,
                                                          tx + 12, y0 + 4.5)
            coil += " C%g %g %g %g %g %g" % (tx + 6, y0 + 4.5, tx + 6, y0 + 9, tx + 12, y0 + 9)
        s.add(path(coil, None, HEAT, 2.2))
        s.add('<g transform="translate(%g %g) scale(0.2)">' % (tx + 12, ty + 36) + GLYPHS["drop"](s, {"fg": HOTWATER}) + '</g>')
    s.add('</g>')


def _blades(cx, cy, r, colour):
    from shapes import g_fan_blades
    return g_fan_blades(cx, cy, r, colour)


# ---- program icons -------------------------------------------------------------------------------

def r_app_icon(s, w, h, t, kind):
    """Window and tray icons (drawn with real transparency, not with the key)."""
    if kind == "panel":
        s.add(rect(1, 1, w - 2, h - 2, w * 0.2, s.linear([(0, light(t["primary"], 0.3)), (1, t["primary"])])))
        s.place(GLYPHS["house_heat"], w * 0.12, h * 0.1, w * 0.76, {"fg": WHITE, "ac": HEAT, "bg": t["primary"], "sw": 1.4})
    else:
        s.add(rect(1, 1, w - 2, h - 2, w * 0.2, s.linear([(0, light(TEAL1, 0.3)), (1, dark(TEAL1, 0.2))])))
        # A turning arrow around a play mark: the launcher starts and watches the main program.
        sw = 10 if w > 20 else 14
        s.place(lambda d, c: (path("M78 30 A34 34 0 1 0 84 56", None, WHITE, sw)
                              + path("M66 28 L80 30 L82 16", None, WHITE, sw)
                              + path("M40 34 L66 50 L40 66 Z", WHITE, WHITE, 4)),
                0, 0, w, {})


RECIPES = {
    "menu_tile": r_menu_tile, "mode": r_mode, "mode_word": r_mode_word, "status": r_status,
    "power": r_power, "ring": r_ring, "nav": r_nav, "close": r_close, "button": r_button, "pill": r_pill,
    "field": r_field, "arrow_btn": r_arrow_btn, "checkbox": r_checkbox, "radio": r_radio, "slot": r_slot,
    "tab": r_tab, "key": r_key, "bar": r_bar, "circuit": r_circuit, "unit_picture": r_unit_picture,
    "app_icon": r_app_icon,
}
