#!/usr/bin/env bash
# server.sh start|stop CONFIG: gives a configuration a fresh prefix cloned from its booted
# template (booting the template first when missing) and keeps one Wine server running
# for it, so that test processes start warm; stop ends that server.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
action=$1 config=$2
kind=$(config_kind "$config")
template="${ZELKOR_TEMPLATE_DIR:-$BED/templates}/$kind"

boot_template() {
  rm -rf "$template.tmp"; mkdir -p "$(dirname "$template")"
  ( export WINEPREFIX="$template.tmp" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
    export HOME="$BED/home"; mkdir -p "$HOME"; unset DISPLAY
    [ "$kind" = win32 ] && export WINEARCH=win32 || export WINEARCH=win64
    boot=/usr/lib/wine/wine64; [ "$kind" = win32 ] && boot=/usr/lib/wine/wine
    "$boot" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$WINESERVER" -w
    # Replace the links to $HOME that wineboot makes, so shortcuts stay in the prefix.
    for d in "$WINEPREFIX"/drive_c/users/*/*; do
      if [ -L "$d" ]; then rm "$d"; mkdir -p "$d"; fi
    done )
  mv "$template.tmp" "$template"
}

clone_template() {
  local dst=$1
  rm -rf "$dst"; mkdir -p "$dst"
  # A hard-linked registry would be rewritten in place; only the big system folders are linked.
  tar -C "$template" --exclude=./drive_c/windows/system32 --exclude=./drive_c/windows/syswow64 \
      --exclude=./drive_c/windows/winsxs -cf - . | tar -C "$dst" -xf -
  for d in system32 syswow64 winsxs; do
    [ -d "$template/drive_c/windows/$d" ] && cp -al "$template/drive_c/windows/$d" "$dst/drive_c/windows/$d"
  done
  return 0
}

case "$action" in
  start)
    mkdir -p "$(dirname "$template")"; exec 9>"$template.lock"; flock 9
    [ -d "$template" ] || boot_template
    flock -u 9
    bed_env "$config"
    # Wine takes the Unix charset of file names from the locale; a missing locale makes it
    # ASCII, and every non-ASCII file name then fails.
    if ! locale -a 2>/dev/null | grep -qix "${LC_ALL/UTF-8/utf8}"; then
      echo "locale $LC_ALL is not installed: localedef -i ${LC_ALL%%.*} -f UTF-8 $LC_ALL" >&2
      exit 1
    fi
    "$WINESERVER" -k 2>/dev/null || true
    clone_template "$WINEPREFIX"
    # Drive T: for tests of an installation at a drive root (C:\zelkor-tests\drive-t).
    ln -sfn ../drive_c/zelkor-tests/drive-t "$WINEPREFIX/dosdevices/t:"
    "$WINESERVER" -p </dev/null >/dev/null 2>&1
    loader=$LOADER
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1
    "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1
    if [ "${config%%.*}" = win98 ]; then
      "$loader" reg add 'HKCU\Software\Wine' /v Version /d win98 /f </dev/null >/dev/null 2>&1
    fi
    echo "prefix $WINEPREFIX ready ($kind, code page $(config_codepage "$config"))"
    ;;
  stop)
    bed_env "$config"
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    ;;
esac
