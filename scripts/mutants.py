#!/usr/bin/env python3
"""Inject small faults into the toolkit-neutral core and report which ones no test notices.

Each fault is one small edit of one line of a .cpp file of the core (src/ without
platform/qt, platform/gst and the program's main()): a comparison, arithmetic or logical
operator swapped, an if/while condition negated, true/false flipped, an integer constant
changed by one, or one call statement deleted. The sample is fixed: every candidate is
named by its file name, the text of its line, the line's occurrence in the file and the
edit, and the candidates are taken in the order of a seeded hash of that name, so the same
source gives the same sample and moving code between folders keeps its faults.

For each fault the file is edited in place, only its object is recompiled (a separate
-O0 build directory), the test programs are relinked, and the scenario files and the unit
tests run; the file is restored afterwards. A fault that does not compile is skipped and
the next candidate taken, until the sample holds --count faults that built.

To compare two test suites over the same source, run the first with --keep-objects DIR
(each fault's object file is kept) and the second with --replay FIRST.json --objects DIR:
the same faults are taken, and where the source file is unchanged the kept object is
linked instead of recompiling it.

Usage: scripts/mutants.py [--tree DIR] [--build DIR] [--count N] [--seed S] [--full]
                          [--out FILE.json] [--list] [--keep-objects DIR]
                          [--replay FILE.json --objects DIR]
Run it niced with one job: nice -n 10 scripts/mutants.py ...
"""

import argparse
import hashlib
import json
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import time

EXCLUDED = ("platform/qt/", "platform/gst/", "app/main.cpp", "program/")


def core_sources(tree):
    out = []
    for root, _, files in os.walk(os.path.join(tree, "src")):
        for f in files:
            path = os.path.join(root, f)
            rel = os.path.relpath(path, os.path.join(tree, "src"))
            if f.endswith(".cpp") and not any(rel.startswith(e) or rel == e for e in EXCLUDED):
                out.append(rel)
    return sorted(out)


def mask(line):
    """The line with string and character literals and // comments blanked, same length."""
    out = list(line)
    i, n = 0, len(line)
    while i < n:
        c = line[i]
        if c in "\"'":
            j = i + 1
            while j < n and line[j] != c:
                j += 2 if line[j] == "\\" else 1
            for k in range(i + 1, min(j, n)):
                out[k] = " "
            i = j + 1
        elif line.startswith("//", i):
            for k in range(i, n):
                out[k] = " "
            break
        else:
            i += 1
    return "".join(out)


SWAPS = [(" == ", " != "), (" != ", " == "), (" < ", " <= "), (" <= ", " < "), (" > ", " >= "),
         (" >= ", " > "), (" + ", " - "), (" - ", " + "), (" && ", " || "), (" || ", " && "),
         (" += ", " -= "), (" -= ", " += ")]
CALL = re.compile(r"^(\s*)(?!return\b|if\b|while\b|for\b|else\b|case\b|delete\b|throw\b)"
                  r"[A-Za-z_][\w:.]*(?:->[\w:.]+|\(\)\.[\w:.]+)*(?:\([^;]*\))?(?:\.|->)?\w*\(.*\);\s*$")


def matching_paren(text, open_at):
    depth = 0
    for i in range(open_at, len(text)):
        if text[i] == "(":
            depth += 1
        elif text[i] == ")":
            depth -= 1
            if depth == 0:
                return i
    return -1


def candidates(tree):
    for rel in core_sources(tree):
        with open(os.path.join(tree, "src", rel), encoding="utf-8", errors="surrogateescape") as fh:
            lines = fh.read().split("\n")
        seen = {}
        in_block_comment = False
        for no, line in enumerate(lines):
            stripped = line.strip()
            occ = seen.get(stripped, 0)
            seen[stripped] = occ + 1
            if in_block_comment:
                in_block_comment = "*/" not in line
                continue
            if stripped.startswith("/*"):
                in_block_comment = "*/" not in stripped
                continue
            if not stripped or stripped.startswith(("#", "//", "namespace", "using ", "static_assert")):
                continue
            m = mask(line)
            found = []
            for a, b in SWAPS:
                for hit in re.finditer(re.escape(a), m):
                    found.append(("swap", hit.start(), a, b))
            for hit in re.finditer(r"\b(true|false)\b", m):
                word = hit.group(1)
                found.append(("flip", hit.start(), word, "false" if word == "true" else "true"))
            for hit in re.finditer(r"(?<![\w.'])(\d+)(?![\w.'])", m):
                value = int(hit.group(1))
                for delta in (1, -1):
                    if value + delta >= 0:
                        found.append(("const", hit.start(), hit.group(1), str(value + delta)))
            for hit in re.finditer(r"\b(if|while) \(", m):
                open_at = hit.end() - 1
                close = matching_paren(m, open_at)
                if close > 0 and ";" not in m[open_at:close]:
                    found.append(("negate", open_at, m[open_at:close + 1], None))
            if CALL.match(m) and " = " not in m and not re.match(r"\s*[\w:<>,]+\s+[\w:]+\(", m):
                found.append(("delete", 0, stripped, None))
            for kind, col, old, new in found:
                if kind == "negate":
                    close = col + len(old) - 1
                    mutated = line[:col] + "(!" + line[col:close + 1] + ")" + line[close + 1:]
                    desc = "condition negated"
                elif kind == "delete":
                    mutated = line[: len(line) - len(line.lstrip())] + ";"
                    desc = "call deleted"
                else:
                    mutated = line[:col] + new + line[col + len(old):]
                    desc = f"{old.strip()} -> {new.strip()}"
                ident = f"{os.path.basename(rel)}|{stripped}|{occ}|{kind}|{m[:col].count(old[:2]) if kind != 'delete' else 0}|{old}->{new}"
                yield {"file": rel, "line": no + 1, "kind": kind, "desc": desc, "ident": ident,
                       "original": line, "mutated": mutated}


def order(cands, seed):
    key = lambda c: hashlib.sha256(f"{seed}|{c['ident']}".encode("utf-8", "surrogateescape")).hexdigest()
    return sorted(cands, key=key)


def from_log(log, sample_tree, seed, objects):
    """The faults an earlier run's log shows built, with what that run found, in log order."""
    cands = order(list(candidates(sample_tree)), seed)
    digests = {}
    found, used = [], set()
    for line in open(log, encoding="utf-8", errors="replace"):
        m = re.match(r"\[\d+/\d+ \d+s\] (\S+):(\d+) (.*): (NOT NOTICED|noticed by (\d+) scenario files, (\d+) unit tests)$", line.strip())
        if not m:
            continue
        rel, no, desc = m.group(1), int(m.group(2)), m.group(3)
        if rel not in digests:
            with open(os.path.join(sample_tree, "src", rel), encoding="utf-8", errors="surrogateescape") as fh:
                digests[rel] = hashlib.sha256(fh.read().encode("utf-8", "surrogateescape")).hexdigest()[:16]
        for c in cands:
            if c["file"] != rel or c["line"] != no or c["desc"] != desc or c["ident"] in used:
                continue
            name = f"{digests[rel]}-{hashlib.sha256(c['ident'].encode('utf-8', 'surrogateescape')).hexdigest()[:16]}.o"
            if objects and not os.path.exists(os.path.join(objects, name)):
                continue
            used.add(c["ident"])
            before = {"noticed": m.group(4) != "NOT NOTICED",
                      "scenarios": int(m.group(5) or 0), "units": int(m.group(6) or 0)}
            found.append(dict(c, kept=name, before=before))
            break
    return found


def run(cmd, timeout, cwd=None):
    try:
        p = subprocess.run(cmd, cwd=cwd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=timeout)
        return p.returncode, p.stdout.decode("utf-8", "replace")
    except subprocess.TimeoutExpired as e:
        return -999, (e.stdout or b"").decode("utf-8", "replace")


class Suite:
    def __init__(self, tree, build, timeout, full):
        self.tree, self.build, self.timeout, self.full = tree, build, timeout, full
        self.scenarios = sorted(
            os.path.join(r, f) for r, _, fs in os.walk(os.path.join(tree, "tests", "scenarios"))
            for f in fs if f.endswith(".scn"))

    def configure(self):
        if not os.path.exists(os.path.join(self.build, "build.ninja")):
            subprocess.check_call(["cmake", "-S", self.tree, "-B", self.build, "-G", "Ninja",
                                   "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS=-O0",
                                   "-DVOLLO_WITH_QT=OFF", "-DVOLLO_WITH_GST=OFF", "-DVOLLO_BENCH=OFF"]
                                  + (["-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"] if shutil.which("ccache") else []),
                                  stdout=subprocess.DEVNULL)

    def object_path(self, rel):
        return os.path.join(self.build, "src", "CMakeFiles", "vollo_core.dir", rel + ".o")

    def drop_library(self):
        lib = os.path.join(self.build, "src", "libvollo_core.a")
        if os.path.exists(lib):
            os.remove(lib)

    def make(self, target):
        rc, out = run(["ninja", "-C", self.build, "-j1", target], timeout=1800)
        return rc == 0, out

    def scenario_failures(self):
        """The scenario files that fail (all of them when the runner crashes or hangs)."""
        exe = os.path.join(self.build, "tests", "support", "vollo-scenario")
        failed = set()
        files = self.scenarios
        while files:
            rc, out = run([exe] + files, self.timeout, cwd=self.tree)
            bad = {os.path.relpath(f, self.tree) for f in files
                   if re.search(re.escape(os.path.relpath(f, self.tree)) + r":\d+", out)
                   or re.search(re.escape(f) + r":\d+", out)}
            summary = re.search(r"(\d+) passed, (\d+) failed\s*$", out)
            if summary and rc in (0, 1):
                failed |= bad
                if rc == 1 and not bad:
                    failed.add("scenario runner")
                return failed
            # A crash or a hang: charge the file it stopped in and go on after it.
            done = [f for f in files if os.path.relpath(f, self.tree) in out or f in out]
            last = max((files.index(f) for f in done), default=-1)
            stop = last + 1 if last + 1 < len(files) else last
            failed |= bad
            failed.add(os.path.relpath(files[stop], self.tree) + " (crash)")
            if not self.full:
                return failed
            files = files[stop + 1:]
        return failed

    def unit_failures(self):
        exe = os.path.join(self.build, "tests", "core_tests")
        args = [exe, "--gtest_brief=1"] + ([] if self.full else ["--gtest_fail_fast"])
        rc, out = run(args, self.timeout)
        failed = set(re.findall(r"^\[  FAILED  \] (\S+\.\S+)", out, re.M))
        if rc != 0 and not failed:
            failed.add("core_tests (crash or hang)")
        return failed


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    here = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    ap.add_argument("--tree", default=here, help="source tree to mutate and test (default: this one)")
    ap.add_argument("--build", help="build directory (default: TREE/build/mutants)")
    ap.add_argument("--count", type=int, default=220, help="faults that build (default 220)")
    ap.add_argument("--seed", default="vollo-1", help="sampling seed")
    ap.add_argument("--timeout", type=int, default=120, help="seconds per test program")
    ap.add_argument("--full", action="store_true",
                    help="run every test for every fault (counts failing tests; default stops at the first)")
    ap.add_argument("--out", help="write the results as JSON")
    ap.add_argument("--list", action="store_true", help="only print the sample's candidates")
    ap.add_argument("--keep-objects", help="keep each fault's object file in this folder")
    ap.add_argument("--replay", help="take the faults that built in this earlier JSON result")
    ap.add_argument("--objects", help="with --replay or --replay-log: the kept object files")
    ap.add_argument("--replay-log", help="take the faults an earlier run's log shows built (with --sample-tree)")
    ap.add_argument("--sample-tree", help="the source tree the earlier run sampled from")
    ap.add_argument("--batch", type=int, default=0,
                    help="try the sample in batches of this size (each batch grouped by file), so that a run "
                         "stopped early has still sampled every file alike")
    ap.add_argument("--skip-log", action="append", help="leave out the faults this earlier run's log shows")
    ap.add_argument("--only", action="append", help="with a replay: only faults whose FILE:LINE starts so")
    a = ap.parse_args()
    tree = os.path.abspath(a.tree)
    build = os.path.abspath(a.build or os.path.join(tree, "build", "mutants"))
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("stopped"))
    cands = order(list(candidates(tree)), a.seed)
    if a.replay_log:
        earlier = from_log(a.replay_log, a.sample_tree or tree, a.seed, a.objects)
        here = {c["ident"]: c for c in cands}
        cands = [dict(here.get(r["ident"], r), kept=r.get("kept"), before=r["before"]) for r in earlier]
        if a.only:
            cands = [c for c in cands if any(f"{c['file']}:{c['line']}".startswith(o) for o in a.only)]
        a.count = len(cands)
    elif a.replay:
        with open(a.replay) as fh:
            earlier = [r for r in json.load(fh)["results"] if r["built"]]
        here = {c["ident"]: c for c in cands}
        cands = [dict(here.get(r["ident"], r), kept=r.get("kept")) for r in earlier]
        a.count = len(cands)
    if a.keep_objects:
        os.makedirs(a.keep_objects, exist_ok=True)
    if a.skip_log:
        done = set()
        for log in a.skip_log:
            for line in open(log, encoding="utf-8", errors="replace"):
                m = re.match(r"\[\d+/\d+ \d+s\] (\S+):(\d+) (.*): ", line.strip())
                if m:
                    done.add((m.group(1), int(m.group(2)), m.group(3)))
        cands = [c for c in cands if (c["file"], c["line"], c["desc"]) not in done]
    if a.list:
        for c in cands[: a.count]:
            print(f"{c['file']}:{c['line']}: {c['desc']}: {c['mutated'].strip()}")
        return 0
    suite = Suite(tree, build, a.timeout, a.full)
    suite.configure()
    for t in ("vollo-scenario", "core_tests"):
        ok, out = suite.make(t)
        if not ok:
            sys.exit("the unmutated tree does not build:\n" + out[-3000:])
    if suite.scenario_failures() or suite.unit_failures():
        sys.exit("the unmutated tree fails its tests")

    results = []
    pending = list(cands)
    start = time.time()
    while len([r for r in results if r["built"]]) < a.count and pending:
        # Take the next candidates in sample order, then try them grouped by file so that
        # consecutive faults in one file recompile only that file.
        need = a.count - len([r for r in results if r["built"]])
        if a.batch:
            need = min(need, a.batch)
        batch, pending = pending[:need], pending[need:]
        batch.sort(key=lambda c: (c["file"], c["line"]))
        for c in batch:
            path = os.path.join(tree, "src", c["file"])
            if not os.path.exists(path):
                # A replayed fault of a file that moved to another folder since.
                moved = [rel for rel in core_sources(tree) if os.path.basename(rel) == os.path.basename(c["file"])]
                if moved:
                    c = dict(c, file=moved[0])
                    path = os.path.join(tree, "src", moved[0])
            if not os.path.exists(path):
                results.append(dict(c, built=False, missing=True))
                print(f"{c['file']}:{c['line']} {c['desc']}: file not found", flush=True)
                continue
            with open(path, encoding="utf-8", errors="surrogateescape", newline="") as fh:
                text = fh.read()
            lines = text.split("\n")
            if c["line"] > len(lines) or lines[c["line"] - 1] != c["original"]:
                found = [i for i, l in enumerate(lines) if l == c["original"]]
                if not found:
                    results.append(dict(c, built=False, missing=True))
                    print(f"{c['file']}:{c['line']} {c['desc']}: line not found", flush=True)
                    continue
                c = dict(c, line=found[0] + 1)
            lines[c["line"] - 1] = c["mutated"]
            digest = hashlib.sha256(text.encode("utf-8", "surrogateescape")).hexdigest()[:16]
            obj = suite.object_path(c["file"])
            kept = os.path.join(a.objects or "", f"{c.get('kept') or ''}") if a.objects else None
            reuse = kept and c.get("kept") and c["kept"].startswith(digest) and os.path.exists(kept)
            try:
                if reuse:
                    # Ninja would recompile an object whose time changed: the kept one
                    # takes the original's time, and the library is made again.
                    original_obj = obj + ".unmutated"
                    stamp = os.stat(obj)
                    shutil.copy2(obj, original_obj)
                    shutil.copyfile(kept, obj)
                    os.utime(obj, ns=(stamp.st_atime_ns, stamp.st_mtime_ns))
                    suite.drop_library()
                else:
                    with open(path, "w", encoding="utf-8", errors="surrogateescape", newline="") as fh:
                        fh.write("\n".join(lines))
                built, _ = suite.make("vollo-scenario")
                r = dict(c, built=built)
                if built and a.keep_objects:
                    name = f"{digest}-{hashlib.sha256(c['ident'].encode('utf-8', 'surrogateescape')).hexdigest()[:16]}.o"
                    shutil.copyfile(obj, os.path.join(a.keep_objects, name))
                    r["kept"] = name
                if built:
                    r["scenarios"] = sorted(suite.scenario_failures())
                    r["units"] = []
                    if a.full or not r["scenarios"]:
                        ok, _ = suite.make("core_tests")
                        r["units"] = sorted(suite.unit_failures()) if ok else ["core_tests (no build)"]
                    r["noticed"] = bool(r["scenarios"] or r["units"])
                results.append(r)
            finally:
                if reuse:
                    shutil.copyfile(original_obj, obj)
                    os.utime(obj, ns=(stamp.st_atime_ns, stamp.st_mtime_ns))
                    suite.drop_library()
                else:
                    with open(path, "w", encoding="utf-8", errors="surrogateescape", newline="") as fh:
                        fh.write(text)
            n = len([r for r in results if r["built"]])
            state = "skipped (does not build)" if not r["built"] else (
                f"noticed by {len(r['scenarios'])} scenario files, {len(r['units'])} unit tests"
                if r["noticed"] else "NOT NOTICED")
            print(f"[{n}/{a.count} {int(time.time() - start)}s] {c['file']}:{c['line']} {c['desc']}: {state}",
                  flush=True)
    # Leave the build matching the restored sources.
    suite.make("vollo-scenario")
    suite.make("core_tests")

    built = [r for r in results if r["built"]]
    noticed = [r for r in built if r["noticed"]]
    print(f"\n{len(noticed)} of {len(built)} faults noticed ({len(results) - len(built)} did not build)")
    if a.full and noticed:
        counts = [len(r["scenarios"]) + len(r["units"]) for r in noticed]
        only_s = sum(1 for r in noticed if r["scenarios"] and not r["units"])
        only_u = sum(1 for r in noticed if r["units"] and not r["scenarios"])
        print(f"median tests failing per noticed fault: {statistics.median(counts)}; "
              f"only scenario files: {only_s}, only unit tests: {only_u}, both: {len(noticed) - only_s - only_u}")
    compared = [r for r in built if r.get("before")]
    if compared:
        was = [r for r in compared if r["before"]["noticed"]]
        print(f"the same faults in the earlier run: {len(was)} of {len(compared)} noticed")
        print("noticed earlier, not now:")
        for r in compared:
            if r["before"]["noticed"] and not r["noticed"]:
                print(f"  {r['file']}:{r['line']}: {r['desc']}: {r['mutated'].strip()}")
        print("noticed now, not earlier:")
        for r in compared:
            if r["noticed"] and not r["before"]["noticed"]:
                print(f"  {r['file']}:{r['line']}: {r['desc']}: {r['mutated'].strip()}")
    print("not noticed:")
    for r in built:
        if not r["noticed"]:
            print(f"  {r['file']}:{r['line']}: {r['desc']}: {r['mutated'].strip()}")
    if a.out:
        with open(a.out, "w") as fh:
            json.dump({"seed": a.seed, "count": a.count, "results": results}, fh, indent=1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
