#!/usr/bin/python3
"""Draws the button-hint bitmaps into samples/: a small mouse whose acting buttons are lit.

Mask files (Mask*.bmp) hold the mouse's silhouette on pure green, the transparent colour.
Picture files (F<n>Mask*.bmp) show the mouse with the buttons named after "Mask" lit
(L left, C centre, R right); the number tells pictures apart by a row of dots under the mouse.
"""
import os
import struct
import sys

W, H = 115, 120
GREEN = (0, 255, 0)
BODY = (235, 235, 235)
EDGE = (60, 60, 60)
LIT = (255, 140, 0)
DOT = (40, 90, 200)

BODY_L, BODY_R, BODY_T, BODY_B = 32, 83, 8, 100
BUTTON_B = 44
THIRDS = [BODY_L, BODY_L + 17, BODY_L + 34, BODY_R]


def inside_body(x, y):
    if not (BODY_L <= x <= BODY_R and BODY_T <= y <= BODY_B):
        return False
    r = 14  # rounded corners
    for cx, cy in ((BODY_L + r, BODY_T + r), (BODY_R - r, BODY_T + r),
                   (BODY_L + r, BODY_B - r), (BODY_R - r, BODY_B - r)):
        if (x < BODY_L + r or x > BODY_R - r) and (y < BODY_T + r or y > BODY_B - r):
            if (x - cx) ** 2 + (y - cy) ** 2 > r * r and abs(x - cx) <= r and abs(y - cy) <= r:
                return False
    return True


def draw(buttons, dots, mask):
    px = [[GREEN] * W for _ in range(H)]
    for y in range(H):
        for x in range(W):
            if not inside_body(x, y):
                continue
            if mask:
                px[y][x] = EDGE
                continue
            colour = BODY
            edge = (not inside_body(x - 1, y) or not inside_body(x + 1, y)
                    or not inside_body(x, y - 1) or not inside_body(x, y + 1))
            if y < BUTTON_B:
                for i, letter in enumerate("LCR"):
                    if THIRDS[i] <= x < THIRDS[i + 1] and letter in buttons:
                        colour = LIT
                if x in THIRDS[1:3] or y == BUTTON_B - 1:
                    edge = True
            px[y][x] = EDGE if edge else colour
    if not mask:
        for i in range(dots):
            cx = 20 + (i % 12) * 7
            cy = 106 + (i // 12) * 7
            for y in range(cy - 2, cy + 3):
                for x in range(cx - 2, cx + 3):
                    if 0 <= x < W and 0 <= y < H:
                        px[y][x] = DOT
    return px


def write_bmp(path, px):
    row_bytes = (W * 3 + 3) & ~3
    data = bytearray()
    for y in range(H - 1, -1, -1):
        row = bytearray()
        for r, g, b in px[y]:
            row += bytes((b, g, r))
        row += b"\0" * (row_bytes - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, W, H, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def main(out):
    masks = ["Mask", "MaskL", "MaskR", "MaskC", "MaskLR", "MaskCR", "MaskLCR"]
    pictures = ["F7MaskLR", "F5MaskL", "F17MaskL", "F21MaskL", "F16MaskR", "F14MaskR",
                "F9MaskC", "F3MaskLCR", "F22MaskLr", "F9MaskCR", "F12MaskLCR", "F14MaskLCR",
                "F7MaskLCR"]
    for m in masks:
        write_bmp(os.path.join(out, m + ".bmp"), draw("", 0, True))
    for p in pictures:
        number, buttons = p[1:].split("Mask")
        write_bmp(os.path.join(out, p + ".bmp"), draw(buttons.upper(), int(number), False))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "samples"))
