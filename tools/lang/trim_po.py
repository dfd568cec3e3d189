#!/usr/bin/python3
"""Writes a .po cut to what the game reads: its header and the entries the game draws (those
noted with a GameTexts constant, "#. kPaused"), without comments. The browser downloads these
before the title shows; the page's and the desktop's sentences are not the game's to read.

Usage: trim_po.py IN.po OUT.po
"""
import re
import sys


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    with open(sys.argv[1], encoding="utf-8") as fh:
        entries = fh.read().strip().split("\n\n")
    kept = [entries[0]] + [e for e in entries[1:] if re.search(r"^#\. k\w+$", e, re.M)]
    kept = ["\n".join(line for line in e.split("\n") if not line.startswith("#")) for e in kept]
    with open(sys.argv[2], "w", encoding="utf-8") as fh:
        fh.write("\n\n".join(kept) + "\n")


if __name__ == "__main__":
    main()
