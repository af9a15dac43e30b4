#!/usr/bin/env python3
"""Draws Tidybar's artwork: res/bar.bmp (bar background) and res/tidybar.ico.

Standard library only and fully deterministic, so re-running it reproduces
the committed files byte for byte.
"""
import math
import os
import struct

RES = os.path.join(os.path.dirname(os.path.abspath(__file__)), os.pardir)
BAR_W, BAR_H = 1021, 92


def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(lerp(a, b, t) for a, b in zip(c1, c2))


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3 - 2 * t)


# ---------------------------------------------------------------- bar.bmp

TOP = (18, 44, 110)       # deep blue
BOTTOM = (16, 92, 108)    # teal
WHITE = (255, 255, 255)
SHEEN = (150, 192, 255)   # tint of the gloss band
GLOW = (130, 225, 235)    # tint of streaks and glows
BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]

# (centre along the x + 0.6*y diagonal, half width, strength)
STREAKS = [(170, 26, 0.050), (214, 9, 0.040), (505, 40, 0.035),
           (690, 14, 0.040), (725, 5, 0.030), (905, 30, 0.035)]
# (cx, cy, radius, strength): big soft glows, mostly off the edges
GLOWS = [(330, 120, 170, 0.07), (620, -40, 120, 0.05), (985, 110, 110, 0.06)]


def bar_pixel(x, y):
    t = y / (BAR_H - 1)
    c = mix(TOP, BOTTOM, t ** 0.9)
    # faint vignette towards both ends
    e = abs(x / (BAR_W - 1) - 0.5) * 2
    c = mix(c, (0, 0, 0), 0.12 * e ** 3)
    light = 0.0
    for cx, cy, r, s in GLOWS:
        d = math.hypot(x - cx, (y - cy) * 1.3) / r
        light += s * max(0.0, 1 - d * d) ** 2
    diag = x + 0.6 * y
    for pos, half, s in STREAKS:
        light += s * math.exp(-((diag - pos) / half) ** 2)
    # glossy band across the upper part, fading out softly
    gloss = smoothstep(42, 31, y) * (0.6 + 0.4 * (1 - y / 42))
    c = mix(c, SHEEN, 0.20 * gloss)
    c = mix(c, GLOW, min(light, 1.0))
    # crisp top highlight and a darker bottom edge
    if y == 0:
        c = mix(c, WHITE, 0.30)
    elif y == 1:
        c = mix(c, WHITE, 0.10)
    dark = {BAR_H - 1: 0.45, BAR_H - 2: 0.25, BAR_H - 3: 0.10}.get(y, 0.0)
    c = mix(c, (0, 0, 0), dark)
    dither = (BAYER[y & 3][x & 3] + 0.5) / 16
    return tuple(min(255, int(v + dither)) for v in c)


def write_bar(path):
    stride = (BAR_W * 3 + 3) & ~3
    pad = b"\0" * (stride - BAR_W * 3)
    rows = []
    for y in range(BAR_H - 1, -1, -1):           # bottom-up
        row = bytearray()
        for x in range(BAR_W):
            r, g, b = bar_pixel(x, y)
            row += bytes((b, g, r))
        rows.append(bytes(row) + pad)
    pixels = b"".join(rows)
    info = struct.pack("<IiiHHIIiiII", 40, BAR_W, BAR_H, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 54)
    with open(path, "wb") as f:
        f.write(head + info + pixels)


# ----------------------------------------------------------- tidybar.ico

def sd_round_rect(u, v, x0, y0, x1, y1, r):
    """Signed distance to a rounded rectangle (negative inside)."""
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    qx = abs(u - cx) - ((x1 - x0) / 2 - r)
    qy = abs(v - cy) - ((y1 - y0) / 2 - r)
    out = math.hypot(max(qx, 0), max(qy, 0))
    return out + min(max(qx, qy), 0) - r


DOTS = [(0.27, (255, 104, 88)), (0.50, (255, 206, 72)), (0.73, (86, 212, 138))]


def icon_sample(u, v, dot_r):
    """Colour (r, g, b, a) of the motif at (u, v) in the unit square."""
    body = sd_round_rect(u, v, 0.04, 0.04, 0.96, 0.96, 0.22)
    if body > 0:
        return (0, 0, 0, 0)
    if body > -0.055:                            # dark rim
        return (12, 30, 72, 255)
    c = mix((52, 104, 186), (20, 52, 120), v)
    if v < 0.30:                                 # soft sheen on the top
        c = mix(c, WHITE, 0.10)
    if sd_round_rect(u, v, 0.18, 0.21, 0.82, 0.39, 0.07) <= 0:
        return (232, 242, 255, 255)
    for dx, col in DOTS:
        if math.hypot(u - dx, v - 0.66) <= dot_r:
            return col + (255,)
    return c + (255,)


def icon_image(size, ss=6):
    """Returns rows top-down of (b, g, r, a) by averaging ss*ss samples."""
    dot_r = 0.075 if size < 24 else 0.095      # keep dots apart when tiny
    rows = []
    for y in range(size):
        row = []
        for x in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(ss):
                for sx in range(ss):
                    r, g, b, a = icon_sample((x + (sx + 0.5) / ss) / size,
                                             (y + (sy + 0.5) / ss) / size,
                                             dot_r)
                    acc[0] += r * a
                    acc[1] += g * a
                    acc[2] += b * a
                    acc[3] += a
            a = round(acc[3] / (ss * ss))
            if a == 0:
                row.append((0, 0, 0, 0))
                continue
            r, g, b = (round(acc[i] / acc[3]) for i in range(3))
            row.append((b, g, r, a))
        rows.append(row)
    return rows


def icon_entry(size):
    rows = icon_image(size)
    xor = b"".join(bytes(v for px in row for v in px) for row in reversed(rows))
    mask_stride = ((size + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, px in enumerate(row):
            if px[3] == 0:
                line[x >> 3] |= 0x80 >> (x & 7)
        mask += line
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + bytes(mask)


def write_icon(path, sizes=(16, 32, 48)):
    images = [icon_entry(s) for s in sizes]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for s, img in zip(sizes, images):
        out += struct.pack("<BBBBHHII", s, s, 0, 0, 1, 32, len(img), offset)
        offset += len(img)
    with open(path, "wb") as f:
        f.write(out + b"".join(images))


if __name__ == "__main__":
    write_bar(os.path.join(RES, "bar.bmp"))
    write_icon(os.path.join(RES, "tidybar.ico"))
