"""Writers for the Windows picture files the resource compiler embeds:
24-bit BMP, ICO (several sizes, 32-bit with mask) and CUR (with hot spot),
all from cairo image surfaces."""

import struct

import cairo


def _pixels(surface):
    """Rows of (b, g, r, a) byte quadruples, top row first, alpha
    un-premultiplied."""
    surface.flush()
    width, height = surface.get_width(), surface.get_height()
    stride = surface.get_stride()
    data = bytes(surface.get_data())
    has_alpha = surface.get_format() == cairo.FORMAT_ARGB32
    rows = []
    for y in range(height):
        row = []
        base = y * stride
        for x in range(width):
            b, g, r, a = data[base + 4 * x: base + 4 * x + 4]
            if not has_alpha:
                a = 255
            elif 0 < a < 255:
                b, g, r = (min(255, (c * 255 + a // 2) // a) for c in (b, g, r))
            elif a == 0:
                b = g = r = 0
            row.append((b, g, r, a))
        rows.append(row)
    return width, height, rows


def bmp24_bytes(surface):
    """A bottom-up 24-bit BMP file of the surface (alpha ignored)."""
    width, height, rows = _pixels(surface)
    row_size = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray()
        for b, g, r, _ in row:
            line += bytes((b, g, r))
        line += b"\0" * (row_size - len(line))
        pixels += line
    header_size = 14 + 40
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return file_header + info + bytes(pixels)


def _icon_image(surface):
    """The DIB of one icon or cursor image: 32-bit BGRA plus the AND mask."""
    width, height, rows = _pixels(surface)
    color = bytearray()
    for row in reversed(rows):
        for b, g, r, a in row:
            color += bytes((b, g, r, a))
    mask_row = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        bits = bytearray(mask_row)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                       len(color) + len(mask), 0, 0, 0, 0)
    return width, height, info + bytes(color) + bytes(mask)


def _icon_file(kind, images):
    """kind 1: icon, images are surfaces; kind 2: cursor, images are
    (surface, (hot x, hot y)) pairs."""
    entries = []
    for item in images:
        surface, hotspot = (item, None) if kind == 1 else item
        width, height, data = _icon_image(surface)
        if kind == 1:
            planes, bits = 1, 32
        else:
            planes, bits = hotspot
        entries.append((width, height, planes, bits, data))
    out = struct.pack("<HHH", 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = b""
    for width, height, planes, bits, data in entries:
        out += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, planes, bits, len(data),
                           offset)
        offset += len(data)
        blobs += data
    return out + blobs


def ico_bytes(surfaces):
    """An ICO file holding every surface (square, 256 px at most)."""
    return _icon_file(1, surfaces)


def cur_bytes(images):
    """A CUR file from (surface, (hot x, hot y)) pairs."""
    return _icon_file(2, images)


def _median_cut(colours, limit):
    """At most `limit` representative colours for a {(b, g, r): count}
    histogram: the box with the widest channel spread is split at its
    weighted median until there are enough boxes; each box gives its
    weighted mean."""
    boxes = [list(colours.items())]
    while len(boxes) < limit:
        best, best_spread, best_channel = None, 0, 0
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for channel in range(3):
                values = [c[channel] for c, _ in box]
                spread = max(values) - min(values)
                if spread > best_spread:
                    best, best_spread, best_channel = i, spread, channel
        if best is None:
            break
        box = sorted(boxes.pop(best), key=lambda item: item[0][best_channel])
        total = sum(n for _, n in box)
        running, cut = 0, 1
        for k, (_, n) in enumerate(box[:-1]):
            running += n
            if running * 2 >= total:
                cut = k + 1
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(n for _, n in box)
        palette.append(tuple(int(round(sum(c[ch] * n for c, n in box) / total))
                             for ch in range(3)))
    return palette


def bmp8_bytes(surface):
    """A bottom-up 8-bit BMP with a colour table of at most 256 entries: the
    exact colours when the picture has that few, otherwise the median-cut
    palette with each pixel mapped to its nearest entry."""
    width, height, rows = _pixels(surface)
    histogram = {}
    for row in rows:
        for b, g, r, _ in row:
            histogram[(b, g, r)] = histogram.get((b, g, r), 0) + 1
    if len(histogram) <= 256:
        palette = sorted(histogram)
    else:
        palette = _median_cut(histogram, 256)
    index_of = {}
    for colour in histogram:
        index_of[colour] = min(range(len(palette)),
                               key=lambda i: sum((colour[ch] - palette[i][ch]) ** 2
                                                 for ch in range(3)))
    row_size = (width + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):
        line = bytearray(index_of[(b, g, r)] for b, g, r, _ in row)
        line += b"\0" * (row_size - len(line))
        pixels += line
    table = b"".join(bytes((b, g, r, 0)) for b, g, r in palette)
    header_size = 14 + 40 + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", header_size + len(pixels), 0, 0, header_size)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 0, len(pixels), 2835, 2835,
                       len(palette), 0)
    return file_header + info + table + bytes(pixels)
