#!/usr/bin/env bash
# Runs the screen saver: installs what is missing, builds the Windows programs and starts
# `Halvane.scr /s` under Wine. On $DISPLAY when there is one (move the mouse to end it);
# otherwise on a private Xvfb for a few seconds, leaving a screenshot whose path it prints.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh windows
exec python3 scripts/run_saver.py "$@"
