#!/usr/bin/env python3
"""Draws the skins of the windows as PNG pictures with real alpha.

Run by the build; no picture files are committed. Usage: make_skins.py OUT_DIR

The header is dark and opaque; the body is a light, mostly clear veil over the
window colour (so the white label text stays readable on the default black);
buttons are light with a thin frame. Slice widths: 8 for header, body and
panels, 10 for buttons.
"""
import math
import os
import struct
import sys
import zlib

from make_icon import pixel as icon_pixel

SAMPLES = 4


def write_png(path, width, height, rgba_at):
    """rgba_at(x, y) -> (r, g, b, a) straight alpha, 0..255."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)  # filter: none
        for x in range(width):
            raw.extend(bytes(max(0, min(255, int(round(c)))) for c in rgba_at(x, y)))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def inside_rounded(u, v, width, height, radius, square_bottom=False):
    """Whether the point lies inside a rectangle with rounded corners."""
    if square_bottom and v > height / 2:
        return True
    cx = min(max(u, radius), width - radius)
    cy = min(max(v, radius), height - radius)
    return math.hypot(u - cx, v - cy) <= radius


def coverage(x, y, width, height, radius, inset=0.0, square_bottom=False):
    """Anti-aliased share of the pixel inside the (inset) rounded rectangle."""
    hits = 0
    for sy in range(SAMPLES):
        for sx in range(SAMPLES):
            u = x + (sx + 0.5) / SAMPLES - inset
            v = y + (sy + 0.5) / SAMPLES - inset
            w = width - 2 * inset
            h = height - 2 * inset
            if 0 <= u <= w and 0 <= v <= h and inside_rounded(u, v, w, h, max(radius - inset, 0.01), square_bottom):
                hits += 1
    return hits / (SAMPLES * SAMPLES)


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(len(a)))


def framed(width, height, radius, top, bottom, frame, fill_alpha, frame_alpha, square_bottom=False):
    """A rounded shape with a vertical gradient fill and a one-pixel frame."""

    def at(x, y):
        outer = coverage(x, y, width, height, radius, 0.0, square_bottom)
        inner = coverage(x, y, width, height, radius, 1.0, square_bottom)
        colour = mix(top, bottom, y / max(height - 1, 1))
        ring = max(outer - inner, 0.0)
        alpha = inner * fill_alpha + ring * frame_alpha
        if alpha <= 0:
            return (0, 0, 0, 0)
        rgb = tuple((colour[i] * inner * fill_alpha + frame[i] * ring * frame_alpha) / alpha for i in range(3))
        return rgb + (alpha,)

    return at


def arrow(width, height, base):
    """A combo drop button: a button face with a downward triangle."""

    def at(x, y):
        r, g, b, a = base(x, y)
        u = x + 0.5 - width / 2
        v = y + 0.5 - height / 2
        if -2.5 <= v <= 2.5 and abs(u) <= (2.5 - v) * 1.2:
            return (0x36, 0x36, 0x36, 255)
        return (r, g, b, a)

    return at


def check_box(ticked):
    frame = framed(16, 16, 3, (0xFF, 0xFF, 0xFF), (0xE4, 0xE8, 0xEC), (0x5A, 0x66, 0x73), 255, 255)

    def at(x, y):
        if ticked:
            # A tick from (4, 8) down to (7, 11) and up to (12, 4).
            for (x0, y0, x1, y1) in ((3.5, 7.5, 6.5, 10.5), (6.5, 10.5, 12.0, 4.0)):
                px, py = x + 0.5, y + 0.5
                dx, dy = x1 - x0, y1 - y0
                t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy)))
                if math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) < 1.3:
                    return (0x1E, 0x7A, 0x3C, 255)
        return frame(x, y)

    return at


def glyph(strokes, colour=(0xFF, 0xFF, 0xFF), size=(16, 16), width=1.1):
    """A small white picture of line strokes ((x0, y0, x1, y1) in pixels) on
    a clear ground, for the header's picture buttons."""

    def at(x, y):
        best = 0.0
        for sy in range(SAMPLES):
            for sx in range(SAMPLES):
                px, py = x + (sx + 0.5) / SAMPLES, y + (sy + 0.5) / SAMPLES
                for (x0, y0, x1, y1) in strokes:
                    dx, dy = x1 - x0, y1 - y0
                    t = max(0.0, min(1.0, ((px - x0) * dx + (py - y0) * dy) / max(dx * dx + dy * dy, 1e-9)))
                    if math.hypot(px - (x0 + t * dx), py - (y0 + t * dy)) <= width:
                        best += 1
                        break
        return colour + (255 * best / (SAMPLES * SAMPLES),)

    return at


def small_button(sign):
    """The add and delete buttons beside the column heads: 14 x 16, a light
    face with a plus or a minus."""
    face = framed(14, 16, 3, (0xFF, 0xFF, 0xFF), (0xD5, 0xDC, 0xE3), (0x6E, 0x7B, 0x88), 255, 255)
    strokes = [(3.5, 8, 10.5, 8)] + ([(7, 4.5, 7, 11.5)] if sign == "+" else [])
    mark = glyph(strokes, (0x36, 0x36, 0x36), (14, 16), 0.9)

    def at(x, y):
        r, g, b, a = mark(x, y)
        if a > 0:
            base = face(x, y)
            t = a / 255
            return tuple(base[i] * (1 - t) + (r, g, b)[i] * t for i in range(3)) + (max(a, base[3]),)
        return face(x, y)

    return at


def icon(x, y):
    b, g, r, a = icon_pixel(24, x, y)
    return (r, g, b, a)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    light_top, light_bottom = (0xF7, 0xF9, 0xFB), (0xD5, 0xDC, 0xE3)
    button_frame = (0x6E, 0x7B, 0x88)
    skins = {
        # Dark opaque header with rounded top corners, square where the
        # body meets it.
        "header": (64, 32, framed(64, 32, 8, (0x34, 0x46, 0x5A), (0x1C, 0x27, 0x33), (0x0F, 0x16, 0x1D), 255, 255, True)),
        # A light veil: mostly clear so the window colour shows through.
        "body": (64, 64, framed(64, 64, 8, (0xFF, 0xFF, 0xFF), (0xE8, 0xEE, 0xF4), (0xFF, 0xFF, 0xFF), 34, 90)),
        "panel": (32, 32, framed(32, 32, 6, (0xFF, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF), 24, 150)),
        "button": (40, 32, framed(40, 32, 6, light_top, light_bottom, button_frame, 255, 255)),
        "button_selected": (40, 32, framed(40, 32, 6, (0xFF, 0xFF, 0xFF), (0xC4, 0xDC, 0xF2), (0x3C, 0x7C, 0xC0), 255, 255)),
        "button_downed": (40, 32, framed(40, 32, 6, (0xB9, 0xC4, 0xCF), (0xE2, 0xE7, 0xEC), (0x3C, 0x4B, 0x5A), 255, 255)),
        "tick": (16, 16, check_box(True)),
        "check": (16, 16, check_box(False)),
        "icon": (24, 24, icon),
        # The header's picture buttons: views (three bars), tools (a list
        # with a pointer) and minimise (a bar at the bottom).
        "view_button": (16, 16, glyph([(3, 4, 13, 4), (3, 8, 13, 8), (3, 12, 13, 12)])),
        "links_button": (16, 16, glyph([(4, 5, 8, 9), (8, 9, 12, 5), (4, 10, 8, 14), (8, 14, 12, 10)])),
        "minimize_button": (16, 16, glyph([(3, 12, 13, 12)], width=1.3)),
        # The column heads of the lists: a darker band.
        "column_head": (32, 22, framed(32, 22, 4, (0x5A, 0x6B, 0x7D), (0x3A, 0x48, 0x57), (0x2A, 0x35, 0x40), 255, 255)),
        "add_button": (14, 16, small_button("+")),
        "delete_button": (14, 16, small_button("-")),
    }
    for name, face in (("combo_button", ("button", light_top, light_bottom, button_frame)),
                       ("combo_button_selected", ("button_selected", (0xFF, 0xFF, 0xFF), (0xC4, 0xDC, 0xF2), (0x3C, 0x7C, 0xC0))),
                       ("combo_button_downed", ("button_downed", (0xB9, 0xC4, 0xCF), (0xE2, 0xE7, 0xEC), (0x3C, 0x4B, 0x5A)))):
        _, top, bottom, frame = face
        skins[name] = (26, 26, arrow(26, 26, framed(26, 26, 5, top, bottom, frame, 255, 255)))
    for name, (width, height, at) in skins.items():
        write_png(os.path.join(out, name + ".png"), width, height, at)


if __name__ == "__main__":
    main()
