#!/usr/bin/env bash
# Runs a command from the folder of this script and compares its exit status and its output (standard output
# and error together) with what is expected. Usage: expect-output.sh STATUS EXPECTED-FILE COMMAND [ARGS...]
set -uo pipefail
cd "$(dirname "$0")"
status=$1
expected=$2
shift 2
actual=$("$@" 2>&1)
got=$?
if [ "$got" != "$status" ]; then
  echo "FAIL: exit status $got, not $status; output:"
  echo "$actual"
  exit 1
fi
if ! diff -u "$expected" <(printf '%s\n' "$actual"); then
  echo "FAIL: the output differs from $expected"
  exit 1
fi
echo "PASS: $*"
