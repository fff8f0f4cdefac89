#!/usr/bin/env bash
# Installs what is missing, builds the test configuration with AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs every test through ctest.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-deps.sh"
cmake -S "$here" -B "$here/build/test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMIVORA_SANITIZE=ON >/dev/null
cmake --build "$here/build/test"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$here/build/test"
ctest --output-on-failure -j2
