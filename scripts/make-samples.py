#!/usr/bin/python3
"""Makes the demo's sample set, as a RAW converter would export it:
  sunset.jpg       8-bit JPEG with an embedded sRGB profile
  meadow-16.tif    16-bit RGB TIFF with the same profile
  raw-0001.dng     a file named .dng (the module never decodes DNG files;
                   it hands them to a new host instance)
Usage: make-samples.py OUT_DIR.  Needs python3-pil (with ImageCms).
"""
import math
import struct
import sys
from pathlib import Path

from PIL import Image, ImageCms


def srgb_profile():
    return ImageCms.ImageCmsProfile(ImageCms.createProfile("sRGB")).tobytes()


def sunset(width, height):
    """Red-to-blue sky, a sun, and a dark horizon, as 0..1 floats per channel."""
    def pixel(x, y):
        t = y / (height - 1)
        r, g, b = 0.98 - 0.5 * t, 0.55 - 0.35 * t, 0.35 + 0.45 * t
        d = math.hypot(x - width * 0.62, y - height * 0.58) / (height * 0.14)
        if d < 1:
            r, g, b = 1.0, 0.85 + 0.1 * (1 - d), 0.55
        if y > height * 0.72 + 8 * math.sin(x / 23.0):
            r, g, b = 0.12, 0.16 + 0.05 * math.sin(x / 9.0), 0.10
        return r, g, b
    return pixel


def write_jpeg(path, width, height, profile):
    pixel = sunset(width, height)
    image = Image.new("RGB", (width, height))
    image.putdata([tuple(int(c * 255 + 0.5) for c in pixel(x, y))
                   for y in range(height) for x in range(width)])
    image.save(path, "JPEG", quality=90, icc_profile=profile, dpi=(72, 72))


def write_tiff16(path, width, height, profile):
    """An uncompressed little-endian RGB TIFF, 16 bits per sample."""
    def pixel(x, y):
        u, v = x / (width - 1), y / (height - 1)
        return (0.20 + 0.5 * u * v, 0.45 + 0.45 * (1 - v) * (0.6 + 0.4 * math.sin(u * 7)), 0.15 + 0.3 * u)
    samples = bytearray()
    for y in range(height):
        for x in range(width):
            samples += struct.pack("<3H", *(min(65535, int(c * 65535 + 0.5)) for c in pixel(x, y)))

    entries = []  # (tag, type, count, value bytes)
    SHORT, LONG, RATIONAL, UNDEFINED = 3, 4, 5, 7
    extra = bytearray()
    header_size = 8
    # Layout: header, pixel data, extra values, IFD.
    data_offset = header_size
    extra_offset = data_offset + len(samples)

    def add(tag, kind, values):
        nonlocal extra
        size = {SHORT: 2, LONG: 4, RATIONAL: 8, UNDEFINED: 1}[kind]
        if kind == UNDEFINED:
            raw = bytes(values)
            count = len(raw)
        elif kind == RATIONAL:
            raw = b"".join(struct.pack("<2I", n, d) for n, d in values)
            count = len(values)
        else:
            raw = b"".join(struct.pack("<H" if kind == SHORT else "<I", v) for v in values)
            count = len(values)
        if count * size <= 4:
            entries.append((tag, kind, count, raw.ljust(4, b"\0")))
        else:
            if len(extra) % 2:
                extra += b"\0"
            offset = extra_offset + len(extra)
            extra += raw
            entries.append((tag, kind, count, struct.pack("<I", offset)))

    add(256, LONG, [width])
    add(257, LONG, [height])
    add(258, SHORT, [16, 16, 16])
    add(259, SHORT, [1])
    add(262, SHORT, [2])
    add(273, LONG, [data_offset])
    add(277, SHORT, [3])
    add(278, LONG, [height])
    add(279, LONG, [len(samples)])
    add(282, RATIONAL, [(72, 1)])
    add(283, RATIONAL, [(72, 1)])
    add(284, SHORT, [1])
    add(296, SHORT, [2])
    add(34675, UNDEFINED, profile)

    if len(extra) % 2:
        extra += b"\0"
    ifd_offset = extra_offset + len(extra)
    ifd = struct.pack("<H", len(entries))
    for tag, kind, count, value in sorted(entries):
        ifd += struct.pack("<HHI", tag, kind, count) + value
    ifd += struct.pack("<I", 0)
    Path(path).write_bytes(b"II*\0" + struct.pack("<I", ifd_offset) + bytes(samples) + bytes(extra) + ifd)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    out = Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    profile = srgb_profile()
    write_jpeg(out / "sunset.jpg", 640, 427, profile)
    write_tiff16(out / "meadow-16.tif", 320, 213, profile)
    (out / "raw-0001.dng").write_bytes(b"II*\0" + b"\0" * 60)
    for name in ("sunset.jpg", "meadow-16.tif", "raw-0001.dng"):
        print(out / name)


if __name__ == "__main__":
    main()
