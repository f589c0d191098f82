#!/usr/bin/env bash
# display.sh start|stop: one Xvfb for the whole run; its display name is kept in the bed.
set -u
BED=${ZELKOR_BED_DIR:?ZELKOR_BED_DIR not set}; mkdir -p "$BED"
case "$1" in
  start)
    [ -f "$BED/display.pid" ] && kill "$(cat "$BED/display.pid")" 2>/dev/null
    for n in $(seq 91 140); do
      [ -e /tmp/.X11-unix/X$n ] || [ -e /tmp/.X$n-lock ] && continue
      Xvfb :$n -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
      echo $! >"$BED/display.pid"
      for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
      echo ":$n" >"$BED/display"; echo "display :$n"; exit 0
    done
    echo "no free display" >&2; exit 1 ;;
  stop)
    [ -f "$BED/display.pid" ] && kill "$(cat "$BED/display.pid")" 2>/dev/null
    rm -f "$BED/display" "$BED/display.pid"; exit 0 ;;
esac
