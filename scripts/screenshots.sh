#!/usr/bin/env bash
# Takes PNG screenshots of the dialogs SETUPDLG, CONTEXTITEMS and DONEDLG under Xvfb:
# in Chinese (code page 936; CJK glyphs from the Debian package fonts-wqy-microhei, which
# Wine uses for "宋体") and in English (the resource library kpxlng.dll, code page 1252),
# into docs/screenshots/<dialog>-<zh|en>.png. It builds nothing: give it an x86_64 build
# folder holding tests/ui/ui_showcase.exe and lang/kpxlng.dll (default build/x64).
#   scripts/screenshots.sh [BUILD_DIR]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/x64}" && pwd)
out=$root/docs/screenshots
showcase=$build/tests/ui/ui_showcase.exe
library=$build/lang/kpxlng.dll
for f in "$showcase" "$library"; do
  [ -f "$f" ] || { echo "missing $f: build the targets ui_showcase and kpxlng first" >&2; exit 1; }
done
import=/usr/bin/import   # /usr/local/bin/convert and friends may be stand-ins
[ -x "$import" ] || { echo "imagemagick's import is needed" >&2; exit 1; }

bed=$(mktemp -d /tmp/zelkor-shots.XXXXXX)
export ZELKOR_BED_DIR=$bed ZELKOR_WINE_LOADER=/usr/lib/wine/wine64
export ZELKOR_TEMPLATE_DIR=${ZELKOR_TEMPLATE_DIR:-$root/build/bed-templates}
cleanup() {
  for c in nt.936 nt.1252; do bash "$root/tests/bed/server.sh" stop "$c" >/dev/null 2>&1 || true; done
  bash "$root/tests/bed/display.sh" stop >/dev/null 2>&1 || true
  rm -rf "$bed"
}
trap cleanup EXIT
mkdir -p "$out"
bash "$root/tests/bed/display.sh" start >/dev/null

windows_path() { echo "Z:$1" | tr / '\\'; }

shoot() {  # config, language tag, extra showcase arguments...
  local config=$1 tag=$2; shift 2
  bash "$root/tests/bed/server.sh" start "$config" >/dev/null
  (
    . "$root/tests/bed/common.sh"
    bed_env "$config"
    mkdir -p "$WINEPREFIX/drive_c/zelkor-shots"
    signal=$WINEPREFIX/drive_c/zelkor-shots/signal.txt
    rm -f "$signal"
    "$LOADER" "$showcase" 'C:\zelkor-shots\signal.txt' "$@" </dev/null >/dev/null 2>&1 &
    pid=$!
    for _ in 1 2 3; do
      for _ in $(seq 600); do [ -s "$signal" ] && break; sleep 0.1; done
      [ -s "$signal" ] || { echo "no dialog appeared ($config)" >&2; exit 1; }
      read -r name left top right bottom <"$signal"
      file=$out/$(echo "$name" | tr 'A-Z' 'a-z')-$tag.png
      "$import" -display "$DISPLAY" -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$file"
      echo "$file"
      rm -f "$signal"
    done
    wait "$pid"
  )
  bash "$root/tests/bed/server.sh" stop "$config" >/dev/null
}

shoot nt.936 zh
shoot nt.1252 en "$(windows_path "$library")"
