#!/bin/sh
# The modules carry the commit's time as their PE time stamp, whichever
# script builds them and whenever, so that two builds of one commit are
# byte-identical: ld takes the time stamp from SOURCE_DATE_EPOCH.
#   source-date.sh note FILE ROOT        writes the time into FILE when it changed:
#                                        SOURCE_DATE_EPOCH if set, else ROOT's last commit
#   source-date.sh link FILE COMMAND...  runs the link command with the time in FILE
set -eu
mode=$1 file=$2
shift 2
case $mode in
    note)
        epoch=${SOURCE_DATE_EPOCH:-$(git -C "$1" log -1 --format=%ct 2>/dev/null || true)}
        [ -n "$epoch" ] || echo "source-date: not a git checkout and no SOURCE_DATE_EPOCH:" \
            "the modules carry the time they are linked" >&2
        # Left alone when unchanged: a new time alone relinks the modules.
        [ -f "$file" ] && [ "$(cat "$file")" = "$epoch" ] || printf '%s\n' "$epoch" >"$file"
        ;;
    link)
        epoch=$(cat "$file")
        if [ -n "$epoch" ]; then
            SOURCE_DATE_EPOCH=$epoch
            export SOURCE_DATE_EPOCH
        else
            unset SOURCE_DATE_EPOCH
        fi
        exec "$@"
        ;;
    *) echo "source-date.sh: unknown mode '$mode' (note, link)" >&2; exit 2 ;;
esac
