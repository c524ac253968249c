#!/usr/bin/env python3
"""Looks at a screenshot of the X screen (xwd -root) the way a person looks at the toy's window.

Positions are in the window's client coordinates; ORIGIN is where the client area's top-left
corner is on the screen ("X,Y"). Every question answers through the exit code (0 yes, 1 no)
and says what it saw on standard output.

    screen_probe.py fish SHOT ORIGIN ART_DIR       is a fish swimming in its lane? prints its Left
    screen_probe.py no-fish SHOT ORIGIN ART_DIR    is the fish's lane empty?
    screen_probe.py shows SHOT ORIGIN LEFT,TOP PICTURE.xpm
                                                   does the picture sit there, and nothing over it?
    screen_probe.py png SHOT ORIGIN WIDTH,HEIGHT OUT.png
                                                   saves the client area, for a person to look at
"""

import re
import struct
import sys
import zlib

WHITE = (255, 255, 255)

# Where the toy lets its fish swim: it starts with its Left at 240 and its Top at 120 and moves
# ten pixels a second; the lane ends where the creature's slot begins.
FISH_TOP = 120
FISH_START_LEFT = 240
FISH_STEP = 10
LANE = (0, 100, 399, 80)  # left, top, width, height
FISH_PICTURES = [f"imgFish{side}{n}.xpm" for side in "LR" for n in range(1, 6)]


class Shot:
    """An XWD screenshot of a TrueColor screen, read lazily pixel by pixel."""

    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        fields = struct.unpack(">25I", data[:100])
        header_size = fields[0]
        self.width, self.height = fields[4], fields[5]
        self.byte_order = "little" if fields[7] == 0 else "big"
        self.bits_per_pixel = fields[11]
        self.bytes_per_line = fields[12]
        self.masks = fields[14:17]
        ncolors = fields[19]
        if self.bits_per_pixel not in (24, 32):
            raise ValueError(f"{path}: {self.bits_per_pixel} bits a pixel is not a TrueColor screen shot")
        self.pixels = memoryview(data)[header_size + 12 * ncolors :]
        self.bytes_per_pixel = self.bits_per_pixel // 8

    def rgb(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            return None
        offset = y * self.bytes_per_line + x * self.bytes_per_pixel
        value = int.from_bytes(self.pixels[offset : offset + self.bytes_per_pixel], self.byte_order)
        channels = []
        for mask in self.masks:
            shift = (mask & -mask).bit_length() - 1
            channels.append((value & mask) >> shift)
        return tuple(channels)


def read_xpm(path):
    """Returns (width, height, {(x, y): (r, g, b)}) with only the opaque pixels."""
    with open(path, encoding="utf-8") as f:
        strings = re.findall(r'"((?:[^"\\]|\\.)*)"', f.read())
    width, height, ncolors, cpp = (int(v) for v in strings[0].split()[:4])
    colors = {}
    for line in strings[1 : 1 + ncolors]:
        rest = line[cpp:].split()
        value = rest[rest.index("c") + 1]
        colors[line[:cpp]] = None if value.lower() == "none" else tuple(int(value[i : i + 2], 16) for i in (1, 3, 5))
    opaque = {}
    for y, line in enumerate(strings[1 + ncolors : 1 + ncolors + height]):
        for x in range(width):
            color = colors[line[x * cpp : (x + 1) * cpp]]
            if color is not None:
                opaque[(x, y)] = color
    return width, height, opaque


def mismatches(shot, origin, left, top, picture):
    """Pixels of the picture's rectangle that differ: its own colour where it is opaque, the
    window's white where it is transparent, so anything lying over it counts too."""
    width, height, opaque = picture
    wrong = 0
    for y in range(height):
        for x in range(width):
            seen = shot.rgb(origin[0] + left + x, origin[1] + top + y)
            if seen != opaque.get((x, y), WHITE):
                wrong += 1
    return wrong


def fish_lefts():
    lefts = {FISH_START_LEFT + FISH_STEP * k for k in range(-30, 30)}
    return sorted(x for x in lefts if LANE[0] <= x and x + 32 <= LANE[0] + LANE[2])


def find_fish(shot, origin, art_dir):
    """Returns (Left, picture name) of the fish in its lane, or None. The caller presses on the
    fish right after, while it keeps swimming, so only the few places next to what is drawn in
    the lane are compared with the pictures."""
    marked = [x for x, _ in lane_pixels(shot, origin)]
    if not marked:
        return None
    first, last = min(marked), max(marked)
    candidates = [x for x in fish_lefts() if first - 32 < x <= first and last < x + 33]
    pictures = [(name, read_xpm(f"{art_dir}/{name}")) for name in FISH_PICTURES]
    for left in candidates:
        for name, picture in pictures:
            if mismatches(shot, origin, left, FISH_TOP, picture) == 0:
                return left, name
    return None


def lane_pixels(shot, origin):
    left, top, width, height = LANE
    return [
        (x, y)
        for y in range(top, top + height)
        for x in range(left, left + width)
        if shot.rgb(origin[0] + x, origin[1] + y) != WHITE
    ]


def write_png(shot, origin, size, out):
    width, height = size
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        for x in range(width):
            raw += bytes(shot.rgb(origin[0] + x, origin[1] + y) or (0, 0, 0))

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xFFFFFFFF)

    with open(out, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw))))
        f.write(chunk(b"IEND", b""))


def pair(text):
    a, b = text.split(",")
    return int(a), int(b)


def main(argv):
    if len(argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    command, shot, origin = argv[1], Shot(argv[2]), pair(argv[3])
    if command == "fish":
        found = find_fish(shot, origin, argv[4])
        if not found:
            print("no fish in its lane")
            return 1
        print(f"{found[0]} {found[1]}")
        return 0
    if command == "no-fish":
        marks = len(lane_pixels(shot, origin))
        print(f"{marks} pixels not white in the fish's lane")
        return 0 if marks == 0 else 1
    if command == "shows":
        left, top = pair(argv[4])
        wrong = mismatches(shot, origin, left, top, read_xpm(argv[5]))
        print(f"{wrong} pixels differ from {argv[5]}")
        return 0 if wrong == 0 else 1
    if command == "png":
        write_png(shot, origin, pair(argv[4]), argv[5])
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
