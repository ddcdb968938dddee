# Configuring a CMake tree so that a failure costs nothing the next run pays
# for; sourced by the scripts that build (". scripts/cmake-tree.sh").

# configure_tree SOURCE TREE [CMAKE_ARGS...]
# Configures TREE (Ninja when installed) unless it has a build system already.
# A configure that stops (a missing package, a library source not served)
# leaves a cache without one; that cache is removed, before and after, so
# that the next run configures afresh instead of building a half-configured
# tree (the logs in CMakeFiles/ stay to be read).
configure_tree() {
    ct_source=$1 ct_tree=$2
    shift 2
    if [ -f "$ct_tree/build.ninja" ] || [ -f "$ct_tree/Makefile" ]; then
        return 0
    fi
    rm -f "$ct_tree/CMakeCache.txt"
    ct_generator=""
    command -v ninja >/dev/null 2>&1 && ct_generator="-G Ninja"
    if ! cmake -S "$ct_source" -B "$ct_tree" $ct_generator "$@"; then
        rm -f "$ct_tree/CMakeCache.txt"
        echo "${0##*/}: configuring $ct_tree failed (the messages above say why);" \
            "its cache is not kept: the next run configures it again" >&2
        return 1
    fi
}

# set_cache TREE -DNAME=VALUE...
# Reconfigures a configured TREE with the settings when one of them differs
# from its cached value.
set_cache() {
    sc_tree=$1
    shift
    for sc_setting in "$@"; do
        sc_setting=${sc_setting#-D}
        if [ "$(sed -n "s/^${sc_setting%%=*}:[A-Z]*=//p" "$sc_tree/CMakeCache.txt")" != "${sc_setting#*=}" ]; then
            cmake "$@" "$sc_tree" >/dev/null ||
                { echo "${0##*/}: reconfiguring $sc_tree failed (the messages above say why)" >&2; return 1; }
            return 0
        fi
    done
}
