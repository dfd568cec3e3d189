"""Check the generated assets: every listed file exists, decodes, has the size
and kind the game expects, and nothing unlisted lies in assets/.

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
    "TitleScene/PlantNot.png": (800, 800), "TitleScene/tap.png": (600, 120),
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


def check_layouts(assets):
    ground = np.asarray(Image.open(os.path.join(assets, "GameScene/SpeedP.png")).convert("RGBA")).astype(int)
    if ground[: 1080 - 230, :, 3].max() != 0:
        fail("SpeedP.png: something drawn above the ground band")
    # the strip repeats with a period of 1920 columns; the last 40 repeat the first 40
    if not np.array_equal(ground[:, 1920:], ground[:, :40]):
        fail("SpeedP.png: its last 40 columns do not repeat its first 40")
    # across the seam the step between columns must look like any other step
    seam = np.abs(ground[:, 0] - ground[:, 1919]).mean()
    inner = np.abs(ground[:, 1:] - ground[:, :-1]).mean(axis=(0, 2)).max()
    if seam > inner:
        fail("SpeedP.png does not tile (seam step %.2f > largest inner step %.2f)" % (seam, inner))
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
