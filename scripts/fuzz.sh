#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour sanitizers) and runs each from its
# corpus in the repository: the hand-made seeds (their folders below) and the inputs earlier campaigns grew,
# minimized, in fuzz/grown/<target>/. New inputs go to a work corpus in the build tree, crashes to its
# artifacts folder, libFuzzer's output to build/fuzz/fuzz-logs/<target>.log; the script fails when a fuzzer
# finds anything (crash, leak, time-out, broken invariant) and then prints the end of that fuzzer's log.
#
# Usage: fuzz.sh [SECONDS] [--runs N] [--merge] [--coverage] [--targets "T1 T2 ..."]
#   SECONDS          run each target for this time (default 20; or FUZZ_SECONDS)
#   --runs N         run each target to N executions instead (libFuzzer -runs=N)
#   --merge          minimize each target's seeds, grown corpus and work corpus (-merge=1) into
#                    fuzz/grown/<target>/: the inputs that reach code edges the seeds do not; the seeds stay
#                    as they are
#   --coverage       build the targets again with clang's source-based coverage (-fprofile-instr-generate
#                    -fcoverage-mapping, no sanitizers) in FUZZ_COVERAGE_DIR, replay the seeds and the grown
#                    corpus (-runs=0) and print the line, region and function coverage of each target's own
#                    parser sources (llvm-cov report on the files of the table 'sources' below)
#   --targets "..."  the targets to work on (default: all of them; or FUZZ_TARGETS)
# --merge and --coverage alone do not fuzz; with SECONDS or --runs they come after the runs, in that order.
# At the end it prints per target the executions libFuzzer reported, the wall time and the corpus size.
#
#   FUZZ_BUILD_DIR     fuzzing build tree (default build/fuzz)
#   FUZZ_COVERAGE_DIR  coverage build tree (default build/fuzz-coverage)
#   FUZZ_JOBS          build jobs (default 2); every fuzzer runs as one process
#
# Examples: fuzz.sh 10 (the test command's short run); fuzz.sh --runs 1000000 --merge --coverage (a campaign,
# docs/reliability.md); fuzz.sh --coverage --targets page_answer_fuzzer.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=${FUZZ_BUILD_DIR:-$root/build/fuzz}
covbuild=${FUZZ_COVERAGE_DIR:-$root/build/fuzz-coverage}
jobs=${FUZZ_JOBS:-2}
targets=${FUZZ_TARGETS:-registry_file_fuzzer profile_value_fuzzer driver_answer_fuzzer rcreader_fuzz script_reader_fuzzer page_answer_fuzzer}
grown_root=fuzz/grown

# Each fuzzer with the folder of its seeds.
declare -A seeds=(
  [registry_file_fuzzer]=tests/platform/registry/corpus
  [profile_value_fuzzer]=fuzz/corpus/profile_value_fuzzer
  [driver_answer_fuzzer]=fuzz/corpus/driver_answer_fuzzer
  [rcreader_fuzz]=tests/resources/corpus
  [script_reader_fuzzer]=tests/runner/corpus/script_reader_fuzzer
  [page_answer_fuzzer]=fuzz/corpus/page_answer_fuzzer
)
# Dictionaries of the fuzzers that have one.
declare -A dictionary=(
  [script_reader_fuzzer]=tests/runner/corpus/script_reader_fuzzer.dict
)
# The parser sources each fuzzer is there for: its coverage is measured on these files only.
declare -A sources=(
  [registry_file_fuzzer]="platform/host/registry/RegistryTextParser.cpp platform/host/registry/RegistryTextFormat.cpp
    platform/host/registry/TextEscapes.cpp platform/host/registry/RegistryTypeNames.cpp"
  [profile_value_fuzzer]="profiles/ProfileDecoding.cpp profiles/ProfileEncoding.cpp profiles/ProfileStore.cpp"
  [driver_answer_fuzzer]="adapter/NdisEnvelopes.cpp adapter/WlanAdapter.cpp adapter/LinkOperations.cpp
    adapter/SecurityOperations.cpp adapter/RequestSteps.cpp"
  [rcreader_fuzz]="framework/rcreader/src/*.cpp"
  [script_reader_fuzzer]="tools/runner/ScriptReader.cpp tools/runner/ScriptWords.cpp"
  [page_answer_fuzzer]="pages/SiteSurveyPageScan.cpp pages/LinkInfoPageTexts.cpp pages/AboutPageFirmware.cpp"
)

usage() {
  sed -n '/^# Usage:/,/^set -euo/p' "$0" | sed '$d; s/^# \{0,1\}//' >&2
  exit 2
}

seconds=
runs=
merge=0
coverage=0
while [ $# -gt 0 ]; do
  case $1 in
    --runs) runs=${2:-}; shift 2 || usage ;;
    --merge) merge=1; shift ;;
    --coverage) coverage=1; shift ;;
    --targets) targets=${2:-}; shift 2 || usage ;;
    -h | --help) usage ;;
    -*) echo "fuzz.sh: unknown option $1" >&2; usage ;;
    *) seconds=$1; shift ;;
  esac
done
fuzz=1
if [ -z "$seconds" ] && [ -z "$runs" ]; then
  if [ $merge = 1 ] || [ $coverage = 1 ]; then
    fuzz=0
  else
    seconds=${FUZZ_SECONDS:-20}
  fi
fi
if [ -n "$seconds" ] && [ -n "$runs" ]; then
  echo "fuzz.sh: give SECONDS or --runs, not both" >&2
  exit 2
fi
for number in "$seconds" "$runs"; do
  case $number in
    *[!0-9]*) echo "fuzz.sh: '$number' is not a whole number" >&2; exit 2 ;;
  esac
done
if [ "$seconds" = 0 ] || [ "$runs" = 0 ]; then
  echo "fuzz.sh: 0 would mean no limit to libFuzzer" >&2
  exit 2
fi
for target in $targets; do
  [ -n "${seeds[$target]:-}" ] || { echo "fuzz.sh: no fuzzer $target" >&2; exit 2; }
done

# configure_and_build DIR [cmake options...]: the targets in a clang build tree of their own.
configure_and_build() {
  local dir=$1
  shift
  CC=clang CXX=clang++ cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWLAN_FUZZ=ON \
    -DWLAN_TESTS=ON "$@" >/dev/null
  # shellcheck disable=SC2086
  cmake --build "$dir" -j "$jobs" --target $targets
}

executable() {
  local exe
  exe=$(find "$1" -name "$2" -type f -perm -u+x -print -quit)
  if [ -z "$exe" ]; then
    echo "fuzz.sh: $2 was not built in $1" >&2
    exit 1
  fi
  echo "$exe"
}

# The corpus folders of a target that exist, seeds first.
corpus_dirs() {
  local dir
  for dir in "$root/${seeds[$1]}" "$root/$grown_root/$1"; do
    [ -d "$dir" ] && echo "$dir"
  done
  return 0
}

# "F files, B bytes" of the seeds and the grown corpus together.
corpus_size() {
  local files=0 bytes=0 dir
  while read -r dir; do
    files=$((files + $(find "$dir" -type f | wc -l)))
    bytes=$((bytes + $(find "$dir" -type f -printf '%s\n' | awk '{s += $1} END {print s + 0}')))
  done < <(corpus_dirs "$1")
  echo "$files files, $bytes bytes"
}

declare -A summary=()
findings=()

if [ $fuzz = 1 ]; then
  configure_and_build "$build" -DWLAN_SANITIZE=address,undefined
  for target in $targets; do
    exe=$(executable "$build" "$target")
    work=$build/fuzz-work/$target
    artifacts=$build/fuzz-artifacts/$target
    log=$build/fuzz-logs/$target.log
    mkdir -p "$work" "$artifacts" "$(dirname "$log")"
    mapfile -t dirs < <(corpus_dirs "$target")
    options=(-print_final_stats=1 -artifact_prefix="$artifacts/")
    [ -n "${dictionary[$target]:-}" ] && options+=("-dict=$root/${dictionary[$target]}")
    if [ -n "$runs" ]; then
      options+=("-runs=$runs")
      echo "== $target: $runs executions"
    else
      options+=("-max_total_time=$seconds")
      echo "== $target: ${seconds}s"
    fi
    start=$(date +%s.%N)
    status=0
    # libFuzzer's progress goes to the log only; a finding prints the log's end, where its report is.
    "$exe" "${options[@]}" "$work" "${dirs[@]}" >"$log" 2>&1 || status=$?
    wall=$(echo "$start $(date +%s.%N)" | awk '{printf "%.0f", $2 - $1}')
    executed=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    summary[$target]="${executed:-?} executions in ${wall} s"
    if [ $status != 0 ]; then
      tail -n 60 "$log"
      findings+=("$target (exit $status; log $log, artifacts in $artifacts)")
      summary[$target]+=", FINDING"
    fi
  done
fi

if [ $merge = 1 ]; then
  [ $fuzz = 1 ] || configure_and_build "$build" -DWLAN_SANITIZE=address,undefined
  for target in $targets; do
    exe=$(executable "$build" "$target")
    grown=$root/$grown_root/$target
    out=$build/fuzz-merge/$target
    rm -rf "$out"
    mkdir -p "$out" "$grown"
    # The seeds go into the output first, so the merge keeps only inputs that add to them; then they leave.
    # Only edges count (-use_counters=0), not how often each runs: a few hundred files instead of thousands,
    # with the same coverage.
    seeddir=$root/${seeds[$target]}
    [ -d "$seeddir" ] && cp "$seeddir"/* "$out"/
    inputs=("$grown")
    [ -d "$build/fuzz-work/$target" ] && inputs+=("$build/fuzz-work/$target")
    echo "== $target: merge into $grown_root/$target"
    "$exe" -merge=1 -use_counters=0 "$out" "${inputs[@]}" >"$build/fuzz-merge/$target.log" 2>&1 ||
      { cat "$build/fuzz-merge/$target.log" >&2; echo "fuzz.sh: the merge of $target failed" >&2; exit 1; }
    if [ -d "$seeddir" ]; then
      for seed in "$seeddir"/*; do
        rm -f "$out/$(basename "$seed")"
      done
    fi
    rm -rf "$grown"
    mkdir -p "$grown"
    [ -n "$(ls -A "$out")" ] && mv "$out"/* "$grown"/
    echo "   $(corpus_size "$target") (seeds and grown)"
  done
fi

if [ $coverage = 1 ]; then
  flags="-fprofile-instr-generate -fcoverage-mapping"
  # No base folder for ccache here: it would make the source paths in the coverage mapping relative, and the
  # report could not pick the files below by name.
  CCACHE_BASEDIR='' configure_and_build "$covbuild" -DWLAN_SANITIZE= "-DCMAKE_C_FLAGS=$flags" "-DCMAKE_CXX_FLAGS=$flags" \
    "-DCMAKE_EXE_LINKER_FLAGS=-fprofile-instr-generate"
  for target in $targets; do
    exe=$(executable "$covbuild" "$target")
    profiles=$covbuild/profiles/$target
    rm -rf "$profiles"
    mkdir -p "$profiles"
    mapfile -t dirs < <(corpus_dirs "$target")
    LLVM_PROFILE_FILE="$profiles/replay.profraw" "$exe" -runs=0 "${dirs[@]}" >"$profiles/replay.log" 2>&1 ||
      { cat "$profiles/replay.log" >&2; echo "fuzz.sh: the replay of $target failed" >&2; exit 1; }
    llvm-profdata merge -sparse "$profiles/replay.profraw" -o "$profiles/replay.profdata"
    # llvm-cov names files by their full paths; the patterns expand in the source tree.
    # shellcheck disable=SC2086
    mapfile -t files < <(cd "$root" && for file in ${sources[$target]}; do echo "$root/$file"; done)
    echo "== $target: coverage of its parser sources by $(corpus_size "$target")"
    llvm-cov report "$exe" -instr-profile="$profiles/replay.profdata" "${files[@]}" | tee "$profiles/report.txt"
    # TOTAL: regions, missed, cover, functions, missed, executed, lines, missed, cover.
    cover=$(awk '$1 == "TOTAL" {printf "lines %s, regions %s, functions %s", $10, $4, $7}' \
      "$profiles/report.txt")
    summary[$target]="${summary[$target]:+${summary[$target]}; }$cover"
  done
fi

echo "== summary"
for target in $targets; do
  echo "$target: ${summary[$target]:-}${summary[$target]:+; }corpus $(corpus_size "$target")"
done
if [ ${#findings[@]} -gt 0 ]; then
  printf 'fuzz.sh: finding in %s\n' "${findings[@]}" >&2
  exit 1
fi
