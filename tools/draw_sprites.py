"""Paints the small pictures: the three shapes of pistil, leaf and petal, the
seed and the selection ring.

The game tints every texel with a trait colour, so the organs are painted in
white and pale greys only. Each organ is drawn upright in its square: a leaf
or a petal grows from the bottom centre (where the game anchors it) towards
the top; a pistil sits in the middle. A clear margin runs round every edge.

Usage: draw_sprites.py OUTPUT_FOLDER
"""

import math
import os
import sys

import numpy as np

import paint
from paint import Canvas, blur, smooth_closed, smooth_open, polar_points

SS = 4            # supersampling factor
ORGAN = 64        # organ texture side, texels
SEED = 64
SELECTOR = 128

BASE_Y = 0.965    # where a leaf's stalk or a petal's foot starts (unit square, y down), clear of the margin
TOP_Y = 0.045     # where a leaf's or a petal's far end reaches


def profile_points(width_at, y_base, y_tip, n=60, base_half=0.0, wobble=0.025):
    """Outline of a shape symmetric about x = 0.5, from its half-width along the axis
    (t = 0 at the base, 1 at the tip), with a slight hand-drawn waver."""
    right, left = [], []
    for i in range(n + 1):
        t = i / n
        y = y_base + (y_tip - y_base) * t
        w = max(base_half * (1 - t), width_at(t)) * (1.0 + wobble * math.sin(7.0 * t + 1.3)
                                                     * math.sin(math.pi * t))
        right.append((0.5 + w, y))
        left.append((0.5 - w, y))
    return right + left[::-1][1:-1]


def organ(points_or_path, details=None, seed=0, side=ORGAN, rim=0.16, outline=0.6,
          outline_width=0.012, gloss=(0.35, 0.25)):
    """Paints one light organ: soft volume shading towards the edges, a highlight,
    optional detail lines and a thin grey outline. Returns the downsampled canvas."""
    rng = np.random.default_rng(seed)
    big = side * SS
    c = Canvas(big, big, big, big)

    def path(ctx):
        if callable(points_or_path):
            points_or_path(ctx)
        else:
            smooth_closed(ctx, points_or_path)

    m = c.fill_mask(path)
    inner = blur(m, big * 0.09)
    edge = np.clip((m - inner) * 2.2, 0.0, 1.0)
    hx, hy = gloss
    light = np.exp(-(((c.x - hx) ** 2) + ((c.y - hy) ** 2)) / 0.08)
    mottle = paint.value_noise(big, big, 5, rng) - 0.5
    shade = 0.96 - rim * edge + 0.05 * light + 0.06 * mottle
    if details is not None:
        d = c.mask(details)
        shade = shade - 0.13 * d
    col = np.clip(shade, 0.0, 1.0)[..., None].repeat(3, 2)
    c.paint(m, col)
    # a thin grey line along the silhouette only, so joined parts show no seam
    line = m * np.clip((0.8 - blur(m, big * outline_width)) * 3.0, 0.0, 1.0)
    c.paint(line * 0.9, (outline, outline, outline))
    c.grain(rng, 0.03)
    return c.downsampled(SS)


def veins(midrib_from, midrib_to, pairs, spread, width=0.012, bend=0.08, reach=None):
    """Draws a midrib and pairs of side veins curving towards the tip."""
    (x0, y0), (x1, y1) = midrib_from, midrib_to

    def d(ctx):
        ctx.set_line_cap(1)  # round
        ctx.set_line_width(width)
        ctx.move_to(x0, y0)
        ctx.line_to(x1, y1)
        ctx.stroke()
        ctx.set_line_width(width * 0.7)
        for i in range(pairs):
            t = (i + 1) / (pairs + 1)
            sx, sy = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            w = spread(t)
            for sgn in (-1, 1):
                smooth_open(ctx, [(sx, sy), (sx + sgn * w * 0.55, sy - bend * 0.7),
                                  (sx + sgn * w, sy - bend * 1.6)])
                ctx.stroke()
    return d


# ---------------------------------------------------------------- leaves

def leaf_almond():
    """A plain pointed leaf, widest below its middle."""
    y_base, y_tip = 0.80, TOP_Y

    def w(t):
        return 0.25 * math.sin(math.pi * t ** 0.85) ** 0.9 * (1.0 - 0.15 * t)
    blade = profile_points(w, y_base, y_tip)

    def shape(ctx):
        smooth_closed(ctx, blade)
        ctx.rectangle(0.472, y_base - 0.02, 0.056, BASE_Y - y_base + 0.02)

    return organ(shape, veins((0.5, 0.83), (0.5, 0.12), 4,
                              lambda t: 0.8 * w(0.15 + 0.8 * t), bend=0.07), seed=11)


def leaf_heart():
    """A broad heart-shaped leaf on a short stalk."""
    pts = []
    n = 120
    for i in range(n):
        t = math.tau * i / n
        # heart curve with the point at the top and the lobes by the stalk
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((0.5 + x * 0.0265, 0.47 + y * 0.0265))
    # the curve above has its point at the bottom; turn it over so it points up
    pts = [(x, 0.94 - y + 0.0) for (x, y) in pts]
    ys = [p[1] for p in pts]
    top, bottom = min(ys), max(ys)
    scale = (0.82 - TOP_Y) / (bottom - top)
    pts = [(0.5 + (x - 0.5) * 0.92, TOP_Y + (y - top) * scale) for (x, y) in pts]

    def shape(ctx):
        smooth_closed(ctx, pts)
        ctx.rectangle(0.474, 0.70, 0.052, BASE_Y - 0.70)

    return organ(shape, veins((0.5, 0.74), (0.5, 0.12), 3,
                              lambda t: 0.30 * math.sin(math.pi * (0.25 + 0.7 * t)),
                              bend=0.09), seed=12)


def leaf_oak():
    """A long leaf with three rounded lobes a side."""
    y_base, y_tip = 0.84, TOP_Y

    def w(t):
        env = 0.27 * math.sin(math.pi * min(1.0, t * 1.02) ** 0.8) ** 0.7
        lobes = 0.58 + 0.42 * (0.5 + 0.5 * math.cos(math.tau * (3.0 * t - 0.5)))
        return env * (lobes if t < 0.86 else 1.0) + 0.01
    blade = profile_points(w, y_base, y_tip, n=150)

    def shape(ctx):
        smooth_closed(ctx, blade)
        ctx.rectangle(0.474, y_base - 0.02, 0.052, BASE_Y - y_base + 0.02)

    def det(ctx):
        veins((0.5, 0.86), (0.5, 0.10), 0, lambda t: 0.0)(ctx)
        ctx.set_line_width(0.009)
        for k in range(3):
            t = (k + 0.5) / 3.0 * 0.86
            y = y_base + (y_tip - y_base) * t
            for sgn in (-1, 1):
                smooth_open(ctx, [(0.5, y + 0.05), (0.5 + sgn * 0.09, y - 0.0),
                                  (0.5 + sgn * 0.18, y - 0.03)])
                ctx.stroke()

    return organ(shape, det, seed=13)


# ---------------------------------------------------------------- petals

def petal_round():
    """A broad petal with a round end on a narrow foot, like a buttercup's."""
    r = 0.325                            # the round end's radius
    cy = TOP_Y + r                       # and its centre
    foot = 0.03                          # half-width where the petal meets the ring
    d = BASE_Y - cy
    slope = math.tan(math.asin(r / d))   # the sides run tangent to the round end
    y_touch = cy + r * (r / d)

    pts = []
    n = 90
    for i in range(n + 1):               # right side, base to top
        y = BASE_Y + (cy - r - BASE_Y) * i / n
        if y > y_touch:
            w = foot + slope * (BASE_Y - y) * (1.0 - foot / (slope * (BASE_Y - y_touch)))
        else:
            w = math.sqrt(max(0.0, r * r - (y - cy) ** 2))
        pts.append((0.5 + w, y))
    pts = pts + [(1.0 - x, y) for (x, y) in pts[::-1][1:-1]]

    def det(ctx):
        ctx.set_line_width(0.01)
        ctx.set_line_cap(1)
        for k in (-2, -1, 0, 1, 2):
            smooth_open(ctx, [(0.5, 0.93), (0.5 + k * 0.035, 0.66), (0.5 + k * 0.085, 0.32)])
            ctx.stroke()

    return organ(pts, det, seed=21, rim=0.12)


def petal_pointed():
    """A slim pointed petal, like a daisy's ray."""
    def w(t):
        return 0.02 + 0.17 * math.sin(math.pi * t ** 0.9) ** 0.7 * (1.0 - t) ** 0.25

    pts = profile_points(w, BASE_Y, TOP_Y, n=80)

    def det(ctx):
        ctx.set_line_width(0.011)
        ctx.set_line_cap(1)
        smooth_open(ctx, [(0.5, 0.92), (0.5, 0.55), (0.5, 0.18)])
        ctx.stroke()
        for k in (-1, 1):
            smooth_open(ctx, [(0.5, 0.88), (0.5 + k * 0.06, 0.55), (0.5 + k * 0.05, 0.25)])
            ctx.stroke()

    return organ(pts, det, seed=22, rim=0.13)


def petal_heart():
    """A wide petal with a notch at its end."""
    pts = []
    n = 160
    for i in range(n):
        t = math.tau * i / n
        x = 16 * math.sin(t) ** 3
        y = 13 * math.cos(t) - 5 * math.cos(2 * t) - 2 * math.cos(3 * t) - math.cos(4 * t)
        pts.append((x, -y))   # lobes up, point down
    xs = [p[0] for p in pts]
    ys = [p[1] for p in pts]
    sx = 0.80 / (max(xs) - min(xs))
    sy = (BASE_Y - TOP_Y) / (max(ys) - min(ys))
    top = min(ys)
    pts = [(0.5 + x * sx, TOP_Y + (y - top) * sy) for (x, y) in pts]

    def det(ctx):
        ctx.set_line_width(0.01)
        ctx.set_line_cap(1)
        for k in (-2, -1, 1, 2):
            smooth_open(ctx, [(0.5, 0.92), (0.5 + k * 0.05, 0.6), (0.5 + k * 0.1, 0.32)])
            ctx.stroke()
        smooth_open(ctx, [(0.5, 0.92), (0.5, 0.55), (0.5, 0.3)])
        ctx.stroke()

    return organ(pts, det, seed=23, rim=0.12)


# ---------------------------------------------------------------- pistils

def pistil_disc():
    """A round seed head dotted in a spiral."""
    rng = np.random.default_rng(31)
    pts = paint.wobbly_ellipse(0.5, 0.5, 0.36, 0.36, rng, wobble=0.02, n=40)

    def det(ctx):
        golden = math.pi * (3 - math.sqrt(5))
        for k in range(1, 46):
            r = 0.045 * math.sqrt(k)
            if r > 0.31:
                break
            a = k * golden
            ctx.arc(0.5 + r * math.cos(a), 0.5 + r * math.sin(a), 0.016 + 0.006 * r / 0.3, 0,
                    math.tau)
            ctx.fill()

    return organ(pts, det, seed=31, rim=0.2, gloss=(0.4, 0.38))


def pistil_star():
    """A spiky eight-pointed tuft."""
    def r(theta):
        return 0.28 + 0.18 * (0.5 + 0.5 * math.cos(8 * theta)) ** 2.2

    pts = polar_points(0.5, 0.5, r, n=320)

    def det(ctx):
        ctx.set_line_width(0.012)
        ctx.set_line_cap(1)
        for k in range(8):
            a = math.tau * k / 8
            ctx.move_to(0.5 + 0.1 * math.cos(a), 0.5 + 0.1 * math.sin(a))
            ctx.line_to(0.5 + 0.38 * math.cos(a), 0.5 + 0.38 * math.sin(a))
            ctx.stroke()
        ctx.arc(0.5, 0.5, 0.07, 0, math.tau)
        ctx.fill()

    return organ(pts, det, seed=32, rim=0.18, gloss=(0.42, 0.4))


def pistil_stamens():
    """A small round heart with six stamens ending in knobs."""
    def shape(ctx):
        ctx.arc(0.5, 0.5, 0.295, 0, math.tau)
        ctx.fill()
        for k in range(6):
            a = math.tau * (k + 0.5) / 6
            kx, ky = 0.5 + 0.39 * math.cos(a), 0.5 + 0.39 * math.sin(a)
            ctx.arc(kx, ky, 0.075, 0, math.tau)
            ctx.fill()
            # a tapering filament from the heart to the knob
            nx, ny = -math.sin(a), math.cos(a)
            ctx.move_to(0.5 + 0.25 * math.cos(a) + nx * 0.035, 0.5 + 0.25 * math.sin(a) + ny * 0.035)
            ctx.line_to(kx + nx * 0.02, ky + ny * 0.02)
            ctx.line_to(kx - nx * 0.02, ky - ny * 0.02)
            ctx.line_to(0.5 + 0.25 * math.cos(a) - nx * 0.035, 0.5 + 0.25 * math.sin(a) - ny * 0.035)
            ctx.close_path()
            ctx.fill()

    def det(ctx):
        ctx.set_line_width(0.012)
        ctx.arc(0.5, 0.5, 0.2, 0, math.tau)
        ctx.stroke()
        for k in range(6):
            a = math.tau * k / 6
            ctx.arc(0.5 + 0.11 * math.cos(a), 0.5 + 0.11 * math.sin(a), 0.025, 0, math.tau)
            ctx.fill()

    return organ(shape, det, seed=33, rim=0.18, gloss=(0.42, 0.4))


# ---------------------------------------------------------------- seed, ring

def seed_picture():
    """A plump seed lying a little tilted, with a groove and a shine."""
    rng = np.random.default_rng(41)
    big = SEED * SS
    c = Canvas(big, big, big, big)
    turn = -0.5
    body = paint.wobbly_ellipse(0.5, 0.5, 0.36, 0.25, rng, wobble=0.02, n=30, turn=turn)
    # a slightly pointed end, as sunflower and pumpkin seeds have
    tip = (0.5 + 0.43 * math.cos(turn), 0.5 + 0.43 * math.sin(turn))
    k = min(range(len(body)), key=lambda i: (body[i][0] - tip[0]) ** 2 + (body[i][1] - tip[1]) ** 2)
    body[k] = tip

    def shadow_path(ctx):
        ctx.save()
        ctx.translate(0.53, 0.64)
        ctx.scale(0.36, 0.2)
        ctx.arc(0, 0, 1, 0, math.tau)
        ctx.restore()

    shadow = c.fill_mask(shadow_path)
    c.paint(blur(shadow, big * 0.04) * 0.35, (0.2, 0.2, 0.2))

    m = c.fill_mask(lambda ctx: smooth_closed(ctx, body))
    edge = np.clip((m - blur(m, big * 0.1)) * 2.0, 0, 1)
    # light from the upper left, darker towards the lower right
    u = (c.x - 0.5) * 0.7 + (c.y - 0.5) * 0.7
    light = np.exp(-(((c.x - 0.4) ** 2) + ((c.y - 0.38) ** 2)) / 0.012)
    shade = 0.93 - 0.35 * np.clip(u + 0.1, 0, 1) - 0.2 * edge + 0.25 * light
    groove = c.mask(lambda ctx: (ctx.set_line_width(0.025), ctx.set_line_cap(1),
                                 smooth_open(ctx, [(0.5 - 0.27 * math.cos(turn), 0.5 - 0.27 * math.sin(turn) + 0.01),
                                                   (0.5, 0.5 + 0.02),
                                                   (0.5 + 0.27 * math.cos(turn), 0.5 + 0.27 * math.sin(turn) + 0.01)]),
                                 ctx.stroke()))
    shade = shade - 0.18 * groove
    c.paint(m, np.clip(shade, 0, 1)[..., None].repeat(3, 2))
    rim = c.mask(lambda ctx: (smooth_closed(ctx, body), ctx.set_line_width(0.03), ctx.stroke()))
    c.paint(rim * 0.85, (0.36, 0.36, 0.36))
    c.grain(rng, 0.04)
    return c.downsampled(SS)


def selector_picture():
    """A white ring with a clear middle, edged in grey so it shows on pale ground."""
    rng = np.random.default_rng(51)
    big = SELECTOR * SS
    c = Canvas(big, big, big, big)
    r_mid, half = 0.425, 0.032

    def ring(ctx, extra):
        pts_o = paint.wobbly_ellipse(0.5, 0.5, r_mid + half + extra, r_mid + half + extra,
                                     np.random.default_rng(52), wobble=0.008, n=36)
        pts_i = paint.wobbly_ellipse(0.5, 0.5, r_mid - half - extra, r_mid - half - extra,
                                     np.random.default_rng(53), wobble=0.008, n=36)
        smooth_closed(ctx, pts_o)
        smooth_closed(ctx, pts_i[::-1])
        ctx.set_fill_rule(0)

    halo = blur(c.fill_mask(lambda ctx: ring(ctx, 0.012)), big * 0.008)
    c.paint(halo * 0.75, (0.3, 0.3, 0.3))
    m = c.fill_mask(lambda ctx: ring(ctx, 0.0))
    angle = np.arctan2(c.y - 0.5, c.x - 0.5)
    shine = 0.9 + 0.1 * np.cos(angle + 2.3)
    c.paint(m, np.clip(shine, 0, 1)[..., None].repeat(3, 2))
    c.grain(rng, 0.02)
    return c.downsampled(SS)


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    pictures = {
        "leaf.png": leaf_almond, "leaf2.png": leaf_heart, "leaf3.png": leaf_oak,
        "petal.png": petal_round, "petal2.png": petal_pointed, "petal3.png": petal_heart,
        "pistil.png": pistil_disc, "pistil2.png": pistil_star, "pistil3.png": pistil_stamens,
        "seed.png": seed_picture, "selector.png": selector_picture,
    }
    for name, make in pictures.items():
        make().save(os.path.join(out, name))


if __name__ == "__main__":
    main()
