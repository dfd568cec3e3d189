#!/usr/bin/python3
"""Writes assets/lang/doviveduzuz.pot, the template every translation follows, from the words
the game and its surroundings show:

- game/common/GameTexts.h: each constant is a msgid. A constant whose trailing comment says
  "with kSomethingContext" carries that context; one named ...Plural is the msgid_plural of the
  constant before it.
- platform/web/page/page.js: every tr('...') (the page's few sentences).
- the desktop entry and the AppStream metadata in platform/desktop/linux/.

Usage: make_pot.py SOURCE_DIR OUT.pot   (needs gettext's xgettext and msgcat)
       make_pot.py SOURCE_DIR --update  (the template, and msgmerge into every .po)
"""
import os
import pathlib
import re
import subprocess
import sys
import tempfile

CONSTANT = re.compile(r'constexpr const char\* (k\w+) = "((?:[^"\\]|\\.)*)";[ \t]*(?://(.*))?')
APP_ID = "io.github.doviveduzuz.Doviveduzuz"
HEADER = '''# The words of Doviveduzuz, for its translators.
# This file is distributed under the same licence as the game (MIT).
msgid ""
msgstr ""
"Project-Id-Version: doviveduzuz\\n"
"Language: \\n"
"MIME-Version: 1.0\\n"
"Content-Type: text/plain; charset=UTF-8\\n"
"Content-Transfer-Encoding: 8bit\\n"
"Plural-Forms: nplurals=INTEGER; plural=EXPRESSION;\\n"
'''


def game_entries(header):
    constants = CONSTANT.findall(pathlib.Path(header).read_text(encoding="utf-8"))
    values = {name: value for name, value, _ in constants}
    entries = []
    for name, value, comment in constants:
        if name.endswith("Context"):
            continue
        if name.endswith("Plural"):
            singular = name[: -len("Plural")]
            for entry in entries:
                if entry["name"] == singular:
                    entry["plural"] = value
            continue
        context = re.search(r"with (k\w+Context)", comment or "")
        entries.append({"name": name, "id": value, "context": values[context.group(1)] if context else None})
    seen, unique = set(), []
    for entry in entries:
        key = (entry["context"], entry["id"])
        if key not in seen:
            seen.add(key)
            unique.append(entry)
    return unique


def po_string(text):
    # The header's literals are already in C's escapes, which are the .po file's own.
    return '"' + text + '"'


def write_game(entries, out):
    with open(out, "w", encoding="utf-8") as fh:
        fh.write(HEADER)
        for entry in entries:
            fh.write("\n#. %s\n" % entry["name"])
            if "%" in entry["id"]:
                fh.write("#, c-format\n")
            if entry["context"]:
                fh.write("msgctxt %s\n" % po_string(entry["context"]))
            fh.write("msgid %s\n" % po_string(entry["id"]))
            if "plural" in entry:
                fh.write('msgid_plural %s\nmsgstr[0] ""\nmsgstr[1] ""\n' % po_string(entry["plural"]))
            else:
                fh.write('msgstr ""\n')


def make_pot(src, out):
    linux = os.path.join(src, "platform/desktop/linux")
    with tempfile.TemporaryDirectory() as tmp:
        game = os.path.join(tmp, "game.pot")
        write_game(game_entries(os.path.join(src, "game/common/GameTexts.h")), game)
        page = os.path.join(tmp, "page.pot")
        # Locations are left out: the template changes only when the words do.
        common = ["--from-code=UTF-8", "--no-location", "--omit-header"]
        subprocess.run(["xgettext", *common, "-L", "JavaScript", "--keyword=tr", "-o", page,
                        os.path.join(src, "platform/web/page/page.js")], check=True)
        desktop = os.path.join(tmp, "desktop.pot")
        subprocess.run(["xgettext", *common, "-L", "Desktop", "-o", desktop,
                        os.path.join(linux, APP_ID + ".desktop")], check=True)
        # xgettext knows the metadata's rules by its file name.
        metainfo = os.path.join(tmp, APP_ID + ".metainfo.xml")
        pathlib.Path(metainfo).write_bytes(pathlib.Path(linux, APP_ID + ".metainfo.xml.in").read_bytes())
        appstream = os.path.join(tmp, "metainfo.pot")
        subprocess.run(["xgettext", *common, "-o", appstream, metainfo], check=True)
        parts = [p for p in (game, page, desktop, appstream) if os.path.exists(p)]
        subprocess.run(["msgcat", "--use-first", "--no-location", "-o", out, *parts], check=True)


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    src = sys.argv[1]
    if sys.argv[2] != "--update":
        make_pot(src, sys.argv[2])
        return
    lang = os.path.join(src, "assets/lang")
    pot = os.path.join(lang, "doviveduzuz.pot")
    make_pot(src, pot)
    for name in sorted(os.listdir(lang)):
        if name.endswith(".po"):
            subprocess.run(["msgmerge", "--quiet", "--update", "--backup=none", "--no-location",
                            os.path.join(lang, name), pot], check=True)


if __name__ == "__main__":
    main()
