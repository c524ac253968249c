#!/usr/bin/env python3
"""Turns an XPM picture of the toy into a Windows icon file (.ico).

The Windows program carries its icon as a resource, and the resource compiler only takes .ico
files. The picture itself lives in art/ as XPM text like every other picture, so the build makes
the icon from it instead of keeping a second, binary copy that could drift from the first.

    make_ico.py art/MAINICON.xpm build-windows/MAINICON.ico

The icon holds the picture at its own size as a 32-bit image with a mask: transparent XPM
pixels ("None") come out transparent, every other pixel opaque.
"""

import re
import struct
import sys


def read_xpm(path):
    """Returns (width, height, rows of (r, g, b, a)) from XPM3 text."""
    with open(path, encoding="utf-8") as f:
        text = f.read()
    strings = re.findall(r'"((?:[^"\\]|\\.)*)"', text)
    if not strings:
        raise ValueError(f"{path}: no XPM strings")
    width, height, ncolors, cpp = (int(v) for v in strings[0].split()[:4])
    colors = {}
    for line in strings[1 : 1 + ncolors]:
        key, rest = line[:cpp], line[cpp:].split()
        if "c" not in rest:
            raise ValueError(f"{path}: colour line without a 'c' value: {line!r}")
        value = rest[rest.index("c") + 1]
        if value.lower() == "none":
            colors[key] = (0, 0, 0, 0)
        elif re.fullmatch(r"#[0-9A-Fa-f]{6}", value):
            colors[key] = (int(value[1:3], 16), int(value[3:5], 16), int(value[5:7], 16), 255)
        else:
            raise ValueError(f"{path}: colour {value!r} is neither #RRGGBB nor None")
    pixel_rows = strings[1 + ncolors : 1 + ncolors + height]
    if len(pixel_rows) != height:
        raise ValueError(f"{path}: {len(pixel_rows)} pixel rows, {height} expected")
    rows = []
    for y, line in enumerate(pixel_rows):
        if len(line) != width * cpp:
            raise ValueError(f"{path}: row {y} is {len(line)} characters, {width * cpp} expected")
        rows.append([colors[line[x * cpp : (x + 1) * cpp]] for x in range(width)])
    return width, height, rows


def ico_bytes(width, height, rows):
    """One 32-bit image with its AND mask, bottom row first as the format wants."""
    pixels = bytearray()
    for row in reversed(rows):
        for r, g, b, a in row:
            pixels += bytes((b, g, r, a))
    mask_row_bytes = (width + 31) // 32 * 4
    mask = bytearray()
    for row in reversed(rows):
        line = bytearray(mask_row_bytes)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                line[x // 8] |= 0x80 >> (x % 8)
        mask += line
    # The bitmap header counts the colour image and the mask together, hence the doubled height.
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    image = header + pixels + mask
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack(
        "<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(image), len(directory) + 16
    )
    return directory + entry + image


def main(argv):
    if len(argv) != 3:
        print(f"usage: {argv[0]} PICTURE.xpm ICON.ico", file=sys.stderr)
        return 2
    width, height, rows = read_xpm(argv[1])
    if not (0 < width <= 256 and 0 < height <= 256):
        print(f"{argv[1]}: {width}x{height} is too large for an icon", file=sys.stderr)
        return 1
    with open(argv[2], "wb") as f:
        f.write(ico_bytes(width, height, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
