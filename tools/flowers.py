"""Flowers for the illustrations, laid out the way the game lays them out.

The title, instructions and game-over pictures show flowers made of the very
organ pictures the game uses, placed with the game's own geometry: leaves
hung on the stem at half its length, six petals round the tip, the pistil on
top, all sized from the stem's length. Drawing happens on a cairo context
whose user space is the garden's world units (y up).
"""

import math
import os

import cairo
import numpy as np

STEM_GREEN = (0.0, 1.0, 0.0)


class Traits:
    def __init__(self, pistil, leaf, petal, petal_shape, leaf_shape, pistil_shape):
        self.pistil, self.leaf, self.petal = pistil, leaf, petal
        self.petal_shape, self.leaf_shape, self.pistil_shape = petal_shape, leaf_shape, pistil_shape


GOAL = Traits((1, 1, 0), (0, 1, 0), (1, 1, 1), 2, 0, 0)
STARTERS = [
    Traits((1, 0, 0), (0, 1, 0), (1, 0.5, 0), 1, 2, 0),
    Traits((1, 1, 0), (1, 0.5, 0.4), (1, 1, 1), 0, 1, 1),
    Traits((1, 0, 1), (0.7, 0.7, 1), (0.5, 1, 0.5), 2, 0, 2),
]


class Sprites:
    """The organ, seed and selector pictures, loaded once and tinted on demand."""

    def __init__(self, folder):
        self.folder = folder
        self.images = {}
        self.tinted = {}

    def image(self, name):
        if name not in self.images:
            self.images[name] = cairo.ImageSurface.create_from_png(os.path.join(self.folder, name))
        return self.images[name]

    def tint(self, name, color):
        key = (name, tuple(round(c, 4) for c in color))
        if key not in self.tinted:
            src = self.image(name)
            w, h = src.get_width(), src.get_height()
            out = cairo.ImageSurface(cairo.FORMAT_ARGB32, w, h)
            a = np.frombuffer(src.get_data(), np.uint8).reshape(h, src.get_stride())[:, :w * 4]
            px = a.reshape(h, w, 4).astype(np.float32)
            r, g, b = color
            px[..., 2] *= r   # cairo keeps B, G, R, A in memory
            px[..., 1] *= g
            px[..., 0] *= b
            dst = np.frombuffer(out.get_data(), np.uint8).reshape(h, out.get_stride())
            dst[:, :w * 4] = np.round(px).astype(np.uint8).reshape(h, w * 4)
            out.mark_dirty()
            self.tinted[key] = out
        return self.tinted[key]

    def draw(self, ctx, name, color):
        """A unit square centred on the origin, the picture's top row along y = +0.5."""
        img = self.tint(name, color)
        w, h = img.get_width(), img.get_height()
        ctx.save()
        ctx.translate(-0.5, 0.5)
        ctx.scale(1.0 / w, -1.0 / h)
        pat = cairo.SurfacePattern(img)
        pat.set_filter(cairo.FILTER_GOOD)
        ctx.set_source(pat)
        ctx.rectangle(0, 0, w, h)
        ctx.fill()
        ctx.restore()


def world_context(surface, left, right, bottom, top):
    """A context whose user space is world units over the whole surface."""
    ctx = cairo.Context(surface)
    w, h = surface.get_width(), surface.get_height()
    ctx.scale(w / (right - left), -h / (top - bottom))
    ctx.translate(-left, -top)
    return ctx


class Stem:
    def __init__(self, points):
        self.points = points
        self.segments = []
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            length = math.hypot(x1 - x0, y1 - y0)
            self.segments.append(((x0, y0), (x1, y1), (x1 - x0) / length, (y1 - y0) / length, length))
        self.length = sum(s[4] for s in self.segments)

    def at(self, f):
        total = 0.0
        for s in self.segments:
            if total >= f:
                return s
            total += s[4] / self.length
        return self.segments[-1]


def curved_stem(base, length, lean=0.0, pieces=20):
    """A stem of `pieces` equal steps rising from `base` and bending gently, its
    tip `lean` world units to the side."""
    pts = [base]
    step = length / pieces
    x, y = base
    for i in range(1, pieces + 1):
        t0, t1 = (i - 1) / pieces, i / pieces
        dx = lean * (t1 * t1 - t0 * t0)
        dy = math.sqrt(max(1e-6, step * step - dx * dx))
        x, y = x + dx, y + dy
        pts.append((x, y))
    return Stem(pts)


def draw_flower(ctx, sprites, traits, stem, leaf_sway=0.0, bloom_sway=0.0, length=None):
    """One flower: stem, two leaves, six petals and the pistil, in that order."""
    size = (length if length is not None else stem.length) * 0.05
    leaf_size = (size - 0.5) * 2.0
    width = (length if length is not None else stem.length) * 0.03 + 0.3

    ctx.save()
    ctx.set_source_rgb(*STEM_GREEN)
    ctx.set_line_width(width)
    ctx.set_line_join(cairo.LINE_JOIN_BEVEL)
    ctx.set_line_cap(cairo.LINE_CAP_BUTT)
    ctx.move_to(*stem.points[0])
    for p in stem.points[1:]:
        ctx.line_to(*p)
    ctx.stroke()
    ctx.restore()

    def angle(seg):
        return math.degrees(math.atan2(seg[3], seg[2]))

    for frac, threshold, turn in ((0.5, 0.5, lambda: 10 * math.sin(leaf_sway)),
                                  (0.54, 0.54, lambda: -180 + 10 * math.cos(leaf_sway))):
        if size > threshold:
            seg = stem.at(frac)
            s = leaf_size * 5 * 0.7
            ctx.save()
            ctx.translate(*seg[0])
            ctx.rotate(math.radians(angle(seg) + turn()))
            ctx.scale(s, s)
            ctx.translate(0, leaf_size * 0.5)
            sprites.draw(ctx, ["leaf.png", "leaf2.png", "leaf3.png"][traits.leaf_shape], traits.leaf)
            ctx.restore()

    tip = stem.points[-1]
    seg = stem.at(1.0)
    p = size * 6 * 0.7
    ctx.save()
    ctx.translate(*tip)
    ctx.scale(p, p)
    for k in range(0, 360, 60):
        ctx.save()
        ctx.rotate(math.radians(angle(seg) + 4 * math.sin(bloom_sway) + k + 30))
        ctx.translate(0, size * 0.8)
        sprites.draw(ctx, ["petal.png", "petal2.png", "petal3.png"][traits.petal_shape], traits.petal)
        ctx.restore()
    ctx.restore()

    q = size * 7 * 0.7
    ctx.save()
    ctx.translate(*tip)
    ctx.rotate(math.radians(4 * math.sin(bloom_sway)))
    ctx.scale(q, q)
    sprites.draw(ctx, ["pistil.png", "pistil2.png", "pistil3.png"][traits.pistil_shape], traits.pistil)
    ctx.restore()


def draw_seed(ctx, sprites, x, y, scale=4.0):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(scale, scale)
    sprites.draw(ctx, "seed.png", (0.8, 0.6, 0.2))
    ctx.restore()


def draw_selector(ctx, sprites, x, y, size, color=(1, 1, 1)):
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(size, size)
    sprites.draw(ctx, "selector.png", color)
    ctx.restore()
