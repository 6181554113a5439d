#!/usr/bin/env python3
"""Generates the images of the bundled sample catalog: circle-cut pages (samples/catalog/PDATA)
and hall maps with their colour overlays (samples/catalog/MDATA).

The pages follow the sample definition table (samples/catalog/CDATA/C77DEF.TXT): six cuts of
211 x 300 pixels per page, days starting at pages 2, 8 and 14, six pages a day. Each cut has a
frame, a space-number box, line art, text-like strokes, screentone dots and grey fills. The hall
maps place one desk per space of the map position table (C77MAP.TXT) on three halls (E123, E456,
W12); the overlays paint the areas in flat colours. Pages are 8-bit grey (a few 4-bit grey, one
palette image), maps are RGB, overlays palette images, as catalogs mix them.

Python 3 standard library only; the output is deterministic. Run it again after changing it.
"""
import math
import os
import random
import struct
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
CATALOG = os.path.join(HERE, "catalog")
CDATA = os.path.join(CATALOG, "CDATA")
PDATA = os.path.join(CATALOG, "PDATA")
MDATA = os.path.join(CATALOG, "MDATA")

EVENT = "77"
CUT_W, CUT_H, MARGIN_X, MARGIN_Y, GAP_X, GAP_Y = 211, 300, 10, 10, 30, 20
CUT_COLUMNS, CUT_ROWS = 2, 3
PAGE_W = 2 * MARGIN_X + CUT_COLUMNS * CUT_W + (CUT_COLUMNS - 1) * GAP_X
PAGE_H = 2 * MARGIN_Y + CUT_ROWS * CUT_H + (CUT_ROWS - 1) * GAP_Y
PAGES_PER_DAY = 6
MAP_W, MAP_H = 520, 270
GROUPS = ["E123", "E456", "W12"]


# ---- PNG writing -----------------------------------------------------------------------------

def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def pack_rows(rows, bits):
    """Packs rows of samples (0..2^bits-1) into bytes, each row led by filter type 0."""
    out = bytearray()
    per_byte = 8 // bits
    for row in rows:
        out.append(0)
        if bits == 8:
            out += row
            continue
        for i in range(0, len(row), per_byte):
            b = 0
            for k in range(per_byte):
                v = row[i + k] if i + k < len(row) else 0
                b |= v << (8 - bits * (k + 1))
            out.append(b)
    return bytes(out)


def write_png(path, width, height, colour_type, bits, rows, palette=None):
    ihdr = struct.pack(">IIBBBBB", width, height, bits, colour_type, 0, 0, 0)
    data = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr)
    if palette is not None:
        data += chunk(b"PLTE", b"".join(bytes(c) for c in palette))
    data += chunk(b"IDAT", zlib.compress(pack_rows(rows, bits), 9)) + chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(data)


# ---- Drawing on grey canvases ----------------------------------------------------------------

class Canvas:
    def __init__(self, width, height, value=255):
        self.w, self.h = width, height
        self.rows = [bytearray([value]) * width for _ in range(height)]

    def ink(self, x, y, value):
        """Darkens a pixel to `value` (ink never lightens what is there)."""
        if 0 <= x < self.w and 0 <= y < self.h and self.rows[y][x] > value:
            self.rows[y][x] = value

    def rect(self, x0, y0, x1, y1, value):
        for y in range(max(0, y0), min(self.h, y1)):
            row = self.rows[y]
            for x in range(max(0, x0), min(self.w, x1)):
                if row[x] > value:
                    row[x] = value

    def frame(self, x0, y0, x1, y1, width, value=0):
        self.rect(x0, y0, x1, y0 + width, value)
        self.rect(x0, y1 - width, x1, y1, value)
        self.rect(x0, y0, x0 + width, y1, value)
        self.rect(x1 - width, y0, x1, y1, value)

    def line(self, x0, y0, x1, y1, thickness=1.0, value=0):
        """A stroke with a soft edge, as scanned line art has."""
        steps = int(max(abs(x1 - x0), abs(y1 - y0))) + 1
        r = int(thickness) + 1
        for s in range(steps + 1):
            t = s / steps
            cx, cy = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dy in range(-r, r + 1):
                for dx in range(-r, r + 1):
                    d = math.hypot(dx, dy) - thickness / 2
                    if d < 1:
                        self.ink(int(cx) + dx, int(cy) + dy, value if d <= 0 else int(value + (255 - value) * d))

    def ellipse(self, cx, cy, rx, ry, thickness=1.5):
        n = int(2 * math.pi * max(rx, ry) / 3) + 8
        points = [(cx + rx * math.cos(2 * math.pi * k / n), cy + ry * math.sin(2 * math.pi * k / n)) for k in range(n + 1)]
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            self.line(ax, ay, bx, by, thickness)

    def screentone(self, x0, y0, x1, y1, pitch, value=60):
        for y in range(y0, y1, pitch):
            offset = (y // pitch % 2) * (pitch // 2)
            for x in range(x0 + offset, x1, pitch):
                self.ink(x, y, value)
                self.ink(x + 1, y, value + 60)
                self.ink(x, y + 1, value + 60)


def glyph_strokes(canvas, rng, x, y, size):
    """A text-like glyph: two to four short strokes in a size x size box."""
    for _ in range(rng.randint(2, 4)):
        ax, ay = x + rng.randint(0, size - 2), y + rng.randint(0, size - 2)
        if rng.random() < 0.5:
            canvas.line(ax, ay, ax + rng.randint(2, size // 2 + 1), ay, 1.0)
        else:
            canvas.line(ax, ay, ax, ay + rng.randint(2, size // 2 + 1), 1.0)


def draw_cut(canvas, rng, x0, y0):
    x1, y1 = x0 + CUT_W, y0 + CUT_H
    canvas.frame(x0, y0, x1, y1, 2)
    # Space number box: black with white digit-like strokes.
    canvas.rect(x0 + 2, y0 + 2, x0 + 46, y0 + 24, 0)
    for k in range(3):
        for yy in range(y0 + 7, y0 + 19):
            canvas.rows[yy][x0 + 9 + k * 12] = 255
    # Circle name: a line of larger glyphs.
    for gx in range(x0 + 54, x1 - 16, 15):
        glyph_strokes(canvas, rng, gx, y0 + 6, 13)
    # Grey fill behind the drawing, or screentone.
    fx0, fy0 = x0 + rng.randint(8, 40), y0 + rng.randint(40, 70)
    fx1, fy1 = x1 - rng.randint(8, 40), y0 + rng.randint(170, 210)
    if rng.random() < 0.5:
        canvas.rect(fx0, fy0, fx1, fy1, rng.choice([190, 210, 225]))
    else:
        canvas.screentone(fx0, fy0, fx1, fy1, rng.choice([4, 5, 6]))
    # Line art: a head and a few strokes.
    cx, cy = x0 + CUT_W // 2 + rng.randint(-30, 30), y0 + 130 + rng.randint(-20, 20)
    rx, ry = rng.randint(28, 45), rng.randint(30, 48)
    canvas.ellipse(cx, cy, rx, ry, 2.0)
    canvas.ellipse(cx - rx // 3, cy - 4, 5, 7, 1.5)
    canvas.ellipse(cx + rx // 3, cy - 4, 5, 7, 1.5)
    px, py = cx, cy + ry
    for _ in range(8):
        nx = min(max(px + rng.randint(-30, 30), x0 + 6), x1 - 6)
        ny = min(max(py + rng.randint(0, 18), y0 + 30), y1 - 70)
        canvas.line(px, py, nx, ny, rng.choice([1.0, 2.0, 3.0]))
        px, py = nx, ny
    # Description: three lines of small glyphs.
    for line in range(3):
        for gx in range(x0 + 8, x1 - 12, 10):
            glyph_strokes(canvas, rng, gx, y1 - 60 + line * 16, 9)


def page_canvas(page):
    rng = random.Random(page)
    c = Canvas(PAGE_W, PAGE_H)
    for row in range(CUT_ROWS):
        for col in range(CUT_COLUMNS):
            draw_cut(c, rng, MARGIN_X + col * (CUT_W + GAP_X), MARGIN_Y + row * (CUT_H + GAP_Y))
    return c


def write_page(page, day_start):
    c = page_canvas(page)
    path = os.path.join(PDATA, f"{page:04d}.png")
    if page == day_start + 3:
        # 4-bit grey, as some scans are stored.
        write_png(path, c.w, c.h, 0, 4, [bytes(v >> 4 for v in row) for row in c.rows])
    elif page == day_start + 5:
        # A palette image of 16 greys.
        palette = [(17 * k, 17 * k, 17 * k) for k in range(16)]
        write_png(path, c.w, c.h, 3, 8, [bytes(v >> 4 for v in row) for row in c.rows], palette)
    else:
        write_png(path, c.w, c.h, 0, 8, c.rows)


# ---- Hall maps -------------------------------------------------------------------------------

def read_definitions():
    """Day start pages and the areas (area name, map name, blocks) of the definition table."""
    days, areas, section = [], [], None
    with open(os.path.join(CDATA, f"C{EVENT}DEF.TXT"), encoding="cp932") as f:
        for line in f:
            line = line.rstrip("\r\n")
            if line.startswith("*"):
                section = line.split("\t")[0]
            elif line and not line.startswith("#"):
                cells = line.split("\t")
                if section == "*VandrelDate":
                    days.append(int(cells[4]))
                elif section == "*VandrelArea":
                    areas.append((cells[0], cells[1], cells[2]))
    return days, areas


def read_spaces():
    """(block, space, x, y) of every line of the map position table."""
    spaces = []
    with open(os.path.join(CDATA, f"C{EVENT}MAP.TXT"), encoding="cp932") as f:
        for line in f:
            cells = line.rstrip("\r\n").split("\t")
            if len(cells) >= 4 and not line.startswith("#") and cells[2].isdigit():
                spaces.append((cells[0], int(cells[1]), int(cells[2]), int(cells[3])))
    return spaces


FLOOR = (236, 236, 228)
WALL = (40, 40, 48)
DESK = (255, 255, 255)
HALL_TINT = {"E123": (214, 228, 244), "E456": (222, 240, 214), "W12": (246, 226, 214)}
AREA_COLOURS = [(255, 120, 120), (120, 200, 255), (130, 230, 130), (250, 210, 90), (200, 150, 240)]


def rgb_rows(pixels):
    return [bytes(b for px in row for b in px) for row in pixels]


def hall_map(group, blocks_here, spaces, day):
    tint = HALL_TINT[group]
    px = [[FLOOR] * MAP_W for _ in range(MAP_H)]

    def fill(x0, y0, x1, y1, colour):
        for y in range(max(0, y0), min(MAP_H, y1)):
            row = px[y]
            for x in range(max(0, x0), min(MAP_W, x1)):
                row[x] = colour

    fill(10, 10, MAP_W - 10, MAP_H - 10, tint)
    for x0, y0, x1, y1 in ((10, 10, MAP_W - 10, 14), (10, MAP_H - 14, MAP_W - 10, MAP_H - 10),
                           (10, 10, 14, MAP_H - 10), (MAP_W - 14, 10, MAP_W - 10, MAP_H - 10)):
        fill(x0, y0, x1, y1, WALL)
    # Entrances, different on each day.
    fill(60 + 40 * day, MAP_H - 14, 110 + 40 * day, MAP_H - 10, tint)
    for block, _, x, y in spaces:
        if block in blocks_here:
            fill(x - 14, y - 11, x + 14, y + 11, WALL)
            fill(x - 12, y - 9, x + 12, y + 9, DESK)
    return px


def overlay(group, areas, spaces, day):
    """Area colours over the desks of each area, white elsewhere: a palette image."""
    index = [[0] * MAP_W for _ in range(MAP_H)]
    palette = [(255, 255, 255)]
    for a, (name, map_name, blocks) in enumerate(areas):
        if map_name != group:
            continue
        palette.append(AREA_COLOURS[(a + day) % len(AREA_COLOURS)])
        k = len(palette) - 1
        for block, _, x, y in spaces:
            if block in blocks:
                for yy in range(y - 12, y + 12):
                    for xx in range(x - 15, x + 15):
                        if 0 <= yy < MAP_H and 0 <= xx < MAP_W:
                            index[yy][xx] = k
    return index, palette


def write_maps(days, areas, spaces):
    for day in range(1, len(days) + 1):
        for group in GROUPS:
            blocks_here = "".join(blocks for _, m, blocks in areas if m == group)
            name = f"{day}{group}.png"
            write_png(os.path.join(MDATA, "MAP" + name), MAP_W, MAP_H, 2, 8,
                      rgb_rows(hall_map(group, blocks_here, spaces, day)))
            rows, palette = overlay(group, areas, spaces, day)
            write_png(os.path.join(MDATA, "GNR" + name), MAP_W, MAP_H, 3, 8, [bytes(r) for r in rows], palette)


def main():
    os.makedirs(PDATA, exist_ok=True)
    os.makedirs(MDATA, exist_ok=True)
    days, areas = read_definitions()
    for d, start in enumerate(days):
        end = days[d + 1] if d + 1 < len(days) else start + PAGES_PER_DAY
        for page in range(start, end):
            write_page(page, start)
    write_maps(days, areas, read_spaces())


if __name__ == "__main__":
    main()
