"""Odd and damaged variants of real test images, each with one change. The
odd ones hold the pixels of their source, whose reference decode (by Debian's
djpeg, or the one shipped with the image) serves them too.

Usage: odd-images.py FOLDER   (FOLDER holds what real-images.sh put there)
Every variant is needed: a missing input or tool stops this with a message
naming it, and the tests of the variants fail.
"""
import os
import shutil
import struct
import subprocess
import sys
import zlib

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from imagefiles import (ASCII, BYTE, LONG, RATIONAL, SHORT, UNDEFINED, Tiff,  # noqa: E402
                        jpeg_app_segment, jpeg_segment)

folder = sys.argv[1]


def need(tool):
    if not shutil.which(tool):
        sys.exit(f"odd-images.py: {tool} not found (scripts/install-packages.sh installs it)")


def path(name):
    return os.path.join(folder, name)


def read(name):
    if not os.path.exists(path(name)):
        sys.exit(f"odd-images.py: {name} is missing from {folder} (real-images.sh puts it there)")
    with open(path(name), "rb") as f:
        return f.read()


def write(name, data):
    with open(path(name), "wb") as f:
        f.write(data)


def with_byte(data, at, value):
    data = bytearray(data)
    data[at] = value
    return bytes(data)


def jpeg_variants():
    jpeg = read("testorig.jpg")
    frame = jpeg_segment(jpeg, 0xC0)[1]
    end = jpeg.rindex(b"\xff\xd9")
    write("stray-before-frame.jpg", jpeg[:frame] + b"\x00\x11\x22" + jpeg[frame:])
    # Sixteen bytes: a decoder with a 64-bit bit buffer reads up to eight bytes
    # past the last block as picture data, so fewer could pass unseen there.
    write("stray-before-end.jpg", jpeg[:end] + bytes(range(0x10, 0x20)) + jpeg[end:])
    # APP0 JFIF: identifier (5 bytes), then the major and minor revision.
    app0 = jpeg_segment(jpeg, 0xE0)[1]
    jfif201 = jpeg[:app0 + 9] + b"\x02\x01" + jpeg[app0 + 11:]
    write("jfif-2.01.jpg", jfif201)
    # Scan header: length, component count, two bytes per component, then Ss, Se.
    sos = jpeg_segment(jpeg, 0xDA)[1]
    spectral_end = sos + 4 + 1 + 2 * jpeg[sos + 4] + 1
    write("spectral-end.jpg", with_byte(jpeg, spectral_end, 0x3E))
    # A JFXX extension (a 1x1 RGB thumbnail) in place of the JFIF segment.
    jfxx = jpeg_app_segment(0xE0, b"JFXX\x00\x13\x01\x01\x10\x20\x30")
    app0_length = jpeg_segment(jpeg, 0xE0)[2]
    write("jfxx-without-jfif.jpg", jpeg[:app0] + jfxx + jpeg[app0 + app0_length:])

    # Damage: the file ends early, garbled entropy-coded data, and damage
    # after a harmless oddity (the decoder used to report only the first).
    write("jpeg-truncated.jpg", jpeg[:len(jpeg) // 2])
    middle = (sos + end) // 2
    write("jpeg-garbled.jpg", jpeg[:middle] + bytes(b ^ 0x5A for b in jpeg[middle:middle + 40]) + jpeg[middle + 40:])
    write("jfif-2.01-truncated.jpg", jfif201[:len(jfif201) * 2 // 3])


def icc_variants():
    need("cjpeg")
    need("djpeg")
    # The packages' profile describes CMYK data; labelled RGB it is one the
    # module hands on, and at 545 KB it is split over nine APP2 markers.
    profile = bytearray(read("test1.icc"))
    profile[16:20] = b"RGB "
    write("rgb-labelled.icc", bytes(profile))
    subprocess.run(["cjpeg", "-icc", path("rgb-labelled.icc"), "-outfile", path("icc-split.jpg"),
                    path("rgb-3c-8b.ppm")], check=True)
    subprocess.run(["djpeg", "-dct", "int", "-ppm", "-outfile", path("icc-split.decoded.ppm"),
                    path("icc-split.jpg")], check=True)
    jpeg = read("icc-split.jpg")
    # APP2 payload: "ICC_PROFILE\0", sequence number, count.
    chunk = [jpeg_segment(jpeg, 0xE2, n) for n in range(3)]
    sequence = lambda n: chunk[n][1] + 4 + 12
    write("icc-sequence-wrong.jpg", with_byte(jpeg, sequence(2), 12))
    write("icc-sequence-duplicate.jpg", with_byte(jpeg, sequence(2), 2))
    write("icc-count-wrong.jpg", with_byte(jpeg, sequence(1) + 1, 8))
    missing = chunk[1]
    write("icc-sequence-missing.jpg", jpeg[:missing[1]] + jpeg[missing[1] + missing[2]:])
    # Every marker in place, one of them 1000 bytes short: the profile is cut.
    _, at, length = chunk[1]
    shorter = jpeg[at:at + 2] + struct.pack(">H", length - 2 - 1000) + jpeg[at + 4:at + length - 1000]
    write("icc-piece-short.jpg", jpeg[:at] + shorter + jpeg[at + length:])


def tiff_variants():
    tiff = Tiff(read("rgb-3c-8b.tiff"))
    # Tags of a raw converter's TIFF: DNG tags that libtiff knows, private
    # ones that it does not, and a text without its final zero.
    tiff.set(50706, BYTE, [1, 4, 0, 0])                   # DNGVersion
    tiff.set(50708, ASCII, b"Ombrix Test Camera\0")       # UniqueCameraModel
    tiff.set(50740, BYTE, list(range(40)))                # DNGPrivateData
    tiff.set(51009, LONG, [7, 8, 9])                      # private, unknown
    tiff.set(65000, UNDEFINED, b"vendor block")           # private, unknown
    tiff.set(305, ASCII, b"no final zero")                # Software
    write("private-tags.tiff", tiff.bytes())

    # Nine strips of 17 rows; a table of five leaves the last rows undescribed.
    short = Tiff(read("rgb-3c-8b.tiff"))
    for tag in (273, 279):
        short.set(tag, short.entries[tag][0], short.values(tag)[:5])
    write("strip-table-short.tiff", short.bytes())
    # The last strip claims 15 rows and stores 7; the file's directory
    # follows them.
    rows = Tiff(read("rgb-3c-8b.tiff"))
    counts = rows.values(279)
    counts[-1] //= 2
    rows.set(279, rows.entries[279][0], counts)
    rows.data = rows.data[:rows.values(273)[-1] + counts[-1]]
    write("rows-missing.tiff", rows.bytes())

    # A strip whose byte count runs far past the end of the file.
    beyond = Tiff(read("rgb-3c-8b.tiff"))
    counts = beyond.values(279)
    counts[3] = 1710097509
    beyond.set(279, beyond.entries[279][0], counts)
    write("strip-beyond-file.tiff", beyond.bytes())

    # One sample declared where the colour data has three.
    logluv = Tiff(read("logluv-3c-16b.tiff"))
    logluv.set(277, SHORT, [1])
    write("logluv-one-sample.tiff", logluv.bytes())

    need("tiffcp")
    subprocess.run(["tiffcp", "-c", "jpeg", "-r", "16", path("rgb-3c-8b.tiff"), path("jpeg-strips.tiff")], check=True)
    data = read("jpeg-strips.tiff")
    jpeg = Tiff(data)
    offsets, counts = jpeg.values(273), jpeg.values(279)
    cut = Tiff(data)
    counts_cut = list(counts)
    counts_cut[3] //= 2
    cut.set(279, cut.entries[279][0], counts_cut)
    write("jpeg-strip-cut.tiff", cut.bytes())
    middle = offsets[3] + counts[3] // 2
    write("jpeg-strip-garbled.tiff", data[:middle] + bytes(b ^ 0x5A for b in data[middle:middle + 24]) + data[middle + 24:])
    # The strip's frame header: its row count (two bytes after the precision).
    strip = data[offsets[3]:offsets[3] + counts[3]]
    frame = offsets[3] + jpeg_segment(strip, 0xC0)[1]
    write("jpeg-strip-size.tiff", with_byte(data, frame + 6, 8))


def declared_tiff(width, height, photometric, samples=3, rows=16, order=b"II"):
    """A TIFF declaring width x height 8-bit pixels whose every strip is the
    same small deflate block: one strip's worth of zeros."""
    pack = (lambda fmt, *v: struct.pack(("<" if order == b"II" else ">") + fmt, *v))
    tiff = Tiff(order + pack("HIHI", 42, 8, 0, 0))
    block = zlib.compress(bytes(width * rows * samples), 9)
    at = len(tiff.data)
    tiff.data += block
    strips = (height + rows - 1) // rows
    for tag, kind, values in ((256, LONG, [width]), (257, LONG, [height]), (258, SHORT, [8] * samples),
                              (259, SHORT, [8]), (262, SHORT, [photometric]), (277, SHORT, [samples]),
                              (278, LONG, [rows]), (273, LONG, [at] * strips), (279, LONG, [len(block)] * strips)):
        tiff.set(tag, kind, values)
    if photometric == 6:
        tiff.set(530, SHORT, [1, 1])  # YCbCr without subsampling
    return tiff


def with_small_picture(tiff, extra_tags):
    """The file of tiff with a sound 8 x 8 RGB picture as its first
    directory, carrying extra_tags ({tag: (type, values)})."""
    small = Tiff(tiff.bytes())
    at = len(small.data)
    small.data += bytes(range(0, 192))
    small.entries = {}
    for tag, kind, values in ((256, SHORT, [8]), (257, SHORT, [8]), (258, SHORT, [8, 8, 8]), (259, SHORT, [1]),
                              (262, SHORT, [2]), (277, SHORT, [3]), (278, SHORT, [8]), (273, LONG, [at]),
                              (279, LONG, [192])):
        small.set(tag, kind, values)
    for tag, (kind, values) in extra_tags.items():
        small.set(tag, kind, values)
    return small.bytes()


def large_variants():
    # Pictures larger than a document can be, from a few kilobytes: the
    # decoder sized its RGBA buffer as width x height x 4 in 32 bits (here
    # 128 KB) and wrote the picture past it.
    write("ycbcr-32769x32768.tiff", declared_tiff(32769, 32768, 6).bytes())
    write("lab-32769x32768.tiff", declared_tiff(32769, 32768, 8).bytes())
    # Within the sides, but 4 GB of RGBA pixels.
    write("ycbcr-32767x32767.tiff", declared_tiff(32767, 32767, 6).bytes())
    # A colour kind of three samples declared with one.
    write("ycbcr-one-sample.tiff", declared_tiff(64, 64, 6, samples=1).bytes())
    # The same large picture as the sub-picture (a thumbnail) of a sound one:
    # the decoder reads it after the first picture.
    huge = declared_tiff(32769, 32768, 6)
    huge_directory = struct.unpack("<I", huge.bytes()[4:8])[0]
    write("thumbnail-32769x32768.tiff", with_small_picture(huge, {330: (LONG, [huge_directory])}))
    # A raw thumbnail in the image resources (tag 34377) declaring
    # 100000 x 100000 24-bit pixels: the decoder could not make its bitmap
    # and wrote the rows through a null one.
    thumbnail = struct.pack(">IIIIIIHH", 0, 100000, 100000, 300000, 0, 0, 24, 1) + bytes(64)
    resource = b"8BIM" + struct.pack(">HBBI", 0x040C, 0, 0, len(thumbnail)) + thumbnail
    write("resource-thumbnail-huge.tiff", with_small_picture(declared_tiff(8, 8, 2), {34377: (BYTE, list(resource))}))
    write("small-picture.ppm", b"P6\n8 8\n255\n" + bytes(range(192)))

    jpeg = read("testorig.jpg")
    frame = jpeg_segment(jpeg, 0xC0)[1]
    # Frame header: length, precision, height, width.
    wide = jpeg[:frame + 7] + struct.pack(">H", 32768) + jpeg[frame + 9:]
    write("jpeg-32768-wide.jpg", wide)
    # The same behind stray bytes, which the decoder skips to find the frame.
    write("jpeg-32768-wide-stray.jpg", wide[:frame] + b"\x00\x11\x22" + wide[frame:])
    # Within the sides, but 2.7 GB of RGB pixels.
    write("jpeg-30000-square.jpg", jpeg[:frame + 5] + struct.pack(">HH", 30000, 30000) + jpeg[frame + 9:])
    # A frame header longer than its three components take.
    length = struct.unpack(">H", jpeg[frame + 2:frame + 4])[0]
    write("jpeg-frame-length.jpg", jpeg[:frame + 2] + struct.pack(">H", length + 3) + jpeg[frame + 4:])
    # Sound, in tiles with one plane per colour: a layout the decoder does
    # not read.
    need("tiffcp")
    subprocess.run(["tiffcp", "-c", "none", "-t", "-w", "32", "-l", "32", "-p", "separate",
                    path("rgb-3c-8b.tiff"), path("tiled-separate.tiff")], check=True)
    # Sound samples labelled with the ICC encoding of L*a*b*.
    icclab = Tiff(read("rgb-3c-8b.tiff"))
    icclab.set(262, SHORT, [9])
    write("icclab.tiff", icclab.bytes())
    # Sound 16-bit samples labelled YCbCr, which the reader takes at 8 bits only.
    ycbcr16 = Tiff(read("rgb-3c-16b.tiff"))
    ycbcr16.set(262, SHORT, [6])
    write("ycbcr-16-bit.tiff", ycbcr16.bytes())


def read_ppm(name):
    """(width, height, maximum, pixel bytes) of a binary PPM."""
    data = read(name)
    fields, at = [], 2
    while len(fields) < 3:  # width, height, maximum; comments between
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(int(data[at:end]))
        at = end
    return fields[0], fields[1], fields[2], data[at + 1:]


def flat_jpeg(components, side=8):
    """A baseline JPEG of side x side mid-grey pixels in any number of
    components: every block's coefficients are zero, coded with one-symbol
    Huffman tables."""
    ids = range(1, components + 1)
    quantisation = jpeg_segment_bytes(0xDB, b"\x00" + bytes([1] * 64))
    one_symbol = lambda table_class: bytes([table_class << 4]) + bytes([1] + [0] * 15) + b"\x00"
    huffman = jpeg_segment_bytes(0xC4, one_symbol(0) + one_symbol(1))
    frame = jpeg_segment_bytes(0xC0, struct.pack(">BHHB", 8, side, side, components) +
                               b"".join(bytes([i, 0x11, 0]) for i in ids))
    # One scan a component. The JPEG library finds no component past the
    # fourth in a scan, so a fifth gets none and the decoder fills it. Per
    # block a DC difference of category 0 and an end of block, two 0 bits.
    bits = "00" * (side // 8) ** 2
    bits += "1" * (-len(bits) % 8)
    entropy = bytes(int(bits[i:i + 8], 2) for i in range(0, len(bits), 8))
    scans = b"".join(jpeg_segment_bytes(0xDA, bytes([1, i, 0]) + b"\x00\x3f\x00") + entropy for i in ids if i <= 4)
    return b"\xff\xd8" + quantisation + huffman + frame + scans + b"\xff\xd9"


def jpeg_segment_bytes(marker, payload):
    return bytes([0xFF, marker]) + struct.pack(">H", len(payload) + 2) + payload


def with_exif_thumbnail(jpeg, thumbnail):
    """jpeg with an EXIF segment whose second directory holds thumbnail."""
    # Header, an empty first directory, then the thumbnail's directory: its
    # offset and length, and the thumbnail bytes after it.
    ifd1 = struct.pack("<H", 2) + struct.pack("<HHII", 0x201, LONG, 1, 8 + 6 + 30) + \
        struct.pack("<HHII", 0x202, LONG, 1, len(thumbnail)) + struct.pack("<I", 0)
    tiff = b"II*\x00" + struct.pack("<I", 8) + struct.pack("<HI", 0, 14) + ifd1 + thumbnail
    return jpeg[:2] + jpeg_app_segment(0xE1, b"Exif\x00\x00" + tiff) + jpeg[2:]


def rgba16_tiff(alpha):
    """The 16-bit test picture with an alpha sample of value alpha(x, y)."""
    width, height, _, pixels = read_ppm("rgb-3c-16b.ppm")
    out = bytearray()
    for y in range(height):
        for x in range(width):
            at = 6 * (y * width + x)
            out += struct.pack("<HHHH", *struct.unpack(">HHH", pixels[at:at + 6]), alpha(x, y))
    return plain_tiff(width, height, [16] * 4, 2, bytes(out), {338: (SHORT, [2])})


def plain_tiff(width, height, bits, photometric, pixels, extra_tags=None):
    """An uncompressed little-endian TIFF of one strip."""
    tiff = Tiff(b"II*\x00" + struct.pack("<I", 8) + struct.pack("<HI", 0, 0))
    at = len(tiff.data)
    tiff.data += pixels
    for tag, kind, values in ((256, LONG, [width]), (257, LONG, [height]), (258, SHORT, bits), (259, SHORT, [1]),
                              (262, SHORT, [photometric]), (273, LONG, [at]), (277, SHORT, [len(bits)]),
                              (278, LONG, [height]), (279, LONG, [len(pixels)])):
        tiff.set(tag, kind, values)
    for tag, (kind, values) in (extra_tags or {}).items():
        tiff.set(tag, kind, values)
    return tiff.bytes()


def converter_kinds():
    """Kinds of file that converters and image tools write, and what a
    decoder may meet in them, the module taking some and refusing others."""
    # JPEG frames of a component count other than grey's and colour's:
    # sound, but no picture the module makes a document of.
    for components in (2, 4, 5):
        write("components-%d.jpg" % components, flat_jpeg(components))
    # A sound picture whose EXIF thumbnail has five components, or is cut.
    jpeg = read("testorig.jpg")
    write("thumbnail-five-components.jpg", with_exif_thumbnail(jpeg, flat_jpeg(5, 16)))
    write("thumbnail-cut.jpg", with_exif_thumbnail(jpeg, jpeg[:len(jpeg) // 3]))

    # A profile and an EXIF directory in one TIFF, as every converter writes.
    tiff = Tiff(read("rgb-3c-8b.tiff"))
    exif = len(tiff.data) + len(tiff.data) % 2
    tiff.data += bytes(len(tiff.data) % 2)
    # One entry, ExposureTime 1/250 (a rational, stored after the directory).
    tiff.data += struct.pack(tiff.order + "HHHII", 1, 33434, RATIONAL, 1, exif + 18) + \
        struct.pack(tiff.order + "III", 0, 1, 250)
    tiff.set(34665, LONG, [exif])
    tiff.set(34675, UNDEFINED, read("rgb-labelled.icc"))
    write("profile-and-exif.tiff", tiff.bytes())

    # Orientation says how to show the picture; the document keeps the rows
    # as they are stored, whichever reader the decoder takes.
    for orientation in (3, 6):
        for source in ("rgb-3c-8b.tiff", "jpeg-strips.tiff"):
            turned = Tiff(read(source))
            turned.set(274, SHORT, [orientation])
            write("orientation-%d-%s" % (orientation, source), turned.bytes())

    # Alpha: opaque everywhere, or with one transparent pixel.
    write("rgba16-opaque.tiff", rgba16_tiff(lambda x, y: 0xFFFF))
    write("rgba16-transparent.tiff", rgba16_tiff(lambda x, y: 0 if (x, y) == (5, 7) else 0xFFFF))

    # CMYK, as printers' tools write it.
    width, height, _, pixels = read_ppm("rgb-3c-8b.ppm")
    cmyk = bytearray()
    for at in range(0, len(pixels), 3):
        cmyk += bytes(255 - value for value in pixels[at:at + 3]) + b"\x00"
    write("cmyk.tiff", plain_tiff(width, height, [8] * 4, 5, bytes(cmyk)))

    # Codecs the decoder is not built with: ZSTD, WebP, LERC, JBIG, LZMA.
    for name, compression in (("zstd", 50000), ("webp", 50001), ("lerc", 34887), ("jbig", 34661),
                              ("lzma", 34925)):
        coded = Tiff(read("rgb-3c-8b.tiff"))
        coded.set(259, SHORT, [compression])
        write("compression-%s.tiff" % name, coded.bytes())


jpeg_variants()
icc_variants()
tiff_variants()
large_variants()
converter_kinds()
