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

With --copy, the folder is copied after each killed run and the copy put
in its place (new file numbers, the same names, bytes and modes), as a
backup restored or a move to another disk does: by turns with cp -a, which
keeps hard links, and by a copy of each file, which does not.

With --each-call, a run is killed before each system call it makes from
the moment it takes the output folder's lock (strace's fault injection),
for each return and set of options, into a folder of earlier outputs and
into an empty one; after each kill the next run, of the other return,
finishes what the killed run left. The killed return's print file and
saved return are then of one run, the note of the next run is true (a
commit finished: the new ones; a roll-back: the earlier ones), and nothing
of the killed run is left. With --copy, a copy of the folder after the
kill is finished too, and must end exactly as the folder itself: the same
files, the same note. With --fail-finish, the third rename of the run
after each kill fails (an input/output error): that run's finish of the
killed commit rolls back instead, or, when the killed run left nothing to
finish, its own commit fails, changing none of its outputs; either way the
killed return's outputs must be one whole set with a true note. With
--plant (as root), the folder is sticky, as the system's temporary folder,
and after each kill a file of another user is planted at every name of the
killed return's outputs that the folder does not hold, and at the name of
the run's folder when it is missing: the next run must leave each planted
file as it is, and, when it fails, name its owner, with the killed run's
record kept for a later run wherever the folder holds a mixed set; once
the planted files are gone, the run after it must finish as above.

A run keeps everything but its outputs in a folder of its user's in the
output folder (.staged-outputs.UID): the records and the lock file are
looked for there.

    python3 tools/kill_runs.py --runs 150 [--copy] [--gahost build/default/host/gahost]
    python3 tools/kill_runs.py --each-call [--copy] [--fail-finish] [--plant]
"""
import argparse
import os
import pwd
import random
import shutil
import signal
import subprocess
import sys
import tempfile
import time

RETURNS = ["balance-due", "single-wages"]
OPTIONS = [[], ["--efile", "--device-id", "3F2A9C01D4E5"]]
EFILE = "GA-efile.txt"
RUN_FOLDER = ".staged-outputs.%d" % os.geteuid()
RECORDS = tuple(os.path.join(RUN_FOLDER, r) for r in (".staged-outputs.commit", ".staged-outputs.rollback"))
# The user whose files are planted.
OTHER_USER = 65534
LOCK_FILE = ".staged-outputs.lock"


def outputs_of(name):
    return [EFILE, name + ".print.txt", name + ".xml"]


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except (FileNotFoundError, IsADirectoryError):
        return None


def command(args, name, folder, options):
    return [args.gahost, "run", "examples/%s.xml" % name, "--out", folder] + options


def left_over(folder):
    """Whatever in the folder is not an output: the names of runs' files."""
    every = set()
    for name in RETURNS:
        every.update(outputs_of(name))
    return sorted(n for n in os.listdir(folder) if n not in every)


def copy_folder_to(folder, copy, run):
    """Copies the folder: cp -a (hard links kept) on even runs, a copy of
    each file (none kept) on odd ones."""
    if run % 2 == 0:
        subprocess.run(["cp", "-a", folder, copy], check=True)
    else:
        shutil.copytree(folder, copy, symlinks=True)


def copy_folder(folder, run):
    """Puts a copy of the folder in its place."""
    copy_folder_to(folder, folder + ".copy", run)
    shutil.rmtree(folder)
    os.rename(folder + ".copy", folder)


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
    parser.add_argument("--copy", action="store_true", help="copy the folder after each kill")
    parser.add_argument("--each-call", action="store_true", help="kill before each system call of the commit")
    parser.add_argument("--fail-finish", action="store_true",
                        help="with --each-call, fail the third rename of the run after each kill")
    parser.add_argument("--plant", action="store_true",
                        help="with --each-call, plant another user's files after each kill (root only)")
    args = parser.parse_args()
    random.seed(args.seed)
    with tempfile.TemporaryDirectory(prefix="kill_runs.") as work:
        expected, duration = reference_outputs(args, work)
        if args.each_call:
            return check_each_call(args, work, expected)
        return check_runs(args, work, expected, duration)


def reference_outputs(args, work):
    """The outputs of each return and set of options, by (return, set), and
    how long a run takes."""
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
    return expected, sorted(durations)[len(durations) // 2]


def check_runs(args, work, expected, duration):
    """Runs and kills gahost in the folder work; 1 when a check failed."""
    longest = duration * 1.3
    every_version = {}
    for files in expected.values():
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
            if args.copy:
                copy_folder(out, run)
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


def system_calls(cmd, work):
    """The names of the system calls the command makes, in order, and the
    place of the first that opens the output folder's lock file."""
    trace = os.path.join(work, "trace")
    subprocess.run(["strace", "-qq", "-o", trace] + cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                   check=True)
    with open(trace) as f:
        lines = f.read().splitlines()
    first = next(i for i, line in enumerate(lines) if LOCK_FILE in line)
    return [line.split("(", 1)[0] for line in lines], first


def kill_before(cmd, calls, at):
    """Runs the command killed before its system call at the place given
    (strace counts each call's invocations apart); whether it was killed."""
    nth = calls[:at + 1].count(calls[at])
    result = subprocess.run(["strace", "-qq", "-o", "/dev/null", "-e",
                             "inject=%s:signal=KILL:when=%d" % (calls[at], nth)] + cmd,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return result.returncode != 0


def finish_next(args, folder, other, labels):
    """Runs the other return into the folder: its exit status, what the
    folder then holds (each file by the run it is of, or by its name) and
    the lines on standard error (the folder spelled DIR)."""
    failing = ["strace", "-qq", "-o", "/dev/null", "-e", "inject=renameat2:error=EIO:when=3"] if args.fail_finish else []
    result = subprocess.run(failing + command(args, other, folder, OPTIONS[0]), stdout=subprocess.DEVNULL,
                            stderr=subprocess.PIPE)
    held = {n: labels.get((n, read(os.path.join(folder, n))), "?") for n in os.listdir(folder)}
    lines = result.stderr.decode(errors="replace").replace(folder, "DIR").splitlines()
    return result.returncode, held, lines


def check_finished(outcome, name, which, earlier, problems, point):
    """One whole set of the killed return, a true note and nothing left;
    counts a mixed set or a false note in problems."""
    status, held, lines = outcome
    mine = {held.get(n) for n in outputs_of(name)[1:]}
    new, before = "%s/%d" % (name, which), None if earlier is None else "%s/%d" % (name, earlier)
    if len(mine) != 1:
        problems.append("%s: mixed set %s" % (point, sorted(map(str, mine))))
    note = lines[0] if lines else ""
    rolled_back = "roll" in note or " back" in note.replace("put back", "")
    if "finished the commit" in note and mine != {new} or rolled_back and new in mine:
        problems.append("%s: false note: %s (the set is %s)" % (point, note, sorted(map(str, mine))))
    leftover = [n for n in held if held[n] == "?" or n.startswith(".")]
    # A run whose own commit fails (--fail-finish) says so last, and alike.
    failed = status == 1 and bool(lines) and lines[-1].endswith("; no output of the run is changed")
    if (status != 0 and not failed) or leftover or len(lines) > 1 + failed or not mine <= {new, before}:
        problems.append("%s: exit %d, left %s, said %s, holds %s" % (point, status, leftover, lines, held))


def check_planted(args, folder, name, other, labels, problems, point):
    """Plants a file of another user at each name of the killed return's
    outputs that the folder lacks, and at the run's folder's when missing;
    runs the next run, which must leave them as they are and, failing,
    name their owner (and keep the record while the set is mixed); then
    removes them. How many were planted."""
    names = [n for n in outputs_of(name) + [RUN_FOLDER] if not os.path.lexists(os.path.join(folder, n))]
    planted = {}
    for n in names:
        path = os.path.join(folder, n)
        with open(path, "wb") as f:
            f.write(b"planted by another user\n")
        os.chown(path, OTHER_USER, OTHER_USER)
        planted[path] = os.lstat(path)
    status, held, lines = finish_next(args, folder, other, labels)
    for path, before in planted.items():
        now = os.lstat(path) if os.path.lexists(path) else None
        if now is None or (now.st_ino, now.st_uid, now.st_mode) != (before.st_ino, before.st_uid, before.st_mode) \
                or read(path) != b"planted by another user\n":
            problems.append("%s: the planted %s was changed" % (point, os.path.basename(path)))
    owner = pwd.getpwuid(OTHER_USER).pw_name
    if status != 0 and not (lines and owner in lines[-1]):
        problems.append("%s: a run refused without naming %s: %s" % (point, owner, lines))
    mine = {held.get(n) for n in outputs_of(name)[1:] if os.path.join(folder, n) not in planted}
    if len(mine) > 1 and not any(os.path.exists(os.path.join(folder, r)) for r in RECORDS):
        problems.append("%s: a mixed set with no record after a planted file: %s" % (point, lines))
    for path in planted:
        os.remove(path)
    return len(planted)


def kill_each_call(args, work, setup, labels, problems, counts):
    """Kills the run of one return and set of options, into a folder of
    earlier outputs or an empty one as `setup` says, before each system
    call of its commit, and runs the next after each kill (in a copy of
    the folder too, with --copy)."""
    name, which, earlier = setup
    other = RETURNS[1 - RETURNS.index(name)]
    template, out = os.path.join(work, "template"), os.path.join(work, "out")
    shutil.rmtree(template, ignore_errors=True)
    os.mkdir(template)
    for n, i in ((name, earlier), (other, 0)) if earlier is not None else ():
        subprocess.run(command(args, n, template, OPTIONS[i]), stdout=subprocess.DEVNULL, check=True)

    def fresh_folder():
        shutil.rmtree(out, ignore_errors=True)
        subprocess.run(["cp", "-a", template, out], check=True)
        if args.plant:
            os.chmod(out, 0o1777)

    cmd = command(args, name, out, OPTIONS[which])
    fresh_folder()
    calls, first = system_calls(cmd, work)
    for at in range(first, len(calls)):
        point = "%s %s %s, call %d (%s)" % (name, OPTIONS[which], "earlier" if earlier is not None else "empty",
                                            at, calls[at])
        fresh_folder()
        counts["points"] += 1
        if not kill_before(cmd, calls, at):
            counts["unkilled"] += 1
            continue
        recorded = any(os.path.exists(os.path.join(out, r)) for r in RECORDS)
        if args.plant:
            counts["planted"] += check_planted(args, out, name, other, labels, problems, point)
        if args.copy:
            copy_folder_to(out, out + ".copy", at)
        outcome = finish_next(args, out, other, labels)
        counts["finished_commits"] += 1 if recorded and outcome[2] else 0
        counts["rolled_back"] += 1 if outcome[2] and "and is rolled back" in outcome[2][0] else 0
        check_finished(outcome, name, which, earlier, problems, point)
        if args.copy:
            shutil.rmtree(out)
            os.rename(out + ".copy", out)
            copied = finish_next(args, out, other, labels)
            check_finished(copied, name, which, earlier, problems, point + ", copied")
            if copied != outcome:
                problems.append("%s: the copy ends %s, the folder %s" % (point, copied[1:], outcome[1:]))


def check_each_call(args, work, expected):
    """Kills runs before each system call of their commit, then runs the
    next; 1 when a check failed."""
    labels = {}
    for key, files in expected.items():
        for n, data in files.items():
            labels[(n, data)] = "%s/%d" % key
    problems = []
    counts = dict(points=0, unkilled=0, finished_commits=0, rolled_back=0, planted=0)
    for name in RETURNS:
        for which in range(len(OPTIONS)):
            for earlier in (1 - which, None):
                kill_each_call(args, work, (name, which, earlier), labels, problems, counts)
    for problem in problems:
        print(problem)
    print("kill points %d (not killed %d); records the next run finished, with a note: %d (rolled back: %d)"
          % (counts["points"], counts["unkilled"], counts["finished_commits"], counts["rolled_back"]))
    print("mixed sets: %d; false notes: %d; copies that ended otherwise than their folder: %d; all problems: %d"
          % (sum("mixed set" in p for p in problems), sum("false note" in p for p in problems),
             sum("the copy ends" in p for p in problems), len(problems)))
    if args.plant:
        print("files of another user planted: %d; changed: %d; refusals without their owner: %d"
              % (counts["planted"], sum("was changed" in p for p in problems),
                 sum("without naming" in p for p in problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
