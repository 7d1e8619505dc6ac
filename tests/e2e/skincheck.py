#!/usr/bin/env python3
"""Reads the demo manual's description and screenshots of the skinned window
for the end-to-end scripts.

Screenshots are binary PPM files (P6; ImageMagick's `convert shot ppm:out`
makes one from any format). Positions inside the window are in the skin's own
pixels, relative to the window's top-left corner.

  skincheck.py outline STRUCT
      prints "W H": the size of the window outline (vertexmain)
  skincheck.py button STRUCT SCREEN COMMAND
      prints "VX VY PICTURE" of the first button of SCREEN (from 1) whose
      command is COMMAND
  skincheck.py probes STRUCT
      prints "outside X Y" for pixels just inside the window's rectangle but
      clearly outside the outline, "inside X Y" for pixels clearly inside it
  skincheck.py screen STRUCT SCREEN
      prints the background picture of SCREEN (from 1)
  skincheck.py shape SHOT STRUCT [--background R,G,B [--background-outside]]
                     [--skin PICTURE] [--window X,Y]
      checks that the window shows its skin inside the outline (PICTURE is
      the screen's background as a PPM: the centre must show it) and that
      the corners outside the outline are not the window's: not the skin's
      colour there, and with --background-outside the background colour.
      Without --window the window is found as the bounding box of everything
      that is not background
"""

import argparse
import re
import sys

TOLERANCE = 6  # per channel, for "the same colour"


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


# ----------------------------------------------------------------- pictures


class Picture:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos : pos + 1].isspace():
                pos += 1
            if data[pos : pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            end = pos
            while not data[end : end + 1].isspace():
                end += 1
            fields.append(data[pos:end])
            pos = end
        if fields[0] != b"P6" or int(fields[3]) != 255:
            fail(f"{path}: not an 8-bit binary PPM")
        self.width = int(fields[1])
        self.height = int(fields[2])
        self.pixels = data[pos + 1 : pos + 1 + self.width * self.height * 3]
        if len(self.pixels) != self.width * self.height * 3:
            fail(f"{path}: truncated picture")

    def at(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            fail(f"pixel {x},{y} is outside the {self.width}x{self.height} screenshot")
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i : i + 3])

    def bounding_box(self, background):
        """Smallest rectangle holding every pixel that is not background."""
        row_bytes = self.width * 3
        left, top, right, bottom = self.width, self.height, -1, -1
        for y in range(self.height):
            row = self.pixels[y * row_bytes : (y + 1) * row_bytes]
            xs = [
                x
                for x in range(self.width)
                if not same(tuple(row[x * 3 : x * 3 + 3]), background)
            ]
            if xs:
                top = min(top, y)
                bottom = y
                left = min(left, xs[0])
                right = max(right, xs[-1])
        if right < 0:
            return None
        return left, top, right - left + 1, bottom - top + 1


def same(a, b):
    return all(abs(p - q) <= TOLERANCE for p, q in zip(a, b))


def close(a, b):
    """As good as equal: the same picture decoded by two programs."""
    return all(abs(p - q) <= 3 for p, q in zip(a, b))


# -------------------------------------------------------------- description


def read_struct(path):
    with open(path, encoding="utf-8") as f:
        return f.read().lower()


def outline(struct_text):
    """The vertexmain polygon; its points may run over several lines."""
    start = struct_text.find("vertexmain=[")
    if start < 0:
        fail("the description has no vertexmain")
    end = struct_text.find("]", start)
    body = struct_text[start + len("vertexmain=[") : end]
    points = [(int(x), int(y)) for x, y in re.findall(r"(-?\d+)\s*,\s*(-?\d+)", body)]
    if len(points) < 3:
        fail("vertexmain has fewer than three points")
    return points


def inside(polygon, px, py):
    """Even-odd test of a point against the polygon."""
    result = False
    n = len(polygon)
    for i in range(n):
        (x1, y1), (x2, y2) = polygon[i], polygon[(i + 1) % n]
        if (y1 > py) != (y2 > py):
            x = x1 + (py - y1) * (x2 - x1) / (y2 - y1)
            if px < x:
                result = not result
    return result


def distance_to_outline(polygon, px, py):
    best = float("inf")
    n = len(polygon)
    for i in range(n):
        (x1, y1), (x2, y2) = polygon[i], polygon[(i + 1) % n]
        dx, dy = x2 - x1, y2 - y1
        length = dx * dx + dy * dy
        t = 0 if length == 0 else max(0, min(1, ((px - x1) * dx + (py - y1) * dy) / length))
        cx, cy = x1 + t * dx, y1 + t * dy
        best = min(best, ((px - cx) ** 2 + (py - cy) ** 2) ** 0.5)
    return best


def outline_size(polygon):
    return max(x for x, _ in polygon), max(y for _, y in polygon)


def probes(polygon):
    """Pixels that must show the background (just inside the window's
    rectangle, clearly outside the outline) and pixels that must show the
    skin (clearly inside it)."""
    width, height = outline_size(polygon)
    clear = 2.0  # pixel centres this far from the outline are unambiguous
    outside = []
    for x, y in [(1, 1), (width - 2, 1), (1, height - 2), (width - 2, height - 2)]:
        cx, cy = x + 0.5, y + 0.5
        if not inside(polygon, cx, cy) and distance_to_outline(polygon, cx, cy) >= clear:
            outside.append((x, y))
    skin = []
    for fx, fy in [(0.5, 0.5), (0.25, 0.25), (0.75, 0.25), (0.25, 0.75), (0.75, 0.75)]:
        x, y = int(width * fx), int(height * fy)
        if inside(polygon, x + 0.5, y + 0.5):
            skin.append((x, y))
    return outside, skin


# ----------------------------------------------------------------- commands


def parse_pair(text, what):
    try:
        return tuple(int(v) for v in text.split(","))
    except ValueError:
        fail(f"bad {what}: {text}")


def cmd_outline(args):
    width, height = outline_size(outline(read_struct(args.struct)))
    print(width, height)


def cmd_button(args):
    text = read_struct(args.struct)
    # An element starts on a line "<screen> button"; its attributes follow
    # on the lines up to the next element or blank line.
    blocks = re.split(r"\n\s*\n|\n(?=\d+ )", text)
    for block in blocks:
        head = re.match(r"\s*(\d+) button\b", block)
        if not head or int(head.group(1)) != args.screen:
            continue
        command = re.search(r"\bgo=([^;\n]*)", block)
        if not command or command.group(1).strip() != args.command.lower():
            continue
        vx = re.search(r"\bvx=(-?\d+)", block)
        vy = re.search(r"\bvy=(-?\d+)", block)
        picture = re.search(r"\bfn1=([^;\n]*)", block)
        if vx and vy and picture:
            print(vx.group(1), vy.group(1), picture.group(1).strip().replace("\\", "/"))
            return
    fail(f"no button of screen {args.screen} runs '{args.command}'")


def cmd_probes(args):
    outside, skin = probes(outline(read_struct(args.struct)))
    for x, y in outside:
        print("outside", x, y)
    for x, y in skin:
        print("inside", x, y)


def cmd_screen(args):
    text = read_struct(args.struct)
    found = re.search(rf"^\s*{args.screen} _screen=([^\s;]+)", text, re.MULTILINE)
    if not found:
        fail(f"the description has no screen {args.screen}")
    print(found.group(1).replace("\\", "/"))


def cmd_shape(args):
    shot = Picture(args.shot)
    polygon = outline(read_struct(args.struct))
    width, height = outline_size(polygon)
    background = parse_pair(args.background, "colour") if args.background else None
    skin_picture = Picture(args.skin) if args.skin else None
    if args.window:
        left, top = parse_pair(args.window, "position")
    else:
        if background is None:
            fail("without --window the background colour must be given")
        box = shot.bounding_box(background)
        if box is None:
            fail("nothing but background on the screen: no window is shown")
        left, top, box_width, box_height = box
        print(f"window found at {left},{top}, {box_width}x{box_height}")
        if abs(box_width - width) > 1 or abs(box_height - height) > 1:
            fail(
                f"what is not background covers {box_width}x{box_height}, "
                f"the outline is {width}x{height}"
            )

    outside, skin = probes(polygon)
    if not outside:
        fail("the outline leaves no corner of the window's rectangle out: nothing to check")
    problems = []
    for x, y in outside:
        colour = shot.at(left + x, top + y)
        if background is not None and args.background_outside and not same(colour, background):
            problems.append(f"outside the outline at {x},{y}: {colour}, expected background")
        if skin_picture is not None and close(colour, skin_picture.at(x, y)):
            problems.append(f"outside the outline at {x},{y}: the skin's own colour {colour}")
    for x, y in skin:
        colour = shot.at(left + x, top + y)
        if background is not None and same(colour, background):
            problems.append(f"inside the outline at {x},{y}: background {colour}, expected skin")

    # The centre must show the skin's picture, not a plain fill.
    cx, cy = width // 2, height // 2
    colours = set()
    background_count = 0
    matching = 0
    total = 0
    for y in range(cy - 40, cy + 40, 2):
        for x in range(cx - 60, cx + 60, 2):
            colour = shot.at(left + x, top + y)
            colours.add(colour)
            total += 1
            if background is not None:
                background_count += same(colour, background)
            if skin_picture is not None:
                matching += close(colour, skin_picture.at(x, y))
    if len(colours) < 16:
        problems.append(f"the centre shows only {len(colours)} colours: no skin picture")
    if background_count > 0:
        problems.append(f"{background_count} background pixels in the centre")
    if skin_picture is not None and matching < total // 2:
        problems.append(f"only {matching} of {total} centre pixels match the skin's background")

    if problems:
        fail("; ".join(problems))
    print(
        f"skin at {len(skin)} points and {len(colours)} colours in the centre"
        + (f" ({matching}/{total} as in the skin's picture)" if skin_picture else "")
        + f"; {len(outside)} corners outside the outline are not the window's"
    )


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="command", required=True)
    p = sub.add_parser("outline")
    p.add_argument("struct")
    p.set_defaults(run=cmd_outline)
    p = sub.add_parser("button")
    p.add_argument("struct")
    p.add_argument("screen", type=int)
    p.add_argument("command")
    p.set_defaults(run=cmd_button)
    p = sub.add_parser("probes")
    p.add_argument("struct")
    p.set_defaults(run=cmd_probes)
    p = sub.add_parser("screen")
    p.add_argument("struct")
    p.add_argument("screen", type=int)
    p.set_defaults(run=cmd_screen)
    p = sub.add_parser("shape")
    p.add_argument("shot")
    p.add_argument("struct")
    p.add_argument("--background")
    p.add_argument("--background-outside", action="store_true")
    p.add_argument("--skin")
    p.add_argument("--window")
    p.set_defaults(run=cmd_shape)
    args = parser.parse_args()
    args.run(args)


if __name__ == "__main__":
    main()
