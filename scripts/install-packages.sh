#!/bin/sh
# Installs every Debian package the build, the tests and the screenshots need
# (clang-14, llvm-14 and libclang-rt-14-dev: the decode path's native build
# under AddressSanitizer, UndefinedBehaviorSanitizer and libFuzzer).
# Safe to run again: it only adds what is missing.
set -eu

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

need_update=0
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    need_update=1
fi

# Source packages (for FreeImage and its libraries) need deb-src entries.
src=/etc/apt/sources.list.d/debian.sources
if [ -f "$src" ] && grep -q '^Types: deb$' "$src"; then
    $SUDO sed -i 's/^Types: deb$/Types: deb deb-src/' "$src"
    need_update=1
elif [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list \
        && grep -q '^deb ' /etc/apt/sources.list; then
    grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $SUDO tee -a /etc/apt/sources.list >/dev/null
    need_update=1
fi

PACKAGES="cmake make ninja-build dpkg-dev patch nasm python3 python3-pil \
 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
 wine wine32:i386 wine64 fonts-wine fonts-dejavu-core icoutils xvfb imagemagick xauth \
 googletest nlohmann-json3-dev libcli11-dev libtiff-tools libjpeg-turbo-progs \
 nsis osslsigncode openssl zip unzip xdotool python3-markdown \
 clang-14 llvm-14 libclang-rt-14-dev"

missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
if [ -n "$missing" ] || [ "$need_update" -eq 1 ]; then
    $SUDO apt-get update -qq
fi
if [ -n "$missing" ]; then
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
fi
