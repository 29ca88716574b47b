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

status=0
stage "host-asan: tests"
ctest --preset host-asan || status=1
stage "host: the idle benchmark's goals"
ctest --preset host -R '^bench[.]' || status=1
stage "win32-i686: the release's tests"
ctest --preset win32-i686 -R '^(wlanutil_imports|imports_.*)$' || status=1
# Every request site and registry write against every fault, under the address and undefined-behaviour
# sanitizers (docs/fault-matrix.md); the table goes to the build folder, docs/ keeps the reviewed one.
stage "host-asan: fault matrix"
scripts/faults.sh --no-build --report build/host-asan/faults/fault-matrix.md || status=1
# One virtual hour of random world and user on each kind, at rest and counted every half hour
# (docs/reliability.md has the day-long figures).
stage "host-asan: soak"
scripts/soak.sh --no-build --preset host-asan --hours 1 --rest-every 30 || status=1
# What we ship imports only functions that Windows 95, 98/Me, NT 4 and 2000 export.
stage "win32-i686: imports of the program and the installer"
version=$(sed -n 's/^ *FILEVERSION *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\) *, *\([0-9]*\).*/\1.\2.\3.\4/p' res/wlanutil.rc)
python3 packaging/imports/check-imports.py packaging/imports/windows-exports.tsv \
  "build/win32-i686/packaging/wlanutil-$version/wlanutil.exe" "build/win32-i686/packaging/wlanutil-$version-setup.exe" ||
  status=1
stage "host-tsan: threaded tests and scenarios"
ctest --preset host-tsan -L 'scenario|threads' || status=1
# The Windows tests run under 64-bit Wine on a private X display.
stage "win32-x64: tests under Wine"
scripts/xvfb-session.sh ctest --preset win32-x64 || status=1
WINEPREFIX="$PWD/build/win32-x64/wineprefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
if [ "$fuzz_seconds" -gt 0 ]; then
  stage "fuzzers: ${fuzz_seconds}s each"
  scripts/fuzz.sh "$fuzz_seconds" || status=1
fi
stage "done"
exit $status
