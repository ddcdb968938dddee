#!/bin/sh
# The installer and its uninstaller under Wine, used silently as an
# administrator deploying them would, with the build's own host executable
# name registered under App Paths (the reference host stands in for it):
# installs byte for byte, a module held by a running host (exit 4, the old
# module kept, nothing stray), a reinstall through another spelling of the
# same folder, folders with blanks and accents, all-users and per-user
# installations side by side, folders that cannot be written (exit 3), no
# folder at all (exit 2), and, with a 64-bit module, both hosts at once.
# Everything written to the prefix is removed at the end.
# Usage: installer-test.sh BUILD SETUP RELEASE_DIR HOST_EXE [HOST64]
#   HOST64: a 64-bit program standing in for a 64-bit host (with a 64-bit module)
set -eu
build=$1 setup=$2 release=$3 host_exe=$4 host64_program=${5:-}
module32=$release/win32/OmbrixImport.8ba
module64=$release/win64/OmbrixImport.8ba
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env.sh"
use_wine_prefix "${OMBRIX_WINEPREFIX:-$build/wineprefix}"
"$root/scripts/wine-prefix.sh" "$WINEPREFIX"
# Wine turns the command line's UTF-8 into Windows' UTF-16 only in a UTF-8 locale.
export LC_ALL=C.UTF-8

windows='Software\Microsoft\Windows\CurrentVersion'
app_paths="$windows\\App Paths\\$host_exe"
entry="$windows\\Uninstall\\OmbrixImport"
top="$WINEPREFIX/drive_c/ombrix-installer-test"
top_win='C:\ombrix-installer-test'
failures=0

session='HKLM\System\CurrentControlSet\Control\Session Manager'
pending_before=$(wine reg query "$session" /v PendingFileRenameOperations >/dev/null 2>&1 && echo 1 || echo 0)
program_all="$WINEPREFIX/drive_c/Program Files/Ombrix Import"
temp=$(winepath -u "$(wine cmd /c echo %TEMP% 2>/dev/null | tr -d '\r')")
program_user=$(winepath -u "$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')")/Ombrix\ Import
cleanup() {
    wine reg delete "HKLM\\$app_paths" /reg:32 /f >/dev/null 2>&1 || true
    wine reg delete "HKLM\\$app_paths" /reg:64 /f >/dev/null 2>&1 || true
    wine reg delete "HKLM\\$entry" /reg:64 /f >/dev/null 2>&1 || true
    wine reg delete "HKCU\\$entry" /reg:64 /f >/dev/null 2>&1 || true
    wine reg delete "HKCU\\$app_paths" /f >/dev/null 2>&1 || true
    [ "$pending_before" = 1 ] || wine reg delete "$session" /v PendingFileRenameOperations /f >/dev/null 2>&1 || true
    rm -rf "$top" "$program_all" "$program_user"
    # The uninstaller's copies, left for Windows to delete at its next start.
    [ -z "$temp" ] || find "$temp" -maxdepth 2 -path "$temp/ns*.tmp/uninstall.exe" -delete
    [ -z "$temp" ] || find "$temp" -maxdepth 1 -name 'ns*.tmp' -type d -empty -delete
}
trap cleanup EXIT INT TERM
cleanup

check() {
    if eval "$2"; then echo "ok   $1"; else echo "FAIL $1"; failures=$((failures + 1)); fi
}
# value HIVE NAME: a string or DWORD of that hive's uninstall entry (64-bit
# view), empty when absent. Exported, since reg query writes the console's
# code page, which has no room for every letter.
value() {
    wine reg export "$1\\$entry" "$top_win\\entry.reg" /reg:64 /y >/dev/null 2>&1 || return 0
    iconv -f UTF-16 -t UTF-8 "$top/entry.reg" | tr -d '\r' |
        sed -n "s/^\"$2\"=\(\"\(.*\)\"\|dword:\(.*\)\)\$/\2\3/p" | sed 's/\\\(.\)/\1/g'
}
entry_present() { wine reg query "$1\\$entry" /reg:64 >/dev/null 2>&1; }
# register VIEW FOLDER_WIN: the host's App Paths entry in that registry view.
register() { wine reg add "HKLM\\$app_paths" /ve /d "$2\\$host_exe" /reg:"$1" /f >/dev/null 2>&1; }
# install ARGS...: the installer, silently; leaves its exit code in $status.
install() {
    wine "$setup" /S "$@" </dev/null >/dev/null 2>&1 && status=0 || status=$?
}
# install_to FOLDER_WIN [ARGS...]: /D= ends the line unquoted, blanks and all,
# as typed at a prompt.
install_to() {
    folder=$1
    shift
    wine cmd /c "$(winepath -w "$setup") /S $* /D=$folder" </dev/null >/dev/null 2>&1 && status=0 || status=$?
}
# uninstall HIVE: the entry's quiet uninstall command; its exit code in $status.
uninstall() {
    command=$(value "$1" QuietUninstallString)
    uninstaller=$(printf '%s' "$command" | sed 's/^"\([^"]*\)".*/\1/')
    wine "$uninstaller" /S </dev/null >/dev/null 2>&1 && status=0 || status=$?
    # The started uninstaller's own file and folder go just after it ends.
    folder=$(winepath -u "${uninstaller%\\*}")
    for _ in $(seq 50); do [ -e "$folder" ] || break; sleep 0.2; done
}
# with_window FOLDER_WIN MESSAGE: the installer with its window (into FOLDER_WIN,
# or the proposed folder when empty); Install is clicked, the message must
# be the installer's own and the folder page must stay for another try.
with_window() {
    expected=$2
    wine cmd /c "$(winepath -w "$setup")${1:+ /D=$1}" </dev/null >/dev/null 2>&1 &
    run=$!
    said=$(wine "$build/bin/installer_dialogs.exe" "Ombrix Import" </dev/null 2>/dev/null | tr -d '\r') || true
    check "with its window: the installer says \"$expected\"" 'printf "%s\n" "$said" | grep -a "^message: " | grep -aqF "$expected"'
    check "with its window: the folder page stays" 'printf "%s\n" "$said" | grep -aq "^after: &Install"'
    wait "$run" 2>/dev/null || true
}
no_stray() { [ -z "$(find "$top" -name '*.partial' -o -name 'ns*.tmp')" ]; }

# Stand-ins: the reference host under the host's name, in folders with
# blanks and accented letters.
host="$top/Éditeur d'images"
host_win="$top_win\\Éditeur d'images"
mkdir -p "$host"
cp "$build/bin/ombrix-host.exe" "$host/$host_exe"

echo "-- no host registered and no /D=: nothing to do"
install
check "the installer exits with 2 (got $status)" '[ "$status" -eq 2 ]'

echo "-- silent installation into the Plug-ins folder of the host found under App Paths"
register 32 "$host_win"
install
check "the installer exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the module in the host's Plug-ins folder equals the built one" 'cmp -s "$module32" "$host/Plug-ins/OmbrixImport.8ba"'
check "nothing stray is left" 'no_stray'
check "the entry records the folder" '[ "$(value HKLM PluginFolder32)" = "$host_win\\Plug-ins" ]'
check "the entry names the version and the support address" \
    '[ "$(value HKLM DisplayVersion)" = "$(basename "$setup" | sed "s/^OmbrixImport-//; s/-setup.exe$//")" ] && [ -n "$(value HKLM HelpLink)" ]'
check "the uninstaller, guides and notices are installed for all users" \
    '[ -f "$program_all/uninstall.exe" ] && [ -f "$program_all/THIRD-PARTY-NOTICES.txt" ] && [ -f "$program_all/user-guide.html" ]'

echo "-- an update while the host holds the module"
printf 'old' >>"$host/Plug-ins/OmbrixImport.8ba"
cp "$host/Plug-ins/OmbrixImport.8ba" "$top/old.8ba"
wine "$host/$host_exe" about "$host_win\\Plug-ins\\OmbrixImport.8ba" --dialogs person </dev/null >/dev/null 2>&1 &
holder=$!
# Wine maps a loaded module's file: the host holds it once /proc shows it.
for _ in $(seq 80); do
    grep -qs "Plug-ins/OmbrixImport.8ba" /proc/[0-9]*/maps && break
    sleep 0.25
done
install
check "the installer exits with 4 (got $status)" '[ "$status" -eq 4 ]'
check "the module in use is the old one, untouched" 'cmp -s "$top/old.8ba" "$host/Plug-ins/OmbrixImport.8ba"'
check "nothing stray is left" 'no_stray'
uninstall HKLM
check "the uninstaller exits with 4 (got $status)" '[ "$status" -eq 4 ]'
check "the module and the entry stay" '[ -f "$host/Plug-ins/OmbrixImport.8ba" ] && entry_present HKLM'
with_window "" "Plug-ins\\OmbrixImport.8ba is in use: the image editor is running."
wine taskkill /f /im "$host_exe" >/dev/null 2>&1 || true
kill "$holder" 2>/dev/null || true
wait "$holder" 2>/dev/null || true
for _ in $(seq 80); do
    grep -qs "Plug-ins/OmbrixImport.8ba" /proc/[0-9]*/maps || break
    sleep 0.25
done

echo "-- reinstalling through another spelling of the same folder"
z_spelling="Z:$(printf '%s' "$host/Plug-ins" | tr / '\\')"
install_to "$z_spelling"
check "the installer exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the module is there and is the new one" 'cmp -s "$module32" "$host/Plug-ins/OmbrixImport.8ba"'
check "the entry still knows the installer made the folder" '[ "$(value HKLM CreatedPluginFolder32)" = 00000001 ]'

echo "-- all-users and per-user installations, each uninstalled by its own uninstaller"
chosen="$top/Dossier choisi"
chosen_win="$top_win\\Dossier choisi"
install_to "$chosen_win" /CURRENTUSER
check "the per-user installation exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the per-user module is in the chosen folder" '[ -f "$chosen/OmbrixImport.8ba" ]'
check "its uninstaller is in the user's local application data" '[ -f "$program_user/uninstall.exe" ]'
echo "mine" >"$chosen/user-file.txt"
uninstall HKCU
check "the per-user uninstaller exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the per-user module, entry and program folder are gone" \
    '[ ! -e "$chosen/OmbrixImport.8ba" ] && ! entry_present HKCU && [ ! -e "$program_user" ]'
check "the user's file in the chosen folder stays" '[ "$(cat "$chosen/user-file.txt")" = mine ]'
check "the all-users installation is untouched" '[ -f "$host/Plug-ins/OmbrixImport.8ba" ] && entry_present HKLM && [ -f "$program_all/uninstall.exe" ]'
uninstall HKLM
check "the all-users uninstaller exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the all-users module, entry and program folder are gone" \
    '[ ! -e "$host/Plug-ins/OmbrixImport.8ba" ] && ! entry_present HKLM && [ ! -e "$program_all" ]'
check "the Plug-ins folder the installer made is gone with it" '[ ! -e "$host/Plug-ins" ]'
check "the host's executable is untouched" '[ -f "$host/$host_exe" ]'

echo "-- folders that cannot be written"
# Not even root may write into /proc or make a folder there.
for folder in 'Z:\proc' 'Z:\proc\ombrix-installer-test'; do
    install_to "$folder"
    check "$folder: the installer exits with 3 (got $status)" '[ "$status" -eq 3 ]'
    check "$folder: no entry is registered" '! entry_present HKLM'
done

# Root may write anywhere under Wine: a folder standing where the temporary
# copy goes makes writing fail as a folder without rights would.
mkdir -p "$top/Blocked/OmbrixImport.8ba.partial"
with_window "$top_win\\Blocked" "The folder $top_win\\Blocked cannot be written."
check "no entry is registered" '! entry_present HKLM'

if [ -n "$host64_program" ]; then
    echo "-- a 64-bit and a 32-bit host: each gets its own module"
    host64="$top/Image Editor 64"
    host64_win="$top_win\\Image Editor 64"
    mkdir -p "$host64/Plug-ins"
    cp "$host64_program" "$host64/$host_exe"
    # Wine keeps one App Paths key for both views: the 32-bit host moves to
    # the user's entry, and the installer tells the two apart by their headers.
    wine reg delete "HKLM\\$app_paths" /reg:32 /f >/dev/null 2>&1
    wine reg add "HKCU\\$app_paths" /ve /d "$host_win\\$host_exe" /f >/dev/null 2>&1
    register 64 "$host64_win"
    install
    check "the installer exits with 0 (got $status)" '[ "$status" -eq 0 ]'
    check "the 64-bit host's Plug-ins folder has the 64-bit module" 'cmp -s "$module64" "$host64/Plug-ins/OmbrixImport.8ba"'
    check "the 32-bit host's Plug-ins folder has the 32-bit module" 'cmp -s "$module32" "$host/Plug-ins/OmbrixImport.8ba"'
    uninstall HKLM
    check "one uninstaller removes both, and the folder it had not made stays" \
        '[ "$status" -eq 0 ] && [ ! -e "$host64/Plug-ins/OmbrixImport.8ba" ] && [ -d "$host64/Plug-ins" ] && [ ! -e "$host/Plug-ins" ] && ! entry_present HKLM'
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
