"""The instrument editor's pictures: the panel background (bitmap 103), the
knob faces (154 to 160) and the program icon (135).

The panels follow the editor's control layout (Layout.cpp beside the editor
code; the rectangles below are the same numbers): five knob columns for the
sound dimensions, the envelope graphs, the motion strip with the speed
envelope, the flocking knobs, the output filter and the keyboard.
"""

import math

import cairo

import nimart
from nimart import draw, theme

WIDTH, HEIGHT = 682, 539  # a little larger than the 680 x 536 editor

# Control rectangles (left, top, right, bottom) in dialog client pixels.
COLUMNS_X = [12, 63, 114, 165, 218]        # left edge of each dimension column
KNOB_W = 45
UPPER_TOP, UPPER_BOTTOM = 125, 177
LOWER_TOP, LOWER_BOTTOM = 185, 237
HOME_ENVELOPE = (12, 252, 264, 317)
RANGE_ENVELOPE = (12, 320, 264, 385)
HYPERSPACE = (275, 11, 674, 380)
SPEED_KNOB = (14, 403, 52, 450)
SPEED_ENVELOPE = (65, 400, 317, 454)
MOTION_KNOBS = [(329, 403, 367, 450), (374, 403, 412, 450), (422, 403, 460, 450)]
FLOCK_KNOBS = [(480, 397, 518, 444), (527, 397, 565, 444), (572, 397, 610, 444)]
OVERDRIVE = (626, 403, 664, 450)
LOWPASS = (581, 460, 619, 507)
FILTER_Q = (626, 460, 664, 507)
KEYBOARD = (9, 468, 569, 528)


def background():
    s, ctx = draw.surface(WIDTH, HEIGHT)
    draw.chassis(ctx, WIDTH, HEIGHT)

    # Header: product name and maker under the menu buttons (the buttons
    # sit at the top left; their width follows the dialog font).
    draw.raised_panel(ctx, (4, 4, 268, 100), radius=5)
    draw.text(ctx, "NIMBULATOR", theme.TITLE, 14, 66, theme.TEXT)
    draw.text(ctx, "FLOCK SYNTHESIS INSTRUMENT", theme.SUBTITLE, 15, 84, theme.TEXT_DIM)
    draw.text(ctx, "ORVALEND", theme.SECTION, 258, 84, theme.ACCENT, align="right")
    # A small flock of dots in the dimension colours.
    dots = [(206, 24, 3.2), (219, 15, 2.6), (231, 27, 3.6), (245, 17, 2.4), (257, 28, 3.0)]
    draw.rgb(ctx, theme.TEXT_FAINT, 0.6)
    ctx.set_line_width(0.8)
    ctx.move_to(*dots[0][:2])
    for x, y, _ in dots[1:]:
        ctx.line_to(x, y)
    ctx.stroke()
    for i, (x, y, r) in enumerate(dots):
        draw.rgb(ctx, theme.DIMENSION_ACCENT[i])
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.fill()

    # Sound dimensions: five columns of home and range knobs above the
    # envelope graphs of the selected column.
    draw.raised_panel(ctx, (4, 104, 268, 389), radius=5)
    for d, left in enumerate(COLUMNS_X):
        cx = left + KNOB_W // 2
        name = ["VOL", "PITCH", "PAN", "RES", "NOISE"][d]
        draw.fill_rect(ctx, (left + 2, 107, left + KNOB_W - 2, 109), theme.DIMENSION_ACCENT[d], 0.9)
        draw.text(ctx, name, theme.SECTION, cx + 0.5, 118, theme.TEXT_DIM, align="center")
        # Rails for the connector: bars over the upper control, the stem
        # between the rows.
        rail(ctx, (cx - 9, 120, cx + 9, 124))
        rail(ctx, (cx - 4, 176, cx + 4, 185))
    # Column separators between the knob columns.
    for x in (60, 111, 162, 214):
        draw.rgb(ctx, theme.PANEL_SHADOW, 0.7)
        ctx.set_line_width(1)
        ctx.move_to(x + 0.5, 124)
        ctx.line_to(x + 0.5, 236)
        ctx.stroke()
        draw.rgb(ctx, theme.PANEL_HIGHLIGHT, 0.35)
        ctx.move_to(x + 1.5, 124)
        ctx.line_to(x + 1.5, 236)
        ctx.stroke()
    # The funnel's rail across the top of the envelope graphs.
    rail(ctx, (HOME_ENVELOPE[0], 237, HOME_ENVELOPE[2], 252))
    draw.sunken_well(ctx, (HOME_ENVELOPE[0] - 2, HOME_ENVELOPE[1], RANGE_ENVELOPE[2] + 2,
                           RANGE_ENVELOPE[3] + 2))

    # Hyperspace: a bezel around the flock view.
    draw.raised_panel(ctx, (HYPERSPACE[0] - 5, HYPERSPACE[1] - 7, HYPERSPACE[2] + 5,
                            HYPERSPACE[3] + 5), radius=6)
    draw.sunken_well(ctx, (HYPERSPACE[0] - 2, HYPERSPACE[1] - 2, HYPERSPACE[2] + 2,
                           HYPERSPACE[3] + 2))

    # Motion: speed, its envelope, LFO, spread and reflection.
    draw.raised_panel(ctx, (4, 386, 466, 459), radius=5)
    draw.section_caption(ctx, 10, 397.5, "MOTION", theme.ACCENT)
    draw.sunken_well(ctx, (SPEED_ENVELOPE[0] - 2, SPEED_ENVELOPE[1] - 2, SPEED_ENVELOPE[2] + 2,
                           SPEED_ENVELOPE[3] + 2))
    # Flocking: attract, repel, proximity.
    draw.raised_panel(ctx, (472, 386, 616, 459), radius=5)
    draw.section_caption(ctx, 478, 394.5, "FLOCKING", theme.ACCENT)
    # Output: overdrive, then the low-pass filter below it.
    draw.raised_panel(ctx, (622, 386, 678, 452), radius=5)
    draw.section_caption(ctx, 628, 394.5, "DRIVE", theme.ACCENT)
    draw.raised_panel(ctx, (575, 463 - 8, 678, 512), radius=5)
    draw.section_caption(ctx, 581, 459.5, "FILTER", theme.ACCENT)

    # Keyboard well.
    draw.raised_panel(ctx, (4, 463, 572, 533), radius=5)
    draw.sunken_well(ctx, (KEYBOARD[0] - 2, KEYBOARD[1] - 2, KEYBOARD[2] + 2, KEYBOARD[3] + 2))

    for x in (584, 670):
        draw.screw(ctx, x, 524)
    draw.text(ctx, "ORVALEND", theme.LABEL, 627, 527, theme.TEXT_FAINT, align="center")
    return s


def rail(ctx, rect):
    """A light recessed rail on which the editor draws a connector."""
    left, top, right, bottom = rect
    gradient = cairo.LinearGradient(0, top, 0, bottom)
    gradient.add_color_stop_rgb(0, *(c / 255.0 for c in draw.mix(theme.RAIL, (255, 255, 255), 0.15)))
    gradient.add_color_stop_rgb(1, *(c / 255.0 for c in draw.mix(theme.RAIL, (0, 0, 0), 0.12)))
    ctx.set_source(gradient)
    ctx.rectangle(left, top, right - left, bottom - top)
    ctx.fill()
    draw.rgb(ctx, theme.RAIL_EDGE)
    ctx.set_line_width(1)
    ctx.move_to(left, top + 0.5)
    ctx.line_to(right, top + 0.5)
    ctx.stroke()


def knob_face(width, height, accent, dial=True, value_text=True):
    """A knob's face, tiled by the code as the control's whole background:
    the caption sits in the top 13 pixels, the value in the bottom 13, and the
    code draws the indicator dot on a radius-12 circle round (width / 2, 28)
    over the light cap."""
    s, ctx = draw.surface(width, height)
    draw.fill_rect(ctx, (0, 0, width, height), theme.PANEL)
    if not dial:
        # Tune boxes: a value well under the caption.
        draw.sunken_well(ctx, (3, height - 14, width - 3, height), radius=2)
        draw.fill_rect(ctx, (width / 2.0 - 8, 12, width / 2.0 + 8, 13), accent, 0.8)
        return s
    cx, cy = width // 2, 28
    sweep_start, sweep_end = math.radians(112.5), math.radians(427.5)
    # Scale: the sweep as a thin accent arc with end ticks, kept out of the
    # value strip.
    ctx.save()
    ctx.rectangle(0, 12, width, (height - 14 if value_text else height) - 12)
    ctx.clip()
    draw.rgb(ctx, theme.PANEL_SHADOW)
    ctx.set_line_width(3.0)
    ctx.arc(cx, cy, 17.5, sweep_start, sweep_end)
    ctx.stroke()
    draw.rgb(ctx, accent, 0.95)
    ctx.set_line_width(1.4)
    ctx.arc(cx, cy, 17.5, sweep_start, sweep_end)
    ctx.stroke()
    ctx.restore()
    # Shadow under the cap.
    for r, a in ((16.5, 0.25), (15.5, 0.45)):
        draw.rgb(ctx, theme.PANEL_SHADOW, a)
        ctx.arc(cx + 0.5, cy + 1.2, r, 0, 2 * math.pi)
        ctx.fill()
    # Knurled rim.
    draw.rgb(ctx, theme.CAP_RIM)
    ctx.arc(cx, cy, 15, 0, 2 * math.pi)
    ctx.fill()
    draw.rgb(ctx, (58, 62, 68))
    ctx.set_line_width(0.8)
    for i in range(24):
        a = i * 2 * math.pi / 24
        ctx.move_to(cx + 13.8 * math.cos(a), cy + 13.8 * math.sin(a))
        ctx.line_to(cx + 14.8 * math.cos(a), cy + 14.8 * math.sin(a))
        ctx.stroke()
    # The cap: brushed metal, lit from the upper left.
    gradient = cairo.LinearGradient(cx - 10, cy - 12, cx + 8, cy + 13)
    gradient.add_color_stop_rgb(0, *(c / 255.0 for c in theme.CAP_LIGHT))
    gradient.add_color_stop_rgb(0.55, *(c / 255.0 for c in theme.CAP_MID))
    gradient.add_color_stop_rgb(1, *(c / 255.0 for c in theme.CAP_DARK))
    ctx.set_source(gradient)
    ctx.arc(cx, cy, 13.4, 0, 2 * math.pi)
    ctx.fill()
    # Concentric machining rings.
    ctx.set_line_width(0.5)
    for r in (4.0, 7.0, 10.0):
        ctx.set_source_rgba(1, 1, 1, 0.18)
        ctx.arc(cx, cy, r, 0, 2 * math.pi)
        ctx.stroke()
    # Specular spot.
    spot = cairo.RadialGradient(cx - 5, cy - 6, 0, cx - 5, cy - 6, 7)
    spot.add_color_stop_rgba(0, 1, 1, 1, 0.55)
    spot.add_color_stop_rgba(1, 1, 1, 1, 0)
    ctx.set_source(spot)
    ctx.arc(cx, cy, 13.4, 0, 2 * math.pi)
    ctx.fill()
    return s


def icon(size):
    s, ctx = draw.surface(size, size, alpha=True)
    ctx.scale(size / 32.0, size / 32.0)
    draw.rgb(ctx, theme.ACCENT_DARK)
    draw.rounded_path(ctx, (1, 1, 31, 31), 6)
    ctx.fill_preserve()
    draw.rgb(ctx, theme.ACCENT)
    ctx.set_line_width(1.5)
    ctx.stroke()
    dots = [(9, 20, 3.4), (14, 11, 2.8), (20, 18, 3.8), (24, 9, 2.6), (25, 24, 3.0)]
    draw.rgb(ctx, theme.TEXT, 0.55)
    ctx.set_line_width(1.0)
    ctx.move_to(*dots[0][:2])
    for x, y, _ in dots[1:]:
        ctx.line_to(x, y)
    ctx.stroke()
    for i, (x, y, r) in enumerate(dots):
        draw.rgb(ctx, theme.DIMENSION_ACCENT[i])
        ctx.arc(x, y, r, 0, 2 * math.pi)
        ctx.fill()
    return s


ART = {
    "background.bmp": background,
    "knob_volume.bmp": lambda: knob_face(45, 52, theme.DIMENSION_ACCENT[0]),
    "knob_pitch.bmp": lambda: knob_face(45, 52, theme.DIMENSION_ACCENT[1]),
    "knob_pan.bmp": lambda: knob_face(45, 52, theme.DIMENSION_ACCENT[2]),
    "knob_resonance.bmp": lambda: knob_face(45, 52, theme.DIMENSION_ACCENT[3]),
    "knob_noise.bmp": lambda: knob_face(45, 52, theme.DIMENSION_ACCENT[4]),
    "knob_tune.bmp": lambda: knob_face(45, 27, theme.DIMENSION_ACCENT[1], dial=False),
    "knob_small.bmp": lambda: knob_face(38, 47, theme.NEUTRAL_ACCENT, value_text=False),
    "nimbulator.ico": lambda: [icon(16), icon(32), icon(48)],
}

if __name__ == "__main__":
    nimart.main(ART)
