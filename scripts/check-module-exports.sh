#!/bin/sh
# Checks the built module's export and import tables: exactly ENTRYPOINT and
# UIProc exported, and nothing imported but system DLLs.
set -eu
module=$1
dump=$(i686-w64-mingw32-objdump -p "$module")
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
echo "exports: $exports"
echo "imports:" $imports
