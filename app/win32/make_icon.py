#!/usr/bin/env python3
"""make_icon.py OUT.ico: writes the program's icon, a small yellow LCD with
three rows of text in a dark frame on a transparent ground (as the Qt shell
draws it), at 32 x 32 and at 16 x 16, as 32-bit images with an alpha
channel and the AND mask older systems use."""
import struct
import sys

YELLOW = (255, 255, 0)
FRAME = (64, 64, 64)
BLACK = (0, 0, 0)


def picture(size):
    """Rows of (r, g, b, a), top row first."""
    if size == 32:
        frame, glass, rows = (1, 6, 30, 20), (3, 8, 26, 16), [(11, 6, 26), (15, 6, 26), (19, 6, 17)]
    else:
        frame, glass, rows = (0, 3, 16, 10), (1, 4, 14, 8), [(5, 3, 13), (7, 3, 13), (9, 3, 8)]
    pixels = [[(0, 0, 0, 0)] * size for _ in range(size)]

    def fill(box, colour):
        x0, y0, w, h = box
        for y in range(y0, y0 + h):
            for x in range(x0, x0 + w):
                pixels[y][x] = colour + (255,)

    fill(frame, FRAME)
    fill(glass, YELLOW)
    for y, x0, x1 in rows:
        fill((x0, y, x1 - x0, 1), BLACK)
    return pixels


def bitmap(size):
    """A BITMAPINFOHEADER of twice the height, the colour rows bottom-up, then the AND mask."""
    pixels = picture(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = b"".join(bytes((b, g, r, a)) for row in reversed(pixels) for (r, g, b, a) in row)
    stride = ((size + 31) // 32) * 4
    mask = b""
    for row in reversed(pixels):
        bits = 0
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits |= 1 << (stride * 8 - 1 - x)
        mask += bits.to_bytes(stride, "big")
    return header + colour + mask


def main():
    images = [(size, bitmap(size)) for size in (32, 16)]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    data = b""
    for size, image in images:
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset + len(data))
        data += image
    with open(sys.argv[1], "wb") as out:
        out.write(directory + data)


if __name__ == "__main__":
    main()
