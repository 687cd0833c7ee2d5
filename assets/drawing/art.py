"""The pictures themselves. Each function returns a Canvas; sizes are fixed by their users."""

from .canvas import Box, Canvas, Ellipse, Polygon, Stroke, arc, mix, rgb
from .lettering import text_shape, text_width

WHITE = (1.0, 1.0, 1.0)
# The mask colour of the toolbar bitmaps (their top-left pixel); no drawn pixel uses it.
MASK = rgb("#c0c0c0")

INK = rgb("#2b2118")
PAPER = rgb("#fbfbf6")
CARDBOARD = rgb("#cf9a55")
CARDBOARD_DARK = rgb("#a5733a")
CARDBOARD_EDGE = rgb("#6e4a22")
FOLDER = rgb("#f2c14e")
FOLDER_DARK = rgb("#d49a22")
FOLDER_EDGE = rgb("#8a5d12")
BLUE = rgb("#2f6fc4")
BLUE_DARK = rgb("#1c4a8c")
RED = rgb("#d0362c")
GREEN = rgb("#2f9e44")


# --- Banner ----------------------------------------------------------------------------------

BRAND = "VARNELOOK"
TAGLINE = "DOCUMENT ARCHIVES"


def logo(width=680, height=113):
    c = Canvas(width, height)
    top, bottom = rgb("#0f3350"), rgb("#1b5d79")
    left, right = rgb("#0c2a44"), rgb("#21708c")

    def sky(x, y):
        return mix(mix(left, right, x / width), mix(top, bottom, y / height), 0.35)

    c.fill(Box(0, 0, width, height), sky)
    # A thin gold rule and a dark strip along the bottom edge.
    c.fill(Box(0, height - 6, width, height - 4), rgb("#e8b04a"))
    c.fill(Box(0, height - 4, width, height), rgb("#0a2235"))

    _emblem(c, 62, 54, 40)

    pen, cap, spacing = 7.0, 44.0, 14.0
    text_left = 128
    brand = text_shape(BRAND, text_left, 18, cap, pen, spacing, slant=0.08)
    c.fill(brand.moved(2, 2), rgb("#081c2c"), opacity=0.6)  # soft drop shadow
    c.fill(brand, rgb("#f6f1e4"))

    brand_width = text_width(BRAND, cap, pen, spacing)
    rule_y = 75
    c.fill(Box(text_left, rule_y, text_left + brand_width + 8, rule_y + 2), rgb("#e8b04a"))
    tag_pen, tag_cap, tag_spacing = 2.2, 15.0, 6.0
    tag_width = text_width(TAGLINE, tag_cap, tag_pen, tag_spacing)
    tag_left = text_left + brand_width + 8 - tag_width
    c.fill(text_shape(TAGLINE, tag_left, 84, tag_cap, tag_pen, tag_spacing), rgb("#f0c873"))

    _shelf(c, text_left + brand_width + 34, width - 18, 18, height - 16)
    return c


def _emblem(c, cx, cy, r):
    """A round badge with a stack of archive drawers and a reading glass."""
    c.fill(Ellipse(cx, cy, r + 3), rgb("#e8b04a"))
    c.fill(Ellipse(cx, cy, r), lambda x, y: mix(rgb("#fbf3dc"), rgb("#e9d7a8"), (y - cy + r) / (2 * r)))
    colours = [rgb("#2a6f8f"), rgb("#c2703d"), rgb("#3f8a5a")]
    for i, colour in enumerate(colours):
        y0 = cy - 22 + i * 14
        c.fill(Box(cx - 24, y0, cx + 16, y0 + 12, 2), colour)
        c.fill(Box(cx - 9, y0 + 4, cx + 1, y0 + 7, 1.5), rgb("#f6f1e4"))
    glass_x, glass_y = cx + 12, cy + 12
    c.fill(Stroke([[(glass_x + 7, glass_y + 7), (glass_x + 17, glass_y + 17)]], 6), rgb("#3a2a1a"))
    c.fill(Ellipse(glass_x, glass_y, 12), rgb("#3a2a1a"))
    c.fill(Ellipse(glass_x, glass_y, 8.5), rgb("#d9eef5"), opacity=0.85)
    c.fill(Stroke([arc(glass_x, glass_y, 5, 5, 200, 260, 8)], 2), WHITE, opacity=0.9)


def _shelf(c, x0, x1, y0, y1):
    """Book spines of different heights standing on a shelf board."""
    colours = ["#c2703d", "#e8b04a", "#2a6f8f", "#3f8a5a", "#9c4a5c", "#e1d4b0", "#4f7fb0"]
    widths = [11, 8, 13, 9, 12, 7, 10]
    heights = [0.92, 0.78, 1.0, 0.85, 0.7, 0.88, 0.95]
    board = y1 - 4
    x = x0
    i = 0
    while x < x1 - 6:
        w = widths[i % len(widths)]
        if x + w > x1:
            w = x1 - x
        h = (board - y0) * heights[i % len(heights)]
        colour = rgb(colours[i % len(colours)])
        if i % 5 == 4:  # one book leans on its neighbour
            c.fill(Polygon([(x, board), (x + w, board), (x + w + 6, board - h + 2),
                            (x + 6, board - h + 2)]), colour)
            x += 6
        else:
            c.fill(Box(x, board - h, x + w, board, 1.5), colour)
            c.fill(Box(x + 2, board - h + 6, x + w - 2, board - h + 8), rgb("#f6f1e4"), opacity=0.7)
        x += w + 2
        i += 1
    c.fill(Box(x0 - 4, board, x1 + 2, board + 4, 1), rgb("#e8b04a"))


# --- List pictures (32 x 32, white is transparent) --------------------------------------------

def zip_box():
    """An archive box closed with a zip down its front."""
    c = Canvas(32, 32, WHITE, antialias=False)
    c.fill(Box(3, 11, 29, 30), CARDBOARD_EDGE)
    c.fill(Box(4, 12, 28, 29), lambda x, y: mix(CARDBOARD, CARDBOARD_DARK, (x - 4) / 24))
    # The lid sticks out a little on both sides.
    c.fill(Box(2, 5, 30, 12), CARDBOARD_EDGE)
    c.fill(Box(3, 6, 29, 11), rgb("#dcae6c"))
    c.fill(Box(3, 10, 29, 11), CARDBOARD_DARK)
    # The zip: a dark track with alternating teeth, and its pull tab.
    c.fill(Box(14, 5, 18, 30), rgb("#4a3217"))
    for y in range(6, 29, 2):
        c.fill(Box(14 if (y // 2) % 2 else 16, y, 16 if (y // 2) % 2 else 18, y + 1), rgb("#e7e2d4"))
    c.fill(Box(13, 14, 19, 20), rgb("#3a3a44"))
    c.fill(Box(14, 15, 18, 19), rgb("#9aa0ad"))
    c.fill(Box(15, 19, 17, 24), rgb("#3a3a44"))
    return c


def document_sheet():
    """A sheet of paper with a folded corner and lines of text."""
    c = Canvas(32, 32, WHITE, antialias=False)
    outline = rgb("#5d6470")
    page = Polygon([(6, 2), (20, 2), (27, 9), (27, 30), (6, 30)])
    c.fill(page, outline)
    c.fill(Polygon([(7, 3), (19.5, 3), (26, 9.5), (26, 29), (7, 29)]), PAPER)
    c.fill(Polygon([(19, 2), (27, 10), (19, 10)]), outline)
    c.fill(Polygon([(20, 4), (25, 9), (20, 9)]), rgb("#dfe3ea"))
    lines = [(9, 12, 17), (9, 15, 23), (9, 18, 24), (9, 21, 22), (9, 24, 24), (9, 27, 18)]
    c.fill(Box(9, 6, 16, 8), BLUE)
    for x0, y, x1 in lines:
        c.fill(Box(x0, y, x1, y + 1), rgb("#8d96a6"))
    return c


# --- Toolbar bitmaps (16 x 16, the top-left pixel is the mask colour) ------------------------

def _toolbar_canvas():
    return Canvas(16, 16, MASK, antialias=False)


def open_folder():
    c = _toolbar_canvas()
    # Back of the folder with its tab.
    c.fill(Polygon([(1, 3), (6, 3), (7, 5), (13, 5), (13, 14), (1, 14)]), FOLDER_EDGE)
    c.fill(Polygon([(2, 4), (5.5, 4), (6.5, 6), (12, 6), (12, 13), (2, 13)]), FOLDER_DARK)
    # A sheet peeking out.
    c.fill(Box(4, 2, 11, 9), rgb("#6b7280"))
    c.fill(Box(5, 3, 10, 9), PAPER)
    # The front flap, swung open towards the viewer.
    c.fill(Polygon([(1, 14), (4, 7), (16, 7), (13, 14)]), FOLDER_EDGE)
    c.fill(Polygon([(2.2, 13), (4.6, 8), (14.4, 8), (12.2, 13)]), FOLDER)
    return c


def close_document():
    c = _toolbar_canvas()
    outline = rgb("#5d6470")
    c.fill(Polygon([(2, 1), (9, 1), (12, 4), (12, 15), (2, 15)]), outline)
    c.fill(Polygon([(3, 2), (8.5, 2), (11, 4.5), (11, 14), (3, 14)]), PAPER)
    for y in (5, 7, 9):
        c.fill(Box(4, y, 9, y + 1), rgb("#8d96a6"))
    # The red cross of "close", over the lower right corner.
    cross = [[(9, 9), (14, 14)], [(14, 9), (9, 14)]]
    c.fill(Stroke(cross, 3.4), rgb("#7a1a14"))
    c.fill(Stroke(cross, 1.6), RED)
    return c


def exit_door():
    c = _toolbar_canvas()
    # Door frame and the door standing open.
    c.fill(Box(1, 1, 10, 16), rgb("#4b2e14"))
    c.fill(Box(2, 2, 9, 16), rgb("#1d1a17"))
    c.fill(Polygon([(2, 2), (7, 4), (7, 16), (2, 15)]), rgb("#a0622a"))
    c.fill(Box(5, 9, 6, 10), rgb("#f2c14e"))
    # The way out.
    c.fill(Polygon([(8, 6), (12, 6), (12, 3), (16, 8), (12, 13), (12, 10), (8, 10)]),
           rgb("#1e5e2b"))
    c.fill(Polygon([(9, 7), (13, 7), (13, 5.5), (15, 8), (13, 10.5), (13, 9), (9, 9)]), GREEN)
    return c


def help_badge(pressed):
    """A round blue badge with a question mark; the pressed state sits lower and darker."""
    c = _toolbar_canvas()
    shift = 1 if pressed else 0
    face = BLUE_DARK if pressed else BLUE
    cx, cy = 7.5 + shift, 7.5 + shift
    c.fill(Ellipse(cx, cy, 7.2), rgb("#13315e"))
    c.fill(Ellipse(cx, cy, 6.2), face)
    mark = Stroke([arc(cx, cy - 2, 2.4, 2.2, 190, 360, 10) + [(cx + 1.8, cy), (cx, cy + 1.2), (cx, cy + 2)]],
                  1.9)
    c.fill(mark, WHITE)
    c.fill(Box(cx - 1, cy + 3, cx + 1, cy + 5), WHITE)
    return c


# --- Icons (alpha) ---------------------------------------------------------------------------

def _clear(size):
    return Canvas(size, size, (0.0, 0.0, 0.0), alpha=0.0)


def information(size):
    """A blue disc with a white "i"."""
    c = _clear(size)
    s = size / 32.0
    c.fill(Ellipse(16 * s, 16 * s, 15.3 * s), rgb("#153f7a"))
    c.fill(Ellipse(16 * s, 16 * s, 15.3 * s - 1.2),
           lambda x, y: mix(rgb("#5b9be6"), rgb("#1f5fb0"), min(1.0, y / (28 * s))))
    if size >= 24:
        c.fill(Ellipse(12 * s, 10 * s, 8 * s, 5 * s), WHITE, opacity=0.25)
        c.fill(Ellipse(16 * s, 8.5 * s, 2.6 * s), WHITE)
        c.fill(Box(13.5 * s, 13 * s, 18.5 * s, 25 * s, 0.8 * s), WHITE)
        c.fill(Box(12 * s, 13 * s, 18.5 * s, 15 * s), WHITE)
        c.fill(Box(12 * s, 23.5 * s, 20 * s, 25.5 * s), WHITE)
    else:
        # Small sizes keep a clear gap between the dot and the stem.
        c.fill(Box(7, 3, 9, 5), WHITE)
        c.fill(Box(7, 6, 9, 13), WHITE)
    return c


def application(size, margin=0.0):
    """The viewer's own icon: an archive box under a reading glass.

    The window icon fills its square; the desktop's icon theme wants a margin round the picture
    (margin, in 32nds of the icon) so that the glass's handle is not cut off at large sizes.
    """
    c = _clear(size)
    s = size / (32.0 + 2 * margin)

    def at(v):
        return (v + margin) * s

    c.fill(Box(at(2), at(10), at(26), at(30), 1.5 * s), CARDBOARD_EDGE)
    c.fill(Box(at(3.2), at(11.2), at(24.8), at(28.8), 1 * s),
           lambda x, y: mix(CARDBOARD, CARDBOARD_DARK, (x - at(0)) / (26 * s)))
    c.fill(Box(at(1), at(6), at(27), at(12), 1.5 * s), CARDBOARD_EDGE)
    c.fill(Box(at(2.2), at(7.2), at(25.8), at(10.8), 1 * s), rgb("#dcae6c"))
    c.fill(Box(at(12), at(6), at(16), at(30)), rgb("#4a3217"))
    if size >= 24:
        for i in range(6):
            y = at(8 + i * 3.5)
            c.fill(Box(at(13), y, at(15), y + 1.3 * s), rgb("#e7e2d4"))
    gx, gy, gr = at(21), at(12), 7.5 * s
    c.fill(Stroke([[(gx + gr * 0.7, gy + gr * 0.7), (gx + gr * 1.45, gy + gr * 1.45)]], 3.6 * s),
           INK)
    c.fill(Ellipse(gx, gy, gr), INK)
    c.fill(Ellipse(gx, gy, gr - 2 * s), rgb("#cfeaf4"), opacity=0.9)
    c.fill(Stroke([arc(gx, gy, gr - 4 * s, gr - 4 * s, 200, 260, 6)], 1.3 * s), WHITE)
    return c


def archive_document(size):
    """The icon of a .zqr file in a file manager: a sheet of paper closed with a zip."""
    c = _clear(size)
    s = size / 32.0
    outline = rgb("#5d6470")
    c.fill(Polygon([(5 * s, 1 * s), (20 * s, 1 * s), (27 * s, 8 * s), (27 * s, 31 * s),
                    (5 * s, 31 * s)]), outline)
    c.fill(Polygon([(6 * s, 2 * s), (19.5 * s, 2 * s), (26 * s, 8.5 * s), (26 * s, 30 * s),
                    (6 * s, 30 * s)]), PAPER)
    c.fill(Polygon([(19 * s, 1 * s), (27 * s, 9 * s), (19 * s, 9 * s)]), outline)
    c.fill(Polygon([(20 * s, 3 * s), (25 * s, 8 * s), (20 * s, 8 * s)]), rgb("#dfe3ea"))
    # Lines of text on both sides of the zip, in the document's blue and grey.
    if size >= 22:
        c.fill(Box(8 * s, 5 * s, 13 * s, 7 * s), BLUE)
        for y in (10, 13, 16, 19, 22, 25):
            c.fill(Box(8 * s, y * s, 13 * s, (y + 1) * s), rgb("#8d96a6"))
            if y > 10:
                c.fill(Box(19 * s, y * s, 24 * s, (y + 1) * s), rgb("#8d96a6"))
    # The zip down the middle: a dark track with light teeth, and its pull tab half way down.
    c.fill(Box(14 * s, 2 * s, 18 * s, 30 * s), rgb("#4a3217"))
    if size >= 22:
        for i in range(8):
            y = (3 + i * 3.5) * s
            left = i % 2 == 0
            c.fill(Box((14.6 if left else 16) * s, y, (16 if left else 17.4) * s, y + 1.3 * s),
                   rgb("#e7e2d4"))
    c.fill(Box(13 * s, 12 * s, 19 * s, 19 * s, 1 * s), rgb("#3a3a44"))
    c.fill(Box(14.2 * s, 13.2 * s, 17.8 * s, 17.8 * s, 0.6 * s), rgb("#9aa0ad"))
    c.fill(Box(15 * s, 18 * s, 17 * s, 24 * s, 0.8 * s), rgb("#3a3a44"))
    return c


# --- Cursor ----------------------------------------------------------------------------------

# Where the pointing fingertip is: the point that a click lands on.
HAND_HOTSPOT = (9, 1)


def hand_pointer():
    """A hand with the index finger raised, for links."""
    c = _clear(32)
    finger = Box(7.5, 0.8, 11.5, 17, 2)
    knuckles = [Box(11, 9, 15, 19, 2), Box(14.5, 10, 18.5, 19, 2), Box(18, 11.5, 22, 19.5, 2)]
    palm = Box(7.5, 14, 22, 27, 4)
    thumb = Stroke([[(8.5, 20), (4, 14.5)]], 4.2)
    hand = finger | palm | thumb | knuckles[0] | knuckles[1] | knuckles[2]
    c.fill(hand.grown(1.0), rgb("#000000"))
    c.fill(hand.grown(-0.2), WHITE)
    crease = rgb("#4a4a4a")
    c.fill(Stroke([[(11.3, 13), (11.3, 17)], [(14.8, 14), (14.8, 18)], [(18.3, 15), (18.3, 18.5)]],
                  0.9), crease)
    return c
