#!/usr/bin/env python3
"""Mutation testing for the game and its handset: how many small faults does the suite catch?

Finds candidate sites in the C++ sources of game/core, game/render, game/shell, game/sensor and platform/
(platform/include, the Win32 interface numbers the whole tree shares, is left out), of four
kinds: flipped comparisons, integer constants +1 and -1, deleted statements and swapped
arguments. Comments, strings, preprocessor lines, static_assert, template arguments, array
sizes and operator declarations are skipped. The sites are sorted by file, line and column,
shuffled with a fixed seed and tried in that order: each mutant is written into its file,
the build directory is rebuilt incrementally and the suite runs with ctest. A mutant that
does not build is not counted, and the next one is drawn until --count mutants have built,
so the sample depends only on the code, never on the tests.

A failing test runs once more before it counts, so that a test upset by a busy machine
kills nothing. The suite runs without the `format` test (any edit fails it) and the libFuzzer
`*_fuzz_short` runs (random and slow); neither can judge a mutant.

The file is always put back (also on Ctrl-C or SIGTERM) and checked against its checksum;
a run killed outright leaves its original in BUILD/mutate-journal, restored at the next
start. Use a tree nobody else works in: files are mutated in place.

  git worktree add --detach ../vireta-mutants HEAD && cd ../vireta-mutants
  cmake --preset default && cmake --build --preset default
  nice -n 10 tools/mutate/mutate.py --results mutants.txt   # one line a mutant, then "killed K of N"
  tools/mutate/mutate.py --list | head                      # the order the sites are drawn in
"""

import argparse
import hashlib
import json
import os
import random
import re
import signal
import stat
import subprocess
import sys
import time

FOLDERS = ("game/core", "game/render", "game/shell", "game/sensor", "platform")
SKIPPED_FOLDERS = ("platform/include",)
EXCLUDED_TESTS = r"^(format|.*_fuzz_short)$"
SYMMETRIC_CALLS = {"min", "max", "swap", "hypot"}
TYPE_WORDS = {"int", "bool", "char", "double", "float", "long", "short", "unsigned", "void", "auto", "const"}


def blank_comments_and_strings(text):
    """Returns text of the same length with comments and string/char literals turned to spaces."""
    out = list(text)
    i, n = 0, len(text)

    def blank(a, b):
        for k in range(a, b):
            if out[k] != "\n":
                out[k] = " "

    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            blank(i, j)
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            blank(i, j)
            i = j
        elif c == "R" and text.startswith('"', i + 1) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == "_")):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            blank(i, j)
            i = j
        elif c in "\"'":
            if c == "'" and i > 0 and text[i - 1].isalnum():  # digit separator 1'000
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            blank(i, j + 1)
            i = j + 1
        else:
            i += 1
    return "".join(out)


def skipped_spans(line):
    """Column ranges of a masked line where a mutant cannot compile or means nothing."""
    spans = []
    for m in re.finditer(r"[\w>]<[^<>;()]*>", line):  # template arguments
        spans.append((m.start(), m.end()))
    for m in re.finditer(r"\b(?!return\b|case\b)[A-Za-z_]\w*(?:\s*[*&]+)?\s+[A-Za-z_]\w*\s*(\[[^\]]*\])+", line):  # array sizes
        spans.append((m.start(1), m.end()))
    for m in re.finditer(r"\balign(?:as|of)\s*\([^)]*\)|\bsizeof\s*\([^)]*\)|:\s*\d+\s*;", line):  # bit fields
        spans.append((m.start(), m.end()))
    return spans


def inside(col, spans):
    return any(a <= col < b for a, b in spans)


def int_literal_mutants(token):
    m = re.fullmatch(r"(0[xX][0-9a-fA-F']+|\d[\d']*)([uUlLzZ]*)", token)
    if not m:
        return []
    digits, suffix = m.group(1).replace("'", ""), m.group(2)
    hexa = digits[:2].lower() == "0x"
    if not hexa and len(digits) > 1 and digits.startswith("0"):
        return []  # octal: rare, and easily misread
    value = int(digits, 16 if hexa else 10)
    results = []
    for delta in (1, -1):
        v = value + delta
        if v < 0 and ("u" in suffix.lower() or hexa):
            continue
        text = (digits[:2] + ("%X" if re.search("[A-F]", digits) else "%x") % v if hexa else str(v)) + suffix
        results.append(("constant%+d" % delta, text))
    return results


def line_is_skipped(raw, masked):
    stripped = masked.strip()
    return (
        not stripped
        or stripped.startswith("#")
        or "static_assert" in stripped
        or "operator" in stripped
        or stripped.startswith("template")
        or re.search(r"\)\s*(const\s*)?(override\s*)?=\s*(0|default|delete)\s*;", stripped) is not None
    )


DECLARATION_START = re.compile(
    r"^(return|using|typedef|static|const|constexpr|auto|class|struct|enum|namespace|template|friend|"
    r"case|default|goto|delete|new|throw|co_return|extern|inline|virtual|explicit|public|private|protected)\b"
)


def deletable(masked, previous):
    s = masked.strip()
    if not s.endswith(";") or DECLARATION_START.match(s):
        return False
    if s in ("break;", "continue;"):
        return True
    if not previous.rstrip().endswith(("{", "}", ";", ":")) and previous.strip():
        return False  # a continued statement, or the body of an if without braces
    if s.count("(") != s.count(")") or s.count("{") != s.count("}"):
        return False
    head = re.match(r"^(?:\+\+|--)?[A-Za-z_][\w:.\->\[\]]*", s)
    if not head:
        return False
    rest = s[head.end() :].lstrip()
    return bool(re.match(r"^(\(|[-+*/|&^%]?=(?!=)|<<=|>>=|\+\+;|--;)", rest)) or s.startswith(("++", "--"))


def candidates(root):
    found = []
    for folder in FOLDERS:
        for dirpath, dirnames, filenames in os.walk(os.path.join(root, folder)):
            rel_dir = os.path.relpath(dirpath, root)
            dirnames[:] = sorted(d for d in dirnames if os.path.join(rel_dir, d) not in SKIPPED_FOLDERS)
            for name in sorted(filenames):
                path = os.path.join(dirpath, name)
                if name.endswith((".cpp", ".h")) and stat.S_ISREG(os.lstat(path).st_mode):
                    found.extend(file_candidates(root, os.path.relpath(path, root)))
    found.sort(key=lambda m: (m["file"], m["line"], m["col"], m["kind"], m["after"]))
    return found


def file_candidates(root, rel):
    with open(os.path.join(root, rel), encoding="utf-8") as f:
        text = f.read()
    raw_lines = text.split("\n")
    masked_lines = blank_comments_and_strings(text).split("\n")
    found = []
    previous = ""
    continued = False
    for number, (raw, masked) in enumerate(zip(raw_lines, masked_lines), start=1):
        directive = continued or masked.strip().startswith("#")
        continued = directive and raw.rstrip().endswith("\\")
        if directive or line_is_skipped(raw, masked):
            if masked.strip():
                previous = masked
            continue
        spans = skipped_spans(masked)

        def add(col, kind, before, after):
            found.append({"file": rel, "line": number, "col": col, "kind": kind, "before": before, "after": after})

        for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", masked):
            if not inside(m.start(), spans):
                flipped = {"<": ">=", ">=": "<", ">": "<=", "<=": ">", "==": "!=", "!=": "=="}[m.group(1)]
                add(m.start(), "comparison", m.group(1), flipped)
        for m in re.finditer(r"(?<![\w.'])(0[xX][0-9a-fA-F']+|\d[\d']*)[uUlLzZ]*(?![\w.'])", masked):
            if inside(m.start(), spans) or masked[m.end() : m.end() + 1] in ("e", "E", "f"):
                continue
            if re.search(r"\bcase\s+$", masked[: m.start()]):
                continue  # two equal labels do not compile; a free label is equivalent
            for kind, after in int_literal_mutants(m.group(0)):
                add(m.start(), kind, m.group(0), after)
        for m in re.finditer(r"([A-Za-z_]\w*)\(([^(),]+), ([^(),]+)\)", masked):
            a, b = m.group(2), m.group(3)
            simple = r"-?[\w.:\->\[\]]+"
            if (
                m.group(1) in SYMMETRIC_CALLS
                or m.group(1) in ("if", "for", "while", "switch", "return", "sizeof", "decltype")
                or not (re.fullmatch(simple, a) and re.fullmatch(simple, b))
                or a == b
                or a in TYPE_WORDS
                or b in TYPE_WORDS
                or inside(m.start(), spans)
            ):
                continue
            add(m.start(2), "swap", raw[m.start(2) : m.end(3)], b + ", " + a)
        if deletable(masked, previous):
            start = len(masked) - len(masked.lstrip())
            end = len(masked.rstrip())
            add(start, "delete", raw[start:end], "")
        previous = masked
    return found


def describe(m):
    return "%s:%d  %s  %s -> %s" % (m["file"], m["line"], m["kind"], m["before"], m["after"] or "(deleted)")


def earlier(order, results_file):
    """The mutants of an earlier run's results file, each with its result: the lines follow the order."""
    done = []
    with open(results_file, encoding="utf-8") as f:
        for line in f:
            if line.startswith(("#", "killed ")) or not line.strip():
                continue
            m = order[len(done)] if len(done) < len(order) else None
            if m is None or not line.startswith(describe(m) + "  "):
                sys.exit("mutate: %s: %r is not this tree's next mutant" % (results_file, line.rstrip()))
            outcome = line[len(describe(m)) + 2 :].rstrip("\n")
            done.append((m, outcome.split(" ")[0], outcome))
    return done


def mutant_id(m):
    return "%s:%d:%d %s" % (m["file"], m["line"], m["col"] + 1, m["kind"])


def apply(text, m):
    lines = text.split("\n")
    line = lines[m["line"] - 1]
    col = m["col"]
    if line[col : col + len(m["before"])] != m["before"]:
        raise RuntimeError("%s: the source no longer reads %r" % (mutant_id(m), m["before"]))
    lines[m["line"] - 1] = line[:col] + m["after"] + line[col + len(m["before"]) :]
    return "\n".join(lines)


def write_regular(path, data, create=False):
    """Writes bytes into a regular file without following a link or replacing anything else."""
    flags = os.O_WRONLY | os.O_TRUNC | os.O_NOFOLLOW | (os.O_CREAT if create else 0)
    fd = os.open(path, flags, 0o644)
    try:
        if not stat.S_ISREG(os.fstat(fd).st_mode):
            raise RuntimeError("%s is not a regular file" % path)
        os.write(fd, data)
    finally:
        os.close(fd)


def restore_journal(journal):
    if not os.path.lexists(journal):
        return
    with open(journal, "rb") as f:
        record = json.loads(f.readline())
        data = f.read()
    write_regular(record["file"], data)
    if hashlib.sha256(data).hexdigest() != record["sha256"]:
        raise RuntimeError("the journal in %s is damaged: check %s by hand" % (journal, record["file"]))
    os.unlink(journal)
    print("put back %s from an interrupted run" % record["file"], flush=True)


def run(cmd, timeout, log):
    with open(log, "wb") as out:
        try:
            return subprocess.run(cmd, stdout=out, stderr=subprocess.STDOUT, timeout=timeout).returncode
        except subprocess.TimeoutExpired:
            return None


def first_failure(log):
    with open(log, encoding="utf-8", errors="replace") as f:
        for line in f:
            m = re.search(r"Test\s+#\d+: (\S+) \.*\s*(\*\*\*\w+|Not Run|Exception|Subprocess)", line)
            if m:
                return m.group(1)
    return "?"


def judge(m, root, build, args):
    path = os.path.join(root, m["file"])
    with open(path, "rb") as f:
        original = f.read()
    digest = hashlib.sha256(original).hexdigest()
    mutated = apply(original.decode("utf-8"), m).encode("utf-8")
    journal = os.path.join(build, "mutate-journal")
    write_regular(journal, json.dumps({"file": path, "sha256": digest}).encode() + b"\n" + original, create=True)
    try:
        write_regular(path, mutated)
        log = os.path.join(build, "mutate-last.log")
        code = run(["cmake", "--build", build], args.build_timeout, log)
        if code != 0:
            return "no-build", ""
        code = run(
            ["ctest", "--test-dir", build, "-j", str(args.jobs), "--stop-on-failure", "--timeout", str(args.timeout)]
            + ["--repeat", "until-pass:2"]
            + ["-E", EXCLUDED_TESTS],
            None,
            log,
        )
        return ("survived", "") if code == 0 else ("killed", first_failure(log))
    finally:
        write_regular(path, original)
        with open(path, "rb") as f:
            if hashlib.sha256(f.read()).hexdigest() != digest:
                raise RuntimeError("%s was not put back as it was" % m["file"])
        os.unlink(journal)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--root", default=".", help="source tree (default: .)")
    parser.add_argument("--build", default="build/default", help="configured build directory (default: build/default)")
    parser.add_argument("--seed", type=int, default=20261208, help="shuffle seed (default: 20261208)")
    parser.add_argument("--count", type=int, default=60, help="mutants that build (default: 60)")
    parser.add_argument("--results", help="also write the lines to this file, as the run goes")
    parser.add_argument("--timeout", type=int, default=120, help="seconds per test (default: 120)")
    parser.add_argument("--build-timeout", type=int, default=900, help="seconds per build (default: 900)")
    parser.add_argument("--jobs", type=int, default=2, help="ctest -j (default: 2)")
    parser.add_argument("--list", action="store_true", help="print the sample's order of sites and stop")
    parser.add_argument("--sample", metavar="RESULTS", help="run exactly the mutants an earlier run built")
    parser.add_argument("--part", default="1/1", help="with --sample, the K-th of N interleaved parts (default: 1/1)")
    parser.add_argument("--resume", action="store_true", help="keep the --results file's mutants and go on after them")
    parser.add_argument("--rejudge", metavar="REGEX", help="with --resume, judge again the mutants these tests killed")
    args = parser.parse_args()
    part = re.fullmatch(r"([1-9]\d*)/([1-9]\d*)", args.part)
    if not part or int(part.group(1)) > int(part.group(2)):
        sys.exit("mutate: --part takes K/N with 1 <= K <= N, not %r" % args.part)

    root = os.path.abspath(args.root)
    build = os.path.abspath(os.path.join(root, args.build) if not os.path.isabs(args.build) else args.build)
    if not os.path.isfile(os.path.join(build, "CTestTestfile.cmake")):
        sys.exit("mutate: %s is not a configured build directory" % build)
    order = candidates(root)
    random.Random(args.seed).shuffle(order)
    if args.sample:
        chosen = [m for m, result, _ in earlier(order, args.sample) if result != "no-build"]
        order = chosen[int(part.group(1)) - 1 :: int(part.group(2))]
        args.count = len(order)
    if args.list:
        for m in order:
            print("%s  %s -> %s" % (mutant_id(m), m["before"], m["after"] or "(deleted)"))
        return 0

    def stop(signum, frame):
        raise KeyboardInterrupt

    signal.signal(signal.SIGTERM, stop)
    restore_journal(os.path.join(build, "mutate-journal"))
    done = earlier(order, args.results) if args.resume and args.results and os.path.isfile(args.results) else []
    results = None
    if args.results:
        fd = os.open(args.results, os.O_WRONLY | os.O_CREAT | os.O_TRUNC | os.O_NOFOLLOW, 0o644)
        if not stat.S_ISREG(os.fstat(fd).st_mode):
            os.close(fd)
            sys.exit("mutate: %s is not a regular file" % args.results)
        results = os.fdopen(fd, "w", encoding="utf-8")

    def say(text):
        print(text, flush=True)
        if results:
            results.write(text + "\n")
            results.flush()

    say("# %d sites, seed %d, %d mutants wanted; tests left out: %s" % (len(order), args.seed, args.count, EXCLUDED_TESTS))
    killed = built = 0
    started = time.monotonic()
    try:
        for index, m in enumerate(order):
            if built == args.count:
                break
            kept = done[index] if index < len(done) else None
            if kept and not (args.rejudge and kept[1] == "killed" and re.search(args.rejudge, kept[2].split(" ")[1])):
                built += kept[1] != "no-build"
                killed += kept[1] == "killed"
                say("%s  %s" % (describe(m), kept[2]))
                continue
            t0 = time.monotonic()
            result, test = judge(m, root, build, args)
            built += result != "no-build"
            killed += result == "killed"
            say("%s  %s %s(%ds)" % (describe(m), result, test + " " if test else "", time.monotonic() - t0))
    except KeyboardInterrupt:
        say("# interrupted")
    finally:
        run(["cmake", "--build", build], args.build_timeout, os.path.join(build, "mutate-last.log"))
    say("killed %d of %d (%d min)" % (killed, built, (time.monotonic() - started) // 60))
    return 0 if built == args.count else 1


if __name__ == "__main__":
    sys.exit(main())
