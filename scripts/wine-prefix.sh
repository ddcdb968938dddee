#!/bin/sh
# Makes a Wine prefix for tests: the null graphics driver (no X server, no
# 2-second wait per dialog), unmanaged windows and the Wine fonts copied in.
# Usage: wine-prefix.sh PREFIX [x11]   (x11: the X11 driver, for screenshots)
set -eu
prefix=$1
driver=${2:-null}
marker="$prefix/.ombrix-$driver"

# Drive T: is a plain folder of the prefix. The root of a drive is listed
# without "." and "..", which tests of the folder scan need.
test_drive() {
    mkdir -p "$prefix/drive_t"
    [ -e "$prefix/dosdevices/t:" ] || ln -s ../drive_t "$prefix/dosdevices/t:"
}

if [ -f "$marker" ]; then
    test_drive
    exit 0
fi

mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i </dev/null >/dev/null 2>&1
if [ "$driver" = null ]; then
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
else
    wine reg delete 'HKCU\Software\Wine\Drivers' /v Graphics /f </dev/null >/dev/null 2>&1 || true
fi
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
fonts="$prefix/drive_c/windows/Fonts"
mkdir -p "$fonts"
if [ -d /usr/share/wine/fonts ]; then
    cp -n /usr/share/wine/fonts/* "$fonts/" 2>/dev/null || true
fi
wineserver -w
test_drive
rm -f "$prefix"/.ombrix-*
touch "$marker"
