#!/usr/bin/env bash
# Installs what building and testing need on a Debian 12 machine; quick when all is there.
set -eu
packages="cmake make python3 g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64 wine32:i386 xvfb xauth
          clang-14 libclang-rt-14-dev fonts-wqy-microhei imagemagick x11-apps locales"
missing=""
for p in $packages; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
# Wine takes the code page from LC_ALL; the C library must know that locale for
# non-ASCII file names to work.
add_locales() {
  for l in zh_CN en_US; do
    locale -a 2>/dev/null | grep -qix "$l.utf-\?8" || $SUDO localedef -i $l -f UTF-8 $l.UTF-8
  done
}
if [ -z "$missing" ]; then add_locales; exit 0; fi
echo "installing:$missing"
dpkg --print-foreign-architectures | grep -qx i386 || $SUDO dpkg --add-architecture i386
$SUDO apt-get update -q >/dev/null
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends $missing >/dev/null
add_locales
