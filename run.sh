#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it.
# Usage: ./run.sh [state-file]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/tools/install-deps.sh"
cmake -S "$here" -B "$here/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DMIVORA_TESTS=OFF >/dev/null
cmake --build "$here/build/release" --target mivora MivoraCur
exec "$here/build/release/src/mivora" "$@"
