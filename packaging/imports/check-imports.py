#!/usr/bin/env python3
"""Checks that every function a shipped Windows program imports is exported by Windows 95, 98/Me, NT 4 and
2000, by the table of exports kept beside this script (windows-exports.tsv).

Usage: check-imports.py TABLE FILE... [--listing LISTING...]
  FILE is a PE file (its import table is read); a LISTING is a text file of "DLL FUNCTION" lines, one import
  a line, for imports recorded from a program that is not at hand (a fixture).
Prints one line per file; exits 1 when an import is missing from the table or on any of the four systems,
when a file's subsystem version is newer than 4.0 (Windows 95 and NT 4 refuse to load it), when the table has
a malformed row, or when a file cannot be read.
"""
import os
import struct
import sys

SYSTEMS = ("95", "98/Me", "NT 4", "2000")
ALL_SYSTEMS = "Windows 95, 98/Me, NT 4 and 2000"
# The newest subsystem version in a PE header that all four load.
OLDEST_SUBSYSTEM = (4, 0)


class Problem(Exception):
    pass


def read_table(path):
    """Returns {(dll, function): [yes/no x4]}; raises Problem with every malformed line."""
    # repo:PATH names a file of this repository (the table lies two folders below its top).
    root = os.path.join(os.path.dirname(os.path.abspath(path)), "..", "..")
    sources = {}
    rows = {}
    errors = []
    pending = []
    try:
        with open(path, encoding="utf-8") as table:
            lines = table.read().splitlines()
    except OSError as error:
        raise Problem(f"{path}: cannot be read ({error.strerror})")
    for number, line in enumerate(lines, 1):
        where = f"{path}:{number}"
        text = line.strip()
        if not text or text.startswith("#"):
            continue
        fields = text.split()
        if fields[0] == "source":
            if len(fields) < 4:
                errors.append(f"{where}: a source needs an id, an address and what it says")
            elif fields[1] in sources:
                errors.append(f"{where}: source {fields[1]} is defined twice")
            elif not fields[2].startswith(("http://", "https://", "repo:")):
                errors.append(f"{where}: the address of source {fields[1]} is neither a web address nor repo:PATH")
            elif fields[2].startswith("repo:") and not os.path.exists(os.path.join(root, fields[2][5:])):
                errors.append(f"{where}: source {fields[1]} names {fields[2][5:]}, which the repository lacks")
            else:
                sources[fields[1]] = fields[2]
            continue
        if len(fields) != 7:
            errors.append(f"{where}: {len(fields)} fields, not 7 (DLL, function, 95, 98/Me, NT 4, 2000, source)")
            continue
        dll, function, answers, cited = fields[0], fields[1], fields[2:6], fields[6]
        if not dll.lower().endswith(".dll"):
            errors.append(f"{where}: \"{dll}\" is not a DLL name")
            continue
        bad = [a for a in answers if a not in ("yes", "no")]
        if bad:
            errors.append(f"{where}: \"{bad[0]}\" is neither yes nor no")
            continue
        key = (dll.lower(), function)
        if key in rows:
            errors.append(f"{where}: {dll} {function} is in the table twice")
            continue
        rows[key] = answers
        pending.append((where, cited))
    for where, cited in pending:
        for source in cited.split(","):
            if source not in sources:
                errors.append(f"{where}: no source named \"{source}\"")
    if errors:
        raise Problem("\n".join(errors))
    return rows


def read_listing(path):
    try:
        with open(path, encoding="utf-8") as listing:
            lines = listing.read().splitlines()
    except OSError as error:
        raise Problem(f"{path}: cannot be read ({error.strerror})")
    imports = []
    for number, line in enumerate(lines, 1):
        text = line.strip()
        if not text or text.startswith("#"):
            continue
        fields = text.split()
        if len(fields) != 2:
            raise Problem(f"{path}:{number}: not a \"DLL FUNCTION\" line")
        imports.append((fields[0], fields[1]))
    return imports


def read_pe(path):
    """The (dll, function) pairs of a PE file's import table (ordinals as "#N") and its subsystem version."""
    try:
        with open(path, "rb") as pe:
            data = pe.read()
    except OSError as error:
        raise Problem(f"{path}: cannot be read ({error.strerror})")

    def unpack(fmt, offset):
        size = struct.calcsize(fmt)
        if offset < 0 or offset + size > len(data):
            raise Problem(f"{path}: not a readable PE file (truncated at byte {offset})")
        return struct.unpack_from(fmt, data, offset)

    if data[:2] != b"MZ":
        raise Problem(f"{path}: not a PE file (no MZ header)")
    (pe_offset,) = unpack("<I", 0x3C)
    if unpack("<4s", pe_offset)[0] != b"PE\0\0":
        raise Problem(f"{path}: not a PE file (no PE signature)")
    _, sections, _, _, _, optional_size, _ = unpack("<HHIIIHH", pe_offset + 4)
    optional = pe_offset + 24
    (magic,) = unpack("<H", optional)
    if magic == 0x10B:
        directories, thunk_format, ordinal_flag = optional + 96, "<I", 0x80000000
    elif magic == 0x20B:
        directories, thunk_format, ordinal_flag = optional + 112, "<Q", 1 << 63
    else:
        raise Problem(f"{path}: not a readable PE file (optional header magic 0x{magic:x})")
    subsystem = unpack("<HH", optional + 48)
    import_rva, _ = unpack("<II", directories + 8)
    table = optional + optional_size
    spans = []
    for index in range(sections):
        _, virtual_size, virtual_address, raw_size, raw_offset = unpack("<8sIIII", table + 40 * index)
        spans.append((virtual_address, max(virtual_size, raw_size), raw_offset))

    def offset_of(rva):
        for start, size, raw in spans:
            if start <= rva < start + size:
                return raw + rva - start
        raise Problem(f"{path}: not a readable PE file (address 0x{rva:x} lies in no section)")

    def string_at(rva):
        start = offset_of(rva)
        end = data.find(b"\0", start)
        if end < 0:
            raise Problem(f"{path}: not a readable PE file (unterminated name)")
        return data[start:end].decode("latin-1")

    imports = []
    if import_rva == 0:
        return imports, subsystem
    descriptor = offset_of(import_rva)
    while True:
        lookup, _, _, name_rva, address = unpack("<IIIII", descriptor)
        if lookup == 0 and name_rva == 0 and address == 0:
            break
        dll = string_at(name_rva)
        thunk = offset_of(lookup or address)
        step = struct.calcsize(thunk_format)
        while True:
            (entry,) = unpack(thunk_format, thunk)
            if entry == 0:
                break
            if entry & ordinal_flag:
                imports.append((dll, f"#{entry & 0xFFFF}"))
            else:
                imports.append((dll, string_at((entry & 0x7FFFFFFF) + 2)))
            thunk += step
        descriptor += 20
    return imports, subsystem


def check(name, imports, table, subsystem=None):
    """Prints the file's line(s); returns True when every import is exported by all four systems and the
    four load a program of the file's subsystem version (Windows 95 and NT 4 refuse one newer than 4.0)."""
    loads = subsystem is None or tuple(subsystem) <= OLDEST_SUBSYSTEM
    if not loads:
        print(f"imports: {name}: subsystem version {subsystem[0]}.{subsystem[1]}, newer than the "
              f"{OLDEST_SUBSYSTEM[0]}.{OLDEST_SUBSYSTEM[1]} that Windows 95 and NT 4 load")
    faults = []
    for dll, function in imports:
        answers = table.get((dll.lower(), function))
        if answers is None:
            faults.append(f"  {dll} {function}: not in the table")
            continue
        missing = [system for system, answer in zip(SYSTEMS, answers) if answer != "yes"]
        if missing:
            faults.append(f"  {dll} {function}: not exported by Windows {', '.join(missing)}")
    if not faults:
        print(f"imports: {name}: {len(imports)} functions, all exported by {ALL_SYSTEMS}")
        return loads
    print(f"imports: {name}: {len(faults)} of {len(imports)} functions are not exported by all of {ALL_SYSTEMS}:")
    print("\n".join(faults))
    return False


def main(arguments):
    if len(arguments) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    try:
        table = read_table(arguments[0])
    except Problem as problem:
        print(problem, file=sys.stderr)
        return 1
    ok = True
    listing = False
    for argument in arguments[1:]:
        if argument == "--listing":
            listing = True
            continue
        try:
            imports, subsystem = (read_listing(argument), None) if listing else read_pe(argument)
        except Problem as problem:
            print(f"imports: {problem}")
            ok = False
            continue
        ok = check(os.path.basename(argument), imports, table, subsystem) and ok
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
