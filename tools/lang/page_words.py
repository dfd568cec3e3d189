#!/usr/bin/python3
"""Writes the web page's words table (words.js) from the game's .po files: for every language,
the translation of each sentence page.js passes through tr(). The page picks its language by the
browser's own list, as the game does.

Usage: page_words.py LANG_DIR PAGE_JS OUT_JS   (needs gettext's xgettext, msgmerge and msgcat)
"""
import json
import os
import subprocess
import sys
import tempfile


def entries(po_text):
    """(msgid, msgstr) pairs of a .po without contexts or plurals, written unwrapped."""
    pairs, msgid = [], None
    for line in po_text.splitlines():
        if line.startswith("msgid "):
            msgid = json.loads(line[6:])
        elif line.startswith("msgstr ") and msgid:
            text = json.loads(line[7:])
            if text:
                pairs.append((msgid, text))
            msgid = None
    return pairs


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    lang, page, out = sys.argv[1:]
    table = {}
    with tempfile.TemporaryDirectory() as tmp:
        pot = os.path.join(tmp, "page.pot")
        subprocess.run(["xgettext", "--from-code=UTF-8", "-L", "JavaScript", "--keyword=tr", "-o", pot, page],
                       check=True)
        for name in sorted(os.listdir(lang)):
            if not name.endswith(".po"):
                continue
            # The language's translations of the page's sentences only, fuzzy ones left out.
            merged = subprocess.run(["msgmerge", "--quiet", "--no-fuzzy-matching", os.path.join(lang, name), pot],
                                    capture_output=True, text=True, check=True).stdout
            flat = subprocess.run(["msgattrib", "--no-fuzzy", "--translated", "--no-wrap", "--no-obsolete"],
                                  input=merged, capture_output=True, text=True, check=True).stdout
            table[name[:-3]] = dict(entries(flat))
    with open(out, "w", encoding="utf-8") as fh:
        fh.write("// Made from assets/lang/*.po by tools/lang/page_words.py.\n")
        fh.write("window.doviWords = " + json.dumps(table, ensure_ascii=False, sort_keys=True) + ";\n")


if __name__ == "__main__":
    main()
