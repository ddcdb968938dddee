#!/bin/sh
# Makes one small photo-like picture (16 bits a channel, an RGB profile, a
# few EXIF fields, as a camera's file has) and exports it with the real
# converters and image tools a photographer uses: darktable-cli,
# rawtherapee-cli, vips, ImageMagick, GraphicsMagick, exiftool, exiv2 and
# tiffcp (scripts/install-packages.sh installs them). For each file it
# writes what a sound import module must deliver, decoded by other programs
# than the module's decoder.
#
#   make-real-exports.sh OUT
#
# OUT gets the exports, refs/ (reference decodes as PPM, 8 or 16 bits, and
# the files' ICC profiles as extracted by exiftool) and manifest.txt, one
# line per export:
#   name <TAB> outcome <TAB> reference pixels <TAB> reference profile
# outcome: depth8 or depth16 (imported as an RGB document of that depth,
# pixels equal to the reference, the profile byte-equal to the file's, or
# none when the file has none), message4 (a sound kind the module does not
# take: CMYK, grey, float, transparency, a compression the decoder lacks),
# message3 (a damaged file). A reference or profile that does not apply is
# "-". A file with an Orientation tag has the reference of the same file
# without it: pictures arrive in the order their rows are stored.
#
# Any tool missing or failing stops the script with the reason: the test
# that reads OUT fails rather than test less.
set -eu

[ $# -eq 1 ] || { echo "usage: make-real-exports.sh OUT" >&2; exit 2; }
out=$1
for tool in darktable-cli rawtherapee-cli vips gm convert identify exiftool exiv2 djpeg tiffcp; do
    command -v "$tool" >/dev/null 2>&1 ||
        { echo "make-real-exports.sh: no $tool on PATH (scripts/install-packages.sh installs it)" >&2; exit 1; }
done
profiles=/usr/share/rawtherapee/iccprofiles
[ -f "$profiles/output/RTv4_sRGB.icc" ] ||
    { echo "make-real-exports.sh: no $profiles/output/RTv4_sRGB.icc (package rawtherapee-data)" >&2; exit 1; }

rm -rf "$out"
mkdir -p "$out/refs"
out=$(cd "$out" && pwd)
work=$out/work
mkdir -p "$work"
cd "$out"
manifest=$work/manifest.txt
: >"$manifest"

fail() {
    echo "make-real-exports.sh: $*" >&2
    exit 1
}

# Runs a tool quietly; its output is shown only when it fails.
quiet() {
    "$@" >"$work/tool.log" 2>&1 || { cat "$work/tool.log" >&2; fail "failed: $*"; }
}

# The picture every tool starts from: plasma for texture, a vignette and a
# warm-to-cold gradient, saturated patches, a zone plate and thin lines for
# detail; 16 bits a channel with the low bytes in use.
source=$work/source.tif
quiet convert -size 360x240 -seed 7 plasma:gold-steelblue -blur 0x0.6 \
    \( -size 360x240 radial-gradient:white-gray40 \) -compose multiply -composite \
    \( -size 240x360 'gradient:rgb(255,80,0)-rgb(0,160,255)' -rotate 90 \) -compose softlight -composite \
    \( -size 100x100 xc: -fx '0.5+0.5*cos(((i-50)^2+(j-50)^2)/40)' \) -geometry +20+120 -compose over -composite \
    -stroke none -fill 'rgb(255,0,0)' -draw 'rectangle 10,10 50,50' -fill 'rgb(0,255,0)' -draw 'rectangle 60,10 100,50' \
    -fill 'rgb(0,0,255)' -draw 'rectangle 110,10 150,50' -fill 'rgb(255,0,255)' -draw 'circle 300,60 320,60' \
    -fill 'rgb(0,255,255)' -draw 'circle 250,190 265,190' \
    -fill none -stroke 'rgb(255,255,0)' -draw 'line 0,239 359,120' -stroke white -draw 'line 200,200 350,230' \
    -alpha off -depth 16 -profile "$profiles/output/RTv4_sRGB.icc" "$source"
quiet exiftool -overwrite_original -Make=Ombrix -Model='Test Body' -DateTimeOriginal='2024:05:01 12:00:00' \
    -ExposureTime=1/250 -FNumber=8 -ISO=200 "$source"

# The file's depth (8 or 16) as ImageMagick reads it.
depth_of() {
    identify -quiet -format '%z' "${1}[0]" 2>/dev/null
}

# Records what a sound module makes of FILE: OUTCOME, and for an import the
# reference decode of FILE (or of BASE, the same picture without its
# Orientation tag) and FILE's profile.
expect() {
    file=$1 outcome=$2 base=${3:-$1}
    [ -s "$file" ] || fail "$file was not written"
    reference=- profile=-
    case $outcome in
        depth8 | depth16)
            depth=${outcome#depth}
            [ "$(depth_of "$file")" = "$depth" ] || fail "$file has $(depth_of "$file") bits a channel, not $depth"
            reference=refs/$file.ppm
            if [ "$base" != "$file" ]; then
                cp "refs/$base.ppm" "$reference"
            else
                case $file in
                    # The decoder's JPEG reading: the accurate integer transform.
                    *.jpg) quiet djpeg -dct int -ppm -outfile "$reference" "$file" ;;
                    *) quiet convert "${file}[0]" -depth "$depth" "$reference" ;;
                esac
            fi
            exiftool -b -ICC_Profile "$file" >"$work/profile.icc" 2>/dev/null || true
            if [ -s "$work/profile.icc" ]; then
                profile=refs/$file.icc
                mv "$work/profile.icc" "$profile"
            fi
            ;;
        message3 | message4) ;;
        *) fail "unknown outcome $outcome for $file" ;;
    esac
    printf '%s\t%s\t%s\t%s\n' "$file" "$outcome" "$reference" "$profile" >>"$manifest"
}

# darktable: JPEG at two qualities, TIFF of 8, 16 and 32 bits (16: also half
# float) with each compression, in three output spaces. Its TIFFs carry the
# profile and an EXIF sub-directory.
dt() {
    name=$1 space=$2
    shift 2
    quiet env HOME="$work/dt-home" darktable-cli "$source" "$name" --hq true --apply-custom-presets false \
        --icc-type "$space" --core --configdir "$work/dt-home/config" --library :memory: --disable-opencl "$@"
}
dt_tiff() {
    dt "$1" "$2" --conf plugins/imageio/format/tiff/bpp="$3" --conf plugins/imageio/format/tiff/compress="$4" \
        ${5:+--conf plugins/imageio/format/tiff/pixelformat=$5}
}
dt dt-q95-srgb.jpg SRGB --conf plugins/imageio/format/jpeg/quality=95
dt dt-q60-adobergb.jpg ADOBERGB --conf plugins/imageio/format/jpeg/quality=60
dt_tiff dt-8-none-srgb.tif SRGB 8 0
dt_tiff dt-8-deflate-adobergb.tif ADOBERGB 8 1
dt_tiff dt-8-predictor-rec2020.tif LIN_REC2020 8 2
dt_tiff dt-16-none-adobergb.tif ADOBERGB 16 0
dt_tiff dt-16-deflate-rec2020.tif LIN_REC2020 16 1
dt_tiff dt-16-predictor-srgb.tif SRGB 16 2
dt_tiff dt-16-half-float.tif SRGB 16 1 true
dt_tiff dt-32-float-rec2020.tif LIN_REC2020 32 0
for f in dt-q95-srgb.jpg dt-q60-adobergb.jpg dt-8-none-srgb.tif dt-8-deflate-adobergb.tif \
    dt-8-predictor-rec2020.tif; do
    expect "$f" depth8
done
for f in dt-16-none-adobergb.tif dt-16-deflate-rec2020.tif dt-16-predictor-srgb.tif; do
    expect "$f" depth16
done
expect dt-16-half-float.tif message4
expect dt-32-float-rec2020.tif message4

# RawTherapee: JPEG in the three subsamplings, TIFF of 8 and 16 bits plain or
# deflate with predictor, half and full float; output spaces through
# processing profiles. Its TIFFs carry the source's EXIF.
printf '[Color Management]\nOutputProfile=RTv4_Medium\n' >"$work/adobergb.pp3"
printf '[Color Management]\nOutputProfile=RTv4_Rec2020\n' >"$work/rec2020.pp3"
rt() {
    name=$1
    shift
    quiet env HOME="$work/rt-home" XDG_CONFIG_HOME="$work/rt-home/config" XDG_CACHE_HOME="$work/rt-home/cache" \
        rawtherapee-cli -q -Y -o "$name" "$@" -c "$source"
}
rt rt-q95-444.jpg -j95 -js3
rt rt-q85-422.jpg -j85 -js2
rt rt-q70-420.jpg -j70 -js1
rt rt-q90-420-rec2020.jpg -p "$work/rec2020.pp3" -j90 -js1
rt rt-8-none-srgb.tif -t -b8
rt rt-8-predictor-adobergb.tif -p "$work/adobergb.pp3" -tz -b8
rt rt-16-none-rec2020.tif -p "$work/rec2020.pp3" -t -b16
rt rt-16-predictor-srgb.tif -tz -b16
rt rt-16-half-float.tif -t -b16f
rt rt-32-float.tif -t -b32
for f in rt-q95-444.jpg rt-q85-422.jpg rt-q70-420.jpg rt-q90-420-rec2020.jpg rt-8-none-srgb.tif \
    rt-8-predictor-adobergb.tif; do
    expect "$f" depth8
done
expect rt-16-none-rec2020.tif depth16
expect rt-16-predictor-srgb.tif depth16
expect rt-16-half-float.tif message4
expect rt-32-float.tif message4

# vips: every TIFF compression it writes (zstd and webp are sound files the
# decoder is built without), tiles, pyramids (in pages and in SubIFDs),
# BigTIFF, 16 bits; progressive JPEG, restart markers, and a 216 KB camera
# profile that takes four APP2 segments.
quiet vips colourspace "$source" "$work/source8.v" srgb
large_profile=$(find "$profiles/input" -name '*.icc' -printf '%s %p\n' | sort -n | tail -n 1 | cut -d ' ' -f 2-)
cp "$large_profile" "$work/large.icc"
vips8() {
    quiet vips copy "$work/source8.v" "$1"
}
vips16() {
    quiet vips copy "$source" "$1"
}
vips8 'vips-8-none.tif[compression=none]'
vips8 'vips-8-lzw-predictor.tif[compression=lzw,predictor=horizontal]'
vips8 'vips-8-deflate.tif[compression=deflate]'
vips8 'vips-8-packbits.tif[compression=packbits]'
vips8 'vips-8-jpeg.tif[compression=jpeg,Q=90]'
vips8 'vips-8-zstd.tif[compression=zstd]'
vips8 'vips-8-webp.tif[compression=webp]'
vips8 'vips-8-tiles-deflate.tif[tile,tile-width=64,tile-height=64,compression=deflate]'
vips8 'vips-8-pyramid-jpeg.tif[tile,pyramid,compression=jpeg]'
vips8 'vips-8-pyramid-subifd.tif[tile,pyramid,subifd,compression=deflate]'
vips8 'vips-8-bigtiff-lzw.tif[bigtiff,compression=lzw]'
vips8 "vips-8-large-profile.tif[profile=$work/large.icc]"
vips16 'vips-16-predictor.tif[compression=deflate,predictor=horizontal]'
vips16 'vips-16-tiles-bigtiff.tif[tile,bigtiff]'
vips16 'vips-16-zstd.tif[compression=zstd,predictor=horizontal]'
vips8 'vips-progressive.jpg[Q=80,interlace,optimize_coding]'
vips8 'vips-restart-444.jpg[Q=85,restart_interval=4,subsample_mode=off]'
vips8 "vips-large-profile.jpg[Q=92,profile=$work/large.icc]"
for f in vips-8-none.tif vips-8-lzw-predictor.tif vips-8-deflate.tif vips-8-packbits.tif vips-8-jpeg.tif \
    vips-8-tiles-deflate.tif vips-8-pyramid-jpeg.tif vips-8-pyramid-subifd.tif vips-8-bigtiff-lzw.tif \
    vips-8-large-profile.tif vips-progressive.jpg vips-restart-444.jpg vips-large-profile.jpg; do
    expect "$f" depth8
done
expect vips-16-predictor.tif depth16
expect vips-16-tiles-bigtiff.tif depth16
expect vips-8-zstd.tif message4
expect vips-8-webp.tif message4
expect vips-16-zstd.tif message4

# libtiff's own tiffcp: two more compressions the decoder is built without.
quiet tiffcp -c lzma vips-8-none.tif tiffcp-8-lzma.tif
quiet tiffcp -c lerc vips-16-predictor.tif tiffcp-16-lerc.tif
expect tiffcp-8-lzma.tif message4
expect tiffcp-16-lerc.tif message4

# ImageMagick and GraphicsMagick: separate planes, big-endian, alpha opaque
# and not, CMYK, grey, JPEG-compressed YCbCr.
im() {
    quiet convert "$source" "$@"
}
gm_() {
    quiet gm convert "$source" "$@"
}
im -depth 8 im-8-plain.tif
im -depth 16 -compress zip im-16-deflate.tif
im -depth 8 -interlace plane im-8-planes.tif
gm_ -depth 16 -interlace plane -compress lzw gm-16-planes-lzw.tif
im -depth 16 -endian MSB im-16-big-endian.tif
gm_ -depth 8 -endian MSB gm-8-big-endian.tif
im -depth 8 -alpha opaque im-8-alpha-opaque.tif
im -depth 16 -alpha opaque im-16-alpha-opaque.tif
gm_ -depth 16 -matte gm-16-alpha-opaque.tif
# A transparent hole in the middle: the rest stays opaque.
hole() {
    im \( +clone -fill white -colorize 100 -fill black -draw 'rectangle 160,100 199,129' \) \
        -alpha off -compose copy_opacity -composite "$@"
}
hole -depth 8 im-8-alpha-hole.tif
hole -depth 16 im-16-alpha-hole.tif
im -depth 8 -colorspace CMYK -quality 90 im-cmyk.jpg
gm_ -depth 8 -colorspace CMYK +profile '*' -quality 90 gm-cmyk.jpg
im -depth 8 -colorspace CMYK im-8-cmyk.tif
gm_ -depth 16 -colorspace CMYK gm-16-cmyk.tif
im -depth 8 -colorspace Gray im-8-grey.tif
gm_ -depth 16 -colorspace Gray gm-16-grey.tif
im -depth 8 -colorspace Gray -quality 90 im-grey.jpg
gm_ -depth 8 -compress JPEG -quality 90 gm-8-jpeg-ycbcr.tif
gm_ -depth 8 -quality 90 gm-q90.jpg
for f in im-8-plain.tif im-8-planes.tif gm-8-big-endian.tif im-8-alpha-opaque.tif gm-8-jpeg-ycbcr.tif gm-q90.jpg; do
    expect "$f" depth8
done
for f in im-16-deflate.tif gm-16-planes-lzw.tif im-16-big-endian.tif im-16-alpha-opaque.tif gm-16-alpha-opaque.tif; do
    expect "$f" depth16
done
for f in im-8-alpha-hole.tif im-16-alpha-hole.tif im-cmyk.jpg gm-cmyk.jpg im-8-cmyk.tif gm-16-cmyk.tif \
    im-8-grey.tif gm-16-grey.tif im-grey.jpg; do
    expect "$f" message4
done

# exiftool and exiv2 on exports: EXIF with maker notes and a thumbnail, GPS,
# XMP over 64 KB (extended XMP in a JPEG), IPTC (Photoshop resources in a
# JPEG), Orientation 3 and 6 on a plain TIFF, a JPEG and a YCbCr
# JPEG-compressed TIFF, and EXIF added to a TIFF that had none.
tag() {
    name=$1 from=$2
    shift 2
    cp "$from" "$name"
    quiet exiftool -overwrite_original "$@" "$name"
}
quiet convert "$source" -resize 160x120 -depth 8 -quality 80 "$work/thumbnail.jpg"
cp rt-q95-444.jpg exif-makernotes-thumbnail.jpg
quiet exiv2 -M'set Exif.Image.Make Canon' -M'set Exif.Image.Model Canon EOS 5D' \
    -M'set Exif.Canon.OwnerName Ascii Photographer' -M'set Exif.Canon.FirmwareVersion Ascii Firmware 1.1.1' \
    exif-makernotes-thumbnail.jpg
quiet exiftool -overwrite_original "-ThumbnailImage<=$work/thumbnail.jpg" exif-makernotes-thumbnail.jpg
if [ -z "$(exiftool -s3 -Canon:OwnerName exif-makernotes-thumbnail.jpg)" ] ||
    [ -z "$(exiftool -s3 -ThumbnailLength exif-makernotes-thumbnail.jpg)" ]; then
    fail "exif-makernotes-thumbnail.jpg lacks its maker notes or thumbnail"
fi
gps() {
    tag "$1" "$2" -GPSLatitude=46.5197 -GPSLatitudeRef=N -GPSLongitude=6.6323 -GPSLongitudeRef=E -GPSAltitude=495
}
gps gps.jpg dt-q95-srgb.jpg
gps gps.tif dt-8-none-srgb.tif
awk 'BEGIN { for (i = 0; i < 2000; i++) printf "Line %d of a long description of the picture. ", i }' \
    >"$work/long.txt"
tag xmp-over-64k.jpg rt-q85-422.jpg "-XMP-dc:Description<=$work/long.txt"
tag xmp-over-64k.tif im-16-deflate.tif "-XMP-dc:Description<=$work/long.txt"
[ -n "$(exiftool -s3 -HasExtendedXMP xmp-over-64k.jpg)" ] || fail "xmp-over-64k.jpg has no extended XMP"
# IPTC goes into Photoshop resources (APP13 in a JPEG, a tag of its own in a
# TIFF), here with the resources' own thumbnail.
photoshop() {
    tag "$1" "$2" -IPTC:Keywords=export -IPTC:City=Lausanne -IPTCDigest=new \
        "-PhotoshopThumbnail<=$work/thumbnail.jpg"
    [ -n "$(exiftool -s3 -Photoshop:IPTCDigest "$1")" ] || fail "$1 has no Photoshop resources"
}
photoshop iptc-photoshop.jpg vips-progressive.jpg
photoshop iptc-photoshop.tif vips-8-deflate.tif
tag orientation-3.tif im-8-plain.tif -Orientation#=3
tag orientation-6.tif im-8-plain.tif -Orientation#=6
tag orientation-3.jpg rt-q70-420.jpg -Orientation#=3
tag orientation-6.jpg rt-q70-420.jpg -Orientation#=6
tag orientation-3-ycbcr-jpeg.tif gm-8-jpeg-ycbcr.tif -Orientation#=3
tag orientation-6-ycbcr-jpeg.tif gm-8-jpeg-ycbcr.tif -Orientation#=6
# ImageMagick writes no EXIF sub-directory: the profile came through before
# exiftool added one.
[ -z "$(exiftool -s3 -ExifIFD:all im-16-deflate.tif)" ] || fail "im-16-deflate.tif has EXIF already"
tag exposure-time-added.tif im-16-deflate.tif -ExposureTime=1/250
for f in exif-makernotes-thumbnail.jpg gps.jpg gps.tif xmp-over-64k.jpg iptc-photoshop.jpg iptc-photoshop.tif; do
    expect "$f" depth8
done
for f in xmp-over-64k.tif exposure-time-added.tif; do
    expect "$f" depth16
done
for f in orientation-3.tif orientation-6.tif; do expect "$f" depth8 im-8-plain.tif; done
for f in orientation-3.jpg orientation-6.jpg; do expect "$f" depth8 rt-q70-420.jpg; done
for f in orientation-3-ycbcr-jpeg.tif orientation-6-ycbcr-jpeg.tif; do expect "$f" depth8 gm-8-jpeg-ycbcr.tif; done

# The 16-bit source itself (ImageMagick, then exiftool's EXIF fields), and an
# export cut short, as an interrupted copy leaves it.
cp "$source" source-exif.tif
expect source-exif.tif depth16
head -c 30000 dt-q95-srgb.jpg >cut-short.jpg
expect cut-short.jpg message3

mv "$manifest" manifest.txt
rm -rf "$work"
echo "make-real-exports.sh: $(wc -l <manifest.txt) files in $out"
