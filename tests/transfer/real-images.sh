#!/bin/sh
# Puts real test images from Debian's libjpeg-turbo and libtiff source
# packages (those the decoder is built from) into OUT, with reference decodes
# made by Debian's own tools, and odd and damaged variants of them
# (odd-images.py). Usage: real-images.sh SOURCES_DIR OUT
#
# Every file is needed: tests that guard against host crashes use them. OUT
# is made afresh; when anything cannot be made (a source package, a tool or
# an input missing, odd-images.py failing), this says what, writes it into
# OUT/.unmade and leaves without OUT/.made. The build goes on and tries again
# next time; the tests that need the files fail, quoting OUT/.unmade.
set -u
sources=$1
out=$2
here=$(cd "$(dirname "$0")" && pwd)
# Only a folder this script made (or an empty one) is emptied.
if [ -d "$out" ] && [ -n "$(ls -A "$out")" ] && [ ! -f "$out/.made" ] && [ ! -f "$out/.unmade" ] &&
    [ ! -f "$out/.making" ]; then
    echo "real-images.sh: $out holds files this script did not make; name a new or empty folder" >&2
    exit 1
fi
rm -rf "$out"
mkdir -p "$out" || { echo "real-images.sh: cannot make $out" >&2; exit 1; }
cd "$out" || exit 1
touch .making

unmade() {
    echo "real-images.sh: $*" >&2
    printf '%s\n' "$*" >>.unmade
}

need_tool() {
    command -v "$1" >/dev/null 2>&1 ||
        unmade "$1 not found (package $2; scripts/install-packages.sh installs it)"
}

jpeg=$(ls "$sources"/libjpeg-turbo_*.orig.tar.gz 2>/dev/null | tail -n 1)
tiff=$(ls "$sources"/tiff_*.orig.tar.* 2>/dev/null | tail -n 1)
[ -n "$tiff" ] || unmade "no libtiff source package (tiff_*.orig.tar.*) in '$sources', where the decoder build keeps its sources"
[ -n "$jpeg" ] || unmade "no libjpeg-turbo source package (libjpeg-turbo_*.orig.tar.gz) in '$sources'"
need_tool djpeg libjpeg-turbo-progs
need_tool cjpeg libjpeg-turbo-progs
need_tool tiffcp libtiff-tools
need_tool python3 python3

if [ -n "$tiff" ]; then
    tar xf "$tiff" --wildcards --strip-components=3 \
        '*/test/images/rgb-3c-8b.tiff' '*/test/images/rgb-3c-8b.ppm' \
        '*/test/images/rgb-3c-16b.tiff' '*/test/images/rgb-3c-16b.ppm' \
        '*/test/images/minisblack-1c-8b.tiff' '*/test/images/logluv-3c-16b.tiff' ||
        unmade "the test images could not be taken from $tiff"
fi
if [ -n "$jpeg" ]; then
    tar xf "$jpeg" --wildcards --strip-components=2 '*/testimages/testorig.jpg' '*/testimages/test1.icc' ||
        unmade "the test images could not be taken from $jpeg"
fi

if [ ! -f .unmade ]; then
    # Reference decodes with the accurate integer transform the module asks
    # for, and a JPEG carrying a real profile.
    { djpeg -dct int -ppm -outfile testorig.decoded.ppm testorig.jpg &&
        cjpeg -icc test1.icc -outfile profiled.jpg rgb-3c-8b.ppm &&
        djpeg -dct int -ppm -outfile profiled.decoded.ppm profiled.jpg; } ||
        unmade "djpeg or cjpeg failed on the packages' test images"
fi
if [ ! -f .unmade ]; then
    # Odd and damaged variants of these images.
    python3 "$here/odd-images.py" . || unmade "odd-images.py failed (status $?)"
fi

rm -f .making
[ ! -f .unmade ] || exit 0
touch .made
