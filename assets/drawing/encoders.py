"""Writers for the picture formats the viewer reads: 24-bit BMP, GIF89a (LZW), ICO and PNG.

Each takes rows of (r, g, b, a) byte tuples, top row first, and returns the file's bytes.
"""

import struct
import zlib


def bmp24(rows):
    """Uncompressed 24-bit BMP; alpha is ignored (these pictures use a mask colour instead)."""
    height, width = len(rows), len(rows[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(rows):  # BMP stores the bottom row first
        line = bytearray()
        for r, g, b, _ in row:
            line += bytes((b, g, r))
        line += bytes(stride - len(line))
        pixels += line
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    return header + info + bytes(pixels)


def _dib32_with_mask(rows):
    """The image part of an ICO entry: 32-bit BGRA colours plus the 1-bit AND mask."""
    height, width = len(rows), len(rows[0])
    colours = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            colours += bytes((b, g, r, a))
    mask_stride = ((width + 31) // 32) * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_stride)
        for x, (_, _, _, a) in enumerate(row):
            if a < 128:  # transparent for readers that ignore the alpha channel
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    # The header's height counts the colour rows and the mask rows together.
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0,
                       len(colours) + len(mask), 0, 0, 0, 0)
    return info + bytes(colours) + bytes(mask)


def ico(images):
    """An icon file holding each of the given images (rows), smallest first."""
    images = sorted(images, key=len)
    entries = bytearray()
    data = bytearray()
    offset = 6 + 16 * len(images)
    for rows in images:
        height, width = len(rows), len(rows[0])
        blob = _dib32_with_mask(rows)
        entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(blob),
                               offset + len(data))
        data += blob
    return struct.pack("<HHH", 0, 1, len(images)) + bytes(entries) + bytes(data)


def _png_chunk(kind, payload):
    body = kind + payload
    return struct.pack(">I", len(payload)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def png(rows):
    """8-bit RGBA PNG."""
    height, width = len(rows), len(rows[0])
    raw = bytearray()
    for row in rows:
        raw.append(0)  # filter type: none
        for pixel in row:
            raw += bytes(pixel)
    header = struct.pack(">IIBBBBB", width, height, 8, 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + _png_chunk(b"IHDR", header)
            + _png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + _png_chunk(b"IEND", b""))


# --- GIF -----------------------------------------------------------------------------------------

def _lzw(indices, min_code_size=8):
    """GIF's variable-length LZW: codes grow from min+1 to 12 bits; a full table is cleared."""
    clear = 1 << min_code_size
    end = clear + 1
    out = bytearray()
    bit_buffer = 0
    bit_count = 0

    def emit(code, size):
        nonlocal bit_buffer, bit_count
        bit_buffer |= code << bit_count
        bit_count += size
        while bit_count >= 8:
            out.append(bit_buffer & 0xFF)
            bit_buffer >>= 8
            bit_count -= 8

    def fresh_table():
        return {bytes((i,)): i for i in range(clear)}

    table = fresh_table()
    next_code = end + 1
    code_size = min_code_size + 1
    emit(clear, code_size)
    current = b""
    for value in indices:
        extended = current + bytes((value,))
        if extended in table:
            current = extended
            continue
        emit(table[current], code_size)
        if next_code < 4096:
            table[extended] = next_code
            next_code += 1
            # The decoder learns each entry one code later, so the width grows once the code
            # just assigned no longer fits: both sides then switch before the next code.
            if next_code - 1 == (1 << code_size) and code_size < 12:
                code_size += 1
        else:
            emit(clear, code_size)
            table = fresh_table()
            next_code = end + 1
            code_size = min_code_size + 1
        current = bytes((value,))
    if current:
        emit(table[current], code_size)
        # Reading that last code the decoder adds one more entry, which may widen the end code.
        if next_code == (1 << code_size) and code_size < 12:
            code_size += 1
    emit(end, code_size)
    if bit_count:
        out.append(bit_buffer & 0xFF)
    return bytes(out)


def _median_cut(colours, limit):
    """colours: {(r, g, b): count}. Returns a palette of at most `limit` colours."""
    boxes = [list(colours.items())]
    while len(boxes) < limit:
        # Split the box with the widest channel range that still holds more than one colour.
        best = None
        for i, box in enumerate(boxes):
            if len(box) < 2:
                continue
            for channel in range(3):
                values = [c[0][channel] for c in box]
                spread = max(values) - min(values)
                if best is None or spread > best[0]:
                    best = (spread, i, channel)
        if best is None or best[0] == 0:
            break
        _, i, channel = best
        box = sorted(boxes.pop(i), key=lambda item: item[0][channel])
        total = sum(count for _, count in box)
        running = 0
        cut = 1
        for k, (_, count) in enumerate(box):
            running += count
            if running * 2 >= total:
                cut = min(max(k + 1, 1), len(box) - 1)
                break
        boxes += [box[:cut], box[cut:]]
    palette = []
    for box in boxes:
        total = sum(count for _, count in box)
        palette.append(tuple(int(round(sum(c[ch] * n for c, n in box) / total)) for ch in range(3)))
    return palette


def gif(rows):
    """A single-image GIF89a with a 256-entry global colour table; alpha is ignored."""
    height, width = len(rows), len(rows[0])
    counts = {}
    for row in rows:
        for r, g, b, _ in row:
            counts[(r, g, b)] = counts.get((r, g, b), 0) + 1
    palette = list(counts) if len(counts) <= 256 else _median_cut(counts, 256)
    nearest = {}

    def index_of(colour):
        found = nearest.get(colour)
        if found is None:
            found = min(range(len(palette)),
                        key=lambda k: sum((a - b) ** 2 for a, b in zip(palette[k], colour)))
            nearest[colour] = found
        return found

    indices = bytes(index_of((r, g, b)) for row in rows for r, g, b, _ in row)
    table = bytearray()
    for colour in palette + [(0, 0, 0)] * (256 - len(palette)):
        table += bytes(colour)

    data = bytearray(b"GIF89a")
    data += struct.pack("<HHBBB", width, height, 0xF7, 0, 0)  # global table of 2^(7+1) colours
    data += table
    data += struct.pack("<BHHHHB", 0x2C, 0, 0, width, height, 0)  # image, no local table
    data.append(8)  # LZW minimum code size
    compressed = _lzw(indices, 8)
    for start in range(0, len(compressed), 255):
        block = compressed[start:start + 255]
        data.append(len(block))
        data += block
    data.append(0)  # end of the image's data blocks
    data.append(0x3B)  # trailer
    return bytes(data)
