"""The About box's title picture (bitmap 162, 258 x 75 pixels): the product
name in the editor's title style with a small flock in the five dimension
colours below its end, on the instrument's chassis.
"""

import math
import random

import nimart
from nimart import draw, theme

WIDTH, HEIGHT = 258, 75


def title():
    s, ctx = draw.surface(WIDTH, HEIGHT)
    draw.chassis(ctx, WIDTH, HEIGHT)
    draw.raised_panel(ctx, (4, 4, WIDTH - 4, HEIGHT - 4), radius=5)

    # A flock drifting across the right of the panel: each dot takes its
    # colour from the dimension it leans towards, joined by faint lines to
    # its nearest neighbour, as the flock view draws its trails.
    rng = random.Random(162)
    dots = []
    for i in range(10):
        t = i / 9.0
        x = 186 + 56 * t + rng.uniform(-3, 3)
        y = 58 + 5 * math.sin(t * 6.0 + 0.4) + rng.uniform(-2, 2)
        dots.append((x, y, 1.4 + 1.2 * rng.random(), i % 5))
    ctx.set_line_width(0.7)
    for i, (x, y, _, _) in enumerate(dots):
        nearest = min((d for j, d in enumerate(dots) if j != i),
                      key=lambda d: (d[0] - x) ** 2 + (d[1] - y) ** 2)
        draw.rgb(ctx, theme.TEXT_FAINT, 0.55)
        ctx.move_to(x, y)
        ctx.line_to(nearest[0], nearest[1])
        ctx.stroke()
    for x, y, r, d in dots:
        draw.rgb(ctx, theme.DIMENSION_ACCENT[d])
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.fill()

    draw.text(ctx, "NIMBULATOR", theme.TITLE, 14, 40, theme.TEXT)
    draw.text(ctx, "FLOCK SYNTHESIS INSTRUMENT", theme.SUBTITLE, 15, 57, theme.TEXT_DIM)
    draw.fill_rect(ctx, (15, 63, 60, 65), theme.ACCENT)
    return s


ART = {"about_title.bmp": title}

if __name__ == "__main__":
    nimart.main(ART)
