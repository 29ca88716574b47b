#!/usr/bin/env python3
"""The fault matrix: every request site and registry write of the program crossed with the ways a driver and
the registry fail.

1. Sites. Each recipe in tests/faults/actions performs one or more actions of the program; its `#@ action`
   lines mark them. The recipes run traced on every Windows kind, and every driver request, key opened and
   value written inside an action's window becomes a site: the action, the thread that made it, and what it
   is. The list is kept in tests/faults/sites.txt, so that a new site shows as a difference.
2. Cells. Each site meets each fault on every kind where it exists: a scenario that arms the fault right
   before the action, expects the message boxes the description prescribes for that failure
   (tests/faults/outcomes.txt) and nothing else, expects the registry to differ from before the action only
   where an undisturbed run of the action leaves it, clears the fault (which must have fired) and then
   expects the program back at its pace: the icon follows the link, the monitor polls once a second, the
   next Apply reaches the card.
3. Results. The cells run in parallel; the summary names the failing ones, and docs/fault-matrix.md gets a
   table by site and fault.

scripts/faults.sh is the command; see docs/fault-matrix.md.
"""

import argparse
import collections
import concurrent.futures
import os
import re
import shlex
import subprocess
import sys
import time

KINDS = ["win95", "win98", "nt4", "win2000"]
# The Windows kinds where a user may lack the right to write a key.
NT_KINDS = ["nt4", "win2000"]
REQUEST_FAULTS = ["fail", "short", "remove", "suspend", "mute", "delay"]
REGISTRY_FAULTS = ["key", "value"]
FAULT_TITLES = {
    "fail": "fail",
    "short": "short answer",
    "remove": "card removed",
    "suspend": "suspended",
    "mute": "mute",
    "delay": "delay 2500",
    "key": "key refused",
    "value": "value refused",
}

PARAMS = {
    "win95": r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Net\0007",
    "win98": r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\Class\Net\0007",
    "nt4": r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services\RAZUR1\Parameters",
    "win2000": r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Class"
    r"\{4D36E972-E325-11CE-BFC1-08002BE10318}\0007",
}

SETTLE = "wait 3s"
DEVICE_CONFIG_FAILED = "Failed to change device configuration."
REGISTRY_FAILED = "Failed to open the service registry of the device."

LINE = re.compile(r"^\[\s*\d+\.\d+s\] t(\d+)\s+(.*)$")
SCRIPT = re.compile(r"^script (\d+): ")
REQUEST = re.compile(r"^request dev=\S+ (query|set) (0x[0-9A-F]{8})(?: (item|record)=0x([0-9A-F]+))? in=(\d+)")
REGISTRY = re.compile(r"^registry (open|set|create|delete) \[(.*?)\](.*)$")


# ---- recipes ---------------------------------------------------------------------------------------------

class Window:
    """The lines of a recipe that perform one action."""

    def __init__(self, recipe, action, threads, from_start, first):
        self.recipe = recipe
        self.action = action
        self.threads = threads
        self.from_start = from_start
        self.first = first  # index of the window's first line in recipe.lines
        self.end = None     # index after its last line


class Recipe:
    def __init__(self, path):
        self.path = path
        self.name = os.path.splitext(os.path.basename(path))[0]
        with open(path) as f:
            self.lines = f.read().splitlines()
        self.windows = []
        open_window = None
        for i, line in enumerate(self.lines):
            if not line.startswith("#@"):
                continue
            if open_window:
                open_window.end = i
                open_window = None
            words = line[2:].split()
            if words[0] == "action":
                options = dict(w.split("=", 1) for w in words[2:] if "=" in w)
                open_window = Window(self, words[1], options.get("threads", "ui"), "from-start" in words, i + 1)
                self.windows.append(open_window)
            elif words[0] != "end":
                sys.exit("%s:%d: unknown tag %r" % (path, i + 1, words[0]))
        if open_window:
            open_window.end = len(self.lines)


def load_recipes(folder):
    recipes = [Recipe(os.path.join(folder, name)) for name in sorted(os.listdir(folder)) if name.endswith(".script")]
    windows = {}
    for recipe in recipes:
        for window in recipe.windows:
            if window.action in windows:
                sys.exit("%s: action %s is also in %s" % (recipe.path, window.action, windows[window.action].recipe.path))
            windows[window.action] = window
    return windows


class Scenario:
    """A recipe cut at one action: its prefix, lines armed before the action, the action, the settle, checks."""

    def __init__(self, window, before=(), after=(), setup=()):
        recipe = window.recipe
        lines = list(setup) + recipe.lines[:window.first] + list(before)
        self.window_first = len(lines) + 1  # 1-based script line numbers
        lines += recipe.lines[window.first:window.end]
        self.settle = len(lines) + 1
        lines.append(SETTLE)
        lines += list(after)
        self.text = "\n".join(lines) + "\n"


# ---- running ---------------------------------------------------------------------------------------------

def run(runner, script_path, kind, extra=(), timeout=300):
    """Runs one script; (exit status, stdout and stderr)."""
    command = [runner, "--kind", kind] + list(extra) + [script_path]
    env = dict(os.environ)
    env.setdefault("ASAN_OPTIONS", "halt_on_error=1:detect_leaks=0")
    env.setdefault("UBSAN_OPTIONS", "halt_on_error=1:print_stacktrace=1")
    try:
        done = subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout, env=env)
        return done.returncode, done.stdout.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as e:
        return "timeout", (e.stdout or b"").decode("utf-8", "replace") + "\n(no end after %d s)\n" % timeout


def parallel(jobs, function, workers):
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        return list(pool.map(function, jobs))


# ---- sites -----------------------------------------------------------------------------------------------

def request_site(match):
    kind, oid, sub_kind, sub, length = match.groups()
    text = "%s %s" % (kind, oid)
    if sub_kind == "item":
        text += " item=0x%08X" % int(sub, 16)
    elif sub_kind == "record":
        text += " record=0x%04X" % int(sub, 16)
    return text, int(length)


def key_class(path, kind):
    """The key as the site list names it, the same on every kind."""
    params = PARAMS[kind]
    if path.upper() == params.upper():
        return "<params>"
    if path.upper().startswith(params.upper() + "\\"):
        below = path[len(params) + 1:]
        if below.upper().startswith("NDI\\PARAMS\\"):
            return r"<params>\Ndi\params\*"
        return "<params>\\" + below
    return path


def key_of_class(name, kind):
    """The registry key a class names on a kind, as `registry refuse` takes it, and whether with subkeys."""
    if name == r"<params>\Ndi\params\*":
        return PARAMS[kind] + r"\Ndi\params", True
    return name.replace("<params>", PARAMS[kind]), False


class Observed:
    """What one traced run of an action did."""

    def __init__(self):
        self.requests = []        # (thread role, site text, length) in order
        self.keys = []            # key classes opened or created for writing, in order
        self.values = collections.OrderedDict()  # key class -> value names set
        self.pending_writes = False  # the monitor thread wrote to the card after the action


def observe(transcript, window, scenario, kind):
    """The sites of the action in a transcript of its scenario."""
    seen = Observed()
    line_number = 0
    in_window = window.from_start
    for raw in transcript.splitlines():
        m = LINE.match(raw)
        if not m:
            continue
        thread, text = int(m.group(1)), m.group(2)
        s = SCRIPT.match(text)
        if s and thread == 1:
            line_number = int(s.group(1))
            if not window.from_start:
                in_window = scenario.window_first <= line_number < scenario.settle
            continue
        if window.from_start and text.startswith("tray add icon"):
            in_window = False
            continue
        if thread == 1:
            continue
        role = "ui" if thread == 2 else "monitor"
        r = REQUEST.match(text)
        if r:
            site, length = request_site(r)
            if role == "monitor" and not in_window and line_number >= scenario.window_first and site.startswith("set "):
                seen.pending_writes = True
            if in_window and role == "monitor" and site.startswith("set ") and window.threads == "ui":
                seen.pending_writes = True
            if not in_window or role != window.threads:
                continue
            # The monitor's idle poll belongs to its cycle, whatever action it meets.
            if role == "monitor" and site == "query 0xFF010199" and window.action not in ("monitor-cycle", "discovery"):
                continue
            seen.requests.append((role, site, length))
            continue
        g = REGISTRY.match(text)
        if g and in_window and role == "ui":
            op, path, rest = g.groups()
            if op == "open" and " -> error" in rest:
                continue  # a key that is not there: nothing to refuse
            name = key_class(path, kind)
            if op in ("open", "create", "delete") and not rest.startswith(' "'):
                if name not in seen.keys:
                    seen.keys.append(name)
            elif op == "set":
                value = re.match(r' "((?:[^"\\]|\\.)*)"', rest).group(1)
                seen.values.setdefault(name, [])
                if value not in seen.values[name]:
                    seen.values[name].append(value)
    return seen


class Site:
    def __init__(self, action, thread, what, kind_of_fault):
        self.action = action
        self.thread = thread
        self.what = what            # "query 0xFF010199", "key <params>", "value <params> \"SSID\""
        self.kind_of_fault = kind_of_fault  # "request" or "registry"
        self.kinds = []
        self.length = {}            # kind -> buffer length of the request

    def key(self):
        return (self.action, self.thread, self.what)

    def row(self):
        return "%-24s %-8s %-46s %s" % (self.action, self.thread, self.what, " ".join(self.kinds))


def collect_sites(windows, observed):
    """Sites in list order: by action, then as the action makes them."""
    sites = collections.OrderedDict()
    for action in sorted(windows):
        window = windows[action]
        for kind in KINDS:
            seen = observed[(action, kind)]
            items = [("request", role, site, length) for role, site, length in seen.requests]
            items += [("registry", "ui", "key " + name, 0) for name in seen.keys]
            items += [("registry", "ui", "value %s \"%s\"" % (name, pick_value(values)), 0)
                      for name, values in seen.values.items()]
            if not items:
                items = [("none", window.threads, "(none)", 0)]
            for kind_of_fault, role, what, length in items:
                key = (action, role, what)
                if key not in sites:
                    sites[key] = Site(action, role, what, kind_of_fault)
                if kind not in sites[key].kinds:
                    sites[key].kinds.append(kind)
                    sites[key].length[kind] = length
    return list(sites.values())


def pick_value(values):
    """The value a refusal takes from a key the action writes: the SSID when written, else the first."""
    for preferred in ("SSID", ""):
        if preferred in values:
            return preferred
    return values[0]


def site_list_text(sites):
    lines = ["# The program's request sites and registry writes by action and thread, on the kinds where each",
             "# exists. Generated by scripts/faults.sh from traced runs of tests/faults/actions/*.script; a",
             "# difference fails the fault matrix until the list is regenerated (scripts/faults.sh --update-sites)",
             "# and the new site has its outcome in tests/faults/outcomes.txt.",
             "# action                 thread   site                                           kinds"]
    lines += [site.row() for site in sites]
    return "\n".join(lines) + "\n"


# ---- outcomes --------------------------------------------------------------------------------------------

class Operation:
    """One operation of an action: the requests it makes, and what its failure shows and leads to."""

    def __init__(self, name, message, policy, patterns):
        self.name = name
        self.message = message  # None: silent
        self.policy = policy    # "stop", "end" or "ignore"
        self.patterns = patterns


def load_outcomes(path):
    """tests/faults/outcomes.txt: what the user sees when a request or the registry fails."""
    operations = collections.defaultdict(list)
    registry = {}
    recover = []
    with open(path) as f:
        for number, line in enumerate(f, 1):
            # Key paths hold backslashes, which shlex would take as escapes.
            words = line.split("#", 1)[0].split() if line.startswith("registry") else shlex.split(line, comments=True)
            if not words:
                continue
            where = "%s:%d" % (path, number)
            if words[0] == "op":
                # op ACTION NAME silent|"message" stop|end|ignore PATTERN...
                if len(words) < 6 or words[4] not in ("stop", "end", "ignore"):
                    sys.exit(where + ": op ACTION NAME silent|\"message\" stop|end|ignore PATTERN...")
                message = None if words[3] == "silent" else words[3]
                patterns = [p.strip() for p in " ".join(words[5:]).split(",") if p.strip()]
                operations[words[1]].append(Operation(words[2], message, words[4], patterns))
            elif words[0] == "registry":
                registry[words[1]] = words[2:]
            elif words[0] == "recover":
                # recover ACTION FAULTS KINDS COMMAND...
                recover.append((words[1], words[2].split(","), words[3].split(","), " ".join(words[4:])))
            else:
                sys.exit(where + ": a line is op, registry or recover")
    return operations, registry, recover


def operation_of(ops, site):
    for op in ops:
        for pattern in op.patterns:
            if pattern == "*" or site == pattern or site.startswith(pattern + " "):
                return op
    return None


def expected_request_boxes(site, fault, kind, observed, operations):
    """The boxes the description prescribes, in order, when `fault` meets the site's first request."""
    if fault in ("short", "delay"):
        # Success as far as the program checks (a short query fails only the byte count checks of silent
        # status reads; a set's byte count is never looked at), or success late.
        return []
    ops = operations[site.action]
    seen = observed[(site.action, kind)]
    order = [s for role, s, _ in seen.requests if role == site.thread]
    first = order.index(site.what)
    op = operation_of(ops, site.what)
    boxes = []
    if fault in ("fail", "mute"):
        return [op.message] if op.message and op.policy != "ignore" else []
    # The card is gone: every later request of the action fails too.
    failed_ops = []
    for later in order[first:]:
        o = operation_of(ops, later)
        if o not in failed_ops:
            failed_ops.append(o)
    for o in failed_ops:
        if o.policy == "ignore":
            continue
        if o.message:
            boxes.append(o.message)
        if o.policy == "end":
            break
    if site.thread == "ui" and seen.pending_writes:
        boxes.append(DEVICE_CONFIG_FAILED)
    return boxes


def expected_registry_boxes(site, fault, kind, registry_ops):
    """NT 4 probes its service instances for the key it loads, saves or shows, and says so when none opens;
    everything else about the registry fails silently."""
    if fault != "key" or kind != "nt4":
        return []
    refused = site.what[len("key "):]
    boxes = []
    for op in registry_ops.get(site.action, []):
        name, _, key = op.partition(":")
        if name in ("load", "save", "show") and key == refused:
            boxes.append(REGISTRY_FAILED)
    return boxes


# ---- cells -----------------------------------------------------------------------------------------------

def fault_rule(site, fault, kind):
    """The fault rule that meets the site's first request after it is armed."""
    words = site.what.split()  # "query 0xFF010181 record=0xFD88"
    kind_word, oid = words[0], words[1]
    selector = " ".join(["oid", oid, kind_word] + words[2:] + ["thread=" + site.thread, "nth=1"])
    length = site.length[kind]
    if fault == "fail":
        return selector + " fail 0xC0000001"
    if fault == "short":
        if kind_word == "query":
            return selector + " short %d" % (4 if oid == "0xFF010181" else length // 2)
        return selector + " answer \"\" written %d" % (length // 2)
    if fault == "delay":
        return selector + " delay 2500"
    return selector + " " + fault


def applicable(site, fault, kind):
    if site.kind_of_fault == "request":
        return fault in REQUEST_FAULTS and not (fault == "short" and site.length[kind] == 0)
    if site.kind_of_fault == "registry":
        if fault == "key":
            return site.what.startswith("key ") and kind in NT_KINDS
        return fault == "value" and site.what.startswith("value ")
    return False


RECOVERY = [
    "wait 5s",
    "wait until icon follows link within 30s",
    "tray double-click",
    "wait until sheet up within 2s",
    "sheet cancel",
    "wait until sheet down within 2s",
    "expect idle 10s",
    "tray double-click",
    "wait until sheet up within 2s",
    "tab \"Advanced\"",
    "select IDC_ADV_PREAMBLE \"Short\"",
    "click IDC_ADV_APPLY",
    "select IDC_ADV_PREAMBLE \"Long\"",
    "click IDC_ADV_APPLY",
    "expect control IDC_ADV_APPLY disabled",
    "expect request 0xFF020198 set",
    "sheet ok",
    "wait until sheet down within 2s",
    "wait 5s",
    "wait until icon follows link within 30s",
]


class Cell:
    def __init__(self, site, fault, kind):
        self.site = site
        self.fault = fault
        self.kind = kind
        slug = re.sub(r"[^A-Za-z0-9]+", "-", "%s-%s-%s" % (site.action, site.thread, site.what)).strip("-")
        self.name = "%s.%s.%s" % (slug, fault, kind)
        self.status = None
        self.output = ""


def cell_script(cell, window, boxes, baseline_registry, faults_file, recover):
    site, fault, kind = cell.site, cell.fault, cell.kind
    setup, before, world_back = [], [], []
    if site.kind_of_fault == "request":
        rule = fault_rule(site, fault, kind)
        if window.from_start:
            setup.append("setup faults %s" % os.path.basename(faults_file))
            with open(faults_file, "w") as f:
                f.write(rule + "\n")
        else:
            if fault == "suspend":
                # The system asks before it suspends, and says so to every window.
                before += ["power query-suspend", "power suspend"]
            before.append("fault " + rule)
        if fault == "remove":
            world_back = ["device removal", "card insert", "device arrival"]
        elif fault == "suspend":
            world_back = ["power wake"]
    else:
        refused = site.what.split(" ", 1)[1]
        if fault == "key":
            key, subkeys = key_of_class(refused, kind)
            before.append("registry refuse %s%s" % (quote_key(key), " subkeys" if subkeys else ""))
        else:
            name, value = re.match(r'(.*) "(.*)"$', refused).groups()
            key, _ = key_of_class(name, kind)
            if name == r"<params>\Ndi\params\*":
                key += "\\" + ("SSID" if value == "" else value)
            before.append("registry refuse %s \"%s\"" % (quote_key(key), value))
    world_back += [command for action, faults, kinds, command in recover
                   if action == site.action and fault in faults and kind in kinds]
    marks = [] if window.from_start else ["registry mark"]
    answers = ["answer ok"] * len(boxes)
    checks = ["expect box \"%s\"" % box for box in boxes]
    if not window.from_start:
        checks.append("expect registry changes within \"%s\"" % os.path.basename(baseline_registry))
    checks.append("fault clear")
    checks += world_back
    text = Scenario(window, before=marks + answers + before, after=checks + RECOVERY, setup=setup).text
    return "# Fault matrix cell: %s on %s at %s (%s, %s).\n" % (FAULT_TITLES[fault], kind, site.what, site.action,
                                                              site.thread) + text


def quote_key(key):
    return '"%s"' % key.replace("\\", "\\\\") if " " in key else key


# ---- the report ------------------------------------------------------------------------------------------

def write_report(path, sites, cells, seconds, runner_name):
    by_site = collections.defaultdict(dict)
    for cell in cells:
        by_site[cell.site.key()].setdefault(cell.fault, []).append(cell)
    passed = sum(1 for c in cells if c.status == "passed")
    lines = [
        "# Fault matrix",
        "",
        "Generated by `scripts/faults.sh` (do not edit): every request site and registry write of the program,",
        "crossed with the ways a driver and the registry fail, each cell a scenario on virtual time on every",
        "Windows kind where the site exists. How the sites are found and what each cell checks: the top of",
        "`tools/faultmatrix/faultmatrix.py`; the sites: `tests/faults/sites.txt`; what the user is to see:",
        "`tests/faults/outcomes.txt`.",
        "",
        "**%d cells, %d passed, %d failed** (%s, %.0f s wall time on 2 workers)." % (
            len(cells), passed, len(cells) - passed, runner_name, seconds),
        "",
        "A cell shows the kinds it ran on with its result: `4/4` all passed; a failing kind is named; `-` the",
        "fault does not apply (a short answer to a request with no bytes, a refused key on Windows 95/98,",
        "where the registry has no rights).",
        "",
    ]
    request_faults = [f for f in REQUEST_FAULTS]
    lines.append("## Driver requests")
    lines.append("")
    lines.append("| action | thread | request | " + " | ".join(FAULT_TITLES[f] for f in request_faults) + " |")
    lines.append("|---|---|---|" + "---|" * len(request_faults))
    for site in sites:
        if site.kind_of_fault != "request":
            continue
        row = [site.action, site.thread, "`%s`" % site.what]
        row += [summary(by_site[site.key()].get(f, [])) for f in request_faults]
        lines.append("| " + " | ".join(row) + " |")
    lines.append("")
    lines.append("## Registry")
    lines.append("")
    lines.append("| action | site | " + " | ".join(FAULT_TITLES[f] for f in REGISTRY_FAULTS) + " |")
    lines.append("|---|---|" + "---|" * len(REGISTRY_FAULTS))
    for site in sites:
        if site.kind_of_fault != "registry":
            continue
        row = [site.action, "`%s`" % site.what.replace("|", "\\|")]
        row += [summary(by_site[site.key()].get(f, [])) for f in REGISTRY_FAULTS]
        lines.append("| " + " | ".join(row) + " |")
    lines.append("")
    quiet = sorted(set(s.action for s in sites if s.kind_of_fault == "none"))
    lines.append("Actions that ask the card nothing and write nothing (no cells): " + ", ".join(quiet) + ".")
    lines.append("")
    with open(path, "w") as f:
        f.write("\n".join(lines))


def summary(cells):
    if not cells:
        return "-"
    failed = [c.kind for c in cells if c.status != "passed"]
    if not failed:
        return "%d/%d" % (len(cells), len(cells))
    return "**failed: %s**" % ", ".join(failed)


# ---- main ------------------------------------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--runner", required=True, help="the wlanrun to run the cells with")
    parser.add_argument("--source", required=True, help="the repository's top folder")
    parser.add_argument("--work", required=True, help="a folder for the generated scenarios and transcripts")
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--update-sites", action="store_true", help="write tests/faults/sites.txt anew")
    parser.add_argument("--report", help="write the table here (docs/fault-matrix.md)")
    parser.add_argument("--only", help="run only the cells whose name contains this text")
    args = parser.parse_args()

    started = time.time()
    faults_dir = os.path.join(args.source, "tests", "faults")
    windows = load_recipes(os.path.join(faults_dir, "actions"))
    operations, registry_ops, recover = load_outcomes(os.path.join(faults_dir, "outcomes.txt"))
    base_dir = os.path.join(args.work, "baselines")
    cell_dir = os.path.join(args.work, "cells")
    os.makedirs(base_dir, exist_ok=True)
    os.makedirs(cell_dir, exist_ok=True)
    # The generated scenarios name the world as their recipes do, from a folder beside it.
    with open(os.path.join(faults_dir, "matrix.world")) as f:
        world = f.read()
    with open(os.path.join(args.work, "matrix.world"), "w") as f:
        f.write(world)

    # Baselines: each action traced undisturbed on each kind, leaving the registry as the action leaves it.
    jobs = [(action, kind) for action in sorted(windows) for kind in KINDS]

    def baseline(job):
        action, kind = job
        window = windows[action]
        scenario = Scenario(window)
        path = os.path.join(base_dir, "%s.%s.script" % (action, kind))
        with open(path, "w") as f:
            f.write(scenario.text)
        registry = os.path.join(base_dir, "%s.%s.reg" % (action, kind))
        status, output = run(args.runner, path, kind, ["--trace", "registry", "--save-registry", registry])
        if status != 0:
            return job, None, "baseline %s on %s failed (%s):\n%s" % (action, kind, status, output[-3000:])
        return job, observe(output, window, scenario, kind), None

    observed = {}
    for job, seen, error in parallel(jobs, baseline, args.jobs):
        if error:
            print(error)
            return 1
        observed[job] = seen
    sites = collect_sites(windows, observed)

    # The site list: a new site is a difference until it is listed and has its outcome.
    list_path = os.path.join(faults_dir, "sites.txt")
    text = site_list_text(sites)
    if args.update_sites:
        with open(list_path, "w") as f:
            f.write(text)
    old = open(list_path).read() if os.path.exists(list_path) else ""
    if old != text:
        print("fault matrix: the program's request sites differ from tests/faults/sites.txt:")
        old_rows = set(old.splitlines())
        new_rows = set(text.splitlines())
        for row in sorted(old_rows - new_rows):
            print("  - " + row)
        for row in sorted(new_rows - old_rows):
            print("  + " + row)
        print("  (scripts/faults.sh --update-sites writes the list; give a new site its outcome)")
        return 1
    missing = [s for s in sites if s.kind_of_fault == "request" and operation_of(operations[s.action], s.what) is None]
    if missing:
        for s in missing:
            print("fault matrix: no outcome in tests/faults/outcomes.txt for %s %s %s" % (s.action, s.thread, s.what))
        return 1

    # Cells.
    cells = []
    for site in sites:
        for fault in REQUEST_FAULTS + REGISTRY_FAULTS:
            for kind in site.kinds:
                if applicable(site, fault, kind):
                    cells.append(Cell(site, fault, kind))
    if args.only:
        cells = [c for c in cells if args.only in c.name]

    def play(cell):
        window = windows[cell.site.action]
        if cell.site.kind_of_fault == "request":
            boxes = expected_request_boxes(cell.site, cell.fault, cell.kind, observed, operations)
        else:
            boxes = expected_registry_boxes(cell.site, cell.fault, cell.kind, registry_ops)
        script = os.path.join(cell_dir, cell.name + ".script")
        baseline_registry = os.path.join(base_dir, "%s.%s.reg" % (cell.site.action, cell.kind))
        reg_copy = os.path.join(cell_dir, cell.name + ".baseline.reg")
        with open(baseline_registry) as f, open(reg_copy, "w") as g:
            g.write(f.read())
        with open(script, "w") as f:
            f.write(cell_script(cell, window, boxes, reg_copy, os.path.join(cell_dir, cell.name + ".faults"),
                                recover))
        status, output = run(args.runner, script, cell.kind)
        sanitizer = re.search(r"(Sanitizer|runtime error)", output)
        cell.status = "passed" if status == 0 and not sanitizer and "end of the script" in output else "failed"
        cell.output = output
        with open(os.path.join(cell_dir, cell.name + ".out"), "w") as f:
            f.write(output)
        return cell

    parallel(cells, play, args.jobs)
    seconds = time.time() - started
    failed = [c for c in cells if c.status != "passed"]
    print("fault matrix: %d cells, %d passed, %d failed" % (len(cells), len(cells) - len(failed), len(failed)))
    for cell in failed:
        reason = [l for l in cell.output.splitlines() if "FAILED" in l or "Sanitizer" in l or "runtime error" in l]
        print("  failed: %s  (%s)" % (cell.name, reason[0].strip() if reason else "see %s.out" % cell.name))
        print("          scenario: %s" % os.path.join(cell_dir, cell.name + ".script"))
    if args.report and not args.only:
        preset = os.path.basename(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(args.runner)))))
        write_report(args.report, sites, cells, seconds, preset)
    return 0 if not failed else 1


if __name__ == "__main__":
    sys.exit(main())
