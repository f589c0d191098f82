#!/usr/bin/env bash
# Prints the Wine configurations this host can run for a build: configs.sh LOADER ARCH.
# A 64-bit build runs natively in a 64-bit prefix (the NT family without WOW64, and the
# older family through Version=win98). A 32-bit build needs a host that executes 32-bit
# code; where it can, it runs under WOW64, in a win32 prefix, and as the older family.
loader=$1 arch=$2
probe() { "$1" --version >/dev/null 2>&1; }
case "$arch" in
  x86_64) probe /usr/lib/wine/wine64 && echo "nt.936 nt.1252 win98.936" ;;
  *)      probe /usr/lib/wine/wine && echo "wow64.936 wow64.1252 nt.936 nt.1252 win98.936" ;;
esac
exit 0
