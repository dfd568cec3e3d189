#!/usr/bin/python3
"""Put every picture of assets/ on one sheet with its file name under it.

usage: contact_sheet.py [OUTPUT.png] [ASSETS_DIR]   (default build/contact_sheet.png)
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
FONT = "/usr/share/fonts/truetype/dotgothic16/DotGothic16-Regular.ttf"


def checker(w, h, n=12):
    img = Image.new("RGB", (w, h), (34, 30, 70))
    d = ImageDraw.Draw(img)
    for y in range(0, h, n):
        for x in range(0, w, n):
            if (x // n + y // n) % 2:
                d.rectangle([x, y, x + n - 1, y + n - 1], fill=(44, 40, 86))
    return img


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "contact_sheet.png")
    assets = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "assets")
    files = []
    for dirpath, _, names in os.walk(assets):
        for n in names:
            if n.lower().endswith(".png"):
                files.append(os.path.relpath(os.path.join(dirpath, n), assets))
    files.sort(key=lambda p: (os.path.dirname(p), p.lower()))
    cell, label_h, cols = 240, 34, 8
    rows = (len(files) + cols - 1) // cols
    sheet = Image.new("RGB", (cols * cell, rows * (cell + label_h)), (16, 14, 32))
    font = ImageFont.truetype(FONT, 14)
    d = ImageDraw.Draw(sheet)
    for i, rel in enumerate(files):
        img = Image.open(os.path.join(assets, rel)).convert("RGBA")
        x0, y0 = (i % cols) * cell, (i // cols) * (cell + label_h)
        bg = checker(cell - 8, cell - 8)
        th = img.copy()
        th.thumbnail((cell - 8, cell - 8), Image.LANCZOS)
        bg.paste(th, ((cell - 8 - th.width) // 2, (cell - 8 - th.height) // 2), th)
        sheet.paste(bg, (x0 + 4, y0 + 4))
        label = "%s %dx%d" % (rel, img.width, img.height)
        while d.textlength(label, font=font) > cell - 4 and len(label) > 4:
            label = label[:-5] + "..."
        d.text((x0 + cell / 2, y0 + cell + 4), label, fill=(230, 230, 240), font=font, anchor="mt")
    os.makedirs(os.path.dirname(os.path.abspath(out)), exist_ok=True)
    sheet.save(out)
    print("contact sheet: %s (%d pictures)" % (out, len(files)))


if __name__ == "__main__":
    main()
