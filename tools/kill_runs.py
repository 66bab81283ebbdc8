#!/usr/bin/env python3
"""Kills gahost run with SIGKILL at random moments and checks its outputs.

Runs of two returns (which share the e-file's name), each with two sets of
options whose outputs differ in every file (on paper, and e-filed with a
device identifier), go into one output folder in turn, and most are killed.
After every run, killed or not, each output is a whole file that some run
wrote, never cut. A killed run whose outputs are some new and some earlier
has left its commit record, for the next run to finish. A run that ends by
itself exits 0 and leaves only outputs (no staged file, second name, copy,
record or lock file of any run before it), the outputs of each return all
of one run, and on standard error at most the one note of a commit it
finished. Prints what it counted; exit status 1 when a check failed.

    python3 tools/kill_runs.py --runs 150 [--gahost build/default/host/gahost]
"""
import argparse
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

RETURNS = ["balance-due", "single-wages"]
OPTIONS = [[], ["--efile", "--device-id", "3F2A9C01D4E5"]]
EFILE = "GA-efile.txt"
RECORDS = (".staged-outputs.commit", ".staged-outputs.rollback")


def outputs_of(name):
    return [EFILE, name + ".print.txt", name + ".xml"]


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def command(args, name, folder, options):
    return [args.gahost, "run", "examples/%s.xml" % name, "--out", folder] + options


def left_over(folder):
    """Whatever in the folder is not an output: the names of runs' files."""
    every = set()
    for name in RETURNS:
        every.update(outputs_of(name))
    return sorted(n for n in os.listdir(folder) if n not in every)


def check_whole_sets(folder, expected, problems, run):
    """Each return's print file and saved return are of one run."""
    for name in RETURNS:
        found = tuple(read(os.path.join(folder, n)) for n in outputs_of(name)[1:])
        versions = [tuple(expected[(name, i)][n] for n in outputs_of(name)[1:]) for i in range(len(OPTIONS))]
        if found not in versions and found != (None, None):
            problems.append("run %d: the outputs of %s are not of one run" % (run, name))


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=150)
    parser.add_argument("--gahost", default="build/default/host/gahost")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    random.seed(args.seed)
    with tempfile.TemporaryDirectory(prefix="kill_runs.") as work:
        return check_runs(args, work)


def check_runs(args, work):
    """Runs and kills gahost in the folder work; 1 when a check failed."""
    # The outputs of each return and set of options, and how long a run takes.
    expected = {}
    durations = []
    for name in RETURNS:
        for i, options in enumerate(OPTIONS):
            folder = os.path.join(work, "ref-%s-%d" % (name, i))
            for _ in range(3):
                start = time.perf_counter()
                subprocess.run(command(args, name, folder, options), stdout=subprocess.DEVNULL, check=True)
                durations.append(time.perf_counter() - start)
            expected[(name, i)] = {n: read(os.path.join(folder, n)) for n in outputs_of(name)}
        for n in outputs_of(name):
            assert expected[(name, 0)][n] != expected[(name, 1)][n], n + " is the same for both sets of options"
    longest = sorted(durations)[len(durations) // 2] * 1.3
    every_version = {}
    for (name, i), files in expected.items():
        for n, data in files.items():
            every_version.setdefault(n, set()).add(data)

    out = os.path.join(work, "out")
    for name in RETURNS:
        subprocess.run(command(args, name, out, OPTIONS[0]), stdout=subprocess.DEVNULL, check=True)
    counts = dict(killed=0, finished=0, unchanged=0, replaced=0, mixed=0, finished_commits=0)
    problems = []
    for run in range(args.runs):
        name = RETURNS[run % 2]
        which = (run // 2) % 2
        new = expected[(name, which)]
        before = {n: read(os.path.join(out, n)) for n in outputs_of(name)}
        recorded_before = any(os.path.exists(os.path.join(out, r)) for r in RECORDS)
        process = subprocess.Popen(command(args, name, out, OPTIONS[which]), stdout=subprocess.DEVNULL,
                                   stderr=subprocess.PIPE)
        time.sleep(random.uniform(0, longest))
        killed = process.poll() is None
        if killed:
            process.send_signal(signal.SIGKILL)
        err = process.communicate()[1].decode(errors="replace")
        killed = killed and process.returncode == -signal.SIGKILL
        after = {n: read(os.path.join(out, n)) for n in outputs_of(name)}
        for n in os.listdir(out):
            if n in every_version and read(os.path.join(out, n)) not in every_version[n]:
                problems.append("run %d: %s is not a whole output of any run" % (run, n))
        # What this run moved into place (finishing another run's commit
        # first can change the e-file too).
        moved = [after[n] == new[n] and before[n] != new[n] for n in after]
        if not any(moved):
            counts["unchanged"] += 1
        elif all(after[n] == new[n] for n in after):
            counts["replaced"] += 1
        else:
            counts["mixed"] += 1
            if not any(os.path.exists(os.path.join(out, r)) for r in RECORDS):
                problems.append("run %d: some outputs are new and some earlier, with no commit record" % run)
        if killed:
            counts["killed"] += 1
            continue
        counts["finished"] += 1
        lines = err.splitlines()
        counts["finished_commits"] += 1 if recorded_before and len(lines) == 1 else 0
        if process.returncode != 0 or left_over(out) or len(lines) > (1 if recorded_before else 0):
            problems.append("run %d: exit %d, left %s, said %s" % (run, process.returncode, left_over(out), lines))
        check_whole_sets(out, expected, problems, run)
    # A last whole run of each return finishes what the killed runs left.
    for name in RETURNS:
        subprocess.run(command(args, name, out, OPTIONS[0]), stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=True)
    if left_over(out):
        problems.append("the last runs left %s" % left_over(out))
    check_whole_sets(out, expected, problems, args.runs)
    for problem in problems:
        print(problem)
    print("runs %d, of which killed %d and finished %d" % (args.runs, counts["killed"], counts["finished"]))
    print("a run's outputs after it: all unchanged %d, all replaced %d, some replaced (a record left) %d"
          % (counts["unchanged"], counts["replaced"], counts["mixed"]))
    print("commits of killed runs that the next run finished, with its note: %d" % counts["finished_commits"])
    print("outputs missing or cut, mixed sets, files left or wrong notes: %d" % len(problems))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
