#!/usr/bin/python3
"""Synthesises the capture sound shipped beside Orvanta.exe.

    /usr/bin/python3 scripts/make_sound.py [OUT]     (default res/capture.wav)

Python's standard library only. A soft shutter: a short burst of filtered noise (the
blades), then two bell-like partials a fifth apart that die away within a quarter second.
22050 Hz, 16-bit mono, about 11 KB. Deterministic: the noise comes from a fixed seed.
"""
import math
import random
import struct
import sys
import wave

RATE = 22050
LENGTH = 0.26  # seconds


def samples():
    rng = random.Random(20261206)
    low = 0.0
    n = int(RATE * LENGTH)
    for i in range(n):
        t = i / RATE
        # The blades: noise through a one-pole low-pass, 12 ms with a quick fade.
        low += 0.35 * (rng.uniform(-1, 1) - low)
        click = low * math.exp(-t / 0.004) * (1 if t < 0.012 else 0)
        # The chime: A6 and E7, starting 15 ms in, a 3 ms rise and a 60 ms decay.
        c = t - 0.015
        bell = 0.0
        if c > 0:
            env = min(1.0, c / 0.003) * math.exp(-c / 0.06)
            bell = env * (0.55 * math.sin(2 * math.pi * 1760 * c) + 0.25 * math.sin(2 * math.pi * 2637 * c))
        # A gentle fade over the last 20 ms so the end never clicks.
        tail = min(1.0, (LENGTH - t) / 0.02)
        yield max(-1.0, min(1.0, (0.9 * click + 0.6 * bell) * tail))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "res/capture.wav"
    frames = b"".join(struct.pack("<h", int(round(s * 26000))) for s in samples())
    with wave.open(out, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)
    print(f"{out}: {len(frames) // 2} samples")


if __name__ == "__main__":
    main()
