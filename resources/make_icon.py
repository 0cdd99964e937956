#!/usr/bin/env python3
"""Draws the setup's icon: a sheet of paper with a blue quill stroke, as a
32x32 and a 16x16 image in 16 colours, and writes it as an .ico file.

    python3 make_icon.py OUT.ico
"""
import struct
import sys

# The 16 colours of the standard VGA palette (B, G, R, 0).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREY, SILVER, WHITE, BLUE, NAVY, YELLOW = 0, 8, 7, 15, 12, 4, 11


def draw(size):
    """Rows top to bottom; None is transparent."""
    s = size / 32.0
    pixels = [[None] * size for _ in range(size)]
    left, right, top, bottom = int(6 * s), int(25 * s), int(3 * s), int(29 * s)
    for y in range(top, bottom + 1):
        for x in range(left, right + 1):
            edge = x in (left, right) or y in (top, bottom)
            pixels[y][x] = BLACK if edge else WHITE
    # Lines of text on the sheet.
    for y in range(int(9 * s), int(26 * s), max(1, int(4 * s))):
        for x in range(left + max(2, int(3 * s)), right - max(1, int(2 * s))):
            pixels[y][x] = SILVER
    # The quill: a diagonal stroke from the lower left to the upper right.
    for i in range(int(22 * s)):
        x, y = int(8 * s) + i, int(27 * s) - i
        for w in range(max(1, int(2 * s))):
            if 0 <= x + w < size and 0 <= y < size:
                pixels[y][x + w] = NAVY if w == 0 else BLUE
    tip_x, tip_y = int(8 * s), int(27 * s)
    pixels[tip_y][tip_x] = YELLOW
    return pixels


def bitmap(size):
    pixels = draw(size)
    header = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in
                       [(c[2], c[1], c[0]) for c in PALETTE])
    xor_rows, and_rows = [], []
    for row in reversed(pixels):  # bottom-up
        nibbles = [0 if p is None else p for p in row]
        data = bytes((nibbles[i] << 4) | nibbles[i + 1] for i in range(0, size, 2))
        xor_rows.append(data + b"\0" * ((4 - len(data) % 4) % 4))
        bits = 0
        mask = bytearray()
        for i, p in enumerate(row):
            bits = (bits << 1) | (1 if p is None else 0)
            if i % 8 == 7:
                mask.append(bits)
                bits = 0
        and_rows.append(bytes(mask) + b"\0" * ((4 - len(mask) % 4) % 4))
    return header + palette + b"".join(xor_rows) + b"".join(and_rows)


def main():
    images = [(32, bitmap(32)), (16, bitmap(16))]
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    out += b"".join(data for _, data in images)
    with open(sys.argv[1], "wb") as f:
        f.write(out)


if __name__ == "__main__":
    main()
