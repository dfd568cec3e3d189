"""Write the desktop icon: a scalable SVG and the PNG sizes a desktop asks for.

usage: build_icons.py OUT_DIR

OUT_DIR is laid out like a hicolor icon theme (scalable/apps/NAME.svg, 48x48/apps/NAME.png, ...),
so it installs as it is.
"""
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import art  # noqa: E402
from svgkit import rasterise  # noqa: E402

NAME = "io.github.doviveduzuz.Doviveduzuz"
SIZES = (48, 64, 128, 256)


def main():
    out = sys.argv[1]
    svg = art.app_icon_svg().render()
    folder = os.path.join(out, "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, NAME + ".svg"), "w", encoding="utf-8") as fh:
        fh.write(svg + "\n")
    print("  icons/scalable/apps/%s.svg" % NAME)
    for size in SIZES:
        folder = os.path.join(out, "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        # each size is drawn from the vector picture, not scaled down from a larger PNG
        rasterise(svg, size, size).save(os.path.join(folder, NAME + ".png"), format="PNG", optimize=False,
                                         compress_level=9)
        print("  icons/%dx%d/apps/%s.png" % (size, size, NAME))


if __name__ == "__main__":
    main()
