"""Painting helpers shared by the picture tools.

A Canvas holds premultiplied RGBA floats in a numpy array. Shapes are
rasterised by cairo into coverage masks, then laid on the canvas as soft
watercolour-like washes with darker edges and a little paper grain. Every
random choice comes from a seeded generator and the PNG writer stores no
time or text chunks, so the same source always gives the same bytes.
"""

import atexit
import math
import os
import shutil
import struct
import tempfile
import zlib

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
FONT_DIR = os.path.join(ROOT, "assets", "fonts")


def _use_only_the_game_font():
    # Fontconfig is pointed at assets/fonts alone, so the pictures' lettering
    # is always set in the game's own font and never in a system fallback.
    cache = tempfile.mkdtemp(prefix="bloomcross-fc-")
    atexit.register(shutil.rmtree, cache, True)
    conf = os.path.join(cache, "fonts.conf")
    with open(conf, "w") as f:
        f.write('<?xml version="1.0"?>\n<!DOCTYPE fontconfig SYSTEM "fonts.dtd">\n'
                "<fontconfig><dir>%s</dir><cachedir>%s</cachedir></fontconfig>\n"
                % (FONT_DIR, cache))
    os.environ["FONTCONFIG_FILE"] = conf


_use_only_the_game_font()

import cairo  # noqa: E402  (fontconfig must be set up before cairo loads it)

FONT_FAMILY = "Comfortaa"


def rgb(hexstr):
    """'#rrggbb' as three floats 0..1."""
    h = hexstr.lstrip("#")
    return np.array([int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4)], np.float32)


# ---------------------------------------------------------------- filters

def _box(a, r, axis):
    if r < 1:
        return a
    n = a.shape[axis]
    pad = [(0, 0)] * a.ndim
    pad[axis] = (r + 1, r)
    p = np.pad(a, pad, mode="edge")
    c = np.cumsum(p, axis=axis, dtype=np.float64)
    hi = np.take(c, np.arange(2 * r + 1, 2 * r + 1 + n), axis=axis)
    lo = np.take(c, np.arange(0, n), axis=axis)
    return ((hi - lo) / (2 * r + 1)).astype(np.float32)


def blur(a, radius):
    """Near-Gaussian blur of a 2-D or 3-D array: three box passes per axis."""
    r = max(0, int(round(radius / 1.7)))
    out = a.astype(np.float32)
    for _ in range(3):
        out = _box(out, r, 0)
        out = _box(out, r, 1)
    return out


def value_noise(h, w, cells, rng, octaves=4):
    """Smooth noise 0..1 of shape (h, w); `cells` grid cells across the width."""
    total = np.zeros((h, w), np.float32)
    amp, norm = 1.0, 0.0
    for o in range(octaves):
        gw = max(2, int(cells * (2 ** o)) + 2)
        gh = max(2, int(gw * h / w) + 2)
        grid = rng.random((gh, gw)).astype(np.float32)
        ys = np.linspace(0, gh - 1.001, h)
        xs = np.linspace(0, gw - 1.001, w)
        y0 = ys.astype(int)
        x0 = xs.astype(int)
        fy = ys - y0
        fx = xs - x0
        fy = (fy * fy * (3 - 2 * fy))[:, None]
        fx = (fx * fx * (3 - 2 * fx))[None, :]
        a = grid[y0][:, x0]
        b = grid[y0][:, x0 + 1]
        c = grid[y0 + 1][:, x0]
        d = grid[y0 + 1][:, x0 + 1]
        top = a + (b - a) * fx
        bot = c + (d - c) * fx
        total += amp * (top + (bot - top) * fy)
        norm += amp
        amp *= 0.5
    return total / norm


# ---------------------------------------------------------------- paths

def smooth_closed(ctx, pts):
    """A closed Catmull-Rom curve through the points."""
    n = len(pts)
    ctx.move_to(*pts[0])
    for i in range(n):
        p0, p1, p2, p3 = pts[i - 1], pts[i], pts[(i + 1) % n], pts[(i + 2) % n]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6.0, p1[1] + (p2[1] - p0[1]) / 6.0)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6.0, p2[1] - (p3[1] - p1[1]) / 6.0)
        ctx.curve_to(c1[0], c1[1], c2[0], c2[1], p2[0], p2[1])
    ctx.close_path()


def smooth_open(ctx, pts):
    """An open Catmull-Rom curve through the points (ends repeated)."""
    ext = [pts[0]] + list(pts) + [pts[-1]]
    ctx.move_to(*pts[0])
    for i in range(1, len(ext) - 2):
        p0, p1, p2, p3 = ext[i - 1], ext[i], ext[i + 1], ext[i + 2]
        c1 = (p1[0] + (p2[0] - p0[0]) / 6.0, p1[1] + (p2[1] - p0[1]) / 6.0)
        c2 = (p2[0] - (p3[0] - p1[0]) / 6.0, p2[1] - (p3[1] - p1[1]) / 6.0)
        ctx.curve_to(c1[0], c1[1], c2[0], c2[1], p2[0], p2[1])


def wobbly_ellipse(cx, cy, rx, ry, rng, wobble=0.04, n=28, turn=0.0):
    """Points round an ellipse, each pushed in or out a little, as a brush would."""
    pts = []
    phase = rng.random() * math.tau
    for i in range(n):
        t = math.tau * i / n
        k = 1.0 + wobble * (0.6 * math.sin(3 * t + phase) + 0.4 * (rng.random() * 2 - 1))
        x, y = rx * k * math.cos(t), ry * k * math.sin(t)
        c, s = math.cos(turn), math.sin(turn)
        pts.append((cx + x * c - y * s, cy + x * s + y * c))
    return pts


def polar_points(cx, cy, rfun, n=240):
    return [(cx + rfun(math.tau * i / n) * math.cos(math.tau * i / n),
             cy + rfun(math.tau * i / n) * math.sin(math.tau * i / n)) for i in range(n)]


# ---------------------------------------------------------------- canvas

class Canvas:
    """Premultiplied RGBA floats, h rows by w columns. Drawing callbacks work in
    design units, which map to texels by (sx, sy)."""

    def __init__(self, w, h, sx=1.0, sy=1.0):
        self.w, self.h, self.sx, self.sy = w, h, sx, sy
        self.px = np.zeros((h, w, 4), np.float32)
        # design-unit coordinates of every texel centre
        self.x = ((np.arange(w, dtype=np.float32) + 0.5) / sx)[None, :].repeat(h, 0)
        self.y = ((np.arange(h, dtype=np.float32) + 0.5) / sy)[:, None].repeat(w, 1)

    def context(self, surface):
        ctx = cairo.Context(surface)
        ctx.scale(self.sx, self.sy)
        fo = cairo.FontOptions()
        fo.set_antialias(cairo.ANTIALIAS_GRAY)
        fo.set_hint_style(cairo.HINT_STYLE_NONE)
        fo.set_hint_metrics(cairo.HINT_METRICS_OFF)
        ctx.set_font_options(fo)
        ctx.set_source_rgba(0, 0, 0, 1)
        return ctx

    def mask(self, draw):
        """Coverage 0..1 of whatever draw(ctx) fills or strokes."""
        surf = cairo.ImageSurface(cairo.FORMAT_A8, self.w, self.h)
        ctx = self.context(surf)
        draw(ctx)
        surf.flush()
        stride = surf.get_stride()
        a = np.frombuffer(surf.get_data(), np.uint8).reshape(self.h, stride)[:, :self.w]
        return a.astype(np.float32) / 255.0

    def fill_mask(self, path):
        """Mask of a path built by path(ctx), filled."""
        def d(ctx):
            path(ctx)
            ctx.fill()
        return self.mask(d)

    def paint(self, alpha, color):
        """Lays colour (3 floats or an h x w x 3 field) over the canvas with coverage alpha."""
        a = np.clip(alpha, 0.0, 1.0)[..., None]
        col = np.broadcast_to(np.asarray(color, np.float32), (self.h, self.w, 3))
        src = np.concatenate([col * a, a], axis=2)
        self.px = src + self.px * (1.0 - a)

    def wash(self, alpha, color, rng, edge=0.35, edge_radius=6.0, mottle=0.12,
             mottle_cells=6, opacity=1.0):
        """A watercolour-like layer: mottled pigment, darker and denser at the edges."""
        m = np.clip(alpha, 0.0, 1.0)
        inner = blur(m, edge_radius * self.sx)
        rim = np.clip(m - inner, 0.0, 1.0) * 2.0
        n = value_noise(self.h, self.w, mottle_cells, rng) - 0.5
        col = np.broadcast_to(np.asarray(color, np.float32), (self.h, self.w, 3))
        shade = (1.0 - edge * rim + mottle * n)[..., None]
        col = np.clip(col * shade, 0.0, 1.0)
        a = m * opacity * np.clip(1.0 - 0.5 * mottle + mottle * n + 0.5 * edge * rim, 0.0, 1.0)
        self.paint(a, col)

    def grain(self, rng, amount=0.04, cells=None):
        """Paper grain: fine light and dark specks over the painted texels."""
        fine = rng.random((self.h, self.w)).astype(np.float32)
        fine = blur(fine, 0.8) - 0.5
        coarse = value_noise(self.h, self.w, cells or max(8, self.w // 24), rng, 2) - 0.5
        k = (1.0 + amount * (1.6 * fine + 0.8 * coarse))[..., None]
        self.px[..., :3] = np.minimum(self.px[..., :3] * k, self.px[..., 3:4])

    def layer(self, draw, opacity=1.0):
        """Lays whatever draw(ctx) paints with cairo (in design units) over the canvas."""
        surf = cairo.ImageSurface(cairo.FORMAT_ARGB32, self.w, self.h)
        draw(self.context(surf))
        surf.flush()
        stride = surf.get_stride()
        a = np.frombuffer(surf.get_data(), np.uint8).reshape(self.h, stride)[:, :self.w * 4]
        bgra = a.reshape(self.h, self.w, 4).astype(np.float32) / 255.0
        src = bgra[..., [2, 1, 0, 3]] * opacity
        self.px = src + self.px * (1.0 - src[..., 3:4])

    def downsampled(self, f):
        """A new canvas f times smaller, each texel the mean of an f x f block."""
        h, w = self.h // f, self.w // f
        out = Canvas(w, h, self.sx / f, self.sy / f)
        out.px = self.px.reshape(h, f, w, f, 4).mean(axis=(1, 3))
        return out

    # ------------------------------------------------------------ output

    def straight_rgba(self):
        """Un-premultiplied colour; fully transparent texels take the colour of
        the nearest painted ones, so linear filtering shows no dark fringe."""
        a = self.px[..., 3]
        col = np.zeros((self.h, self.w, 3), np.float32)
        covered = a > 1e-6
        col[covered] = self.px[covered, :3] / a[covered, None]
        if not covered.all() and covered.any():
            filled = covered.copy()
            radius = 1.0
            while not filled.all() and radius < max(self.w, self.h) * 2:
                pa = blur(self.px[..., 3], radius)
                pc = blur(self.px[..., :3], radius)
                ok = (~filled) & (pa > 1e-5)
                col[ok] = pc[ok] / pa[ok, None]
                filled |= ok
                radius *= 2.0
        return np.clip(col, 0.0, 1.0), np.clip(a, 0.0, 1.0)

    def save(self, path, opaque=False):
        col, a = self.straight_rgba()
        if opaque:
            # lay the picture on white so no texel is see-through
            col = col * a[..., None] + (1.0 - a[..., None])
            data = np.round(col * 255.0).astype(np.uint8)
        else:
            data = np.round(np.concatenate([col, a[..., None]], axis=2) * 255.0).astype(np.uint8)
        write_png(path, data)


def write_png(path, data):
    """An 8-bit RGB or RGBA PNG with Sub filtering and only IHDR, IDAT and IEND,
    so the bytes depend on the pixels alone. Sub is the cheapest filter to undo,
    which keeps the game's start-up and plantings quick. The data goes in 64 KiB
    IDAT chunks, well inside any reader's chunk size limit."""
    h, w, ch = data.shape
    raw = data.astype(np.int16).reshape(h, w * ch)
    left = np.zeros_like(raw)
    left[:, ch:] = raw[:, :-ch]
    filt = ((raw - left) & 0xFF).astype(np.uint8)
    rows = np.concatenate([np.full((h, 1), 1, np.uint8), filt], axis=1)
    body = zlib.compress(rows.tobytes(), 9)

    def chunk(kind, payload):
        crc = zlib.crc32(kind + payload) & 0xFFFFFFFF
        return struct.pack(">I", len(payload)) + kind + payload + struct.pack(">I", crc)

    colour_type = 6 if ch == 4 else 2
    ihdr = struct.pack(">IIBBBBB", w, h, 8, colour_type, 0, 0, 0)
    idat = b"".join(chunk(b"IDAT", body[i:i + 65536]) for i in range(0, len(body), 65536))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + idat + chunk(b"IEND", b""))


# ---------------------------------------------------------------- lettering

def text_path(ctx, text, size, cx, baseline, weight=cairo.FONT_WEIGHT_BOLD, anchor="centre"):
    """Adds the outline of `text` to the path, centred on cx (or starting there)."""
    ctx.select_font_face(FONT_FAMILY, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(size)
    ext = ctx.text_extents(text)
    x = cx - (ext.x_advance / 2.0 if anchor == "centre" else 0.0)
    ctx.move_to(x, baseline)
    ctx.text_path(text)
    return ext


def letter(canvas, rng, text, size, cx, baseline, fill, outline=None, outline_width=0.0,
           shadow=0.0, anchor="centre", weight=cairo.FONT_WEIGHT_BOLD, gloss=0.0):
    """Painted lettering: an optional soft shadow, an outline and a mottled fill."""
    glyphs = canvas.fill_mask(lambda c: text_path(c, text, size, cx, baseline, weight, anchor))
    if shadow > 0.0:
        sh = blur(np.roll(np.roll(glyphs, int(shadow * 0.5 * canvas.sy), 0),
                          int(shadow * 0.35 * canvas.sx), 1), shadow * canvas.sx)
        canvas.paint(sh * 0.35, rgb("#2d3a4a"))
    if outline is not None and outline_width > 0.0:
        def stroke(c):
            text_path(c, text, size, cx, baseline, weight, anchor)
            c.set_line_width(outline_width)
            c.set_line_join(cairo.LINE_JOIN_ROUND)
            c.stroke_preserve()
            c.fill()
        ring = canvas.mask(stroke)
        canvas.wash(ring, outline, rng, edge=0.1, edge_radius=2.0, mottle=0.06)
    col = np.broadcast_to(np.asarray(fill, np.float32), (canvas.h, canvas.w, 3)).copy()
    if gloss > 0.0:
        top = baseline - size * 0.75
        t = np.clip((canvas.y - top) / (size * 0.8), 0.0, 1.0)[..., None]
        col = np.clip(col * (1.0 + gloss * (0.5 - t)), 0.0, 1.0)
    canvas.wash(glyphs, col, rng, edge=0.12, edge_radius=2.0, mottle=0.08)
