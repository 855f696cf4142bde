#!/usr/bin/env python3
# Whether the screen shows a window as the window itself has it: of the window's pixels (xwd -id),
# the share that the screen's dump (xwd -root) has at the window's place, and the share of black.
# Fails under 90 % alike or over half black. Usage: xwd-match.py ROOT.xwd WINDOW.xwd X Y
import struct
import sys


def read(path):
    data = open(path, "rb").read()
    header = struct.unpack(">25I", data[:100])
    size, width, height, order, bits, line, colours = (header[i] for i in (0, 4, 5, 7, 11, 12, 19))
    step = 4 if line >= 4 * width else 3  # xwd -root over several colormaps says 24 bits, writes 32
    if header[1] != 7 or header[2] != 2 or bits not in (24, 32):
        sys.exit(f"{path}: not a dump of 24- or 32-bit pixels")
    start, endian = size + 12 * colours, ("little" if order == 0 else "big")
    at = lambda x, y: start + y * line + step * x  # noqa: E731
    return width, height, lambda x, y: int.from_bytes(data[at(x, y):at(x, y) + step], endian) & 0xFFFFFF


root_width, root_height, root = read(sys.argv[1])
width, height, window = read(sys.argv[2])
left, top = int(sys.argv[3]), int(sys.argv[4])
on_screen = [(x, y) for y in range(max(0, -top), min(height, root_height - top))
             for x in range(max(0, -left), min(width, root_width - left))]
if not on_screen:
    sys.exit("the window is not on the screen")
alike = sum(window(x, y) == root(left + x, top + y) for x, y in on_screen)
black = sum(root(left + x, top + y) == 0 for x, y in on_screen)
print(f"{100 * alike // len(on_screen)}% as the window has it, {100 * black // len(on_screen)}% black")
sys.exit(0 if alike >= 0.9 * len(on_screen) and black <= len(on_screen) // 2 else 1)
