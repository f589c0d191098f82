#!/usr/bin/env bash
# uninstall_bench.sh [BUILD_DIR] [SIZES] [LEVELS]: times the list processing of
# "uninstall.exe /s" under Wine against a floor program that deletes every entry once with
# one call each, for installations of SIZES entries (default "10000 50000") in folders
# LEVELS deep (default "3 6"), listed in the best order (contents before folders) and the
# worst (folders before contents). Prints the seconds of a whole run, the seconds of the
# list processing (the whole run less that of a run over an empty list, which is the
# process start and the registry and shell removal), the ratio of that to the floor's, the
# passes and the file-system calls per entry (counted in a separate run under Wine's relay
# trace).
# Each time is the fastest of REPS runs (default 3), each on a fresh tree: other work on the
# machine only ever slows a run down. It prints figures; it is not a test. Runs in its own
# prefix (nt.1252) under BUILD_DIR.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$src/build-uninstall}" && pwd)
sizes=${2:-10000 50000}
levelsList=${3:-3 6}
reps=${REPS:-3}
work=$build/bench
mkdir -p "$work"
export ZELKOR_BED_DIR=$work/bed ZELKOR_WINE_LOADER=/usr/lib/wine/wine64
x86_64-w64-mingw32-g++ -O2 -static -o "$work/uninstall_floor.exe" "$src/bench/uninstall_floor.cpp"
bash "$src/tests/bed/server.sh" start nt.1252 >/dev/null
. "$src/tests/bed/common.sh"
bed_env nt.1252 2>/dev/null
unset DISPLAY
wine=/usr/lib/wine/wine64
drive=$WINEPREFIX/drive_c
run=0

# A fresh installation under C:\bench\runN; prints its Windows path.
prepare() {  # entries levels order
  run=$((run + 1))
  rm -rf "$drive/bench/run$run"
  python3 "$src/bench/make_tree.py" "$drive/bench/run$run" "$1" "$2" "$3" >/dev/null
  cp "$build/uninstall.exe" "$drive/bench/run$run/uninstall.exe"
  echo "C:\\bench\\run$run"
}

seconds() { python3 -c "import time; print('%.6f' % time.time())"; }

timed() {  # command...: prints elapsed seconds
  local t0 t1
  t0=$(seconds); "$@" >/dev/null 2>&1 </dev/null; t1=$(seconds)
  python3 -c "print('%.2f' % ($t1 - $t0))"
}

# Calls of the listed operations on paths under the folder, and the list rewinds.
count() {  # folder entries
  local relay=$work/relay.txt
  WINEDEBUG=+relay "$wine" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /f /d \
    'kernel32.GetFileAttributesA;kernel32.SetFileAttributesA;kernel32.DeleteFileA;kernel32.RemoveDirectoryA;kernel32.MoveFileA;kernel32.MoveFileExA;msvcrt.fseek' >/dev/null 2>&1
  WINEDEBUG=+relay "$wine" "$1\\uninstall.exe" /s 2>"$relay" </dev/null >/dev/null || true
  "$wine" reg delete 'HKCU\Software\Wine\Debug' /f >/dev/null 2>&1 || true
  python3 - "$relay" "$1" "$2" <<'PY'
import sys, re
relay, folder, entries = sys.argv[1], sys.argv[2], int(sys.argv[3])
prefix = folder.replace("\\", "\\\\") + "\\\\"
calls = passes = 0
for line in open(relay, "rb"):
    line = line.decode("latin-1")
    if ":Call " not in line:
        continue
    if "msvcrt.fseek" in line:
        passes += 1
    elif re.search(r"KERNEL32\.(GetFileAttributesA|SetFileAttributesA|DeleteFileA|RemoveDirectoryA|MoveFileA|MoveFileExA)\(", line) and prefix in line:
        calls += 1
print(passes, "%.2f" % (calls / entries))
PY
}

wait_scripts() { sleep 3; "$wine" cmd /c exit >/dev/null 2>&1 || true; }

fastest() { python3 -c "import sys; print('%.2f' % min(float(x) for x in sys.argv[1:]))" "$@"; }

# The fastest of reps runs of the floor or of the uninstall on fresh trees.
measure() {  # entries levels order
  local times=() i dir
  for ((i = 0; i < reps; i++)); do
    local order=$3
    [ "$order" = floor-empty ] && order=empty
    dir=$(prepare "$1" "$2" "$order")
    if [ "$3" = floor ] || [ "$3" = floor-empty ]; then
      times+=("$(timed "$wine" "$work/uninstall_floor.exe" "$dir")")
    else
      times+=("$(timed "$wine" "$dir\\uninstall.exe" /s)")
      wait_scripts
    fi
    rm -rf "$drive/bench/run$run"
  done
  fastest "${times[@]}"
}

row() { printf '%-8s %-6s %-6s %8s %8s %8s %6s %8s\n' "$@"; }
net() { python3 -c "import sys; print('%.2f' % max(0.0, float(sys.argv[1]) - float(sys.argv[2])))" "$1" "$2"; }
emptyRun=$(measure 0 1 empty)
emptyFloor=$(measure 0 1 floor-empty)
echo "fixed cost of a run (empty list): uninstall ${emptyRun} s, floor ${emptyFloor} s"
row entries levels order whole_s list_s x_floor passes calls/e
for n in $sizes; do
  for levels in $levelsList; do
    floor=$(measure "$n" "$levels" floor)
    floorNet=$(net "$floor" "$emptyFloor")
    row "$n" "$levels" floor "$floor" "$floorNet" 1.00 1 1.00
    for order in best worst; do
      t=$(measure "$n" "$levels" "$order")
      tNet=$(net "$t" "$emptyRun")
      dir=$(prepare "$n" "$levels" "$order")
      read -r passes perEntry < <(count "$dir" "$n")
      wait_scripts
      rm -rf "$drive/bench/run$run"
      ratio=$(python3 -c "print('%.2f' % (float('$tNet') / float('$floorNet')))")
      row "$n" "$levels" "$order" "$t" "$tNet" "$ratio" "$passes" "$perEntry"
    done
  done
done
rm -rf "$drive/bench"
bash "$src/tests/bed/server.sh" stop nt.1252 >/dev/null
