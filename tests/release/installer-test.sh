#!/bin/sh
# The installer and its uninstaller under Wine, used silently as an
# administrator deploying them would, with the build's own host executable
# name registered under App Paths (the reference host stands in for it):
# installs byte for byte, a module held by a running host (exit 4, the old
# module kept, nothing stray), an uninstaller that may not write its own
# folder (exit 3), a reinstall through another spelling of the same folder,
# folders with blanks and accents, a quoted /D=, folders the installer made
# and the uninstaller removes, all-users and per-user installations side by
# side, folders that cannot be written (exit 3), no folder at all (exit 2),
# and, with a 64-bit module, both hosts at once: each named on the last
# page, and with one module held neither program changes anything.
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
# install_line ARGS: the installer, silently, with ARGS as typed at a prompt.
install_line() {
    wine cmd /c "$(winepath -w "$setup") /S $1" </dev/null >/dev/null 2>&1 && status=0 || status=$?
}
# install_to FOLDER_WIN [ARGS...]: /D= ends the line unquoted, blanks and all.
install_to() {
    folder=$1
    shift
    install_line "$* /D=$folder"
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
# with_window FOLDER_WIN: the installer with its window (into FOLDER_WIN, or
# the proposed folder when empty) and a person who clicks Install; what the
# person saw is in $said.
with_window() {
    wine cmd /c "$(winepath -w "$setup")${1:+ /D=$1}" </dev/null >/dev/null 2>&1 &
    run=$!
    said=$(wine "$build/bin/installer_dialogs.exe" "Ombrix Import" </dev/null 2>/dev/null | tr -d '\r') || true
    wait "$run" 2>/dev/null || true
}
# refused FOLDER_WIN MESSAGE: with its window, the message must be the
# installer's own and the folder page must stay for another try.
refused() {
    expected=$2
    with_window "$1"
    check "with its window: the installer says \"$expected\"" 'printf "%s\n" "$said" | grep -a "^message: " | grep -aqF "$expected"'
    check "with its window: the folder page stays" 'printf "%s\n" "$said" | grep -aq "^after: &Install"'
}
no_stray() { [ -z "$(find "$top" -name '*.partial' -o -name 'ns*.tmp')" ]; }
# temp_left: the uninstaller's copies in the temporary folder whose folder
# nothing removes. A copy cannot delete itself: it and then its folder go
# at the next start of Windows (the pending renames), or have gone already.
temp_left() {
    for _ in $(seq 25); do
        pending=$(wine reg query "$session" /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
        left=$(cd "$temp" && for folder in ns*.tmp; do
            [ ! -e "$folder" ] || printf '%s' "$pending" | grep -qF "\\$folder\\\\0" || echo "$folder"
        done)
        [ -n "$left" ] || return 0
        sleep 0.2
    done
    echo $left
}
# hold FOLDER: the 32-bit host loads the module in FOLDER, as an image editor
# that is running does; release ends it.
hold() {
    wine "$host/$host_exe" about "$(winepath -w "$1/OmbrixImport.8ba")" --dialogs person </dev/null >/dev/null 2>&1 &
    holder=$!
    # Wine maps a loaded module's file: the host holds it once /proc shows it.
    held=${1#"$top"/}/OmbrixImport.8ba
    for _ in $(seq 80); do
        grep -qsF "$held" /proc/[0-9]*/maps && break
        sleep 0.25
    done
}
release() {
    wine taskkill /f /im "$host_exe" >/dev/null 2>&1 || true
    kill "$holder" 2>/dev/null || true
    wait "$holder" 2>/dev/null || true
    for _ in $(seq 80); do
        grep -qsF "$held" /proc/[0-9]*/maps || break
        sleep 0.25
    done
}
# state: the installation as the disk and the registry show it (files with
# size and time, folders, the entry).
state() {
    find "$top" "$program_all" ! -name entry.reg \( -type f -printf '%p %s %T@\n' -o -printf '%p\n' \) 2>/dev/null |
        LC_ALL=C sort
    wine reg export "HKLM\\$entry" "$top_win\\entry.reg" /reg:64 /y >/dev/null 2>&1 &&
        iconv -f UTF-16 -t UTF-8 "$top/entry.reg"
}

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

echo "-- an uninstaller that may not write its own folder"
# As its copy in the temporary folder is told the program folder when a
# standard user starts it there (root may write anywhere under Wine).
wine "$(winepath -w "$program_all/uninstall.exe")" /S '/HANDOFF=Z:\proc' </dev/null >/dev/null 2>&1 && status=0 || status=$?
check "the uninstaller exits with 3, not with success (got $status)" '[ "$status" -eq 3 ]'
check "the module and the entry stay" '[ -f "$host/Plug-ins/OmbrixImport.8ba" ] && entry_present HKLM'

echo "-- an update while the host holds the module"
printf 'old' >>"$host/Plug-ins/OmbrixImport.8ba"
cp "$host/Plug-ins/OmbrixImport.8ba" "$top/old.8ba"
hold "$host/Plug-ins"
install
check "the installer exits with 4 (got $status)" '[ "$status" -eq 4 ]'
check "the module in use is the old one, untouched" 'cmp -s "$top/old.8ba" "$host/Plug-ins/OmbrixImport.8ba"'
check "nothing stray is left" 'no_stray'
uninstall HKLM
check "the uninstaller exits with 4 (got $status)" '[ "$status" -eq 4 ]'
check "the module and the entry stay" '[ -f "$host/Plug-ins/OmbrixImport.8ba" ] && entry_present HKLM'
refused "" "Plug-ins\\OmbrixImport.8ba is in use: the image editor is running."
release

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
left=$(temp_left)
check "the uninstaller's copy has left the temporary folder, with its folder${left:+ (left: $left)}" '[ -z "$left" ]'
check "the user's file in the chosen folder stays" '[ "$(cat "$chosen/user-file.txt")" = mine ]'
check "the all-users installation is untouched" '[ -f "$host/Plug-ins/OmbrixImport.8ba" ] && entry_present HKLM && [ -f "$program_all/uninstall.exe" ]'
uninstall HKLM
check "the all-users uninstaller exits with 0 (got $status)" '[ "$status" -eq 0 ]'
check "the all-users module, entry and program folder are gone" \
    '[ ! -e "$host/Plug-ins/OmbrixImport.8ba" ] && ! entry_present HKLM && [ ! -e "$program_all" ]'
check "the Plug-ins folder the installer made is gone with it" '[ ! -e "$host/Plug-ins" ]'
check "the host's executable is untouched" '[ -f "$host/$host_exe" ]'

echo "-- a folder and its parent made by the installer"
install_to "$top_win\\Image Editor\\Plug-ins"
check "the installer exits with 0 (got $status)" '[ "$status" -eq 0 ] && [ -f "$top/Image Editor/Plug-ins/OmbrixImport.8ba" ]'
uninstall HKLM
check "the uninstaller removes both folders (got $status)" '[ "$status" -eq 0 ] && [ ! -e "$top/Image Editor" ]'

echo "-- a quoted /D="
for line in "\"/D=$top_win\\Quoted folder\"" "/D=\"$top_win\\Quoted folder\""; do
    install_line "$line"
    check "$line: the installer exits with 0 (got $status)" '[ "$status" -eq 0 ]'
    check "$line: the module is in that folder" '[ -f "$top/Quoted folder/OmbrixImport.8ba" ]'
    uninstall HKLM
done

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
refused "$top_win\\Blocked" "The folder $top_win\\Blocked cannot be written."
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

    echo "-- both installed, the 32-bit module held: nothing changes, on disk or in the entry"
    hold "$host/Plug-ins"
    before=$(state)
    uninstall HKLM
    check "the uninstaller exits with 4 (got $status)" '[ "$status" -eq 4 ]'
    check "both modules, the entry and the folders are as before" '[ "$(state)" = "$before" ]'
    install
    check "the installer over it exits with 4 (got $status)" '[ "$status" -eq 4 ]'
    check "both modules, the entry and the folders are as before" '[ "$(state)" = "$before" ]'
    # The earlier 32-bit module would have to go from the host's folder.
    install_to "$top_win\\Image Editor\\Plug-ins"
    check "into another folder the installer exits with 4 (got $status)" '[ "$status" -eq 4 ]'
    check "nothing has changed, no folder made" '[ "$(state)" = "$before" ]'
    release
    uninstall HKLM
    check "one uninstaller removes both, and the folder it had not made stays" \
        '[ "$status" -eq 0 ] && [ ! -e "$host64/Plug-ins/OmbrixImport.8ba" ] && [ -d "$host64/Plug-ins" ] && [ ! -e "$host/Plug-ins" ] && ! entry_present HKLM'

    with_window ""
    # (Its words come in the console's code page: the accented folder is
    # known by its end.)
    check "with its window: the last page names both folders" \
        'printf "%s\n" "$said" | grep -a "^last page: " | grep -aF "$host64_win\\Plug-ins" | grep -aqF "images\\Plug-ins"'
    uninstall HKLM
fi

[ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }
echo "all checks passed"
