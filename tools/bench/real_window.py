#!/usr/bin/env python3
"""The game in a real window, as a player sees it, beside the fill floor of the same display.

Runs under a virtual X display (Xvfb with Mesa's software OpenGL when there is no DISPLAY) and
builds what it needs in the benchmark build folder. In one run, each case in its own process:

- the fill floor: bench_floor drawing one opaque full-screen picture a frame, and one opaque
  plus one blended, as fast as it can, at 1280 x 720 and in a 1920 x 1080 window;
- the game at 1280 x 720 on the title, in the shop and in a round, and in a 1920 x 1080 window
  on the title and in a round, reached with keys as a player would (the round after buying
  every upgrade with the coins of a prepared store, so that its first stage lasts 19 seconds);
- the frame pacer on this display, told the display runs at 60 Hz (vsync on trial) and that
  its rate is unknown (the timed loop);
- the start-up benchmark (game against a minimal SDL program, launched in turn).

A probe preloaded into each program (window/present_probe.cpp) notes every present: frame
times are the intervals between presents, and a frame's drawing is the time from its first
clear until it is drawn (the game finishes its drawing, then waits for the frame's moment and
presents; a floor program's drawing ends when its present returns). CPU is the process's own (all its threads, Mesa's among them),
not the X server's. The load average is noted with every case.

    tools/bench/real_window.py [--build DIR] [--seconds S] [--repeat N]
"""
import argparse
import os
import shutil
import sqlite3
import struct
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
RECORD = struct.Struct("qqqq")  # drawing began, drawing ended, present returned, process CPU (ns)


def load_average():
    with open("/proc/loadavg") as f:
        return " ".join(f.read().split()[:3])


def percentile(values, p):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(p * len(ordered)))]


class Presents:
    """Reads the probe's records from a pipe as they come."""

    def __init__(self, fd):
        self.records = []
        self._fd = fd
        self._thread = threading.Thread(target=self._read, daemon=True)
        self._thread.start()

    def _read(self):
        pending = b""
        while True:
            chunk = os.read(self._fd, 65536)
            if not chunk:
                return
            pending += chunk
            usable = len(pending) - len(pending) % RECORD.size
            for i in range(0, usable, RECORD.size):
                self.records.append(RECORD.unpack_from(pending, i))
            pending = pending[usable:]


def figures(records):
    """Frame rate, frame times, drawing times and CPU over a stretch of presents."""
    if len(records) < 3:
        return None
    gaps = [(b[2] - a[2]) / 1e6 for a, b in zip(records, records[1:])]
    drawing = [(r[1] - r[0]) / 1e6 for r in records[1:]]
    span = (records[-1][2] - records[0][2]) / 1e9
    cpu = (records[-1][3] - records[0][3]) / 1e9
    return {
        "frames": len(gaps),
        "fps": len(gaps) / span,
        "p50": percentile(gaps, 0.50),
        "p95": percentile(gaps, 0.95),
        "p99": percentile(gaps, 0.99),
        "draw50": percentile(drawing, 0.50),
        "draw95": percentile(drawing, 0.95),
        "cpu": 100 * cpu / span,
    }


def xdotool(*args):
    return subprocess.run(["xdotool", *args], check=True, capture_output=True, text=True).stdout.strip()


def run_case(name, command, build, seconds, drive=None, size=None, env=None):
    """Runs one program with the probe, drives it, and measures `seconds` of its presents."""
    read_end, write_end = os.pipe()
    child_env = dict(os.environ, SDL_AUDIODRIVER="dummy", DOVI_PRESENT_LOG_FD=str(write_end),
                     LD_PRELOAD=os.path.join(build, "libbench_present_probe.so"), **(env or {}))
    proc = subprocess.Popen(command, env=child_env, pass_fds=(write_end,), stdout=subprocess.DEVNULL,
                            stderr=subprocess.DEVNULL)
    os.close(write_end)
    presents = Presents(read_end)
    try:
        window = xdotool("search", "--sync", "--onlyvisible", "--pid", str(proc.pid)).splitlines()[0]
        if size:
            xdotool("windowmove", window, "0", "0")
            xdotool("windowsize", window, str(size[0]), str(size[1]))
        time.sleep(1.5)
        if drive:
            drive(window)
        first = len(presents.records)
        load = load_average()
        time.sleep(seconds)
        stretch = presents.records[first:]
    finally:
        proc.terminate()
        try:
            proc.wait(timeout=10)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
        os.close(read_end)
    result = figures(stretch)
    if result:
        result.update(name=name, load=load)
    return result


def key(window, name, wait):
    xdotool("key", "--window", window, name)
    time.sleep(wait)


def to_shop(window):
    key(window, "space", 3.0)


def to_round(window):
    to_shop(window)
    # Every upgrade with the prepared coins: the first stage lasts 19 s, and three lives.
    for name in ["t", "t", "t", "l", "l", "l"]:
        key(window, name, 0.3)
    key(window, "Return", 2.5)
    key(window, "space", 2.5)  # the cut-scene, skipped
    # A few answers, so that the answer row fills as in play.
    for name in ["w", "e", "d"]:
        key(window, name, 0.2)


def prepared_store(home):
    os.makedirs(os.path.join(home, "doviveduzuz"), exist_ok=True)
    db = sqlite3.connect(os.path.join(home, "doviveduzuz", "UserDefault.db"))
    db.execute("CREATE TABLE IF NOT EXISTS kv(key TEXT PRIMARY KEY NOT NULL, type INTEGER NOT NULL, "
               "value INTEGER NOT NULL)")
    db.execute("INSERT OR REPLACE INTO kv VALUES('coinScore', 0, 1000)")
    db.commit()
    db.close()


def game_case(name, build, seconds, drive=None, size=None):
    home = tempfile.mkdtemp(prefix="doviveduzuz-window-")
    try:
        prepared_store(home)
        return run_case(name, [os.path.join(build, "doviveduzuz")], build, seconds, drive, size,
                        {"XDG_DATA_HOME": home})
    finally:
        shutil.rmtree(home, ignore_errors=True)


def floor_case(name, build, seconds, mode, size):
    command = [os.path.join(build, "bench_floor"), os.path.join(ROOT, "assets"), mode, str(size[0]), str(size[1])]
    return run_case(name, command, build, seconds)


def print_row(r):
    if not r:
        print("| (no frames) |")
        return
    print(f"| {r['name']} | {r['fps']:.1f} | {r['p50']:.1f} | {r['p95']:.1f} | {r['p99']:.1f} | "
          f"{r['draw50']:.1f} | {r['draw95']:.1f} | {r['cpu']:.0f} % | {r['load']} |", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build", default=os.path.join(ROOT, "build-bench-rel"))
    parser.add_argument("--seconds", type=float, default=8.0)
    parser.add_argument("--repeat", type=int, default=1)
    args = parser.parse_args()
    build = os.path.abspath(args.build)

    if not os.environ.get("DISPLAY"):
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1920x1080x24", sys.executable, *sys.argv])
    subprocess.run(["cmake", "-S", ROOT, "-B", build, "-DCMAKE_BUILD_TYPE=Release", "-DDOVI_BENCH=ON",
                    "-DDOVI_TESTS=OFF"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", build, "-j2", "--target", "bench"], check=True, stdout=subprocess.DEVNULL)

    renderer = subprocess.run(["glxinfo", "-B"], capture_output=True, text=True).stdout if shutil.which(
        "glxinfo") else ""
    print(f"machine: {os.cpu_count()} cores; load average at start {load_average()}")
    for line in renderer.splitlines():
        if "OpenGL renderer" in line:
            print(line.strip())
    small, large, s = (1280, 720), (1920, 1080), args.seconds
    for run in range(args.repeat):
        print(f"\nrun {run + 1}\n")
        print("| case | fps | frame p50 ms | p95 | p99 | drawing p50 ms | drawing p95 | CPU | load |")
        print("|---|---|---|---|---|---|---|---|---|")
        for row in [
            floor_case("floor: one opaque picture, 1280 x 720", build, s, "opaque", small),
            floor_case("floor: opaque + blended, 1280 x 720", build, s, "blended", small),
            game_case("title, 1280 x 720", build, s),
            game_case("shop, 1280 x 720", build, s, to_shop),
            game_case("round, 1280 x 720", build, s, to_round),
            floor_case("floor: one opaque picture, 1920 x 1080", build, s, "opaque", large),
            floor_case("floor: opaque + blended, 1920 x 1080", build, s, "blended", large),
            game_case("title, 1920 x 1080", build, s, None, large),
            game_case("round, 1920 x 1080", build, s, to_round, large),
        ]:
            print_row(row)

    print("\nframe pacer on this display:")
    for claimed in ["60", "0"]:
        out = subprocess.run([os.path.join(build, "bench_pacing_check"), os.path.join(ROOT, "assets"), claimed, "12"],
                             capture_output=True, text=True, env=dict(os.environ, SDL_AUDIODRIVER="dummy")).stdout
        print("  " + out.strip() + f" (load {load_average()})")

    print("\nstart-up:")
    out = subprocess.run([os.path.join(build, "bench"), "--benchmark_filter=StartupRatio",
                          "--benchmark_repetitions=3", "--benchmark_report_aggregates_only=true"],
                         capture_output=True, text=True).stdout
    for line in out.splitlines():
        if "median" in line or "mean" in line:
            print("  " + " ".join(line.split()))
    print(f"\nload average at end: {load_average()}")


if __name__ == "__main__":
    main()
