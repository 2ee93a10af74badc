#!/usr/bin/env python3
"""Small mutation run over a part of the tree: how many planted faults does the suite catch?

Faults are drawn with a seed, one per line, from the code of the part (never inside a comment or
a string literal): the library (QuorObjectModel/ and Include/, the default), the platform
stand-ins (Platform/), or any directories or files of the tree named. Kinds: a constant +-1, a
flipped comparison or logical operator, a negated
condition, return true/false swapped, a deleted statement. Each is built incrementally in
build-mutate/ and run against the suite without the packaging tests under a timeout; the file is
restored after each, also when the run is interrupted (and, after a hard kill, at the next run).
With --sanitize, the survivors are tried again in an ASan+UBSan+LSan build, as ./dev sanitize runs
the suite (with the sanitizer options ./dev mutate exports): a fault that only corrupts memory
or leaks is caught there or nowhere.

usage: mutate.py [--part library|platform|PATH[,PATH...]] [--sanitize] [N] [SEED]
       (default: the library, 100 faults, seed 1)
"""

import os
import pathlib
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = pathlib.Path(__file__).resolve().parents[2]
BUILD = ROOT / "build-mutate"
SANITIZED = BUILD / "asan"
PENDING = BUILD / "pending-restore"
PARTS = {"library": ["QuorObjectModel", "Include"], "platform": ["Platform"]}
BUILD_TIMEOUT = 600
SUITE_TIMEOUT = 300


def code_mask(text):
    """For each character: True where it is code, False in comments, strings and directives."""
    mask = [True] * len(text)
    i, n = 0, len(text)
    line_start = True
    while i < n:
        c = text[i]
        if line_start and text[i:].lstrip(" \t").startswith("#"):
            # A preprocessor line (with its continuations) is left alone.
            end = i
            while True:
                end = text.find("\n", end)
                if end == -1:
                    end = n
                    break
                if text[end - 1] != "\\":
                    break
                end += 1
            mask[i:end] = [False] * (end - i)
            i = end
            continue
        line_start = c == "\n"
        if text.startswith("//", i):
            end = text.find("\n", i)
            end = n if end == -1 else end
        elif text.startswith("/*", i):
            end = text.find("*/", i + 2)
            end = n if end == -1 else end + 2
        elif c in "\"'":
            end = i + 1
            while end < n and text[end] != c:
                end += 2 if text[end] == "\\" else 1
            end += 1
            if c == "'" and i > 0 and text[i - 1].isalnum():
                # A digit separator, not a character literal.
                i += 1
                continue
        else:
            i += 1
            continue
        mask[i:end] = [False] * (end - i)
        i = end
    return mask


SWAPS = [
    (r"(?<=\s)<(?=\s)", "<="), (r"(?<=\s)<=(?=\s)", "<"), (r"(?<=\s)>(?=\s)", ">="),
    (r"(?<=\s)>=(?=\s)", ">"), (r"==", "!="), (r"!=", "=="),
    (r"(?<=\s)&&(?=\s)", "||"), (r"(?<=\s)\|\|(?=\s)", "&&"),
    (r"\breturn true;", "return false;"), (r"\breturn false;", "return true;"),
]
NUMBER = re.compile(r"(?<![\w.])(0[xX][0-9a-fA-F]+|\d+)([uUlL]*)(?![\w.])")
STATEMENT = re.compile(r"^(\s*)(?!return\b|break\b|continue\b|case\b|default\b|else\b)[\w:]"
                       r"[^;{}]*;\s*$")
# Declarations are no statements to delete: without them the code rarely builds, and a
# defaulted or declared member that goes changes nothing.
DECLARATION = re.compile(r"^\s*(virtual|explicit|static|using|typedef|friend|template|constexpr|"
                         r"mutable|inline|const|unsigned|signed|bool|int|char|double|float|void|"
                         r"auto|std::|boost::|[\w:]+(<.*>)?[\s*&]+\w+\s*(=|;|\(|\{|\[))|"
                         r"= (default|delete);")


def sites(path):
    """Every fault this file offers: (line number, kind, new line)."""
    text = path.read_text()
    mask = code_mask(text)
    found = []
    offset = 0
    for number, line in enumerate(text.split("\n"), 1):
        def code(start, end, base=offset):
            return all(mask[base + k] for k in range(start, end))

        for pattern, replacement in SWAPS:
            for m in re.finditer(pattern, line):
                if code(m.start(), m.end()):
                    found.append((number, "operator",
                                  line[:m.start()] + replacement + line[m.end():]))
        for m in NUMBER.finditer(line):
            if code(m.start(), m.end()):
                value = int(m.group(1), 0)
                for delta in (1, -1):
                    if value + delta >= 0:
                        digits = (hex(value + delta) if m.group(1).lower().startswith("0x")
                                  else str(value + delta))
                        found.append((number, "constant",
                                      line[:m.start()] + digits + m.group(2) + line[m.end():]))
        for m in re.finditer(r"\b(if|while) \(", line):
            depth, end = 0, None
            for k in range(m.end() - 1, len(line)):
                depth += {"(": 1, ")": -1}.get(line[k], 0)
                if depth == 0:
                    end = k
                    break
            if end is not None and code(m.start(), end + 1):
                inner = line[m.end():end]
                found.append((number, "negation",
                              line[:m.end()] + "!(" + inner + ")" + line[end:]))
        # In a header, only the bodies of inline functions (indented deeper than members).
        body = path.suffix == ".cpp" or line.startswith("    ")
        if (body and STATEMENT.match(line) and not DECLARATION.search(line)
                and code(0, len(line)) and line.count("(") == line.count(")")):
            found.append((number, "deletion", STATEMENT.match(line).group(1) + ";"))
        offset += len(line) + 1
    return found


def run(command, timeout, cwd=ROOT):
    # In a process group of its own, so that a timeout or an interrupt ends the compilers too:
    # one left running would write a faulty object after the source is restored.
    with subprocess.Popen(command, cwd=cwd, stdout=subprocess.DEVNULL,
                          stderr=subprocess.DEVNULL, start_new_session=True) as process:
        try:
            return process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            return "timeout"
        finally:
            if process.poll() is None:
                os.killpg(process.pid, signal.SIGKILL)
                process.wait()


def build(where=BUILD):
    return run(["cmake", "--build", str(where)], BUILD_TIMEOUT)


def suite(where=BUILD):
    return run(["ctest", "-LE", "Packaging", "-j2", "--timeout", "60"], SUITE_TIMEOUT, where)


def restore_pending():
    if PENDING.exists():
        name, _, original = PENDING.read_text().partition("\n")
        (ROOT / name).write_text(original)
        PENDING.unlink()
        print(f"mutate: restored {name} from an interrupted run")


def configure(where=BUILD, *options):
    # No -Werror: a fault that only warns is still a fault to catch. Test programs are not
    # relinked against each new library, which they load at run time anyway. A compiler cache
    # makes the build after each restore a matter of look-ups: a fault in a header that every
    # unit includes then costs one rebuild, not two.
    launcher = shutil.which("ccache")
    os.environ.setdefault("CCACHE_DIR", str(BUILD / "ccache"))
    subprocess.run(["cmake", "-S", str(ROOT), "-B", str(where), "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Debug", "-DCMAKE_CXX_FLAGS_DEBUG=-O0",
                    "-DQUOR_BUILD_BENCH=OFF", "-DQUOR_WERROR=OFF",
                    "-DCMAKE_LINK_DEPENDS_NO_SHARED=ON",
                    f"-DCMAKE_CXX_COMPILER_LAUNCHER={launcher or ''}", *options],
                   cwd=ROOT, check=True, stdout=subprocess.DEVNULL)


def arguments(argv):
    """(source paths, count, seed, sanitize) from the command line, or exits with the usage."""
    usage = "usage: mutate.py [--part library|platform|PATH[,PATH...]] [--sanitize] [N] [SEED]"
    part, rest, sanitize = "library", [], False
    while argv:
        word = argv.pop(0)
        if word == "--sanitize":
            sanitize = True
        elif word == "--part" and argv:
            part = argv.pop(0)
        elif word.startswith("--part="):
            part = word[len("--part="):]
        elif word.isdigit() and len(rest) < 2:
            rest.append(int(word))
        else:
            sys.exit(usage)
    paths = PARTS.get(part, [p for p in part.split(",") if p])
    for path in paths:
        # Only the tree's own code: a path that leaves it or is not there is refused.
        resolved = (ROOT / path).resolve()
        if not resolved.exists() or ROOT not in (resolved, *resolved.parents):
            sys.exit(f"mutate: no part or path '{path}' in the tree\n{usage}")
    return (paths, *(rest + [100, 1][len(rest):]), sanitize)


def try_fault(fault, where=BUILD):
    """Builds and runs the suite with one fault in place: "not built", "killed", "killed
    (timeout)" or "SURVIVED". The source is restored whatever happens."""
    path, number, _, new_line = fault
    original = path.read_text()
    lines = original.split("\n")
    lines[number - 1] = new_line
    PENDING.write_text(str(path.relative_to(ROOT)) + "\n" + original)
    try:
        path.write_text("\n".join(lines))
        if build(where) != 0:
            return "not built"
        result = suite(where)
        return {0: "SURVIVED", "timeout": "killed (timeout)"}.get(result, "killed")
    finally:
        path.write_text(original)
        PENDING.unlink()


def main():
    sources, count, seed, sanitize = arguments(sys.argv[1:])
    BUILD.mkdir(exist_ok=True)
    restore_pending()
    # A stop from outside comes through the same restoring path as an interrupt, also where
    # a background start left interrupts ignored.
    signal.signal(signal.SIGINT, signal.default_int_handler)
    signal.signal(signal.SIGTERM, signal.default_int_handler)
    configure()
    if build() != 0 or suite() != 0:
        sys.exit("mutate: the unmutated suite does not build and pass in build-mutate/")

    roots = [ROOT / d for d in sources]
    files = sorted({p for d in roots for p in ([d] if d.is_file() else d.rglob("*"))
                    if p.suffix in (".cpp", ".h", ".hpp")})
    # A line is drawn first, then one of its faults: a table row of twenty numbers weighs as
    # much as a line of logic.
    by_line = {}
    for path in files:
        for site in sites(path):
            by_line.setdefault((path, site[0]), []).append((path, *site))
    rng = random.Random(seed)
    lines = rng.sample(sorted(by_line), min(count, len(by_line)))
    faults = [rng.choice(by_line[line]) for line in lines]
    print(f"mutate: {len(faults)} faults on as many of {len(by_line)} lines of "
          f"{', '.join(sources)}, seed {seed}", flush=True)

    killed, built, survivors, started = 0, 0, [], time.monotonic()
    for index, fault in enumerate(faults, 1):
        verdict = try_fault(fault)
        built += verdict != "not built"
        killed += verdict.startswith("killed")
        if verdict == "SURVIVED":
            survivors.append(fault)
        print(f"[{index}/{len(faults)}] {verdict:16} {describe(fault)}", flush=True)

    if sanitize and survivors:
        configure(SANITIZED, "-DQUOR_SANITIZE=address")
        if build(SANITIZED) != 0 or suite(SANITIZED) != 0:
            sys.exit("mutate: the unmutated suite does not build and pass in " + str(SANITIZED))
        print(f"mutate: {len(survivors)} survivors tried again under the sanitizers", flush=True)
        for fault in list(survivors):
            verdict = try_fault(fault, SANITIZED)
            if verdict.startswith("killed"):
                killed += 1
                survivors.remove(fault)
            print(f"[sanitized] {verdict:16} {describe(fault)}", flush=True)
        build(SANITIZED)

    build()
    elapsed = time.monotonic() - started
    print(f"\nmutate: {len(survivors)} survivors")
    for fault in survivors:
        print(f"  {describe(fault)}")
    score = 100.0 * killed / built if built else 0.0
    print(f"mutate: killed {killed} of {built} that built ({score:.1f} %), "
          f"{len(faults) - built} did not build; {elapsed / max(len(faults), 1):.1f} s a fault")


def describe(fault):
    path, number, kind, new_line = fault
    old_line = path.read_text().split("\n")[number - 1]
    return (f"{path.relative_to(ROOT)}:{number} {kind}: {old_line.strip()}  =>  "
            f"{new_line.strip()}")


if __name__ == "__main__":
    try:
        main()
    except KeyboardInterrupt:
        sys.exit("mutate: interrupted; the source is restored")
