#!/usr/bin/python3
"""Writes the fuzz target's seeds for what lies around a picture: EXIF with
maker notes, GPS and a thumbnail (sound, cut short, and one whose thumbnail
is a frame of five components), JFXX thumbnails (JPEG, palette, RGB),
Photoshop resources with IPTC and a thumbnail (JPEG APP13 and the TIFF
tag), a TIFF with an EXIF directory and a SubIFD thumbnail, and JPEG frames
of 1 to 255 components. scripts/fuzz-run.sh adds them to the base images of
scripts/make-corpus.py. The same bytes on every run.

Usage: make-seeds.py OUT
"""
import os
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from imagefiles import ASCII, BYTE, LONG, RATIONAL, SHORT, UNDEFINED, jpeg_app_segment, jpeg_segments  # noqa: E402


def pixels(width, height, channels):
    """Gradients that differ in every channel."""
    return bytes((x * 13 + y * 7 + c * 60) & 0xFF for y in range(height) for x in range(width) for c in range(channels))


def cjpeg(width, height, channels, work, *options):
    source = os.path.join(work, "source.pnm")
    with open(source, "wb") as f:
        f.write(b"P%d\n%d %d\n255\n" % (6 if channels == 3 else 5, width, height) + pixels(width, height, channels))
    target = os.path.join(work, "out.jpg")
    subprocess.run(["cjpeg", *options, "-outfile", target, source], check=True)
    return open(target, "rb").read()


def without_app_segments(jpeg):
    """The JPEG from its first table on: SOI, then what follows the APPn
    segments cjpeg writes."""
    first = next(at for marker, at, _ in jpeg_segments(jpeg) if not 0xE0 <= marker <= 0xEF)
    return jpeg[first:]


def with_segments(jpeg, *segments):
    """SOI, the segments, then the picture's tables and scan."""
    return b"\xFF\xD8" + b"".join(segments) + without_app_segments(jpeg)


def frame_of_components(grey, count):
    """A baseline JPEG whose frame holds count components, each a copy of the
    grey picture's one: one scan per component, all with its tables. The
    decoder finds only the first four components in a scan: the others get
    none and stay flat."""
    segments = {marker: (at, length) for marker, at, length in jpeg_segments(grey)}
    take = lambda marker: grey[segments[marker][0]:sum(segments[marker])]
    sof_at = segments[0xC0][0]
    height_width = grey[sof_at + 5:sof_at + 9]
    sof = bytes([8]) + height_width + bytes([count])
    sof += b"".join(bytes([i + 1, 0x11, 0]) for i in range(count))
    scan_at, scan_length = segments[0xDA]
    entropy = grey[scan_at + scan_length:grey.rindex(b"\xFF\xD9")]
    scans = b"".join(jpeg_app_segment(0xDA, bytes([1, i + 1, 0x00, 0, 63, 0])) + entropy for i in range(min(count, 4)))
    dht = b"".join(grey[at:at + length] for marker, at, length in jpeg_segments(grey) if marker == 0xC4)
    return b"\xFF\xD8" + take(0xDB) + jpeg_app_segment(0xC0, sof) + dht + scans + b"\xFF\xD9"


# TIFF structures, little-endian, written front to back --------------------

TYPE_CODES = {BYTE: "B", ASCII: "B", SHORT: "H", LONG: "I", UNDEFINED: "B", RATIONAL: "I"}
TYPE_SIZES = {BYTE: 1, ASCII: 1, SHORT: 2, LONG: 4, UNDEFINED: 1, RATIONAL: 8}


class TiffWriter:
    def __init__(self):
        self.data = bytearray(b"II*\0\0\0\0\0")

    def blob(self, payload):
        """Appends payload at an even offset; returns the offset."""
        if len(self.data) % 2:
            self.data.append(0)
        at = len(self.data)
        self.data += payload
        return at

    def ifd(self, entries, next_ifd=0):
        """entries: {tag: (type, values as a list or bytes)}; returns the
        directory's offset. Values that do not fit an entry go before it."""
        laid = []
        for tag, (kind, values) in sorted(entries.items()):
            if isinstance(values, (bytes, bytearray)):
                payload, count = bytes(values), len(values) // TYPE_SIZES[kind]
            else:
                payload = struct.pack("<" + TYPE_CODES[kind] * len(values), *values)
                count = len(values) // (2 if kind == RATIONAL else 1)
            if len(payload) > 4:
                payload = struct.pack("<I", self.blob(payload))
            laid.append(struct.pack("<HHI", tag, kind, count) + payload.ljust(4, b"\0"))
        return self.blob(struct.pack("<H", len(laid)) + b"".join(laid) + struct.pack("<I", next_ifd))

    def picture_tags(self, width, height, samples):
        strip = self.blob(samples)
        return {256: (LONG, [width]), 257: (LONG, [height]), 258: (SHORT, [8, 8, 8]), 259: (SHORT, [1]),
                262: (SHORT, [2]), 273: (LONG, [strip]), 277: (SHORT, [3]), 278: (LONG, [height]),
                279: (LONG, [len(samples)]), 284: (SHORT, [1])}

    def finish(self, first_ifd):
        self.data[4:8] = struct.pack("<I", first_ifd)
        return bytes(self.data)


def exif_block(thumbnail, thumbnail_length=None):
    """An EXIF block (TIFF structure, big-endian as many cameras write it):
    IFD0 with maker, an EXIF directory with maker notes, a GPS directory,
    and IFD1 holding a JPEG thumbnail."""
    b = lambda fmt, *v: struct.pack(">" + fmt, *v)
    out = bytearray(b"MM\0*" + b("I", 8))

    def directory(entries, next_offset_at_end=True):
        """Big-endian IFD at the end of out; entries: (tag, type, count, payload)."""
        at = len(out)
        size = 2 + 12 * len(entries) + 4
        extra_at = at + size
        body, extra = bytearray(b("H", len(entries))), bytearray()
        for tag, kind, count, payload in entries:
            if len(payload) > 4:
                body += b("HHII", tag, kind, count, extra_at + len(extra))
                extra += payload + (b"\0" if len(payload) % 2 else b"")
            else:
                body += b("HHI", tag, kind, count) + payload.ljust(4, b"\0")
        body += b("I", 0)
        out.extend(body + extra)
        return at

    maker_notes = b"Nikon\0\x02\x10\0\0" + b"II*\0\x08\0\0\0" + b"\x01\0" + b"\x01\0\x07\0\x04\0\0\0\x30\x32\x31\x30" + b"\0" * 4
    # IFD0 first, with placeholders for the sub-directories' offsets.
    ifd0 = directory([(0x010F, ASCII, 7, b"Ombrix\0"), (0x0112, SHORT, 1, b("H", 1)),
                      (0x8769, LONG, 1, b("I", 0)), (0x8825, LONG, 1, b("I", 0))])
    exif_ifd = directory([(0x829A, RATIONAL, 1, b("II", 1, 250)), (0x927C, UNDEFINED, len(maker_notes), maker_notes),
                          (0x9003, ASCII, 20, b"2024:05:01 12:00:00\0")])
    gps_ifd = directory([(0x0001, ASCII, 2, b"N\0"), (0x0002, RATIONAL, 3, b("IIIIII", 46, 1, 31, 1, 11, 1))])
    ifd1 = directory([(0x0103, SHORT, 1, b("H", 6)), (0x0201, LONG, 1, b("I", 0)),
                      (0x0202, LONG, 1, b("I", len(thumbnail) if thumbnail_length is None else thumbnail_length))])
    thumbnail_at = len(out)
    out += thumbnail

    def patch(directory_at, tag, value):
        count = struct.unpack_from(">H", out, directory_at)[0]
        for i in range(count):
            entry = directory_at + 2 + 12 * i
            if struct.unpack_from(">H", out, entry)[0] == tag:
                struct.pack_into(">I", out, entry + 8, value)

    patch(ifd0, 0x8769, exif_ifd)
    patch(ifd0, 0x8825, gps_ifd)
    patch(ifd1, 0x0201, thumbnail_at)
    struct.pack_into(">I", out, ifd0 + 2 + 12 * 4, ifd1)  # IFD0's next directory
    return bytes(out)


def photoshop_resources(thumbnail):
    """Image resources: IPTC keywords (1028), resolution (1005) and a JPEG
    thumbnail (1036, after its 28-byte header)."""
    def resource(ident, payload):
        return b"8BIM" + struct.pack(">H", ident) + b"\0\0" + struct.pack(">I", len(payload)) + payload + \
            (b"\0" if len(payload) % 2 else b"")

    iptc = b"\x1C\x02\x19" + struct.pack(">H", 6) + b"export" + b"\x1C\x02\x5A" + struct.pack(">H", 8) + b"Lausanne"
    resolution = struct.pack(">IHHIHH", 72 << 16, 1, 1, 72 << 16, 1, 1)
    header = struct.pack(">IIIIIIHH", 1, 8, 8, 24, 24 * 8, len(thumbnail), 24, 1)
    return resource(1028, iptc) + resource(1005, resolution) + resource(1036, header + thumbnail), iptc


def make_seeds():
    seeds = {}
    with tempfile.TemporaryDirectory() as work:
        picture = cjpeg(48, 32, 3, work, "-quality", "90")
        thumbnail = cjpeg(8, 8, 3, work)
        grey = cjpeg(16, 16, 1, work, "-grayscale", "-baseline")

    jfif = jpeg_app_segment(0xE0, b"JFIF\0\x01\x02\0\0\x01\0\x01\0\0")
    five = frame_of_components(grey, 5)
    seeds["exif-thumbnail.jpg"] = with_segments(picture, jfif, jpeg_app_segment(0xE1, b"Exif\0\0" + exif_block(thumbnail)))
    seeds["exif-thumbnail-cut.jpg"] = with_segments(
        picture, jfif, jpeg_app_segment(0xE1, b"Exif\0\0" + exif_block(thumbnail[:len(thumbnail) // 2], len(thumbnail))))
    seeds["exif-thumbnail-five-components.jpg"] = with_segments(
        picture, jfif, jpeg_app_segment(0xE1, b"Exif\0\0" + exif_block(five)))

    rgb_thumbnail = pixels(4, 3, 3)
    palette = bytes(range(256)) * 3
    for name, code, payload in (("jpeg", 0x10, thumbnail), ("palette", 0x11, bytes([4, 3]) + palette + bytes(12)),
                                ("rgb", 0x13, bytes([4, 3]) + rgb_thumbnail)):
        seeds[f"jfxx-{name}-thumbnail.jpg"] = with_segments(picture, jfif,
                                                            jpeg_app_segment(0xE0, b"JFXX\0" + bytes([code]) + payload))

    resources, iptc = photoshop_resources(thumbnail)
    seeds["photoshop-resources.jpg"] = with_segments(picture, jfif, jpeg_app_segment(0xED, b"Photoshop 3.0\0" + resources))

    tiff = TiffWriter()
    tags = tiff.picture_tags(24, 16, pixels(24, 16, 3))
    tags[33723] = (UNDEFINED, iptc)
    tags[34377] = (UNDEFINED, resources)
    seeds["photoshop-resources.tif"] = tiff.finish(tiff.ifd(tags))

    # A SubIFD holding a reduced picture (NewSubfileType 1) and an EXIF
    # directory, as cameras and converters write them.
    tiff = TiffWriter()
    small = tiff.picture_tags(6, 4, pixels(6, 4, 3))
    small[254] = (LONG, [1])
    subifd = tiff.ifd(small)
    exif = tiff.ifd({0x829A: (RATIONAL, [1, 250]), 0x9003: (ASCII, b"2024:05:01 12:00:00\0")})
    tags = tiff.picture_tags(24, 16, pixels(24, 16, 3))
    tags[330] = (LONG, [subifd])
    tags[34665] = (LONG, [exif])
    seeds["exif-subifd-thumbnail.tif"] = tiff.finish(tiff.ifd(tags))

    # The decoder knows 1, 3 and 4; libjpeg takes up to 10 in a frame.
    for count in (1, 2, 3, 4, 5, 6, 10, 11, 64, 255):
        seeds[f"components-{count}.jpg"] = frame_of_components(grey, count)
    return seeds


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: make-seeds.py OUT")
    os.makedirs(sys.argv[1], exist_ok=True)
    seeds = make_seeds()
    for name, data in seeds.items():
        with open(os.path.join(sys.argv[1], name), "wb") as f:
            f.write(data)
    print(f"make-seeds.py: {len(seeds)} seeds: {sys.argv[1]}")


if __name__ == "__main__":
    main()
