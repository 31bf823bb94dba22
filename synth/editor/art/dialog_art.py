"""Pictures of the option dialogs: the speed LFO's nine measure pictures
(bitmaps 145 to 153, 76 x 16, shown on the measure button) and the legend
beside the visualisation dialog's dimension-order list (bitmap 132).

A measure picture shows how long one LFO cycle lasts: a note value and the
same length in beats. Measure m makes the LFO run 1/4, 1/3, 1/2, 2/3, 1,
4/3, 2, 8/3 or 4 cycles per beat, so a cycle lasts a whole note, a dotted
half, a half, a dotted quarter, a quarter, a dotted eighth, an eighth, a
dotted sixteenth or a sixteenth.
"""

import math

import cairo

import nimart
from nimart import draw, theme

MEASURE_W, MEASURE_H = 76, 16
LEGEND_W, LEGEND_H = 96, 68

VALUE = draw.mix(theme.TEXT, theme.ACCENT_BRIGHT, 0.3)
NOTE_TEXT = theme.TextStyle(9.5, condensed=True, tracking=0.2)
LEGEND_TEXT = theme.TextStyle(9, condensed=True, tracking=0.2)


def well(ctx, width, height):
    draw.fill_rect(ctx, (0, 0, width, height), theme.WELL)
    ctx.set_line_width(1)
    draw.rgb(ctx, theme.WELL_EDGE)
    ctx.rectangle(0.5, 0.5, width - 1, height - 1)
    ctx.stroke()


def note(ctx, x, baseline, hollow, stem, flags, dotted):
    """A note head centred at x on `baseline`, with stem, flags and dot."""
    draw.rgb(ctx, VALUE)
    ctx.save()
    ctx.translate(x, baseline)
    ctx.rotate(-0.35)
    ctx.scale(3.3, 2.3)
    ctx.arc(0, 0, 1, 0, 2 * math.pi)
    ctx.restore()
    if hollow:
        ctx.set_line_width(1.2)
        ctx.stroke()
    else:
        ctx.fill()
    if stem:
        top = baseline - 10.5
        ctx.set_line_width(1.1)
        ctx.move_to(x + 2.8, baseline - 0.5)
        ctx.line_to(x + 2.8, top)
        ctx.stroke()
        for k in range(flags):
            y = top + 3.0 * k
            ctx.move_to(x + 2.8, y)
            ctx.curve_to(x + 5.5, y + 1.5, x + 7.0, y + 3.0, x + 6.0, y + 5.5)
            ctx.set_line_width(1.2)
            ctx.stroke()
    if dotted:
        ctx.arc(x + 6.5 + (2 if flags else 0), baseline + 0.5, 1.1, 0, 2 * math.pi)
        ctx.fill()


def measure(hollow, stem, flags, dotted, beats):
    s, ctx = draw.surface(MEASURE_W, MEASURE_H)
    well(ctx, MEASURE_W, MEASURE_H)
    note(ctx, 10, 12, hollow, stem, flags, dotted)
    draw.text(ctx, "=", NOTE_TEXT, 21, 12, theme.TEXT_DIM)
    draw.text(ctx, beats, NOTE_TEXT, MEASURE_W - 6, 12, theme.TEXT, align="right")
    return s


def legend():
    """One row per entry of the order list: which axis of the flock view
    the dimension in that place of the list drives."""
    s, ctx = draw.surface(LEGEND_W, LEGEND_H)
    well(ctx, LEGEND_W, LEGEND_H)
    rows = ["X axis", "Y axis", "Depth", "Hue", "Luminance"]
    pitch = (LEGEND_H - 3) / 5.0
    for k, name in enumerate(rows):
        top = 2 + k * pitch
        cy = top + pitch / 2.0
        # A small sign for the axis: arrows for the box's three axes, a
        # colour strip for hue and a grey ramp for luminance.
        ctx.set_line_width(1.2)
        draw.rgb(ctx, theme.ACCENT_BRIGHT)
        if k == 0:
            ctx.move_to(5, cy)
            ctx.line_to(15, cy)
            ctx.stroke()
            ctx.move_to(15.5, cy)
            ctx.line_to(12, cy - 2.5)
            ctx.line_to(12, cy + 2.5)
            ctx.fill()
        elif k == 1:
            ctx.move_to(10, cy + 5)
            ctx.line_to(10, cy - 3)
            ctx.stroke()
            ctx.move_to(10, cy - 5.5)
            ctx.line_to(7.5, cy - 2)
            ctx.line_to(12.5, cy - 2)
            ctx.fill()
        elif k == 2:
            ctx.move_to(14, cy - 4)
            ctx.line_to(7, cy + 3)
            ctx.stroke()
            ctx.move_to(5.5, cy + 4.5)
            ctx.line_to(6, cy)
            ctx.line_to(10, cy + 4)
            ctx.fill()
        elif k == 3:
            gradient = cairo.LinearGradient(4, 0, 16, 0)
            for i, colour in enumerate([(230, 80, 80), (220, 210, 80), (90, 200, 110),
                                        (80, 170, 230), (180, 100, 220)]):
                gradient.add_color_stop_rgb(i / 4.0, *(c / 255.0 for c in colour))
            ctx.set_source(gradient)
            ctx.rectangle(4, cy - 3, 12, 6)
            ctx.fill()
        else:
            gradient = cairo.LinearGradient(4, 0, 16, 0)
            gradient.add_color_stop_rgb(0, 0.1, 0.1, 0.1)
            gradient.add_color_stop_rgb(1, 0.95, 0.95, 0.95)
            ctx.set_source(gradient)
            ctx.rectangle(4, cy - 3, 12, 6)
            ctx.fill()
        draw.text(ctx, name, LEGEND_TEXT, 21, cy + 3.5, theme.TEXT)
        # An arrow toward the list on the right.
        draw.rgb(ctx, theme.TEXT_FAINT)
        ctx.move_to(LEGEND_W - 10, cy - 2.5)
        ctx.line_to(LEGEND_W - 5, cy)
        ctx.line_to(LEGEND_W - 10, cy + 2.5)
        ctx.fill()
    return s


ART = {
    "measure_whole.bmp": lambda: measure(True, False, 0, False, "4 beats"),
    "measure_dotted_half.bmp": lambda: measure(True, True, 0, True, "3 beats"),
    "measure_half.bmp": lambda: measure(True, True, 0, False, "2 beats"),
    "measure_dotted_quarter.bmp": lambda: measure(False, True, 0, True, "1\u00bd beats"),
    "measure_quarter.bmp": lambda: measure(False, True, 0, False, "1 beat"),
    "measure_dotted_eighth.bmp": lambda: measure(False, True, 1, True, "\u00be beat"),
    "measure_eighth.bmp": lambda: measure(False, True, 1, False, "\u00bd beat"),
    "measure_dotted_sixteenth.bmp": lambda: measure(False, True, 2, True, "3/8 beat"),
    "measure_sixteenth.bmp": lambda: measure(False, True, 2, False, "\u00bc beat"),
    "axis_legend.bmp": legend,
}

if __name__ == "__main__":
    nimart.main(ART)
