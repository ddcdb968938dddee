#!/usr/bin/python3
"""Draws the About picture: an evening sky over hills, a camera lens with its
iris half closed, and the product's name. Writes it as the module's bitmap
(510 x 281, 16 bits per pixel 5-5-5, bottom-up, 72 dpi) and, optionally, as
a PNG preview.

Usage: make-about-bitmap.py OUTPUT.bmp [PREVIEW.png]
Needs python3-pil and the DejaVu fonts (fonts-dejavu-core).
"""
import math
import random
import struct
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

WIDTH, HEIGHT = 510, 281
SCALE = 3  # drawn larger, then reduced: smooth edges
FONT_DIR = "/usr/share/fonts/truetype/dejavu/"

SKY = [(0.00, (12, 20, 52)), (0.45, (52, 44, 104)), (0.72, (176, 86, 98)), (0.86, (238, 150, 84))]


def mix(a, b, t):
    return tuple(round(a[i] + (b[i] - a[i]) * t) for i in range(len(a)))


def gradient_colour(stops, t):
    for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
        if t <= t1:
            return mix(c0, c1, max(0.0, (t - t0) / (t1 - t0)))
    return stops[-1][1]


def draw_sky(image):
    draw = ImageDraw.Draw(image)
    w, h = image.size
    for y in range(h):
        draw.line([(0, y), (w, y)], fill=gradient_colour(SKY, y / h))
    stars = random.Random(486)
    for _ in range(70):
        x, y = stars.uniform(0, w), stars.uniform(0, h * 0.42)
        r = stars.choice([1.0, 1.2, 1.6, 2.2]) * SCALE / 2
        glow = stars.randint(150, 255)
        draw.ellipse([x - r, y - r, x + r, y + r], fill=(glow, glow, min(255, glow + 20)))


def draw_hills(image):
    draw = ImageDraw.Draw(image)
    w, h = image.size

    def ridge(base, amplitude, waves, colour):
        points = [(0, h)]
        for i in range(0, 121):
            x = w * i / 120
            y = base + sum(a * math.sin(x / w * f * math.pi + p) for a, f, p in waves) * amplitude
            points.append((x, y))
        points.append((w, h))
        draw.polygon(points, fill=colour)

    ridge(h * 0.80, h * 0.05, [(1.0, 2.3, 0.4), (0.45, 5.1, 1.9)], (70, 40, 78))
    ridge(h * 0.87, h * 0.04, [(1.0, 1.7, 2.2), (0.35, 6.3, 0.3)], (36, 24, 50))
    ridge(h * 0.94, h * 0.025, [(1.0, 3.1, 1.1), (0.5, 7.7, 2.8)], (20, 14, 32))


def circle_point(cx, cy, r, angle):
    return (cx + r * math.cos(angle), cy + r * math.sin(angle))


def draw_lens(image, cx, cy, radius):
    """A lens seen from the front: a metal barrel, a dark glass ring and an
    iris of seven blades around a heptagonal opening that shows the sky."""
    layer = Image.new("RGBA", image.size, (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)

    # Soft shadow under the barrel.
    shadow = Image.new("RGBA", image.size, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).ellipse(
        [cx - radius * 1.08, cy - radius * 1.0, cx + radius * 1.14, cy + radius * 1.16], fill=(0, 0, 0, 120))
    image.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(6 * SCALE)))

    # Barrel: concentric rings, light from the upper left.
    rings = [(1.00, (58, 60, 70)), (0.97, (150, 154, 166)), (0.93, (84, 86, 98)), (0.90, (26, 27, 34)),
             (0.86, (44, 46, 58)), (0.80, (14, 15, 22))]
    for fraction, colour in rings:
        r = radius * fraction
        draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=colour + (255,))
    for i in range(72):  # knurled grip between the outer rings
        a = i * 2 * math.pi / 72
        draw.line([circle_point(cx, cy, radius * 0.935, a), circle_point(cx, cy, radius * 0.995, a)],
                  fill=(40, 42, 50, 255), width=SCALE)

    # Iris: the opening is a heptagon; each blade runs from one corner past the
    # next to the rim, so that the seven blades tile the ring around it.
    blades = 7
    rim = radius * 0.80
    opening = radius * 0.30
    turn = -math.pi / 2 + 0.25
    corners = [circle_point(cx, cy, opening, turn + k * 2 * math.pi / blades) for k in range(blades)]

    def rim_crossing(a, b):
        dx, dy = b[0] - a[0], b[1] - a[1]
        ax, ay = a[0] - cx, a[1] - cy
        qa, qb, qc = dx * dx + dy * dy, 2 * (ax * dx + ay * dy), ax * ax + ay * ay - rim * rim
        s = (-qb + math.sqrt(qb * qb - 4 * qa * qc)) / (2 * qa)
        return (a[0] + s * dx, a[1] + s * dy)

    crossings = [rim_crossing(corners[k], corners[(k + 1) % blades]) for k in range(blades)]
    for k in range(blades):
        start, end = crossings[k], crossings[(k + 1) % blades]
        a0 = math.atan2(start[1] - cy, start[0] - cx)
        a1 = math.atan2(end[1] - cy, end[0] - cx)
        while a1 < a0:
            a1 += 2 * math.pi
        arc = [circle_point(cx, cy, rim, a0 + (a1 - a0) * i / 16) for i in range(17)]
        shade = 34 + 9 * ((k * 3) % blades)
        draw.polygon([corners[(k + 1) % blades]] + arc, fill=(shade, shade + 2, shade + 12, 255))
        draw.line([corners[(k + 1) % blades], start], fill=(120, 124, 140, 255), width=SCALE)

    # The opening: the evening sky, seen through the glass.
    glass = Image.new("RGBA", image.size, (0, 0, 0, 0))
    gdraw = ImageDraw.Draw(glass)
    top, bottom = cy - opening, cy + opening
    for y in range(int(top), int(bottom) + 1):
        t = (y - top) / (bottom - top)
        gdraw.line([(cx - opening, y), (cx + opening, y)], fill=gradient_colour(SKY, 0.25 + 0.6 * t) + (255,))
    mask = Image.new("L", image.size, 0)
    ImageDraw.Draw(mask).polygon(corners, fill=255)
    layer.paste(glass, (0, 0), mask)

    image.alpha_composite(layer)

    # Reflections on the front glass.
    shine = Image.new("RGBA", image.size, (0, 0, 0, 0))
    sdraw = ImageDraw.Draw(shine)
    r = radius * 0.70
    sdraw.arc([cx - r, cy - r, cx + r, cy + r], 200, 250, fill=(255, 255, 255, 150), width=4 * SCALE)
    r = radius * 0.55
    sdraw.arc([cx - r, cy - r, cx + r, cy + r], 210, 232, fill=(255, 255, 255, 90), width=3 * SCALE)
    g = radius * 0.10
    gx, gy = cx + radius * 0.34, cy + radius * 0.36
    sdraw.ellipse([gx - g, gy - g * 0.6, gx + g, gy + g * 0.6], fill=(255, 214, 170, 80))
    image.alpha_composite(shine.filter(ImageFilter.GaussianBlur(SCALE)))


def draw_titles(image):
    draw = ImageDraw.Draw(image)
    title_font = ImageFont.truetype(FONT_DIR + "DejaVuSans-Bold.ttf", 54 * SCALE)
    subtitle_font = ImageFont.truetype(FONT_DIR + "DejaVuSans.ttf", 16 * SCALE)
    small_font = ImageFont.truetype(FONT_DIR + "DejaVuSans.ttf", 11 * SCALE)

    x, y = 246 * SCALE, 62 * SCALE
    shadow = Image.new("RGBA", image.size, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).text((x + 2 * SCALE, y + 3 * SCALE), "Ombrix", font=title_font, fill=(0, 0, 0, 150))
    image.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(3 * SCALE)))
    draw.text((x, y), "Ombrix", font=title_font, fill=(250, 246, 240))

    line_y = y + 74 * SCALE
    for i in range(230 * SCALE):
        t = i / (230 * SCALE)
        colour = mix((255, 170, 80), (210, 90, 120), t) + (round(255 * (1 - t ** 3)),)
        draw.line([(x + i, line_y), (x + i, line_y + 2 * SCALE)], fill=colour)
    draw.text((x + 2 * SCALE, line_y + 10 * SCALE), "RAW import plug-in", font=subtitle_font,
              fill=(236, 226, 240))
    draw.text((20 * SCALE, (HEIGHT - 22) * SCALE), "Korvel \u00b7 Ombrix 4", font=small_font,
              fill=(170, 160, 190))


def picture():
    big = Image.new("RGBA", (WIDTH * SCALE, HEIGHT * SCALE))
    draw_sky(big)
    draw_hills(big)
    draw_lens(big, 124 * SCALE, 122 * SCALE, 90 * SCALE)
    draw_titles(big)
    return big.resize((WIDTH, HEIGHT), Image.LANCZOS).convert("RGB")


BAYER = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


def to_555(value, x, y):
    # Ordered dithering keeps the sky free of bands at 5 bits per channel.
    return min(31, int(value * 31 / 255 + (BAYER[y % 4][x % 4] + 0.5) / 16))


def write_bitmap(image, path):
    row_bytes = WIDTH * 2
    pixels = bytearray()
    for y in reversed(range(HEIGHT)):  # bottom-up
        for x in range(WIDTH):
            r, g, b = image.getpixel((x, y))
            pixels += struct.pack("<H", to_555(r, x, y) << 10 | to_555(g, x, y) << 5 | to_555(b, x, y))
    assert len(pixels) == row_bytes * HEIGHT
    pixels += b"\0\0"  # the image-size field counts two bytes past the last row
    info = struct.pack("<IiiHHIIiiII", 40, WIDTH, HEIGHT, 1, 16, 0, len(pixels), 2834, 2834, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0, 14 + len(info))
    with open(path, "wb") as out:
        out.write(header + info + pixels)


def main():
    if len(sys.argv) not in (2, 3):
        sys.exit(__doc__)
    image = picture()
    write_bitmap(image, sys.argv[1])
    if len(sys.argv) == 3:
        image.save(sys.argv[2])


if __name__ == "__main__":
    main()
