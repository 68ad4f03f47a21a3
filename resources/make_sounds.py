#!/usr/bin/env python3
"""Synthesises the program's three sounds into sounds/*.wav (16-bit mono, 22050 Hz).

Deterministic: the same script always writes the same files.
"""
import math
import os
import random
import struct
import wave

RATE = 22050
HERE = os.path.dirname(os.path.abspath(__file__))


def write(name, samples):
    peak = max(1e-9, max(abs(s) for s in samples))
    scale = 0.8 * 32767 / peak
    with wave.open(os.path.join(HERE, "sounds", name + ".wav"), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(b"".join(struct.pack("<h", int(s * scale)) for s in samples))


def click():
    # A soft wooden tick: a short decaying tone with a touch of noise at its attack.
    rng = random.Random(1)
    n = int(0.045 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        env = math.exp(-t * 140)
        tone = math.sin(2 * math.pi * 1800 * t) * 0.6 + math.sin(2 * math.pi * 2700 * t) * 0.25
        noise = (rng.random() * 2 - 1) * math.exp(-t * 900) * 0.5
        out.append((tone + noise) * env)
    return out


def buzz():
    # A low, slightly rough buzz that says "no" without being harsh.
    n = int(0.22 * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.008)
        release = min(1.0, (n - i) / (0.04 * RATE))
        saw = sum(math.sin(2 * math.pi * 110 * k * t) / k for k in range(1, 9))
        wobble = 1 + 0.15 * math.sin(2 * math.pi * 30 * t)
        out.append(math.tanh(saw * 1.4) * attack * release * wobble)
    return out


def thunder():
    # Rolling thunder: brown noise through a slowly opening low-pass, with a crack and a few rumbles.
    rng = random.Random(7)
    n = int(1.5 * RATE)
    rumbles = [(0.0, 1.0), (0.25, 0.7), (0.55, 0.85), (0.9, 0.5)]
    out = []
    brown = 0.0
    low = 0.0
    for i in range(n):
        t = i / RATE
        brown = (brown + (rng.random() * 2 - 1) * 0.08) * 0.995
        crack = (rng.random() * 2 - 1) * math.exp(-t * 25) * 0.9
        cutoff = 0.02 + 0.06 * math.exp(-t * 3)
        low += cutoff * ((brown * 6 + crack) - low)
        env = 0.0
        for start, gain in rumbles:
            if t >= start:
                dt = t - start
                env += gain * (1 - math.exp(-dt * 40)) * math.exp(-dt * 2.6)
        fade = min(1.0, (n - i) / (0.2 * RATE))
        out.append(low * env * fade)
    return out


if __name__ == "__main__":
    os.makedirs(os.path.join(HERE, "sounds"), exist_ok=True)
    write("CORRECTKEY", click())
    write("WRONGKEY", buzz())
    write("THUNDER", thunder())
