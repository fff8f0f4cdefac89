#!/usr/bin/python3
"""Draws the button-hint bitmaps into samples/ (needs python3-pil and fonts-noto-cjk).

Each picture shows a small mouse whose acting buttons are lit, and under it one row per acting
button: the button's colour, its name (左 中 右) and a word for what it does on that spot.
Each mask is the same mouse with the buttons that do not act cut out (pure green, the see-through
colour) and only the rows of the acting buttons kept, so a picture shows only what acts.
Every file starts with a see-through band taller than a grid row: the hint hangs from the
pointer and never hides the cell, border or line under it. Every file is also drawn at twice
the pixels as NAME@2x.bmp for screens with a device-pixel ratio above 1.

The files are committed; run this only to change them:  python3 tools/make_hint_bitmaps.py
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFont

W, H = 115, 120           # logical size of every file
BAND = 24                 # see-through band at the top (a default grid row is 16 px)
POINTER_X = 47            # the hint's left edge lies 700 twips (about 47 px) left of the pointer
GREEN = (0, 255, 0)
BODY = (238, 238, 238)
EDGE = (70, 70, 70)
ROW = (255, 255, 230)
TEXT = (20, 20, 20)
LIT = {"L": (255, 140, 0), "C": (40, 150, 255), "R": (220, 50, 160)}
NAME = {"L": "左", "C": "中", "R": "右"}

BODY_BOX = (POINTER_X - 14, BAND + 3, POINTER_X + 14, BAND + 43)  # the mouse
BUTTON_BOTTOM = BAND + 20
ROW_TOP = {"L": BAND + 46, "C": BAND + 62, "R": BAND + 78}  # one 16-px row per button
ROW_HEIGHT = 15

FONT_FILE = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"

# What each picture says, by button; the letters after "Mask" in a picture's name are the
# mask it is drawn for.
PICTURES = {
    "F3MaskLCR": {"L": "ﾊﾞｰｼﾞｮﾝ情報", "R": "メニュー"},
    "F16MaskR": {"R": "メニュー"},
    "F7MaskLR": {"L": "大きさ", "R": "移動"},
    "F7MaskLCR": {"L": "大きさ", "C": "保存", "R": "移動"},
    "F12MaskLCR": {"L": "結果列", "C": "並べ替え", "R": "結合"},
    "F14MaskLCR": {"L": "条件式", "C": "関連行", "R": "開く"},
    "F9MaskCR": {"C": "並べ替え", "R": "表メニュー"},
    "F9MaskC": {"C": "並べ替え"},
    "F14MaskR": {"R": "開く"},
    "F5MaskL": {"L": "スクロール"},
    "F17MaskL": {"L": "切断"},
    "F21MaskL": {"L": "グループ"},
    "F22MaskLr": {"L": "削除", "R": "演算子"},
}
MASKS = {"Mask": "", "MaskL": "L", "MaskR": "R", "MaskC": "C", "MaskLR": "LR", "MaskCR": "CR",
         "MaskLCR": "LCR"}


def button_boxes():
    left, top, right, _ = BODY_BOX
    third = (right - left) / 3
    return {b: (left + i * third, top, left + (i + 1) * third, BUTTON_BOTTOM)
            for i, b in enumerate("LCR")}


def draw(acting, words, scale, mask):
    """acting: the buttons kept (mask) or lit (picture); words: button -> word."""
    img = Image.new("RGB", (W * scale, H * scale), GREEN)
    d = ImageDraw.Draw(img)
    s = lambda box: tuple(round(v * scale) for v in box)
    d.rounded_rectangle(s(BODY_BOX), radius=10 * scale, fill=BODY, outline=EDGE, width=scale)
    for b, box in button_boxes().items():
        if mask and b not in acting:
            d.rectangle(s(box), fill=GREEN)  # a button that does not act is cut out
            continue
        d.rectangle(s(box), fill=LIT[b] if b in acting else BODY, outline=EDGE, width=scale)
    font = ImageFont.truetype(FONT_FILE, 11 * scale, index=0)
    for b in "LCR":
        if b not in acting or (not mask and b not in words):
            continue
        top = ROW_TOP[b]
        d.rectangle(s((1, top, W - 2, top + ROW_HEIGHT)), fill=ROW, outline=EDGE, width=scale)
        if mask:
            continue
        d.rectangle(s((4, top + 4, 11, top + 11)), fill=LIT[b], outline=EDGE, width=scale)
        d.text(s((15, top + ROW_HEIGHT / 2)), NAME[b] + " " + words[b], font=font, fill=TEXT,
               anchor="lm")
    return img


def lit_buttons(picture):
    return "".join(b for b in "LCR" if b in PICTURES[picture])


def main(out):
    for scale, suffix in ((1, ""), (2, "@2x")):
        for name, buttons in MASKS.items():
            draw(buttons, {}, scale, True).save(os.path.join(out, name + suffix + ".bmp"))
        for name, words in PICTURES.items():
            draw(lit_buttons(name), words, scale, False).save(
                os.path.join(out, name + suffix + ".bmp"))


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else
         os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "samples"))
