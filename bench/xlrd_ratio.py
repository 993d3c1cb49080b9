#!/usr/bin/python3
"""Times python3-xlrd on the benchmark workbooks and prints its speed beside
the reader's (from bench_xbiff's JSON output, whose labels are the
workbooks' paths), one line per workbook. Both are CPU times of the
process, so a busy machine skews neither side.

Usage: xlrd_ratio.py BENCH_JSON
"""
import json
import os
import sys
import time

import xlrd


def xlrd_seconds(path, runs=3):
    best = None
    for _ in range(runs):
        t0 = time.process_time()
        book = xlrd.open_workbook(path, on_demand=False)
        for sh in book.sheets():
            for r in range(sh.nrows):
                sh.row_values(r)
        best = min(best or 1e9, time.process_time() - t0)
    return best


def main():
    bench_json = sys.argv[1]
    with open(bench_json) as f:
        results = json.load(f)["benchmarks"]
    print("%-16s %9s %12s %12s %8s" % ("workbook", "MB", "reader MB/s", "xlrd MB/s", "ratio"))
    for b in results:
        name = b["name"].split("/")[1]
        path = b["label"]
        mb = os.path.getsize(path) / 1e6
        reader = b["bytes_per_second"] / 1e6
        xl = mb / xlrd_seconds(path)
        print("%-16s %9.2f %12.1f %12.1f %7.1fx" % (name, mb, reader, xl, reader / xl))


if __name__ == "__main__":
    main()
