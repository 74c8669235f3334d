"""Paints the full-view pictures: the garden background, the title, the
instructions and the game-over picture, and a stand-in goal icon.

The full-view pictures are stretched over the whole 800 x 600 view, so they
are composed in an 800 x 600 design space and stored as 1024 x 512 textures
(powers of two, nothing rescaled on loading, close to one texel a pixel).
The garden's world rectangle x -50..50, y 0..75 maps onto that design space
at 8 pixels a unit; the planting mound is the disc of radius 70 round world
(0, -50). The flower pictures are made from the organ pictures, so this runs
after draw_sprites.py.

Usage: draw_screens.py IMAGE_FOLDER [--goal-icon]
"""

import math
import os
import sys

import cairo
import numpy as np

import flowers
import paint
from paint import Canvas, blur, rgb, smooth_closed, smooth_open, wobbly_ellipse

W, H = 800, 600           # design space, pixels of the 800 x 600 view
TEX_W, TEX_H = 1024, 512  # stored texture

MOUND_CX, MOUND_CY, MOUND_R = 400.0, 1000.0, 560.0   # the planting disc in design pixels
GOAL_BOX = (592.0, 16.0, 800.0, 224.0)              # where the goal icon is drawn


def world(x, y):
    """Design pixel of a world point."""
    return 400.0 + 8.0 * x, 600.0 - 8.0 * y


def world_frame(ctx):
    """Turns a design-space context into world units (y up)."""
    ctx.translate(400.0, 600.0)
    ctx.scale(8.0, -8.0)


def new_canvas():
    return Canvas(TEX_W, TEX_H, TEX_W / W, TEX_H / H)


# ---------------------------------------------------------------- scenery

def sky(c, rng, top, horizon, warm=None):
    t = np.clip(c.y / 460.0, 0.0, 1.0)[..., None]
    col = top[None, None, :] * (1 - t) + horizon[None, None, :] * t
    if warm is not None:
        # a glow low in the middle of the sky
        g = np.exp(-(((c.x - 400) / 420.0) ** 2 + ((c.y - 420) / 260.0) ** 2))[..., None]
        col = col * (1 - 0.55 * g) + warm[None, None, :] * 0.55 * g
    n = paint.value_noise(c.h, c.w, 5, rng)[..., None] - 0.5
    col = np.clip(col * (1.0 + 0.05 * n), 0, 1)
    c.paint(np.ones((c.h, c.w), np.float32), col)


def sun(c, rng, x, y, r, core, glow):
    d = np.sqrt((c.x - x) ** 2 + (c.y - y) ** 2)
    c.paint(np.exp(-((d / (r * 2.6)) ** 2)) * 0.45, glow)
    disc = c.fill_mask(lambda ctx: smooth_closed(ctx, wobbly_ellipse(x, y, r, r, rng, 0.02, 24)))
    c.wash(disc, core, rng, edge=0.12, edge_radius=6, mottle=0.08)


def cloud(c, rng, x, y, w, h, body=rgb("#ffffff"), belly=rgb("#d9def0"), opacity=0.95):
    puffs = []
    n = 6
    for i in range(n):
        t = (i + 0.5) / n
        px = x - w / 2 + w * t
        bump = math.sin(math.pi * t)
        py = y - h * 0.35 * bump + rng.uniform(-0.05, 0.05) * h
        r = h * (0.35 + 0.35 * bump) * rng.uniform(0.85, 1.1)
        puffs.append(wobbly_ellipse(px, py, r * 1.15, r, rng, 0.05, 20))
    base = wobbly_ellipse(x, y + h * 0.1, w * 0.55, h * 0.3, rng, 0.03, 24)

    def shape(ctx):
        for p in puffs + [base]:
            smooth_closed(ctx, p)
            ctx.fill()
    m = c.mask(shape)
    t = np.clip((c.y - (y - h * 0.6)) / (h * 1.1), 0, 1)[..., None]
    col = body[None, None, :] * (1 - t) + belly[None, None, :] * t
    c.wash(m, col, rng, edge=0.12, edge_radius=10, mottle=0.06, opacity=opacity)


def ridge(c, rng, base_y, amp, waves, color, edge_light, opacity=1.0):
    """A line of rolling hills filled down to the bottom edge."""
    phases = [rng.uniform(0, math.tau) for _ in waves]

    def y_at(x):
        return base_y - sum(a * math.sin(x / wl * math.tau + ph) for (a, wl), ph in
                            zip([(amp * k, wl) for k, wl in waves], phases))

    pts = [(x, y_at(x)) for x in np.linspace(-20, W + 20, 60)]

    def shape(ctx):
        ctx.move_to(-20, H + 20)
        for p in pts:
            ctx.line_to(*p)
        ctx.line_to(W + 20, H + 20)
        ctx.close_path()
        ctx.fill()
    m = c.mask(shape)
    top_y = np.array([y_at(x) for x in c.x[0]], np.float32)[None, :]
    depth = np.clip((c.y - top_y) / 90.0, 0, 1)[..., None]
    col = edge_light[None, None, :] * (1 - depth) + color[None, None, :] * depth
    c.wash(m, col, rng, edge=0.15, edge_radius=5, mottle=0.12, mottle_cells=9, opacity=opacity)
    return y_at


def bushes(c, rng, y_at, spots, color, dark):
    def shape(ctx):
        for x, r in spots:
            y = y_at(x)
            for k in range(3):
                smooth_closed(ctx, wobbly_ellipse(x + (k - 1) * r * 0.6, y - r * (0.55 + 0.25 * (k == 1)),
                                                  r * 0.7, r * 0.62, rng, 0.08, 18))
                ctx.fill()
    m = c.mask(shape)
    t = np.clip(paint.value_noise(c.h, c.w, 20, rng) * 1.2, 0, 1)[..., None]
    col = color[None, None, :] * (1 - t * 0.5) + dark[None, None, :] * t * 0.5
    c.wash(m, col, rng, edge=0.3, edge_radius=4, mottle=0.1)


def mound(c, rng, soil_top, soil_low, rim, speck_light, speck_dark, grass):
    """The planting area: a low dome of tilled soil with a grassy edge."""
    def disc(ctx):
        ctx.arc(MOUND_CX, MOUND_CY, MOUND_R, 0, math.tau)
        ctx.fill()
    m = c.mask(disc)
    d = np.sqrt((c.x - MOUND_CX) ** 2 + (c.y - MOUND_CY) ** 2)
    depth = np.clip((MOUND_R - d) / 150.0, 0, 1)[..., None]
    col = soil_top[None, None, :] * (1 - depth) + soil_low[None, None, :] * depth
    c.wash(m, col, rng, edge=0.0, mottle=0.16, mottle_cells=14)

    # tilled rows following the dome: a sunlit ridge over a shaded furrow
    def rows(ctx, lift):
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_line_width(5.0)
        for k, r in enumerate(range(int(MOUND_R) - 40, int(MOUND_R) - 190, -36)):
            span = 1.05 - 0.0008 * (MOUND_R - r)
            steps = 48
            pts = []
            for i in range(steps + 1):
                a = -math.pi / 2 + span * (2.0 * i / steps - 1.0)
                rr = r + 2.5 * math.sin(i * 0.7 + k * 1.7) - lift
                pts.append((MOUND_CX + rr * math.cos(a), MOUND_CY + rr * math.sin(a)))
            smooth_open(ctx, pts)
            ctx.stroke()
    c.paint(blur(c.mask(lambda ctx: rows(ctx, 0.0)), 2.5 * c.sx) * m * 0.28, soil_low * 0.75)
    c.paint(blur(c.mask(lambda ctx: rows(ctx, 5.0)), 2.5 * c.sx) * m * 0.22, rim)

    # clods and pebbles
    def specks(ctx, light):
        for _ in range(420):
            a = rng.uniform(-math.pi / 2 - 1.1, -math.pi / 2 + 1.1)
            r = MOUND_R - abs(rng.normal(0, 70)) - 6
            x, y = MOUND_CX + r * math.cos(a), MOUND_CY + r * math.sin(a)
            if y > H + 5:
                continue
            s = rng.uniform(1.2, 3.6) if light else rng.uniform(1.0, 2.6)
            ctx.save()
            ctx.translate(x, y)
            ctx.scale(s * 1.4, s)
            ctx.arc(0, 0, 1, 0, math.tau)
            ctx.restore()
            ctx.fill()
    c.paint(c.mask(lambda ctx: specks(ctx, True)) * m * 0.55, speck_light)
    c.paint(c.mask(lambda ctx: specks(ctx, False)) * m * 0.5, speck_dark)

    # a sunlit rim along the top of the dome
    def rim_line(ctx):
        ctx.set_line_width(7)
        ctx.arc(MOUND_CX, MOUND_CY, MOUND_R - 4, math.pi + 0.4, math.tau - 0.4)
        ctx.stroke()
    c.paint(blur(c.mask(rim_line), 3.0 * c.sx) * m * 0.5, rim)

    # tufts of grass just outside the soil
    def tufts(ctx):
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        count = 90
        for i in range(count):
            a = -math.pi / 2 + (i / (count - 1.0) - 0.5) * 2.14 + rng.uniform(-0.008, 0.008)
            x = MOUND_CX + (MOUND_R - 2) * math.cos(a)
            y = MOUND_CY + (MOUND_R - 2) * math.sin(a)
            if y > H + 10:
                continue
            nx, ny = math.cos(a), math.sin(a)
            for b in range(int(rng.integers(4, 8))):
                lean = rng.uniform(-1.0, 1.0)
                hgt = rng.uniform(6, 13)
                bx = x + rng.uniform(-4, 4) * -ny
                by = y + rng.uniform(-4, 4) * nx
                tx = bx + nx * hgt + lean * 6 * -ny
                ty = by + ny * hgt + lean * 6 * nx
                ctx.set_line_width(rng.uniform(1.8, 3.0))
                ctx.move_to(bx, by)
                ctx.curve_to(bx + nx * hgt * 0.5, by + ny * hgt * 0.5, tx - lean * 2 * -ny, ty, tx, ty)
                ctx.stroke()
    blades = c.mask(tufts)
    d_edge = np.clip((d - (MOUND_R - 4)) / 12.0, 0, 1)[..., None]
    col = grass * 0.75 * (1 - d_edge) + grass * 1.12 * d_edge
    c.wash(blades, np.clip(col, 0, 1), rng, edge=0.1, edge_radius=1.5, mottle=0.15, mottle_cells=30)


def garden(c, rng, mood="day"):
    """Sky, hills and the planting mound, shared by the garden pictures."""
    if mood == "day":
        sky(c, rng, rgb("#6fa9dc"), rgb("#d9eef4"))
        sun(c, rng, 92, 86, 40, rgb("#fff1b8"), rgb("#fff6d0"))
        cloud(c, rng, 215, 150, 230, 70)
        cloud(c, rng, 455, 92, 150, 46)
        cloud(c, rng, 330, 268, 120, 34, opacity=0.8)
        far, far_light = rgb("#8fb0c9"), rgb("#b9d0e0")
        near, near_light = rgb("#5f8f83"), rgb("#86b0a0")
        bush, bush_dark = rgb("#4d7d6f"), rgb("#2f5a4f")
    else:
        sky(c, rng, rgb("#f39a7d"), rgb("#ffe6a8"), warm=rgb("#fff2c4"))
        far, far_light = rgb("#b98aa4"), rgb("#e3b4b4")
        near, near_light = rgb("#7d8f6a"), rgb("#b0b67f")
        bush, bush_dark = rgb("#6b7d55"), rgb("#4b5b3c")
    ridge(c, rng, 385, 14, [(1.0, 520), (0.6, 230)], far, far_light)
    y_near = ridge(c, rng, 440, 16, [(1.0, 640), (0.5, 260)], near, near_light)
    bushes(c, rng, y_near, [(40, 26), (118, 18), (706, 22), (770, 30)], bush, bush_dark)
    mound(c, rng, rgb("#9a6a45"), rgb("#6a4329"), rgb("#c79a6c"), rgb("#b88d65"),
          rgb("#4a2e1b"), rgb("#6f9f4f"))


def goal_panel(c, rng, caption=True):
    """A calm framed patch of sky behind the goal icon, with a small caption."""
    x0, y0, x1, y1 = GOAL_BOX
    inset = 6
    floor = y1 - 2.0    # the frame's bottom line, where the icon's stem ends

    def card(ctx):
        r = 22
        ctx.new_sub_path()
        ctx.arc(x1 - inset - r, y0 + inset + r, r, -math.pi / 2, 0)
        ctx.arc(x1 - inset - r, floor - r, r, 0, math.pi / 2)
        ctx.arc(x0 + inset + r, floor - r, r, math.pi / 2, math.pi)
        ctx.arc(x0 + inset + r, y0 + inset + r, r, math.pi, 1.5 * math.pi)
        ctx.close_path()
    m = c.fill_mask(card)
    c.wash(m, rgb("#4f86bd"), rng, edge=0.25, edge_radius=8, mottle=0.08, opacity=0.4)

    def frame(ctx):
        card(ctx)
        ctx.set_line_width(4)
        ctx.stroke()
    c.wash(c.mask(frame), rgb("#f4f8fb"), rng, edge=0.05, edge_radius=1.5, mottle=0.1, opacity=0.9)
    if caption:
        paint.letter(c, rng, "breed this one", 17, (x0 + x1) / 2, y1 + 22, rgb("#ffffff"),
                     outline=rgb("#3e6f9e"), outline_width=4.0)


def click_line(c, rng, text, y, size=30, fill=rgb("#ff7a9c"), outline=rgb("#ffffff"),
               pill=rgb("#fff8e6")):
    """The line that says a click moves on, on a soft pill of paper."""
    def measure(ctx):
        ctx.select_font_face(paint.FONT_FAMILY, cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
        ctx.set_font_size(size)
        return ctx.text_extents(text).x_advance
    probe = cairo.ImageSurface(cairo.FORMAT_A8, 4, 4)
    half = measure(c.context(probe)) / 2.0 + size * 0.8
    if pill is not None:
        top, bottom = y - size * 1.05, y + size * 0.5
        r = (bottom - top) / 2.0

        def shape(ctx):
            ctx.new_sub_path()
            ctx.arc(W / 2 + half - r, top + r, r, -math.pi / 2, math.pi / 2)
            ctx.arc(W / 2 - half + r, top + r, r, math.pi / 2, 1.5 * math.pi)
            ctx.close_path()
        m = c.fill_mask(shape)
        c.paint(blur(np.roll(m, int(3 * c.sy), 0), 5 * c.sx) * 0.3, rgb("#2b3a4a"))
        c.wash(m, pill, rng, edge=0.15, edge_radius=6, mottle=0.05, opacity=0.92)
    paint.letter(c, rng, text, size, W / 2, y, fill, outline=outline, outline_width=6.0)


# ---------------------------------------------------------------- flowers

def flower_layer(c, sprites, plants):
    """Draws (traits, stem, leaf sway, bloom sway) flowers in world units."""
    def draw(ctx):
        world_frame(ctx)
        for traits, stem, ls, bs in plants:
            flowers.draw_flower(ctx, sprites, traits, stem, ls, bs)
    c.layer(draw)


def bred(pistil_from, leaf_from, petal_from, petal_shape_from, leaf_shape_from, pistil_shape_from):
    s = flowers.STARTERS
    return flowers.Traits(s[pistil_from].pistil, s[leaf_from].leaf, s[petal_from].petal,
                          s[petal_shape_from].petal_shape, s[leaf_shape_from].leaf_shape,
                          s[pistil_shape_from].pistil_shape)


# ---------------------------------------------------------------- pictures

def background(folder):
    rng = np.random.default_rng(100)
    c = new_canvas()
    garden(c, rng)
    goal_panel(c, rng)
    c.grain(rng, 0.035)
    c.save(os.path.join(folder, "background.png"), opaque=True)


def titlescreen(folder, sprites):
    rng = np.random.default_rng(200)
    c = new_canvas()
    garden(c, rng)
    s = flowers.STARTERS
    plants = [
        (s[0], flowers.curved_stem((-33, 6), 20, -2.5), 0.4, 1.0),
        (bred(1, 0, 2, 0, 2, 2), flowers.curved_stem((-17, 13), 20, 1.5), 2.0, 0.3),
        (flowers.GOAL, flowers.curved_stem((0, 16.5), 20, -1.0), 1.2, 2.2),
        (s[2], flowers.curved_stem((17, 13), 20, 2.0), 3.0, 4.0),
        (s[1], flowers.curved_stem((33, 6), 20, 3.0), 5.0, 1.5),
    ]
    flower_layer(c, sprites, plants)

    def seeds(ctx):
        world_frame(ctx)
        for x, y in ((-24.0, 10.5), (25.5, 10.0)):
            flowers.draw_seed(ctx, sprites, x, y)
    c.layer(seeds)

    paint.letter(c, rng, "Bloomcross", 104, W / 2, 178, rgb("#ff7a9c"), outline=rgb("#ffffff"),
                 outline_width=16.0, shadow=6.0, gloss=0.5)
    paint.letter(c, rng, "grow, crossbreed, bloom", 26, W / 2, 232, rgb("#ffffff"),
                 outline=rgb("#3f73a6"), outline_width=6.0)
    click_line(c, rng, "Click to start", 566)
    c.grain(rng, 0.035)
    c.save(os.path.join(folder, "titlescreen.png"), opaque=True)


def pointer(ctx, x, y, scale=1.0):
    """The usual arrow pointer, tip at (x, y), in design pixels."""
    pts = [(0, 0), (0, 22), (5.5, 17), (9.5, 26), (13, 24.5), (9, 16), (16, 16)]
    ctx.save()
    ctx.translate(x, y)
    ctx.scale(scale, scale)
    ctx.move_to(*pts[0])
    for p in pts[1:]:
        ctx.line_to(*p)
    ctx.close_path()
    ctx.set_source_rgb(1, 1, 1)
    ctx.fill_preserve()
    ctx.set_source_rgb(0.15, 0.15, 0.2)
    ctx.set_line_width(1.6)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()
    ctx.restore()


def vignette(c, rng, cx, cy, r, draw_world, world_rect):
    """A round painted window showing a small garden scene; world_rect is the
    (left, bottom, size) of world that the circle's square shows."""
    left, bottom, size = world_rect

    def bg(ctx):
        ctx.arc(cx, cy, r, 0, math.tau)
        ctx.fill()
    m = c.mask(bg)
    t = np.clip((c.y - (cy - r)) / (2 * r), 0, 1)[..., None]
    col = rgb("#8fc0e6")[None, None, :] * (1 - t) + rgb("#e2f2f6")[None, None, :] * t
    c.wash(m, col, rng, edge=0.2, edge_radius=6, mottle=0.06)

    def scene(ctx):
        ctx.arc(cx, cy, r - 1, 0, math.tau)
        ctx.clip()
        ctx.translate(cx - r, cy + r)
        k = 2 * r / size
        ctx.scale(k, -k)
        ctx.translate(-left, -bottom)
        draw_world(ctx)
    c.layer(scene)

    def ring(ctx):
        ctx.set_line_width(5)
        ctx.arc(cx, cy, r, 0, math.tau)
        ctx.stroke()
    c.wash(c.mask(ring), rgb("#c59a6a"), rng, edge=0.1, edge_radius=1.5, mottle=0.1)


def soil_arc(ctx, cx, top, r, color=(0.52, 0.34, 0.2)):
    ctx.save()
    ctx.set_source_rgb(*color)
    ctx.arc(cx, top - r, r, 0, math.tau)
    ctx.fill()
    ctx.restore()


def instructions(folder, sprites):
    rng = np.random.default_rng(300)
    c = new_canvas()
    garden(c, rng)
    c.px = blur(c.px, 3.0 * c.sx)
    # a sheet of painted paper over the garden
    x0, y0, x1, y1 = 52.0, 28.0, 748.0, 572.0

    def sheet(ctx):
        r = 26.0
        ctx.new_sub_path()
        ctx.arc(x1 - r, y0 + r, r, -math.pi / 2, 0)
        ctx.arc(x1 - r, y1 - r, r, 0, math.pi / 2)
        ctx.arc(x0 + r, y1 - r, r, math.pi / 2, math.pi)
        ctx.arc(x0 + r, y0 + r, r, math.pi, 1.5 * math.pi)
        ctx.close_path()
    m = c.fill_mask(sheet)
    c.paint(blur(np.roll(np.roll(m, 6, 0), 4, 1), 8 * c.sx) * 0.35, rgb("#2b3a4a"))
    c.wash(m, rgb("#fff8e6"), rng, edge=0.18, edge_radius=14, mottle=0.05, mottle_cells=4)

    ink = rgb("#4a3426")
    paint.letter(c, rng, "How to play", 46, W / 2, 92, rgb("#ff7a9c"), outline=rgb("#ffffff"),
                 outline_width=8.0, shadow=2.0)

    rows = [
        ("Carry a seed into the soil mound", "and click to plant it."),
        ("Move the pointer to grow the stem:", "at full height it bursts into bloom."),
        ("Click two flowers to crossbreed them:", "a new seed drops in the middle."),
        ("Breed the flower shown in the top", "right corner to win!"),
    ]
    top, step, r = 146.0, 99.0, 45.0
    s = flowers.STARTERS

    def world_pointer(ctx, x, y, size=4.0):
        ctx.save()
        ctx.translate(x, y)
        ctx.scale(size / 26.0, -size / 26.0)
        pointer(ctx, 0, 0)
        ctx.restore()

    def dashed(ctx, pts, width=0.35):
        ctx.save()
        ctx.set_source_rgba(1, 1, 1, 0.95)
        ctx.set_line_width(width)
        ctx.set_line_cap(cairo.LINE_CAP_ROUND)
        ctx.set_dash([0.05, 0.9])
        smooth_open(ctx, pts)
        ctx.stroke()
        ctx.restore()

    def plant_scene(ctx):
        soil_arc(ctx, 0, 4.0, 13)
        dashed(ctx, [(-4.5, 13.5), (-1.5, 11.5), (0.5, 7.0)])
        flowers.draw_seed(ctx, sprites, -5.5, 14.0, 4.0)
        world_pointer(ctx, -4.8, 13.4, 4.2)
        ctx.save()
        ctx.set_source_rgba(1, 1, 1, 0.9)
        ctx.set_line_width(0.4)
        for k in range(5):
            a = math.pi * (0.15 + 0.175 * k)
            ctx.move_to(0.5 + 2.2 * math.cos(a), 4.6 + 2.2 * math.sin(a))
            ctx.line_to(0.5 + 3.2 * math.cos(a), 4.6 + 3.2 * math.sin(a))
            ctx.stroke()
        ctx.restore()

    def grow_scene(ctx):
        soil_arc(ctx, 0, 1.0, 12)
        stem = flowers.curved_stem((-1.5, 0.8), 11, 4.0, pieces=11)
        flowers.draw_flower(ctx, sprites, s[2], stem, 0, 0, length=13)
        tip = stem.points[-1]
        dashed(ctx, [tip, (tip[0] + 1.6, tip[1] + 1.8), (tip[0] + 2.6, tip[1] + 4.2)])
        world_pointer(ctx, tip[0] + 2.8, tip[1] + 4.6, 3.6)

    def cross_scene(ctx):
        soil_arc(ctx, 0, 1.5, 16)
        a = flowers.curved_stem((-5.0, 1.0), 16.5, -0.6)
        b = flowers.curved_stem((5.0, 1.0), 16.5, 0.6)
        flowers.draw_flower(ctx, sprites, s[0], a, 0.5, 0.5)
        flowers.draw_flower(ctx, sprites, s[1], b, 2.5, 1.0)
        k = 16.5 * 0.05 * 14
        flowers.draw_selector(ctx, sprites, a.points[-1][0], a.points[-1][1], k, (0, 1, 0))
        flowers.draw_selector(ctx, sprites, b.points[-1][0], b.points[-1][1], k)
        flowers.draw_seed(ctx, sprites, 0, 4.5, 4.0)

    def win_scene(ctx):
        ctx.save()
        ctx.set_source_rgba(0.31, 0.53, 0.74, 0.5)
        ctx.rectangle(-13, 0, 26, 26)
        ctx.fill()
        ctx.restore()
        flowers.draw_flower(ctx, sprites, flowers.GOAL, flowers.curved_stem((0, 0.3), 20, 0.0), 0, 0)
        ctx.save()
        ctx.set_source_rgb(1.0, 0.85, 0.2)
        for (x, y, k) in [(-8, 20, 2.2), (8.5, 15, 1.6), (-7, 8, 1.3)]:
            ctx.move_to(x + k, y)
            for i in range(1, 8):
                a = math.pi * i / 4
                rr = k if i % 2 == 0 else k * 0.35
                ctx.line_to(x + rr * math.cos(a), y + rr * math.sin(a))
            ctx.close_path()
            ctx.fill()
        ctx.restore()

    scenes = [(plant_scene, (-10, -1, 20)), (grow_scene, (-8, -1, 19)),
              (cross_scene, (-12.5, -1, 25)), (win_scene, (-14, -1, 28))]
    for i, ((line1, line2), (scene, rect)) in enumerate(zip(rows, scenes)):
        cy = top + step * i + 30
        vignette(c, rng, 132, cy, r, scene, rect)
        paint.letter(c, rng, line1, 23, 202, cy - 4, ink, anchor="left")
        paint.letter(c, rng, line2, 23, 202, cy + 27, ink, anchor="left")
    click_line(c, rng, "Click to start", 556, size=30, pill=None)
    c.grain(rng, 0.035)
    c.save(os.path.join(folder, "instructions.png"), opaque=True)


def gameover(folder, sprites):
    rng = np.random.default_rng(400)
    c = new_canvas()
    garden(c, rng, mood="won")

    # soft rays from behind the banner
    def rays(ctx):
        for k in range(14):
            a = math.pi + math.pi * (k + 0.5) / 14
            ctx.move_to(400, 130)
            ctx.line_to(400 + 900 * math.cos(a - 0.05), 130 + 900 * math.sin(a - 0.05))
            ctx.line_to(400 + 900 * math.cos(a + 0.05), 130 + 900 * math.sin(a + 0.05))
            ctx.close_path()
            ctx.fill()
    fade = np.clip(1.0 - c.y / 430.0, 0, 1)
    c.paint(blur(c.mask(rays), 4 * c.sx) * fade * 0.22, rgb("#fffbe8"))

    # petals drifting down through the sky
    colours = [(1, 0.5, 0), (1, 1, 1), (0.5, 1, 0.5), (1, 0, 1), (1, 1, 0), (1, 0, 0),
               (1, 0.5, 0.4), (0.7, 0.7, 1)]
    names = ["petal.png", "petal2.png", "petal3.png"]

    def confetti(ctx):
        for i in range(46):
            x = rng.uniform(20, 780)
            y = rng.uniform(10, 330)
            if 170 < x < 630 and 40 < y < 200:
                continue  # keep the banner clear
            ctx.save()
            ctx.translate(x, y)
            ctx.rotate(rng.uniform(0, math.tau))
            k = rng.uniform(16, 26)
            ctx.scale(k, -k)
            sprites.draw(ctx, names[i % 3], colours[i % len(colours)])
            ctx.restore()
    c.layer(confetti, opacity=0.9)

    paint.letter(c, rng, "You bred it!", 92, W / 2, 128, rgb("#ffd23f"), outline=rgb("#d9622b"),
                 outline_width=14.0, shadow=7.0, gloss=0.6)
    click_line(c, rng, "Click to play again", 196, size=28)
    c.grain(rng, 0.035)
    c.save(os.path.join(folder, "gameover.png"), opaque=True)


def goal_icon(folder, sprites):
    """A stand-in for the goal icon, laid out as the game lays a finished flower
    out; the icon tool replaces it with the game's own drawing."""
    side = 256
    surf = cairo.ImageSurface(cairo.FORMAT_ARGB32, side, side)
    ctx = flowers.world_context(surf, -13.0, 13.0, 0.0, 26.0)
    stem = flowers.Stem([(0.0, 0.27 + i) for i in range(21)])
    flowers.draw_flower(ctx, sprites, flowers.GOAL, stem)
    surf.flush()
    c = Canvas(side, side)
    a = np.frombuffer(surf.get_data(), np.uint8).reshape(side, surf.get_stride())[:, :side * 4]
    c.px = a.reshape(side, side, 4).astype(np.float32)[..., [2, 1, 0, 3]] / 255.0
    c.save(os.path.join(folder, "target5.png"))


def main():
    folder = sys.argv[1]
    sprites = flowers.Sprites(folder)
    if "--goal-icon" in sys.argv[2:]:
        goal_icon(folder, sprites)
        return
    background(folder)
    titlescreen(folder, sprites)
    instructions(folder, sprites)
    gameover(folder, sprites)


if __name__ == "__main__":
    main()
