#!/usr/bin/env bash
# Configures and builds the given presets (default: windows). Incremental on re-runs.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
[ $# -gt 0 ] || set -- windows
for preset in "$@"; do
  if [ ! -f "build/$preset/CMakeCache.txt" ]; then
    cmake --preset "$preset" >/dev/null
  fi
  cmake --build --preset "$preset" -j "$jobs"
done
