"""Render the pictures of art.py into assets/ (two worker processes)."""
import os
import sys
import time
from multiprocessing import Pool

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import art  # noqa: E402


def build(job):
    name, out_root = job
    fn, args = art.PICTURES[name]
    t0 = time.time()
    img = fn(*args)
    dest = os.path.join(out_root, name)
    os.makedirs(os.path.dirname(dest), exist_ok=True)
    img.save(dest, format="PNG", optimize=False, compress_level=9)
    return name, img.size, time.time() - t0


def main():
    out_root = sys.argv[1]
    only = sys.argv[2:]
    names = [n for n in art.PICTURES if not only or any(o in n for o in only)]
    # the slowest pictures first so the two workers finish together
    names.sort(key=lambda n: -getattr(art, "COST", {}).get(n, 1))
    with Pool(2) as pool:
        for name, size, dt in pool.imap_unordered(build, [(n, out_root) for n in names]):
            print("  %-40s %4dx%-4d %5.1fs" % (name, size[0], size[1], dt), flush=True)


if __name__ == "__main__":
    main()
