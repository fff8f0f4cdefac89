#!/bin/sh
# Paired runs of the batch workload in Mivora (bench/batch_workload_bench, a Release build) and
# DuckDB (bench/duckdb/workload.mjs) over the same generated CSV files. Prints, per N, the
# median wall time, peak memory and CPU time (user + system, all threads) of each and the median
# of the paired wall ratios, and checks that both give the same rows.
#   bench/compare_duckdb.sh [BUILD_DIR] [RUNS] [N...]
# Defaults: build/release, 5 runs, N = 100000 1000000 3000000. Needs `npm install` in
# bench/duckdb first.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-build/release}
runs=${2:-5}
[ $# -gt 2 ] && shift 2 || set --
sizes=${*:-100000 1000000 3000000}
bench="$build/bench/batch_workload_bench"
[ -x "$bench" ] || { echo "build $bench first (cmake --build $build --target batch_workload_bench)"; exit 1; }
[ -d "$here/duckdb/node_modules" ] || { echo "run npm install in $here/duckdb first"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Runs a command under /usr/bin/time, printing "wall-seconds kilobytes cpu-seconds".
measure() {
  /usr/bin/time -f '%e %M %U %S' -o "$work/time" "$@" 2>"$work/err" >/dev/null || { cat "$work/err"; exit 1; }
  awk '{ print $1, $2, $3 + $4 }' "$work/time"
}
median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

printf '%10s %10s %10s %8s %12s %12s %12s %12s\n' N Mivora_s DuckDB_s ratio Mivora_MiB \
  DuckDB_MiB Mivora_cpu DuckDB_cpu
for n in $sizes; do
  dir="$work/$n"
  mkdir -p "$dir"
  "$bench" generate "$dir" "$n"
  : >"$work/m" ; : >"$work/d" ; : >"$work/r"
  i=0
  while [ "$i" -lt "$runs" ]; do
    m=$(measure "$bench" run "$dir" "$dir/mivora.csv")
    d=$(measure node "$here/duckdb/workload.mjs" "$dir" "$dir/duckdb.csv")
    echo "$m" >>"$work/m"
    echo "$d" >>"$work/d"
    echo "$m $d" | awk '{ print $1 / $4 }' >>"$work/r"
    i=$((i + 1))
  done
  tail -n +2 "$dir/mivora.csv" | tr -d '\r' | LC_ALL=C sort >"$dir/m.sorted"
  tail -n +2 "$dir/duckdb.csv" | LC_ALL=C sort >"$dir/d.sorted"
  if ! cmp -s "$dir/m.sorted" "$dir/d.sorted"; then
    echo "N=$n: the two results differ"
    exit 1
  fi
  printf '%10s %10s %10s %8.3f %12.0f %12.0f %12s %12s\n' "$n" \
    "$(cut -d' ' -f1 "$work/m" | median)" "$(cut -d' ' -f1 "$work/d" | median)" \
    "$(median <"$work/r")" \
    "$(cut -d' ' -f2 "$work/m" | median | awk '{ print $1 / 1024 }')" \
    "$(cut -d' ' -f2 "$work/d" | median | awk '{ print $1 / 1024 }')" \
    "$(cut -d' ' -f3 "$work/m" | median)" "$(cut -d' ' -f3 "$work/d" | median)"
  rm -f "$dir"/*.csv
done
