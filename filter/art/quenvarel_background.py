"""Background of the quenvarel editor: 483 x 218, black, a small circular
logo at the top left and the product name in blue beside it.

Usage: quenvarel_background.py OUTPUT.bmp   (24-bit Windows bitmap)
"""
import math
import struct
import sys

import cairo

WIDTH, HEIGHT = 483, 218
BLUE = (0.36, 0.62, 1.0)
BLUE_DEEP = (0.10, 0.24, 0.55)
BLUE_LIGHT = (0.72, 0.85, 1.0)


def draw(ctx):
    ctx.set_source_rgb(0, 0, 0)
    ctx.paint()

    # Logo: a ring holding the response of a resonant low-pass: flat, a
    # peak at the cutoff, then the fall.
    cx, cy, r = 36.0, 36.0, 23.0
    glow = cairo.RadialGradient(cx - 6, cy - 8, 2, cx, cy, r)
    glow.add_color_stop_rgb(0, *BLUE_DEEP)
    glow.add_color_stop_rgb(1, 0.01, 0.03, 0.08)
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
    ctx.set_source_rgb(*BLUE_LIGHT)
    ctx.set_line_width(2.2)
    ctx.set_line_join(cairo.LINE_JOIN_ROUND)
    ctx.stroke()
    ctx.restore()
    ctx.arc(cx, cy, r - 1.0, 0, 2 * math.pi)
    ctx.set_source_rgb(*BLUE)
    ctx.set_line_width(2.0)
    ctx.stroke()

    # Product name.
    ctx.select_font_face("DejaVu Sans", cairo.FONT_SLANT_NORMAL, cairo.FONT_WEIGHT_BOLD)
    ctx.set_font_size(28)
    ctx.set_source_rgb(*BLUE)
    ctx.move_to(68, 46)
    ctx.show_text("Quenvarel")


def write_bmp(surface, path):
    width, height = surface.get_width(), surface.get_height()
    stride = surface.get_stride()
    data = bytes(surface.get_data())
    row_size = (width * 3 + 3) & ~3
    rows = []
    for y in range(height - 1, -1, -1):  # bottom-up
        row = bytearray()
        for x in range(width):
            b, g, r = data[y * stride + x * 4:y * stride + x * 4 + 3]
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    pixels = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 54 + len(pixels), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + pixels)


def main():
    surface = cairo.ImageSurface(cairo.FORMAT_RGB24, WIDTH, HEIGHT)
    draw(cairo.Context(surface))
    import os
    os.makedirs(os.path.dirname(os.path.abspath(sys.argv[1])), exist_ok=True)
    write_bmp(surface, sys.argv[1])


if __name__ == "__main__":
    main()
