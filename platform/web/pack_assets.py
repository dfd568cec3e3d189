#!/usr/bin/python3
"""Packs asset files into one download for the page: NAME.data (the files one after another)
and NAME.json (each file's path in the game's file system and its byte range).

Usage: pack_assets.py ROOT OUT_NAME [--replace PATH=FILE]... PATH...
PATHs are relative to ROOT; --replace takes PATH's bytes from FILE (the cut font).
"""
import json
import pathlib
import sys


def main():
    args = sys.argv[1:]
    if len(args) < 3:
        sys.exit(__doc__)
    root, out = pathlib.Path(args[0]), pathlib.Path(args[1])
    replacements, paths = {}, []
    rest = iter(args[2:])
    for arg in rest:
        if arg == "--replace":
            path, _, file = next(rest).partition("=")
            replacements[path] = pathlib.Path(file)
        else:
            paths.append(arg)
    index, offset = [], 0
    with open(out.with_suffix(".data"), "wb") as data:
        for path in paths:
            blob = (replacements.get(path) or root / path).read_bytes()
            data.write(blob)
            index.append({"path": "/assets/" + path, "start": offset, "end": offset + len(blob)})
            offset += len(blob)
    out.with_suffix(".json").write_text(json.dumps({"size": offset, "files": index}))


if __name__ == "__main__":
    main()
