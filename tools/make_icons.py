#!/usr/bin/python3
"""Draws Tarvel's icons and writes them as ICO files.

mainicon.ico: a faceted red gem in a blue eight-pointed star, 32x32 and 16x16 at 8 bits per
pixel (256-colour palette, AND mask). info.ico: a white speech balloon with a blue letter i,
32x32 at 32 bits per pixel with alpha.

The shapes are polygons in a 0..1 square, painted in order with 16x16 samples per pixel.
Output depends only on this file, so the same bytes come out every time.

usage: make_icons.py OUTPUT_DIR
"""

import math
import os
import struct
import sys

SAMPLES = 16


def regular(cx, cy, radius, count, phase):
    return [(cx + radius * math.cos(phase + 2 * math.pi * k / count),
             cy + radius * math.sin(phase + 2 * math.pi * k / count)) for k in range(count)]


def star(cx, cy, outer, inner, points, phase):
    pts = []
    for k in range(points * 2):
        r = outer if k % 2 == 0 else inner
        a = phase + math.pi * k / points
        pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def ellipse(cx, cy, rx, ry, count=48):
    return [(cx + rx * math.cos(2 * math.pi * k / count), cy + ry * math.sin(2 * math.pi * k / count))
            for k in range(count)]


def inset(poly, d):
    """Moves every edge of a convex polygon (either winding) inwards by d."""
    n = len(poly)
    area = sum(poly[i][0] * poly[(i + 1) % n][1] - poly[(i + 1) % n][0] * poly[i][1]
               for i in range(n))
    sign = 1 if area > 0 else -1
    lines = []
    for i in range(n):
        (x1, y1), (x2, y2) = poly[i], poly[(i + 1) % n]
        length = math.hypot(x2 - x1, y2 - y1)
        nx, ny = -(y2 - y1) / length * sign, (x2 - x1) / length * sign
        lines.append(((x1 + nx * d, y1 + ny * d), (x2 - x1, y2 - y1)))
    out = []
    for i in range(n):
        (p1, d1), (p2, d2) = lines[i - 1], lines[i]
        det = d1[0] * d2[1] - d1[1] * d2[0]
        t = ((p2[0] - p1[0]) * d2[1] - (p2[1] - p1[1]) * d2[0]) / det
        out.append((p1[0] + t * d1[0], p1[1] + t * d1[1]))
    return out


def inside(poly, x, y):
    hit = False
    j = len(poly) - 1
    for i in range(len(poly)):
        xi, yi = poly[i]
        xj, yj = poly[j]
        if (yi > y) != (yj > y) and x < (xj - xi) * (y - yi) / (yj - yi) + xi:
            hit = not hit
        j = i
    return hit


def render(size, layers):
    """Paints layers [(polygon, (r, g, b))] and returns rows of (r, g, b, a) pixels.

    Colour is averaged over the covered samples only, so edge pixels keep the shape's own
    colour and only their alpha falls off."""
    rows = []
    step = 1.0 / (size * SAMPLES)
    for py in range(size):
        row = []
        for px in range(size):
            r = g = b = n = 0
            for sy in range(SAMPLES):
                y = (py * SAMPLES + sy + 0.5) * step
                for sx in range(SAMPLES):
                    x = (px * SAMPLES + sx + 0.5) * step
                    colour = None
                    for poly, c in reversed(layers):
                        if inside(poly, x, y):
                            colour = c
                            break
                    if colour is not None:
                        r += colour[0]
                        g += colour[1]
                        b += colour[2]
                        n += 1
            if n == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append((round(r / n), round(g / n), round(b / n),
                            round(255 * n / (SAMPLES * SAMPLES))))
        rows.append(row)
    return rows


# --- the main icon -------------------------------------------------------------------------

STAR_EDGE = (10, 32, 110)
STAR_BLUE = (32, 84, 200)
STAR_LIGHT = (110, 160, 240)
GEM_EDGE = (90, 0, 0)
GEM_DARK = (150, 8, 12)
GEM_MID = (205, 24, 30)
GEM_LIGHT = (245, 95, 95)
GEM_TABLE = (255, 150, 150)
GEM_SHINE = (255, 230, 230)


def gem_layers(cx, cy, radius, table, edge):
    phase = math.pi / 8
    outer = regular(cx, cy, radius, 8, phase)
    layers = [(regular(cx, cy, radius + edge, 8, phase), GEM_EDGE)]
    inner = regular(cx, cy, radius * table, 8, phase)
    # Light falls from the top left: facets facing it are lighter.
    for k in range(8):
        a = outer[k]
        b = outer[(k + 1) % 8]
        mid_angle = phase + 2 * math.pi * (k + 0.5) / 8
        facing = -math.cos(mid_angle - math.radians(225))
        if facing > 0.5:
            colour = GEM_DARK
        elif facing > -0.3:
            colour = GEM_MID
        else:
            colour = GEM_LIGHT
        layers.append(([a, b, inner[(k + 1) % 8], inner[k]], colour))
    layers.append((inner, GEM_TABLE))
    return layers


def main_icon_layers(size):
    c = 0.5
    if size >= 32:
        edge = 1.0 / size
        layers = [
            (star(c, c, 0.5, 0.35, 8, -math.pi / 2), STAR_EDGE),
            (star(c, c, 0.5 - 1.8 * edge, 0.35 - edge, 8, -math.pi / 2), STAR_BLUE),
            (regular(c, c, 0.325, 16, 0), STAR_LIGHT),
        ]
        layers += gem_layers(c, c, 0.26, 0.5, edge)
        layers.append((regular(0.43, 0.42, 0.035, 8, 0), GEM_SHINE))
    else:
        # At 16 pixels the star is a square and a diamond, so that its edges fall on pixels.
        px = 1.0 / size
        square = [(2 * px, 2 * px), (14 * px, 2 * px), (14 * px, 14 * px), (2 * px, 14 * px)]
        diamond = [(c, 0.0), (1.0, c), (c, 1.0), (0.0, c)]
        layers = [
            (square, STAR_EDGE),
            (diamond, STAR_EDGE),
            (inset(square, px), STAR_BLUE),
            (inset(diamond, 1.2 * px), STAR_BLUE),
        ]
        layers += gem_layers(c, c, 3.9 * px, 0.45, 0.8 * px)
    return layers


# --- the information picture ---------------------------------------------------------------

BALLOON_EDGE = (40, 48, 64)
BALLOON_WHITE = (255, 255, 255)
LETTER_BLUE = (24, 72, 196)


def info_layers():
    px = 1.0 / 32
    body = ellipse(0.5, 0.43, 0.47, 0.38, 64)
    tail = [(0.18, 0.58), (0.50, 0.68), (0.08, 0.95)]
    return [
        (body, BALLOON_EDGE),
        (tail, BALLOON_EDGE),
        (inset(body, 1.4 * px), BALLOON_WHITE),
        (inset(tail, 1.4 * px), BALLOON_WHITE),
        (ellipse(0.5, 0.225, 0.068, 0.068, 24), LETTER_BLUE),
        ([(0.39, 0.34), (0.56, 0.34), (0.56, 0.60), (0.61, 0.60), (0.61, 0.66),
          (0.39, 0.66), (0.39, 0.60), (0.445, 0.60), (0.445, 0.40), (0.39, 0.40)], LETTER_BLUE),
    ]


# --- ICO writing ---------------------------------------------------------------------------


def median_cut(colours, limit):
    """Reduces {colour: count} to at most `limit` colours; returns the palette."""
    if len(colours) <= limit:
        return sorted(colours)
    boxes = [sorted(colours.items())]
    while len(boxes) < limit:
        best = None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            spans = [max(c[ch] for c, _ in box) - min(c[ch] for c, _ in box) for ch in range(3)]
            span = max(spans)
            if best is None or span > best[0]:
                best = (span, i, spans.index(span))
        if best is None:
            break
        _, i, ch = best
        box = sorted(boxes.pop(i), key=lambda item: (item[0][ch], item[0]))
        total = sum(n for _, n in box)
        run = 0
        cut = 1
        for k, (_, n) in enumerate(box[:-1]):
            run += n
            cut = k + 1
            if run * 2 >= total:
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(round(sum(c[ch] * n for c, n in box) / total) for ch in range(3)))
    return sorted(set(palette))


def and_mask(pixels, size):
    """1 bit per pixel, bottom-up, rows padded to 4 bytes; 1 = transparent."""
    stride = ((size + 31) // 32) * 4
    data = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, p in enumerate(row):
            if p[3] < 128:
                line[x // 8] |= 0x80 >> (x % 8)
        data += line
    return bytes(data)


def bitmap_header(size, bpp, image_bytes, colours):
    return struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, bpp, 0, image_bytes, 0, 0, colours, 0)


def bmp_8bit(pixels, size):
    opaque = {}
    for row in pixels:
        for p in row:
            if p[3] >= 128:
                opaque[p[:3]] = opaque.get(p[:3], 0) + 1
    palette = [(0, 0, 0)] + median_cut(opaque, 255)
    cache = {}

    def index(rgb):
        if rgb not in cache:
            cache[rgb] = min(range(1, len(palette)),
                             key=lambda i: sum((a - b) ** 2 for a, b in zip(palette[i], rgb)))
        return cache[rgb]

    stride = (size + 3) // 4 * 4
    xor = bytearray()
    for row in reversed(pixels):
        line = bytearray(stride)
        for x, p in enumerate(row):
            line[x] = index(p[:3]) if p[3] >= 128 else 0
        xor += line
    mask = and_mask(pixels, size)
    table = b''.join(struct.pack('<BBBB', b, g, r, 0) for r, g, b in palette)
    table += b'\0' * (4 * (256 - len(palette)))
    return bitmap_header(size, 8, len(xor) + len(mask), 256) + table + bytes(xor) + mask


def bmp_32bit(pixels, size):
    xor = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            xor += bytes((b, g, r, a) if a else (0, 0, 0, 0))
    mask = and_mask(pixels, size)
    return bitmap_header(size, 32, len(xor) + len(mask), 0) + bytes(xor) + mask


def write_ico(path, images):
    """images: [(size, bits_per_pixel, bmp_bytes)]."""
    out = bytearray(struct.pack('<HHH', 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for size, bpp, data in images:
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, bpp, len(data), offset)
        offset += len(data)
    for _, _, data in images:
        out += data
    with open(path, 'wb') as f:
        f.write(out)


def main():
    if len(sys.argv) != 2:
        sys.exit('usage: make_icons.py OUTPUT_DIR')
    out_dir = sys.argv[1]
    os.makedirs(out_dir, exist_ok=True)
    write_ico(os.path.join(out_dir, 'mainicon.ico'),
              [(s, 8, bmp_8bit(render(s, main_icon_layers(s)), s)) for s in (32, 16)])
    write_ico(os.path.join(out_dir, 'info.ico'), [(32, 32, bmp_32bit(render(32, info_layers()), 32))])


if __name__ == '__main__':
    main()
