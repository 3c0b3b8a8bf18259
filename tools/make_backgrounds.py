#!/usr/bin/env python3
"""Draws the background pictures the user is offered: landscapes in skin sets.

Run by the build; no picture files are committed, so the pictures are ours.
Usage: make_backgrounds.py OUT_DIR   (writes OUT_DIR/<set>/<name>.png)

Each picture is as wide as the side bar and taller than most screens, so one
tile covers the docked window. Colours stay dark and muted, so the windows'
white text stays readable on them.
"""
import math
import os
import random
import sys

from make_skins import write_png

WIDTH = 256
HEIGHT = 1200


def lerp(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def ridge(seed, base, amplitude, roughness):
    """A mountain or hill line: heights (pixels from the top) per column."""
    rng = random.Random(seed)
    waves = [(rng.uniform(0.5, 1.0) / (k + 1), rng.uniform(0.004, 0.012) * (k + 1) * roughness, rng.uniform(0, 6.3))
             for k in range(5)]
    heights = []
    for x in range(WIDTH):
        h = sum(a * math.sin(f * x + p) for a, f, p in waves)
        # Sharpen the peaks a little for mountains.
        heights.append(base - amplitude * (abs(h) ** 0.8 if roughness > 1.5 else h))
    return heights


def stars(seed, count, bottom):
    rng = random.Random(seed)
    return {(rng.randrange(WIDTH), rng.randrange(int(bottom))): rng.uniform(0.4, 1.0) for _ in range(count)}


def landscape(sky_top, sky_bottom, glow, sun, layers, water=None, star_count=0, seed=1):
    """sky gradient, a sun or moon (x, y, radius, colour), ridge layers from
    far to near ((heights, colour top, colour bottom)), optional water below a
    horizon ((y, colour top, colour bottom))."""
    horizon = water[0] if water else HEIGHT
    sky_stars = stars(seed, star_count, horizon * 0.7) if star_count else {}

    def sky(x, y):
        c = lerp(sky_top, sky_bottom, y / horizon)
        if sun:
            sx, sy, sr, scol = sun
            d = math.hypot(x - sx, y - sy)
            if d <= sr:
                return lerp(scol, c, max(0.0, d - sr + 1))
            c = lerp(c, glow, 0.55 * math.exp(-(d - sr) / (sr * 2.5)))
        if (x, y) in sky_stars:
            c = lerp(c, (255, 255, 240), sky_stars[(x, y)])
        return c

    def at(x, y):
        colour = None
        if water and y >= horizon:
            wy, wtop, wbottom = water
            mirror = 2 * wy - y
            above = sky(x, max(0, mirror))
            for heights, top, bottom in layers:
                if mirror >= heights[x]:
                    above = lerp(top, bottom, (mirror - heights[x]) / max(1.0, wy - heights[x]))
            base = lerp(wtop, wbottom, (y - wy) / (HEIGHT - wy))
            ripple = 0.5 + 0.5 * math.sin(y * 0.9 + math.sin(x * 0.05 + y * 0.02) * 3)
            colour = lerp(above, base, 0.55 + 0.25 * ripple)
        else:
            colour = sky(x, y)
            for heights, top, bottom in layers:
                if y >= heights[x]:
                    colour = lerp(top, bottom, (y - heights[x]) / max(1.0, HEIGHT - heights[x]))
        return colour + (255,)

    return at


def pictures():
    return {
        "Mountains": {
            "Alpine Dawn": landscape(
                (0x2A, 0x33, 0x5C), (0xC0, 0x7A, 0x6A), (0xF0, 0xB0, 0x80), (180, 250, 26, (0xFF, 0xE4, 0xB0)),
                [(ridge(11, 300, 60, 2.0), (0x5C, 0x5E, 0x7E), (0x3C, 0x40, 0x5A)),
                 (ridge(12, 380, 70, 2.2), (0x3A, 0x3E, 0x58), (0x22, 0x26, 0x38)),
                 (ridge(13, 470, 40, 1.0), (0x24, 0x34, 0x2C), (0x12, 0x1C, 0x16))]),
            "Alpine Dusk": landscape(
                (0x1C, 0x1A, 0x3A), (0x8E, 0x3E, 0x52), (0xE0, 0x70, 0x50), (70, 330, 30, (0xFF, 0xB0, 0x70)),
                [(ridge(21, 310, 70, 2.4), (0x4A, 0x30, 0x4E), (0x2E, 0x20, 0x36)),
                 (ridge(22, 400, 60, 2.0), (0x2C, 0x1E, 0x30), (0x18, 0x12, 0x1E)),
                 (ridge(23, 500, 30, 1.0), (0x16, 0x14, 0x1C), (0x0A, 0x0A, 0x10))]),
            "Alpine Night": landscape(
                (0x05, 0x08, 0x18), (0x1C, 0x2A, 0x4A), (0x70, 0x80, 0xA0), (190, 110, 16, (0xF0, 0xF0, 0xE0)),
                [(ridge(31, 320, 80, 2.4), (0x2C, 0x34, 0x4C), (0x18, 0x1E, 0x30)),
                 (ridge(32, 430, 50, 1.2), (0x10, 0x16, 0x22), (0x06, 0x0A, 0x10))], star_count=260, seed=3),
        },
        "Coast": {
            "Coast Morning": landscape(
                (0x3A, 0x5A, 0x86), (0xA8, 0xB8, 0xC4), (0xF0, 0xE0, 0xB0), (60, 380, 22, (0xFF, 0xF4, 0xD0)),
                [(ridge(41, 400, 30, 1.0), (0x4A, 0x5C, 0x6A), (0x3A, 0x4C, 0x5A))],
                water=(420, (0x2E, 0x4C, 0x6A), (0x10, 0x22, 0x34))),
            "Coast Sunset": landscape(
                (0x2C, 0x1E, 0x44), (0xD0, 0x6A, 0x3C), (0xFF, 0x90, 0x40), (150, 395, 34, (0xFF, 0xC0, 0x60)),
                [(ridge(51, 405, 24, 1.0), (0x3A, 0x22, 0x2E), (0x2A, 0x18, 0x22))],
                water=(420, (0x5A, 0x2E, 0x30), (0x16, 0x0E, 0x1A))),
            "Coast Night": landscape(
                (0x04, 0x06, 0x14), (0x12, 0x22, 0x3C), (0x60, 0x70, 0x90), (80, 160, 14, (0xE8, 0xEC, 0xF0)),
                [(ridge(61, 410, 20, 1.0), (0x0E, 0x14, 0x20), (0x08, 0x0C, 0x14))],
                water=(430, (0x10, 0x1C, 0x2E), (0x04, 0x08, 0x10)), star_count=220, seed=6),
        },
    }


def main():
    out = sys.argv[1]
    for skin_set, members in pictures().items():
        folder = os.path.join(out, skin_set)
        os.makedirs(folder, exist_ok=True)
        for name, at in members.items():
            write_png(os.path.join(folder, name + ".png"), WIDTH, HEIGHT, at)


if __name__ == "__main__":
    main()
