"""The hyperspace view's art: its background, the two colour legends and the
1,792 cursors of the hyperspace cursor.

    python3 hyperspace_art.py OUTDIR @LISTFILE     (the build runs it so)

  hyperspace_scene.bmp      bitmap 161, 398 x 368: the view's background, dark
                            blue-grey square frames receding toward the centre
  hue_legend.bmp            bitmap 133, 30 x 10: 16 hue bands, red to magenta
  luminance_legend.bmp      bitmap 134, 30 x 10: 16 grey bands, black to white
  cNNNN.cur                 cursors 2000..3791: 16 hues x 16 luminances x 7
                            sizes of a 32 x 32 arrow, hot spot (2, 4)
  hyperspace_cursors.rc     the resource lines of the cursors, included by the
                            plug-in's resource script

The cursor colours follow the oscillator colour rule of the view (three
phase-shifted sines of 0.8 x hue, darkened or lightened by luminance), read
from the same 8192-entry sine table with linear interpolation in single
precision, so a cursor shows the colour an oscillator at its place gets. The
cursors are 16-colour images (shades from black to the cursor's colour), so
all 1,792 of them take about 1.3 MB of the plug-in.
"""

import math
import struct

import cairo

from nimart import draw, main, theme

WIDTH, HEIGHT = 398, 368
HOT_SPOT = (2, 4)
# Arrow scale per cursor size: 0 (front face, largest) to 6 (back wall).
SIZES = [1.0, 0.88, 0.77, 0.67, 0.58, 0.5, 0.43]
# The arrow outline with its tip at the origin, in pixels at scale 1.
ARROW = [(0, 0), (0, 22), (5.5, 17), (9.5, 26), (13, 24.5), (9, 16), (16, 16)]

# The view's background: the accent's dark blue-grey, frames toward the
# accent.
SCENE_BASE = tuple(c / 255.0 for c in draw.mix(theme.WELL, theme.ACCENT_DARK, 0.55))
SCENE_FRAME = tuple(c / 255.0 for c in draw.mix(theme.ACCENT_DARK, theme.ACCENT, 0.35))


def f32(x):
    return struct.unpack("f", struct.pack("f", x))[0]


SINE = [f32(math.sin(2 * math.pi * i / 8192)) for i in range(8193)]


def sine_at(position):
    i = min(max(int(position), 0), 8192)
    if i >= 8192:
        return SINE[8192]
    frac = f32(position - i)
    return f32(SINE[i] + f32(f32(SINE[i + 1] - SINE[i]) * frac))


def oscillator_colour(hue, luminance):
    """(r, g, b) 0..255, the view's colour rule in single precision."""
    h = f32(0.8 * hue)
    lum = f32(f32(0.6 * luminance) + 0.2)
    out = []
    for offset in (0.25, 0.91, 0.58):
        phase = f32(h + f32(offset))
        phase = f32(phase - math.floor(phase))
        c = f32(f32(1.0 + sine_at(f32(phase * 8192.0))) / 2.0)
        if lum < 0.5:
            c = f32(f32(c * 2.0) * lum)
        else:
            c = f32(1.0 - f32(f32(f32(1.0 - c) * 2.0) * f32(1.0 - lum)))
        out.append(min(max(int(f32(c * 255.0)), 0), 255))
    return tuple(out)


def draw_scene():
    s = cairo.ImageSurface(cairo.FORMAT_RGB24, WIDTH, HEIGHT)
    cr = cairo.Context(s)
    cx, cy = WIDTH / 2.0, HEIGHT / 2.0
    # A soft darkening toward the centre, as if looking down a tunnel.
    grad = cairo.RadialGradient(cx, cy, 10, cx, cy, max(WIDTH, HEIGHT) * 0.7)
    grad.add_color_stop_rgb(0, *[c * 0.55 for c in SCENE_BASE])
    grad.add_color_stop_rgb(1, *SCENE_BASE)
    cr.set_source(grad)
    cr.paint()
    # Nested frames, each a constant fraction of the one outside it.
    cr.set_line_width(1.0)
    k = 1.0
    step = 0
    while k > 0.04:
        w2, h2 = cx * k, cy * k
        fade = 0.25 + 0.75 * k
        cr.set_source_rgb(*[SCENE_BASE[i] + (SCENE_FRAME[i] - SCENE_BASE[i]) * fade
                            for i in range(3)])
        cr.rectangle(round(cx - w2) + 0.5, round(cy - h2) + 0.5,
                     round(2 * w2) - 1, round(2 * h2) - 1)
        cr.stroke()
        k *= 0.78
        step += 1
    # The corner lines that tie the frames together.
    cr.set_source_rgba(*SCENE_FRAME, 0.45)
    for (x, y) in ((0, 0), (WIDTH, 0), (0, HEIGHT), (WIDTH, HEIGHT)):
        cr.move_to(x, y)
        cr.line_to(cx + (x - cx) * 0.04, cy + (y - cy) * 0.04)
    cr.stroke()
    return s


def draw_bands(colours):
    s = cairo.ImageSurface(cairo.FORMAT_RGB24, 30, 10)
    cr = cairo.Context(s)
    n = len(colours)
    for k, (r, g, b) in enumerate(colours):
        x0 = round(k * 30 / n)
        x1 = round((k + 1) * 30 / n)
        cr.set_source_rgb(r / 255.0, g / 255.0, b / 255.0)
        cr.rectangle(x0, 0, x1 - x0, 10)
        cr.fill()
    return s


def arrow_masks(scale):
    """Per pixel of a 32 x 32 cursor: None (transparent) or the share 0..1
    of the fill colour against the black outline."""
    def coverage(inset):
        s = cairo.ImageSurface(cairo.FORMAT_A8, 32, 32)
        cr = cairo.Context(s)
        cr.translate(HOT_SPOT[0], HOT_SPOT[1])
        cr.scale(scale, scale)
        cr.move_to(*ARROW[0])
        for p in ARROW[1:]:
            cr.line_to(*p)
        cr.close_path()
        cr.set_line_join(cairo.LINE_JOIN_MITER)
        if inset:
            # The fill: the shape shrunk by about one pixel.
            cr.clip_preserve()
            cr.set_source_rgba(0, 0, 0, 1)
            cr.fill_preserve()
            cr.set_operator(cairo.OPERATOR_CLEAR)
            cr.set_line_width(2.2 / scale)
            cr.stroke()
        else:
            cr.set_line_width(1.0 / scale)
            cr.fill_preserve()
            cr.stroke()
        s.flush()
        data = bytes(s.get_data())
        stride = s.get_stride()
        return [[data[y * stride + x] / 255.0 for x in range(32)] for y in range(32)]

    outer = coverage(False)
    inner = coverage(True)
    result = []
    for y in range(32):
        row = []
        for x in range(32):
            a = outer[y][x]
            if a < 0.5:
                row.append(None)
            else:
                # A little more fill than coverage, so even the smallest
                # arrows have pixels of the full colour inside their outline.
                row.append(min(1.3 * inner[y][x] / a, 1.0))
        result.append(row)
    return result


def cursor_bits(mask):
    """The 4-bit colour indices (bottom-up rows) and the AND mask of a
    cursor; index i is i/15 of the way from black to the fill colour."""
    xor = bytearray()
    and_mask = bytearray()
    for y in range(31, -1, -1):
        row = mask[y]
        for x in range(0, 32, 2):
            hi = 0 if row[x] is None else int(round(row[x] * 15))
            lo = 0 if row[x + 1] is None else int(round(row[x + 1] * 15))
            xor.append((hi << 4) | lo)
        bits = 0
        for x in range(32):
            bits = (bits << 1) | (1 if row[x] is None else 0)
        and_mask += struct.pack(">I", bits)
    return bytes(xor), bytes(and_mask)


def cursor_file(bits, colour):
    xor, and_mask = bits
    palette = bytearray()
    for i in range(16):
        r, g, b = (int(c * i / 15 + 0.5) for c in colour)
        palette += bytes((b, g, r, 0))
    info = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, len(xor) + len(and_mask), 0, 0,
                       16, 0)
    image = info + bytes(palette) + xor + and_mask
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", 32, 32, 16, 0, HOT_SPOT[0], HOT_SPOT[1], len(image), 22)
    return header + entry + image


def producers():
    made = {
        "hyperspace_scene.bmp": draw_scene,
        "hue_legend.bmp": lambda: draw_bands([oscillator_colour(k / 15.0, 0.5)
                                              for k in range(16)]),
        "luminance_legend.bmp": lambda: draw_bands([(round(k * 255 / 15),) * 3
                                                    for k in range(16)]),
    }
    sizes = []

    def shapes():
        if not sizes:
            sizes.extend(cursor_bits(arrow_masks(s)) for s in SIZES)
        return sizes

    lines = ["// Drawn by hyperspace_art.py: the hyperspace cursors, id 2000 +",
             "// (hue x 16 + luminance) x 7 + size."]
    for hue in range(16):
        for lum in range(16):
            # The colour at the middle of the group's step.
            colour = oscillator_colour((hue + 0.5) / 16.0, (lum + 0.5) / 16.0)
            for size in range(7):
                rid = 2000 + (hue * 16 + lum) * 7 + size
                name = "c%d.cur" % rid
                made[name] = (lambda s=size, c=colour: cursor_file(shapes()[s], c))
                lines.append('%d CURSOR "%s"' % (rid, name))
    text = ("\n".join(lines) + "\n").encode("ascii")
    made["hyperspace_cursors.rc"] = lambda: text
    return made


if __name__ == "__main__":
    main(producers())
