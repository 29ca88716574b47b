#!/usr/bin/env python3
"""The check rejects a program that Windows 95 and NT 4 would not load for its subsystem version alone: a copy
of a shipped program with the version raised to 5.1 (what newer linkers write) fails, naming that version.
Usage: newer-subsystem-test.py CHECK TABLE PROGRAM.exe COPY.exe"""
import struct
import subprocess
import sys

check, table, program, copy = sys.argv[1:5]
with open(program, "rb") as source:
    data = bytearray(source.read())
(pe_offset,) = struct.unpack_from("<I", data, 0x3C)
struct.pack_into("<HH", data, pe_offset + 24 + 48, 5, 1)
with open(copy, "wb") as target:
    target.write(data)
run = subprocess.run([sys.executable, check, table, copy], capture_output=True, text=True)
print(run.stdout, end="")
expected = f"imports: {copy.rsplit('/', 1)[-1]}: subsystem version 5.1, newer than the 4.0 that Windows 95 and NT 4 load"
if run.returncode != 1 or expected not in run.stdout.splitlines():
    print(f"FAIL: exit status {run.returncode} and no line \"{expected}\"")
    sys.exit(1)
print("PASS: the raised subsystem version is rejected")
