"""Every picture of the game, drawn as SVG (plus a little numpy noise).

Each entry of PICTURES maps an output path (relative to assets/) to a function
returning a PIL RGBA image of the exact size the game expects.
"""
import math
import random

import numpy as np
from PIL import Image, ImageEnhance, ImageOps

from svgkit import (BLUE, BROWN, BROWN_D, BROWN_L, CREAM, GREEN, GREEN_D, GREEN_L, GREEN_XL, GREY, INDIGO,
                    INDIGO_L, INK, LILAC, NAVY0, NAVY1, ORANGE, PINK, RED, TEAL, TEAL_D, TEAL_L, TERRA,
                    WHITE, YELLOW, YELLOW_L, Svg, blob, circle, darker, data_uri, ellipse, f, g, lighter,
                    mix, outlined_stroke, path, poly, pts, rasterise, rounded_star, rrect, smooth_closed,
                    smooth_open, star_points, text_width)

OW = 8  # outline width at full size

PICTURES = {}


def picture(name, *args):
    def deco(fn):
        PICTURES[name] = (fn, args)
        return fn
    return deco


def register(name, fn, *args):
    PICTURES[name] = (fn, args)


def done(s):
    return rasterise(s.render(), s.w, s.h)


# ---------------------------------------------------------------------------
# glows
# ---------------------------------------------------------------------------

def glow(size, seed, core, ray, rays, spread, long_short=False):
    rng = random.Random(seed)
    s = Svg(size, size)
    c = size / 2
    R = size / 2 - 2
    ray_fill = s.rad([(0, WHITE, 0.95), (0.18, ray, 0.85), (0.55, ray, 0.35), (1, ray, 0)],
                     cx=c, cy=c, r=R, user=True)
    items = []
    a = rng.uniform(0, 360)
    for i in range(rays):
        step = 360 / rays * rng.uniform(0.6, 1.4)
        a += step
        if long_short:
            length = R * (0.98 if i % 2 == 0 else 0.62) * rng.uniform(0.94, 1.0)
            half = (7.0 if i % 2 == 0 else 4.5)
        else:
            length = R * rng.uniform(0.6, 1.0)
            half = rng.uniform(spread * 0.45, spread)
        ar = math.radians(a)
        h = math.radians(half)
        tip = (c + length * math.cos(ar), c + length * math.sin(ar))
        l = (c + length * 0.9 * math.cos(ar - h), c + length * 0.9 * math.sin(ar - h))
        r = (c + length * 0.9 * math.cos(ar + h), c + length * 0.9 * math.sin(ar + h))
        d = "M%s,%s L%s,%s Q%s,%s %s,%s Q%s,%s %s,%s Z" % (
            f(c), f(c), f(l[0]), f(l[1]),
            f(l[0] + (tip[0] - l[0]) * 0.8), f(l[1] + (tip[1] - l[1]) * 0.8), f(tip[0]), f(tip[1]),
            f(r[0] + (tip[0] - r[0]) * 0.8), f(r[1] + (tip[1] - r[1]) * 0.8), f(r[0]), f(r[1]))
        items.append(path(d, fill=ray_fill))
    s.add(g(items, filter=s.blur(size / 110)))
    halo = s.rad([(0, WHITE, 1), (0.15, lighter(core, 0.4), 0.95), (0.45, core, 0.45), (1, core, 0)],
                 cx=c, cy=c, r=R * 0.55, user=True)
    s.add(circle(c, c, R * 0.55, fill=halo))
    return done(s)


register("hikari5.png", glow, 600, 11, "#ffd54a", "#ffe27a", 9, 11.0)
register("hikari5-2.png", glow, 600, 23, "#d9ffd0", "#eaffd8", 7, 9.0)
register("hikariNew.png", glow, 900, 5, "#ffc21f", "#ffd84d", 16, 5.0, True)


# ---------------------------------------------------------------------------
# element icons
# ---------------------------------------------------------------------------

def leaf_path(x0, y0, x1, y1, width, bend=0.0):
    """Almond leaf from base (x0,y0) to tip (x1,y1)."""
    dx, dy = x1 - x0, y1 - y0
    L = math.hypot(dx, dy)
    nx, ny = -dy / L, dx / L
    mx, my = x0 + dx * 0.45 + nx * bend, y0 + dy * 0.45 + ny * bend
    a = (mx + nx * width, my + ny * width)
    b = (mx - nx * width, my - ny * width)
    return "M%s,%s Q%s,%s %s,%s Q%s,%s %s,%s Z" % (
        f(x0), f(y0), f(a[0]), f(a[1]), f(x1), f(y1), f(b[0]), f(b[1]), f(x0), f(y0))


def leaf(s, x0, y0, x1, y1, width, col=GREEN, ow=OW, bend=0.0, vein=True):
    grad = s.lin([(0, lighter(col, 0.35)), (1, darker(col, 0.12))], x0, y0, x1, y1, user=True)
    out = path(leaf_path(x0, y0, x1, y1, width, bend), fill=grad, stroke=INK, stroke_width=f(ow),
               stroke_linejoin="round")
    if vein:
        dx, dy = x1 - x0, y1 - y0
        L = math.hypot(dx, dy)
        nx, ny = -dy / L, dx / L
        mx, my = x0 + dx * 0.5 + nx * bend * 0.5, y0 + dy * 0.5 + ny * bend * 0.5
        out += path("M%s,%s Q%s,%s %s,%s" % (f(x0 + dx * 0.12), f(y0 + dy * 0.12), f(mx), f(my),
                                              f(x0 + dx * 0.78), f(y0 + dy * 0.78)),
                    fill="none", stroke=darker(col, 0.3), stroke_width=f(ow * 0.6), stroke_linecap="round")
    return out


def sym_water(s, cx, cy):
    d = ("M{0},{1} C{2},{3} {4},{5} {4},{6} A70,70 0 0 1 {7},{6} C{7},{5} {8},{3} {0},{1} Z"
         .format(f(cx), f(cy - 98), f(cx + 22), f(cy - 62), f(cx + 70), f(cy - 8), f(cy + 22),
                 f(cx - 70), f(cx - 22)))
    grad = s.lin([(0, TEAL_L), (0.45, TEAL), (1, TEAL_D)], 0, 0, 0.3, 1)
    return (path(d, fill=grad, stroke=INK, stroke_width=OW, stroke_linejoin="round")
            + ellipse(cx - 34, cy + 14, 12, 26, fill=WHITE, opacity="0.85",
                      transform="rotate(18 %s %s)" % (f(cx - 34), f(cy + 14)))
            + circle(cx - 22, cy - 26, 7, fill=WHITE, opacity="0.85")
            + path("M%s,%s A52,52 0 0 0 %s,%s" % (f(cx + 44), f(cy + 30), f(cx + 8), f(cy + 70)),
                   fill="none", stroke=TEAL_D, stroke_width="8", stroke_linecap="round", opacity="0.8"))


def sym_light(s, cx, cy):
    ray = s.rad([(0, YELLOW_L), (0.6, YELLOW), (1, ORANGE)], cx=cx, cy=cy, r=100, user=True)
    core = s.rad([(0, "#fffbe0"), (0.7, YELLOW_L), (1, YELLOW)], cx=cx - 14, cy=cy - 14, r=60, user=True)
    return (path(rounded_star(cx, cy, 104, 62, 8, rot=-math.pi / 2, rnd=0.06), fill=ray, stroke=INK,
                 stroke_width=OW, stroke_linejoin="round")
            + circle(cx, cy, 52, fill=core, stroke=INK, stroke_width=OW)
            + path("M%s,%s A34,34 0 0 1 %s,%s" % (f(cx - 30), f(cy - 6), f(cx - 4), f(cy - 32)),
                   fill="none", stroke=WHITE, stroke_width="9", stroke_linecap="round", opacity="0.9"))


def sym_soil(s, cx, cy):
    d = ("M{a},{b} C{c},{d} {e},{g} {h},{i} C{j},{k} {l},{m} {n},{o} C{p},{q} {r},{t} {u},{b} "
         "Q{u},{v} {w},{v} L{x},{v} Q{a},{v} {a},{b} Z").format(
        a=f(cx - 104), b=f(cy + 56), c=f(cx - 100), d=f(cy + 4), e=f(cx - 64), g=f(cy - 44),
        h=f(cx - 22), i=f(cy - 44), j=f(cx - 6), k=f(cy - 70), l=f(cx + 36), m=f(cy - 66),
        n=f(cx + 50), o=f(cy - 40), p=f(cx + 86), q=f(cy - 34), r=f(cx + 104), t=f(cy + 8),
        u=f(cx + 104), v=f(cy + 74), w=f(cx + 86), x=f(cx - 86))
    grad = s.lin([(0, BROWN_L), (0.55, BROWN), (1, BROWN_D)])
    out = path(d, fill=grad, stroke=INK, stroke_width=OW, stroke_linejoin="round")
    clipid = s.clip(path(d))
    inner = [
        path("M%s,%s Q%s,%s %s,%s" % (f(cx - 90), f(cy + 30), f(cx), f(cy + 8), f(cx + 92), f(cy + 26)),
             fill="none", stroke=BROWN_D, stroke_width="7", stroke_linecap="round", opacity="0.6"),
        path("M%s,%s Q%s,%s %s,%s" % (f(cx - 60), f(cy - 16), f(cx), f(cy - 30), f(cx + 62), f(cy - 12)),
             fill="none", stroke=BROWN_L, stroke_width="6", stroke_linecap="round", opacity="0.7"),
    ]
    for (px, py, pr) in [(-50, 48, 12), (30, 46, 9), (60, 4, 8), (-20, -10, 7), (-70, 8, 6), (6, 58, 6)]:
        inner.append(ellipse(cx + px, cy + py, pr * 1.3, pr, fill=BROWN_D, stroke=INK, stroke_width="4"))
    for (px, py) in [(-36, -30), (20, -44), (44, 28), (-84, 38), (80, 44), (-8, 30)]:
        inner.append(circle(cx + px, cy + py, 4, fill=BROWN_L))
    out += g(inner, clip_path=clipid)
    out += path("M%s,%s C%s,%s %s,%s %s,%s" % (f(cx - 70), f(cy - 20), f(cx - 58), f(cy - 36),
                                              f(cx - 40), f(cy - 40), f(cx - 22), f(cy - 38)),
                fill="none", stroke=lighter(BROWN_L, 0.35), stroke_width="9", stroke_linecap="round")
    return out


def sym_seedling(s, cx, cy):
    out = ""
    # a little seed at the foot
    out += ellipse(cx, cy + 82, 40, 18, fill=BROWN, stroke=INK, stroke_width=OW)
    stem = "M%s,%s C%s,%s %s,%s %s,%s" % (f(cx), f(cy + 78), f(cx + 6), f(cy + 40), f(cx - 8), f(cy + 10),
                                          f(cx), f(cy - 22))
    out += outlined_stroke(stem, 16, GREEN, ow=OW)
    out += leaf(s, cx - 2, cy - 18, cx - 104, cy - 66, 40, GREEN_L, bend=-10)
    out += leaf(s, cx + 2, cy - 22, cx + 100, cy - 96, 44, GREEN, bend=10)
    return out


def sym_air(s, cx, cy):
    lines = [
        "M%s,%s L%s,%s C%s,%s %s,%s %s,%s C%s,%s %s,%s %s,%s" % (
            f(cx - 100), f(cy - 44), f(cx + 24), f(cy - 44), f(cx + 70), f(cy - 44), f(cx + 76), f(cy - 96),
            f(cx + 40), f(cy - 98), f(cx + 12), f(cy - 99), f(cx + 10), f(cy - 70), f(cx + 30), f(cy - 68)),
        "M%s,%s L%s,%s C%s,%s %s,%s %s,%s C%s,%s %s,%s %s,%s" % (
            f(cx - 74), f(cy + 4), f(cx + 66), f(cy + 4), f(cx + 112), f(cy + 4), f(cx + 112), f(cy + 60),
            f(cx + 80), f(cy + 60), f(cx + 56), f(cy + 60), f(cx + 54), f(cy + 36), f(cx + 70), f(cy + 32)),
        "M%s,%s L%s,%s C%s,%s %s,%s %s,%s" % (
            f(cx - 104), f(cy + 52), f(cx - 10), f(cy + 52), f(cx + 26), f(cy + 52), f(cx + 30), f(cy + 96),
            f(cx - 2), f(cy + 94)),
    ]
    out = ""
    for d in lines:
        out += path(d, fill="none", stroke=INK, stroke_width="34", stroke_linecap="round",
                    stroke_linejoin="round")
    for d in lines:
        out += path(d, fill="none", stroke=WHITE, stroke_width="18", stroke_linecap="round",
                    stroke_linejoin="round")
    return out


def bubble(s, cx, cy, r, col="#eef0ff"):
    grad = s.rad([(0, WHITE), (0.7, col), (1, mix(col, LILAC, 0.5))], cx=0.38, cy=0.35, r=0.7)
    return (circle(cx, cy, r, fill=grad, stroke=INK, stroke_width=OW)
            + path("M%s,%s A%s,%s 0 0 1 %s,%s" % (
                f(cx - r * 0.62), f(cy - r * 0.05), f(r * 0.62), f(r * 0.62), f(cx - r * 0.1),
                f(cy - r * 0.6)), fill="none", stroke=WHITE, stroke_width=f(max(4, r * 0.14)),
                stroke_linecap="round"))


def sym_co2(s, cx, cy):
    out = bubble(s, cx + 74, cy - 66, 30) + bubble(s, cx + 82, cy + 72, 20) + bubble(s, cx - 80, cy - 80, 15)
    out += bubble(s, cx - 16, cy + 10, 74)
    tx = cx - 16
    wc, w2, gap = text_width("C", 62), text_width("2", 40), 5
    x0 = tx - (2 * wc + w2 + 2 * gap) / 2
    out += s.text("C", x0 + wc / 2, cy + 12, 62, fill=INK, stroke=None, bold=3)
    out += s.text("O", x0 + wc * 1.5 + gap, cy + 12, 62, fill=INK, stroke=None, bold=3)
    out += s.text("2", x0 + wc * 2 + 2 * gap + w2 / 2, cy + 36, 40, fill=INK, stroke=None, bold=2)
    return out


ELEMENTS = {
    # name: (badge colour, symbol)
    "water": ("#cdeffa", sym_water),
    "light": (INDIGO_L, sym_light),
    "soil": ("#f4dcaa", sym_soil),
    "Seedling": ("#e3f7bd", sym_seedling),
    "air": ("#7fc6f2", sym_air),
    "carbonDioxide": ("#d8c9f7", sym_co2),
}


def press_overlay(s, shape, dy_shadow, strength=0.5, darken=0.22):
    """Darken a face and add an inner shadow along its top edge."""
    cid = s.clip(shape)
    return g([
        shape.replace("/>", ' fill="%s" opacity="%s"/>' % (INK, f(darken)), 1),
        g(shape.replace("/>", ' fill="none" stroke="%s" stroke-width="%s" opacity="%s" transform="translate(0 %s)"/>'
                        % (INK, f(dy_shadow * 2.4), f(strength), f(dy_shadow)), 1), filter=s.blur(3)),
    ], clip_path=cid)


def element_icon(kind, pressed):
    col, sym = ELEMENTS[kind]
    s = Svg(300, 300)
    cx, cy, r, lip = 150, 142, 128, 12
    dy = lip if pressed else 0
    s.add(circle(cx, cy + lip, r, fill=darker(col, 0.45), stroke=INK, stroke_width=OW))
    face = s.rad([(0, lighter(col, 0.45)), (0.75, col), (1, darker(col, 0.12))], cx=0.4, cy=0.32, r=0.75)
    s.add(circle(cx, cy + dy, r, fill=face))
    s.add(path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(cx - r * 0.78), f(cy + dy - r * 0.2), f(r * 0.82),
                                              f(r * 0.82), f(cx + r * 0.2), f(cy + dy - r * 0.78)),
               fill="none", stroke=WHITE, stroke_width="10", stroke_linecap="round", opacity="0.35"))
    s.add(g(sym(s, cx, cy + dy + 4)))
    if pressed:
        s.add(press_overlay(s, circle(cx, cy + dy, r), 16, 0.6, 0.25))
    else:
        s.add(g(circle(cx, cy + dy, r, fill="none", stroke=INK, stroke_width="10", opacity="0.25",
                       transform="translate(0 -6)"), clip_path=s.clip(circle(cx, cy, r))))
    s.add(circle(cx, cy + dy, r, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


for _k in ELEMENTS:
    register("GameScene/%s1.png" % _k, element_icon, _k, False)
    register("GameScene/%s2-1.png" % _k, element_icon, _k, True)


# ---------------------------------------------------------------------------
# text buttons
# ---------------------------------------------------------------------------

def text_button(w, h, label, col, pressed, size):
    s = Svg(w, h)
    m = OW
    lip = round(h * 0.09)
    x0, y0, bw, bh = m, m, w - 2 * m, h - 2 * m - lip
    r = bh * 0.36
    dy = lip if pressed else 0
    s.add(rrect(x0, y0 + lip, bw, bh, r, fill=darker(col, 0.45), stroke=INK, stroke_width=OW))
    face = s.lin([(0, lighter(col, 0.3)), (0.5, col), (1, darker(col, 0.12))])
    s.add(rrect(x0, y0 + dy, bw, bh, r, fill=face))
    s.add(rrect(x0 + bh * 0.16, y0 + dy + bh * 0.1, bw - bh * 0.32, bh * 0.3, bh * 0.15,
                fill=WHITE, opacity="0.3"))
    # Words are drawn over the plate by the game, in the player's language; symbols stay.
    if label:
        s.add(s.text(label, w / 2, y0 + dy + bh / 2 + 2, size, fill=WHITE, stroke=INK, sw=size * 0.22))
    shape = rrect(x0, y0 + dy, bw, bh, r)
    if pressed:
        s.add(press_overlay(s, shape, 12, 0.6, 0.22))
    s.add(rrect(x0, y0 + dy, bw, bh, r, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


for _name, _w, _h, _label, _col, _size in [
        ("GameScene/playButton%d.png", 400, 200, None, GREEN, 84),
        ("GameScene/GoShop1-%d.png", 400, 200, None, ORANGE, 88),
        ("GameScene/titleButton%d.png", 300, 160, None, TEAL_D, 64),
        ("UpGradeScene/stageButton%d.png", 500, 250, None, GREEN, 110),
        # the round's pause button and its panel; the title's quit panel
        ("GameScene/pauseButton%d.png", 160, 140, "II", INDIGO_L, 72),
        ("GameScene/resumeButton%d.png", 420, 160, None, GREEN, 72),
        ("GameScene/volumeDownButton%d.png", 160, 160, "-", TEAL_D, 96),
        ("GameScene/volumeUpButton%d.png", 160, 160, "+", TEAL_D, 96),
        ("GameScene/muteButton%d.png", 300, 160, None, TEAL_D, 64),
        ("GameScene/fullscreenButton%d.png", 460, 160, None, INDIGO_L, 56),
        ("TitleScene/quitButton%d.png", 360, 160, None, RED, 72),
        # a panel's way back, where the player was
        ("GameScene/backButton%d.png", 300, 160, None, GREEN, 72)]:
    register(_name % 1, text_button, _w, _h, _label, _col, False, _size)
    register(_name % 2, text_button, _w, _h, _label, _col, True, _size)


# wordless: the options panel's buttons, their words drawn over them by the game
for _name, _w, _h, _col in [("GameScene/rowButton%d.png", 460, 120, TEAL_D),
                            ("GameScene/rowButtonRed%d.png", 460, 120, RED)]:
    register(_name % 1, text_button, _w, _h, "", _col, False, 10)
    register(_name % 2, text_button, _w, _h, "", _col, True, 10)


def panel_plate(w, h):
    s = Svg(w, h)
    s.add(rrect(OW, OW, w - 2 * OW, h - 2 * OW, 48, fill=INDIGO, stroke=INK, stroke_width=OW))
    s.add(rrect(OW * 3, OW * 3, w - 6 * OW, h - 6 * OW, 40, fill="none", stroke=INDIGO_L, stroke_width=OW))
    return done(s)


register("GameScene/pausePlate.png", panel_plate, 960, 820)
register("TitleScene/quitPlate.png", panel_plate, 900, 440)
register("GameScene/optionsPlate.png", panel_plate, 1500, 980)


# ---------------------------------------------------------------------------
# the plant hero
# ---------------------------------------------------------------------------

PLANT_GREENS = (GREEN_XL, GREEN_L, GREEN)
WILT_GREENS = ("#e4e2a8", "#bdbd6c", "#8e9446")


def plant(lean=0.0, mood="normal"):
    return done(plant_svg(lean, mood))


def plant_svg(lean=0.0, mood="normal", ns=""):
    s = Svg(800, 800, ns)
    ko = mood == "ko"
    happy = mood == "happy"
    xl, l, m = WILT_GREENS if ko else PLANT_GREENS
    ow = 10
    # ground shadow
    s.add(ellipse(400, 772, 150, 16, fill=INK, opacity="0.35"))
    upper = []
    # stem and small arm leaves
    stem = "M400,600 C404,560 394,500 400,440"
    upper.append(outlined_stroke(stem, 26, darker(m, 0.15), ow=ow))
    if ko:
        upper.append(leaf(s, 396, 522, 300, 576, 26, m, ow=ow, bend=8))
        upper.append(leaf(s, 404, 510, 500, 566, 26, m, ow=ow, bend=-8))
    elif happy:
        upper.append(leaf(s, 396, 520, 276, 430, 30, m, ow=ow, bend=-8))
        upper.append(leaf(s, 404, 508, 526, 420, 30, m, ow=ow, bend=8))
    else:
        upper.append(leaf(s, 396, 522, 282, 488, 30, m, ow=ow, bend=-8))
        upper.append(leaf(s, 404, 508, 518, 470, 30, m, ow=ow, bend=8))
    # top sprout leaves, lagging a little behind the lean
    lag = -lean * 0.6
    top = []
    top.append(outlined_stroke("M400,200 C398,180 404,168 400,150", 18, darker(m, 0.1), ow=ow))
    if ko:
        top.append(leaf(s, 396, 170, 236, 250, 50, m, ow=ow, bend=18))
        top.append(leaf(s, 404, 164, 520, 300, 54, lighter(m, 0.1), ow=ow, bend=-18))
    elif happy:
        top.append(leaf(s, 396, 160, 232, 40, 56, m, ow=ow, bend=-12))
        top.append(leaf(s, 404, 152, 582, 44, 60, lighter(m, 0.1), ow=ow, bend=12))
    else:
        top.append(leaf(s, 396, 162, 236, 76, 56, m, ow=ow, bend=-10))
        top.append(leaf(s, 404, 154, 572, 60, 60, lighter(m, 0.1), ow=ow, bend=10))
    top = g(top, transform="translate(0 -24) rotate(%s 400 200)" % f(lag))
    if not ko:
        upper.append(top)
    # head
    head = s.rad([(0, WHITE), (0.18, xl), (0.65, l), (1, m)], cx=0.4, cy=0.32, r=0.75)
    headg = [ellipse(400, 340, 178, 150, fill=head, stroke=INK, stroke_width=ow),
             path("M262,300 A150,130 0 0 1 352,212", fill="none", stroke=WHITE, stroke_width="14",
                  stroke_linecap="round", opacity="0.6")]
    # face
    face = []
    if ko:
        for ex in (338, 462):
            face.append(path("M%s,%s L%s,%s M%s,%s L%s,%s" % (
                f(ex - 22), f(318), f(ex + 22), f(362), f(ex + 22), f(318), f(ex - 22), f(362)),
                stroke=INK, stroke_width="12", stroke_linecap="round", fill="none"))
        face.append(path("M360,408 Q375,394 390,408 Q405,422 420,408 Q435,394 448,406", fill="none",
                         stroke=INK, stroke_width="9", stroke_linecap="round"))
        face.append(path("M520,250 Q534,274 520,290 Q506,274 520,250 Z", fill=TEAL_L, stroke=INK,
                         stroke_width="6"))
    elif happy:
        for ex in (338, 462):
            face.append(path("M%s,%s Q%s,%s %s,%s" % (f(ex - 24), f(346), f(ex), f(304), f(ex + 24), f(346)),
                             fill="none", stroke=INK, stroke_width="12", stroke_linecap="round"))
        face.append(path("M360,384 Q400,384 440,384 Q436,436 400,438 Q364,436 360,384 Z", fill="#7a2335",
                         stroke=INK, stroke_width="8", stroke_linejoin="round"))
        face.append(path("M376,420 Q400,404 424,420 Q412,434 400,434 Q388,434 376,420 Z", fill=PINK))
    else:
        for ex in (338, 462):
            face.append(ellipse(ex, 336, 21, 29, fill=INK))
            face.append(circle(ex - 7, 324, 8, fill=WHITE))
            face.append(circle(ex + 7, 350, 4, fill=WHITE))
        face.append(path("M370,392 Q400,420 430,392", fill="none", stroke=INK, stroke_width="9",
                         stroke_linecap="round"))
    if not ko:
        face.append(ellipse(288, 384, 28, 15, fill=PINK, opacity="0.75"))
        face.append(ellipse(512, 384, 28, 15, fill=PINK, opacity="0.75"))
    headg.append(g(face))
    upper.append(g(headg, transform="translate(0 -24)"))
    if ko:
        upper.append(top)
    if ko:
        upper = g(upper, transform="translate(0 30) rotate(20 400 590)")
    else:
        upper = g(upper, transform="rotate(%s 400 590)" % f(lean))
    s.add(upper)
    # pot (drawn over the foot of the stem)
    pot = s.lin([(0, lighter(TERRA, 0.15)), (0.7, TERRA), (1, darker(TERRA, 0.2))], 0, 0, 1, 0)
    s.add(path("M262,600 L538,600 L508,748 Q504,770 482,770 L318,770 Q296,770 292,748 Z", fill=pot,
               stroke=INK, stroke_width=ow, stroke_linejoin="round"))
    s.add(path("M276,668 L524,668", stroke=darker(TERRA, 0.2), stroke_width="12", opacity="0.8"))
    s.add(path("M470,620 L450,748", stroke=darker(TERRA, 0.25), stroke_width="12", stroke_linecap="round",
               opacity="0.5"))
    s.add(rrect(236, 552, 328, 66, 24, fill=s.lin([(0, lighter(TERRA, 0.3)), (1, TERRA)]), stroke=INK,
                stroke_width=ow))
    s.add(path("M262,572 L420,572", stroke=WHITE, stroke_width="10", stroke_linecap="round", opacity="0.45"))
    if ko:
        s.add(path("M322,700 L340,722 L330,742 L346,766", fill="none", stroke=INK, stroke_width="6",
                   stroke_linejoin="round", stroke_linecap="round"))
        for (x, y, r) in [(560, 150, 20), (610, 210, 14), (230, 200, 16)]:
            s.add(path(smooth_closed(star_points(x, y, r, r * 0.4, 4), 0.05), fill=YELLOW, stroke=INK,
                       stroke_width="5"))
    if happy:
        for (x, y, r) in [(160, 200, 30), (660, 300, 26), (140, 420, 18), (690, 150, 18)]:
            s.add(path(smooth_closed(star_points(x, y, r, r * 0.36, 4), 0.05), fill=YELLOW_L, stroke=INK,
                       stroke_width="6"))
    return s


register("GameScene/Plant1.png", plant, -7.0)
register("GameScene/Plant2.png", plant, 0.0)
register("GameScene/Plant3.png", plant, 7.0)
register("GameScene/PlantNotOut.png", plant, 0.0, "ko")
register("TitleScene/PlantNot.png", plant, 0.0, "happy")


# ---------------------------------------------------------------------------
# the companion bud
# ---------------------------------------------------------------------------

def companion(frame):
    s = Svg(300, 300)
    rx, ry, cy = [(92, 86, 178), (102, 74, 190), (86, 96, 168)][frame]
    feet_col = "#ebe8f2"
    s.add(ellipse(150, 284, 88, 9, fill=INK, opacity="0.3"))
    for fx in (112, 188):
        s.add(ellipse(fx, 262, 26, 15, fill=feet_col, stroke=INK, stroke_width=OW))
    top = cy - ry
    s.add(outlined_stroke("M150,%s C148,%s 154,%s 150,%s" % (f(top + 10), f(top - 6), f(top - 14), f(top - 26)),
                          9, GREEN, ow=6))
    s.add(leaf(s, 148, top - 22, 104, top - 50, 15, GREEN_L, ow=6, vein=False))
    s.add(leaf(s, 152, top - 24, 198, top - 58, 16, GREEN, ow=6, vein=False))
    body = s.rad([(0, WHITE), (0.6, "#f6f4ee"), (1, "#d2cfe0")], cx=0.4, cy=0.3, r=0.8)
    s.add(ellipse(150, cy, rx, ry, fill=body, stroke=INK, stroke_width=OW))
    s.add(path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(150 - rx * 0.7), f(cy - ry * 0.15), f(rx * 0.75), f(ry * 0.75),
                                              f(150 - rx * 0.15), f(cy - ry * 0.72)),
               fill="none", stroke=WHITE, stroke_width="9", stroke_linecap="round"))
    ey = cy - ry * 0.05
    for ex in (150 - rx * 0.32, 150 + rx * 0.32):
        if frame == 2:
            s.add(path("M%s,%s Q%s,%s %s,%s" % (f(ex - 13), f(ey), f(ex), f(ey + 10), f(ex + 13), f(ey)),
                       fill="none", stroke=INK, stroke_width="7", stroke_linecap="round"))
        else:
            s.add(ellipse(ex, ey, 11, 16 if frame == 0 else 13, fill=INK))
            s.add(circle(ex - 4, ey - 6, 4, fill=WHITE))
    for ex in (150 - rx * 0.58, 150 + rx * 0.58):
        s.add(ellipse(ex, ey + 24, 15, 8, fill=PINK, opacity="0.8"))
    s.add(path("M%s,%s Q%s,%s %s,%s" % (f(138), f(ey + 24), f(150), f(ey + 36), f(162), f(ey + 24)),
               fill="none", stroke=INK, stroke_width="6", stroke_linecap="round"))
    return done(s)


for _i in range(3):
    register("GameScene/PlantBom%d.png" % (_i + 1), companion, _i)


# ---------------------------------------------------------------------------
# planets
# ---------------------------------------------------------------------------

def planet(alive):
    return done(planet_svg(alive))


def planet_svg(alive, ns=""):
    s = Svg(720, 720, ns)
    cx = cy = 360
    R = 300
    rng = random.Random(7)
    atmo_col = TEAL_L if alive else "#b9b6c4"
    s.add(circle(cx, cy, R + 50, fill=s.rad([(0.78, atmo_col, 0.55 if alive else 0.3), (1, atmo_col, 0)],
                                           cx=cx, cy=cy, r=R + 50, user=True)))
    clip = s.clip(circle(cx, cy, R))
    inner = []
    if alive:
        inner.append(circle(cx, cy, R, fill=s.rad([(0, TEAL_L), (0.45, TEAL), (0.85, TEAL_D), (1, "#1f6e9a")],
                                                 cx=0.38, cy=0.34, r=0.75)))
        # ripples on the ocean
        for _ in range(14):
            x, y = rng.uniform(100, 620), rng.uniform(100, 620)
            inner.append(path("M%s,%s q10,-8 20,0 q10,8 20,0" % (f(x), f(y)), fill="none", stroke=TEAL_L,
                              stroke_width="5", stroke_linecap="round", opacity="0.7"))
    else:
        inner.append(circle(cx, cy, R, fill=s.rad([(0, "#d6d3dc"), (0.5, "#a6a2b0"), (1, "#6a6677")],
                                                 cx=0.38, cy=0.34, r=0.75)))
    lands = [(250, 230, 120, 0.25), (470, 300, 105, 0.3), (330, 480, 110, 0.28), (120, 420, 70, 0.3),
             (560, 520, 60, 0.3), (430, 110, 55, 0.3)]
    for (x, y, r, j) in lands:
        d = blob(x, y, r, 11, j, rng, rot=rng.uniform(0, 6))
        if alive:
            inner.append(path(d, fill=s.lin([(0, GREEN_L), (1, GREEN)]), stroke=INK, stroke_width="7"))
            inner.append(path(d, fill="none", stroke=mix(GREEN_XL, YELLOW_L, 0.5), stroke_width="5",
                              opacity="0.7", transform="translate(-3 -4)"))
        else:
            inner.append(path(d, fill="#8a8290", stroke=INK, stroke_width="5", opacity="0.9"))
    if alive:
        # forests: clusters of round tree tops
        for (x, y, r, j) in lands:
            for _ in range(int(r / 14)):
                tx, ty = x + rng.uniform(-r * 0.55, r * 0.55), y + rng.uniform(-r * 0.5, r * 0.5)
                tr = rng.uniform(13, 20)
                inner.append(circle(tx, ty, tr, fill=GREEN_D, stroke=INK, stroke_width="5"))
                inner.append(circle(tx - tr * 0.3, ty - tr * 0.3, tr * 0.35, fill=GREEN, opacity="0.9"))
            for _ in range(int(r / 12)):
                fx, fy = x + rng.uniform(-r * 0.6, r * 0.6), y + rng.uniform(-r * 0.55, r * 0.55)
                fc = rng.choice([PINK, YELLOW, WHITE, "#ff7f9e"])
                for k in range(5):
                    a = k * 2 * math.pi / 5
                    inner.append(circle(fx + 6 * math.cos(a), fy + 6 * math.sin(a), 5, fill=fc))
                inner.append(circle(fx, fy, 4, fill=ORANGE))
        for (x, y, w) in [(200, 330, 110), (520, 200, 90), (420, 600, 120), (120, 200, 60)]:
            cloud = "M%s,%s h%s a14,14 0 0 0 0,-28 a22,22 0 0 0 -40,-12 a20,20 0 0 0 -36,8 a14,14 0 0 0 %s,32 Z" % (
                f(x), f(y), f(w - 30), f(-(w - 30) + 76 - 76))
            inner.append(rrect(x, y, w, 26, 13, fill=WHITE, opacity="0.85"))
            inner.append(rrect(x + w * 0.25, y - 18, w * 0.45, 26, 13, fill=WHITE, opacity="0.85"))
    else:
        for _ in range(11):
            x, y = rng.uniform(110, 610), rng.uniform(110, 610)
            if math.hypot(x - cx, y - cy) > R - 50:
                continue
            r = rng.uniform(16, 48)
            inner.append(ellipse(x, y, r, r * 0.82, fill="#7e7a89", stroke=INK, stroke_width="5"))
            inner.append(path("M%s,%s A%s,%s 0 0 0 %s,%s" % (f(x - r * 0.8), f(y + r * 0.1), f(r), f(r * 0.8),
                                                             f(x + r * 0.8), f(y + r * 0.1)),
                              fill="none", stroke="#cfcbd6", stroke_width="6", stroke_linecap="round"))
            inner.append(ellipse(x + r * 0.1, y - r * 0.18, r * 0.62, r * 0.42, fill="#5f5b6b", opacity="0.7"))
        for (x0, y0, ang, n) in [(360, 140, 100, 6), (180, 330, 20, 5), (520, 420, 200, 5), (300, 560, -40, 4)]:
            p = [(x0, y0)]
            a = math.radians(ang)
            x, y = x0, y0
            for i in range(n):
                a += rng.uniform(-0.7, 0.7)
                x += 30 * math.cos(a)
                y += 30 * math.sin(a)
                p.append((x, y))
            inner.append(path("M" + " L".join("%s,%s" % (f(a), f(b)) for a, b in p), fill="none", stroke=INK,
                              stroke_width="6", stroke_linejoin="round", stroke_linecap="round"))
            bx, by = p[n // 2]
            inner.append(path("M%s,%s l%s,%s l%s,%s" % (f(bx), f(by), f(rng.uniform(-30, 30)),
                                                         f(rng.uniform(-30, 30)), f(rng.uniform(-20, 20)),
                                                         f(rng.uniform(-20, 20))),
                              fill="none", stroke=INK, stroke_width="4", stroke_linecap="round"))
    # day/night shading and rim light
    inner.append(circle(cx, cy, R, fill=s.rad([(0, INK, 0), (0.62, INK, 0), (1, INK, 0.55)],
                                             cx=cx - 110, cy=cy - 120, r=R * 1.55, user=True)))
    inner.append(path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(cx - R * 0.82), f(cy - R * 0.22), f(R * 0.86), f(R * 0.86),
                                                     f(cx - R * 0.2), f(cy - R * 0.82)),
                      fill="none", stroke=WHITE, stroke_width="14", stroke_linecap="round", opacity="0.5"))
    s.add(g(inner, clip_path=clip))
    s.add(circle(cx, cy, R, fill="none", stroke=INK, stroke_width="10"))
    return s


register("GameScene/deadPlanet.png", planet, False)
register("GameScene/greenPlanet.png", planet, True)


# ---------------------------------------------------------------------------
# effects
# ---------------------------------------------------------------------------

def smoke():
    s = Svg(300, 260)
    puffs = [(150, 140, 78), (86, 160, 56), (216, 158, 58), (118, 104, 56), (186, 100, 60), (150, 186, 60),
             (60, 188, 34), (246, 190, 32)]
    union = "".join(circle(x, y, r) for x, y, r in puffs)
    body = []
    for x, y, r in puffs:
        body.append(circle(x, y, r, fill="none", stroke="#b7b6c6", stroke_width="10"))
    for x, y, r in puffs:
        body.append(circle(x, y, r, fill="#dcdbe6"))
    clip = s.clip(union)
    body.append(g([circle(x - 6, y - 14, r * 0.9, fill=WHITE) for x, y, r in puffs], clip_path=clip))
    body.append(g([circle(x - 18, y - 28, r * 0.45, fill=WHITE) for x, y, r in puffs[:6]], opacity="0.9"))
    s.add(g(body, filter=s.blur(1.6, 0.1)))
    return done(s)


def barrier():
    s = Svg(340, 340)
    c, R = 170, 158
    s.add(circle(c, c, R, fill=s.rad([(0, "#f4fbff", 0.04), (0.7, "#eefaff", 0.16), (0.92, "#f4fdff", 0.5),
                                      (1, WHITE, 0.8)])))
    s.add(circle(c, c, R - 3, fill="none", stroke=WHITE, stroke_width="6", opacity="0.9"))
    s.add(path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(c - R * 0.72), f(c - R * 0.12), f(R * 0.76), f(R * 0.76),
                                              f(c - R * 0.1), f(c - R * 0.72)),
               fill="none", stroke=WHITE, stroke_width="16", stroke_linecap="round", opacity="0.75",
               filter=s.blur(1.5)))
    s.add(circle(c - R * 0.46, c - R * 0.58, 9, fill=WHITE, opacity="0.9"))
    s.add(path("M%s,%s A%s,%s 0 0 0 %s,%s" % (f(c + R * 0.78), f(c + R * 0.2), f(R * 0.8), f(R * 0.8),
                                              f(c + R * 0.2), f(c + R * 0.78)),
               fill="none", stroke=WHITE, stroke_width="7", stroke_linecap="round", opacity="0.45"))
    return done(s)


def white_star():
    s = Svg(24, 24)
    s.add(circle(12, 12, 7, fill=s.rad([(0, WHITE, 0.7), (1, WHITE, 0)])))
    s.add(path(smooth_closed(star_points(12, 12, 11.5, 3.0, 4), 0.04), fill=WHITE))
    return done(s)


def black():
    return Image.new("RGBA", (1920, 1080), (0, 0, 0, 255))


register("GameScene/smoke.png", smoke)
register("GameScene/Barrier.png", barrier)
register("GameScene/whiteStar.png", white_star)
register("GameScene/black2.png", black)


# ---------------------------------------------------------------------------
# obstructions (jiyama): noisy shapes that hide the element below
# ---------------------------------------------------------------------------

def noise_image(w, h, seed, block, colour=False, lo=40, hi=235):
    rng = np.random.default_rng(seed)
    gw, gh = (w + block - 1) // block, (h + block - 1) // block
    if colour:
        a = rng.integers(0, 6, size=(gh, gw))
        pal = np.array([[236, 74, 92], [63, 207, 196], [255, 210, 63], [42, 35, 112], [245, 245, 250],
                        [143, 224, 106]], dtype=np.uint8)
        arr = pal[a]
    else:
        v = rng.integers(lo, hi, size=(gh, gw)).astype(np.uint8)
        arr = np.stack([v, v, (v.astype(int) * 0.95 + 12).clip(0, 255).astype(np.uint8)], axis=-1)
    img = Image.fromarray(arr, "RGB").resize((gw * block, gh * block), Image.NEAREST).crop((0, 0, w, h))
    return img


def ob_fog():
    s = Svg(160, 160)
    rng = random.Random(100)
    puffs = []
    for i in range(9):
        a = i * 2 * math.pi / 9
        puffs.append(circle(80 + 36 * math.cos(a), 80 + 36 * math.sin(a), rng.uniform(30, 38), fill="#9f9dac"))
    puffs.append(circle(80, 80, 52, fill="#b4b2c0"))
    s.add(g(puffs, filter=s.blur(6, 0.2), opacity="0.92"))
    s.add(circle(70, 70, 26, fill="#d0cfdb", filter=s.blur(9, 0.6), opacity="0.8"))
    return done(s)


def ob_static(seed=1, colour=False):
    s = Svg(160, 160)
    shape = rrect(10, 10, 140, 140, 26)
    clip = s.clip(shape)
    img = noise_image(140, 140, seed, 5 if colour else 4, colour)
    s.add(g(['<image x="10" y="10" width="140" height="140" href="%s"/>' % data_uri(img)]
            + [rrect(10, y, 140, 3, 0, fill=INK, opacity="0.35") for y in range(12, 150, 8)],
            clip_path=clip))
    s.add(rrect(10, 10, 140, 140, 26, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


def ob_static_round(seed=7):
    s = Svg(160, 160)
    clip = s.clip(circle(80, 80, 72))
    img = noise_image(160, 160, seed, 8, True)
    s.add(g('<image x="0" y="0" width="160" height="160" href="%s"/>' % data_uri(img), clip_path=clip))
    s.add(circle(80, 80, 72, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


def splat(s, rng, col, hi, n_spikes=9, r=58):
    out = []
    pts_ = []
    for i in range(n_spikes * 2):
        a = 2 * math.pi * i / (n_spikes * 2) + rng.uniform(-0.1, 0.1)
        rr = r * (rng.uniform(1.05, 1.32) if i % 2 == 0 else rng.uniform(0.82, 0.95))
        pts_.append((80 + rr * math.cos(a), 80 + rr * math.sin(a)))
    d = smooth_closed(pts_, 0.2)
    for _ in range(6):
        a = rng.uniform(0, 2 * math.pi)
        rr = rng.uniform(r * 1.2, r * 1.32)
        out.append(circle(80 + rr * math.cos(a), 80 + rr * math.sin(a), rng.uniform(4, 8), fill=col,
                          stroke=INK, stroke_width="4"))
    out.append(path(d, fill=col, stroke=INK, stroke_width=OW, stroke_linejoin="round"))
    out.append(path(blob(66, 64, 24, 7, 0.2, rng), fill=hi, opacity="0.55"))
    out.append(circle(58, 56, 6, fill=WHITE, opacity="0.6"))
    return out


def ob_ink():
    s = Svg(160, 160)
    s.add(*splat(s, random.Random(3), "#17112e", INDIGO_L, 9, 60))
    return done(s)


def ob_mud():
    s = Svg(160, 160)
    s.add(*splat(s, random.Random(12), BROWN, BROWN_L, 11, 58))
    return done(s)


def ob_scribble():
    s = Svg(160, 160)
    rng = random.Random(5)
    s.add(path(blob(80, 80, 70, 12, 0.08, rng), fill="#f3e9ff", stroke=INK, stroke_width=OW))
    for col, width, n in [("#6a4fd6", 11, 26), (RED, 8, 18), (INK, 5, 20)]:
        p = []
        x, y = 80, 80
        for i in range(n):
            a = rng.uniform(0, 2 * math.pi)
            rr = rng.uniform(20, 60)
            p.append((80 + rr * math.cos(a), 80 + rr * math.sin(a)))
        s.add(path(smooth_open(p, 0.3), fill="none", stroke=col, stroke_width=str(width), stroke_linecap="round",
                   stroke_linejoin="round", clip_path=s.clip(circle(80, 80, 68))))
    return done(s)


def ob_glitch():
    s = Svg(160, 160)
    rng = random.Random(9)
    cols = [RED, TEAL, YELLOW, INDIGO, WHITE, "#ff4fd8", GREEN_L, INK]
    items = [rrect(12, 12, 136, 136, 10, fill=INK)]
    y = 12
    while y < 148:
        h = rng.choice([6, 8, 10, 14, 18])
        x = 12 + rng.uniform(-10, 10)
        while x < 148:
            w = rng.uniform(10, 46)
            items.append(rrect(x, y, w, h, 0, fill=rng.choice(cols)))
            x += w
        y += h
    s.add(g(items, clip_path=s.clip(path(smooth_closed(
        [(10, 14), (60, 6), (110, 16), (154, 8), (148, 70), (156, 120), (140, 154), (80, 146), (20, 156),
         (6, 100)], 0.02)))))
    s.add(path(smooth_closed([(10, 14), (60, 6), (110, 16), (154, 8), (148, 70), (156, 120), (140, 154),
                              (80, 146), (20, 156), (6, 100)], 0.02), fill="none", stroke=INK,
               stroke_width=OW, stroke_linejoin="round"))
    return done(s)


def ob_bramble():
    s = Svg(160, 160)
    rng = random.Random(21)
    s.add(path(blob(80, 80, 66, 10, 0.12, rng), fill="#2d3a1e", stroke=INK, stroke_width=OW))
    for k in range(7):
        a0 = rng.uniform(0, 2 * math.pi)
        p = []
        for i in range(6):
            a = a0 + i * 1.1
            rr = rng.uniform(14, 66)
            p.append((80 + rr * math.cos(a), 80 + rr * math.sin(a)))
        d = smooth_open(p, 0.25)
        col = rng.choice(["#6f8a2e", "#86703a", "#5d7a2a"])
        s.add(outlined_stroke(d, 9, col, ow=3))
        for (x, y) in p[1:-1]:
            a = rng.uniform(0, 2 * math.pi)
            s.add(poly([(x + 5 * math.cos(a + 1.6), y + 5 * math.sin(a + 1.6)),
                        (x + 18 * math.cos(a), y + 18 * math.sin(a)),
                        (x + 5 * math.cos(a - 1.6), y + 5 * math.sin(a - 1.6))],
                       fill="#e9e1b8", stroke=INK, stroke_width="3", stroke_linejoin="round"))
    return done(s)


def ob_storm():
    s = Svg(160, 160)
    puffs = [(80, 78, 44), (42, 88, 32), (118, 88, 34), (60, 56, 30), (104, 54, 32), (80, 110, 34),
             (36, 112, 22), (124, 114, 22)]
    for x, y, r in puffs:
        s.add(circle(x, y, r, fill=INK, stroke=INK, stroke_width=str(OW * 2)))
    for x, y, r in puffs:
        s.add(circle(x, y, r, fill="#5a5870"))
    s.add(g([circle(x - 5, y - 8, r * 0.7, fill="#77758e") for x, y, r in puffs],
            clip_path=s.clip("".join(circle(x, y, r) for x, y, r in puffs))))
    s.add(poly([(86, 70), (60, 108), (80, 108), (66, 148), (108, 96), (86, 96), (100, 70)], fill=YELLOW,
               stroke=INK, stroke_width="6", stroke_linejoin="round"))
    return done(s)


def ob_spiral():
    s = Svg(160, 160)
    s.add(circle(80, 80, 72, fill="#8a4fe0", stroke=INK, stroke_width=OW))
    p = []
    for i in range(200):
        t = i / 199 * 4.2 * math.pi
        r = 4 + t * 4.8
        p.append((80 + r * math.cos(t), 80 + r * math.sin(t)))
    s.add(path("M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in p), fill="none", stroke=INK,
               stroke_width="13", stroke_linecap="round", clip_path=s.clip(circle(80, 80, 70))))
    s.add(circle(80, 80, 72, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


def ob_mosaic():
    s = Svg(160, 160)
    rng = random.Random(31)
    cols = ["#3a3480", "#5b52b8", "#7f78d0", "#23205a", "#9ed8f0", "#c8c4e8"]
    cells = []
    for j in range(8):
        for i in range(8):
            cx_, cy_ = 10 + i * 18 + 9, 10 + j * 18 + 9
            if math.hypot(cx_ - 80, cy_ - 80) < 76:
                cells.append((i, j))
    for i, j in cells:
        s.add(rrect(10 + i * 18 - 4, 10 + j * 18 - 4, 26, 26, 0, fill=INK))
    for i, j in cells:
        s.add(rrect(10 + i * 18, 10 + j * 18, 18, 18, 0, fill=rng.choice(cols)))
    return done(s)


def ob_goo():
    s = Svg(160, 160)
    rng = random.Random(44)
    d = blob(80, 74, 68, 9, 0.1, rng)
    for (x, w, h) in [(36, 16, 82), (92, 14, 86), (118, 12, 70)]:
        s.add(rrect(x, 80, w, h - 8, w / 2, fill="#7bd34a", stroke=INK, stroke_width="6"))
    s.add(path(d, fill="#7bd34a", stroke=INK, stroke_width=OW))
    for _ in range(7):
        x, y, r = rng.uniform(40, 120), rng.uniform(40, 112), rng.uniform(5, 13)
        s.add(circle(x, y, r, fill="#b6ef7c", stroke="#3f8f2c", stroke_width="3"))
    s.add(path(blob(62, 56, 18, 6, 0.2, rng), fill=WHITE, opacity="0.5"))
    return done(s)


def ob_rocks():
    s = Svg(160, 160)
    rng = random.Random(55)
    rocks = [(80, 80, 40), (40, 58, 30), (120, 56, 30), (44, 112, 30), (116, 112, 32), (80, 34, 24),
             (80, 128, 26), (24, 86, 18), (138, 86, 18)]
    for x, y, r in rocks:
        c = rng.choice(["#8e8a9c", "#a7a3b3", "#77738a"])
        d = blob(x, y, r, 7, 0.18, rng)
        s.add(path(d, fill=c, stroke=INK, stroke_width="6", stroke_linejoin="round"))
        s.add(path(blob(x - r * 0.25, y - r * 0.3, r * 0.35, 6, 0.2, rng), fill=WHITE, opacity="0.35"))
    return done(s)


def ob_hazard():
    s = Svg(160, 160)
    d = smooth_closed(star_points(80, 80, 78, 60, 12, rot=0.2), 0.02)
    stripes = s.pattern(36, 36, rrect(0, 0, 36, 36, 0, fill=YELLOW) + rrect(0, 0, 18, 36, 0, fill=INK),
                        transform="rotate(45)")
    s.add(path(d, fill=stripes, stroke=INK, stroke_width=OW, stroke_linejoin="round"))
    return done(s)


def ob_leaves():
    s = Svg(160, 160)
    rng = random.Random(66)
    s.add(path(blob(80, 80, 60, 9, 0.12, rng), fill="#6b4424", stroke=INK, stroke_width=OW))
    for i in range(22):
        a = rng.uniform(0, 2 * math.pi)
        rr = 58 * math.sqrt(rng.uniform(0, 1))
        x, y = 80 + rr * math.cos(a), 80 + rr * math.sin(a)
        b = rng.uniform(0, 2 * math.pi)
        L = rng.uniform(36, 52)
        col = rng.choice(["#c9702d", "#e0a030", "#9c5a2a", "#b8862f", "#d65a36"])
        s.add(leaf(s, x - L / 2 * math.cos(b), y - L / 2 * math.sin(b), x + L / 2 * math.cos(b),
                   y + L / 2 * math.sin(b), 15, col, ow=4))
    return done(s)


def ob_vortex():
    s = Svg(160, 160)
    s.add(circle(80, 80, 72, fill=s.rad([(0, NAVY0), (0.6, "#231a55"), (1, "#4b2f91")]), stroke=INK,
               stroke_width=OW))
    clip = s.clip(circle(80, 80, 68))
    arms = []
    for k in range(5):
        p = []
        for i in range(40):
            t = i / 39
            a = k * 2 * math.pi / 5 + t * 3.2
            r = 8 + t * 66
            p.append((80 + r * math.cos(a), 80 + r * math.sin(a)))
        arms.append(path(smooth_open(p), fill="none", stroke=rng_col(k), stroke_width=str(10 - k),
                         stroke_linecap="round", opacity="0.85"))
    s.add(g(arms, clip_path=clip))
    s.add(circle(80, 80, 14, fill=NAVY0, stroke=LILAC, stroke_width="3"))
    return done(s)


def rng_col(k):
    return [LILAC, TEAL_L, PINK, WHITE, "#8a6ff0"][k % 5]


register("GameScene/jiyama0.png", ob_fog)
for _i, (_fn, _a) in enumerate([
        (ob_static, (1, False)), (ob_ink, ()), (ob_scribble, ()), (ob_glitch, ()), (ob_bramble, ()),
        (ob_mud, ()), (ob_static_round, ()), (ob_storm, ()), (ob_spiral, ()), (ob_mosaic, ()),
        (ob_goo, ()), (ob_rocks, ()), (ob_hazard, ()), (ob_leaves, ()), (ob_vortex, ())]):
    register("GameScene/jiyama%d.png" % (_i + 1), _fn, *_a)


# ---------------------------------------------------------------------------
# the little helper robot holding the "this row" arrow
# ---------------------------------------------------------------------------

def support_plate(k):
    s = Svg(500, 500)
    bob = [0, -6, -10, -6][k]
    adx = [0, 7, 14, 7][k]
    ady = [0, -8, -14, -8][k]
    s.add(ellipse(170, 474, 112, 13, fill=INK, opacity="0.35"))
    robot = []
    # tread
    robot.append(rrect(86, 420, 168, 46, 23, fill="#4b4766", stroke=INK, stroke_width=OW))
    for x in (112, 148, 184, 220):
        robot.append(circle(x, 443, 10, fill="#8e8aa6", stroke=INK, stroke_width="5"))
    # left arm, resting
    robot.append(outlined_stroke("M104,330 C70,350 66,384 80,404", 20, TEAL, ow=7))
    robot.append(circle(80, 406, 16, fill=CREAM, stroke=INK, stroke_width="7"))
    # body
    robot.append(rrect(96, 288, 150, 140, 34, fill=s.lin([(0, TEAL_L), (0.4, TEAL), (1, TEAL_D)]),
                       stroke=INK, stroke_width=OW))
    robot.append(circle(171, 360, 30, fill=CREAM, stroke=INK, stroke_width="6"))
    robot.append(leaf(s, 160, 372, 186, 342, 11, GREEN, ow=5, vein=False))
    # antenna with a sprout
    robot.append(outlined_stroke("M171,160 L171,118", 8, "#8e8aa6", ow=5))
    robot.append(leaf(s, 169, 116, 130, 90, 17, GREEN_L, ow=6, vein=False))
    robot.append(leaf(s, 173, 116, 212, 84, 18, GREEN, ow=6, vein=False))
    # head
    robot.append(rrect(72, 150, 198, 152, 46, fill=s.lin([(0, WHITE), (1, "#d9d5e8")]), stroke=INK,
                       stroke_width=OW))
    robot.append(rrect(94, 174, 154, 102, 30, fill=NAVY1, stroke=INK, stroke_width="6"))
    for ex in (138, 204):
        if k == 2:
            robot.append(path("M%s,226 Q%s,206 %s,226" % (f(ex - 16), f(ex), f(ex + 16)), fill="none",
                              stroke=TEAL_L, stroke_width="9", stroke_linecap="round"))
        else:
            robot.append(rrect(ex - 10, 206, 20, 30, 10, fill=TEAL_L))
    robot.append(path("M154,252 Q171,264 188,252", fill="none", stroke=TEAL_L, stroke_width="7",
                      stroke_linecap="round"))
    robot.append(ellipse(104, 262, 12, 7, fill=PINK, opacity="0.0"))
    s.add(g(robot, transform="translate(0 %s)" % f(bob)))
    # raised arm holding the stick of the sign
    hx, hy = 300 + adx * 0.5, 300 + ady + bob * 0.5
    s.add(outlined_stroke("M238,%s C262,%s %s,%s %s,%s" % (f(330 + bob), f(330 + bob), f(hx - 20), f(hy + 20),
                                                         f(hx), f(hy)), 20, TEAL, ow=7))
    ax, ay = adx, ady
    s.add(outlined_stroke("M%s,%s L%s,%s" % (f(hx), f(hy + 6), f(330 + ax), f(204 + ay)), 12, BROWN_L, ow=6))
    s.add(circle(hx, hy, 18, fill=CREAM, stroke=INK, stroke_width="7"))
    # the arrow sign
    arrow = [(230, 112), (360, 112), (360, 56), (470, 150), (360, 244), (360, 188), (230, 188)]
    arrow = [(x + ax, y + ay) for x, y in arrow]
    glow_op = [0.25, 0.4, 0.55, 0.4][k]
    s.add(poly(arrow, fill=YELLOW_L, stroke=YELLOW, stroke_width="34", stroke_linejoin="round",
               opacity=f(glow_op), filter=s.blur(6)))
    s.add(poly(arrow, fill=s.lin([(0, YELLOW_L), (0.5, YELLOW), (1, ORANGE)]), stroke=INK, stroke_width="10",
               stroke_linejoin="round"))
    s.add(path("M%s,%s L%s,%s L%s,%s" % (f(246 + ax), f(128 + ay), f(372 + ax), f(128 + ay), f(372 + ax),
                                        f(90 + ay)),
               fill="none", stroke=WHITE, stroke_width="9", stroke_linecap="round", stroke_linejoin="round",
               opacity="0.7"))
    return done(s)


for _i in range(4):
    register("GameScene/supportPlate%d.png" % _i, support_plate, _i)


# ---------------------------------------------------------------------------
# plates and badges of the round screen
# ---------------------------------------------------------------------------

def answer_plate():
    s = Svg(700, 120)
    s.add(rrect(5, 5, 690, 110, 52, fill=s.lin([(0, INDIGO_L, 0.92), (1, INDIGO, 0.92)]), stroke=INK,
                stroke_width="6"))
    s.add(rrect(16, 14, 668, 92, 44, fill="none", stroke=LILAC, stroke_width="3", opacity="0.45"))
    for i in range(6):
        x = 700 / 6 * (i + 0.5)
        s.add(circle(x, 62, 42, fill="#16123f", opacity="0.55"))
        s.add(circle(x, 62, 42, fill="none", stroke=LILAC, stroke_width="3", opacity="0.35"))
    return done(s)


def earth_back(pressed):
    s = Svg(400, 400)
    cx, cy, r, lip = 200, 186, 168, 16
    dy = lip if pressed else 0
    s.add(circle(cx, cy + lip, r, fill=darker(BLUE, 0.45), stroke=INK, stroke_width=OW))
    face = circle(cx, cy + dy, r)
    clip = s.clip(face)
    inner = [circle(cx, cy + dy, r, fill=s.rad([(0, lighter(BLUE, 0.4)), (0.7, BLUE), (1, darker(BLUE, 0.2))],
                                                cx=0.4, cy=0.3, r=0.75))]
    rng = random.Random(4)
    for (x, y, rr) in [(110, 120, 70), (300, 150, 60), (150, 300, 80), (320, 320, 50)]:
        inner.append(path(blob(x, y + dy, rr, 9, 0.25, rng), fill=GREEN, stroke=INK, stroke_width="6",
                          opacity="0.95"))
    inner.append(path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(cx - r * 0.8), f(cy + dy - r * 0.2), f(r * 0.84),
                                                     f(r * 0.84), f(cx + r * 0.2), f(cy + dy - r * 0.78)),
                      fill="none", stroke=WHITE, stroke_width="12", stroke_linecap="round", opacity="0.4"))
    s.add(g(inner, clip_path=clip))
    # curved "back" arrow
    d = "M%s,%s C%s,%s %s,%s %s,%s L%s,%s" % (f(268), f(272 + dy), f(330), f(206 + dy), f(304), f(112 + dy),
                                              f(214), f(112 + dy), f(180), f(112 + dy))
    head = [(186, 50 + dy), (96, 112 + dy), (186, 174 + dy)]
    s.add(path(d, fill="none", stroke=INK, stroke_width="58", stroke_linecap="round"))
    s.add(poly(head, fill=INK, stroke=INK, stroke_width="18", stroke_linejoin="round"))
    s.add(path(d, fill="none", stroke=WHITE, stroke_width="40", stroke_linecap="round"))
    s.add(poly(head, fill=WHITE, stroke=WHITE, stroke_width="2", stroke_linejoin="round"))
    if pressed:
        s.add(press_overlay(s, face, 16, 0.6, 0.25))
    s.add(circle(cx, cy + dy, r, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


def score_plate():
    s = Svg(1000, 500)
    s.add(rrect(22, 96, 956, 380, 76, fill=INK, opacity="0.35", transform="translate(0 14)"))
    s.add(rrect(22, 96, 956, 380, 76, fill=s.lin([(0, INDIGO_L), (1, INDIGO)]), stroke=INK, stroke_width="12"))
    s.add(rrect(46, 120, 908, 332, 56, fill="none", stroke=LILAC, stroke_width="6", opacity="0.5"))
    s.add(rrect(80, 250, 840, 170, 40, fill=NAVY1, opacity="0.35"))
    for (x, y) in [(90, 170), (910, 170), (90, 410), (910, 410)]:
        s.add(path(smooth_closed(star_points(x, y, 16, 6, 4), 0.05), fill=YELLOW_L, opacity="0.8"))
    s.add(leaf(s, 330, 92, 230, 40, 24, GREEN_L, ow=8))
    s.add(leaf(s, 670, 92, 770, 40, 24, GREEN, ow=8))
    s.add(rrect(310, 22, 380, 136, 52, fill=s.lin([(0, YELLOW_L), (0.5, YELLOW), (1, ORANGE)]), stroke=INK,
                stroke_width="12"))
    return done(s)


def new_record():
    s = Svg(800, 400)
    s.add(path(rounded_star(400, 170, 190, 150, 20, rnd=0.05), fill=s.rad([(0, YELLOW_L), (0.6, YELLOW),
                                                                          (1, ORANGE)]),
               stroke=INK, stroke_width="10", stroke_linejoin="round"))
    s.add(circle(400, 170, 128, fill="none", stroke=WHITE, stroke_width="8", opacity="0.6"))
    # ribbon
    s.add(poly([(40, 236), (130, 236), (130, 350), (40, 350), (76, 293)], fill=darker(RED, 0.3), stroke=INK,
               stroke_width="10", stroke_linejoin="round"))
    s.add(poly([(760, 236), (670, 236), (670, 350), (760, 350), (724, 293)], fill=darker(RED, 0.3), stroke=INK,
               stroke_width="10", stroke_linejoin="round"))
    s.add(rrect(96, 214, 608, 118, 16, fill=s.lin([(0, lighter(RED, 0.25)), (1, RED)]), stroke=INK,
                stroke_width="10"))
    for (x, y, r) in [(90, 90, 28), (712, 70, 34), (640, 180, 16), (160, 180, 18)]:
        s.add(path(smooth_closed(star_points(x, y, r, r * 0.35, 4), 0.05), fill=WHITE, stroke=INK,
                   stroke_width="6"))
    return done(s)


register("GameScene/answer.png", answer_plate)
register("GameScene/EarthBackButton1.png", earth_back, False)
register("GameScene/EarthBackButton2.png", earth_back, True)
register("GameScene/Plate.png", score_plate)
register("GameScene/newHighScore.png", new_record)


# ---------------------------------------------------------------------------
# title screen
# ---------------------------------------------------------------------------

def logo():
    s = Svg(1600, 420)
    word = "Doviveduzuz"
    size = 250
    adv = text_width("D", size) * 1.07
    total = adv * len(word)
    x0 = 800 - total / 2
    cols = [GREEN_L, YELLOW, TEAL, ORANGE, GREEN_L, YELLOW_L, TEAL, GREEN_L, YELLOW, TEAL, ORANGE]
    letters = []
    for i, ch in enumerate(word):
        x = x0 + adv * (i + 0.5)
        y = 330 + 14 * math.sin(i * 1.3)
        rot = 5 * math.sin(i * 2.1 + 0.5)
        letters.append((ch, x, y, rot, cols[i % len(cols)]))
    common = 'font-family="DotGothic16" font-size="%d" text-anchor="middle" stroke-linejoin="round"' % size
    for (sw, col, dy) in [(52, INK, 16), (40, INK, 0)]:
        for ch, x, y, rot, c in letters:
            s.add('<text x="%s" y="%s" %s fill="%s" stroke="%s" stroke-width="%d" transform="rotate(%s %s %s)">%s</text>'
                  % (f(x), f(y + dy), common, col, col, sw, f(rot), f(x), f(y - 90), ch))
    for ch, x, y, rot, c in letters:
        s.add('<text x="%s" y="%s" %s fill="%s" stroke="%s" stroke-width="14" transform="rotate(%s %s %s)">%s</text>'
              % (f(x), f(y), common, c, c, f(rot), f(x), f(y - 90), ch))

    # sprout growing from the i
    ch, x, y, rot, c = letters[3]
    bx, by = x, y - 206
    s.add(g([outlined_stroke("M%s,%s C%s,%s %s,%s %s,%s" % (f(bx), f(by + 20), f(bx - 4), f(by - 10),
                                                          f(bx + 6), f(by - 30), f(bx), f(by - 54)), 14, GREEN,
                             ow=9),
             leaf(s, bx - 2, by - 50, bx - 96, by - 92, 30, GREEN_L, ow=9, bend=-6),
             leaf(s, bx + 2, by - 54, bx + 92, by - 110, 32, GREEN, ow=9, bend=6)],
            transform="rotate(%s %s %s)" % (f(rot), f(x), f(y - 90))))
    for (x, y, r) in [(60, 110, 24), (1540, 80, 28), (1572, 170, 13)]:
        s.add(path(smooth_closed(star_points(x, y, r, r * 0.35, 4), 0.05), fill=YELLOW_L, stroke=INK,
                   stroke_width="6"))
    return done(s)


def tap_prompt():
    """A soft dark band the game writes its prompt on."""
    s = Svg(900, 120)
    s.add(rrect(8, 14, 884, 92, 46, fill=INK, opacity="0.35"))
    return done(s)


register("TitleScene/TitlePlant.png", logo)
register("TitleScene/tap.png", tap_prompt)


# ---------------------------------------------------------------------------
# shop
# ---------------------------------------------------------------------------

def coin_shape(s, cx, cy, r, ow=OW):
    out = [circle(cx, cy + r * 0.08, r, fill=darker(ORANGE, 0.35), stroke=INK, stroke_width=f(ow)),
           circle(cx, cy, r, fill=s.rad([(0, YELLOW_L), (0.55, YELLOW), (1, ORANGE)], cx=0.38, cy=0.32, r=0.8),
                  stroke=INK, stroke_width=f(ow)),
           circle(cx, cy, r * 0.74, fill="none", stroke=darker(YELLOW, 0.25), stroke_width=f(r * 0.07)),
           leaf(s, cx - r * 0.28, cy + r * 0.32, cx + r * 0.3, cy - r * 0.34, r * 0.26, "#f2b02a", ow=ow * 0.8),
           path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(cx - r * 0.78), f(cy - r * 0.1), f(r * 0.8), f(r * 0.8),
                                               f(cx - r * 0.1), f(cy - r * 0.78)),
                fill="none", stroke=WHITE, stroke_width=f(r * 0.1), stroke_linecap="round", opacity="0.8")]
    return "".join(out)


def coin():
    s = Svg(200, 200)
    s.add(coin_shape(s, 100, 94, 86))
    return done(s)


def clock_shape(s, cx, cy, r, ow=OW):
    out = []
    for sx in (-1, 1):
        out.append(circle(cx + sx * r * 0.66, cy - r * 0.82, r * 0.3, fill=YELLOW, stroke=INK, stroke_width=f(ow)))
    for sx in (-1, 1):
        out.append(outlined_stroke("M%s,%s L%s,%s" % (f(cx + sx * r * 0.55), f(cy + r * 0.8), f(cx + sx * r * 0.75),
                                                     f(cy + r * 1.05)), r * 0.1, "#8e8aa6", ow=ow * 0.7))
    out.append(circle(cx, cy, r, fill=s.lin([(0, TEAL_L), (0.5, TEAL), (1, TEAL_D)]), stroke=INK,
                      stroke_width=f(ow)))
    out.append(circle(cx, cy, r * 0.8, fill=CREAM, stroke=INK, stroke_width=f(ow * 0.75)))
    for i in range(12):
        a = i * math.pi / 6
        r0 = r * (0.6 if i % 3 == 0 else 0.66)
        out.append(path("M%s,%s L%s,%s" % (f(cx + r0 * math.cos(a)), f(cy + r0 * math.sin(a)),
                                           f(cx + r * 0.72 * math.cos(a)), f(cy + r * 0.72 * math.sin(a))),
                        stroke=INK, stroke_width=f(r * 0.05), stroke_linecap="round"))
    out.append(path("M%s,%s L%s,%s M%s,%s L%s,%s" % (f(cx), f(cy), f(cx), f(cy - r * 0.56), f(cx), f(cy),
                                                     f(cx + r * 0.36), f(cy + r * 0.2)),
                    stroke=INK, stroke_width=f(r * 0.09), stroke_linecap="round"))
    out.append(circle(cx, cy, r * 0.08, fill=RED, stroke=INK, stroke_width=f(ow * 0.5)))
    out.append(path("M%s,%s A%s,%s 0 0 1 %s,%s" % (f(cx - r * 0.86), f(cy - r * 0.2), f(r * 0.9), f(r * 0.9),
                                                   f(cx - r * 0.3), f(cy - r * 0.84)),
                    fill="none", stroke=WHITE, stroke_width=f(r * 0.07), stroke_linecap="round", opacity="0.6"))
    return "".join(out)


def heart_shape(s, cx, cy, r, ow=OW):
    d = ("M{cx},{b} C{l1},{m1} {l2},{t1} {lx},{ty} C{l3},{t2} {cx},{t3} {cx},{t4} "
         "C{cx},{t3} {r3},{t2} {rx},{ty} C{r2},{t1} {r1},{m1} {cx},{b} Z").format(
        cx=f(cx), b=f(cy + r * 0.95), l1=f(cx - r * 0.5), m1=f(cy + r * 0.55), l2=f(cx - r * 1.05),
        t1=f(cy + r * 0.05), lx=f(cx - r * 0.98), ty=f(cy - r * 0.35), l3=f(cx - r * 0.9), t2=f(cy - r * 0.95),
        t3=f(cy - r * 0.95), t4=f(cy - r * 0.42), r3=f(cx + r * 0.9), rx=f(cx + r * 0.98), r2=f(cx + r * 1.05),
        r1=f(cx + r * 0.5))
    return "".join([
        path(d, fill=s.lin([(0, PINK), (0.55, RED), (1, darker(RED, 0.2))]), stroke=INK, stroke_width=f(ow),
             stroke_linejoin="round"),
        path("M%s,%s Q%s,%s %s,%s" % (f(cx - r * 0.72), f(cy - r * 0.2), f(cx - r * 0.7), f(cy - r * 0.7),
                                      f(cx - r * 0.36), f(cy - r * 0.72)),
             fill="none", stroke=WHITE, stroke_width=f(r * 0.12), stroke_linecap="round", opacity="0.75"),
        leaf(s, cx + r * 0.02, cy - r * 0.46, cx + r * 0.62, cy - r * 1.12, r * 0.22, GREEN_L, ow=ow * 0.8),
        leaf(s, cx - r * 0.02, cy - r * 0.44, cx - r * 0.42, cy - r * 0.98, r * 0.18, GREEN, ow=ow * 0.8),
    ])


def time_icon(seconds):
    """The clock alone: the game writes the seconds it gives ("+3 sec") under it, in the player's
    language. One picture per level all the same, so each level keeps its own name."""
    del seconds
    s = Svg(400, 400)
    s.add(clock_shape(s, 200, 150, 118))
    return done(s)


def life_icon():
    s = Svg(400, 400)
    s.add(heart_shape(s, 180, 214, 150))
    s.add(s.text("+1", 300, 318, 140, fill=GREEN_L, stroke=INK, sw=28, shadow=(0, 8, INK)))
    return done(s)


def sold_out(base_fn, *args):
    base = base_fn(*args)
    alpha = base.getchannel("A")
    grey = ImageOps.grayscale(base.convert("RGB"))
    grey = ImageEnhance.Contrast(grey).enhance(0.6)
    grey = ImageEnhance.Brightness(grey).enhance(0.85)
    img = Image.merge("RGBA", (grey, grey, grey, alpha))
    s = Svg(400, 400)
    s.add(g([rrect(8, 152, 384, 96, 14, fill=s.lin([(0, lighter(RED, 0.2)), (1, darker(RED, 0.1))]), stroke=INK,
                   stroke_width=OW),
             ],
            transform="rotate(-18 200 200)"))
    img.alpha_composite(done(s))
    return img


def money_plate(pressed):
    s = Svg(700, 300)
    x0, y0, w, h, lip = 12, 12, 676, 246, 24
    dy = lip if pressed else 0
    s.add(rrect(x0, y0 + lip, w, h, 64, fill=darker(CREAM, 0.35), stroke=INK, stroke_width=OW))
    s.add(rrect(x0, y0 + dy, w, h, 64, fill=s.lin([(0, WHITE), (0.5, CREAM), (1, mix(CREAM, YELLOW, 0.35))]),
                stroke=INK, stroke_width=OW))
    s.add(rrect(x0 + 22, y0 + dy + 18, w - 44, h - 36, 46, fill="none", stroke=mix(CREAM, ORANGE, 0.35),
                stroke_width="5", opacity="0.8"))
    s.add(coin_shape(s, 96, y0 + dy + h / 2 - 4, 56, ow=7))
    if pressed:
        s.add(press_overlay(s, rrect(x0, y0 + dy, w, h, 64), 14, 0.45, 0.15))
        s.add(rrect(x0, y0 + dy, w, h, 64, fill="none", stroke=INK, stroke_width=OW))
    return done(s)


def gauge(kind, n):
    s = Svg(1000, 300)
    s.add(rrect(170, 84, 810, 146, 60, fill=INK, opacity="0.35", transform="translate(0 12)"))
    s.add(rrect(170, 84, 810, 146, 60, fill=s.lin([(0, INDIGO_L), (1, INDIGO)]), stroke=INK, stroke_width="10"))
    fill = (s.lin([(0, YELLOW_L), (0.5, YELLOW), (1, ORANGE)]) if kind == "time"
            else s.lin([(0, PINK), (0.5, RED), (1, darker(RED, 0.2))]))
    x, w, gap = 296, 212, 16
    for i in range(3):
        sx = x + i * (w + gap)
        if i < n:
            s.add(rrect(sx, 104, w, 106, 30, fill=fill, stroke=INK, stroke_width="7"))
            s.add(rrect(sx + 18, 116, w - 36, 24, 12, fill=WHITE, opacity="0.55"))
        else:
            s.add(rrect(sx, 104, w, 106, 30, fill="#171340", stroke=INK, stroke_width="7"))
            s.add(rrect(sx + 10, 180, w - 20, 18, 9, fill=LILAC, opacity="0.15"))
    s.add(circle(150, 156, 128, fill=s.rad([(0, WHITE), (1, CREAM if kind == "time" else "#ffe3ea")]),
                 stroke=INK, stroke_width="10"))
    if kind == "time":
        s.add(clock_shape(s, 150, 168, 82, ow=7))
    else:
        s.add(heart_shape(s, 150, 170, 84, ow=7))
    return done(s)


register("UpGradeScene/coin.png", coin)
register("UpGradeScene/timeThree.png", time_icon, 3)
register("UpGradeScene/timeFive.png", time_icon, 5)
register("UpGradeScene/timeSeven.png", time_icon, 7)
register("UpGradeScene/timeSoldOutSeven.png", sold_out, time_icon, 7)
register("UpGradeScene/life.png", life_icon)
register("UpGradeScene/lifeSoldOut.png", sold_out, life_icon)
register("UpGradeScene/moneyPlate.png", money_plate, False)
register("UpGradeScene/moneyPlate2.png", money_plate, True)
for _i in range(4):
    register("UpGradeScene/timeGauge%d.png" % _i, gauge, "time", _i)
    register("UpGradeScene/lifeGauge%d.png" % _i, gauge, "life", _i)


# ---------------------------------------------------------------------------
# event scene
# ---------------------------------------------------------------------------

def shock():
    s = Svg(200, 200)
    s.add(path(rounded_star(100, 100, 94, 66, 12, rot=-math.pi / 2 + 0.13, rnd=0.03), fill=RED, stroke=INK,
               stroke_width=OW, stroke_linejoin="round"))
    s.add(path(rounded_star(100, 100, 72, 54, 12, rot=-math.pi / 2 + 0.13, rnd=0.03), fill=YELLOW,
               stroke_linejoin="round"))
    s.add(g([rrect(87, 38, 26, 80, 13, fill=RED, stroke=INK, stroke_width="7"),
             circle(100, 144, 15, fill=RED, stroke=INK, stroke_width="7")], transform="rotate(8 100 100)"))
    return done(s)


register("EventScene/shock.png", shock)


# ---------------------------------------------------------------------------
# full-screen pictures
# ---------------------------------------------------------------------------

def star_field(s, rng, w, h, n, calm_from, calm_x=None):
    items = []
    for _ in range(n):
        x, y = rng.uniform(0, w), rng.uniform(0, h)
        if y > calm_from and rng.random() < 0.7:
            continue
        r = rng.choice([0.9, 1.1, 1.3, 1.6, 2.0, 2.6])
        if calm_x and calm_x[0] < x < calm_x[1] and 300 < y < 780:
            r = min(r, 1.3)
        col = rng.choice([WHITE, WHITE, "#fff2c4", "#cfe9ff", "#e6dcff"])
        op = rng.uniform(0.45, 1.0) * (0.6 if y > calm_from else 1.0)
        items.append(circle(x, y, r, fill=col, opacity=f(op)))
    return items


def twinkle(x, y, r, col=WHITE, op=1.0):
    return (circle(x, y, r * 0.9, fill=col, opacity=f(op * 0.18))
            + path(smooth_closed(star_points(x, y, r, r * 0.22, 4), 0.04), fill=col, opacity=f(op)))


def backdrop():
    w, h = 1920, 1080
    s = Svg(w, h)
    rng = random.Random(2024)
    s.add(rrect(0, 0, w, h, 0, fill=s.lin([(0, NAVY0), (0.45, NAVY1), (0.8, "#1a1650"), (1, "#241c5c")])))
    # nebulae and a faint band of stars, kept away from the middle
    neb = [ellipse(300, 260, 420, 170, fill="#5b3fa8", opacity="0.35", transform="rotate(-18 300 260)"),
           ellipse(520, 120, 260, 90, fill="#2aa6b8", opacity="0.18", transform="rotate(-10 520 120)"),
           ellipse(1650, 330, 380, 150, fill="#7a3f9a", opacity="0.28", transform="rotate(22 1650 330)"),
           ellipse(1500, 160, 260, 90, fill="#2aa6b8", opacity="0.16"),
           ellipse(960, 1000, 1200, 160, fill="#3a2f8a", opacity="0.35")]
    s.add(g(neb, filter=s.blur(70, 0.4)))
    s.add(g([ellipse(960, 330, 1100, 70, fill="#9aa0ff", opacity="0.06", transform="rotate(-14 960 330)")],
            filter=s.blur(30, 0.4)))
    s.add(g(star_field(s, rng, w, h, 520, 780, (560, 1360))))
    for (x, y, r) in [(140, 90, 13), (760, 70, 9), (1180, 140, 11), (1840, 520, 10), (60, 560, 9),
                      (1320, 60, 8), (420, 420, 8), (1560, 620, 7)]:
        s.add(twinkle(x, y, r, op=0.9))
    # The bodies keep clear of every score, balance and label the scenes draw over this picture:
    # a ringed planet low on the left, under the result panel's lines and beside the time offer's price
    px, py, pr = 190, 676, 64
    s.add(ellipse(px, py, pr * 1.9, pr * 0.5, fill="none", stroke="#a8865a", stroke_width="12", opacity="0.9",
                  transform="rotate(-16 %s %s)" % (f(px), f(py))))
    s.add(circle(px, py, pr, fill=s.rad([(0, "#f3c48a"), (0.6, "#d98f5a"), (1, "#8d4f3a")], cx=0.38, cy=0.32,
                                        r=0.8), stroke=INK, stroke_width="6"))
    pclip = s.clip(circle(px, py, pr))
    s.add(g([rrect(px - pr, py - 30, pr * 2, 14, 0, fill="#b66d46", opacity="0.6"),
             rrect(px - pr, py + 8, pr * 2, 22, 0, fill="#f7d3a1", opacity="0.45"),
             circle(px + 40, py + 40, pr, fill=INK, opacity="0.35")], clip_path=pclip,
            transform=""))
    s.add(path("M%s,%s A%s,%s 0 0 0 %s,%s" % (f(px - pr * 1.9), f(py), f(pr * 1.9), f(pr * 0.5),
                                              f(px + pr * 1.9), f(py)),
               fill="none", stroke="#e9c58c", stroke_width="12", opacity="0.9",
               transform="rotate(-16 %s %s)" % (f(px), f(py))))
    # a small moon on the right edge, below the shop's balance and right of the result panel's lines
    mx, my, mr = 1840, 380, 46
    s.add(circle(mx, my, mr, fill=s.rad([(0, "#e8f6ff"), (1, "#9fc6e0")], cx=0.35, cy=0.3, r=0.8), stroke=INK,
                 stroke_width="5"))
    mclip = s.clip(circle(mx, my, mr))
    s.add(g([circle(mx - 14, my + 10, 10, fill="#8fb4cf"), circle(mx + 16, my - 16, 7, fill="#8fb4cf"),
             circle(mx + 28, my + 26, mr, fill=INK, opacity="0.45")], clip_path=mclip))
    # a tiny teal planet far away, low on the right above the title's hills
    s.add(circle(1878, 750, 22, fill=s.rad([(0, TEAL_L), (1, TEAL_D)], cx=0.35, cy=0.3, r=0.8), stroke=INK,
                 stroke_width="4", opacity="0.8"))
    img = done(s).convert("RGB")
    return img


def tuft(x, y, k):
    """A small tuft of grass standing on (x, y)."""
    blades = [(-26, 0), (-20, -26), (-10, -6), (-2, -40), (6, -6), (18, -30), (22, -4), (28, 0)]
    d = smooth_closed([(x + bx * k, y + by * k) for bx, by in blades], 0.03)
    return path(d, fill=s_tuft_fill, stroke=INK, stroke_width="5", stroke_linejoin="round")


s_tuft_fill = GREEN_L


def periodic(x, terms, period):
    return sum(a * math.sin(2 * math.pi * k * x / period + ph) for a, k, ph in terms)


# Where the two ground tiles meet, the game shows the strip's first 40 columns once in one lap and
# 20 of them twice in the next (the tiles stand 1920 and 1940 apart in turn). The strip is calm
# there: the grass line and the soil run level over a band much wider than those 20 columns, so
# both joins look the same, and the hills, pebbles and tufts ease into it on either side.
JOIN_CENTRE = 20  # middle of the columns either join can show
JOIN_FLAT = 100   # half-width of the level band
JOIN_EASE = 260   # width of the easing on either side


def join_distance(x, period):
    """How far x lies from the join, counted round the strip."""
    return abs((x - JOIN_CENTRE + period / 2) % period - period / 2)


def join_calm(x, period):
    """1 on the level band at the join, easing to 0 away from it."""
    t = min(max((join_distance(x, period) - JOIN_FLAT) / JOIN_EASE, 0.0), 1.0)
    return 1.0 - t * t * (3 - 2 * t)


def ground_strip():
    """The scrolling ground: tiles seamlessly, period = picture width, level where the tiles meet."""
    w, h = 1920, 1080
    s = Svg(w, h)
    rng = random.Random(77)
    terms = [(9, 2, 0.3), (6, 5, 1.1), (3, 11, 2.0)]

    def wave(x, terms_):
        return (1 - join_calm(x, w)) * periodic(x, terms_, w)

    def top(x):
        return h - 158 + wave(x, terms)

    def near_join(x, reach):
        return join_distance(x, w) < JOIN_FLAT + reach

    # inside the level band one straight segment is drawn, so every column there renders alike
    xs = [x for x in range(-64, w + 65, 8)
          if x in (-64, w + 64) or join_distance(x, w) > JOIN_FLAT - 8]
    prof = [(x, top(x)) for x in xs]
    soil_d = "M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in prof) + " L%d,%d L%d,%d Z" % (w + 64, h + 20,
                                                                                            -64, h + 20)
    s.add(path(soil_d, fill=s.lin([(0, BROWN), (0.5, darker(BROWN, 0.12)), (1, BROWN_D)], 0, h - 180, 0, h,
                                  user=True)))
    # strata
    for k, (off, col, sw) in enumerate([(70, BROWN_D, 8), (110, BROWN_L, 5), (150, BROWN_D, 7)]):
        pts_ = [(x, top(x) + off + wave(x, [(6, 3 + k, k), (3, 7 + k, 2 * k)])) for x in xs]
        s.add(path("M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in pts_), fill="none", stroke=col,
                   stroke_width=str(sw), opacity="0.5", stroke_linecap="round"))
    # pebbles and tiny craters, drawn wrapped so the seam stays invisible, none on the level band
    items = []
    for _ in range(34):
        x = rng.uniform(0, w)
        y = top(x) + rng.uniform(60, 170)
        r = rng.uniform(7, 18)
        col = rng.choice(["#8b8596", "#a59fb0", BROWN_L, "#6f4a30"])
        if near_join(x, r * 1.3 + 10):
            continue
        for dx in (-w, 0, w):
            items.append(ellipse(x + dx, y, r * 1.3, r, fill=col, stroke=INK, stroke_width="5"))
            items.append(ellipse(x + dx - r * 0.3, y - r * 0.35, r * 0.45, r * 0.25, fill=WHITE, opacity="0.35"))
    for _ in range(40):
        x = rng.uniform(0, w)
        y = top(x) + rng.uniform(50, 175)
        r = rng.uniform(2.5, 4.5)
        if near_join(x, r + 10):
            continue
        for dx in (-w, 0, w):
            items.append(circle(x + dx, y, r, fill=BROWN_L, opacity="0.7"))
    s.add(g(items))
    # grass cap with a scalloped lower edge, the scallops flattening out towards the join
    gb = [(x, top(x) + 40 + 9 * (1 - join_calm(x, w)) * abs(math.sin(math.pi * x / 48)) + 6 * join_calm(x, w))
          for x in xs]
    grass_d = ("M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in prof) + " L"
               + " L".join("%s,%s" % (f(x), f(y)) for x, y in reversed(gb)) + " Z")
    s.add(path(grass_d, fill=s.lin([(0, GREEN_L), (1, GREEN)], 0, h - 200, 0, h - 120, user=True)))
    s.add(path("M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in gb), fill="none", stroke=GREEN_D,
               stroke_width="6", stroke_linejoin="round"))
    # tufts, rocks and little flowers on top, none on the level band
    deco = []
    for i in range(26):
        x = (i + rng.uniform(0.1, 0.9)) * w / 26
        kind = rng.random()
        if near_join(x, 40):
            continue
        for dx in (-w, 0, w):
            xx = x + dx
            y = top(x)
            if kind < 0.55:
                deco.append(tuft(xx, y + 4, 1.0))
            elif kind < 0.8:
                deco.append(path(blob(xx, y - 4, 16, 7, 0.15, random.Random(i), sx=1.3, sy=0.85), fill="#a39dad",
                                 stroke=INK, stroke_width="6"))
            else:
                deco.append(outlined_stroke("M%s,%s L%s,%s" % (f(xx), f(y + 4), f(xx + 2), f(y - 30)), 5, GREEN_D,
                                            ow=3))
                col = [PINK, YELLOW, WHITE][i % 3]
                for k in range(5):
                    a = k * 2 * math.pi / 5
                    deco.append(circle(xx + 2 + 8 * math.cos(a), y - 34 + 8 * math.sin(a), 6.5, fill=col,
                                       stroke=INK, stroke_width="3"))
                deco.append(circle(xx + 2, y - 34, 5, fill=ORANGE))
    s.add(path("M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in prof), fill="none", stroke=INK,
               stroke_width="8", stroke_linejoin="round"))
    s.add(path("M" + " L".join("%s,%s" % (f(x), f(y + 9)) for x, y in prof), fill="none", stroke=GREEN_XL,
               stroke_width="5", opacity="0.6"))
    s.add(g(deco))
    return done(s)


def title_hill():
    w, h = 1920, 1080
    s = Svg(w, h)
    rng = random.Random(88)

    def hill(x, top_y, edge_y, cx=960, half=1060):
        t = (x - cx) / half
        return top_y + (edge_y - top_y) * t * t

    xs = list(range(-40, w + 41, 10))
    # two low hills behind
    for (cx, ty, col) in [(300, 830, GREEN_D), (1650, 815, darker(GREEN, 0.25))]:
        pts_ = [(x, ty + (x - cx) ** 2 / 1800.0) for x in xs]
        d = "M" + " L".join("%s,%s" % (f(x), f(min(y, h + 20))) for x, y in pts_) + " L%d,%d L%d,%d Z" % (
            w + 40, h + 20, -40, h + 20)
        s.add(path(d, fill=col, stroke=INK, stroke_width="8", stroke_linejoin="round"))
    prof = [(x, hill(x, 770, 940)) for x in xs]
    line = "M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in prof)
    s.add(path(line + " L%d,%d L%d,%d Z" % (w + 40, h + 20, -40, h + 20),
               fill=s.lin([(0, BROWN), (1, BROWN_D)], 0, 760, 0, 1080, user=True)))
    for off, col, sw in [(90, BROWN_D, 9), (150, BROWN_L, 6), (215, BROWN_D, 8)]:
        s.add(path("M" + " L".join("%s,%s" % (f(x), f(y + off + 6 * math.sin(x / 90))) for x, y in prof),
                   fill="none", stroke=col, stroke_width=str(sw), opacity="0.5"))
    for _ in range(40):
        x = rng.uniform(0, w)
        y = hill(x, 770, 940) + rng.uniform(80, 300)
        if y > h - 10:
            continue
        r = rng.uniform(6, 16)
        s.add(ellipse(x, y, r * 1.3, r, fill=rng.choice(["#8b8596", BROWN_L, "#6f4a30"]), stroke=INK,
                      stroke_width="4"))
    gb = [(x, y + 46 + 10 * abs(math.sin(math.pi * x / 55))) for x, y in prof]
    s.add(path(line + " L" + " L".join("%s,%s" % (f(x), f(y)) for x, y in reversed(gb)) + " Z",
               fill=s.lin([(0, GREEN_L), (1, GREEN)], 0, 740, 0, 900, user=True)))
    s.add(path("M" + " L".join("%s,%s" % (f(x), f(y)) for x, y in gb), fill="none", stroke=GREEN_D,
               stroke_width="6"))
    deco = []
    for i, x in enumerate([170, 420, 560, 1370, 1560, 1780, 820, 1100]):
        y = hill(x, 770, 940)
        if i < 6:
            deco.append(outlined_stroke("M%s,%s C%s,%s %s,%s %s,%s" % (f(x), f(y + 6), f(x - 4), f(y - 14),
                                                                      f(x + 6), f(y - 26), f(x), f(y - 40)),
                                        7, GREEN_D, ow=4))
            deco.append(leaf(s, x, y - 14, x + 26, y - 26, 8, GREEN, ow=4, vein=False))
            col = [PINK, YELLOW, WHITE, "#ff7f9e", TEAL_L, YELLOW][i]
            for k in range(6):
                a = k * math.pi / 3
                deco.append(circle(x + 12 * math.cos(a), y - 44 + 12 * math.sin(a), 10, fill=col, stroke=INK,
                                   stroke_width="4"))
            deco.append(circle(x, y - 44, 8, fill=ORANGE, stroke=INK, stroke_width="3"))
        else:
            deco.append(tuft(x, y + 4, 1.2))
    s.add(path(line, fill="none", stroke=INK, stroke_width="8"))
    s.add(path("M" + " L".join("%s,%s" % (f(x), f(y + 9)) for x, y in prof), fill="none", stroke=GREEN_XL,
               stroke_width="5", opacity="0.6"))
    s.add(g(deco))
    return done(s)


register("GameScene/newBack.png", backdrop)
register("GameScene/SpeedP.png", ground_strip)
register("TitleScene/tutiOne.png", title_hill)

COST = {"GameScene/newBack.png": 10, "GameScene/SpeedP.png": 5, "TitleScene/tutiOne.png": 5,
        "hikariNew.png": 3}


# ---------------------------------------------------------------------------
# the application icon (not a game picture: build_icons.py writes it for the desktop)
# ---------------------------------------------------------------------------

ICON_SIZE = 256


def app_icon_svg():
    """The happy plant in its pot, in front of the green planet it has healed."""
    s = Svg(ICON_SIZE, ICON_SIZE)
    # the planet's glow (radius 350 of 720) just fits the square; the pot stands on the bottom edge
    s.embed(planet_svg(True, ns="planet"), "translate(9.2 -2.8) scale(0.33)")
    s.embed(plant_svg(0.0, "happy", ns="plant"), "translate(4 10.7) scale(0.31)")
    return s


# ---------------------------------------------------------------------------
# prompt badges: the pad button or key that does an action, shown beside it
# ---------------------------------------------------------------------------

BADGE = 84
BADGE_DARK = "#2b2b3a"


def badge_face(mark, colour):
    """A round face button: a letter, or a PlayStation shape, in the button's colour."""
    s = Svg(BADGE, BADGE)
    c = BADGE / 2
    s.add(circle(c, c, c - 4, fill=BADGE_DARK, stroke=INK, stroke_width=6))
    s.add(circle(c, c - 3, c - 12, fill="#3c3c52"))
    if mark == "cross":
        d = 15
        s.add(path("M%s %s L%s %s M%s %s L%s %s" % (c - d, c - d, c + d, c + d, c + d, c - d, c - d, c + d),
                   stroke=colour, stroke_width=7, stroke_linecap="round", fill="none"))
    elif mark == "circle":
        s.add(circle(c, c, 16, fill="none", stroke=colour, stroke_width=7))
    elif mark == "square":
        s.add(rrect(c - 15, c - 15, 30, 30, 3, fill="none", stroke=colour, stroke_width=7))
    elif mark == "triangle":
        s.add(poly([(c, c - 18), (c + 18, c + 13), (c - 18, c + 13)], fill="none", stroke=colour,
                   stroke_width=7, stroke_linejoin="round"))
    else:
        s.add(s.text(mark, c, c, 50, fill=colour, stroke=INK, sw=8))
    return done(s)


def badge_pill(label, w, size):
    """A shoulder, menu or view button: a rounded bar with its name."""
    s = Svg(w, BADGE)
    s.add(rrect(4, 10, w - 8, BADGE - 20, (BADGE - 20) / 2, fill=BADGE_DARK, stroke=INK, stroke_width=6))
    s.add(s.text(label, w / 2, BADGE / 2, size, fill=WHITE, stroke=INK, sw=6))
    return done(s)


def badge_dpad(dx, dy):
    """The D-pad, the arm or two arms pressed for a direction lit."""
    s = Svg(BADGE, BADGE)
    c, arm, half = BADGE / 2, 36, 13
    # two bars, outlined first and filled after, so the outline runs round the cross only
    for fill, stroke in ((INK, INK), (BADGE_DARK, "none")):
        sw = 12 if stroke != "none" else 0
        s.add(rrect(c - half, c - arm, 2 * half, 2 * arm, 5, fill=fill, stroke=stroke, stroke_width=sw))
        s.add(rrect(c - arm, c - half, 2 * arm, 2 * half, 5, fill=fill, stroke=stroke, stroke_width=sw))
    lit = YELLOW
    # screen y grows downwards in SVG
    if dy > 0:
        s.add(rrect(c - half + 4, c - arm + 4, 2 * half - 8, arm - half - 2, 4, fill=lit))
    if dy < 0:
        s.add(rrect(c - half + 4, c + half - 2, 2 * half - 8, arm - half - 2, 4, fill=lit))
    if dx < 0:
        s.add(rrect(c - arm + 4, c - half + 4, arm - half - 2, 2 * half - 8, 4, fill=lit))
    if dx > 0:
        s.add(rrect(c + half - 2, c - half + 4, arm - half - 2, 2 * half - 8, 4, fill=lit))
    return done(s)


def badge_key(w):
    """A key cap; the game writes the key's label over it."""
    s = Svg(w, BADGE)
    s.add(rrect(4, 4, w - 8, BADGE - 8, 12, fill="#9a96ad", stroke=INK, stroke_width=6))
    s.add(rrect(12, 8, w - 24, BADGE - 26, 8, fill=CREAM))
    return done(s)


# Positions, not labels: "a" is the bottom face button on every pad.
_FACES = {
    "xbox": {"a": ("A", GREEN), "b": ("B", RED), "x": ("X", BLUE), "y": ("Y", YELLOW)},
    "playstation": {"a": ("cross", "#7fb2ff"), "b": ("circle", "#ff6f7d"), "x": ("square", PINK),
                    "y": ("triangle", "#5fe0b0")},
    "nintendo": {"a": ("B", WHITE), "b": ("A", WHITE), "x": ("Y", WHITE), "y": ("X", WHITE)},
}
_PILLS = {
    "xbox": {"leftshoulder": "LB", "rightshoulder": "RB", "start": "MENU", "back": "VIEW"},
    "playstation": {"leftshoulder": "L1", "rightshoulder": "R1", "start": "OPTIONS", "back": "SHARE"},
    "nintendo": {"leftshoulder": "L", "rightshoulder": "R", "start": "+", "back": "-"},
}
for _family, _faces in _FACES.items():
    for _button, (_mark, _col) in _faces.items():
        register("GameScene/badge_%s_%s.png" % (_family, _button), badge_face, _mark, _col)
    for _button, _label in _PILLS[_family].items():
        _w = 96 if len(_label) <= 2 else 44 + 22 * len(_label)
        register("GameScene/badge_%s_%s.png" % (_family, _button), badge_pill, _label, _w, 36)
for _dx in (-1, 0, 1):
    for _dy in (-1, 0, 1):
        if _dx or _dy:
            register("GameScene/badge_dpad_%d_%d.png" % (_dx, _dy), badge_dpad, _dx, _dy)
register("GameScene/badge_key.png", badge_key, BADGE)
register("GameScene/badge_keyWide.png", badge_key, 220)
