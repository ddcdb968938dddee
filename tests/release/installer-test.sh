#!/bin/sh
# The installer under Wine, used silently as an administrator deploying it
# would: into the Plug-ins folder of a host registered under App Paths, then
# with /D= into a chosen folder; each time uninstalled again, and a file of
# the user's beside the module survives. Everything written to the prefix is
# removed at the end.
# Usage: installer-test.sh BUILD SETUP MODULE HOST_EXE
set -eu
build=$1 setup=$2 module=$3 host_exe=$4
root=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="${OMBRIX_WINEPREFIX:-$build/wineprefix}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"

windows='HKLM\Software\Microsoft\Windows\CurrentVersion'
app_paths="$windows\\App Paths\\$host_exe"
uninstall_key="$windows\\Uninstall\\OmbrixImport"
top="$WINEPREFIX/drive_c/ombrix-installer-test"
host_win='C:\ombrix-installer-test\Image Editor'
host="$top/Image Editor"
chosen_win='C:\ombrix-installer-test\Chosen Folder'
chosen="$top/Chosen Folder"
program=""
failures=0

# The uninstaller runs from a copy in the temporary folder, which it leaves
# for Windows to delete at the next start.
session='HKLM\System\CurrentControlSet\Control\Session Manager'
pending_before=$(wine reg query "$session" /v PendingFileRenameOperations >/dev/null 2>&1 && echo 1 || echo 0)
temp=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
cleanup() {
    wine reg delete "$app_paths" /f >/dev/null 2>&1 || true
    wine reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
    [ "$pending_before" = 1 ] || wine reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
    [ -z "$program" ] || rm -rf "$program"
    rm -rf "$top"
    [ -z "$temp" ] || rm -rf "$temp"/~nsu*.tmp
}
trap cleanup EXIT INT TERM
check() {
    if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
# value NAME: a REG_SZ value of the uninstall entry, empty when absent.
value() {
    wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}
entry_present() { wine reg query "$uninstall_key" >/dev/null 2>&1; }

# uninstall: runs the registered uninstaller silently. It copies itself to the
# temporary folder and returns at once, so its end is awaited.
uninstall() {
    command=$(value QuietUninstallString)
    [ -n "$command" ] || { echo "FAIL no QuietUninstallString"; failures=$((failures + 1)); return; }
    uninstaller=$(printf '%s' "$command" | sed 's/^"\([^"]*\)".*/\1/')
    wine "$uninstaller" /S </dev/null >/dev/null 2>&1
    for _ in $(seq 120); do entry_present || break; sleep 0.5; done
    sleep 1    # the entry goes last; let the copy exit
}

rm -rf "$top"
mkdir -p "$host" "$chosen"
# The reference host stands in for the host, under the name looked up.
cp "$build/bin/ombrix-host.exe" "$host/$host_exe"
wine reg add "$app_paths" /ve /d "$host_win\\$host_exe" /f >/dev/null 2>&1
wine reg add "$app_paths" /v Path /d "$host_win" /f >/dev/null 2>&1

echo "-- silent installation into the host's Plug-ins folder"
wine "$setup" /S </dev/null >/dev/null 2>&1 && status=0 || status=$?
check "the installer exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the module in the host's Plug-ins folder equals the built one" 'cmp -s "$module" "$host/Plug-ins/OmbrixImport.8ba"'
check "no temporary copy is left" '[ ! -e "$host/Plug-ins/OmbrixImport.8ba.partial" ]'
check "the uninstall entry names the version" '[ "$(value DisplayVersion)" = "$(basename "$setup" | sed "s/^OmbrixImport-//; s/-setup.exe$//")" ]'
check "the uninstall entry records the folder" '[ "$(value PluginFolder)" = "$host_win\\Plug-ins" ]'
program=$(winepath -u "$(value InstallLocation)" 2>/dev/null || true)
check "the uninstaller, guides and notices are installed" \
    '[ -f "$program/uninstall.exe" ] && [ -f "$program/THIRD-PARTY-NOTICES.txt" ] && [ -f "$program/user-guide.html" ]'

echo "-- silent uninstallation"
echo "mine" >"$host/Plug-ins/user-file.txt"
uninstall
check "the uninstall entry is gone" '! entry_present'
check "the module is gone" '[ ! -e "$host/Plug-ins/OmbrixImport.8ba" ]'
check "the user's file beside it survives" '[ "$(cat "$host/Plug-ins/user-file.txt")" = mine ]'
check "the program folder is gone" '[ -n "$program" ] && [ ! -e "$program" ]'
check "the host's executable is untouched" '[ -f "$host/$host_exe" ]'

echo "-- silent installation into a folder chosen with /D="
# /D= ends the command line unquoted, spaces and all, as typed at a prompt.
wine cmd /c "$(winepath -w "$setup") /S /D=$chosen_win" </dev/null >/dev/null 2>&1 && status=0 || status=$?
check "the installer exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the module in the chosen folder equals the built one" 'cmp -s "$module" "$chosen/OmbrixImport.8ba"'
check "nothing went into the host's Plug-ins folder" '[ ! -e "$host/Plug-ins/OmbrixImport.8ba" ]'
check "the uninstall entry records the chosen folder" '[ "$(value PluginFolder)" = "$chosen_win" ]'
uninstall
check "uninstalled: module and entry gone, the chosen folder stays" \
    '[ ! -e "$chosen/OmbrixImport.8ba" ] && ! entry_present && [ -d "$chosen" ]'

echo "-- a folder that cannot be written"
# Not even root may make a folder in /proc.
wine "$setup" /S '/D=Z:\proc\ombrix-installer-test' </dev/null >/dev/null 2>&1 && status=0 || status=$?
check "the installer exits with 3 (got $status)" '[ "$status" -eq 3 ]'
check "no uninstall entry is registered" '! entry_present'

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
