# Wine's environment for every script of the project, in one place. Sourced:
#   . scripts/wine-env.sh; use_wine_prefix PREFIX
# makes PREFIX absolute (Wine takes no other) and exports it, with Wine's
# debug output off and without the Mono and Gecko installers. The graphics
# driver of a new prefix is OMBRIX_WINE_DRIVER: null (the default, no X
# server needed) or x11 (for screenshots).
use_wine_prefix() {
    case $1 in
        /*) WINEPREFIX=$1 ;;
        *) WINEPREFIX=$(pwd)/$1 ;;
    esac
    export WINEPREFIX
    export WINEDEBUG="${WINEDEBUG:--all}"
    export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
    export OMBRIX_WINE_DRIVER="${OMBRIX_WINE_DRIVER:-null}"
}
