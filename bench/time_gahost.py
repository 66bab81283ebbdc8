#!/usr/bin/env python3
"""Wall time of gahost as a whole process.

Runs one gahost command RUNS times (after one unmeasured warm-up run) and
prints the median, the fastest and the slowest wall time in milliseconds,
from the start of the process to its exit. Output of gahost is discarded; a
run that fails stops the measurement.

    python3 bench/time_gahost.py [--runs N] [--gahost PATH] -- run FILE --out DIR
"""
import argparse
import os
import statistics
import subprocess
import sys
import time


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--runs", type=int, default=20, help="measured runs (default 20)")
    parser.add_argument("--gahost", default="build/default/host/gahost", help="the gahost program")
    parser.add_argument("arguments", nargs=argparse.REMAINDER, help="gahost's arguments, after --")
    options = parser.parse_args()
    arguments = options.arguments[1:] if options.arguments[:1] == ["--"] else options.arguments
    if options.runs < 1 or not arguments:
        parser.error("give at least one run and gahost's arguments")

    command = [options.gahost] + arguments
    times = []
    for run in range(options.runs + 1):
        start = time.perf_counter_ns()
        status = subprocess.call(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        elapsed = (time.perf_counter_ns() - start) / 1e6
        if status != 0:
            sys.exit(f"{' '.join(command)} failed with exit status {status}")
        if run > 0:
            times.append(elapsed)
    print(f"{' '.join(arguments)}: {len(times)} runs, median {statistics.median(times):.2f} ms, "
          f"fastest {min(times):.2f} ms, slowest {max(times):.2f} ms")


if __name__ == "__main__":
    main()
