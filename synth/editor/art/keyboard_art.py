"""The on-screen keyboard's sixteen column pictures (16 x 60, 8 bits per
pixel). A column is one white key with the halves of the black keys beside
it; the code tiles a picture per column, chosen by which of those keys are
held, so there is one picture for every combination:

    E, B     white + 2 x left black              keys_eb_0..3
    C, F     right black + 2 x white             keys_cf_0..3
    D, G, A  right + 2 x white + 4 x left black  keys_dga_0..7

A black key is 9 pixels wide: the 4 rightmost pixels of one column and the 5
leftmost of the next, 28 pixels deep. Held keys light up in the product's
steel blue.
"""

import cairo

import nimart
from nimart import draw, rasterfiles, theme

W, H = 16, 60
BLACK_DEPTH = 28

IVORY_TOP = (214, 216, 212)
IVORY = (238, 238, 232)
IVORY_LIP = (200, 201, 196)
HELD_TOP = (98, 150, 184)
HELD = (150, 198, 228)
HELD_LIP = (112, 160, 192)
GAP = (12, 14, 17)
EBONY = (22, 24, 28)
EBONY_FACE = (46, 50, 57)
EBONY_HELD = (44, 96, 132)
EBONY_HELD_FACE = (80, 138, 176)


def stop(gradient, offset, colour):
    gradient.add_color_stop_rgb(offset, *(c / 255.0 for c in colour))


def white_key(ctx, held):
    """The white key: a gap on the right, a shadow under the panel's edge at
    the top, a lip at the front; a held key sits lower (shorter lip)."""
    draw.fill_rect(ctx, (0, 0, W, H), GAP)
    top, body, lip = (HELD_TOP, HELD, HELD_LIP) if held else (IVORY_TOP, IVORY, IVORY_LIP)
    front = H - (3 if held else 5)
    gradient = cairo.LinearGradient(0, 0, 0, front)
    stop(gradient, 0.0, draw.mix(top, GAP, 0.35))
    stop(gradient, 0.08, top)
    stop(gradient, 0.5, body)
    stop(gradient, 1.0, draw.mix(body, (255, 255, 255), 0.3))
    ctx.set_source(gradient)
    draw.rounded_path(ctx, (0, -2, W - 1, front), 1.5)
    ctx.fill()
    # The front lip, rounded at the bottom.
    draw.rgb(ctx, lip)
    draw.rounded_path(ctx, (0, front - 2, W - 1, H - 1), 2)
    ctx.fill()
    draw.fill_rect(ctx, (0, front - 1, W - 1, front), draw.mix(lip, body, 0.5))
    # A faint light edge on the left, as lit from the upper left.
    draw.fill_rect(ctx, (0, 0, 1, front - 1), (255, 255, 255), 0.25)


def black_key(ctx, left, held):
    """A black key whose left edge is at x = left (it may lie partly outside
    the column; the column's clip keeps its half)."""
    right = left + 9
    draw.rgb(ctx, GAP)
    draw.rounded_path(ctx, (left - 1, -3, right + 1, BLACK_DEPTH + 1), 1.5)
    ctx.fill()
    body, face = (EBONY_HELD, EBONY_HELD_FACE) if held else (EBONY, EBONY_FACE)
    draw.rgb(ctx, body)
    draw.rounded_path(ctx, (left, -3, right, BLACK_DEPTH), 1.5)
    ctx.fill()
    # The top face, lighter towards the front, with a pressed key showing
    # more of its face and less of its front.
    front = BLACK_DEPTH - (2 if held else 4)
    gradient = cairo.LinearGradient(0, 0, 0, front)
    stop(gradient, 0.0, body)
    stop(gradient, 1.0, face)
    ctx.set_source(gradient)
    ctx.rectangle(left + 1.5, 0, 6, front)
    ctx.fill()
    draw.fill_rect(ctx, (left + 1.5, front - 1, left + 7.5, front), (255, 255, 255), 0.18)


def column(left_black, white, right_black):
    """left_black / right_black: None when the column has no such key, else
    whether it is held."""
    s, ctx = draw.surface(W, H)
    white_key(ctx, white)
    if left_black is not None:
        black_key(ctx, -4, left_black)
    if right_black is not None:
        black_key(ctx, W - 4, right_black)
    return rasterfiles.bmp8_bytes(s)


def pictures():
    art = {}
    for i in range(4):
        white, left = bool(i & 1), bool(i & 2)
        art["keys_eb_%d.bmp" % i] = (lambda l=left, w=white: column(l, w, None))
    for i in range(4):
        right, white = bool(i & 1), bool(i & 2)
        art["keys_cf_%d.bmp" % i] = (lambda w=white, r=right: column(None, w, r))
    for i in range(8):
        right, white, left = bool(i & 1), bool(i & 2), bool(i & 4)
        art["keys_dga_%d.bmp" % i] = (lambda l=left, w=white, r=right: column(l, w, r))
    return art


ART = pictures()

if __name__ == "__main__":
    nimart.main(ART)
