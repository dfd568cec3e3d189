#!/usr/bin/python3
"""Cuts a TrueType font down to the characters the game can draw.

The game draws only texts written in its own sources (labels, notes, numbers), so every
character of every string literal in the given source folders is kept, with printable ASCII
for numbers and formats. Usage: subset_font.py FONT OUT SOURCE_DIR...
"""
import pathlib
import re
import sys

from fontTools import subset

LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def drawn_characters(folders):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for folder in folders:
        for path in pathlib.Path(folder).rglob("*"):
            if path.suffix not in (".cpp", ".h"):
                continue
            for literal in LITERAL.findall(path.read_text(encoding="utf-8")):
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
    loaded = subset.load_font(font, options)
    cutter = subset.Subsetter(options)
    cutter.populate(unicodes=drawn_characters(folders))
    cutter.subset(loaded)
    subset.save_font(loaded, out, options)


if __name__ == "__main__":
    main()
