"""Check the generated assets: every listed file exists, decodes, has the size
and kind the game expects, and nothing unlisted lies in assets/. Then how some
pictures meet on screen: the two ground tiles at both spacings the game puts
them at, and the backdrop's moon and planets against every text drawn over it.

Prints a table of the sounds (duration, peak, RMS). Exit status 1 on any fault.

usage: check.py [ASSETS_DIR]
"""
import math
import os
import subprocess
import sys
import tempfile
import wave

import numpy as np
from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))

SIZES = {
    "hikari5.png": (600, 600), "hikari5-2.png": (600, 600), "hikariNew.png": (900, 900),
    "GameScene/newBack.png": (1920, 1080), "GameScene/SpeedP.png": (1960, 1080),
    "GameScene/answer.png": (700, 120), "GameScene/black2.png": (1920, 1080),
    "GameScene/smoke.png": (300, 260), "GameScene/Barrier.png": (340, 340),
    "GameScene/whiteStar.png": (24, 24), "GameScene/Plate.png": (1000, 500),
    "GameScene/newHighScore.png": (800, 400), "GameScene/deadPlanet.png": (720, 720),
    "GameScene/greenPlanet.png": (720, 720), "GameScene/PlantNotOut.png": (800, 800),
    "TitleScene/tutiOne.png": (1920, 1080), "TitleScene/TitlePlant.png": (1600, 420),
    "TitleScene/PlantNot.png": (800, 800), "TitleScene/tap.png": (900, 120),
    "UpGradeScene/coin.png": (200, 200), "EventScene/shock.png": (200, 200),
}
for _e in ("water", "light", "soil", "Seedling", "air", "carbonDioxide"):
    SIZES["GameScene/%s1.png" % _e] = SIZES["GameScene/%s2-1.png" % _e] = (300, 300)
for _i in range(16):
    SIZES["GameScene/jiyama%d.png" % _i] = (160, 160)
for _i in range(4):
    SIZES["GameScene/supportPlate%d.png" % _i] = (500, 500)
    SIZES["UpGradeScene/timeGauge%d.png" % _i] = SIZES["UpGradeScene/lifeGauge%d.png" % _i] = (1000, 300)
for _i in (1, 2, 3):
    SIZES["GameScene/Plant%d.png" % _i] = (800, 800)
    SIZES["GameScene/PlantBom%d.png" % _i] = (300, 300)
for _n, _s in [("GameScene/EarthBackButton%d.png", (400, 400)), ("GameScene/playButton%d.png", (400, 200)),
               ("GameScene/titleButton%d.png", (300, 160)), ("UpGradeScene/stageButton%d.png", (500, 250))]:
    SIZES[_n % 1] = SIZES[_n % 2] = _s
SIZES["GameScene/GoShop1-1.png"] = SIZES["GameScene/GoShop1-2.png"] = (400, 200)
for _n in ("timeThree", "timeFive", "timeSeven", "timeSoldOutSeven", "life", "lifeSoldOut"):
    SIZES["UpGradeScene/%s.png" % _n] = (400, 400)
SIZES["UpGradeScene/moneyPlate.png"] = SIZES["UpGradeScene/moneyPlate2.png"] = (700, 300)
# the round's pause panel, the title's quit panel, and the prompt badges
for _n, _s in [("GameScene/pauseButton%d.png", (160, 140)), ("GameScene/resumeButton%d.png", (420, 160)),
               ("GameScene/volumeDownButton%d.png", (160, 160)), ("GameScene/volumeUpButton%d.png", (160, 160)),
               ("GameScene/muteButton%d.png", (300, 160)), ("GameScene/fullscreenButton%d.png", (460, 160)),
               ("TitleScene/quitButton%d.png", (360, 160)), ("GameScene/backButton%d.png", (300, 160))]:
    SIZES[_n % 1] = SIZES[_n % 2] = _s
SIZES["GameScene/pausePlate.png"] = (960, 820)
SIZES["TitleScene/quitPlate.png"] = (900, 440)
for _family, _buttons in [("xbox", (96, 96, 132, 132)), ("playstation", (96, 96, 198, 154)),
                          ("nintendo", (96, 96, 96, 96))]:
    for _b in "abxy":
        SIZES["GameScene/badge_%s_%s.png" % (_family, _b)] = (84, 84)
    for _b, _w in zip(("leftshoulder", "rightshoulder", "start", "back"), _buttons):
        SIZES["GameScene/badge_%s_%s.png" % (_family, _b)] = (_w, 84)
for _dx in (-1, 0, 1):
    for _dy in (-1, 0, 1):
        if _dx or _dy:
            SIZES["GameScene/badge_dpad_%d_%d.png" % (_dx, _dy)] = (84, 84)
SIZES["GameScene/badge_key.png"] = (84, 84)
SIZES["GameScene/badge_keyWide.png"] = (220, 84)

OPAQUE = {"GameScene/newBack.png", "GameScene/black2.png"}

# seconds: (shortest, longest) of the decoded sound
DURATIONS = {
    "Music/8bit-Town01.mp3": (30, 90), "Music/Ru Tororari 160626-223524.mp3": (30, 90),
    "Music/Fekerivila 160627-010926.mp3": (30, 90), "Music/Mu Judetudi 160626-234500.mp3": (30, 90),
    "Music/ME048-151031-gameover07-wav.mp3": (3, 6), "Music/decision24.mp3": (0.9, 1.6),
    "Music/botton.mp3": (0.05, 0.2), "Music/cancel5.mp3": (0.1, 0.35), "Music/cursor6.mp3": (0.2, 0.45),
    "Music/cursor9.mp3": (0.15, 0.4), "Music/decision13.mp3": (0.08, 0.25), "Music/shakin1.mp3": (0.4, 0.8),
    "Music/magic-cure1.mp3": (0.7, 1.3), "Music/Onmtp-Impact06-1.mp3": (0.25, 0.6),
}
LOOPS = [k for k, v in DURATIONS.items() if v == (30, 90)]
PEAK_LIMIT_DB = -1.0

errors = []


def fail(msg):
    errors.append(msg)
    print("FAIL: " + msg)


def read_manifest(assets):
    listed, exempt = [], []
    with open(os.path.join(assets, "manifest.txt"), encoding="utf-8") as fh:
        for line in fh:
            line = line.rstrip("\n")
            if line.startswith("# not loaded:"):
                exempt = line.split(":", 1)[1].split()
            elif line.strip() and not line.startswith("#"):
                listed.append(line)
    return listed, exempt


def db(x):
    return 20 * math.log10(max(x, 1e-12))


def decode_mp3(path):
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "d.wav")
        subprocess.run(["lame", "--quiet", "--decode", path, out], check=True)
        with wave.open(out) as w:
            rate, ch, n = w.getframerate(), w.getnchannels(), w.getnframes()
            data = np.frombuffer(w.readframes(n), dtype="<i2").astype(np.float64) / 32768.0
    return rate, data.reshape(-1, ch)


def check_picture(assets, rel):
    try:
        img = Image.open(os.path.join(assets, rel))
        img.load()
    except Exception as exc:  # noqa: BLE001
        fail("%s does not decode: %s" % (rel, exc))
        return
    want = SIZES.get(rel)
    if want is None:
        fail("%s: no expected size known" % rel)
    elif img.size != want:
        fail("%s is %dx%d, expected %dx%d" % (rel, img.size[0], img.size[1], want[0], want[1]))
    a = np.asarray(img.convert("RGBA"))[:, :, 3]
    if rel in OPAQUE:
        if a.min() != 255:
            fail("%s should be opaque" % rel)
    else:
        if img.mode != "RGBA":
            fail("%s should have an alpha channel (mode %s)" % (rel, img.mode))
        elif a.min() == 255:
            fail("%s has no transparent pixel" % rel)
        elif a.max() == 0:
            fail("%s is empty" % rel)


# The ground as SpeedGround (game/round/SpeedGround.cpp) lays it out: two tiles of SpeedP.png, A added
# before B and so drawn under it, centred at x 960 and 2880, both moving 20 to the left a frame; a tile
# whose centre passes below -960 is put back at 2880, so the tiles stand 1920 and 1940 apart in turn.
GROUND_START = (960.0, 2880.0)
GROUND_STEP = 20.0
GROUND_WRAP_BELOW, GROUND_REENTRY = -960.0, 2880.0
JOIN_WINDOW = 48  # columns either side of a join that must look the same at every spacing
VISIBLE_STEP = 16  # a difference of more than this (of 255, premultiplied) between neighbours shows


def ground_layouts():
    """Every way the game places the two tiles side by side: (spacing, right tile drawn on top)."""
    a, b = GROUND_START
    seen = set()
    for _ in range(8 * 100):  # several laps of each tile
        a, b = a - GROUND_STEP, b - GROUND_STEP
        if a < GROUND_WRAP_BELOW:
            a = GROUND_REENTRY
        if b < GROUND_WRAP_BELOW:
            b = GROUND_REENTRY
        seen.add((int(abs(b - a)), b > a))
    return sorted(seen)


def premultiplied(rgba):
    rgba = rgba.astype(float)
    return np.concatenate([rgba[:, :, :3] * rgba[:, :, 3:] / 255.0, rgba[:, :, 3:]], axis=2)


def compose_ground(tile, spacing, right_on_top):
    """The two tiles as the game draws them; returns the picture and the column where they meet."""
    h, w = tile.shape[:2]
    canvas = np.zeros((h, spacing + w, 4))
    for x0 in ((spacing, 0) if not right_on_top else (0, spacing)):
        under = canvas[:, x0:x0 + w]
        canvas[:, x0:x0 + w] = tile + under * (1 - tile[:, :, 3:] / 255.0)
    return canvas, spacing if right_on_top else w


def visible_rows(picture, col):
    """Rows in which column col differs visibly from the column before it."""
    return int((np.abs(picture[:, col] - picture[:, col - 1]).max(axis=1) > VISIBLE_STEP).sum())


def check_ground_joins(ground):
    """Lay the tiles out at every spacing the game uses and look across each join: the columns either
    side may differ in no more rows than neighbouring columns do elsewhere around the join, and the
    strips around the joins must be alike at every spacing (a step there shows every other lap)."""
    tile = premultiplied(ground)
    rows = np.where(tile[:, :, 3].max(axis=1) > 0)[0]
    tile = tile[rows[0]:rows[-1] + 1]
    strips = []
    for spacing, right_on_top in ground_layouts():
        if spacing > tile.shape[1]:
            fail("SpeedP.png: the tiles leave a %d-column gap at spacing %d" % (spacing - tile.shape[1], spacing))
            continue
        picture, join = compose_ground(tile, spacing, right_on_top)
        seam = visible_rows(picture, join)
        around = max(visible_rows(picture, c) for c in range(join - JOIN_WINDOW, join + JOIN_WINDOW) if c != join)
        strip = picture[:, join - JOIN_WINDOW:join + JOIN_WINDOW]
        strips.append(strip)
        print("ground join at spacing %d (%s tile on top): %d rows change across it, at most %d between "
              "neighbouring columns around it" % (spacing, "right" if right_on_top else "left", seam, around))
        if seam > around:
            fail("SpeedP.png: a seam shows where the tiles meet at spacing %d (%d rows step, at most %d around it)"
                 % (spacing, seam, around))
    if len(strips) > 1:
        worst = max(np.abs(s - strips[0]).max() for s in strips[1:])
        print("ground joins: the %d columns around them differ by at most %.1f of 255 between spacings"
              % (2 * JOIN_WINDOW, worst))
        if worst > 2:
            fail("SpeedP.png: the joins look different at the two spacings (up to %.1f of 255)" % worst)


# Every text drawn over the backdrop (GameScene/newBack.png) in any scene, in design units: labels as
# (what, centre x, centre y, font size, longest text), each label anchored at its middle and as large
# as the font makes the text (width by advance, height ascent + descent), so the box is the label's own.
LABELS = [
    ("round score", 192, 918, 128, "9999"),  # ScoreLabel at (W x 0.1, H x 0.85), a long round's score
    ("shop balance", 1632, 972, 128, "10000"),  # UpgradeScore at (W x 0.85, H x 0.9), "%04d", capped on entry
    ("time price", 441.6, 496.8, 96, "MAX"),  # PriceTime on its plate: 5, 25, 50 or MAX
    ("life price", 1056, 496.8, 96, "MAX"),  # PriceLife on its plate: 100, 200, 400 or MAX
    ("result score", 960, 864, 200, "Score  9999"),  # ResultScoreLabel at (W x 0.5, H x 0.8)
    ("result best", 960, 648, 200, "HighScore  9999"),  # ResultHighScoreLabel at (W x 0.5, H x 0.6)
]
# Pictures with words on them (the logo's own, or drawn over their plates by the game), as (what,
# centre x, centre y, width, height) on screen: each picture's size times its scale (or its menu's),
# at the centre the playtest harness's tree reports.
LETTERED = [
    ("title logo", 960, 864, 1600 * 0.7, 420 * 0.7),
    ("tap prompt", 960, 162, 900, 120),
    ("time offer", 418.6, 812.2, 400 * 0.6, 400 * 0.6),
    ("life offer", 1040.6, 812.2, 400 * 0.6, 400 * 0.6),
    ("shop's title button", 96, 108, 300 * 0.5, 160 * 0.5),
    ("start button", 1584, 135, 500 * 0.65, 250 * 0.65),
    ("retry button", 672, 324, 400 * 0.8, 200 * 0.8),
    ("shop button", 1248, 324, 400 * 0.8, 200 * 0.8),
]
BODY_LIGHT = 70  # luminance above the sky's brightest nebula
BODY_BLOCK = 8   # px; a body fills whole blocks, a star or twinkle never does


def text_boxes(assets):
    """(what, left, bottom, right, top) of every text above, in design units."""
    from PIL import ImageFont
    boxes = []
    for what, cx, cy, size, text in LABELS:
        font = ImageFont.truetype(os.path.join(assets, "fonts/PixelMplus10-Regular.ttf"), size)
        w, h = font.getlength(text), sum(font.getmetrics())
        boxes.append((what, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2))
    for what, cx, cy, w, h in LETTERED:
        boxes.append((what, cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2))
    return boxes


def backdrop_bodies(picture):
    """(left, bottom, right, top) in design units of each moon or planet on the backdrop: groups of
    bright 8-px blocks holding at least four wholly bright ones, with a block's margin for the outline."""
    rgb = picture[:, :, :3].astype(float)
    light = rgb @ np.array([0.299, 0.587, 0.114]) > BODY_LIGHT
    b = BODY_BLOCK
    rows, cols = light.shape[0] // b, light.shape[1] // b
    share = light[:rows * b, :cols * b].reshape(rows, b, cols, b).mean(axis=(1, 3))
    lit, full = share > 0, share >= 0.75
    seen = np.zeros_like(lit)
    bodies = []
    for r0, c0 in zip(*np.nonzero(lit)):
        if seen[r0, c0]:
            continue
        seen[r0, c0] = True
        todo, group = [(r0, c0)], []
        while todo:
            r, c = todo.pop()
            group.append((r, c))
            for rr in range(max(r - 1, 0), min(r + 2, rows)):
                for cc in range(max(c - 1, 0), min(c + 2, cols)):
                    if lit[rr, cc] and not seen[rr, cc]:
                        seen[rr, cc] = True
                        todo.append((rr, cc))
        if sum(full[r, c] for r, c in group) < 4:
            continue
        rs, cs = [r for r, _ in group], [c for _, c in group]
        h = picture.shape[0]
        bodies.append(((min(cs) - 1) * b, h - (max(rs) + 2) * b, (max(cs) + 2) * b, h - (min(rs) - 1) * b))
    return bodies


def check_backdrop_bodies(assets):
    """No score, balance or label of any scene may run across a moon or planet of the backdrop."""
    back = np.asarray(Image.open(os.path.join(assets, "GameScene/newBack.png")).convert("RGB"))
    boxes = text_boxes(assets)
    bodies = backdrop_bodies(back)
    for x0, y0, x1, y1 in bodies:
        gaps = []
        for what, l, bo, r, t in boxes:
            gap = max(l - x1, x0 - r, bo - y1, y0 - t)
            gaps.append((gap, what))
            if gap < 0:
                fail("newBack.png: the %s crosses the body at x %d..%d, y %d..%d" % (what, x0, x1, y0, y1))
        gap, what = min(gaps)
        print("backdrop body at x %4d..%4d, y %4d..%4d: %3d units from the nearest text (%s)"
              % (x0, x1, y0, y1, gap, what))
    print("backdrop: %d bodies against %d text boxes" % (len(bodies), len(boxes)))


def check_layouts(assets):
    ground = np.asarray(Image.open(os.path.join(assets, "GameScene/SpeedP.png")).convert("RGBA")).astype(int)
    if ground[: 1080 - 230, :, 3].max() != 0:
        fail("SpeedP.png: something drawn above the ground band")
    # the strip repeats with a period of 1920 columns; the last 40 repeat the first 40
    if not np.array_equal(ground[:, 1920:], ground[:, :40]):
        fail("SpeedP.png: its last 40 columns do not repeat its first 40")
    check_ground_joins(ground)
    check_backdrop_bodies(assets)
    hill = np.asarray(Image.open(os.path.join(assets, "TitleScene/tutiOne.png")).convert("RGBA"))
    if hill[:720, :, 3].max() > 0:
        fail("tutiOne.png: something drawn in the top two thirds")
    for rel in ("GameScene/deadPlanet.png", "GameScene/greenPlanet.png"):
        a = np.asarray(Image.open(os.path.join(assets, rel)).convert("RGBA"))[:, :, 3]
        rows = np.where((a > 128).any(axis=1))[0]
        if len(rows) and not 560 <= rows[-1] - rows[0] <= 720:
            fail("%s: planet body %d px tall" % (rel, rows[-1] - rows[0]))
    for e in ("water", "light", "soil", "Seedling", "air", "carbonDioxide"):
        up = np.asarray(Image.open(os.path.join(assets, "GameScene/%s1.png" % e)).convert("L"), dtype=float)
        down = np.asarray(Image.open(os.path.join(assets, "GameScene/%s2-1.png" % e)).convert("L"), dtype=float)
        if down.mean() >= up.mean():
            fail("%s2-1.png is not darker than %s1.png" % (e, e))


def check_sound(assets, rel):
    try:
        rate, y = decode_mp3(os.path.join(assets, rel))
    except Exception as exc:  # noqa: BLE001
        fail("%s does not decode: %s" % (rel, exc))
        return None
    dur = len(y) / rate
    peak = db(float(np.abs(y).max()))
    rms = db(math.sqrt(float(np.mean(y ** 2))))
    lo, hi = DURATIONS[rel]
    if not lo <= dur <= hi:
        fail("%s lasts %.2fs, expected %.2f..%.2fs" % (rel, dur, lo, hi))
    if peak >= PEAK_LIMIT_DB:
        fail("%s peaks at %.2f dBFS" % (rel, peak))
    if rate != 44100:
        fail("%s: sample rate %d" % (rel, rate))
    edge = int(0.002 * rate)
    ends = max(np.abs(y[:edge]).max(), np.abs(y[-edge:]).max()) if rel in LOOPS else 0.0
    return dur, peak, rms, db(ends) if ends else float("-inf")


def main():
    assets = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "assets")
    listed, exempt = read_manifest(assets)
    present = set()
    for dirpath, _, names in os.walk(assets):
        for n in names:
            present.add(os.path.relpath(os.path.join(dirpath, n), assets).replace(os.sep, "/"))
    for rel in sorted(set(listed) - present):
        fail("listed but missing: " + rel)
    for rel in sorted(present - set(listed) - set(exempt)):
        fail("not listed in manifest.txt: " + rel)
    for rel in exempt:
        if rel not in present:
            fail("missing: " + rel)
    for rel in sorted(set(SIZES) | set(DURATIONS)):
        if rel not in listed:
            fail("the game loads %s but manifest.txt does not list it" % rel)
    rows = []
    for rel in listed:
        if rel not in present:
            continue
        if rel.endswith(".png"):
            check_picture(assets, rel)
        elif rel.endswith(".mp3"):
            r = check_sound(assets, rel)
            if r:
                rows.append((rel, r))
        elif rel.endswith(".ttf"):
            from PIL import ImageFont
            try:
                ImageFont.truetype(os.path.join(assets, rel), 32).getbbox("SCORE 0123")
            except Exception as exc:  # noqa: BLE001
                fail("%s does not load: %s" % (rel, exc))
    if not errors or all("SpeedP" not in e for e in errors):
        check_layouts(assets)
    print("\n%-42s %8s %9s %9s %10s" % ("sound", "seconds", "peak dB", "RMS dB", "ends dB"))
    for rel, (dur, peak, rms, ends) in rows:
        print("%-42s %8.2f %9.2f %9.2f %10s" % (rel[len("Music/"):], dur, peak, rms,
                                               "-" if ends == float("-inf") else "%.1f" % ends))
    loops = [r for rel, r in rows if rel in LOOPS]
    if loops:
        spread = max(r[2] for r in loops) - min(r[2] for r in loops)
        if spread > 1.5:
            fail("loudness of the music tracks differs by %.1f dB" % spread)
    n_pic = sum(1 for r in listed if r.endswith(".png"))
    print("\n%d pictures, %d sounds, %d other files checked: %s" % (
        n_pic, len(rows), len(listed) - n_pic - len(rows), "%d problem(s)" % len(errors) if errors else "all good"))
    return 1 if errors else 0


if __name__ == "__main__":
    sys.exit(main())
