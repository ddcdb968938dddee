#!/bin/sh
# Puts real test images from Debian's libjpeg-turbo and libtiff source
# packages (those the decoder is built from) into OUT, with reference decodes
# made by Debian's own tools, and odd and damaged variants of them
# (odd-images.py). Usage: real-images.sh SOURCES_DIR OUT
# Missing packages or tools leave OUT without those files: their tests skip.
set -u
sources=$1
out=$2
mkdir -p "$out"
cd "$out" || exit 0

jpeg=$(ls "$sources"/libjpeg-turbo_*.orig.tar.gz 2>/dev/null | tail -n 1)
tiff=$(ls "$sources"/tiff_*.orig.tar.* 2>/dev/null | tail -n 1)

if [ -n "$tiff" ]; then
    tar xf "$tiff" --wildcards --strip-components=3 \
        '*/test/images/rgb-3c-8b.tiff' '*/test/images/rgb-3c-8b.ppm' \
        '*/test/images/rgb-3c-16b.tiff' '*/test/images/rgb-3c-16b.ppm' \
        '*/test/images/minisblack-1c-8b.tiff' '*/test/images/logluv-3c-16b.tiff' 2>/dev/null || true
fi
if [ -n "$jpeg" ]; then
    tar xf "$jpeg" --wildcards --strip-components=2 \
        '*/testimages/testorig.jpg' '*/testimages/test1.icc' 2>/dev/null || true
fi
# Reference decodes with the accurate integer transform the module asks for,
# and a JPEG carrying a real profile.
if command -v djpeg >/dev/null 2>&1 && command -v cjpeg >/dev/null 2>&1; then
    [ -f testorig.jpg ] && djpeg -dct int -ppm -outfile testorig.decoded.ppm testorig.jpg
    if [ -f test1.icc ] && [ -f rgb-3c-8b.ppm ]; then
        cjpeg -icc test1.icc -outfile profiled.jpg rgb-3c-8b.ppm &&
            djpeg -dct int -ppm -outfile profiled.decoded.ppm profiled.jpg
    fi
fi
# Odd and damaged variants of these images.
if command -v python3 >/dev/null 2>&1 && [ -f testorig.jpg ] && [ -f rgb-3c-8b.tiff ]; then
    python3 "$(dirname "$0")/odd-images.py" . || echo "real-images.sh: odd-images.py failed; their tests skip" >&2
fi
exit 0
