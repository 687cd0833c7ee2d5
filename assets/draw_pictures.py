#!/usr/bin/env python3
"""Draws every picture Varnelook ships and writes them next to this script.

    python3 assets/draw_pictures.py              # rewrite the pictures in assets/
    python3 assets/draw_pictures.py --preview D  # also write enlarged PNG copies into D

The desktop icons (the application's and the .zqr file type's) are not drawn here: their masters
are the SVG files under icons/hicolor/scalable/, drawn to match art.application and
art.archive_document, and the build renders the PNG sizes from them.

The pictures are committed; run this again only after changing the drawing. The output is
deterministic, so an unchanged drawing gives byte-identical files.

Stock pictures are the host toolkit's named pictures ("AppIcon!", "help!", ...). Their index,
stock/index.txt, has one line per picture:

    NAME KIND ID FILE [HOTSPOT_X HOTSPOT_Y]

KIND is bitmap, icon or cursor; ID is a resource number, unique within its kind; FILE is relative
to stock/; a cursor adds the hotspot in pixels. Lines starting with "#" are comments. Names are
matched exactly, case included ("help!" and "Help!" are two pictures).
"""

import argparse
import os
import sys

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__

from drawing import art, encoders  # noqa: E402  (needs the line above first)
from drawing.canvas import scaled  # noqa: E402

HERE = os.path.dirname(os.path.abspath(__file__))

# (name, kind, id, file, drawing). Bitmaps carry their mask colour in the top-left pixel.
STOCK = [
    ("AppIcon!", "icon", 201, "appicon.ico", lambda: [art.application(16), art.application(32)]),
    ("Asterisk!", "icon", 202, "asterisk.ico", lambda: [art.information(16), art.information(32)]),
    ("Custom050!", "bitmap", 101, "open_folder.bmp", art.open_folder),
    ("Custom039!", "bitmap", 102, "close_document.bmp", art.close_document),
    ("exit!", "bitmap", 103, "exit.bmp", art.exit_door),
    ("help!", "bitmap", 104, "help_up.bmp", lambda: art.help_badge(pressed=False)),
    ("Help!", "bitmap", 105, "help_down.bmp", lambda: art.help_badge(pressed=True)),
    ("HyperLink!", "cursor", 301, "hyperlink.png", art.hand_pointer),
]


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--preview", metavar="DIR", help="also write enlarged PNG copies here")
    args = parser.parse_args()

    previews = []  # (file name, rows, enlargement)

    def picture(relative, canvas, encode, enlarge):
        rows = canvas.rgba8()
        write(os.path.join(HERE, relative), encode(rows))
        previews.append((relative.replace("/", "_"), rows, enlarge))

    picture("logo.gif", art.logo(), encoders.gif, 1)
    picture("zip.bmp", art.zip_box(), encoders.bmp24, 8)
    picture("file.bmp", art.document_sheet(), encoders.bmp24, 8)

    index = ["# NAME KIND ID FILE [HOTSPOT_X HOTSPOT_Y] -- drawn by assets/draw_pictures.py"]
    for name, kind, number, filename, draw in STOCK:
        relative = "stock/" + filename
        extra = ""
        if kind == "icon":
            canvases = draw()
            images = [c.rgba8() for c in canvases]
            write(os.path.join(HERE, relative), encoders.ico(images))
            for rows in images:
                previews.append((f"stock_{filename}_{len(rows)}.png", rows, 256 // len(rows)))
        elif kind == "cursor":
            picture(relative, draw(), encoders.png, 8)
            extra = " %d %d" % art.HAND_HOTSPOT
        else:
            picture(relative, draw(), encoders.bmp24, 16)
        index.append(f"{name} {kind} {number} {filename}{extra}")
    write(os.path.join(HERE, "stock", "index.txt"), ("\n".join(index) + "\n").encode("ascii"))

    if args.preview:
        os.makedirs(args.preview, exist_ok=True)
        for name, rows, enlarge in previews:
            stem = name.rsplit(".", 1)[0] if not name.endswith(".png") else name[:-4]
            write(os.path.join(args.preview, stem + ".png"), encoders.png(scaled(rows, enlarge)))


if __name__ == "__main__":
    main()
