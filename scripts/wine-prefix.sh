#!/bin/sh
# Makes a Wine prefix for tests, a 64-bit one that runs both the 32- and the
# 64-bit programs: the null graphics driver (no X server, no
# 2-second wait per dialog), unmanaged windows and the Wine fonts copied in.
# Usage: wine-prefix.sh PREFIX [x11]   (x11: the X11 driver, for screenshots;
# OMBRIX_WINE_DRIVER=x11 says the same)
set -eu
fail() { echo "wine-prefix.sh: $*" >&2; exit 1; }
[ $# -ge 1 ] || fail "usage: wine-prefix.sh PREFIX [x11]"
. "$(cd "$(dirname "$0")" && pwd)/wine-env.sh"
[ $# -lt 2 ] || OMBRIX_WINE_DRIVER=$2
use_wine_prefix "$1"
prefix=$WINEPREFIX
driver=$OMBRIX_WINE_DRIVER
command -v wineboot >/dev/null 2>&1 || fail "Wine is not installed; run scripts/install-packages.sh"
marker="$prefix/.ombrix-$driver"

# Drive T: is a plain folder of the prefix. The root of a drive is listed
# without "." and "..", which tests of the folder scan need.
test_drive() {
    mkdir -p "$prefix/drive_t"
    [ -e "$prefix/dosdevices/t:" ] || ln -s ../drive_t "$prefix/dosdevices/t:"
}

# A prefix of this project made for 32-bit programs only (as earlier versions
# did) cannot run the 64-bit ones: made again. Another's is left alone.
if grep -q '^#arch=win32' "$prefix/system.reg" 2>/dev/null; then
    ls "$prefix"/.ombrix-* >/dev/null 2>&1 ||
        fail "$prefix runs 32-bit programs only; use another prefix or delete it"
    echo "Replacing the 32-bit Wine prefix $prefix by a 64-bit one" >&2
    (wineserver -k) >/dev/null 2>&1 || true
    rm -rf "$prefix"
fi

if [ -f "$marker" ]; then
    test_drive
    exit 0
fi

mkdir -p "$prefix" || fail "cannot create the folder $prefix"
[ -O "$prefix" ] || fail "$prefix belongs to another user; Wine runs only in a prefix of its own user"
echo "Making the Wine prefix $prefix (once, about 10 s)" >&2
WINEARCH=win64 wineboot -i </dev/null >/dev/null 2>&1 || fail "wineboot could not set up $prefix (run 'WINEPREFIX=$prefix wineboot -i' to see why)"
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
