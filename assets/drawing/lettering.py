"""A stroked capital face drawn with a round pen: each glyph is a few polylines in a box one unit
high (y grows downwards). Only the letters the pictures need are defined."""

from .canvas import Stroke, arc


def _glyphs():
    g = {}
    g["A"] = (0.80, [[(0, 1), (0.4, 0), (0.8, 1)], [(0.16, 0.62), (0.64, 0.62)]])
    g["C"] = (0.78, [arc(0.45, 0.5, 0.45, 0.5, -50, -310, 32)])
    g["D"] = (0.74, [[(0.28, 0), (0, 0), (0, 1), (0.28, 1)] + arc(0.28, 0.5, 0.46, 0.5, 90, -90, 24)])
    g["E"] = (0.58, [[(0.58, 0), (0, 0), (0, 1), (0.58, 1)], [(0, 0.5), (0.48, 0.5)]])
    g["H"] = (0.70, [[(0, 0), (0, 1)], [(0.7, 0), (0.7, 1)], [(0, 0.5), (0.7, 0.5)]])
    g["I"] = (0.00, [[(0, 0), (0, 1)]])
    g["K"] = (0.66, [[(0, 0), (0, 1)], [(0.66, 0), (0, 0.62)], [(0.24, 0.42), (0.68, 1)]])
    g["L"] = (0.54, [[(0, 0), (0, 1), (0.54, 1)]])
    g["M"] = (0.90, [[(0, 1), (0, 0), (0.45, 0.72), (0.9, 0), (0.9, 1)]])
    g["N"] = (0.74, [[(0, 1), (0, 0), (0.74, 1), (0.74, 0)]])
    g["O"] = (0.92, [arc(0.46, 0.5, 0.46, 0.5, 0, 360, 48)])
    g["R"] = (0.68, [[(0, 1), (0, 0), (0.36, 0)] + arc(0.36, 0.25, 0.27, 0.25, -90, 90, 16)
                     + [(0, 0.5)], [(0.34, 0.5), (0.68, 1)]])
    g["S"] = (0.64, [arc(0.32, 0.25, 0.32, 0.25, -25, -270, 20)
                     + arc(0.32, 0.75, 0.32, 0.25, -90, 155, 20)])
    g["T"] = (0.70, [[(0, 0), (0.7, 0)], [(0.35, 0), (0.35, 1)]])
    g["U"] = (0.72, [[(0, 0)] + arc(0.36, 0.64, 0.36, 0.36, 180, 0, 20) + [(0.72, 0)]])
    g["V"] = (0.80, [[(0, 0), (0.4, 1), (0.8, 0)]])
    g[" "] = (0.45, [])
    return g


GLYPHS = _glyphs()


def text_width(text, cap_height, pen, spacing):
    """Width in pixels of the text's ink, pen included."""
    width = 0.0
    for i, ch in enumerate(text):
        width += GLYPHS[ch][0] * cap_height
        if i + 1 < len(text):
            width += spacing
    return width + pen


def text_shape(text, left, top, cap_height, pen, spacing, slant=0.0):
    """The text as one stroked shape whose ink box starts at (left, top)."""
    polylines = []
    x = left + pen / 2
    y = top + pen / 2
    h = cap_height - pen  # the pen's round ends stay inside the cap height
    for ch in text:
        advance, strokes = GLYPHS[ch]
        scale_x = (advance * cap_height - pen) / advance if advance else 0.0
        for line in strokes:
            polylines.append([(x + px * scale_x + (1 - py) * slant * h, y + py * h)
                              for px, py in line])
        x += advance * cap_height + spacing
    return Stroke(polylines, pen)
