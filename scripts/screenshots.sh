#!/usr/bin/env bash
# Starts VantRep under Xvfb on each sample report folder (and once without a
# report) and saves a PNG of the main window per run into the folder given as
# the argument: summary.png, detailed.png, no-report.png.
# VANTREP_PROGRAM names the program (default build/src/app/vantrep).
set -euo pipefail
out=${1:?usage: scripts/screenshots.sh OUTPUT_FOLDER}
cd "$(dirname "$0")/.."
program=$(realpath "${VANTREP_PROGRAM:-build/src/app/vantrep}")
mkdir -p "$out"
out=$(realpath "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# shoot NAME [REPORTARG]: one run of the program on its own virtual display.
shoot() {
  local name=$1 report=${2:-}
  TMPDIR="$work" xvfb-run -a -s "-screen 0 1280x800x24" bash -c '
    set -euo pipefail
    QT_QPA_PLATFORM=xcb "$0" ${1:+"$1"} &
    pid=$!
    id=$(timeout 60 xdotool search --sync --onlyvisible --class vantrep | head -n 1)
    sleep 2  # the first query fills the grid after the window appears
    import -window "$id" "$2"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
  ' "$program" "$report" "$out/$name.png"
  echo "$out/$name.png"
}

for folder in samples/*/; do
  structure=$(find "$folder" -maxdepth 1 -type f \( -iname '*.str' -o -iname '*.dtr' \) | head -n 1)
  [ -n "$structure" ] || continue
  shoot "$(basename "$folder")" "$(realpath "$structure")"
done
shoot no-report
