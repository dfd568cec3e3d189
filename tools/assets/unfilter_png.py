#!/usr/bin/env python3
"""Rewrite PNG pictures with every row unfiltered, the same pixels bit for bit.

The art is flat colour and clean edges: stored without PNG's per-row prediction filters it
compresses as small or smaller, and decodes in about half the time (no filter to undo, and
less for zlib to inflate), which is most of what the game waits for when a scene's pictures
load, at start-up above all. Only 8-bit, non-interlaced RGB and RGBA files are touched; any
other file is left as it is. Each rewritten file is read back and compared before it replaces
the old one.

usage: unfilter_png.py FILE_OR_FOLDER...
"""
import os
import struct
import sys
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {2: 3, 6: 4}  # colour type -> bytes per pixel at 8 bits


def chunks(data):
    at = len(SIGNATURE)
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        yield kind, data[at + 8:at + 8 + length]
        at += 12 + length


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    return a if pa <= pb and pa <= pc else (b if pb <= pc else c)


def unfiltered_rows(raw, width, height, bpp):
    """The picture's rows with their filters undone."""
    stride = width * bpp
    rows, previous = [], bytes(stride)
    for y in range(height):
        at = y * (stride + 1)
        kind, line = raw[at], bytearray(raw[at + 1:at + 1 + stride])
        if kind == 1:
            for i in range(bpp, stride):
                line[i] = (line[i] + line[i - bpp]) & 0xFF
        elif kind == 2:
            line = bytearray((a + b) & 0xFF for a, b in zip(line, previous))
        elif kind == 3:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = line[i - bpp] if i >= bpp else 0
                upper_left = previous[i - bpp] if i >= bpp else 0
                line[i] = (line[i] + paeth(left, previous[i], upper_left)) & 0xFF
        elif kind != 0:
            raise ValueError("unknown filter %d in row %d" % (kind, y))
        rows.append(bytes(line))
        previous = line
    return rows


def read(path):
    """(header fields, rows, other chunks) of a file this tool can rewrite, or None."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(SIGNATURE):
        return None
    header, idat, others = None, b"", []
    for kind, body in chunks(data):
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind != b"IEND":
            others.append((kind, body))
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or interlace != 0 or colour not in CHANNELS:
        return None
    rows = unfiltered_rows(zlib.decompress(idat), width, height, CHANNELS[colour])
    return header, rows, others


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


def rewrite(path):
    before = read(path)
    if before is None:
        return False
    header, rows, others = before
    raw = b"".join(b"\x00" + row for row in rows)
    data = SIGNATURE + chunk(b"IHDR", struct.pack(">IIBBBBB", *header))
    data += b"".join(chunk(kind, body) for kind, body in others)
    data += chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b"")
    temporary = path + ".unfiltered"
    with open(temporary, "wb") as f:
        f.write(data)
    after = read(temporary)
    if after is None or after[0] != header or after[1] != rows:
        os.remove(temporary)
        raise ValueError("%s: the rewritten file does not read back the same" % path)
    os.replace(temporary, path)
    return True


def main():
    paths = []
    for arg in sys.argv[1:]:
        if os.path.isdir(arg):
            for folder, _, files in os.walk(arg):
                paths += [os.path.join(folder, f) for f in sorted(files) if f.endswith(".png")]
        else:
            paths.append(arg)
    if not paths:
        print(__doc__.strip().splitlines()[-1])
        return 2
    for path in paths:
        size = os.path.getsize(path)
        if rewrite(path):
            print("  %s: %d -> %d bytes" % (path, size, os.path.getsize(path)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
