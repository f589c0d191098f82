#!/usr/bin/env bash
# run-in.sh CONFIG PROGRAM ARGS...: runs a Windows program of the build in the prefix of a
# configuration, with its code page, the bed's display and a scratch home. An argument
# --gtest_output=xml:/unix/path is rewritten to the Z: drive, which Wine needs.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/common.sh"
config=$1; shift
bed_env "$config"
args=()
for a in "$@"; do
  case "$a" in
    --gtest_output=xml:/*) mkdir -p "$(dirname "${a#--gtest_output=xml:}")"; args+=("--gtest_output=xml:Z:${a#--gtest_output=xml:}") ;;
    *) args+=("$a") ;;
  esac
done
exec "$LOADER" "${args[@]}" </dev/null
