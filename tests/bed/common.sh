# Shared by the bed scripts: where things live and how a configuration maps to a prefix.
# Needs ZELKOR_BED_DIR and ZELKOR_WINE_LOADER in the environment (ctest sets them).
BED=${ZELKOR_BED_DIR:?ZELKOR_BED_DIR not set}
LOADER=${ZELKOR_WINE_LOADER:-wine}
WINESERVER=/usr/lib/wine/wineserver
mkdir -p "$BED"

config_kind() {   # config -> template kind
  local family=${1%%.*}
  case "$LOADER" in
    */wine64) echo win64 ;;
    *) [ "$family" = wow64 ] && echo win64 || echo win32 ;;
  esac
}
config_codepage() { echo "${1##*.}"; }
prefix_of() { echo "$BED/work/$1"; }

bed_env() {       # config -> exports for a Wine process of that configuration
  local config=$1
  export WINEPREFIX=$(prefix_of "$config")
  [ "$(config_kind "$config")" = win32 ] && export WINEARCH=win32 || export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
  export HOME="$BED/home" XDG_CONFIG_HOME="$BED/home/.config" XDG_DATA_HOME="$BED/home/.local/share"
  export XDG_CACHE_HOME="$BED/home/.cache" XDG_DESKTOP_DIR="$BED/home/Desktop"
  mkdir -p "$HOME"
  if [ "$(config_codepage "$config")" = 936 ]; then export LC_ALL=zh_CN.UTF-8; else export LC_ALL=en_US.UTF-8; fi
  [ -f "$BED/display" ] && export DISPLAY=$(cat "$BED/display") || unset DISPLAY
  export ZELKOR_CONFIG=$config
}
