#!/usr/bin/env python3
"""Draws the glyphs of the rename dialog's two speed buttons and prints them
as the binary property values of FCompon.form.

Each glyph is a 16-colour bitmap file, 32 by 16 pixels: the normal image on
the left, the disabled one on the right. The colour of the lower-left pixel
(olive) is the transparent one.

Run:  python3 editor/MakeGlyphs.py   and paste the two blocks into the form.
"""
import struct

# The 16 colours in palette order, as (red, green, blue).
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0x80, 0x80, 0x80),
    (0xC0, 0xC0, 0xC0), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]
BLACK, OLIVE, NAVY, GRAY, SILVER, RED, YELLOW, WHITE = 0, 3, 4, 7, 8, 9, 11, 15
BACKGROUND = OLIVE
SIZE = 16


def pencil():
    """A pencil lying from lower left (point) to upper right (eraser)."""
    image = [[BACKGROUND] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            across = abs(x + y - 15)  # distance from the pencil's axis
            along = x - y  # position along it: point at -13, end at 11
            # Two pixels either side of the axis, narrowing along the cone.
            half = 2 if along >= -6 else 2 * (along + 13) / 7
            if along < -13 or along > 11 or across > half + 0.5:
                continue
            if across > half - 1 or along == 11:
                colour = BLACK  # outline
            elif along <= -11:
                colour = BLACK  # the lead
            elif along <= -7:
                colour = WHITE  # bare wood
            elif along <= 4:
                colour = YELLOW
            elif along <= 6:
                colour = SILVER
            else:
                colour = RED
            image[y][x] = colour
    return image


def undo_arrow():
    """An arrow pointing left whose tail bends round to the right and back."""
    image = [[BACKGROUND] * SIZE for _ in range(SIZE)]
    spans = {  # row: (first, last) column of the tail
        5: (5, 11), 6: (5, 12), 7: (11, 13), 8: (12, 14), 9: (13, 14),
        10: (13, 14), 11: (12, 14), 12: (11, 13), 13: (6, 12), 14: (6, 11),
    }
    for y, (first, last) in spans.items():
        for x in range(first, last + 1):
            image[y][x] = NAVY
    for y in range(2, 10):  # the head, its point on rows 5 and 6
        for x in range(1 + min(abs(y - 5), abs(y - 6)), 5):
            image[y][x] = NAVY
    return image


def disabled(image):
    """The image as a disabled button shows it: its dark parts grey with a
    white edge below and to the right of them, its light parts gone."""
    light = {BACKGROUND, YELLOW, SILVER, WHITE}
    dark = [[c not in light for c in row] for row in image]
    out = [[BACKGROUND] * SIZE for _ in range(SIZE)]
    for y in range(SIZE):
        for x in range(SIZE):
            if dark[y][x]:
                out[y][x] = GRAY
            elif image[y][x] == BACKGROUND and y > 0 and x > 0 and dark[y - 1][x - 1]:
                out[y][x] = WHITE
    return out


def bitmap(images):
    """A 16-colour bitmap file holding the images side by side."""
    width, height = SIZE * len(images), SIZE
    rows = []
    for y in reversed(range(height)):  # bottom row first
        pixels = [c for image in images for c in image[y]]
        rows.append(bytes(pixels[i] << 4 | pixels[i + 1] for i in range(0, width, 2)))
    bits = b"".join(rows)  # 16 bytes a row: already a multiple of 4
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in PALETTE)
    offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 4, 0, len(bits), 0, 0, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return header + info + palette + bits


def show(image):
    marks = {BACKGROUND: ".", BLACK: "k", NAVY: "n", GRAY: "g", SILVER: "s", RED: "r",
             YELLOW: "y", WHITE: "w"}
    return "\n".join("".join(marks[c] for c in row) for row in image)


def form_value(data, indent="      "):
    text = data.hex().upper()
    lines = [text[i:i + 64] for i in range(0, len(text), 64)]
    return "{\n" + "\n".join(indent + line for line in lines) + "}"


if __name__ == "__main__":
    for name, image in (("btnChange", pencil()), ("CancelChangeBtn", undo_arrow())):
        print(f"# {name}\n{show(image)}\n\n{show(disabled(image))}\n")
        print("Glyph.Data = " + form_value(bitmap([image, disabled(image)])) + "\n")
