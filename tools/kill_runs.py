#!/usr/bin/env python3
"""Kills gahost run with SIGKILL at random moments and checks its outputs.

Runs alternate between two sets of options whose outputs differ in every
file (on paper, and e-filed with a device identifier), all into one output
folder. After each run, killed or not, every output must be the file it was
before the run or the file the run writes, never missing or cut; a run that
ends by itself must leave no temporary file or lock file, so those of the
killed runs before it are gone. Of the second names of earlier outputs
(.NAME.kept-XXXXXX) it leaves only those that are all that is left of an
earlier output that a killed run replaced, each that output whole, of one
set or the other. Prints what it counted; exit status 1 when a check
failed.

    python3 tools/kill_runs.py --runs 300 [--gahost build/default/host/gahost]
"""
import argparse
import os
import random
import signal
import subprocess
import sys
import tempfile
import time

EXAMPLE = "examples/balance-due.xml"
OUTPUTS = ["GA-efile.txt", "balance-due.print.txt", "balance-due.xml"]
OPTIONS = [[], ["--efile", "--device-id", "3F2A9C01D4E5"]]


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def temporaries(folder):
    """The temporary files, kept earlier outputs and lock file of runs."""
    return [n for n in os.listdir(folder) if ".staged-" in n or ".kept-" in n]


def kept_output(name):
    """The output whose earlier file the second name keeps, or None."""
    for output in OUTPUTS:
        prefix = "." + output + ".kept-"
        if name.startswith(prefix) and len(name) == len(prefix) + 6:
            return output
    return None


def wrongly_left(folder, expected):
    """What a run that ended by itself should not have left: any temporary
    file or lock file, and any second name that is not a whole earlier
    output."""
    wrong = []
    for name in temporaries(folder):
        output = kept_output(name)
        if output is None or read(os.path.join(folder, name)) not in (expected[0][output], expected[1][output]):
            wrong.append(name)
    return sorted(wrong)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--runs", type=int, default=300)
    parser.add_argument("--gahost", default="build/default/host/gahost")
    parser.add_argument("--seed", type=int, default=1)
    args = parser.parse_args()
    random.seed(args.seed)
    work = tempfile.mkdtemp(prefix="kill_runs.")

    # The outputs each set of options writes, and how long a whole run takes.
    expected = []
    durations = []
    for i, options in enumerate(OPTIONS):
        folder = os.path.join(work, "ref%d" % i)
        for _ in range(5):
            start = time.perf_counter()
            subprocess.run([args.gahost, "run", EXAMPLE, "--out", folder] + options,
                           stdout=subprocess.DEVNULL, check=True)
            durations.append(time.perf_counter() - start)
        expected.append({name: read(os.path.join(folder, name)) for name in OUTPUTS})
    for name in OUTPUTS:
        assert expected[0][name] != expected[1][name], name + " is the same in both sets"
    longest = sorted(durations)[len(durations) // 2] * 1.3

    out = os.path.join(work, "out")
    subprocess.run([args.gahost, "run", EXAMPLE, "--out", out], stdout=subprocess.DEVNULL, check=True)
    counts = dict(killed=0, finished=0, unchanged=0, replaced=0, mixed=0, temporaries_left=0,
                  temporaries_removed=0, failures=0)
    seen = set()  # the temporary files in the folder after the last run
    for run in range(args.runs):
        which = run % 2
        before = {name: read(os.path.join(out, name)) for name in OUTPUTS}
        process = subprocess.Popen([args.gahost, "run", EXAMPLE, "--out", out] + OPTIONS[which],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        time.sleep(random.uniform(0, longest))
        killed = process.poll() is None
        if killed:
            process.send_signal(signal.SIGKILL)
        status = process.wait()
        killed = killed and status == -signal.SIGKILL
        after = {name: read(os.path.join(out, name)) for name in OUTPUTS}
        new = [after[name] == expected[which][name] for name in OUTPUTS]
        for name in OUTPUTS:
            if after[name] not in (before[name], expected[which][name]):
                counts["failures"] += 1
                print("run %d: %s is neither the earlier nor the new file (%s bytes)"
                      % (run, name, None if after[name] is None else len(after[name])))
        changed = [after[name] != before[name] for name in OUTPUTS]
        if not any(changed):
            counts["unchanged"] += 1
        elif all(new):
            counts["replaced"] += 1
        else:
            counts["mixed"] += 1
        left = set(temporaries(out))
        counts["temporaries_removed"] += len(seen - left)
        if killed:
            counts["killed"] += 1
            counts["temporaries_left"] += len(left - seen)
        else:
            counts["finished"] += 1
            wrong = wrongly_left(out, expected)
            if status != 0 or wrong:
                counts["failures"] += 1
                print("run %d: exit %d, temporary files left: %s" % (run, status, wrong))
        seen = left
    # A last whole run removes what the killed runs left.
    subprocess.run([args.gahost, "run", EXAMPLE, "--out", out], stdout=subprocess.DEVNULL, check=True)
    counts["temporaries_removed"] += len(seen - set(temporaries(out)))
    if wrongly_left(out, expected):
        counts["failures"] += 1
        print("the last run left temporary files: %s" % wrongly_left(out, expected))
    earlier_kept = [name for name in temporaries(out) if kept_output(name)]
    print("runs %d, of which killed %d and finished %d" % (args.runs, counts["killed"], counts["finished"]))
    print("outputs after a run: all unchanged %d, all replaced %d, some replaced %d"
          % (counts["unchanged"], counts["replaced"], counts["mixed"]))
    print("temporary files left by killed runs %d, removed by the runs after them %d"
          % (counts["temporaries_left"], counts["temporaries_removed"]))
    print("earlier outputs that killed runs replaced, kept under their second names: %d" % len(earlier_kept))
    print("outputs missing or cut, or runs that left temporary files: %d" % counts["failures"])
    return 1 if counts["failures"] else 0


if __name__ == "__main__":
    sys.exit(main())
