"""The quenvarel editor's background (bitmap 101, 483 x 218): black, a small
circular logo at the top left and the product name in blue beside it.

The dialog's controls sit on this picture at fixed places (FilterEditorLayout
puts them at the template's positions at 6 x 13 pixels per 4 x 8 dialog
units): the sliders from y = 75, the depth buttons from x = 423 and the web-site
button from y = 158. The header stays clear of them.
"""

import math

import cairo

import nimart
from nimart import draw, theme

WIDTH, HEIGHT = 483, 218


def logo(ctx, cx, cy, r):
    """A ring holding the response of a resonant low-pass: flat, a peak at
    the cutoff, then the fall."""
    glow = cairo.RadialGradient(cx - 6, cy - 8, 2, cx, cy, r)
    deep = draw.mix(theme.ACCENT_DARK, (0, 0, 0), 0.1)
    glow.add_color_stop_rgb(0, *(c / 255.0 for c in draw.mix(deep, theme.ACCENT, 0.35)))
    glow.add_color_stop_rgb(1, *(c / 255.0 for c in draw.mix(deep, (0, 0, 0), 0.8)))
    ctx.arc(cx, cy, r, 0, 2 * math.pi)
    ctx.set_source(glow)
    ctx.fill()

    ctx.save()
    ctx.arc(cx, cy, r - 1.5, 0, 2 * math.pi)
    ctx.clip()
    steps = 160
    for i in range(steps + 1):
        t = i / steps
        f = 10 ** (1.5 * t - 1.0)  # frequency over the cutoff, log scale
        q = 3.0
        magnitude = 1.0 / math.sqrt((1 - f * f) ** 2 + (f / q) ** 2)
        db = max(20 * math.log10(magnitude), -40.0)
        x = cx - r + 2 * r * t
        y = cy + 5 - db * 1.3
        (ctx.move_to if i == 0 else ctx.line_to)(x, y)
    draw.rgb(ctx, draw.mix(theme.ACCENT_BRIGHT, (255, 255, 255), 0.3))
    ctx.set_line_width(2.2)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()
    ctx.restore()

    ctx.arc(cx, cy, r - 1.0, 0, 2 * math.pi)
    draw.rgb(ctx, theme.ACCENT_BRIGHT)
    ctx.set_line_width(2.0)
    ctx.stroke()


def background():
    s, ctx = draw.surface(WIDTH, HEIGHT)
    draw.fill_rect(ctx, (0, 0, WIDTH, HEIGHT), (0, 0, 0))
    logo(ctx, 36.0, 36.0, 23.0)
    draw.text(ctx, "QUENVAREL", theme.TITLE, 70, 41, theme.ACCENT)
    draw.text(ctx, "STEREO RESONANT FILTER", theme.SUBTITLE, 72, 57, theme.TEXT_DIM)
    return s


if __name__ == "__main__":
    nimart.main({"quenvarel_background.bmp": background})
