#!/usr/bin/python3
"""Makes a corpus of damaged JPEG and TIFF files from real images, the same
for the same seed, with the verdict of independent decoders on each.

Usage: make-corpus.py --sources DIR --out DIR [--count N] [--seed N]
       make-corpus.py --sources DIR --out DIR --bases-only

DIR (sources) holds the libjpeg-turbo and tiff source packages (the decoder
build's download folder). The base images are their test images and images
made from them with Debian's cjpeg and tiffcp: progressive, arithmetic-coded,
restart markers, an ICC profile; LZW/ZIP/JPEG-compressed, predictor, tiled,
separate planes, big-endian, multi-page, 8 and 16 bits, YCbCr and CIE L*a*b*.
Each corpus file is one base with one mutation: bit flips, inserted or deleted
bytes, truncation, an edited header field (dimensions, bit depth, strip
offsets and counts, tag counts, huge sizes), several picture fields set
together (dimensions, samples, bits, photometric, compression, planes; every
strip then often the first one, so that a huge declared picture decodes from a
small file), a zero-length file, an extension that lies about the content.

With --bases-only the out folder gets the base images alone, unchanged and
under their own names: the seeds that the fuzz target (tests/fuzz) grows
its corpus from.

Otherwise the out folder gets the files and manifest.txt, one line per file:
  name <TAB> verdict <TAB> reference <TAB> what was done
verdict is what the independent decoder (djpeg for .jpg, tiffcp for .tif and
tiff2rgba for the subsampled YCbCr that tiffcp does not copy, chosen by the
extension as the module chooses its decoder) says: "sound"
when it decoded the whole picture, "damaged" when it reported picture data
missing or could not decode the file. reference names a PPM of its decode
(refs/...) when that is an RGB picture, else "-".
"""
import argparse
import os
import random
import re
import shutil
import subprocess
import sys
import tarfile
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imagefiles import LONG, SHORT, UNDEFINED, Tiff, jpeg_segments  # noqa: E402

JPEG_EXTENSIONS = [".jpg", ".jpeg"]  # the module takes lower case only
TIFF_EXTENSIONS = [".tif", ".tiff"]


def run(args, **kwargs):
    return subprocess.run(args, capture_output=True, **kwargs)


# Base images -----------------------------------------------------------------

def unpack_test_images(sources, into):
    """The test images of the two source packages, as {name: bytes}."""
    found = {}
    wanted = [("libjpeg-turbo_*.orig.tar.gz", "/testimages/", (".jpg", ".ppm", ".icc")),
              ("tiff_*.orig.tar.*", "/test/images/", (".tiff", ".tif", ".ppm"))]
    for pattern, folder, endings in wanted:
        archives = sorted(f for f in os.listdir(sources) if re.fullmatch(pattern.replace("*", ".*"), f))
        if not archives:
            sys.exit(f"make-corpus.py: no {pattern} in {sources} (the decoder build downloads it)")
        with tarfile.open(os.path.join(sources, archives[-1])) as tar:
            for member in tar.getmembers():
                if folder in member.name and member.name.endswith(endings) and member.isfile():
                    found[os.path.basename(member.name)] = tar.extractfile(member).read()
    for name, data in found.items():
        with open(os.path.join(into, name), "wb") as f:
            f.write(data)
    return found


def srgb_profile():
    try:
        from PIL import ImageCms
        profile = bytearray(ImageCms.ImageCmsProfile(ImageCms.createProfile("sRGB")).tobytes())
    except ImportError:
        return None
    # The same bytes on every run: no creation date (bytes 24-35), no ID.
    profile[24:36] = bytes(12)
    profile[84:100] = bytes(16)
    return bytes(profile)


def make_bases(sources, work):
    """{name: bytes} of every base image, JPEG and TIFF."""
    images = unpack_test_images(sources, work)
    bases = {n: d for n, d in images.items() if n.endswith((".jpg", ".tif", ".tiff"))}
    at = lambda name: os.path.join(work, name)

    def cjpeg(name, source, *options):
        result = run(["cjpeg", *options, "-outfile", at(name), at(source)])
        if result.returncode == 0:
            bases[name] = open(at(name), "rb").read()

    def tiffcp(name, sources_, *options):
        result = run(["tiffcp", *options, *[at(s) for s in sources_], at(name)])
        if result.returncode == 0:
            bases[name] = open(at(name), "rb").read()

    profile = srgb_profile()
    if profile:
        with open(at("srgb.icc"), "wb") as f:
            f.write(profile)
    for source in ("rgb-3c-8b.ppm", "testorig.ppm"):
        stem = source.split(".")[0]
        cjpeg(f"{stem}-baseline.jpg", source, "-quality", "90")
        cjpeg(f"{stem}-progressive.jpg", source, "-progressive")
        cjpeg(f"{stem}-arithmetic.jpg", source, "-arithmetic")
        cjpeg(f"{stem}-restart.jpg", source, "-restart", "1", "-sample", "1x1")
        if profile:
            cjpeg(f"{stem}-icc.jpg", source, "-icc", at("srgb.icc"))
    cjpeg("rgb-3c-8b-grey.jpg", "rgb-3c-8b.ppm", "-grayscale")
    # test1.icc is 545 KB: nine APP2 pieces.
    cjpeg("rgb-3c-8b-icc-split.jpg", "rgb-3c-8b.ppm", "-icc", at("test1.icc"))
    for depth in ("8b", "16b"):
        source = [f"rgb-3c-{depth}.tiff"]
        tiffcp(f"{depth}-none.tif", source, "-c", "none", "-r", "16")
        tiffcp(f"{depth}-lzw.tif", source, "-c", "lzw")
        tiffcp(f"{depth}-lzw-predictor.tif", source, "-c", "lzw:2")
        tiffcp(f"{depth}-zip.tif", source, "-c", "zip:2")
        tiffcp(f"{depth}-tiled.tif", source, "-c", "none", "-t", "-w", "32", "-l", "32")
        tiffcp(f"{depth}-tiled-lzw.tif", source, "-c", "lzw", "-t", "-w", "64", "-l", "64")
        tiffcp(f"{depth}-big-endian.tif", source, "-c", "none", "-B")
        tiffcp(f"{depth}-pages.tif", source + source, "-c", "lzw")
        if profile and f"{depth}-none.tif" in bases:
            tiff = Tiff(bases[f"{depth}-none.tif"])
            tiff.set(34675, UNDEFINED, profile)
            bases[f"{depth}-icc.tif"] = tiff.bytes()
    tiffcp("8b-jpeg.tif", ["rgb-3c-8b.tiff"], "-c", "jpeg", "-r", "16")
    tiffcp("8b-jpeg-tiled.tif", ["rgb-3c-8b.tiff"], "-c", "jpeg", "-t", "-w", "64", "-l", "64")
    tiffcp("8b-separate.tif", ["rgb-3c-8b.tiff"], "-c", "zip", "-p", "separate")
    tiffcp("8b-tiled-separate.tif", ["rgb-3c-8b.tiff"], "-c", "none", "-p", "separate", "-t", "-w", "32", "-l", "32")
    # Colour kinds that the decoder reads through the TIFF library's RGBA
    # reader: the same samples relabelled, which makes sound files.
    if "8b-zip.tif" in bases:
        for name, photometric in (("8b-ycbcr-zip.tif", 6), ("8b-lab-zip.tif", 8), ("8b-icclab-zip.tif", 9)):
            tiff = Tiff(bases["8b-zip.tif"])
            tiff.set(262, SHORT, [photometric])
            if photometric == 6:
                tiff.set(530, SHORT, [1, 1])  # no subsampling
            bases[name] = tiff.bytes()
    return bases


# Mutations -------------------------------------------------------------------

SPECIAL_VALUES = [0, 1, 2, 3, 7, 8, 12, 15, 16, 17, 24, 32, 64, 255, 256, 4096, 32767, 32768, 65535,
                  0x7FFFFFFF, 0x80000000, 0xFFFFFFFF]


def bit_flips(rng, data):
    data = bytearray(data)
    near_start = rng.random() < 0.5
    for _ in range(rng.randint(1, 8)):
        at = rng.randrange(min(len(data), 1024) if near_start else len(data))
        data[at] ^= 1 << rng.randrange(8)
    return bytes(data), "bit flips" + (" near the start" if near_start else "")


def insert_bytes(rng, data):
    at = rng.randrange(len(data) + 1)
    block = bytes(rng.randrange(256) for _ in range(rng.randint(1, 64)))
    return data[:at] + block + data[at:], f"{len(block)} bytes inserted at {at}"


def delete_bytes(rng, data):
    at = rng.randrange(len(data))
    n = rng.randint(1, 256)
    return data[:at] + data[at + n:], f"{n} bytes deleted at {at}"


def truncate(rng, data):
    keep = rng.choice([rng.randrange(32), rng.randrange(len(data))])
    return data[:keep], f"cut to {keep} of {len(data)} bytes"


def edit_jpeg_header(rng, data):
    segments = [s for s in jpeg_segments(data) if s[0] in (0xC0, 0xC1, 0xC2, 0xC9, 0xCA, 0xDA, 0xC4, 0xDB, 0xDD, 0xE2)]
    if not segments:
        return bit_flips(rng, data)
    marker, at, length = rng.choice(segments)
    data = bytearray(data)
    if marker in (0xC0, 0xC1, 0xC2, 0xC9, 0xCA):
        field = rng.choice(["precision", "height", "width", "components", "sampling", "table"])
        where = {"precision": (4, 1), "height": (5, 2), "width": (7, 2), "components": (9, 1),
                 "sampling": (11, 1), "table": (12, 1)}[field]
    elif marker == 0xDA:
        field = rng.choice(["components", "table", "spectral start", "spectral end", "approximation"])
        count = data[at + 4]
        where = {"components": (4, 1), "table": (6, 1), "spectral start": (5 + 2 * count, 1),
                 "spectral end": (6 + 2 * count, 1), "approximation": (7 + 2 * count, 1)}[field]
    else:
        field = rng.choice(["length", "first byte"])
        where = {"length": (2, 2), "first byte": (4, 1)}[field]
    offset, size = where
    value = rng.choice(SPECIAL_VALUES + [rng.randrange(1 << (8 * size))]) & ((1 << (8 * size)) - 1)
    if at + offset + size <= len(data):
        data[at + offset:at + offset + size] = value.to_bytes(size, "big")
    return bytes(data), f"marker 0x{marker:02X} {field} set to {value}"


TIFF_TAGS = {256: "width", 257: "length", 258: "bits per sample", 259: "compression", 262: "photometric",
             273: "strip offsets", 277: "samples per pixel", 278: "rows per strip", 279: "strip byte counts",
             284: "planar configuration", 317: "predictor", 322: "tile width", 323: "tile length",
             324: "tile offsets", 325: "tile byte counts", 338: "extra samples", 339: "sample format",
             34675: "ICC profile"}


def edit_tiff_header(rng, data):
    try:
        tiff = Tiff(data)
    except Exception:
        return bit_flips(rng, data)
    present = [t for t in tiff.entries if t in TIFF_TAGS]
    if not present:
        return bit_flips(rng, data)
    tag = rng.choice(present)
    kind, count, payload = tiff.entries[tag]
    how = rng.choice(["value", "value", "value", "count", "type", "drop", "entry count", "directory offset"])
    if how == "value" and kind in (SHORT, LONG):
        values = tiff.values(tag)
        i = rng.randrange(len(values)) if values else 0
        limit = 0xFFFF if kind == SHORT else 0xFFFFFFFF
        values[i:i + 1] = [min(limit, rng.choice(SPECIAL_VALUES + [len(data), len(data) + 1, rng.randrange(limit)]))]
        tiff.set(tag, kind, values)
        return tiff.bytes(), f"{TIFF_TAGS[tag]}[{i}] set to {values[i]}"
    if how == "count" or how == "value":
        new = rng.choice([0, 1, count - 1, count + 1, 0xFFFF, 0x3FFFFFFF])
        tiff.entries[tag][1] = max(new, 0)
        return tiff.bytes(), f"{TIFF_TAGS[tag]} count set to {max(new, 0)}"
    if how == "type":
        new = rng.choice([1, 2, 3, 4, 5, 7, 11, 12, 16, 99])
        tiff.entries[tag][0] = new
        return tiff.bytes(), f"{TIFF_TAGS[tag]} type set to {new}"
    if how == "drop":
        tiff.remove(tag)
        return tiff.bytes(), f"{TIFF_TAGS[tag]} removed"
    out = bytearray(tiff.bytes())
    order = "little" if out[:2] == b"II" else "big"
    ifd = int.from_bytes(out[4:8], order)
    if how == "entry count":
        value = rng.choice([0, 1, 200, 0xFFFF])
        out[ifd:ifd + 2] = value.to_bytes(2, order)
        return bytes(out), f"directory entry count set to {value}"
    value = rng.choice([0, 1, 8, len(out), 0xFFFFFFFF, rng.randrange(len(out))])
    out[4:8] = value.to_bytes(4, order)
    return bytes(out), f"directory offset set to {value}"


DIMENSIONS = [0, 1, 16, 4096, 32767, 32768, 32769, 65535, 65536, 0x7FFFFFFF, 0xFFFFFFFF]
TIFF_FIELD_VALUES = {
    256: DIMENSIONS, 257: DIMENSIONS,
    277: [0, 1, 2, 3, 4, 5, 8, 255, 65535],
    258: [0, 1, 2, 4, 8, 12, 16, 24, 32, 64, 128, 255],
    262: [0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 32844, 32845],
    259: [1, 5, 6, 7, 8, 32773, 32946, 34676],
    284: [1, 2],
}


def combine_tiff_fields(rng, data):
    """Several picture fields of one directory set together (dimensions,
    samples, bits, photometric, compression, planes), often with every strip
    pointing at the first one, so that a large declared picture decodes from
    a small file."""
    try:
        tiff = Tiff(data)
    except Exception:
        return bit_flips(rng, data)
    fields = rng.sample(sorted(TIFF_FIELD_VALUES), rng.randint(2, 4))
    done = []
    for tag in fields:
        value = rng.choice(TIFF_FIELD_VALUES[tag])
        if tag == 258:
            samples = tiff.values(277)[0] if 277 in tiff.entries else 1
            tiff.set(tag, SHORT, [value] * max(1, min(samples, 16)))
        elif tag in (256, 257):
            tiff.set(tag, LONG, [value])
        else:
            tiff.set(tag, SHORT, [value])
        done.append(f"{TIFF_TAGS.get(tag, tag)} {value}")
    if 273 in tiff.entries and 279 in tiff.entries and rng.random() < 0.6:
        height = tiff.values(257)[0] if 257 in tiff.entries else 1
        rows = tiff.values(278)[0] if 278 in tiff.entries else height
        strips = (height + max(rows, 1) - 1) // max(rows, 1)
        if 0 < strips <= 1 << 16:
            offsets, counts = tiff.values(273), tiff.values(279)
            tiff.set(273, LONG, [offsets[0]] * strips)
            tiff.set(279, LONG, [counts[0]] * strips)
            done.append(f"{strips} strips at the first")
    return tiff.bytes(), "fields " + ", ".join(done)


def combine_jpeg_fields(rng, data):
    """Several fields of the frame header set together: dimensions,
    precision, components, sampling factors."""
    frames = [s for s in jpeg_segments(data) if s[0] in (0xC0, 0xC1, 0xC2, 0xC9, 0xCA)]
    if not frames:
        return bit_flips(rng, data)
    _, at, _ = frames[0]
    data = bytearray(data)
    fields = {"precision": (4, 1, [0, 1, 8, 12, 16, 255]),
              "height": (5, 2, DIMENSIONS[:8]), "width": (7, 2, DIMENSIONS[:8]),
              "components": (9, 1, [0, 1, 2, 3, 4, 5, 255]),
              "sampling": (11, 1, [0x11, 0x12, 0x21, 0x22, 0x44, 0x00, 0xFF])}
    done = []
    for field in rng.sample(sorted(fields), rng.randint(2, 4)):
        offset, size, values = fields[field]
        value = rng.choice(values) & ((1 << (8 * size)) - 1)
        if at + offset + size <= len(data):
            data[at + offset:at + offset + size] = value.to_bytes(size, "big")
            done.append(f"{field} {value}")
    return bytes(data), "frame fields " + ", ".join(done)


def mutate(rng, name, data):
    """(bytes, named as a JPEG, description) of one mutation of a base."""
    is_jpeg = name.endswith(".jpg")
    kind = rng.choices(["none", "flip", "insert", "delete", "truncate", "header", "fields", "empty", "lying"],
                       [3, 20, 9, 9, 13, 26, 12, 2, 6])[0]
    if kind == "none":
        return data, is_jpeg, "unchanged"
    if kind == "empty":
        return b"", is_jpeg, "zero-length file"
    if kind == "lying":
        return data, not is_jpeg, "extension of the other format"
    mutation = {"flip": bit_flips, "insert": insert_bytes, "delete": delete_bytes, "truncate": truncate,
                "header": edit_jpeg_header if is_jpeg else edit_tiff_header,
                "fields": combine_jpeg_fields if is_jpeg else combine_tiff_fields}[kind]
    changed, what = mutation(rng, data)
    return changed, is_jpeg, what


# Verdicts of the independent decoders -------------------------------------------

# libjpeg's words for picture data that is missing or garbled. djpeg prints
# every warning only with tracing on, so the trace lines are read and the
# warnings picked out by these texts.
JPEG_DATA_MISSING = re.compile(r"Premature end of JPEG file|premature end of data segment|bad Huffman code|"
                               r"bad arithmetic code|found marker 0x[0-9a-f]+ instead of RST|"
                               r"Inconsistent progression sequence")


def jpeg_verdict(path, reference):
    result = run(["djpeg", "-dct", "int", "-verbose", "-verbose", "-verbose", "-outfile", reference, path])
    errors = result.stderr.decode("latin-1")
    if result.returncode == 1 or JPEG_DATA_MISSING.search(errors):
        return "damaged", errors
    return "sound", errors


# libtiff tools print "module: Warning, text." for warnings and "module: text."
# for errors. Directory readers' warnings are about tags; every other
# warning comes from a codec or a strip while the picture is read.
TIFF_DIRECTORY_MODULES = ("TIFFReadDirectory", "TIFFFetchNormalTag", "TIFFReadCustomDirectory",
                          "TIFFReadDirectoryCheckOrder", "TIFFFetchDirectory", "TIFFReadDirEntry",
                          "_TIFFVSetField", "TIFFReadEXIFDirectory", "TIFFReadGPSDirectory")


def tiff_verdict(path, copy):
    result = run(["tiffcp", "-c", "none", "-p", "contig", path + ",0", copy])
    lines = result.stderr.decode("latin-1").splitlines()
    if any("does not support random access" in line for line in lines):
        # tiffcp interleaves separate planes only by reading lines at random;
        # the planes are copied as they are and interleaved here.
        result = run(["tiffcp", "-c", "none", path + ",0", copy])
        lines = result.stderr.decode("latin-1").splitlines()
    if any("Can't copy/convert subsampled image" in line for line in lines):
        # tiffcp copies no subsampled YCbCr; the library's RGBA reader (the
        # one the module's decoder uses for YCbCr) reads it.
        result = run(["tiff2rgba", "-c", "none", "-n", path, copy])
        lines = result.stderr.decode("latin-1").splitlines()
    for line in lines:
        module, _, text = line.partition(": ")
        if not text.startswith("Warning, ") or module not in TIFF_DIRECTORY_MODULES:
            return "damaged", "\n".join(lines)
    if result.returncode != 0 or not os.path.exists(copy):
        return "damaged", "\n".join(lines)
    return "sound", "\n".join(lines)


def tiff_copy_to_ppm(copy, reference):
    """The uncompressed RGB copy tiffcp wrote, as a PPM; False when it is no
    such picture."""
    try:
        tiff = Tiff(open(copy, "rb").read())
        width, height = tiff.values(256)[0], tiff.values(257)[0]
        bits = tiff.values(258)
        if (tiff.values(262)[0] != 2 or tiff.values(277)[0] != 3 or bits[0] not in (8, 16)
                or tiff.values(259)[0] != 1):
            return False
        data = b"".join(tiff.data[o:o + n] for o, n in zip(tiff.values(273), tiff.values(279)))
        size = width * height * 3 * bits[0] // 8
        if len(data) < size:
            return False
        data = data[:size]
        if 284 in tiff.entries and tiff.values(284)[0] == 2:
            # Separate planes, one after the other: interleave their samples.
            unit, plane = bits[0] // 8, size // 3
            mixed = bytearray(size)
            for i in range(3):
                for byte in range(unit):
                    mixed[i * unit + byte::3 * unit] = data[i * plane + byte:(i + 1) * plane:unit]
            data = bytes(mixed)
        if bits[0] == 16 and tiff.order == "<":
            swapped = bytearray(data)
            swapped[0::2], swapped[1::2] = data[1::2], data[0::2]
            data = bytes(swapped)
        with open(reference, "wb") as f:
            f.write(b"P6\n%d %d\n%d\n" % (width, height, 255 if bits[0] == 8 else 65535) + data)
        return True
    except Exception:
        return False


# The independent decoders write a declared picture out whole, damaged or
# not; larger ones are not judged but counted as damaged (a document made of
# one would show as an invented picture and be looked at).
LARGEST_JUDGED = 256 << 20


def declared_bytes(data, is_jpeg_name):
    """Bytes of the picture the file's header declares; 0 when unknown."""
    try:
        if is_jpeg_name:
            for marker, at, _ in jpeg_segments(data):
                if marker in (0xC0, 0xC1, 0xC2, 0xC3, 0xC5, 0xC6, 0xC7, 0xC9, 0xCA, 0xCB, 0xCD, 0xCE, 0xCF):
                    height, width = int.from_bytes(data[at + 5:at + 7], "big"), int.from_bytes(data[at + 7:at + 9], "big")
                    return width * height * max(1, data[at + 9])
            return 0
        tiff = Tiff(data)

        def first(tag, default):
            # Only the first value: a damaged count may claim billions.
            kind, count, payload = tiff.entries.get(tag, (SHORT, 0, b""))
            size = {SHORT: 2, LONG: 4}.get(kind)
            if count == 0 or size is None or len(payload) < size:
                return default
            return int.from_bytes(payload[:size], "little" if tiff.order == "<" else "big")

        return first(256, 0) * first(257, 0) * max(first(277, 1), 4) * max(first(258, 1), 8) // 8
    except Exception:
        return 0


def judge(path, is_jpeg_name, refs, stem):
    """(verdict, reference file name or "-")."""
    reference = os.path.join(refs, stem + ".ppm")
    with open(path, "rb") as f:
        if declared_bytes(f.read(), is_jpeg_name) > LARGEST_JUDGED:
            return "damaged", "-"
    if is_jpeg_name:
        verdict, _ = jpeg_verdict(path, reference)
        made = verdict == "sound" and os.path.exists(reference) and open(reference, "rb").read(2) == b"P6"
    else:
        copy = os.path.join(refs, stem + ".copy.tif")
        verdict, _ = tiff_verdict(path, copy)
        made = verdict == "sound" and tiff_copy_to_ppm(copy, reference)
        if os.path.exists(copy):
            os.remove(copy)
    if not made and os.path.exists(reference):
        os.remove(reference)
    return verdict, ("refs/" + stem + ".ppm") if made else "-"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--sources", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--count", type=int, default=300)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--bases-only", action="store_true")
    options = parser.parse_args()
    for tool in ("cjpeg", "djpeg", "tiffcp", "tiff2rgba"):
        if not shutil.which(tool):
            sys.exit(f"make-corpus.py: {tool} is missing: run scripts/install-packages.sh")

    shutil.rmtree(options.out, ignore_errors=True)
    refs = os.path.join(options.out, "refs")
    os.makedirs(refs)
    with tempfile.TemporaryDirectory() as work:
        bases = make_bases(options.sources, work)
    names = sorted(bases)
    if options.bases_only:
        for name in names:
            with open(os.path.join(options.out, name), "wb") as f:
                f.write(bases[name])
        shutil.rmtree(refs)
        print(f"make-corpus.py: {len(names)} base images: {options.out}")
        return
    rng = random.Random(options.seed)
    lines = []
    for i in range(options.count):
        base = names[i % len(names)] if i < len(names) else rng.choice(names)
        data, is_jpeg_name, what = mutate(rng, base, bases[base])
        extension = rng.choice(JPEG_EXTENSIONS if is_jpeg_name else TIFF_EXTENSIONS)
        stem = f"{i:05d}"
        name = stem + extension
        path = os.path.join(options.out, name)
        with open(path, "wb") as f:
            f.write(data)
        verdict, reference = judge(path, is_jpeg_name, refs, stem)
        lines.append(f"{name}\t{verdict}\t{reference}\t{base}: {what}\n")
    with open(os.path.join(options.out, "manifest.txt"), "w") as f:
        f.writelines(lines)
    sound = sum(1 for line in lines if "\tsound\t" in line)
    print(f"make-corpus.py: {len(lines)} files from {len(names)} bases (seed {options.seed}), "
          f"{sound} sound and {len(lines) - sound} damaged by the independent decoders: {options.out}")


if __name__ == "__main__":
    main()
