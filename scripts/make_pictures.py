#!/usr/bin/env python3
"""Regenerates the icons and bitmaps in src/resources/.

The pictures are committed, so building the program never needs Python; this
script only exists so that they can be reproduced and changed in one place.
It uses nothing but the standard library and is fully deterministic: running
it twice gives byte-identical files.

Usage: python3 scripts/make_pictures.py [output-folder]
"""

import math
import os
import struct
import sys

# ---------------------------------------------------------------------------
# Palette and character codes for hand-drawn 16-colour art
# ---------------------------------------------------------------------------

# The standard 16-colour VGA palette in Windows order. Every 4-bit picture uses
# it unchanged so that the menu code can blit them on any display depth.
VGA = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, MAROON, GREEN, OLIVE, NAVY, PURPLE, TEAL, SILVER = range(8)
GRAY, RED, LIME, YELLOW, BLUE, FUCHSIA, AQUA, WHITE = range(8, 16)

# One character per pixel in the art below; '.' is transparent.
CODES = {
    'K': BLACK, 'r': MAROON, 'g': GREEN, 'o': OLIVE, 'n': NAVY, 'p': PURPLE,
    't': TEAL, 's': SILVER, 'd': GRAY, 'R': RED, 'G': LIME, 'Y': YELLOW,
    'B': BLUE, 'M': FUCHSIA, 'C': AQUA, 'W': WHITE,
}
CLEAR = None


def parse_art(rows):
    """Turns rows of art characters into a grid of palette indices (None = clear)."""
    width = len(rows[0])
    grid = []
    for row in rows:
        if len(row) != width:
            raise ValueError('ragged art row: %r' % row)
        grid.append([CLEAR if ch == '.' else CODES[ch] for ch in row])
    return grid


# ---------------------------------------------------------------------------
# File writers
# ---------------------------------------------------------------------------

def _row_stride(bits_per_row):
    return ((bits_per_row + 31) // 32) * 4


def _pack_4bpp(grid):
    """Bottom-up 4-bit rows padded to 4 bytes, as BMP and ICO both store them."""
    width = len(grid[0])
    stride = _row_stride(width * 4)
    out = bytearray()
    for row in reversed(grid):
        line = bytearray(stride)
        for x, idx in enumerate(row):
            if x % 2 == 0:
                line[x // 2] = idx << 4
            else:
                line[x // 2] |= idx
        out += line
    return bytes(out)


def _palette_bytes():
    return b''.join(struct.pack('<BBBB', b, g, r, 0) for (r, g, b) in VGA)


def _info_header(width, height, bpp, image_size, colours):
    return struct.pack('<IiiHHIIiiII', 40, width, height, 1, bpp, 0,
                       image_size, 2835, 2835, colours, 0)


def _file_header(total, offset):
    return struct.pack('<2sIHHI', b'BM', total, 0, 0, offset)


def write_bmp4(path, grid):
    """16-colour bitmap; every cell must already be a palette index."""
    height, width = len(grid), len(grid[0])
    bits = _pack_4bpp(grid)
    offset = 14 + 40 + 64
    data = (_file_header(offset + len(bits), offset)
            + _info_header(width, height, 4, len(bits), 16)
            + _palette_bytes() + bits)
    with open(path, 'wb') as f:
        f.write(data)


def write_bmp24(path, canvas):
    height, width = len(canvas), len(canvas[0])
    stride = _row_stride(width * 24)
    bits = bytearray()
    for row in reversed(canvas):
        line = bytearray()
        for (r, g, b) in row:
            line += bytes((_to_byte(b), _to_byte(g), _to_byte(r)))
        line += bytes(stride - len(line))
        bits += line
    offset = 14 + 40
    data = (_file_header(offset + len(bits), offset)
            + _info_header(width, height, 24, len(bits), 0) + bytes(bits))
    with open(path, 'wb') as f:
        f.write(data)


def write_ico(path, images):
    """16-colour icon with one entry per grid; clear cells go into the AND mask."""
    blobs = []
    for grid in images:
        height, width = len(grid), len(grid[0])
        colour = [[BLACK if c is CLEAR else c for c in row] for row in grid]
        xor_bits = _pack_4bpp(colour)
        stride = _row_stride(width)
        and_bits = bytearray()
        for row in reversed(grid):
            line = bytearray(stride)
            for x, c in enumerate(row):
                if c is CLEAR:
                    line[x // 8] |= 0x80 >> (x % 8)
            and_bits += line
        body = (_info_header(width, height * 2, 4, len(xor_bits) + len(and_bits), 0)
                + _palette_bytes() + xor_bits + bytes(and_bits))
        blobs.append((width, height, body))
    _write_icon_file(path, blobs, 16, 4)


def write_ico32(path, images):
    """Icon with one 32-bit image per canvas of (r, g, b, a) pixels, alpha
    0..1: smooth edges over any taskbar. The AND mask marks the clear pixels
    for the systems that ignore alpha."""
    blobs = []
    for canvas in images:
        height, width = len(canvas), len(canvas[0])
        xor_bits = bytearray()
        for row in reversed(canvas):
            for (r, g, b, a) in row:
                xor_bits += bytes((_to_byte(b), _to_byte(g), _to_byte(r), _to_byte(a * 255)))
        stride = _row_stride(width)
        and_bits = bytearray()
        for row in reversed(canvas):
            line = bytearray(stride)
            for x, px in enumerate(row):
                if _to_byte(px[3] * 255) == 0:
                    line[x // 8] |= 0x80 >> (x % 8)
            and_bits += line
        body = (_info_header(width, height * 2, 32, len(xor_bits) + len(and_bits), 0)
                + bytes(xor_bits) + bytes(and_bits))
        blobs.append((width, height, body))
    _write_icon_file(path, blobs, 0, 32)


def _write_icon_file(path, blobs, colours, bits):
    """The icon directory, then each (width, height, body) image."""
    header = struct.pack('<HHH', 0, 1, len(blobs))
    offset = 6 + 16 * len(blobs)
    entries = b''
    for width, height, body in blobs:
        entries += struct.pack('<BBBBHHII', width % 256, height % 256, colours, 0,
                               1, bits, len(body), offset)
        offset += len(body)
    with open(path, 'wb') as f:
        f.write(header + entries + b''.join(b for _, _, b in blobs))


def _to_byte(v):
    return max(0, min(255, int(round(v))))


# ---------------------------------------------------------------------------
# Small maths helpers
# ---------------------------------------------------------------------------

def clamp(v, lo=0.0, hi=1.0):
    return lo if v < lo else hi if v > hi else v


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def sd_round_box(px, py, x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2.0, (y0 + y1) / 2.0
    hx, hy = (x1 - x0) / 2.0 - r, (y1 - y0) / 2.0 - r
    qx, qy = abs(px - cx) - hx, abs(py - cy) - hy
    outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
    return outside + min(max(qx, qy), 0.0) - r


def sd_circle(px, py, cx, cy, r):
    return math.hypot(px - cx, py - cy) - r


def sd_polygon(px, py, pts):
    d = (px - pts[0][0]) ** 2 + (py - pts[0][1]) ** 2
    sign = 1.0
    n = len(pts)
    j = n - 1
    for i in range(n):
        ex, ey = pts[j][0] - pts[i][0], pts[j][1] - pts[i][1]
        wx, wy = px - pts[i][0], py - pts[i][1]
        t = clamp((wx * ex + wy * ey) / (ex * ex + ey * ey))
        bx, by = wx - ex * t, wy - ey * t
        d = min(d, bx * bx + by * by)
        c1 = py >= pts[i][1]
        c2 = py < pts[j][1]
        c3 = ex * wy > ey * wx
        if (c1 and c2 and c3) or (not c1 and not c2 and not c3):
            sign = -sign
        j = i
    return sign * math.sqrt(d)


# ---------------------------------------------------------------------------
# The application mark as shapes, so one description gives the icon at each
# of its sizes and the renderings in the About box, the splash and the
# introduction's tray, each drawn at the size it is shown.
# Coordinates are in icon units: 0..32, y growing downwards.
# ---------------------------------------------------------------------------

class Layer(object):
    def __init__(self, sdf, idx, rgb, out_idx=None, out_rgb=None, out_w=1.0):
        self.sdf = sdf
        self.idx = idx          # palette index for the 16-colour icon
        self.rgb = rgb          # function (x, y) -> colour for smooth renders
        self.out_idx = out_idx
        self.out_rgb = out_rgb
        self.out_w = out_w


def _vgrad(top, bottom, y0, y1):
    return lambda x, y: mix(top, bottom, clamp((y - y0) / (y1 - y0)))


def mark_layers():
    def back(x, y):
        tab = sd_polygon(x, y, [(2, 4), (12.5, 4), (15.5, 8), (15.5, 12), (2, 12)])
        tab = max(tab, sd_round_box(x, y, 2, 4, 20, 20, 2))
        return min(tab, sd_round_box(x, y, 2, 7, 30, 27, 2))

    def paper(x, y):
        return sd_round_box(x, y, 5, 9, 27, 24, 0.5)

    def front(x, y):
        return sd_round_box(x, y, 2, 12, 30, 28, 2)

    def front_shine(x, y):
        return max(front(x, y) + 1.0, y - 14.0)

    def ring(x, y):
        return sd_circle(x, y, 23.5, 23.5, 8.5)

    def badge(x, y):
        return sd_circle(x, y, 23.5, 23.5, 7.5)

    def arrow(x, y):
        return sd_polygon(x, y, [(21.0, 19.5), (27.5, 23.5), (21.0, 27.5)])

    return [
        Layer(back, YELLOW, _vgrad((250, 200, 70), (222, 150, 30), 4, 27),
              OLIVE, (150, 98, 14)),
        Layer(paper, WHITE, _vgrad((255, 255, 255), (226, 232, 240), 9, 24),
              GRAY, (150, 156, 168)),
        Layer(front, YELLOW, _vgrad((255, 228, 110), (246, 178, 36), 12, 28),
              OLIVE, (150, 98, 14)),
        Layer(front_shine, WHITE, lambda x, y: (255, 246, 200)),
        Layer(ring, WHITE, lambda x, y: (255, 255, 255)),
        Layer(badge, BLUE, _vgrad((78, 160, 255), (22, 84, 210), 16, 31),
              NAVY, (14, 50, 140)),
        Layer(arrow, WHITE, lambda x, y: (255, 255, 255)),
    ]


def render_mark_rgb(canvas, left, top, size, outline=0.7, shadow=None):
    """Antialiased rendering of the mark into a 24-bit canvas.

    outline is in icon units; big renderings look better with an outline a
    little thinner than the 1-unit line of the 32x32 icon.
    shadow, if given, is (dx, dy, blur, strength) in pixels.
    """
    layers = mark_layers()
    unit = 32.0 / size  # one output pixel, in icon units
    ih = len(canvas)
    iw = len(canvas[0])
    if shadow:
        dx, dy, blur, strength = shadow
        cov = [[0.0] * size for _ in range(size)]
        for py in range(size):
            for px in range(size):
                x, y = (px + 0.5) * unit, (py + 0.5) * unit
                d = min(l.sdf(x, y) for l in layers)
                cov[py][px] = clamp(0.5 - d / unit)
        pad = blur * 2
        blurred = box_blur(pad_grid(cov, pad), blur, passes=3)
        for gy, row in enumerate(blurred):
            for gx, a in enumerate(row):
                cx, cy = left + gx - pad + dx, top + gy - pad + dy
                if 0 <= cx < iw and 0 <= cy < ih and a > 0:
                    canvas[cy][cx] = mix(canvas[cy][cx], (0, 0, 0), a * strength)
    for py in range(size):
        cy = top + py
        if not 0 <= cy < ih:
            continue
        for px in range(size):
            cx = left + px
            if not 0 <= cx < iw:
                continue
            x, y = (px + 0.5) * unit, (py + 0.5) * unit
            colour = canvas[cy][cx]
            for rgb, a in _layer_coverage(layers, x, y, unit, outline):
                colour = mix(colour, rgb, a)
            canvas[cy][cx] = colour


def _layer_coverage(layers, x, y, unit, outline):
    """(colour, coverage) of each layer's outline and fill at one pixel,
    bottom layer first: what both renderings lay over one another."""
    for layer in layers:
        d = layer.sdf(x, y)
        a = clamp(0.5 - d / unit)
        if a <= 0:
            continue
        if layer.out_rgb is not None:
            yield layer.out_rgb, a
            a = clamp(0.5 - (d + outline) / unit)
            if a <= 0:
                continue
        yield layer.rgb(x, y), a


def render_mark_rgba(size, outline=0.9):
    """The mark alone, antialiased, on a clear background: each layer is laid
    over the ones below with its coverage as alpha (premultiplied while
    composing, straight in the result, as icons keep it)."""
    layers = mark_layers()
    unit = 32.0 / size
    out = []
    for py in range(size):
        row = []
        for px in range(size):
            x, y = (px + 0.5) * unit, (py + 0.5) * unit
            colour, alpha = (0.0, 0.0, 0.0), 0.0
            for rgb, a in _layer_coverage(layers, x, y, unit, outline):
                colour = tuple(rgb[i] * a + colour[i] * (1 - a) for i in range(3))
                alpha = a + alpha * (1 - a)
            if alpha > 0:
                colour = tuple(c / alpha for c in colour)
            row.append(colour + (alpha,))
        out.append(row)
    return out


def grid_to_rgba(grid):
    return [[(0, 0, 0, 0.0) if c is CLEAR else VGA[c] + (1.0,) for c in row]
            for row in grid]


# The icon's sizes: the small icon at 100% to 200% and the large one at 100%
# and 150%, which also serve the sizes between when the system shrinks them.
# Each is drawn from the shapes at its own size; 16 pixels is too few for the
# shapes to survive sampling, so that one is placed by hand.
ICON_SIZES = (16, 20, 24, 32, 48)


def app_icon_images():
    return [grid_to_rgba(small_mark()) if size == 16 else render_mark_rgba(size)
            for size in ICON_SIZES]


def pad_grid(grid, pad):
    w = len(grid[0]) + 2 * pad
    out = [[0.0] * w for _ in range(pad)]
    for row in grid:
        out.append([0.0] * pad + list(row) + [0.0] * pad)
    out += [[0.0] * w for _ in range(pad)]
    return out


def box_blur(grid, radius, passes=1):
    if radius <= 0:
        return grid
    h, w = len(grid), len(grid[0])
    span = 2 * radius + 1
    for _ in range(passes):
        tmp = [[0.0] * w for _ in range(h)]
        for y in range(h):
            row = grid[y]
            acc = 0.0
            for x in range(-radius, w + radius + 1):
                if 0 <= x + radius < w:
                    acc += row[x + radius]
                if 0 <= x - radius - 1 < w:
                    acc -= row[x - radius - 1]
                if 0 <= x < w:
                    tmp[y][x] = acc / span
        out = [[0.0] * w for _ in range(h)]
        for x in range(w):
            acc = 0.0
            for y in range(-radius, h + radius + 1):
                if 0 <= y + radius < h:
                    acc += tmp[y + radius][x]
                if 0 <= y - radius - 1 < h:
                    acc -= tmp[y - radius - 1][x]
                if 0 <= y < h:
                    out[y][x] = acc / span
        grid = out
    return grid


# ---------------------------------------------------------------------------
# Hand-drawn 16x16 pictures. At this size shapes do not survive point
# sampling well, so each pixel is placed by hand.
# ---------------------------------------------------------------------------

# Folder silhouette shared by the folder and root-folder images: both are
# drawn through the same mask, so their clear pixels must coincide exactly.
FOLDER_ART = [
    "................",
    "................",
    ".ooooo..........",
    "oYYYYYo.........",
    "oYYYYYYoooooooo.",
    "oYYWWWWWWWWWWWYo",
    "oYYWWWWWWWWWWWYo",
    "oooooooooooooooo",
    "oWWWWWWWWWWWWWWo",
    "oYYYYYYYYYYYYYYo",
    "oYYYYYYYYYYYYYYo",
    "oYYYYYYYYYYYYYYo",
    "oYYYYYYYYYYYYYYo",
    "oYYYYYYYYYYYYYYo",
    ".oooooooooooooo.",
    "................",
]

# The root folder: same outline, blue body with a yellow star, so the top
# level of the menu reads as "places" rather than ordinary folders.
ROOT_FOLDER_ART = [
    "................",
    "................",
    ".nnnnn..........",
    "nCCCCCn.........",
    "nCCCCCCnnnnnnnn.",
    "nCCWWWWWWWWWWWCn",
    "nCCWWWWWWWWWWWCn",
    "nnnnnnnnnnnnnnnn",
    "nBBBBBBYBBBBBBBn",
    "nBBBBBYYYBBBBBBn",
    "nBBBYYYYYYYBBBBn",
    "nBBBBYYYYYBBBBBn",
    "nBBBBBYYYBBBBBBn",
    "nBBBBYYBYYBBBBBn",
    ".nnnnnnnnnnnnnn.",
    "................",
]

# The folder and the root folder at the small-icon sizes of 125%, 150% and
# 200%. Enlarging the 16-pixel art would double some pixels and not others;
# each size is drawn on its own grid instead, with the same parts as the
# 16-pixel one: a tab, the back with a sheet of paper in it, the front with
# a highlight (the folder) or a star (the root folder), one-pixel outlines
# and clipped corners. Per size: the tab's top row, the back's top row, the
# front's top row, the bottom row, the last column of the tab's top edge,
# and the columns of yellow left of and right of the paper.
FOLDER_GEOMETRY = {
    20: (2, 5, 9, 18, 6, 2, 1),
    24: (3, 6, 11, 21, 7, 3, 2),
    32: (4, 8, 14, 29, 9, 4, 3),
}

# The root folder's star per size; it stands on the front's last row.
STAR_ART = {
    20: ["....#....",
         "...###...",
         "#########",
         ".#######.",
         "..#####..",
         "..##.##..",
         ".##...##."],
    24: [".....#.....",
         "....###....",
         "....###....",
         "###########",
         ".#########.",
         "..#######..",
         "..###.###..",
         ".##.....##."],
    32: ["......#......",
         "......#......",
         ".....###.....",
         ".....###.....",
         "#############",
         ".###########.",
         "..#########..",
         "...#######...",
         "...#######...",
         "..####.####..",
         "..###...###..",
         ".##.......##."],
}


def folder_art(size, root):
    """The folder (or root folder) drawn for one of the larger sizes."""
    top, back, front, bottom, tab, left_gap, right_gap = FOLDER_GEOMETRY[size]
    line = NAVY if root else OLIVE
    upper = AQUA if root else YELLOW
    lower = BLUE if root else YELLOW
    last = size - 1
    clipped = {(0, top), (last, back), (0, bottom), (last, bottom)}
    grid = [[CLEAR] * size for _ in range(size)]
    for y in range(top, bottom + 1):
        # Above the back only the tab, whose right edge falls one column a row.
        right = tab + (y - top) if y < back else last
        for x in range(0, right + 1):
            if (x, y) in clipped:
                continue
            edge = (x in (0, right) or y in (top, front, bottom)
                    or (y == back and x >= tab + (back - top)))
            grid[y][x] = line if edge else upper if y < front else lower
    # The paper stands one row off the back's edge once there is room.
    for y in range(back + (1 if size < 24 else 2), front):
        for x in range(1 + left_gap, last - right_gap):
            grid[y][x] = WHITE
    if not root:
        for x in range(1, last):
            grid[front + 1][x] = WHITE
        return grid
    star = STAR_ART[size]
    star_left = size // 2 - 1 - len(star[0]) // 2
    star_top = bottom - len(star)
    for y, row in enumerate(star):
        for x, ch in enumerate(row):
            if ch == '#':
                grid[star_top + y][star_left + x] = YELLOW
    return grid


# The blue "go" badge of the application mark, placed over the lower right
# of the folder in the small icons.
BADGE_ART = [
    "..nnnnn..",
    ".nBBBBBn.",
    "nBBWBBBBn",
    "nBBWWBBBn",
    "nBBWWWBBn",
    "nBBWWBBBn",
    "nBBWBBBBn",
    ".nBBBBBn.",
    "..nnnnn..",
]

# Shortcut icon: a page with a turned corner and the usual bottom-left link
# box, so .lnk/.url entries read as links rather than as documents.
PAGE_ART = [
    "...dddddddd.....",
    "...dWWWWWWdd....",
    "...dWWWWWWdsd...",
    "...dWWWWWWdssd..",
    "...dWWWWWWddddd.",
    "...dWWWWWWWWWWd.",
    "...dWssssssssWd.",
    "...dWWWWWWWWWWd.",
    "...dWssssssssWd.",
    "...dWWWWWWWWWWd.",
    "...dWssssssssWd.",
    "...dWWWWWWWWWWd.",
    "...dWsssssWWWWd.",
    "...dWWWWWWWWWWd.",
    "...dddddddddddd.",
    "................",
]

LINK_BOX_ART = [
    "nnnnnnnn",
    "nWWWWWWn",
    "nWWBBBWn",
    "nWWWBBWn",
    "nWWBWBWn",
    "nWBWWWWn",
    "nWWWWWWn",
    "nnnnnnnn",
]


def overlay(base, top, left, row, halo=None):
    """Copies the opaque pixels of top onto base at (left, row).

    With halo set, base pixels that touch the overlay (8-neighbourhood) and
    are themselves opaque take that colour, which keeps a badge readable over
    a busy background; clear pixels stay clear so the silhouette is kept.
    """
    out = [list(r) for r in base]
    h, w = len(base), len(base[0])
    covered = set()
    for y, r in enumerate(top):
        for x, c in enumerate(r):
            if c is not CLEAR:
                covered.add((left + x, row + y))
    if halo is not None:
        for (x, y) in covered:
            for dy in (-1, 0, 1):
                for dx in (-1, 0, 1):
                    nx, ny = x + dx, y + dy
                    if (0 <= nx < w and 0 <= ny < h and (nx, ny) not in covered
                            and out[ny][nx] is not CLEAR):
                        out[ny][nx] = halo
    for (x, y) in covered:
        out[y][x] = top[y - row][x - left]
    return out


def small_mark():
    """16x16 application mark: the menu folder with the badge."""
    return overlay(parse_art(FOLDER_ART), parse_art(BADGE_ART), 7, 7, halo=WHITE)


def shortcut_icon():
    return overlay(parse_art(PAGE_ART), parse_art(LINK_BOX_ART), 0, 8)


def grid_to_bitmap(grid):
    """Colour image for a masked menu bitmap: clear pixels must be black so
    that XOR-ing the image over the ANDed background leaves it untouched."""
    return [[BLACK if c is CLEAR else c for c in row] for row in grid]


def grid_to_mask(grid):
    return [[WHITE if c is CLEAR else BLACK for c in row] for row in grid]


def arrow_grid():
    """The submenu arrow: black triangle on white, pixel-exact because the
    menu code blits it with raster operations that depend on both colours."""
    grid = [[WHITE] * 16 for _ in range(16)]
    for i, run in enumerate([1, 2, 3, 4, 5, 5, 4, 3, 2, 1]):
        for x in range(4, 4 + run):
            grid[3 + i][x] = BLACK
    return grid


# ---------------------------------------------------------------------------
# A small pixel font. Rows 0-6 sit on the baseline, rows 7-8 hold descenders.
# ---------------------------------------------------------------------------

FONT = {
    'P': ["####.", "#...#", "#...#", "####.", "#....", "#....", "#...."],
    'V': ["#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."],
    'Y': ["#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."],
    'a': [".....", ".....", ".###.", "....#", ".####", "#...#", ".####"],
    'c': ["....", "....", ".###", "#...", "#...", "#...", ".###"],
    'd': ["....#", "....#", ".####", "#...#", "#...#", "#...#", ".####"],
    'e': [".....", ".....", ".###.", "#...#", "#####", "#....", ".###."],
    'f': ["..##", ".#..", "####", ".#..", ".#..", ".#..", ".#.."],
    'h': ["#....", "#....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    'i': ["#", ".", "#", "#", "#", "#", "#"],
    'k': ["#...", "#...", "#..#", "#.#.", "##..", "#.#.", "#..#"],
    'l': ["##", ".#", ".#", ".#", ".#", ".#", ".#"],
    'n': [".....", ".....", "#.##.", "##..#", "#...#", "#...#", "#...#"],
    'o': [".....", ".....", ".###.", "#...#", "#...#", "#...#", ".###."],
    'r': ["....", "....", "#.##", "##..", "#...", "#...", "#..."],
    's': ["....", "....", ".###", "#...", ".##.", "...#", "###."],
    't': [".#..", ".#..", "###.", ".#..", ".#..", ".#..", "..##"],
    'u': [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#"],
    'w': [".....", ".....", "#...#", "#...#", "#.#.#", "#.#.#", ".#.#."],
    'y': [".....", ".....", "#...#", "#...#", "#...#", "#..##", ".##.#",
          "....#", ".###."],
    '0': [".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."],
    '1': ["..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."],
    '2': [".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"],
    '3': [".###.", "#...#", "....#", "..##.", "....#", "#...#", ".###."],
    '4': ["...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."],
    '5': ["#####", "#....", "####.", "....#", "....#", "#...#", ".###."],
    '6': ["..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."],
    '7': ["#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."],
    '8': [".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."],
    '9': [".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."],
    ':': [".", ".", "#", ".", ".", "#", "."],
    '.': [".", ".", ".", ".", ".", ".", "#"],
    ',': ["..", "..", "..", "..", "..", "..", ".#", "#."],
    ' ': ["..", "..", "..", "..", "..", "..", ".."],
}
FONT_ROWS = 9


def text_width(text, gap=1):
    """Width of text in font pixels."""
    widths = [len(FONT[ch][0]) for ch in text]
    return sum(widths) + gap * (len(widths) - 1)


def text_coverage(text, scale, gap=1, weight=0.5, smooth=True):
    """Coverage grid (0..1) of text at the given scale.

    With smooth set, the glyph pixels are interpolated bilinearly and cut at
    a threshold, which rounds the staircase of diagonal strokes; a lower
    weight threshold gives bolder strokes.
    """
    cols = []  # glyph bitmap as one long row set
    for n, ch in enumerate(text):
        glyph = FONT[ch]
        if n:
            for _ in range(gap):
                cols.append([0] * FONT_ROWS)
        for x in range(len(glyph[0])):
            col = [0] * FONT_ROWS
            for y, row in enumerate(glyph):
                col[y] = 1 if row[x] == '#' else 0
            cols.append(col)
    gw = len(cols)
    w = int(math.ceil(gw * scale)) + 2
    h = int(math.ceil(FONT_ROWS * scale)) + 2

    def g(ix, iy):
        if 0 <= ix < gw and 0 <= iy < FONT_ROWS:
            return cols[ix][iy]
        return 0

    out = [[0.0] * w for _ in range(h)]
    for py in range(h):
        for px in range(w):
            u, v = (px + 0.5 - 1) / scale, (py + 0.5 - 1) / scale
            if not smooth:
                out[py][px] = float(g(int(math.floor(u)), int(math.floor(v))))
                continue
            u -= 0.5
            v -= 0.5
            x0, y0 = int(math.floor(u)), int(math.floor(v))
            fx, fy = u - x0, v - y0
            f = (g(x0, y0) * (1 - fx) * (1 - fy) + g(x0 + 1, y0) * fx * (1 - fy)
                 + g(x0, y0 + 1) * (1 - fx) * fy + g(x0 + 1, y0 + 1) * fx * fy)
            out[py][px] = clamp((f - weight) * scale * 1.2 + 0.5)
    return out


def draw_coverage(canvas, cov, left, top, colour):
    ih, iw = len(canvas), len(canvas[0])
    for y, row in enumerate(cov):
        cy = top + y
        if not 0 <= cy < ih:
            continue
        for x, a in enumerate(row):
            cx = left + x
            if a > 0 and 0 <= cx < iw:
                canvas[cy][cx] = mix(canvas[cy][cx], colour, a)


def draw_text(canvas, text, left, top, scale, colour, weight=0.5,
              shadow=None, smooth=True):
    """Draws text with its top-left glyph pixel at (left, top)."""
    cov = text_coverage(text, scale, weight=weight, smooth=smooth)
    if shadow:
        dx, dy, blur, strength = shadow
        pad = blur * 2
        soft = box_blur(pad_grid(cov, pad), blur, passes=2)
        soft = [[a * strength for a in row] for row in soft]
        draw_coverage(canvas, soft, left - 1 - pad + dx, top - 1 - pad + dy, (0, 0, 0))
    draw_coverage(canvas, cov, left - 1, top - 1, colour)


# ---------------------------------------------------------------------------
# Large 24-bit pictures
# ---------------------------------------------------------------------------

def new_canvas(w, h, colour_at):
    return [[colour_at(x, y) for x in range(w)] for y in range(h)]


def brand_background(w, h, glow_x):
    """Deep blue to teal diagonal with a soft glow behind the mark."""
    c0, c1 = (18, 44, 104), (24, 128, 170)

    def at(x, y):
        t = clamp((x / float(w)) * 0.8 + (y / float(h)) * 0.2)
        c = mix(c0, c1, t)
        glow = math.exp(-(((x - glow_x) / (h * 0.9)) ** 2 + ((y - h * 0.45) / (h * 0.7)) ** 2))
        c = mix(c, (120, 190, 255), 0.25 * glow)
        # a faint highlight along the top edge gives the strip a glassy feel
        c = mix(c, (255, 255, 255), 0.10 * clamp(1.0 - y / (h * 0.45)))
        return c
    return new_canvas(w, h, at)


# The dialogs' pictures are drawn for 100%, 150% and 200% (SCALES); every
# length below is in pixels at 100% and multiplied by the scale, so that each
# size is drawn anew rather than enlarged.
SCALES = {100: 1.0, 150: 1.5, 200: 2.0}


def px(v, scale):
    return int(round(v * scale))


def make_about(scale=1.0):
    """The About box writes the version into the room left under the name."""
    w, h = px(200, scale), px(60, scale)
    canvas = brand_background(w, h, px(30, scale))
    render_mark_rgb(canvas, px(8, scale), px(8, scale), px(44, scale), outline=0.8,
                    shadow=(px(1, scale), px(2, scale), px(2, scale), 0.35))
    draw_text(canvas, "Pathwick Pro", px(60, scale), px(14, scale), 2.0 * scale,
              (255, 255, 255), weight=0.42,
              shadow=(px(1, scale), px(1, scale), px(1, scale), 0.5))
    return canvas


def make_splash(scale=1.0):
    w, h = px(500, scale), px(100, scale)
    mark, gap, big = px(84, scale), px(22, scale), 5.0 * scale
    left = (w - (mark + gap + int(text_width("Pathwick Pro") * big))) // 2
    canvas = brand_background(w, h, left + mark // 2)
    render_mark_rgb(canvas, left, px(8, scale), mark, outline=0.6,
                    shadow=(px(2, scale), px(3, scale), px(3, scale), 0.4))
    tx = left + mark + gap
    draw_text(canvas, "Pathwick Pro", tx, px(18, scale), big, (255, 255, 255),
              weight=0.42, shadow=(px(2, scale), px(2, scale), px(2, scale), 0.5))
    draw_text(canvas, "Your folders, one click away.", tx + px(4, scale), px(66, scale),
              2.0 * scale, (205, 228, 255), weight=0.45)
    return canvas


def blit_grid(canvas, grid, left, top):
    for y, row in enumerate(grid):
        for x, c in enumerate(row):
            if c is not CLEAR:
                canvas[top + y][left + x] = VGA[c]


def blit_rgba(canvas, image, left, top):
    for y, row in enumerate(image):
        for x, (r, g, b, a) in enumerate(row):
            if a > 0:
                canvas[top + y][left + x] = mix(canvas[top + y][left + x], (r, g, b), a)


def resample_rgba(image, size):
    """Each target pixel the average of the source area it covers (colours
    weighted by their alpha): whole-number scales keep hard pixels, others
    soften only the pixels a source edge runs through."""
    n = len(image)
    k = float(n) / size
    out = []
    for ty in range(size):
        row = []
        for tx in range(size):
            acc, alpha = [0.0, 0.0, 0.0], 0.0
            y0, y1, x0, x1 = ty * k, (ty + 1) * k, tx * k, (tx + 1) * k
            for sy in range(int(y0), int(math.ceil(y1))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), int(math.ceil(x1))):
                    wgt = wy * (min(x1, sx + 1) - max(x0, sx))
                    r, g, b, a = image[sy][sx]
                    acc = [acc[0] + r * a * wgt, acc[1] + g * a * wgt, acc[2] + b * a * wgt]
                    alpha += a * wgt
            area = k * k
            colour = tuple(c / alpha for c in acc) if alpha > 0 else (0, 0, 0)
            row.append(colour + (alpha / area,))
        out.append(row)
    return out


# Generic neighbours for the tray picture: a speaker, a network monitor and a
# battery, so that ours is shown among the kind of icons it will sit next to.
SPEAKER_ART = [
    "................",
    "................",
    "........K.......",
    ".......KK...K...",
    "......KsK....K..",
    "..KKKKssK..K..K.",
    "..KsssssK...K.K.",
    "..KsssssK...K.K.",
    "..KsssssK...K.K.",
    "..KddddsK...K.K.",
    "..KKKKdsK..K..K.",
    "......KdK....K..",
    ".......KK...K...",
    "........K.......",
    "................",
    "................",
]

NETWORK_ART = [
    "................",
    "................",
    ".KKKKKKKKKKK....",
    ".KWWWWWWWWWK....",
    ".KWttttttWsK....",
    ".KWttttttWsK....",
    ".KWttttttWsK....",
    ".KWssssssssK....",
    ".KKKKKKKKKKK....",
    "....KsssK.......",
    "..KKKKKKKKK.....",
    "..Kdddddd.K.....",
    "..KKKKKKKKK.....",
    "................",
    "................",
    "................",
]

BATTERY_ART = [
    "................",
    "................",
    "................",
    "................",
    "................",
    ".KKKKKKKKKKKKK..",
    ".KGGGGGGGGWWWK..",
    ".KggggggggsssKK.",
    ".KggggggggsssKK.",
    ".KggggggggsssKK.",
    ".KggggggggsssK..",
    ".KKKKKKKKKKKKK..",
    "................",
    "................",
    "................",
    "................",
]


def tray_icon_image(art, size):
    return resample_rgba(grid_to_rgba(parse_art(art)), size)


def make_trayhelp(scale=1.0):
    w, h = px(163, scale), px(36, scale)
    line = max(1, int(scale))  # the taskbar's edges, a whole pixel or two
    face, light, shade = (212, 208, 200), (255, 255, 255), (128, 128, 128)

    def at(x, y):
        return mix((228, 226, 220), face, clamp(y / (10.0 * scale)))
    canvas = new_canvas(w, h, at)
    for x in range(w):  # the taskbar's raised top edge
        for t in range(line):
            canvas[t][x] = face
            canvas[line + t][x] = light
    # sunken notification area
    x0, y0, x1, y1 = px(6, scale), px(5, scale), w - px(4, scale), h - px(4, scale)
    for t in range(line):
        for x in range(x0, x1 + 1):
            canvas[y0 + t][x] = shade
            canvas[y1 - t][x] = light
        for y in range(y0, y1 + 1):
            canvas[y][x0 + t] = shade
            canvas[y][x1 - t] = light
    for y in range(y0 + line, y1 - line + 1):
        for x in range(x0 + line, x1 - line + 1):
            canvas[y][x] = face
    icon = px(16, scale)  # the small-icon size at this scale
    icon_top = px(10, scale)
    blit_rgba(canvas, tray_icon_image(SPEAKER_ART, icon), px(14, scale), icon_top)
    blit_rgba(canvas, tray_icon_image(NETWORK_ART, icon), px(36, scale), icon_top)
    ours_x = px(64, scale)
    # Ours as the tray shows it at this scale: the icon's own image of the size.
    ours = grid_to_rgba(small_mark()) if icon == 16 else render_mark_rgba(icon)
    blit_rgba(canvas, ours, ours_x, icon_top)
    blit_rgba(canvas, tray_icon_image(BATTERY_ART, icon), px(92, scale), icon_top)
    clock = "12:00"
    draw_text(canvas, clock, x1 - px(10, scale) - int(text_width(clock) * scale), px(14, scale),
              scale, (0, 0, 0), smooth=scale != int(scale))

    # red ring around our icon, drawn antialiased over everything else
    cx, cy = ours_x + icon / 2.0, icon_top + icon / 2.0
    rx, ry = 14.0 * scale, 13.5 * scale
    for y in range(h):
        for x in range(w):
            qx, qy = x + 0.5 - cx, y + 0.5 - cy
            k = math.hypot(qx / rx, qy / ry)
            d = abs((k - 1.0) * min(rx, ry)) - 1.1 * scale
            a = clamp(0.5 - d)
            if a > 0:
                canvas[y][x] = mix(canvas[y][x], (222, 16, 16), a)
    return canvas


# ---------------------------------------------------------------------------

def main():
    here = os.path.dirname(os.path.abspath(__file__))
    resources = os.path.normpath(os.path.join(here, '..', 'src', 'resources'))
    out = sys.argv[1] if len(sys.argv) > 1 else resources
    if not os.path.isdir(out):
        os.makedirs(out)

    folders = {16: (parse_art(FOLDER_ART), parse_art(ROOT_FOLDER_ART))}
    for size in FOLDER_GEOMETRY:
        folders[size] = (folder_art(size, False), folder_art(size, True))
    for size, (folder, root) in sorted(folders.items()):
        for y in range(size):
            for x in range(size):
                if (folder[y][x] is CLEAR) != (root[y][x] is CLEAR):
                    raise SystemExit('folder and root folder silhouettes differ at %d,%d (%d px)'
                                     % (x, y, size))

    write_ico32(os.path.join(out, 'pathwick.ico'), app_icon_images())
    write_ico(os.path.join(out, 'shortcut.ico'), [shortcut_icon()])
    for size, (folder, root) in sorted(folders.items()):
        suffix = '' if size == 16 else '_%d' % size
        write_bmp4(os.path.join(out, 'folder%s.bmp' % suffix), grid_to_bitmap(folder))
        write_bmp4(os.path.join(out, 'rootfolder%s.bmp' % suffix), grid_to_bitmap(root))
        write_bmp4(os.path.join(out, 'foldermask%s.bmp' % suffix), grid_to_mask(folder))
    write_bmp4(os.path.join(out, 'arrow.bmp'), arrow_grid())
    for percent, scale in sorted(SCALES.items()):
        suffix = '' if percent == 100 else '_%d' % percent
        write_bmp24(os.path.join(out, 'about%s.bmp' % suffix), make_about(scale))
        write_bmp24(os.path.join(out, 'trayhelp%s.bmp' % suffix), make_trayhelp(scale))
        write_bmp24(os.path.join(out, 'splash%s.bmp' % suffix), make_splash(scale))


if __name__ == '__main__':
    main()
