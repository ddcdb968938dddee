# Wine's environment for every script of the project, in one place. Sourced:
#   . scripts/wine-env.sh; use_wine_prefix PREFIX
# makes PREFIX absolute (Wine takes no other) and exports it, with Wine's
# debug output off and without the Mono and Gecko installers. The graphics
# driver of a new prefix is OMBRIX_WINE_DRIVER: null (the default, no X
# server needed) or x11 (for screenshots).
# Wine takes the code page from the locale's name (C.UTF-8: 1252, the
# Western Windows the tests stand for) and reads Unix file names in the
# locale's character set, which must be installed: C.UTF-8 always is. A
# locale set already (the French tests' fr_FR.UTF-8) is kept; where it is not
# installed, Unix names outside ASCII do not reach Windows.
use_wine_prefix() {
    case $1 in
        /*) WINEPREFIX=$1 ;;
        *) WINEPREFIX=$(pwd)/$1 ;;
    esac
    export WINEPREFIX
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    export OMBRIX_WINE_DRIVER="${OMBRIX_WINE_DRIVER:-null}"
    export LC_ALL="${LC_ALL:-C.UTF-8}"
}
