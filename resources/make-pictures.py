#!/usr/bin/env python3
"""Draws the program's pictures: the radio banner (147), the radio picture (148), the
"Firm Utility" lettering (149), each also at twice the size ("@2x", for scaled screens), and the
application icon (PNG sizes and SVG).

Only Python's standard library: a small anti-aliased polygon rasteriser, a stroke font for the
few letters needed, and writers for BMP, PNG and SVG. Run it from anywhere; it rewrites the files
in resources/bitmaps and resources/icons next to this script. The output is deterministic.
"""

import math
import os
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# Vertical samples per pixel; horizontal coverage is computed exactly.
SUBROWS = 5


# ---------------------------------------------------------------- geometry

def signed_area(contour):
    area = 0.0
    for i, (x0, y0) in enumerate(contour):
        x1, y1 = contour[(i + 1) % len(contour)]
        area += x0 * y1 - x1 * y0
    return area / 2.0


def oriented(contour, positive=True):
    """The contour with a fixed winding, so that overlapping parts unite and holes cut."""
    if (signed_area(contour) > 0) != positive:
        return list(reversed(contour))
    return list(contour)


def arc_points(cx, cy, r, a0, a1, step_deg=6.0, ry=None):
    """Points on an arc from angle a0 to a1 (degrees, clockwise on screen as y grows down)."""
    ry = r if ry is None else ry
    n = max(2, int(abs(a1 - a0) / step_deg) + 1)
    return [(cx + r * math.cos(math.radians(a0 + (a1 - a0) * i / (n - 1))),
             cy + ry * math.sin(math.radians(a0 + (a1 - a0) * i / (n - 1)))) for i in range(n)]


def ellipse(cx, cy, rx, ry=None):
    ry = rx if ry is None else ry
    n = max(24, int(max(rx, ry) * 4))
    return [(cx + rx * math.cos(2 * math.pi * i / n), cy + ry * math.sin(2 * math.pi * i / n))
            for i in range(n)]


def rect(x, y, w, h):
    return [(x, y), (x + w, y), (x + w, y + h), (x, y + h)]


def rrect(x, y, w, h, r):
    r = min(r, w / 2.0, h / 2.0)
    if r <= 0:
        return rect(x, y, w, h)
    pts = []
    pts += arc_points(x + w - r, y + r, r, -90, 0)
    pts += arc_points(x + w - r, y + h - r, r, 0, 90)
    pts += arc_points(x + r, y + h - r, r, 90, 180)
    pts += arc_points(x + r, y + r, r, 180, 270)
    return pts


def ring(cx, cy, r_out, r_in):
    return [oriented(ellipse(cx, cy, r_out), True), oriented(ellipse(cx, cy, r_in), False)]


def stroke(points, width, closed=False):
    """A polyline as a union of quads with round joins and caps."""
    half = width / 2.0
    contours = []
    segs = list(zip(points, points[1:] + (points[:1] if closed else [])))
    for (x0, y0), (x1, y1) in segs:
        dx, dy = x1 - x0, y1 - y0
        length = math.hypot(dx, dy)
        if length == 0:
            continue
        nx, ny = -dy / length * half, dx / length * half
        contours.append(oriented([(x0 + nx, y0 + ny), (x1 + nx, y1 + ny),
                                  (x1 - nx, y1 - ny), (x0 - nx, y0 - ny)]))
    for (x, y) in points:
        contours.append(oriented(ellipse(x, y, half)))
    return contours


def transform(contours, fn):
    return [[fn(x, y) for (x, y) in c] for c in contours]


def as_contours(shape):
    """Accepts one contour or a list of them."""
    if shape and isinstance(shape[0], tuple):
        return [shape]
    return shape


# ---------------------------------------------------------------- paints

def mix(c0, c1, t):
    t = min(1.0, max(0.0, t))
    return tuple(a + (b - a) * t for a, b in zip(c0, c1))


def hexrgb(text):
    text = text.lstrip('#')
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


def sample_stops(stops, t):
    """The colour of a gradient at position t, between its (position, colour) stops."""
    if t <= stops[0][0]:
        return stops[0][1]
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, (t - t0) / ((t1 - t0) or 1.0))
    return stops[-1][1]


class Linear:
    """A linear gradient between two points with colour stops, usable in SVG as well."""

    def __init__(self, x0, y0, x1, y1, *stops):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.stops = [(t, hexrgb(c) if isinstance(c, str) else c) for t, c in stops]
        dx, dy = x1 - x0, y1 - y0
        self.len2 = dx * dx + dy * dy or 1.0

    def __call__(self, x, y):
        t = ((x - self.x0) * (self.x1 - self.x0) + (y - self.y0) * (self.y1 - self.y0)) / self.len2
        return sample_stops(self.stops, t)


class Radial:
    def __init__(self, cx, cy, r, *stops):
        self.cx, self.cy, self.r = cx, cy, r
        self.stops = [(t, hexrgb(c) if isinstance(c, str) else c) for t, c in stops]

    def __call__(self, x, y):
        t = math.hypot(x - self.cx, y - self.cy) / self.r
        return sample_stops(self.stops, t)


# ---------------------------------------------------------------- rasteriser

# Pixels per unit of drawing: 2 draws the same picture for screens of twice the density.
SCALE = 1


class Canvas:
    def __init__(self, width, height, background=(255, 255, 255), alpha=1.0):
        self.scale = SCALE
        self.w, self.h = width * self.scale, height * self.scale
        self.px = [[float(c) for c in background] + [alpha] for _ in range(self.w * self.h)]

    def fill(self, shape, paint, opacity=1.0):
        """Fills the union of the contours (non-zero winding) with a colour or a paint."""
        contours = as_contours(shape)
        if self.scale != 1:
            contours = [[(x * self.scale, y * self.scale) for x, y in c] for c in contours]
        edges = []
        for c in contours:
            for i, (x0, y0) in enumerate(c):
                x1, y1 = c[(i + 1) % len(c)]
                if y0 == y1:
                    continue
                direction = 1 if y1 > y0 else -1
                if y0 > y1:
                    x0, y0, x1, y1 = x1, y1, x0, y0
                edges.append((y0, y1, x0, (x1 - x0) / (y1 - y0), direction))
        if not edges:
            return
        top = max(0, int(math.floor(min(e[0] for e in edges))))
        bottom = min(self.h, int(math.ceil(max(e[1] for e in edges))))
        solid = paint if isinstance(paint, tuple) else None
        for iy in range(top, bottom):
            row_edges = [e for e in edges if e[0] < iy + 1 and e[1] > iy]
            if not row_edges:
                continue
            coverage = {}
            for j in range(SUBROWS):
                sy = iy + (j + 0.5) / SUBROWS
                crossings = sorted((e[2] + (sy - e[0]) * e[3], e[4])
                                   for e in row_edges if e[0] <= sy < e[1])
                winding = 0
                start = None
                for x, d in crossings:
                    before = winding
                    winding += d
                    if before == 0 and winding != 0:
                        start = x
                    elif before != 0 and winding == 0:
                        self._span(coverage, start, x)
            base = iy * self.w
            for ix, cov in coverage.items():
                a = min(1.0, cov / SUBROWS) * opacity
                if a <= 0:
                    continue
                colour = solid or paint((ix + 0.5) / self.scale, (iy + 0.5) / self.scale)
                p = self.px[base + ix]
                # "over" compositing; the canvas may itself be transparent (icons)
                out_a = a + p[3] * (1 - a)
                if out_a > 0:
                    for k in range(3):
                        p[k] = (colour[k] * a + p[k] * p[3] * (1 - a)) / out_a
                p[3] = out_a

    def _span(self, coverage, xa, xb):
        xa, xb = max(0.0, xa), min(float(self.w), xb)
        if xb <= xa:
            return
        ia, ib = int(xa), int(xb)
        if ia == ib:
            coverage[ia] = coverage.get(ia, 0.0) + (xb - xa)
            return
        coverage[ia] = coverage.get(ia, 0.0) + (ia + 1 - xa)
        for ix in range(ia + 1, ib):
            coverage[ix] = coverage.get(ix, 0.0) + 1.0
        if ib < self.w and xb > ib:
            coverage[ib] = coverage.get(ib, 0.0) + (xb - ib)

    def rgb_rows(self):
        for y in range(self.h):
            yield [tuple(max(0, min(255, int(round(c)))) for c in self.px[y * self.w + x][:3])
                   for x in range(self.w)]

    def rgba_rows(self):
        for y in range(self.h):
            yield [tuple(max(0, min(255, int(round(c)))) for c in self.px[y * self.w + x][:3])
                   + (max(0, min(255, int(round(self.px[y * self.w + x][3] * 255)))),)
                   for x in range(self.w)]


# ---------------------------------------------------------------- file writers

def bmp_bytes(width, height, bit_count, rows, palette=()):
    """A bottom-up BMP with a 40-byte information header and, up to 8 bits, a colour table."""
    stride = ((width * bit_count + 31) // 32) * 4
    pixel_data = bytearray()
    for row in reversed(rows):
        line = bytearray()
        if bit_count == 24:
            for r, g, b in row:
                line += bytes((b, g, r))
        elif bit_count == 4:
            for i in range(0, width, 2):
                hi = row[i]
                lo = row[i + 1] if i + 1 < width else 0
                line.append((hi << 4) | lo)
        line += bytes(stride - len(line))
        pixel_data += line
    table = b''.join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(table)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, bit_count, 0, len(pixel_data),
                       2835, 2835, len(palette), len(palette))
    header = struct.pack('<2sIHHI', b'BM', offset + len(pixel_data), 0, 0, offset)
    return header + info + table + bytes(pixel_data)


def png_bytes(width, height, rgba_rows):
    raw = bytearray()
    for row in rgba_rows:
        raw.append(0)
        for px in row:
            raw += bytes(px)

    def chunk(kind, data):
        return (struct.pack('>I', len(data)) + kind + data
                + struct.pack('>I', zlib.crc32(kind + data) & 0xffffffff))

    return (b'\x89PNG\r\n\x1a\n'
            + chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
            + chunk(b'IDAT', zlib.compress(bytes(raw), 9))
            + chunk(b'IEND', b''))


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'wb') as f:
        f.write(data)
    print('wrote', os.path.relpath(path, HERE), len(data), 'bytes')


# ---------------------------------------------------------------- stroke font

# Glyphs on a grid with the baseline at 0, capitals 1 high, small letters 0.7; y grows upward.
# Each glyph: (advance, list of polylines, list of dots (x, y)).
def _glyphs():
    def arc(cx, cy, r, a0, a1, rx=None):
        rx = r if rx is None else rx
        n = max(3, int(abs(a1 - a0) / 10) + 1)
        return [(cx + rx * math.cos(math.radians(a0 + (a1 - a0) * i / (n - 1))),
                 cy + r * math.sin(math.radians(a0 + (a1 - a0) * i / (n - 1)))) for i in range(n)]

    g = {}
    g['F'] = (0.56, [[(0.56, 1), (0, 1), (0, 0)], [(0, 0.53), (0.46, 0.53)]], [])
    g['U'] = (0.66, [[(0, 1)] + arc(0.33, 0.33, 0.33, 180, 360) + [(0.66, 1)]], [])
    g['Z'] = (0.62, [[(0.02, 1), (0.62, 1), (0, 0), (0.62, 0)]], [])
    g['E'] = (0.56, [[(0.56, 1), (0, 1), (0, 0), (0.56, 0)], [(0, 0.52), (0.46, 0.52)]], [])
    g['R'] = (0.62, [[(0, 0), (0, 1), (0.33, 1)] + arc(0.33, 0.75, 0.25, 90, -90) + [(0, 0.5)],
                     [(0.3, 0.5), (0.62, 0)]], [])
    g['L'] = (0.5, [[(0, 1), (0, 0), (0.5, 0)]], [])
    g['I'] = (0.0, [[(0, 0), (0, 1)]], [])
    g['N'] = (0.66, [[(0, 0), (0, 1), (0.66, 0), (0.66, 1)]], [])
    g['D'] = (0.7, [[(0, 0), (0, 1), (0.2, 1)] + arc(0.2, 0.5, 0.5, 90, -90) + [(0, 0)]], [])
    g['i'] = (0.0, [[(0, 0), (0, 0.7)]], [(0, 0.98)])
    g['l'] = (0.0, [[(0, 0), (0, 1.05)]], [])
    g['r'] = (0.4, [[(0, 0), (0, 0.7)], [(0, 0.36)] + arc(0.34, 0.36, 0.34, 180, 80, rx=0.34)], [])
    g['m'] = (0.86, [[(0, 0), (0, 0.7)],
                     [(0, 0.44)] + arc(0.215, 0.45, 0.215, 180, 0) + [(0.43, 0)],
                     [(0.43, 0.44)] + arc(0.645, 0.45, 0.215, 180, 0) + [(0.86, 0)]], [])
    g['t'] = (0.36, [[(0.1, 0.95), (0.1, 0.16)] + arc(0.3, 0.16, 0.2, 180, 270) + [(0.38, -0.04)],
                     [(0, 0.7), (0.36, 0.7)]], [])
    g['y'] = (0.6, [[(0, 0.7), (0.3, 0.02)], [(0.6, 0.7), (0.2, -0.26), (0.04, -0.27)]], [])
    g[' '] = (0.3, [], [])
    return g


GLYPHS = _glyphs()


def lettering(text, x, baseline, cap, weight, slant=0.0, spacing=0.1):
    """Contours of `text` set from (x, baseline) with capital height `cap` pixels and strokes
    `weight` pixels wide; returns (contours, right edge)."""
    contours = []
    pen = x + weight / 2.0
    for ch in text:
        advance, lines, dots = GLYPHS[ch]

        def to_px(px, py, origin=pen):
            return (origin + px * cap + slant * py * cap, baseline - py * cap)

        for line in lines:
            contours += stroke([to_px(px, py) for px, py in line], weight)
        for dx, dy in dots:
            cx, cy = to_px(dx, dy)
            contours.append(oriented(ellipse(cx, cy, weight * 0.62)))
        pen += advance * cap + (weight + spacing * cap if ch != ' ' else 0)
    return contours, pen - spacing * cap - weight / 2.0


def lettering_width(text, cap, weight, spacing=0.1):
    return lettering(text, 0, 0, cap, weight, 0.0, spacing)[1]


# ---------------------------------------------------------------- seven-segment digits

SEGMENTS = {
    '0': 'abcdef', '1': 'bc', '2': 'abged', '3': 'abgcd', '4': 'fgbc', '5': 'afgcd',
    '6': 'afgedc', '7': 'abc', '8': 'abcdefg', '9': 'abcfgd',
}


def segment_shapes(x, y, w, h, t, slant=0.12):
    """The seven segments of a digit cell as hexagons, slanted like an LCD."""
    half = t / 2.0
    g = 0.6 * t / 2.0  # gap at the joints
    mid = y + h / 2.0

    def horiz(cy):
        return [(x + g + half, cy), (x + g + t, cy - half), (x + w - g - t, cy - half),
                (x + w - g - half, cy), (x + w - g - t, cy + half), (x + g + t, cy + half)]

    def vert(cx, y0, y1):
        return [(cx, y0 + g + half), (cx + half, y0 + g + t), (cx + half, y1 - g - t),
                (cx, y1 - g - half), (cx - half, y1 - g - t), (cx - half, y0 + g + t)]

    shapes = {
        'a': horiz(y + half), 'g': horiz(mid), 'd': horiz(y + h - half),
        'f': vert(x + half, y, mid), 'b': vert(x + w - half, y, mid),
        'e': vert(x + half, mid, y + h), 'c': vert(x + w - half, mid, y + h),
    }
    return {k: [(px + slant * (y + h - py), py) for px, py in v] for k, v in shapes.items()}


def seven_segment(canvas, text, x, y, w, h, t, lit, unlit, gap):
    pen = x
    for ch in text:
        if ch == '.':
            canvas.fill(ellipse(pen - gap / 2.0 + 0.3, y + h - t / 2.0, t * 0.55), lit)
            continue
        shapes = segment_shapes(pen, y, w, h, t)
        for name, shape in shapes.items():
            on = name in SEGMENTS[ch]
            canvas.fill(shape, lit if on else unlit, 1.0 if on else 0.07)
        pen += w + gap


# ---------------------------------------------------------------- the radio

def knob(canvas, cx, cy, r, s, pointer_deg=None, knurl=True):
    """A knob seen from the front: skirt, knurled rim, face with a soft highlight."""
    canvas.fill(ellipse(cx + 0.8 * s, cy + 1.6 * s, r * 1.04), (10, 11, 13), 0.55)  # shadow
    canvas.fill(ellipse(cx, cy, r), Linear(cx, cy - r, cx, cy + r, (0, '#6b7179'), (1, '#1a1d21')))
    if knurl:
        ticks = max(24, int(r * 1.6))
        for i in range(ticks):
            a = 2 * math.pi * i / ticks
            x0, y0 = cx + math.cos(a) * r * 0.86, cy + math.sin(a) * r * 0.86
            x1, y1 = cx + math.cos(a) * r * 0.985, cy + math.sin(a) * r * 0.985
            shade = 0.35 + 0.3 * (1 - math.sin(a))  # lighter towards the top
            canvas.fill(stroke([(x0, y0), (x1, y1)], max(0.6, r * 0.045)),
                        (18, 20, 23), shade)
    face = r * 0.8
    canvas.fill(ellipse(cx, cy, face),
                Linear(cx - face, cy - face, cx + face, cy + face,
                       (0, '#8a9099'), (0.45, '#4b5159'), (1, '#23272c')))
    canvas.fill(ring(cx, cy, face, face * 0.93), (25, 27, 31), 0.5)
    canvas.fill(ellipse(cx - face * 0.28, cy - face * 0.32, face * 0.5, face * 0.32),
                (255, 255, 255), 0.10)
    if pointer_deg is not None:
        a = math.radians(pointer_deg)
        canvas.fill(stroke([(cx + math.cos(a) * face * 0.35, cy + math.sin(a) * face * 0.35),
                            (cx + math.cos(a) * face * 0.82, cy + math.sin(a) * face * 0.82)],
                           max(1.0, r * 0.12)), (236, 238, 240))


def button(canvas, x, y, w, h, s, colour=('#6a7079', '#3c4148')):
    canvas.fill(rrect(x, y + 0.8 * s, w, h, 2 * s), (8, 9, 10), 0.6)
    canvas.fill(rrect(x, y, w, h, 2 * s), Linear(0, y, 0, y + h, (0, colour[0]), (1, colour[1])))
    canvas.fill(rrect(x + 0.8 * s, y + 0.6 * s, w - 1.6 * s, h * 0.35, 1.5 * s), (255, 255, 255), 0.10)


def radio(canvas, ox, oy, s, top=0.0):
    """The transceiver's front panel, 380 x 104 at scale 1, placed at (ox, oy) and scaled by s.
    `top` > 0 shows the top cover in perspective above the panel, that many units deep."""
    def X(v):
        return ox + v * s

    def Y(v):
        return oy + v * s

    W, H = 380, 104
    # handles
    for hx in (-9, W - 1):
        canvas.fill(rrect(X(hx), Y(12), 10 * s, 80 * s, 4 * s),
                    Linear(X(hx), 0, X(hx + 10), 0, (0, '#c9ced4'), (0.5, '#f4f6f8'), (1, '#8d949c')))
    if top > 0:
        canvas.fill([(X(10), Y(-top)), (X(W - 10), Y(-top)), (X(W), Y(4)), (X(0), Y(4))],
                    Linear(0, Y(-top), 0, Y(4), (0, '#5b6169'), (1, '#3b4047')))
        for i in range(9):
            vx = 150 + i * 10
            canvas.fill(stroke([(X(vx + 2 - i * 0.2), Y(-top + 3)), (X(vx - i * 0.1), Y(-2))], 2.2 * s),
                        (24, 26, 30), 0.7)
    # feet
    for fx in (22, W - 52):
        canvas.fill(rrect(X(fx), Y(H - 4), 30 * s, 9 * s, 2 * s), (30, 32, 36))
    # body and bezel
    canvas.fill(rrect(X(0), Y(0), W * s, H * s, 8 * s),
                Linear(0, Y(0), 0, Y(H), (0, '#4a5058'), (1, '#1f2226')))
    canvas.fill(rrect(X(2.5), Y(2.5), (W - 5) * s, (H - 5) * s, 6.5 * s),
                Linear(0, Y(0), 0, Y(H), (0, '#3d434a'), (0.6, '#2b2f35'), (1, '#25282d')))
    canvas.fill(rrect(X(3), Y(2.6), (W - 6) * s, 1.2 * s, 0.6 * s), (255, 255, 255), 0.18)

    # brand above the power button and the display
    brand, _ = lettering('ZERLIND', X(14), Y(16), 8 * s, 1.6 * s, 0.0, 0.18)
    canvas.fill(brand, (214, 219, 225))

    # left column: power and three function buttons
    for i in range(4):
        button(canvas, X(14), Y(24 + i * 17), 24 * s, 11 * s, s,
               ('#8a3b35', '#5c2420') if i == 0 else ('#6a7079', '#3c4148'))
    canvas.fill(ellipse(X(44), Y(29.5), 1.8 * s), (90, 230, 120))
    canvas.fill(ellipse(X(44), Y(29.5), 3.6 * s), (90, 230, 120), 0.25)

    # display: bezel, amber glass, frequency, mode tags, bar meter
    canvas.fill(rrect(X(52), Y(22), 158 * s, 54 * s, 5 * s), (14, 16, 19))
    canvas.fill(rrect(X(56), Y(26), 150 * s, 46 * s, 3 * s),
                Linear(0, Y(26), 0, Y(72), (0, '#ffc566'), (1, '#f29a2e')))
    canvas.fill(rrect(X(56), Y(26), 150 * s, 15 * s, 3 * s), (255, 255, 255), 0.12)
    ink = (58, 34, 12)
    seven_segment(canvas, '14.195.00', X(63), Y(30), 12 * s, 22 * s, 2.8 * s, ink, ink, 4.6 * s)
    for i, on in enumerate((True, False, True)):
        canvas.fill(rrect(X(185), Y(30 + i * 8), 15 * s, 5 * s, 1 * s), ink, 0.85 if on else 0.12)
    canvas.fill(rect(X(62), Y(58), 138 * s, 0.9 * s), ink, 0.5)
    for i in range(24):
        bh = 2.5 + i * 0.25
        canvas.fill(rect(X(62 + i * 5.75), Y(68 - bh), 3.6 * s, bh * s), ink, 0.85 if i < 14 else 0.12)

    # row of buttons under the display
    for i in range(6):
        button(canvas, X(52 + i * 27), Y(82), 22 * s, 9 * s, s)

    # main tuning knob
    knob(canvas, X(265), Y(52), 39 * s, s)
    cx, cy = X(265) + 12 * s, Y(52) - 12 * s
    canvas.fill(ellipse(cx, cy, 6.5 * s),
                Linear(cx - 6 * s, cy - 6 * s, cx + 6 * s, cy + 6 * s, (0, '#1e2125'), (1, '#6c737c')))

    # volume and gain knobs, and two LEDs between the knobs
    knob(canvas, X(341), Y(31), 15 * s, s, pointer_deg=-130, knurl=False)
    knob(canvas, X(341), Y(74), 15 * s, s, pointer_deg=-60, knurl=False)
    canvas.fill(ellipse(X(314), Y(16), 1.8 * s), (255, 80, 60))
    canvas.fill(ellipse(X(314), Y(16), 3.6 * s), (255, 80, 60), 0.25)
    # headphone jack
    canvas.fill(ellipse(X(314), Y(92), 4.2 * s), (120, 126, 134))
    canvas.fill(ellipse(X(314), Y(92), 2.4 * s), (8, 9, 10))


def soft_shadow(canvas, cx, cy, rx, ry, strength=0.1, layers=8):
    for i in range(layers):
        k = 1 - i / float(layers)
        canvas.fill(ellipse(cx, cy, rx * (0.6 + 0.4 * k), ry * (0.6 + 0.4 * k)), (40, 50, 60),
                    strength / layers * 2)


# ---------------------------------------------------------------- the pictures

def banner():
    """147: the front panel on white, 410 x 140."""
    c = Canvas(410, 140, (255, 255, 255))
    soft_shadow(c, 205, 130, 190, 7, 0.35)
    radio(c, 15, 16, 1.0)
    return c


def radio_picture():
    """148: the radio with its top cover, on a light backdrop, 200 x 100."""
    c = Canvas(200, 100, (255, 255, 255))
    c.fill(rect(0, 0, 200, 100), Linear(0, 0, 0, 100, (0, '#dce7f3'), (0.72, '#f7f9fc'), (1, '#ffffff')))
    soft_shadow(c, 100, 84, 92, 5, 0.4)
    radio(c, 11, 30, 0.47, top=26)
    return c


def lettering_picture():
    """149: "Firm Utility" in black on white, 205 x 37, in 16 shades from black to white."""
    cap, weight, slant = 22.0, 4.3, 0.14
    width = lettering_width('Firm Utility', cap, weight) + slant * cap
    c = Canvas(205, 37, (255, 255, 255))
    contours, _ = lettering('Firm Utility', (205 - width) / 2.0, 27.5, cap, weight, slant)
    c.fill(contours, (0, 0, 0))
    return c


# The icon, drawn on a 32-unit grid; each shape also goes into the SVG.
def icon_shapes():
    return [
        ('rrect', (1, 1, 30, 30, 6), Linear(0, 1, 0, 31, (0, '#3a7bd5'), (1, '#1b3f7a'))),
        ('rrect', (1, 1, 30, 15, 6), (255, 255, 255, 0.10)),
        ('rrect', (3, 9, 26, 16, 2.5), Linear(0, 9, 0, 25, (0, '#f1f3f6'), (1, '#b4bcc6'))),
        ('rrect', (5, 11, 13, 7, 1), (24, 27, 31)),
        ('rrect', (6, 12, 11, 5, 0.5), Linear(0, 12, 0, 17, (0, '#ffc566'), (1, '#f29a2e'))),
        ('rect', (7, 14, 2, 2), (58, 34, 12)),
        ('rect', (10, 14, 2, 2), (58, 34, 12)),
        ('rect', (13, 14, 3, 2), (58, 34, 12)),
        ('rrect', (5, 20, 4, 2.5, 0.8), (200, 72, 60)),
        ('rrect', (10, 20, 4, 2.5, 0.8), (90, 98, 108)),
        ('rrect', (15, 20, 3, 2.5, 0.8), (90, 98, 108)),
        ('circle', (23.5, 17, 4.6), Linear(19, 12.4, 28, 21.6, (0, '#6c737c'), (1, '#16181b'))),
        ('circle', (23.5, 17, 3.4), Linear(20, 13.6, 27, 20.4, (0, '#9aa1aa'), (1, '#2b2f35'))),
        ('circle', (24.7, 15.8, 1.1), (30, 33, 37)),
        ('line', ((26, 9), (28.5, 3.5), 1.4), (240, 244, 248)),
        ('circle', (28.5, 3.5, 1.4), (255, 196, 90)),
    ]


def render_icon(size):
    c = Canvas(size, size, (0, 0, 0), alpha=0.0)
    k = size / 32.0
    for kind, args, paint in icon_shapes():
        opacity = 1.0
        if isinstance(paint, tuple) and len(paint) == 4:
            paint, opacity = paint[:3], paint[3]
        if isinstance(paint, Linear):
            paint = Linear(paint.x0 * k, paint.y0 * k, paint.x1 * k, paint.y1 * k, *paint.stops)
        if kind == 'rrect':
            x, y, w, h, r = args
            shape = rrect(x * k, y * k, w * k, h * k, r * k)
        elif kind == 'rect':
            x, y, w, h = args
            shape = rect(x * k, y * k, w * k, h * k)
        elif kind == 'circle':
            cx, cy, r = args
            shape = ellipse(cx * k, cy * k, r * k)
        else:
            (x0, y0), (x1, y1), wd = args
            shape = stroke([(x0 * k, y0 * k), (x1 * k, y1 * k)], wd * k)
        c.fill(shape, paint, opacity)
    return c


def icon_svg():
    defs, body = [], []

    def colour(c):
        return '#%02x%02x%02x' % tuple(int(round(v)) for v in c[:3])

    for n, (kind, args, paint) in enumerate(icon_shapes()):
        extra = ''
        if isinstance(paint, Linear):
            stops = ''.join('<stop offset="%g" stop-color="%s"/>' % (t, colour(c)) for t, c in paint.stops)
            defs.append('<linearGradient id="g%d" gradientUnits="userSpaceOnUse" x1="%g" y1="%g" '
                        'x2="%g" y2="%g">%s</linearGradient>'
                        % (n, paint.x0, paint.y0, paint.x1, paint.y1, stops))
            fill = 'url(#g%d)' % n
        else:
            fill = colour(paint)
            if len(paint) == 4:
                extra = ' fill-opacity="%g"' % paint[3]
        if kind == 'rrect':
            x, y, w, h, r = args
            body.append('<rect x="%g" y="%g" width="%g" height="%g" rx="%g" fill="%s"%s/>'
                        % (x, y, w, h, r, fill, extra))
        elif kind == 'rect':
            x, y, w, h = args
            body.append('<rect x="%g" y="%g" width="%g" height="%g" fill="%s"%s/>' % (x, y, w, h, fill, extra))
        elif kind == 'circle':
            cx, cy, r = args
            body.append('<circle cx="%g" cy="%g" r="%g" fill="%s"%s/>' % (cx, cy, r, fill, extra))
        else:
            (x0, y0), (x1, y1), wd = args
            body.append('<line x1="%g" y1="%g" x2="%g" y2="%g" stroke="%s" stroke-width="%g" '
                        'stroke-linecap="round"/>' % (x0, y0, x1, y1, fill, wd))
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="32" height="32" viewBox="0 0 32 32">\n'
            '<title>Zerlind Firm Utility</title>\n<defs>\n' + '\n'.join(defs) + '\n</defs>\n'
            + '\n'.join(body) + '\n</svg>\n').encode('utf-8')


GREYS = [(i * 17, i * 17, i * 17) for i in range(16)]


def write_bitmaps(bitmaps, suffix):
    for name, picture in (('147', banner()), ('148', radio_picture())):
        write(os.path.join(bitmaps, name + suffix), bmp_bytes(picture.w, picture.h, 24, list(picture.rgb_rows())))
    logo = lettering_picture()
    indexed = [[int(round((r * 0.299 + g * 0.587 + b * 0.114) / 17.0)) for r, g, b in row]
               for row in logo.rgb_rows()]
    write(os.path.join(bitmaps, '149' + suffix), bmp_bytes(logo.w, logo.h, 4, indexed, GREYS))


def main():
    global SCALE
    bitmaps = os.path.join(HERE, 'bitmaps')
    icons = os.path.join(HERE, 'icons')
    write_bitmaps(bitmaps, '.bmp')
    # The same pictures drawn at twice the size, for screens scaled by more than 1 (Qt's "@2x").
    SCALE = 2
    write_bitmaps(bitmaps, '@2x.bmp')
    SCALE = 1
    for size in (16, 32, 48, 256):
        icon = render_icon(size)
        write(os.path.join(icons, 'zerlind-firm-utility-%d.png' % size),
              png_bytes(size, size, icon.rgba_rows()))
    write(os.path.join(icons, 'zerlind-firm-utility.svg'), icon_svg())


if __name__ == '__main__':
    main()
