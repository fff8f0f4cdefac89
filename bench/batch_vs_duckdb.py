#!/usr/bin/env python3
"""Times `mivora --batch` on the generated benchmark workspace against DuckDB on the same files.

Usage: bench/batch_vs_duckdb.py [--runs N] [--data FOLDER] [--mivora PATH]
Defaults: 5 runs, data in /tmp/mivora-batch-bench (generated when missing), the Release build
build/release/src/mivora. DuckDB comes from bench/duckdb (npm install there first).
Prints medians of the wall time, Mivora's phases (MIVORA_PHASE_TIMES) and peak memory.
"""
import argparse
import os
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def run(cmd, env=None, cwd=None):
    start = time.perf_counter()
    p = subprocess.run(cmd, env=env, cwd=cwd, capture_output=True, text=True)
    return p, time.perf_counter() - start


def peak_of(cmd, env=None, cwd=None):
    p = subprocess.run(["/usr/bin/time", "-f", "%M"] + cmd, env=env, cwd=cwd,
                       capture_output=True, text=True)
    return int(p.stderr.strip().splitlines()[-1]) // 1024


def rows(path):
    with open(path, encoding="utf-8") as f:
        lines = [l.rstrip("\r\n") for l in f if l.strip()]
    return lines[0], sorted(lines[1:])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--runs", type=int, default=5)
    ap.add_argument("--data", default="/tmp/mivora-batch-bench")
    ap.add_argument("--mivora", default=os.path.join(HERE, "..", "build", "release", "src",
                                                     "mivora"))
    a = ap.parse_args()
    if not os.path.exists(os.path.join(a.data, "batch.rsm")):
        subprocess.run([sys.executable, os.path.join(HERE, "make_batch_data.py"), a.data],
                       check=True)
    inputs = sum(os.path.getsize(os.path.join(a.data, n))
                 for n in ("orders.csv", "customers.csv", "products.csv"))
    env = dict(os.environ, MIVORA_PHASE_TIMES="1")
    for v in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"):
        env.pop(v, None)
    mivora_cmd = [os.path.abspath(a.mivora), "--batch", os.path.join(a.data, "batch.rsm")]
    duck_out = os.path.join(a.data, "duckdb.csv")
    duck_cmd = ["node", os.path.join(HERE, "duckdb", "batch.mjs"), a.data, duck_out]

    m_walls, d_walls, phases = [], [], {}
    for _ in range(a.runs):
        # The state file names its tables relative to the start folder.
        p, wall = run(mivora_cmd, env, cwd=a.data)
        if p.returncode != 0:
            sys.exit("mivora failed (%d): %s" % (p.returncode, p.stderr))
        m_walls.append(wall)
        for line in p.stderr.splitlines():
            parts = line.split()
            if len(parts) == 4 and parts[1] == "phase":
                phases.setdefault(parts[2], []).append(float(parts[3]))
        p, wall = run(duck_cmd)
        if p.returncode != 0:
            sys.exit("duckdb failed: " + p.stderr)
        d_walls.append(wall)

    m_peak = peak_of(mivora_cmd, env, cwd=a.data)
    d_peak = peak_of(duck_cmd)
    m_head, m_rows = rows(os.path.join(a.data, "result.csv"))
    d_head, d_rows = rows(duck_out)
    m, d = statistics.median(m_walls), statistics.median(d_walls)
    print("input files        %.1f MB" % (inputs / 1e6))
    print("mivora --batch     median %.3f s  (runs %s)" % (m, " ".join("%.2f" % w for w in m_walls)))
    for name, values in phases.items():
        print("  %-16s median %.0f ms" % (name, statistics.median(values)))
    print("  peak memory      %d MiB (%.2f x the input files)" % (m_peak, m_peak * 1048576 / inputs))
    print("duckdb (node)      median %.3f s  (runs %s)" % (d, " ".join("%.2f" % w for w in d_walls)))
    print("  peak memory      %d MiB" % d_peak)
    print("ratio mivora/duckdb %.2f" % (m / d))
    print("rows               mivora %d, duckdb %d, same rows: %s" %
          (len(m_rows), len(d_rows), m_rows == d_rows))


if __name__ == "__main__":
    main()
