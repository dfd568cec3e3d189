"""Small helpers for writing SVG pictures from Python and rasterising them.

Every picture of the game is described as SVG text built by the functions in
art.py, rasterised by rsvg-convert and post-processed with PIL where needed.
"""
import base64
import io
import math
import subprocess

from PIL import Image, ImageFont

FONT_FAMILY = "DotGothic16"
FONT_FILE = "/usr/share/fonts/truetype/dotgothic16/DotGothic16-Regular.ttf"

# --- the one palette of the game -------------------------------------------
INK = "#1c1436"        # outlines
NAVY0 = "#050818"
NAVY1 = "#0d1236"
INDIGO = "#2a2370"
INDIGO_L = "#4a3fa6"
LILAC = "#b9a6f2"
GREEN_D = "#23803f"
GREEN = "#45bf5a"
GREEN_L = "#8fe06a"
GREEN_XL = "#d2f7a4"
YELLOW = "#ffd23f"
YELLOW_L = "#fff0a0"
ORANGE = "#ff9b2e"
TEAL_D = "#1e8fa3"
TEAL = "#3fcfc4"
TEAL_L = "#b0f2ea"
BLUE = "#3d8de0"
BROWN_D = "#5a3620"
BROWN = "#8c5a35"
BROWN_L = "#bd8753"
TERRA = "#e07a4a"
RED = "#ee4a5c"
PINK = "#ff9db4"
CREAM = "#fff5da"
WHITE = "#ffffff"
GREY = "#9c9aaa"


def hex2rgb(c):
    c = c.lstrip("#")
    return tuple(int(c[i:i + 2], 16) for i in (0, 2, 4))


def rgb2hex(rgb):
    return "#%02x%02x%02x" % tuple(max(0, min(255, int(round(v)))) for v in rgb)


def mix(a, b, t):
    """Blend colour a towards colour b by t (0..1)."""
    ra, rb = hex2rgb(a), hex2rgb(b)
    return rgb2hex([ra[i] + (rb[i] - ra[i]) * t for i in range(3)])


def darker(c, t=0.25):
    return mix(c, "#000000", t)


def lighter(c, t=0.25):
    return mix(c, "#ffffff", t)


def f(v):
    """Compact number for SVG output."""
    s = "%.2f" % v
    s = s.rstrip("0").rstrip(".")
    return "0" if s in ("-0", "") else s


def pts(points):
    return " ".join("%s,%s" % (f(x), f(y)) for x, y in points)


class Svg:
    """Accumulates defs and body of one SVG document."""

    def __init__(self, w, h, ns=""):
        self.w, self.h = w, h
        self.defs = []
        self.body = []
        self.n = 0
        # drawings embedded in one document need ids of their own
        self.ns = ns

    def uid(self, prefix="d"):
        self.n += 1
        return "%s%s%d" % (self.ns, prefix, self.n)

    def add(self, *items):
        self.body.extend(items)
        return self

    def embed(self, other, transform):
        """Draw another document's picture inside this one (give each a different ns)."""
        self.defs.extend(other.defs)
        self.body.append(g(other.body, transform=transform))
        return self

    def _stops(self, stops):
        out = []
        for st in stops:
            off, col = st[0], st[1]
            op = st[2] if len(st) > 2 else 1
            out.append('<stop offset="%s" stop-color="%s" stop-opacity="%s"/>' % (f(off), col, f(op)))
        return "".join(out)

    def lin(self, stops, x1=0, y1=0, x2=0, y2=1, user=False):
        i = self.uid("lg")
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        self.defs.append('<linearGradient id="%s" x1="%s" y1="%s" x2="%s" y2="%s"%s>%s</linearGradient>'
                         % (i, f(x1), f(y1), f(x2), f(y2), units, self._stops(stops)))
        return "url(#%s)" % i

    def rad(self, stops, cx=0.5, cy=0.5, r=0.5, fx=None, fy=None, user=False):
        i = self.uid("rg")
        units = ' gradientUnits="userSpaceOnUse"' if user else ""
        fxy = ""
        if fx is not None:
            fxy = ' fx="%s" fy="%s"' % (f(fx), f(fy))
        self.defs.append('<radialGradient id="%s" cx="%s" cy="%s" r="%s"%s%s>%s</radialGradient>'
                         % (i, f(cx), f(cy), f(r), fxy, units, self._stops(stops)))
        return "url(#%s)" % i

    def blur(self, sd, margin=0.5):
        i = self.uid("bl")
        m = f(margin * 100) + "%"
        self.defs.append('<filter id="%s" x="-%s" y="-%s" width="%s" height="%s">'
                         '<feGaussianBlur stdDeviation="%s"/></filter>'
                         % (i, m, m, f(100 + 2 * margin * 100) + "%", f(100 + 2 * margin * 100) + "%", f(sd)))
        return "url(#%s)" % i

    def clip(self, inner):
        i = self.uid("cp")
        self.defs.append('<clipPath id="%s">%s</clipPath>' % (i, inner))
        return "url(#%s)" % i

    def mask(self, inner):
        i = self.uid("mk")
        self.defs.append('<mask id="%s" maskUnits="userSpaceOnUse" x="0" y="0" width="%d" height="%d">%s</mask>'
                         % (i, self.w, self.h, inner))
        return "url(#%s)" % i

    def pattern(self, w, h, inner, transform=""):
        i = self.uid("pt")
        tr = ' patternTransform="%s"' % transform if transform else ""
        self.defs.append('<pattern id="%s" patternUnits="userSpaceOnUse" width="%s" height="%s"%s>%s</pattern>'
                         % (i, f(w), f(h), tr, inner))
        return "url(#%s)" % i

    def text(self, s, cx, cy, size, fill=WHITE, stroke=INK, sw=None, bold=None,
             anchor="middle", extra="", shadow=None):
        """Text whose capitals are vertically centred on cy.

        The outline is drawn under the fill (paint-order), a second pass in the
        fill colour thickens the thin pixel strokes of the font a little.
        """
        base = cy - cap_centre(s, size)
        if sw is None:
            sw = size * 0.2
        if bold is None:
            bold = size * 0.05
        common = 'font-family="%s" font-size="%s" text-anchor="%s" stroke-linejoin="round"' % (
            FONT_FAMILY, f(size), anchor)
        esc = s.replace("&", "&amp;").replace("<", "&lt;")
        out = []
        if shadow:
            dx, dy, col = shadow
            out.append('<text x="%s" y="%s" %s fill="%s" stroke="%s" stroke-width="%s" %s>%s</text>'
                       % (f(cx + dx), f(base + dy), common, col, col, f(sw), extra, esc))
        if stroke:
            out.append('<text x="%s" y="%s" %s fill="%s" stroke="%s" stroke-width="%s" %s>%s</text>'
                       % (f(cx), f(base), common, stroke, stroke, f(sw), extra, esc))
        out.append('<text x="%s" y="%s" %s fill="%s" stroke="%s" stroke-width="%s" %s>%s</text>'
                   % (f(cx), f(base), common, fill, fill if bold else "none", f(bold), extra, esc))
        return "".join(out)

    def render(self):
        return ('<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
                'width="%d" height="%d" viewBox="0 0 %d %d"><defs>%s</defs>%s</svg>'
                % (self.w, self.h, self.w, self.h, "".join(self.defs), "".join(self.body)))


_REF = 400
_ref_font = None


def _font():
    """The font at a large reference size; metrics are scaled from it."""
    global _ref_font
    if _ref_font is None:
        _ref_font = ImageFont.truetype(FONT_FILE, _REF)
    return _ref_font


def cap_centre(s, size):
    """Offset from the baseline to the middle of the ink of s (negative: above)."""
    x0, y0, x1, y1 = _font().getbbox(s, anchor="ls")
    return (y0 + y1) / 2 * size / _REF


def text_width(s, size):
    return _font().getlength(s) * size / _REF


def rasterise(svg_text, w, h):
    """SVG text -> RGBA PIL image of exactly w x h pixels."""
    res = subprocess.run(["rsvg-convert", "-w", str(w), "-h", str(h), "-f", "png"],
                         input=svg_text.encode("utf-8"), capture_output=True, check=False)
    if res.returncode != 0:
        raise RuntimeError("rsvg-convert failed: %s" % res.stderr.decode(errors="replace"))
    img = Image.open(io.BytesIO(res.stdout))
    img.load()
    img = img.convert("RGBA")
    if img.size != (w, h):
        raise RuntimeError("rsvg-convert gave %s, wanted %dx%d" % (img.size, w, h))
    return img


def data_uri(img):
    """PIL image -> data URI usable in <image href=...>."""
    buf = io.BytesIO()
    img.save(buf, format="PNG")
    return "data:image/png;base64," + base64.b64encode(buf.getvalue()).decode("ascii")


def smooth_closed(points, tension=1 / 6):
    """Closed Catmull-Rom curve through points, as an SVG path."""
    n = len(points)
    d = ["M%s,%s" % (f(points[0][0]), f(points[0][1]))]
    for i in range(n):
        p0, p1 = points[i - 1], points[i]
        p2, p3 = points[(i + 1) % n], points[(i + 2) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) * tension, p1[1] + (p2[1] - p0[1]) * tension)
        c2 = (p2[0] - (p3[0] - p1[0]) * tension, p2[1] - (p3[1] - p1[1]) * tension)
        d.append("C%s,%s %s,%s %s,%s" % (f(c1[0]), f(c1[1]), f(c2[0]), f(c2[1]), f(p2[0]), f(p2[1])))
    d.append("Z")
    return "".join(d)


def smooth_open(points, tension=1 / 6):
    n = len(points)
    d = ["M%s,%s" % (f(points[0][0]), f(points[0][1]))]
    for i in range(n - 1):
        p0 = points[max(i - 1, 0)]
        p1, p2 = points[i], points[i + 1]
        p3 = points[min(i + 2, n - 1)]
        c1 = (p1[0] + (p2[0] - p0[0]) * tension, p1[1] + (p2[1] - p0[1]) * tension)
        c2 = (p2[0] - (p3[0] - p1[0]) * tension, p2[1] - (p3[1] - p1[1]) * tension)
        d.append("C%s,%s %s,%s %s,%s" % (f(c1[0]), f(c1[1]), f(c2[0]), f(c2[1]), f(p2[0]), f(p2[1])))
    return "".join(d)


def blob(cx, cy, r, n, jitter, rng, rot=0.0, sx=1.0, sy=1.0):
    points = []
    for i in range(n):
        a = rot + 2 * math.pi * i / n
        rr = r * (1 + rng.uniform(-jitter, jitter))
        points.append((cx + rr * math.cos(a) * sx, cy + rr * math.sin(a) * sy))
    return smooth_closed(points)


def star_points(cx, cy, r_out, r_in, n, rot=-math.pi / 2):
    out = []
    for i in range(2 * n):
        r = r_out if i % 2 == 0 else r_in
        a = rot + math.pi * i / n
        out.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return out


def rounded_star(cx, cy, r_out, r_in, n, rot=-math.pi / 2, rnd=0.15):
    """Star polygon path with slightly rounded points."""
    p = star_points(cx, cy, r_out, r_in, n, rot)
    return smooth_closed(p, tension=rnd)


def rrect(x, y, w, h, r, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
    return '<rect x="%s" y="%s" width="%s" height="%s" rx="%s" ry="%s" %s/>' % (
        f(x), f(y), f(w), f(h), f(r), f(r), a)


def circle(cx, cy, r, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
    return '<circle cx="%s" cy="%s" r="%s" %s/>' % (f(cx), f(cy), f(r), a)


def ellipse(cx, cy, rx, ry, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
    return '<ellipse cx="%s" cy="%s" rx="%s" ry="%s" %s/>' % (f(cx), f(cy), f(rx), f(ry), a)


def path(d, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
    return '<path d="%s" %s/>' % (d, a)


def poly(points, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
    return '<polygon points="%s" %s/>' % (pts(points), a)


def g(inner, **attrs):
    a = " ".join('%s="%s"' % (k.replace("_", "-"), v) for k, v in attrs.items())
    if isinstance(inner, (list, tuple)):
        inner = "".join(inner)
    return "<g %s>%s</g>" % (a, inner)


def outlined_stroke(d, width, colour, outline=INK, ow=8, cap="round"):
    """A thick line with a dark outline: the same path stroked twice."""
    return (path(d, fill="none", stroke=outline, stroke_width=f(width + 2 * ow),
                 stroke_linecap=cap, stroke_linejoin="round")
            + path(d, fill="none", stroke=colour, stroke_width=f(width),
                   stroke_linecap=cap, stroke_linejoin="round"))
