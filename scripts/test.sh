#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the shipped 32-bit program, the
# 64-bit build of the same sources and the native build of the byte-level modules, runs
# their ctest suites (Wine tests in each configuration the host can run) and prints, per
# configuration, how many tests ran and passed. Exits non-zero when anything fails.
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=${JOBS:-2}
bash "$root/scripts/install-deps.sh" || exit 1
export ZELKOR_TEMPLATE_DIR=${ZELKOR_TEMPLATE_DIR:-$root/build/bed-templates}
status=0
rm -rf "$root/build/results"

build() {  # dir, cmake args...
  local dir=$1; shift
  cmake -S "$root" -B "$dir" "$@" >"$dir.configure.log" 2>&1 || { cat "$dir.configure.log"; return 1; }
  grep -h "Wine configurations" "$dir.configure.log" || true
  cmake --build "$dir" -j"$jobs" >"$dir.build.log" 2>&1 || { tail -60 "$dir.build.log"; return 1; }
}
run_ctest() {  # dir, results name
  local dir=$1
  (cd "$dir" && ctest --output-on-failure --timeout 900 ${CTEST_ARGS:-}) >"$dir.ctest.log" 2>&1
  local rc=$?
  grep -E "tests passed|Passed|Failed|\*\*\*|Not Run" "$dir.ctest.log" | grep -v "^ *Start" | tail -80
  [ $rc -eq 0 ] || { echo "--- failures in $dir:"; grep -B2 -A40 -E "Failure|FAILED|Failed" "$dir.ctest.log" | head -200; }
  mkdir -p "$root/build/results"; cp -r "$dir"/results/. "$root/build/results/" 2>/dev/null
  return $rc
}

mkdir -p "$root/build"
echo "== native build (byte-level modules under ASan/UBSan, fuzz target, key tool)"
build "$root/build/native" -DZELKOR_NATIVE=ON -DCMAKE_C_COMPILER=clang-14 -DCMAKE_CXX_COMPILER=clang++-14 \
  && { run_ctest "$root/build/native" || status=1; } || status=1
echo "== x86_64 build (the same sources, run under wine64)"
build "$root/build/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
  && { run_ctest "$root/build/x64" || status=1; } || status=1
echo "== i686 build (the shipped program)"
# Where this host cannot run 32-bit programs, their test programs are still built (so
# they compile for the shipped architecture) and not run.
i686_configs=$(bash "$root/tests/bed/configs.sh" wine i686 | tr ' ' ';')
build "$root/build/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  "-DZELKOR_CONFIGS=${i686_configs:-build-only}" \
  && { run_ctest "$root/build/i686" || status=1; } || status=1

python3 "$root/scripts/summary.py" "$root/build/results" || status=1
exit $status
