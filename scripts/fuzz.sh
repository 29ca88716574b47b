#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs each for a
# bounded time, starting from its seed corpus in fuzz/corpus/<target>/. New inputs go to a work corpus in the
# build tree, crashes to its artifacts folder; the script fails when a fuzzer finds a crash.
#
# Usage: fuzz.sh [SECONDS]
#   SECONDS          time per target (default 20; or FUZZ_SECONDS)
#   FUZZ_BUILD_DIR   build tree (default build/fuzz)
#   FUZZ_TARGETS     targets to run (default: all of them)
#   FUZZ_JOBS        build jobs (default 2)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
seconds=${1:-${FUZZ_SECONDS:-20}}
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
# Each fuzzer with the folder of its seed corpus.
declare -A corpus=(
  [registry_file_fuzzer]=tests/platform/registry/corpus
  [profile_value_fuzzer]=fuzz/corpus/profile_value_fuzzer
  [driver_answer_fuzzer]=fuzz/corpus/driver_answer_fuzzer
  [rcreader_fuzz]=tests/resources/corpus
  [script_reader_fuzzer]=tests/runner/corpus/script_reader_fuzzer
)
# Dictionaries of the fuzzers that have one.
declare -A dictionary=(
  [script_reader_fuzzer]=tests/runner/corpus/script_reader_fuzzer.dict
)
targets=${FUZZ_TARGETS:-registry_file_fuzzer profile_value_fuzzer driver_answer_fuzzer rcreader_fuzz script_reader_fuzzer}
jobs=${FUZZ_JOBS:-2}

case $seconds in
  '' | *[!0-9]*) echo "fuzz.sh: SECONDS must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DWLAN_FUZZ=ON -DWLAN_SANITIZE=address,undefined -DWLAN_TESTS=ON >/dev/null
# shellcheck disable=SC2086
cmake --build "$build" -j "$jobs" --target $targets

for target in $targets; do
  exe=$(find "$build" -name "$target" -type f -perm -u+x -print -quit)
  if [ -z "$exe" ]; then
    echo "fuzz.sh: $target was not built" >&2
    exit 1
  fi
  work=$build/fuzz-work/$target
  artifacts=$build/fuzz-artifacts/$target
  mkdir -p "$work" "$artifacts"
  seeds=()
  [ -n "${corpus[$target]:-}" ] && [ -d "$root/${corpus[$target]}" ] && seeds=("$root/${corpus[$target]}")
  dict=()
  [ -n "${dictionary[$target]:-}" ] && dict=("-dict=$root/${dictionary[$target]}")
  echo "== $target: ${seconds}s"
  "$exe" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/" "${dict[@]}" \
    "$work" "${seeds[@]}"
done
