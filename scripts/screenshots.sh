#!/bin/sh
# Takes the pictures of the module's dialogs shown in README.md: each dialog
# is put on a virtual X display (Xvfb) by build/bin/dialog_scenes.exe under
# Wine's X11 driver and photographed with ImageMagick.
# Usage: scripts/screenshots.sh [BUILD_DIR]     (writes docs/screenshots/*.png)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$root/docs/screenshots
"$root/scripts/build.sh" "$build" >/dev/null

prefix=$build/wineprefix-x11
"$root/scripts/wine-prefix.sh" "$prefix" x11
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

display=97
while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
export DISPLAY=:$display
work=$(mktemp -d)
Xvfb "$DISPLAY" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    wineserver -k >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT INT TERM
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
wineserver -p </dev/null >/dev/null 2>&1
wine cmd /c exit </dev/null >/dev/null 2>&1 || true

mkdir -p "$out"
margin=20

# shoot NAME LANGUAGE SCENE...
shoot() {
    name=$1; language=$2; shift 2
    ready=$work/$name.ready
    LC_ALL=$language wine "$build/bin/dialog_scenes.exe" "$(winepath -w "$ready")" "$@" \
        </dev/null >/dev/null 2>&1 &
    scene=$!
    for _ in $(seq 150); do [ -s "$ready" ] && break; sleep 0.1; done
    if [ ! -s "$ready" ]; then
        echo "screenshots: $name did not appear" >&2
        kill "$scene" 2>/dev/null || true
        return 1
    fi
    read -r x y w h < "$ready"
    x=$((x - margin)); y=$((y - margin)); w=$((w + 2 * margin)); h=$((h + 2 * margin))
    [ "$x" -ge 0 ] || x=0
    [ "$y" -ge 0 ] || y=0
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$name.png"
    rm -f "$ready"
    wait "$scene" || true
    echo "docs/screenshots/$name.png"
}

shoot about-box en_US.UTF-8 about
shoot host-warning en_US.UTF-8 warning
shoot progress-dialog-en en_US.UTF-8 progress
shoot progress-dialog-fr fr_FR.UTF-8 progress
shoot message-fr fr_FR.UTF-8 message 2
