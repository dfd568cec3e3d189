"""A tiny chiptune synthesiser: the game's music and sound effects.

Voices: band-limited pulse (square) waves, a 4-bit stepped triangle and noise
drums. Songs are written below as note lists; everything is deterministic
(noise comes from seeded generators). Writes 16-bit 44.1 kHz stereo WAV files,
generate.sh turns them into MP3 with lame.

usage: synth.py OUT_DIR [NAME ...]
"""
import math
import os
import sys
import wave

import numpy as np

SR = 44100
NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def midi(name):
    """'C#5' -> 73, 'Bb4' -> 70."""
    base = NOTE_NAMES[name[0]]
    i = 1
    while i < len(name) and name[i] in "#b":
        base += 1 if name[i] == "#" else -1
        i += 1
    return base + 12 * (int(name[i:]) + 1)


def hz(m):
    return 440.0 * 2 ** ((m - 69) / 12.0)


# ---------------------------------------------------------------------------
# oscillators and envelopes
# ---------------------------------------------------------------------------

def _blep(t, dt):
    out = np.zeros_like(t)
    a = t < dt
    x = t[a] / dt[a] if np.ndim(dt) else t[a] / dt
    out[a] = 2 * x - x * x - 1
    b = t > 1 - dt
    x = (t[b] - 1) / (dt[b] if np.ndim(dt) else dt)
    out[b] = x * x + 2 * x + 1
    return out


def phase_of(freq, n, vibrato=0.0, vib_rate=5.5, vib_delay=0.12):
    """Running phase (in cycles) of a tone, optionally with delayed vibrato."""
    t = np.arange(n) / SR
    if vibrato:
        depth = np.clip((t - vib_delay) / 0.15, 0, 1) * vibrato
        f = freq * 2 ** (depth * np.sin(2 * np.pi * vib_rate * t) / 12)
    else:
        f = np.full(n, float(freq))
    ph = np.cumsum(f / SR)
    return ph - f / SR, f / SR


def pulse(freq, n, duty=0.5, **kw):
    ph, dt = phase_of(freq, n, **kw)
    p = ph % 1.0
    y = np.where(p < duty, 1.0, -1.0)
    y += _blep(p, dt)
    y -= _blep((p - duty) % 1.0, dt)
    return y


def triangle(freq, n, steps=16, **kw):
    ph, _ = phase_of(freq, n, **kw)
    p = ph % 1.0
    y = 4 * np.abs(p - 0.5) - 1
    if steps:
        y = np.round((y + 1) / 2 * (steps - 1)) / (steps - 1) * 2 - 1
    return -y


def noise(n, seed, hp=0.0):
    rng = np.random.default_rng(seed)
    y = rng.uniform(-1, 1, n)
    if hp:
        # first-order high-pass for hats
        y = y - np.concatenate(([0.0], y[:-1])) * hp
    return y


def env(n, attack=0.004, decay=0.08, sustain=0.7, release=0.05, gate=None):
    """ADSR envelope of n samples; the note is held for `gate` samples."""
    if gate is None:
        gate = n
    t = np.arange(n) / SR
    a = np.clip(t / max(attack, 1e-6), 0, 1)
    d = sustain + (1 - sustain) * np.exp(-np.maximum(t - attack, 0) / max(decay, 1e-6))
    e = a * d
    g = gate / SR
    if gate < n:
        level = e[min(gate, n - 1)]
        rel = level * np.exp(-(t - g) / max(release / 4, 1e-6))
        e = np.where(t < g, e, rel)
    return e


def fade_edges(y, fin=0.003, fout=0.006):
    n_in, n_out = int(fin * SR), int(fout * SR)
    y[:n_in] *= (0.5 - 0.5 * np.cos(np.linspace(0, np.pi, n_in)))[:, None] if y.ndim == 2 else \
        (0.5 - 0.5 * np.cos(np.linspace(0, np.pi, n_in)))
    ramp = 0.5 + 0.5 * np.cos(np.linspace(0, np.pi, n_out))
    y[-n_out:] *= ramp[:, None] if y.ndim == 2 else ramp
    y[0] = 0
    y[-1] = 0
    return y


# ---------------------------------------------------------------------------
# instruments: each returns a mono buffer for one note
# ---------------------------------------------------------------------------

INSTRUMENTS = {
    # name: (oscillator, kwargs, envelope kwargs, gate fraction)
    "lead": ("pulse", {"duty": 0.5, "vibrato": 0.18}, dict(attack=0.004, decay=0.12, sustain=0.65,
                                                             release=0.06), 0.88),
    "lead25": ("pulse", {"duty": 0.25, "vibrato": 0.15}, dict(attack=0.004, decay=0.1, sustain=0.6,
                                                                release=0.06), 0.85),
    "soft": ("triangle", {"steps": 0, "vibrato": 0.2}, dict(attack=0.01, decay=0.2, sustain=0.75,
                                                              release=0.08), 0.9),
    "harm": ("pulse", {"duty": 0.125}, dict(attack=0.004, decay=0.1, sustain=0.5, release=0.04), 0.8),
    "arp": ("pulse", {"duty": 0.25}, dict(attack=0.002, decay=0.06, sustain=0.25, release=0.03), 0.7),
    "stab": ("pulse", {"duty": 0.125}, dict(attack=0.002, decay=0.05, sustain=0.2, release=0.02), 0.5),
    "bass": ("triangle", {"steps": 16}, dict(attack=0.003, decay=0.15, sustain=0.85, release=0.03), 0.9),
    "pbass": ("pulse", {"duty": 0.5}, dict(attack=0.003, decay=0.08, sustain=0.6, release=0.03), 0.8),
}


def render_note(inst, m, dur):
    osc, kw, ekw, gate = INSTRUMENTS[inst]
    n = int((dur + ekw["release"] * 1.5) * SR)
    gate_n = int(dur * gate * SR)
    f = hz(m)
    y = pulse(f, n, **kw) if osc == "pulse" else triangle(f, n, **kw)
    return y * env(n, gate=gate_n, **ekw)


def drum(kind, seed):
    if kind == "k":   # kick: fast falling sine
        n = int(0.16 * SR)
        t = np.arange(n) / SR
        f = 50 + 110 * np.exp(-t / 0.025)
        y = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.06)
        return y * 1.1
    if kind == "s":   # snare: noise and a short tone
        n = int(0.16 * SR)
        t = np.arange(n) / SR
        y = noise(n, seed, hp=0.5) * np.exp(-t / 0.045) * 0.7
        y += np.sin(2 * np.pi * 190 * t) * np.exp(-t / 0.03) * 0.5
        return y
    if kind == "h":   # closed hat
        n = int(0.04 * SR)
        t = np.arange(n) / SR
        return noise(n, seed, hp=0.97) * np.exp(-t / 0.012) * 0.35
    if kind == "o":   # open hat
        n = int(0.14 * SR)
        t = np.arange(n) / SR
        return noise(n, seed, hp=0.97) * np.exp(-t / 0.05) * 0.3
    if kind == "r":   # rim / tick
        n = int(0.03 * SR)
        t = np.arange(n) / SR
        return (noise(n, seed, hp=0.9) * 0.4 + np.sin(2 * np.pi * 1800 * t) * 0.3) * np.exp(-t / 0.008)
    raise ValueError(kind)


# ---------------------------------------------------------------------------
# song assembly
# ---------------------------------------------------------------------------

class Song:
    def __init__(self, bpm, bars, beats_per_bar=4):
        self.step = 60.0 / bpm / 4           # one sixteenth, in seconds
        self.bar_steps = beats_per_bar * 4
        self.bars = bars
        self.length = int(round(self.step * self.bar_steps * bars * SR))
        self.buf = np.zeros((self.length + SR, 2))
        self.seed = 1

    def place(self, y, t, vol, pan):
        i = int(round(t * SR))
        j = min(i + len(y), self.length)   # nothing rings past the loop end
        if j <= i:
            return
        seg = y[: j - i]
        if j == self.length and i + len(y) > self.length:
            k = min(len(seg), int(0.004 * SR))
            seg = seg.copy()
            seg[-k:] *= np.linspace(1, 0, k)
        left = vol * math.cos((pan + 1) * math.pi / 4)
        right = vol * math.sin((pan + 1) * math.pi / 4)
        self.buf[i:j, 0] += seg * left * math.sqrt(2)
        self.buf[i:j, 1] += seg * right * math.sqrt(2)

    def melody(self, inst, text, bar0=0, vol=0.3, pan=0.0, transpose=0):
        """text: 'E5/2 G5/2 r/4 ...' -- note/length in sixteenths."""
        pos = bar0 * self.bar_steps
        for tok in text.split():
            name, ln = tok.split("/")
            ln = float(ln)
            if name != "r":
                y = render_note(inst, midi(name) + transpose, ln * self.step)
                self.place(y, pos * self.step, vol, pan)
            pos += ln
        return pos

    def pattern(self, inst, chords, pattern, bar0=0, vol=0.3, pan=0.0, octave=3):
        """Chord-tone pattern per bar: [(step, length, degree), ...]; degree 0 root,
        1 third, 2 fifth, 3 octave, 4 tenth..."""
        for b, ch in enumerate(chords):
            tones = chord_tones(ch, octave)
            for st, ln, deg in pattern:
                y = render_note(inst, tones[deg], ln * self.step)
                self.place(y, ((bar0 + b) * self.bar_steps + st) * self.step, vol, pan)

    def drums(self, text_by_kind, bars, bar0=0, vol=0.5):
        """text_by_kind: {'k': 'x...x...', ...} one char per sixteenth, repeated."""
        pans = {"k": 0.0, "s": 0.1, "h": 0.35, "o": 0.35, "r": -0.3}
        for b in range(bars):
            for kind, pat in text_by_kind.items():
                for st, c in enumerate(pat):
                    if c in "xX":
                        self.seed += 1
                        y = drum(kind, self.seed)
                        acc = 1.0 if c == "X" else 0.75
                        self.place(y, ((bar0 + b) * self.bar_steps + st) * self.step, vol * acc, pans[kind])

    def mix(self):
        return fade_edges(self.buf[: self.length].copy())


CHORDS = {"": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10), "maj7": (0, 4, 7, 11)}


def chord_tones(name, octave):
    root = name[0]
    rest = name[1:]
    if rest[:1] in ("#", "b"):
        root += rest[0]
        rest = rest[1:]
    intervals = CHORDS[rest]
    r = midi(root + str(octave))
    tones = [r + i for i in intervals[:3]]
    tones += [r + 12, tones[1] + 12, tones[2] + 12, r + 24]
    if len(intervals) > 3:
        tones[3] = r + intervals[3]
    return tones


# ---------------------------------------------------------------------------
# the songs
# ---------------------------------------------------------------------------

def title_song():
    s = Song(132, 24)
    a_chords = "C G Am F C G F G".split()
    a2_chords = "C G Am F C G F C".split()
    b_chords = "F G Em Am Dm G C G7".split()
    mel_a = ("E5/2 G5/2 C6/4 B5/2 A5/2 G5/4 | D5/2 G5/2 B5/4 A5/2 G5/2 D5/4 | C5/2 E5/2 A5/4 G5/2 E5/2 C5/4 | "
             "F5/4 A5/4 G5/2 F5/2 E5/2 D5/2 | E5/2 G5/2 C6/4 D6/2 C6/2 B5/4 | B5/2 A5/2 G5/4 D5/4 G5/4 | "
             "A5/4 C6/4 A5/2 G5/2 F5/4 | G5/6 r/2 D5/2 E5/2 F5/2 G5/2")
    mel_a2 = ("E5/2 G5/2 C6/4 B5/2 A5/2 G5/4 | D5/2 G5/2 B5/4 A5/2 G5/2 D5/4 | C5/2 E5/2 A5/4 G5/2 E5/2 C5/4 | "
              "F5/4 A5/4 G5/2 F5/2 E5/2 D5/2 | E5/2 G5/2 C6/4 D6/2 C6/2 B5/4 | B5/2 A5/2 G5/4 D5/4 G5/4 | "
              "A5/2 G5/2 F5/2 A5/2 C6/4 A5/4 | C6/8 r/4 G5/2 A5/2")
    mel_b = ("A5/4 A5/2 G5/2 F5/4 A5/4 | B5/4 B5/2 A5/2 G5/4 B5/4 | G5/2 B5/2 E6/4 D6/2 B5/2 G5/4 | "
             "A5/2 C6/2 E6/4 D6/2 C6/2 A5/4 | F5/2 A5/2 D6/4 C6/2 A5/2 F5/4 | G5/2 B5/2 D6/4 C6/2 B5/2 A5/4 | "
             "G5/4 E5/4 C5/4 E5/4 | D5/2 F5/2 G5/2 B5/2 D6/4 r/4")
    s.melody("lead", mel_a.replace("|", ""), 0, vol=0.26, pan=-0.15)
    s.melody("lead", mel_a2.replace("|", ""), 8, vol=0.26, pan=-0.15)
    s.melody("lead", mel_b.replace("|", ""), 16, vol=0.26, pan=-0.15)
    # echo of the lead an octave lower in the second A and in B
    s.melody("harm", mel_a2.replace("|", ""), 8, vol=0.09, pan=0.4, transpose=-12)
    s.melody("harm", mel_b.replace("|", ""), 16, vol=0.09, pan=0.4, transpose=-12)
    bass = [(0, 3, 0), (4, 2, 3), (6, 2, 0), (8, 3, 2), (12, 2, 3), (14, 2, 2)]
    chords = a_chords + a2_chords + b_chords
    s.pattern("bass", chords, bass, vol=0.42, octave=2)
    stabs = [(2, 2, 0), (6, 2, 0), (10, 2, 0), (14, 2, 0)]
    for deg in (0, 1, 2):
        s.pattern("stab", chords, [(a, b, deg) for a, b, _ in stabs], vol=0.05, pan=0.3, octave=4)
    s.drums({"k": "X.......x.x.....", "s": "....X.......X...", "h": "x.x.x.x.x.x.x.x."}, 24, vol=0.42)
    return s.mix()


def shop_song():
    s = Song(100, 16)
    chords = "F Dm Gm C F Dm Bb C Bb C Am Dm Gm C F C7".split()
    mel = ("A5/6 G5/2 F5/4 C5/4 D5/4 F5/4 A5/6 r/2 G5/6 F5/2 D5/4 Bb4/4 C5/8 E5/4 G5/4 "
           "A5/6 G5/2 F5/4 A5/4 D6/6 C6/2 A5/8 Bb5/4 A5/4 G5/4 F5/4 G5/12 r/4 "
           "F5/4 G5/4 Bb5/6 A5/2 G5/4 E5/4 C5/8 E5/4 A5/4 C6/6 Bb5/2 A5/8 F5/4 D5/4 "
           "D5/4 G5/4 Bb5/4 D6/4 C6/6 Bb5/2 G5/4 E5/4 F5/4 A5/4 C6/8 Bb5/4 G5/4 E5/4 C5/4")
    s.melody("soft", mel, 0, vol=0.42, pan=-0.1)
    s.melody("harm", mel, 0, vol=0.05, pan=0.3, transpose=12)
    arp = [(i * 2, 2, [0, 1, 2, 3, 4, 3, 2, 1][i]) for i in range(8)]
    s.pattern("arp", chords, arp, vol=0.08, pan=0.35, octave=4)
    s.pattern("bass", chords, [(0, 6, 0), (6, 2, 2), (8, 6, 3), (14, 2, 2)], vol=0.42, octave=2)
    s.drums({"k": "X.......x.......", "r": "........X.......", "h": "..x...x...x...x."}, 16, vol=0.32)
    return s.mix()


def cutscene_song():
    s = Song(96, 16)
    dark = "Dm Dm Bb A Dm Gm Bb A".split()
    bright = "Bb C F Dm Bb C F A".split()
    mel_dark = ("r/4 A4/4 D5/4 E5/4 F5/8 E5/4 D5/4 r/4 D5/4 F5/4 G5/4 A5/8 C#5/4 E5/4 "
                "r/4 A4/4 D5/4 F5/4 G5/8 Bb5/4 A5/4 F5/4 D5/4 Bb4/4 D5/4 E5/8 C#5/4 A4/4")
    mel_bright = ("D5/2 F5/2 Bb5/4 A5/2 G5/2 F5/4 E5/2 G5/2 C6/4 Bb5/2 A5/2 G5/4 A5/4 C6/4 F6/6 E6/2 "
                  "D6/4 C6/4 A5/8 Bb5/4 D6/4 F6/4 D6/4 E6/4 C6/4 G5/4 C6/4 A5/6 C6/2 F6/8 "
                  "E6/4 C#6/4 A5/4 E5/4")
    s.melody("harm", mel_dark, 0, vol=0.2, pan=-0.1)
    s.melody("harm", mel_dark, 0, vol=0.07, pan=0.5)       # a faint double
    s.melody("lead25", mel_bright, 8, vol=0.24, pan=-0.1)
    s.melody("soft", mel_bright, 8, vol=0.16, pan=0.3, transpose=-12)
    s.pattern("bass", dark, [(i * 2, 2, 0) for i in range(8)], vol=0.42, octave=2)
    s.pattern("bass", bright, [(0, 4, 0), (4, 2, 3), (6, 2, 0), (8, 4, 2), (12, 4, 3)], bar0=8, vol=0.42,
              octave=2)
    s.pattern("arp", dark, [(i * 4, 4, [0, 1, 2, 1][i]) for i in range(4)], vol=0.06, pan=0.4, octave=4)
    s.pattern("arp", bright, [(i * 2, 2, [0, 1, 2, 3, 4, 3, 2, 1][i]) for i in range(8)], bar0=8, vol=0.07,
              pan=0.4, octave=4)
    s.drums({"r": "x...x...x...x...", "k": "X..............."}, 8, vol=0.3)
    s.drums({"k": "X.....x.X.......", "s": "....X.......X...", "h": "x.x.x.x.x.x.x.x."}, 8, bar0=8, vol=0.38)
    return s.mix()


def round_song():
    s = Song(150, 32)
    ca = "G Em C D G Em C D".split()
    cb = "C D Bm Em C D G D".split()
    mel_a = ("G5/2 B5/2 D6/2 B5/2 G5/2 B5/2 D6/4 E5/2 G5/2 B5/2 G5/2 E6/4 D6/4 "
             "C6/2 B5/2 A5/2 G5/2 E5/4 G5/4 F#5/4 A5/4 D6/4 C6/2 A5/2 "
             "B5/2 D6/2 G6/4 F#6/2 E6/2 D6/4 E6/2 D6/2 B5/4 G5/4 B5/4 "
             "C6/4 E6/4 D6/2 C6/2 B5/2 A5/2 D6/8 A5/2 B5/2 C6/2 A5/2")
    mel_b = ("E6/6 D6/2 C6/4 G5/4 F#6/6 E6/2 D6/4 A5/4 D6/4 B5/4 F#5/4 B5/4 E6/4 G6/4 F#6/4 E6/4 "
             "E6/2 E6/2 D6/2 C6/2 G5/4 C6/4 F#6/2 F#6/2 E6/2 D6/2 A5/4 D6/4 G6/8 D6/4 B5/4 "
             "A5/2 B5/2 C6/2 D6/2 E6/2 F#6/2 A6/4")
    for bar0 in (0, 16):
        s.melody("lead", mel_a, bar0, vol=0.24, pan=-0.15, transpose=-12)
        s.melody("lead", mel_b, bar0 + 8, vol=0.24, pan=-0.15, transpose=-12)
    # second time round: a thin echo an octave up
    s.melody("harm", mel_a, 16, vol=0.07, pan=0.4)
    s.melody("harm", mel_b, 24, vol=0.07, pan=0.4)
    chords = ca + cb + ca + cb
    s.pattern("bass", chords, [(i * 2, 2, 0 if i % 2 == 0 else 3) for i in range(8)], vol=0.42, octave=2)
    s.pattern("arp", chords[16:], [(i, 1, [0, 1, 2, 3][i % 4]) for i in range(16)], bar0=16, vol=0.06,
              pan=0.4, octave=4)
    s.pattern("stab", chords[:16], [(2, 2, d) for d in (0, 1, 2)] + [(6, 2, d) for d in (0, 1, 2)]
              + [(10, 2, d) for d in (0, 1, 2)] + [(14, 2, d) for d in (0, 1, 2)], vol=0.04, pan=0.35,
              octave=4)
    beat = {"k": "X.....x.X.x.....", "s": "....X.......X...", "h": "xxxxxxxxxxxxxxxx"}
    fill = {"k": "X.....x.X.......", "s": "....X.......XxXX", "h": "xxxxxxxxxxxx...."}
    for b in range(32):
        s.drums(fill if b % 8 == 7 else beat, 1, bar0=b, vol=0.4)
    return s.mix()


# ---------------------------------------------------------------------------
# short tunes and sound effects (mono, then duplicated to stereo)
# ---------------------------------------------------------------------------

def seq(notes, inst, step, vol=0.5, tail=0.3):
    total = sum(d for _, d in notes) * step + tail
    out = np.zeros(int(total * SR) + 1)
    t = 0.0
    for name, d in notes:
        if name != "r":
            y = render_note(inst, midi(name), d * step) * vol
            i = int(t * SR)
            j = min(i + len(y), len(out))
            out[i:j] += y[: j - i]
        t += d * step
    return out


def echo(y, delay, gain, taps=3):
    out = np.concatenate([y, np.zeros(int(delay * SR * taps))])
    for k in range(1, taps + 1):
        i = int(delay * SR * k)
        out[i:i + len(y)] += y * gain ** k
    return out


def gameover():
    step = 60 / 116 / 4
    lead = seq([("G5", 3), ("F5", 3), ("E5", 3), ("D5", 3), ("C5", 4), ("G4", 4), ("E4", 4), ("C4", 10)],
               "lead25", step, 0.4, tail=0.4)
    bass = seq([("C3", 8), ("G2", 8), ("C2", 18)], "bass", step, 0.6, tail=0.4)
    n = max(len(lead), len(bass))
    y = np.zeros(n)
    y[:len(lead)] += lead
    y[:len(bass)] += bass
    return echo(y, 0.18, 0.25, 2)


def decision_jingle():
    step = 0.055
    y = seq([("C5", 1), ("E5", 1), ("G5", 1), ("C6", 1), ("E6", 1), ("G6", 1), ("C7", 8)], "lead25", step, 0.35,
            tail=0.5)
    y2 = seq([("r", 6), ("C6", 8)], "harm", step, 0.2, tail=0.5)
    y[:len(y2)] += y2[:len(y)]
    return echo(y, 0.11, 0.3, 2)


def click():
    n = int(0.09 * SR)
    t = np.arange(n) / SR
    y = pulse(1318.5, n, 0.25) * np.exp(-t / 0.018) * 0.5
    y += noise(n, 5, hp=0.9) * np.exp(-t / 0.004) * 0.3
    return y


def cancel():
    n = int(0.2 * SR)
    t = np.arange(n) / SR
    first = t < 0.07
    y = np.where(first, pulse(880.0, n, 0.5), pulse(587.3, n, 0.5))
    e = np.where(first, np.exp(-t / 0.05), np.exp(-(t - 0.07) / 0.05))
    k = int(0.003 * SR)
    e = np.convolve(e, np.ones(k) / k, mode="same")   # no click between the two blips
    return y * e * 0.4


def coin():
    step = 0.05
    y = seq([("B5", 1), ("E6", 4)], "lead", step, 0.4, tail=0.08)
    y += np.concatenate([noise(int(0.02 * SR), 9, hp=0.98) * 0.12, np.zeros(len(y) - int(0.02 * SR))])
    return y


def buzz():
    n = int(0.25 * SR)
    t = np.arange(n) / SR
    y = (pulse(98, n, 0.5) + pulse(103.8, n, 0.5)) * 0.3
    gate = np.where((t < 0.1) | ((t > 0.13) & (t < 0.23)), 1.0, 0.0)
    k = int(0.004 * SR)
    gate = np.convolve(gate, np.ones(k) / k, mode="same")
    return y * gate


def answer_click():
    n = int(0.15 * SR)
    t = np.arange(n) / SR
    y = (pulse(1046.5, n, 0.25) * 0.35 + triangle(1046.5, n, steps=0) * 0.5) * np.exp(-t / 0.05)
    y *= np.clip(t / 0.002, 0, 1)
    return y


def shake():
    n = int(0.6 * SR)
    t = np.arange(n) / SR
    sh = noise(n, 13, hp=0.95) * (0.5 + 0.5 * np.sin(2 * np.pi * 14 * t) ** 2) * np.exp(-t / 0.25) * 0.35
    sp = seq([("E6", 1), ("G6", 1), ("C7", 1), ("E7", 1), ("G6", 1), ("C7", 1), ("E7", 1), ("G7", 2)], "arp",
             0.05, 0.25, tail=0.15)
    y = np.zeros(max(n, len(sp)))
    y[:n] += sh
    y[:len(sp)] += sp
    return y[: int(0.62 * SR)]


def cure():
    step = 0.07
    notes = [("C6", 1), ("E6", 1), ("G6", 1), ("B6", 1), ("C7", 1), ("E7", 1), ("G7", 1), ("C8", 4)]
    y = seq(notes, "soft", step, 0.3, tail=0.2)
    y2 = seq(notes, "arp", step, 0.12, tail=0.2)
    y = echo(y + y2, 0.09, 0.35, 3)
    t = np.arange(len(y)) / SR
    y += noise(len(y), 17, hp=0.99) * 0.04 * np.exp(-t / 0.4)
    return y[: int(1.05 * SR)]


def impact():
    n = int(0.4 * SR)
    t = np.arange(n) / SR
    f = 38 + 90 * np.exp(-t / 0.04)
    y = np.sin(2 * np.pi * np.cumsum(f) / SR) * np.exp(-t / 0.12) * 0.9
    nz = noise(n, 21)
    # low-passed noise thump
    k = 40
    nz = np.convolve(nz, np.ones(k) / k, mode="same") * 4
    y += nz * np.exp(-t / 0.05) * 0.5
    return y


# ---------------------------------------------------------------------------

MUSIC_RMS_DB = -17.0     # all looping tracks are brought to this loudness
CEILING_DB = -2.0        # sample peaks before encoding
SFX_PEAK_DB = -3.0       # short sounds: at most this peak ...
SFX_RMS_DB = -14.0       # ... and at most this loudness

TRACKS = {
    # file stem: (function, kind)
    "8bit-Town01": (title_song, "music"),
    "Ru Tororari 160626-223524": (shop_song, "music"),
    "Fekerivila 160627-010926": (cutscene_song, "music"),
    "Mu Judetudi 160626-234500": (round_song, "music"),
    "ME048-151031-gameover07-wav": (gameover, "jingle"),
    "decision24": (decision_jingle, "jingle"),
    "botton": (click, "sfx"),
    "cancel5": (cancel, "sfx"),
    "cursor6": (coin, "sfx"),
    "cursor9": (buzz, "sfx"),
    "decision13": (answer_click, "sfx"),
    "shakin1": (shake, "sfx"),
    "magic-cure1": (cure, "sfx"),
    "Onmtp-Impact06-1": (impact, "sfx"),
}


def db(x):
    return 20 * math.log10(max(x, 1e-12))


def finish(y, kind):
    if y.ndim == 1:
        y = np.stack([y, y], axis=1)
    y = y - y.mean(axis=0)
    if kind == "music":
        rms = math.sqrt(float(np.mean(y ** 2)))
        y = y * 10 ** ((MUSIC_RMS_DB - db(rms)) / 20)
    else:
        rms = math.sqrt(float(np.mean(y ** 2)))
        gain_db = min(SFX_PEAK_DB - db(float(np.max(np.abs(y)))), SFX_RMS_DB - db(rms))
        y = y * 10 ** (gain_db / 20)
    ceiling = 10 ** (CEILING_DB / 20)
    over = np.abs(y) > ceiling * 0.85
    if over.any():
        # soft knee limiter on the few peaks above 85% of the ceiling
        k = ceiling * 0.85
        a = np.abs(y)
        squashed = k + (ceiling - k) * np.tanh((a - k) / (ceiling - k))
        y = np.where(over, np.sign(y) * squashed, y)
    if kind == "music":
        # loops: a few ms of silence at both ends so the joint never clicks,
        # even after the encoder has smeared the edges a little
        quiet = int(0.004 * SR)
        y[:quiet] = 0
        y[-quiet:] = 0
        y[quiet:-quiet] = fade_edges(y[quiet:-quiet], 0.006, 0.008)
        return y
    return fade_edges(y, 0.002, 0.004)


def write_wav(fname, y):
    data = (np.clip(y, -1, 1) * 32767).round().astype("<i2")
    with wave.open(fname, "wb") as w:
        w.setnchannels(2)
        w.setsampwidth(2)
        w.setframerate(SR)
        w.writeframes(data.tobytes())


def main():
    out = sys.argv[1]
    only = sys.argv[2:]
    os.makedirs(out, exist_ok=True)
    for stem, (fn, kind) in TRACKS.items():
        if only and not any(o in stem for o in only):
            continue
        y = finish(fn(), kind)
        write_wav(os.path.join(out, stem + ".wav"), y)
        print("  %-32s %6.2fs  peak %6.2f dBFS  rms %6.2f dBFS" % (
            stem, len(y) / SR, db(float(np.max(np.abs(y)))), db(math.sqrt(float(np.mean(y ** 2))))), flush=True)


if __name__ == "__main__":
    main()
