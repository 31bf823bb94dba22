"""Drawing routines shared by the art scripts: surfaces, text in the type
scale, the chassis, raised panels with captions, sunken wells and screws.
Rectangles are (left, top, right, bottom) in pixels, as the Win32 code
places its controls, so art and layout tables read alike."""

import math

import cairo

from . import theme


def surface(width, height, alpha=False):
    fmt = cairo.FORMAT_ARGB32 if alpha else cairo.FORMAT_RGB24
    s = cairo.ImageSurface(fmt, width, height)
    return s, cairo.Context(s)


def rgb(ctx, colour, alpha=1.0):
    r, g, b = colour
    ctx.set_source_rgba(r / 255.0, g / 255.0, b / 255.0, alpha)


def mix(a, b, t):
    """Colour a moved toward b by t (0..1)."""
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def fill_rect(ctx, rect, colour, alpha=1.0):
    left, top, right, bottom = rect
    rgb(ctx, colour, alpha)
    ctx.rectangle(left, top, right - left, bottom - top)
    ctx.fill()


def rounded_path(ctx, rect, radius):
    left, top, right, bottom = rect
    r = min(radius, (right - left) / 2.0, (bottom - top) / 2.0)
    ctx.new_sub_path()
    ctx.arc(right - r, top + r, r, -math.pi / 2, 0)
    ctx.arc(right - r, bottom - r, r, 0, math.pi / 2)
    ctx.arc(left + r, bottom - r, r, math.pi / 2, math.pi)
    ctx.arc(left + r, top + r, r, math.pi, 1.5 * math.pi)
    ctx.close_path()


def _font(ctx, style):
    weight = cairo.FONT_WEIGHT_BOLD if style.bold else cairo.FONT_WEIGHT_NORMAL
    ctx.select_font_face(style.family, cairo.FONT_SLANT_NORMAL, weight)
    ctx.set_font_size(style.size)
    options = cairo.FontOptions()
    options.set_antialias(cairo.ANTIALIAS_GRAY)
    options.set_hint_style(cairo.HINT_STYLE_SLIGHT)
    options.set_hint_metrics(cairo.HINT_METRICS_ON)
    ctx.set_font_options(options)


def text_width(ctx, text, style):
    _font(ctx, style)
    width = 0.0
    for ch in text:
        width += ctx.text_extents(ch).x_advance + style.tracking
    return width - style.tracking if text else 0.0


def text(ctx, string, style, x, baseline, colour, align="left", alpha=1.0):
    """Draws `string` in a type-scale style; x is the left edge, the centre or
    the right edge by `align`. Returns the drawn width."""
    width = text_width(ctx, string, style)
    if align == "center":
        x -= width / 2.0
    elif align == "right":
        x -= width
    x = round(x)
    rgb(ctx, colour, alpha)
    _font(ctx, style)
    for ch in string:
        ctx.move_to(x, baseline)
        ctx.show_text(ch)
        x += ctx.text_extents(ch).x_advance + style.tracking
    return width


def chassis(ctx, width, height):
    """The instrument's body: a dark slate gradient with faint brushed lines."""
    gradient = cairo.LinearGradient(0, 0, 0, height)
    top = mix(theme.CHASSIS, (255, 255, 255), 0.04)
    gradient.add_color_stop_rgb(0, *(c / 255.0 for c in top))
    gradient.add_color_stop_rgb(1, *(c / 255.0 for c in mix(theme.CHASSIS, (0, 0, 0), 0.25)))
    ctx.set_source(gradient)
    ctx.rectangle(0, 0, width, height)
    ctx.fill()
    ctx.set_line_width(1)
    for y in range(0, height, 3):
        rgb(ctx, theme.CHASSIS_GRAIN, 0.35 if (y // 3) % 2 else 0.18)
        ctx.move_to(0, y + 0.5)
        ctx.line_to(width, y + 0.5)
        ctx.stroke()


def raised_panel(ctx, rect, radius=4, fill=theme.PANEL):
    """A panel standing out of the chassis: flat fill (so controls that paint
    the same colour blend in), light upper-left edge, dark lower-right edge and
    a soft drop shadow."""
    left, top, right, bottom = rect
    for i, a in ((3, 0.10), (2, 0.18), (1, 0.28)):
        rgb(ctx, theme.PANEL_SHADOW, a)
        rounded_path(ctx, (left - i + 1, top - i + 2, right + i, bottom + i + 1), radius + i)
        ctx.fill()
    rgb(ctx, fill)
    rounded_path(ctx, rect, radius)
    ctx.fill()
    ctx.set_line_width(1)
    ctx.save()
    rounded_path(ctx, rect, radius)
    ctx.clip()
    rgb(ctx, theme.PANEL_HIGHLIGHT)
    rounded_path(ctx, (left + 0.5, top + 0.5, right - 0.5, bottom + 3), radius)
    ctx.stroke()
    rgb(ctx, theme.PANEL_SHADOW, 0.8)
    rounded_path(ctx, (left - 3, top - 3, right - 0.5, bottom - 0.5), radius)
    ctx.stroke()
    ctx.restore()


def sunken_well(ctx, rect, radius=2, fill=theme.WELL):
    """A recess: dark fill, dark upper-left inner edge, light lower-right lip."""
    left, top, right, bottom = rect
    rgb(ctx, fill)
    rounded_path(ctx, rect, radius)
    ctx.fill()
    ctx.set_line_width(1)
    rgb(ctx, theme.PANEL_SHADOW)
    ctx.move_to(left + 0.5, bottom - 1)
    ctx.line_to(left + 0.5, top + 0.5)
    ctx.line_to(right - 1, top + 0.5)
    ctx.stroke()
    rgb(ctx, theme.WELL_EDGE, 0.7)
    ctx.move_to(left + 1, bottom - 0.5)
    ctx.line_to(right - 0.5, bottom - 0.5)
    ctx.line_to(right - 0.5, top + 1)
    ctx.stroke()


def section_caption(ctx, x, baseline, caption, accent, align="left"):
    """A panel caption in the section style with a small accent bar before
    it (or after it, right-aligned)."""
    width = text_width(ctx, caption, theme.SECTION)
    if align == "center":
        x -= (width + 8) / 2.0
        align = "left"
    if align == "left":
        fill_rect(ctx, (x, baseline - 6, x + 4, baseline), accent)
        text(ctx, caption, theme.SECTION, x + 8, baseline, theme.TEXT_DIM)
    else:
        text(ctx, caption, theme.SECTION, x - 8, baseline, theme.TEXT_DIM, align="right")
        fill_rect(ctx, (x - 4, baseline - 6, x, baseline), accent)


def screw(ctx, x, y, radius=3.5):
    gradient = cairo.RadialGradient(x - 1, y - 1, 0.5, x, y, radius)
    gradient.add_color_stop_rgb(0, 0.62, 0.65, 0.68)
    gradient.add_color_stop_rgb(1, 0.22, 0.24, 0.27)
    ctx.set_source(gradient)
    ctx.arc(x, y, radius, 0, 2 * math.pi)
    ctx.fill()
    rgb(ctx, theme.PANEL_SHADOW)
    ctx.set_line_width(1.2)
    ctx.move_to(x - radius * 0.6, y + radius * 0.6)
    ctx.line_to(x + radius * 0.6, y - radius * 0.6)
    ctx.stroke()
