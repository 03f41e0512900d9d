#!/usr/bin/env bash
# Every test: installs what is missing, builds the Windows programs, the fuzz targets and
# the sanitized native tree, then runs ctest from the native tree (unit tests, fuzz runs,
# asset checks, and the real programs under Wine on a private Xvfb display).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh windows fuzz native
ctest --preset all "$@"
