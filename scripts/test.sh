#!/usr/bin/env bash
# The project's one test command: sets up what a fresh Debian 12 machine lacks, builds what it tests and runs
# every test: the host tests under the address and undefined-behaviour sanitizers, the fault matrix and an
# hour's soak, the threaded tests and the scenario suite under the thread sanitizer, the Windows build's tests
# and end-to-end cases under 64-bit Wine, the release (32-bit program, zip and installer) and its import
# checks, the idle benchmark's goals on the plain host build, and each fuzzer for a bounded time.
# Each source is built once per purpose: the plain host build holds only the benchmark (its counts need the
# plain allocator; every host test runs under the sanitizers), the 32-bit build only what ships.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
# Each stage's heading tells when it began, in seconds since the command started.
stage() { echo "=== $* (at ${SECONDS} s)"; }
# Seconds per fuzzer (scripts/fuzz.sh); 0 skips fuzzing.
fuzz_seconds=${WLAN_FUZZ_SECONDS:-10}
# Under the thread sanitizer only what runs threads: the scenario runners and the tests labelled "threads".
tsan_targets=(wlanrun wlanrun_testapp shell_tests platform_kernel_tests platform_hostsim_tests
  adapter_thread_tests platform_threads_tests)

for preset in host-asan win32-x64; do
  stage "$preset: configure and build"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done
stage "win32-i686: configure and build (the release)"
cmake --preset win32-i686 >/dev/null
cmake --build --preset win32-i686 --target release
stage "host: configure and build (the idle benchmark)"
cmake --preset host >/dev/null
cmake --build --preset host --target wlan_idle_bench
stage "host-tsan: configure and build (${tsan_targets[*]})"
cmake --preset host-tsan >/dev/null
cmake --build --preset host-tsan --target "${tsan_targets[@]}"

# check NAME COMMAND...: runs one checking stage, its output also kept in build/test-logs/, and notes its
# outcome for the summary at the end: the last lines of the output then say what failed, with the end of that
# stage's output (where ctest, the fault matrix and the soak name what failed), however long the stages after
# it printed.
failed=()
checks=0
logs=build/test-logs
rm -rf "$logs"
mkdir -p "$logs"
check() {
  local name=$1 log
  shift
  checks=$((checks + 1))
  log="$logs/$checks.log"
  stage "$name"
  if ! "$@" 2>&1 | tee "$log"; then
    failed+=("$name|$log")
  fi
}

check "host-asan: tests" ctest --preset host-asan
check "host: the idle benchmark's goals" ctest --preset host -R '^bench[.]'
check "win32-i686: the release's tests" ctest --preset win32-i686 -R '^(wlanutil_imports|imports_.*)$'
# Every request site and registry write against every fault, under the address and undefined-behaviour
# sanitizers (docs/fault-matrix.md); the table goes to the build folder, docs/ keeps the reviewed one.
check "host-asan: fault matrix" scripts/faults.sh --no-build --report build/host-asan/faults/fault-matrix.md
# One virtual hour of random world and user on each kind, at rest and counted every half hour
# (docs/reliability.md has the day-long figures).
check "host-asan: soak" scripts/soak.sh --no-build --preset host-asan --hours 1 --rest-every 30
# What we ship imports only functions that Windows 95, 98/Me, NT 4 and 2000 export.
version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\).*/\1.\2.\3.\4/p' res/wlanutil.rc)
check "win32-i686: imports of the program and the installer" \
  python3 packaging/imports/check-imports.py packaging/imports/windows-exports.tsv \
  "build/win32-i686/packaging/wlanutil-$version/wlanutil.exe" "build/win32-i686/packaging/wlanutil-$version-setup.exe"
check "host-tsan: threaded tests and scenarios" ctest --preset host-tsan -L 'scenario|threads'
# The Windows tests run under 64-bit Wine on a private X display.
check "win32-x64: tests under Wine" scripts/xvfb-session.sh ctest --preset win32-x64
WINEPREFIX="$PWD/build/win32-x64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
if [ "$fuzz_seconds" -gt 0 ]; then
  check "fuzzers: ${fuzz_seconds}s each" scripts/fuzz.sh "$fuzz_seconds"
fi
stage "done"
if [ ${#failed[@]} = 0 ]; then
  echo "test command: every stage passed"
  exit 0
fi
echo "test command: ${#failed[@]} stage(s) failed:"
for entry in "${failed[@]}"; do
  echo "- ${entry%%|*}"
done
for entry in "${failed[@]}"; do
  echo "=== the end of ${entry%%|*}"
  tail -n 25 "${entry#*|}"
done
exit 1
