#!/usr/bin/env python3
"""Builds the programs' bitmaps from the drawing recipes named in manifest.tsv.

  artgen.py [--rsvg PATH] render --manifest M --program P --id N --out PNG [--svg SVG]
      draws one id as SVG, rasterises it with rsvg-convert and flattens it: button faces become RGB
      with the key colour around the picture, backgrounds opaque RGB, program icons RGBA.
  artgen.py check --manifest M --root DIR
      every id of the manifest exists under DIR/<program>.res/bitmaps at its size; faces have the key
      colour in their four corners and no near-key fringe; backgrounds contain no key colour.
  artgen.py sheet --manifest M --root DIR --out DIR2
      review sheets: every face on its usual surface, and the backgrounds at half size.
"""

import argparse
import base64
import os
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True  # the build runs this from the source tree; leave no caches there
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import pngio  # noqa: E402
from faces import RECIPES as FACE_RECIPES  # noqa: E402
from scenes import RECIPES as SCENE_RECIPES  # noqa: E402
from shapes import GREY, KEY, Svg, label, mix, rect  # noqa: E402
from themes import THEMES  # noqa: E402

RECIPES = dict(FACE_RECIPES)
RECIPES.update(SCENE_RECIPES)

COLUMNS = ["program", "id", "width", "height", "kind", "theme", "recipe", "matte", "role", "used_by"]
KINDS = ("bg", "face", "icon")


class Entry:
    def __init__(self, fields, lineno):
        for name, value in zip(COLUMNS, fields):
            setattr(self, name, value)
        self.lineno = lineno
        self.id = int(self.id)
        self.width = int(self.width)
        self.height = int(self.height)
        parts = self.recipe.split()
        self.recipe_name = parts[0]
        self.args = dict(p.split("=", 1) for p in parts[1:])

    @property
    def key(self):
        return (self.program, self.id)


def load_manifest(path):
    entries = []
    seen = set()
    with open(path, encoding="utf-8") as f:
        for lineno, raw in enumerate(f, 1):
            text = raw.rstrip("\n")
            if not text or text.startswith("#"):
                continue
            fields = text.split("\t")
            if fields[0] == "program":
                continue
            if len(fields) != len(COLUMNS):
                raise SystemExit("%s:%d: %d columns, want %d" % (path, lineno, len(fields), len(COLUMNS)))
            e = Entry(fields, lineno)
            if e.kind not in KINDS:
                raise SystemExit("%s:%d: kind %r" % (path, lineno, e.kind))
            if e.theme not in THEMES:
                raise SystemExit("%s:%d: theme %r" % (path, lineno, e.theme))
            if e.recipe_name not in RECIPES:
                raise SystemExit("%s:%d: recipe %r" % (path, lineno, e.recipe_name))
            if e.key in seen:
                raise SystemExit("%s:%d: %s %d listed twice" % (path, lineno, e.program, e.id))
            seen.add(e.key)
            entries.append(e)
    return entries


def matte_colour(entry):
    """The surface a face is mostly drawn on; its edge pixels are blended towards it."""
    t = THEMES[entry.theme]
    token = entry.matte
    if token.startswith("#"):
        return tuple(int(token[i:i + 2], 16) for i in (1, 3, 5))
    table = {
        "main": mix(t["main_top"], t["main_bottom"], 0.5),
        "page": mix(t["body_top"], t["body_bottom"], 0.3),
        "header": t["header"],
        "popup": t["popup_body"],
        "strip": GREY,
        "design": mix(t["body_top"], t["body_bottom"], 0.5),
    }
    if token not in table:
        raise SystemExit("manifest line %d: matte %r" % (entry.lineno, token))
    return table[token]


def draw(entry):
    s = Svg(entry.width, entry.height)
    RECIPES[entry.recipe_name](s, entry.width, entry.height, THEMES[entry.theme], **entry.args)
    return s.text()


RSVG = ["rsvg-convert"]


def rasterise(svg_text, width, height, png_path):
    with tempfile.NamedTemporaryFile("w", suffix=".svg", delete=False, encoding="utf-8") as f:
        f.write(svg_text)
        tmp = f.name
    try:
        subprocess.run(RSVG + ["--width", str(width), "--height", str(height), "--keep-aspect-ratio",
                        "--format", "png", "--output", png_path, tmp], check=True)
    finally:
        os.unlink(tmp)


def render(entry, out_png, svg_path=None):
    text = draw(entry)
    if svg_path:
        os.makedirs(os.path.dirname(svg_path) or ".", exist_ok=True)
        with open(svg_path, "w", encoding="utf-8") as f:
            f.write(text)
    os.makedirs(os.path.dirname(out_png) or ".", exist_ok=True)
    raw = out_png + ".rgba.png"
    rasterise(text, entry.width, entry.height, raw)
    img = pngio.read_png(raw)
    os.unlink(raw)
    if (img.width, img.height) != (entry.width, entry.height):
        raise SystemExit("%s %d: rasterised at %dx%d" % (entry.program, entry.id, img.width, img.height))
    if entry.kind == "face":
        img = pngio.flatten_to_key(img, matte_colour(entry))
    elif entry.kind == "bg":
        img = pngio.flatten_opaque(img)
        # Backgrounds are copied opaque, but a picture drawn from one with the key would show holes.
        for i in range(0, len(img.pixels), 3):
            if pngio.near_key(img.pixels[i], img.pixels[i + 1], img.pixels[i + 2]):
                img.pixels[i:i + 3] = bytes(pngio.away_from_key(img.pixels[i], img.pixels[i + 1], img.pixels[i + 2]))
    elif img.channels == 3:
        img = pngio.Image(img.width, img.height, 4,
                          bytearray(b"".join(bytes(img.pixels[i:i + 3]) + b"\xff" for i in range(0, len(img.pixels), 3))))
    pngio.write_png(out_png, img)


def bitmap_path(root, entry):
    return os.path.join(root, "%s.res" % entry.program, "bitmaps", "%d.png" % entry.id)


def check(entries, root):
    problems = []
    for e in entries:
        where = "%s %d (%s)" % (e.program, e.id, e.role)
        p = bitmap_path(root, e)
        if not os.path.exists(p):
            problems.append("%s: missing %s" % (where, p))
            continue
        img = pngio.read_png(p)
        if (img.width, img.height) != (e.width, e.height):
            problems.append("%s: %dx%d, want %dx%d" % (where, img.width, img.height, e.width, e.height))
            continue
        if e.kind == "face":
            if img.channels != 3:
                problems.append("%s: face with an alpha channel" % where)
                continue
            corners = [(0, 0), (e.width - 1, 0), (0, e.height - 1), (e.width - 1, e.height - 1)]
            for x, y in corners:
                if img.get(x, y) != KEY:
                    problems.append("%s: corner (%d,%d) is %s, not the key colour" % (where, x, y, img.get(x, y)))
            fringe = 0
            opaque = 0
            for i in range(0, len(img.pixels), 3):
                px = (img.pixels[i], img.pixels[i + 1], img.pixels[i + 2])
                if px == KEY:
                    continue
                opaque += 1
                if pngio.near_key(*px):
                    fringe += 1
            if fringe:
                problems.append("%s: %d near-key pixels would show as lavender specks" % (where, fringe))
            if opaque == 0:
                problems.append("%s: nothing drawn" % where)
        elif e.kind == "bg":
            if img.channels != 3:
                problems.append("%s: background with an alpha channel" % where)
                continue
            for i in range(0, len(img.pixels), 3):
                if (img.pixels[i], img.pixels[i + 1], img.pixels[i + 2]) == KEY:
                    problems.append("%s: background contains the key colour" % where)
                    break
        else:
            if img.channels != 4:
                problems.append("%s: icon without transparency" % where)
    return problems


def _data_uri(png_path):
    with open(png_path, "rb") as f:
        return "data:image/png;base64," + base64.b64encode(f.read()).decode("ascii")


def _family(e):
    return {"def": "Default set", "d1": "Dealer 1 re-tint", "d9": "Dealer 9 (light look)",
            "d3": "Dealers 3 and 15 (dark look)", "d15": "Dealer 15 re-tint"}[e.theme]


def sheet(entries, root, out_dir):
    """Faces grouped by look, each on its usual surface, with its id; backgrounds on a second sheet."""
    os.makedirs(out_dir, exist_ok=True)
    tmp = tempfile.mkdtemp()
    faces = [e for e in entries if e.kind != "bg"]
    order = ["def", "d1", "d9", "d3", "d15"]
    faces.sort(key=lambda e: (order.index(e.theme), e.program != "Quellora", e.id))
    width, pad, row_gap = 1400, 10, 18
    y = 40
    items = []
    last_family = None
    x = pad
    row_h = 0
    for e in faces:
        fam = _family(e)
        w = min(e.width, 240)
        h = e.height * w // e.width
        if fam != last_family:
            if last_family is not None:
                y += row_h + row_gap + 10
            items.append(("title", fam, pad, y + 16))
            y += 26
            x, row_h = pad, 0
            last_family = fam
        if x + w + pad > width:
            y += row_h + row_gap
            x, row_h = pad, 0
        src = bitmap_path(root, e)
        img = pngio.read_png(src)
        if e.kind == "face":
            img = pngio.replace_key(img, matte_colour(e))
        shown = os.path.join(tmp, "%s_%d.png" % (e.program, e.id))
        pngio.write_png(shown, img)
        items.append(("image", shown, x, y, w, h, "%s%d" % ("B" if e.program == "Brimcourt" else "", e.id)))
        x += max(w, 34) + pad
        row_h = max(row_h, h)
    y += row_h + row_gap + 10
    s = Svg(width, y)
    s.add(rect(0, 0, width, y, 0, (250, 250, 250)))
    s.add(label(pad, 26, "Quellora / Brimcourt button faces and icons, each on its usual surface "
                          "(B = launcher)", 16, (30, 30, 30), anchor="start"))
    for it in items:
        if it[0] == "title":
            s.add(label(it[2], it[3], it[1], 13, (15, 72, 93), anchor="start"))
        else:
            _, shown, ix, iy, w, h, caption = it
            s.add('<image x="%d" y="%d" width="%d" height="%d" href="%s"/>' % (ix, iy, w, h, _data_uri(shown)))
            s.add(label(ix + 1, iy + h + 11, caption, 9, (60, 60, 60), weight="normal", anchor="start"))
    faces_svg = os.path.join(tmp, "faces.svg")
    with open(faces_svg, "w", encoding="utf-8") as f:
        f.write(s.text())
    subprocess.run(RSVG + ["--output", os.path.join(out_dir, "contact-sheet.png"), faces_svg], check=True)

    bgs = [e for e in entries if e.kind == "bg"]
    bgs.sort(key=lambda e: e.id)
    cols, bw, bh = 4, 240, 136
    rows = (len(bgs) + cols - 1) // cols
    s = Svg(cols * (bw + pad) + pad, rows * (bh + 28) + 40)
    s.add(rect(0, 0, s.width, s.height, 0, (250, 250, 250)))
    s.add(label(pad, 24, "Backgrounds at half size", 16, (30, 30, 30), anchor="start"))
    for i, e in enumerate(bgs):
        ix = pad + (i % cols) * (bw + pad)
        iy = 36 + (i // cols) * (bh + 28)
        w, h = e.width // 2, e.height // 2
        s.add('<image x="%d" y="%d" width="%d" height="%d" href="%s"/>' % (ix, iy, w, h, _data_uri(bitmap_path(root, e))))
        s.add(label(ix, iy + bh + 14, "%d  %s" % (e.id, e.role[:44]), 9, (60, 60, 60), weight="normal", anchor="start"))
    bg_svg = os.path.join(tmp, "bgs.svg")
    with open(bg_svg, "w", encoding="utf-8") as f:
        f.write(s.text())
    subprocess.run(RSVG + ["--output", os.path.join(out_dir, "backgrounds.png"), bg_svg], check=True)


def main(argv):
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--rsvg", default="rsvg-convert", help="the SVG rasteriser (rsvg-convert)")
    sub = ap.add_subparsers(dest="cmd", required=True)
    r = sub.add_parser("render")
    r.add_argument("--manifest", required=True)
    r.add_argument("--program", required=True)
    r.add_argument("--id", type=int, required=True)
    r.add_argument("--out", required=True)
    r.add_argument("--svg")
    c = sub.add_parser("check")
    c.add_argument("--manifest", required=True)
    c.add_argument("--root", required=True)
    sh = sub.add_parser("sheet")
    sh.add_argument("--manifest", required=True)
    sh.add_argument("--root", required=True)
    sh.add_argument("--out", required=True)
    a = ap.parse_args(argv)
    RSVG[0] = a.rsvg
    entries = load_manifest(a.manifest)
    if a.cmd == "render":
        match = [e for e in entries if e.program == a.program and e.id == a.id]
        if not match:
            raise SystemExit("%s %d is not in the manifest" % (a.program, a.id))
        render(match[0], a.out, a.svg)
    elif a.cmd == "check":
        problems = check(entries, a.root)
        for p in problems:
            print(p)
        print("%d bitmaps checked, %d problems" % (len(entries), len(problems)))
        return 1 if problems else 0
    else:
        sheet(entries, a.root, a.out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
