#!/usr/bin/env python3
"""Draws the program icon and writes main_window/Vorlind.ico.

The picture: a console window (navy caption bar, white body) with a prompt
">_" and a green arrow that starts it. Two images, 32x32 and 16x16, in the 16
standard VGA colours, as a classic 4-bit icon with a transparency mask.
Run it again after changing the drawing; the build uses the committed .ico.
"""
import struct
import sys

PALETTE = [  # the 16 VGA colours, (r, g, b)
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0),
    (0, 0, 128), (128, 0, 128), (0, 128, 128), (192, 192, 192),
    (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0),
    (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, GREEN, NAVY, SILVER, GREY, LIME, WHITE = 0, 2, 4, 7, 8, 10, 15
CLEAR = None


def draw(size):
    s = size / 32.0
    px = [[CLEAR] * size for _ in range(size)]

    def rect(x0, y0, x1, y1, colour):
        for y in range(int(y0 * s), int(y1 * s)):
            for x in range(int(x0 * s), int(x1 * s)):
                px[y][x] = colour

    rect(1, 3, 31, 29, GREY)        # frame and shadow
    rect(1, 3, 30, 28, BLACK)
    rect(2, 4, 29, 8, NAVY)         # caption bar
    rect(25, 5, 28, 7, SILVER)      # close box
    rect(2, 8, 29, 27, WHITE)       # console body
    for i in range(4):              # the ">" of the prompt
        rect(5 + i, 11 + i, 7 + i, 12 + i, BLACK)
        rect(5 + i, 17 - i, 7 + i, 18 - i, BLACK)
    rect(11, 17, 17, 18, BLACK)     # the "_" caret
    for i in range(6):              # the green start arrow, pointing right
        rect(20 + i, 14 + i, 21 + i, 26 - i, GREEN)
    rect(20, 18, 22, 20, LIME)      # a highlight on it
    return px


def image(size):
    px = draw(size)
    row_bytes = ((size * 4 + 31) // 32) * 4
    mask_bytes = ((size + 31) // 32) * 4
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b''.join(struct.pack('BBBB', b, g, r, 0) for r, g, b in PALETTE)
    xor, mask = b'', b''
    for y in reversed(range(size)):  # bottom-up rows
        row = bytearray(row_bytes)
        bits = bytearray(mask_bytes)
        for x in range(size):
            c = px[y][x]
            nibble = 0 if c is CLEAR else c
            row[x // 2] |= nibble << (4 if x % 2 == 0 else 0)
            if c is CLEAR:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += bytes(row)
        mask += bytes(bits)
    return header + palette + xor + mask


def main(path):
    images = [image(32), image(16)]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip((32, 16), images):
        out += struct.pack('<BBBBHHII', size, size, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


if __name__ == '__main__':
    main(sys.argv[1] if len(sys.argv) > 1 else 'main_window/Vorlind.ico')
