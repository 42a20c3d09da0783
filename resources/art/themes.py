"""Dealer looks. `def` is the default set; the others re-tint it or, for the dealers with layouts of
their own (9: light look, 3 and 15: dark look), give their own surfaces and accents."""

from shapes import BLUE, DEEP, GREY, ORANGE, TEAL, TEAL1, WHITE, dark, light, mix


def _default(primary):
    return {
        "name": "def",
        "dark": False,
        "primary": primary,
        "second": BLUE,
        "accent": ORANGE,
        # Main screen: a light sky, near-black texts on it.
        "main_top": (248, 250, 252),
        "main_bottom": light(BLUE, 0.74),
        "ground": light(primary, 0.70),
        # Pages: a light header band for the clock and titles, a dark body for white texts.
        "header": light(BLUE, 0.86),
        "header_line": primary,
        "body_top": primary,
        "body_bottom": dark(primary, 0.45),
        # Menu tiles and buttons.
        "tile_a": light(BLUE, 0.12),
        "tile_b": primary,
        "tile_glyph": WHITE,
        "tile_accent": (255, 170, 60),
        "button_a": light(BLUE, 0.18),
        "button_b": BLUE,
        "pressed_a": (255, 140, 70),
        "pressed_b": ORANGE,
        "status_fg": primary,
        "popup_body": mix(primary, BLUE, 0.25),
        "popup_title": dark(primary, 0.25),
        "field": dark(primary, 0.35),
        "line": light(BLUE, 0.55),
        "glow": light(BLUE, 0.55),
    }


DEF = _default(TEAL)
D1 = dict(_default(TEAL1), name="d1")

D9 = {
    "name": "d9",
    "dark": False,
    "primary": DEEP,
    "second": BLUE,
    "accent": ORANGE,
    "main_top": (252, 253, 255),
    "main_bottom": light(DEEP, 0.82),
    "ground": light(DEEP, 0.62),
    "header": DEEP,
    "header_line": light(DEEP, 0.4),
    "body_top": (246, 248, 252),
    "body_bottom": light(DEEP, 0.80),
    "tile_a": WHITE,
    "tile_b": light(DEEP, 0.86),
    "tile_glyph": DEEP,
    "tile_accent": ORANGE,
    "button_a": light(DEEP, 0.25),
    "button_b": DEEP,
    "pressed_a": (255, 140, 70),
    "pressed_b": ORANGE,
    "status_fg": DEEP,
    "popup_body": (244, 247, 252),
    "popup_title": DEEP,
    "field": WHITE,
    "line": light(DEEP, 0.5),
    "glow": light(DEEP, 0.5),
}

_D3_BASE = dark(TEAL, 0.55)
D3 = {
    "name": "d3",
    "dark": True,
    "primary": _D3_BASE,
    "second": mix(_D3_BASE, GREY, 0.35),
    "accent": ORANGE,
    "main_top": dark(TEAL, 0.35),
    "main_bottom": dark(TEAL, 0.72),
    "ground": dark(TEAL, 0.15),
    "header": dark(TEAL, 0.72),
    "header_line": ORANGE,
    "body_top": dark(TEAL, 0.40),
    "body_bottom": dark(TEAL, 0.75),
    "tile_a": mix(_D3_BASE, GREY, 0.25),
    "tile_b": dark(_D3_BASE, 0.3),
    "tile_glyph": WHITE,
    "tile_accent": ORANGE,
    "button_a": mix(_D3_BASE, GREY, 0.45),
    "button_b": mix(_D3_BASE, GREY, 0.15),
    "pressed_a": (255, 140, 70),
    "pressed_b": ORANGE,
    "status_fg": WHITE,
    "popup_body": mix(TEAL, BLUE, 0.25),
    "popup_title": dark(TEAL, 0.25),
    "field": dark(TEAL, 0.35),
    "line": ORANGE,
    "glow": ORANGE,
}

_D15_ACCENT = light(BLUE, 0.3)
D15 = dict(D3, name="d15", accent=_D15_ACCENT, header_line=_D15_ACCENT, tile_accent=_D15_ACCENT,
           line=_D15_ACCENT, glow=_D15_ACCENT,
           main_top=dark(BLUE, 0.45), main_bottom=dark(BLUE, 0.78), ground=dark(BLUE, 0.25),
           header=dark(BLUE, 0.78), body_top=dark(BLUE, 0.5), body_bottom=dark(BLUE, 0.8),
           primary=dark(BLUE, 0.6), tile_a=dark(BLUE, 0.35), tile_b=dark(BLUE, 0.7))

THEMES = {"def": DEF, "d1": D1, "d9": D9, "d3": D3, "d15": D15}
