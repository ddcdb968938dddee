#!/bin/sh
# Checks a built module's header, export and import tables and PiPL: the
# format of its architecture (PE32 for win32, PE32+ for win64), exactly
# ENTRYPOINT and UIProc exported (undecorated), nothing imported but system
# DLLs, and the entry point named in the PiPL's code property of that
# architecture (wx86 or 8664) and in no other.
# Usage: check-module-exports.sh MODULE [win32|win64]   (default win32)
set -eu
module=$1
arch=${2:-win32}
case $arch in
    win32) objdump=i686-w64-mingw32-objdump format=pei-i386 magic=010b code=wx86 other=8664 ;;
    win64) objdump=x86_64-w64-mingw32-objdump format=pei-x86-64 magic=020b code=8664 other=wx86 ;;
    *) echo "unknown architecture '$arch' (win32, win64)" >&2; exit 1 ;;
esac
[ -f "$module" ] || { echo "no module $module" >&2; exit 1; }
dump=$($objdump -p "$module")
printf '%s\n' "$dump" | grep -q "file format $format\$" ||
    { echo "$module is not a $format file" >&2; exit 1; }
printf '%s\n' "$dump" | grep -qi "^Magic[[:space:]]*$magic" ||
    { echo "$module has not the optional header magic $magic" >&2; exit 1; }
exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/{f=1;next} f&&/^[ \t]*\[/{print $NF} f&&/^$/{f=0}' | sort | tr '\n' ' ')
if [ "$exports" != "ENTRYPOINT UIProc " ]; then
    echo "unexpected exports: $exports" >&2; exit 1
fi
imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/{print tolower($3)}' | sort -u)
for dll in $imports; do
    case "$dll" in
        kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|msvcrt.dll|shell32.dll|ole32.dll|comctl32.dll|comdlg32.dll|api-ms-win-*) ;;
        *) echo "non-system import: $dll" >&2; exit 1 ;;
    esac
done
# A PiPL property: signature 8BIM, key, index 0, length 12, "ENTRYPOINT", each
# four-character code stored as a little-endian 32-bit number.
python3 - "$module" "$code" "$other" <<'PY'
import struct, sys
data = open(sys.argv[1], "rb").read()
def prop(key):
    return (struct.pack("<II", 0x3842494D, int.from_bytes(key.encode(), "big"))
            + struct.pack("<II", 0, 12) + b"ENTRYPOINT\0\0")
if data.count(prop(sys.argv[2])) != 1:
    sys.exit(f"the PiPL does not name ENTRYPOINT once in property {sys.argv[2]}")
if prop(sys.argv[3]) in data:
    sys.exit(f"the PiPL names ENTRYPOINT in property {sys.argv[3]}, of the other architecture")
PY
echo "$arch: $format, PiPL code property $code"
echo "exports: $exports"
echo "imports:" $imports
