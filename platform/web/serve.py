#!/usr/bin/python3
"""Serves the browser version's folder on 127.0.0.1, compressing what compresses (the program,
the scripts, the page) with gzip, as static hosts do, so a local game loads like a hosted one.

Usage: serve.py FOLDER [PORT]
"""
import functools
import gzip
import http.server
import os
import sys

COMPRESSED = {".wasm", ".js", ".json", ".html", ".css"}


class Handler(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}
    _cache = {}

    def send_head(self):
        path = self.translate_path(self.path.split("?", 1)[0])
        wants = "gzip" in self.headers.get("Accept-Encoding", "")
        if not wants or os.path.splitext(path)[1] not in COMPRESSED or not os.path.isfile(path):
            return super().send_head()
        stamp = os.stat(path).st_mtime_ns
        cached = self._cache.get(path)
        if not cached or cached[0] != stamp:
            with open(path, "rb") as f:
                cached = (stamp, gzip.compress(f.read(), compresslevel=9, mtime=0))
            self._cache[path] = cached
        body = cached[1]
        self.send_response(200)
        self.send_header("Content-Type", self.guess_type(path))
        self.send_header("Content-Encoding", "gzip")
        self.send_header("Content-Length", str(len(body)))
        self.send_header("Cache-Control", "no-cache")
        self.end_headers()
        return _Body(body)


class _Body:
    def __init__(self, data):
        self._data = data

    def read(self, *_):
        data, self._data = self._data, b""
        return data

    def close(self):
        pass


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    folder, port = sys.argv[1], int(sys.argv[2]) if len(sys.argv) > 2 else 8080
    handler = functools.partial(Handler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", port), handler)
    print(f"Serving {folder} on http://127.0.0.1:{port}/", flush=True)
    server.serve_forever()


if __name__ == "__main__":
    main()
