#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""scourwell --purge against find, side by side, in memory (tmpfs) and on disk.

    bench/bench_purge.py [--scourwell PROGRAM] [--core-cli PROGRAM] [--runs N] [--disk FOLDER]
                         [--places tmpfs,disk] [--styles files,include,subfolders]

Trees: 100,000 files in one folder, half of them old ("flat"), and 1,000 folders of 100
files, half of the files and half of the folders old ("nested"). Every run purges a fresh
copy of the tree. The programs take turns, so that a change in the machine's load falls on
all alike. Shows the median wall time, and the peak memory (maximum resident set size, by GNU
time) of the full tree and of a tree a tenth its size, which shows whether memory grows with
the number of files, and, where strace is installed, the system calls per entry of the tree
beyond the removals (unlink, unlinkat, rmdir) of one run under `strace -f -c`: find makes
one (its fstatat) per entry. --core-cli adds bench_purge_cli, the same command without the window
libraries, whose time is the purge's own without the full program's start-up.
"""

import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

OLD = time.time() - 3 * 86400
MINUTES = 1440  # the threshold: one day

STYLES = [  # style, tree, the find command that does the same
    ("Files Only", "flat", ["-maxdepth", "1", "-type", "f", "-mmin", f"+{MINUTES}", "-delete"]),
    ("Include Files in Subfolders", "nested", ["-mindepth", "2", "-type", "f", "-mmin", f"+{MINUTES}", "-delete"]),
    ("Subfolders Only", "nested",
     ["-mindepth", "1", "-maxdepth", "1", "-type", "d", "-mmin", f"+{MINUTES}", "-exec", "rm", "-rf", "{}", "+"]),
]


def make_file(path, old):
    os.close(os.open(path, os.O_CREAT | os.O_WRONLY, 0o644))
    if old:
        os.utime(path, (OLD, OLD))


def make_tree(kind, files, root):
    os.makedirs(root)
    if kind == "flat":
        for i in range(files):
            make_file(f"{root}/f{i}", i % 2 == 0)
        return
    for d in range(files // 100):
        folder = f"{root}/d{d}"
        os.mkdir(folder)
        for i in range(100):
            make_file(f"{folder}/f{i}", i % 2 == 0)
        if d % 2 == 0:
            os.utime(folder, (OLD, OLD))


def fresh_copy(template, target):
    if os.path.exists(target):
        shutil.rmtree(target)
    subprocess.run(["cp", "-a", template, target], check=True)


def timed_run(command):
    """Wall milliseconds and peak resident kilobytes of one run."""
    with tempfile.NamedTemporaryFile("r") as peak:
        start = time.perf_counter()
        result = subprocess.run(["/usr/bin/time", "-f", "%M", "-o", peak.name] + command,
                                stdout=subprocess.DEVNULL)
        elapsed = time.perf_counter() - start
        if result.returncode != 0:
            sys.exit(f"bench_purge: {' '.join(command)} failed")
        return elapsed * 1000, int(peak.read().split()[-1])


REMOVALS = {"unlink", "unlinkat", "rmdir"}


def entries_of(root):
    return sum(len(folders) + len(files) for _, folders, files in os.walk(root))


def calls_per_entry(command, entries):
    """System calls of one run beyond the removals, per entry of the tree (None without strace)."""
    if not shutil.which("strace"):
        return None
    with tempfile.NamedTemporaryFile("r") as summary:
        subprocess.run(["strace", "-f", "-c", "-o", summary.name] + command, stdout=subprocess.DEVNULL, check=True)
        calls = 0
        for line in summary.read().splitlines():
            fields = line.split()
            if len(fields) >= 5 and fields[3].isdigit() and fields[-1] not in REMOVALS | {"total"}:
                calls += int(fields[3])
    return calls / entries


def bench_place(label, place, programs, runs, styles):
    base = tempfile.mkdtemp(prefix="bench_purge.", dir=place)
    try:
        chosen = [entry for entry in STYLES if entry[0].split()[0].lower() in styles]
        for kind in {kind for _, kind, _ in chosen}:
            make_tree(kind, 100_000, f"{base}/{kind}")
            make_tree(kind, 10_000, f"{base}/{kind}-small")
        target = f"{base}/run"
        for style, kind, find_args in chosen:
            commands = {name: [program, "--purge", target, "--older-than", str(MINUTES), "Minute", "--style", style]
                        for name, program in programs.items()}
            commands["find"] = ["find", target] + find_args
            names = list(commands)
            times = {name: [] for name in names}
            peak = dict.fromkeys(names, 0)
            for run in range(runs):
                for name in names[run % len(names):] + names[:run % len(names)]:
                    fresh_copy(f"{base}/{kind}", target)
                    elapsed, rss = timed_run(commands[name])
                    times[name].append(elapsed)
                    peak[name] = max(peak[name], rss)
            fresh_copy(f"{base}/{kind}-small", target)
            _, small_rss = timed_run(commands["scourwell"])
            entries = entries_of(f"{base}/{kind}")
            calls = {}
            for name in ("scourwell", "find"):
                fresh_copy(f"{base}/{kind}", target)
                calls[name] = calls_per_entry(commands[name], entries)
            per_entry = " ".join(f"{calls[name]:>9.3f}" if calls[name] is not None else f"{'-':>9}"
                                 for name in ("scourwell", "find"))
            median = {name: statistics.median(times[name]) for name in names}
            core = (f" {median['core-cli']:>9.1f} {median['core-cli'] / median['find']:>6.2f}"
                    if "core-cli" in median else "")
            print(f"{label:<6} {style:<28} {kind:<7} {median['scourwell']:>9.1f} {median['find']:>9.1f}"
                  f" {median['scourwell'] / median['find']:>6.2f}{core}"
                  f" {peak['scourwell']:>9} {small_rss:>11} {peak['find']:>9} {per_entry}", flush=True)
    finally:
        shutil.rmtree(base, ignore_errors=True)


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--scourwell", default=f"{root}/build/bin/scourwell")
    parser.add_argument("--core-cli")
    parser.add_argument("--runs", type=int, default=9)
    parser.add_argument("--disk", default="/var/tmp")
    parser.add_argument("--places", default="tmpfs,disk")
    parser.add_argument("--styles", default="files,include,subfolders",
                        help="the first words of the styles to run, lower case")
    args = parser.parse_args()
    programs = {"scourwell": args.scourwell}
    if args.core_cli:
        programs["core-cli"] = args.core_cli
    for program in programs.values():
        if not os.access(program, os.X_OK):
            sys.exit(f"bench_purge: no program at {program}")
    if not os.access("/usr/bin/time", os.X_OK):
        sys.exit("bench_purge: GNU time is missing (apt-get install time)")
    places = {"tmpfs": "/dev/shm", "disk": args.disk}
    kind = subprocess.run(["stat", "-f", "-c", "%T", args.disk], capture_output=True, text=True).stdout.strip()
    if kind == "tmpfs":
        sys.exit(f"bench_purge: {args.disk} is tmpfs, not a disk")
    print(f"median of {args.runs} runs each; memory: peak resident KB; sc/e: system calls per entry"
          " beyond the removals")
    core = f" {'core ms':>9} {'ratio':>6}" if args.core_cli else ""
    print(f"{'place':<6} {'style':<28} {'tree':<7} {'ours ms':>9} {'find ms':>9} {'ratio':>6}{core}"
          f" {'ours KB':>9} {'ours KB/10':>11} {'find KB':>9} {'ours sc/e':>9} {'find sc/e':>9}")
    for label in args.places.split(","):
        bench_place(label, places[label], programs, args.runs, args.styles.split(","))


if __name__ == "__main__":
    main()
