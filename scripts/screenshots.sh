#!/bin/sh
# Takes the pictures of the module's dialogs shown in README.md and of the
# installer's pages shown in the user guides: each dialog is put on a virtual
# X display (Xvfb) by build/win32/bin/dialog_scenes.exe, or by the installer, under
# Wine's X11 driver and photographed with ImageMagick.
# Usage: scripts/screenshots.sh [BUILD_DIR]     (writes docs/screenshots/*.png)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
# The dialogs and the installer of the 32-bit tree (they look the same in both).
tree=$build/win32
out=$root/docs/screenshots
prefix=$build/wineprefix-x11

if [ "${OMBRIX_SCREENSHOTS_DISPLAY:-}" = "" ]; then
    "$root/scripts/build.sh" "$build" >/dev/null
    display=97
    while [ -e /tmp/.X11-unix/X$display ] || [ -e /tmp/.X$display-lock ]; do display=$((display + 1)); done
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2>/dev/null || true' EXIT INT TERM
    for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$display ] && break; sleep 0.1; done
    [ -e /tmp/.X11-unix/X$display ] || { echo "screenshots: Xvfb did not start" >&2; exit 1; }
    # The shots themselves run with the tests' persistent-server wrapper, in
    # a prefix of Wine's X11 driver on the virtual display.
    status=0
    DISPLAY=:$display OMBRIX_SCREENSHOTS_DISPLAY=:$display OMBRIX_WINE_DRIVER=x11 \
        "$root/scripts/with-wineserver.sh" "$prefix" sh "$0" "$build" || status=$?
    exit $status
fi

export DISPLAY=$OMBRIX_SCREENSHOTS_DISPLAY
work=$(mktemp -d)
cleanup() {
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

mkdir -p "$out"
margin=20

# shoot NAME LANGUAGE SCENE...
shoot() {
    name=$1; language=$2; shift 2
    ready=$work/$name.ready
    LC_ALL=$language wine "$tree/bin/dialog_scenes.exe" "$(winepath -w "$ready")" "$@" \
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

# The installer, with the reference host registered where the installer looks
# for the host, so that its Plug-ins folder is proposed.
version=$(sed -n 's/^project(OmbrixImport VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$tree/release/OmbrixImport-$version-setup.exe
host_exe=$(sed -n 's/^OMBRIX_HOST_EXECUTABLE:STRING=//p' "$tree/CMakeCache.txt")
app_paths="HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\$host_exe"
session='HKLM\System\CurrentControlSet\Control\Session Manager'
host_folder="$prefix/drive_c/Program Files/Image Editor"
mkdir -p "$host_folder"
cp "$tree/bin/ombrix-host.exe" "$host_folder/$host_exe"
# The reference host is a 32-bit program: its entry is in the 32-bit view.
wine reg add "$app_paths" /ve /d "C:\\Program Files\\Image Editor\\$host_exe" /reg:32 /f >/dev/null 2>&1
installer_cleanup() {
    wine reg delete "$app_paths" /reg:32 /f >/dev/null 2>&1 || true
    rm -rf "$host_folder"
    cleanup
}
trap installer_cleanup EXIT INT TERM

# photograph NAME WINDOW: the window with the margin around it.
photograph() {
    eval "$(xdotool getwindowgeometry --shell "$2")"
    x=$((X - margin)); y=$((Y - margin)); w=$((WIDTH + 2 * margin)); h=$((HEIGHT + 2 * margin))
    [ "$x" -ge 0 ] || x=0
    [ "$y" -ge 0 ] || y=0
    import -display "$DISPLAY" -window root -crop "${w}x${h}+${x}+${y}" +repage "$out/$1.png"
    echo "docs/screenshots/$1.png"
}

# installer_window: the installer's window, once it is on screen.
installer_window() {
    for _ in $(seq 60); do
        found=$(xdotool search --onlyvisible --name "Ombrix Import" 2>/dev/null | tail -n 1)
        [ -z "$found" ] || { echo "$found"; return 0; }
        sleep 0.5
    done
    return 1
}

# shoot_installer LANGUAGE SUFFIX: the folder page, then (Install) the last page.
shoot_installer() {
    LC_ALL=$1 wine "$setup" </dev/null >/dev/null 2>&1 &
    run=$!
    window=$(installer_window) || { echo "screenshots: the installer did not appear" >&2; kill "$run" 2>/dev/null; return 1; }
    sleep 1
    photograph "installer-folder-$2" "$window"
    xdotool key --window "$window" Return    # Install
    sleep 4
    window=$(installer_window)
    photograph "installer-finish-$2" "$window"
    xdotool key --window "$window" Return 2>/dev/null || true    # Finish
    for _ in $(seq 50); do kill -0 "$run" 2>/dev/null || break; sleep 0.1; done
    kill "$run" 2>/dev/null || true
    wait "$run" 2>/dev/null || true
    # Uninstalled again. The uninstaller works from a copy in the temporary
    # folder, which stays there until Windows starts again.
    wine "$prefix/drive_c/Program Files/Ombrix Import/uninstall.exe" /S </dev/null >/dev/null 2>&1 || true
    sleep 2
    temp=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
    [ -z "$temp" ] || rm -rf "$temp"/ns*.tmp
    wine reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
}

shoot_installer en_US.UTF-8 en
shoot_installer fr_FR.UTF-8 fr
