#!/usr/bin/env bash
# Builds the fuzz targets with clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer
# (in build/fuzz) and runs each one for the given minutes (default 5), one after another, on
# one core. New inputs collect in build/fuzz/corpus/<name>; an input that breaks a target is
# kept in build/fuzz/artifacts/<name>/: copy it into tests/fuzz/corpus/<name>/ once fixed, so
# every test run replays it.
set -euo pipefail
minutes="${1:-5}"
here="$(cd "$(dirname "$0")/.." && pwd)"
build="$here/build/fuzz"
CC=clang CXX=clang++ cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DMIVORA_FUZZ=ON -DMIVORA_SANITIZE=ON -DMIVORA_GUI=OFF -DMIVORA_BENCH=OFF >/dev/null
targets=$(cd "$here/tests/fuzz" && ls fuzz_*.cpp | sed 's/\.cpp$//')
# shellcheck disable=SC2086
cmake --build "$build" --target $targets
export ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
for target in $targets; do
  name="${target#fuzz_}"
  work="$build/corpus/$name"
  mkdir -p "$work" "$build/artifacts/$name"
  options=(-max_total_time=$((minutes * 60)) -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
           -artifact_prefix="$build/artifacts/$name/")
  if [[ -f "$here/tests/fuzz/$name.dict" ]]; then options+=(-dict="$here/tests/fuzz/$name.dict"); fi
  echo "== $target: $minutes min"
  if ! "$build/tests/fuzz/$target" "${options[@]}" "$work" "$here/tests/fuzz/corpus/$name" \
      >"$build/$name.log" 2>&1; then
    status=1
    echo "   FAULT: see $build/$name.log and $build/artifacts/$name/"
  fi
  grep -E '^#[0-9]+[[:space:]]+(INITED|DONE)|stat::number_of_executed_units|stat::peak_rss' "$build/$name.log" || true
done
exit $status
