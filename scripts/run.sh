#!/usr/bin/env bash
# Sets up, builds and opens VantRep's main window on the shipped summary sample
# (samples/summary). Without a display the window opens on a virtual X display
# (Xvfb) and the script says so; it ends when the window is closed (or Ctrl+C).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
report=samples/summary/DATA.DBF
if [ -z "${DISPLAY:-}" ]; then
  echo "No display found: VantRep runs on a virtual X display (xvfb-run); stop it with Ctrl+C."
  exec xvfb-run -a -s "-screen 0 1280x800x24" env QT_QPA_PLATFORM=xcb build/src/app/vantrep "$report"
fi
exec build/src/app/vantrep "$report"
