#!/usr/bin/python3
"""Cuts a TrueType font down to the characters the game can draw.

The game draws only texts written in its own sources (labels, notes, numbers) and their
translations, so every character of every string literal in the given folders' C++ sources and
.po files is kept, with printable ASCII for numbers and formats. Usage: subset_font.py FONT OUT
SOURCE_DIR...
"""
import pathlib
import re
import sys

from fontTools import subset

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def drawn_translations(po):
    """The entries of a .po the game draws: those whose note names a GameTexts constant ("#. kPaused");
    the page's and the desktop's sentences are shown in the browser's and the desktop's fonts."""
    return "\n".join(entry for entry in po.split("\n\n") if re.search(r"^#\. k\w+$", entry, re.M))


def drawn_characters(folders):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for folder in folders:
        for path in pathlib.Path(folder).rglob("*"):
            if path.suffix not in (".cpp", ".h", ".po"):
                continue
            text = path.read_text(encoding="utf-8")
            if path.suffix == ".po":
                text = drawn_translations(text)
            for literal in LITERAL.findall(text):
                chars.update(literal)
    return sorted(ord(c) for c in chars if c.isprintable())


def main():
    if len(sys.argv) < 4:
        sys.exit(__doc__)
    font, out, folders = sys.argv[1], sys.argv[2], sys.argv[3:]
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.notdef_outline = True
    options.drop_tables += ["DSIG"]
    # The hints are more than half of every glyph's bytes and change next to nothing on a pixel
    # font drawn at whole multiples of its pixel size.
    options.hinting = False
    loaded = subset.load_font(font, options)
    cutter = subset.Subsetter(options)
    cutter.populate(unicodes=drawn_characters(folders))
    cutter.subset(loaded)
    subset.save_font(loaded, out, options)


if __name__ == "__main__":
    main()
