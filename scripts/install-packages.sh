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
# The security suite's sources too: apt lists the versions with Debian's
# security fixes, and the FreeImage build builds the versions apt lists.
# Its archive sits beside the main one's, under the same address + "-security".
codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
archive=$([ -f "$src" ] && sed -n 's/^URIs: *\([^ ]*\).*/\1/p' "$src" | head -n 1)
if [ -n "$archive" ] && [ -n "$codename" ] && ! grep -q "^Suites:.*$codename-security" "$src"; then
    printf '\nTypes: deb deb-src\nURIs: %s-security\nSuites: %s-security\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' \
        "${archive%/}" "$codename" | $SUDO tee -a "$src" >/dev/null
    need_update=1
fi

PACKAGES="cmake make ninja-build dpkg-dev patch nasm python3 python3-pil \
 g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix binutils-mingw-w64-i686 \
 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
 wine wine32:i386 wine64 fonts-wine fonts-dejavu-core icoutils xvfb imagemagick xauth \
 googletest nlohmann-json3-dev libcli11-dev libtiff-tools libjpeg-turbo-progs \
 nsis osslsigncode openssl zip unzip xdotool python3-markdown \
 clang-14 llvm-14 libclang-rt-14-dev \
 darktable rawtherapee libvips-tools graphicsmagick libimage-exiftool-perl exiv2"

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
