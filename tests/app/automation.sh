#!/usr/bin/env bash
# The automation server on a private session bus: run under dbus-run-session.
# usage: automation.sh VANTREP GRIDDATA_TSV SAMPLES_DIR
# Each check prints "ok" or "FAIL"; the last line counts them.
set -u
vantrep=$1 griddata_tsv=$2 samples=$3
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $server_pid $holder_pid $first_holder 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
export TMPDIR=$work/tmp XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=offscreen
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
passed=0 failed=0 server_pid= holder_pid= first_holder=

ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1"; failed=$((failed + 1)); }
fact() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }

name=org.vantrep.VantRep
app_iface=org.vantrep.VantRep.Application
# call PATH METHOD ARGS...: a one-shot client; prints gdbus's answer.
call() { local path=$1 method=$2; shift 2; timeout 20 gdbus call --session -d $name -o "$path" -m "$method" "$@" 2>&1; }
prop() { call "$1" org.freedesktop.DBus.Properties.Get org.vantrep.VantRep.Window "$2"; }
# Waits up to 10 s for process $1 to end; its status goes to `ended_status`.
wait_end() {
  for _ in $(seq 100); do
    if ! kill -0 "$1" 2>/dev/null; then wait "$1"; ended_status=$?; return 0; fi
    sleep 0.1
  done
  return 1
}
# hold NAME: a client that keeps its connection and one Application object;
# sets holder_pid and app (the object's path), waiting up to 10 s for it.
hold() {
  /usr/bin/python3 "$here/hold_application.py" >"$1.path" &
  holder_pid=$!
  app=
  for _ in $(seq 100); do
    app=$(head -n 1 "$1.path")
    [ -n "$app" ] && return 0
    sleep 0.1
  done
}
# Starts a server (log in $1) and a client holding one object.
start_server() {
  "$vantrep" -Embedding 2>"$1" &
  server_pid=$!
  timeout 10 gdbus wait --session $name
  hold first
}

fresh() { rm -rf "$1"; mkdir -p "$1"; cp "$samples/summary/"* "$1/"; }

# --- No bus, and a taken name -------------------------------------------------
out=$(env DBUS_SESSION_BUS_ADDRESS=unix:path=$work/no-bus timeout 10 "$vantrep" -Embedding 2>&1)
status=$?
fact "without a session bus the server ends non-zero" [ $status -ne 0 ] && [ $status -ne 124 ]
fact "without a session bus it says so" grep -q "no D-Bus session bus" <<<"$out"

# --- One server for the main sequence -----------------------------------------
fresh report
fresh exported
start_server server.log
fact "the server claims $name" [ -n "$(gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.GetNameOwner $name 2>/dev/null)" ]
fact "CreateApplication returns an Application path" grep -q "^/org/vantrep/VantRep/Application/[0-9]*$" <<<"$app"

out=$(timeout 10 "$vantrep" -Embedding 2>&1)
status=$?
fact "a second server ends non-zero" [ $status -ne 0 ] && [ $status -ne 124 ]
fact "a second server says the name is taken" grep -q "is taken" <<<"$out"

fact "GridData before any report is GridData.bin alone" [ "$(call "$app" $app_iface.GridData)" = "('GridData.bin',)" ]
fact "OpenReport(\"\") returns" [ "$(call "$app" $app_iface.OpenReport "")" = "()" ]
fact "OpenReport(\"\") opens nothing: GridData unchanged" [ "$(call "$app" $app_iface.GridData)" = "('GridData.bin',)" ]
fact "OpenReport(\"\") opens nothing: no chart" grep -q "Error.NoReport" <<<"$(call "$app" $app_iface.GraphForm)"
fact "ExportTo without a report names the reason" grep -q "No report is open" <<<"$(call "$app" $app_iface.ExportTo "$work/none.tsv")"
fact "no file is written without a report" [ ! -e none.tsv ]

fact "OpenReport on the summary returns" [ "$(call "$app" $app_iface.OpenReport "$work/report/Brand_Spends.str")" = "()" ]
grid_file=$(call "$app" $app_iface.GridData | sed -n "s/^('\(.*\)',)$/\1/p")
fact "GridData names the working folder's GridData.bin" [ "${grid_file##*/}" = GridData.bin ] && [ "${grid_file:0:1}" = / ]
fact "GridData.bin exists after the fill" [ -s "$grid_file" ]
"$vantrep" --export reference.tsv "$work/exported/Brand_Spends.str" 2>/dev/null
"$griddata_tsv" "$grid_file" fromfile.tsv
fact "the TSV export has rows" [ "$(wc -l <reference.tsv)" -gt 3 ]
fact "GridData.bin holds the grid the TSV export gives" cmp -s reference.tsv fromfile.tsv

fact "ExportTo .tsv returns" [ "$(call "$app" $app_iface.ExportTo "$work/out.tsv")" = "()" ]
fact "ExportTo .tsv writes the grid of the export" cmp -s reference.tsv out.tsv
fact "ExportTo .xlsx returns" [ "$(call "$app" $app_iface.ExportTo "$work/out.xlsx")" = "()" ]
fact "the workbook holds every row heading of the grid" /usr/bin/python3 - out.xlsx reference.tsv <<'PY'
import sys
from openpyxl import load_workbook
sheet = load_workbook(sys.argv[1]).active
cells = {str(c.value).strip() for row in sheet.iter_rows() for c in row if c.value is not None}
# The row headings: the texts of the grid's first two columns.
headings = {cell.strip() for line in open(sys.argv[2], encoding="utf-8") for cell in line.split("\t")[:2]} - {""}
missing = headings - cells
print("missing:", sorted(missing)[:5]) if missing else None
sys.exit(1 if missing or len(headings) < 3 else 0)
PY
fact "ExportTo .pdf returns" [ "$(call "$app" $app_iface.ExportTo "$work/out.pdf")" = "()" ]
pdftotext -layout out.pdf out.txt 2>/dev/null
last_heading=$(awk -F'\t' 'NF > 2 && $3 != "" { h = $3 } END { print h }' reference.tsv)
fact "the grid has a last row heading" [ -n "$last_heading" ]
fact "the PDF shows the grid's last row heading" grep -qF "$last_heading" out.txt
fact "ExportTo an unknown ending is an error naming the reason" grep -q "must end in" <<<"$(call "$app" $app_iface.ExportTo "$work/out.doc")"
fact "ExportTo into a missing folder is an error" grep -q "Error.Export" <<<"$(call "$app" $app_iface.ExportTo "$work/missing/out.tsv")"

graph=$(call "$app" $app_iface.GraphForm | sed -n "s/^(objectpath '\(.*\)',)$/\1/p")
fact "GraphForm returns a window object" [ "$graph" = /org/vantrep/VantRep/Window/Graph ]
fact "the chart's caption names the report" grep -q "Chart of .*Brand" <<<"$(prop "$graph" Caption)"
fact "ShowGraph does not show the chart" [ "$(call "$app" $app_iface.ShowGraph)" = "()" ] && [ "$(prop "$graph" Visible)" = "(<false>,)" ]
fact "the chart's type is 2D" [ "$(call "$graph" org.freedesktop.DBus.Properties.Get org.vantrep.VantRep.Graph GraphType)" = "(<'2D'>,)" ]

fact "ShowPreview returns" [ "$(call "$app" $app_iface.ShowPreview)" = "()" ]
preview=$(call "$app" $app_iface.PreviewForm | sed -n "s/^(objectpath '\(.*\)',)$/\1/p")
fact "PreviewForm returns a window object" [ "$preview" = /org/vantrep/VantRep/Window/Preview ]
fact "the preview is not shown before Show" [ "$(prop "$preview" Visible)" = "(<false>,)" ]
call "$preview" org.vantrep.VantRep.Window.Show >/dev/null
fact "Show shows the preview" [ "$(prop "$preview" Visible)" = "(<true>,)" ]
fact "the preview's caption names the report" grep -q "Print Preview of .*Brand" <<<"$(prop "$preview" Caption)"
call "$preview" org.vantrep.VantRep.Window.Hide >/dev/null
fact "Hide hides the preview" [ "$(prop "$preview" Visible)" = "(<false>,)" ]
fact "the preview has a window id" grep -q "^(<int64 [1-9][0-9]*>,)$" <<<"$(prop "$preview" WindowId)"
design=$(call "$app" $app_iface.DesignForm | sed -n "s/^(objectpath '\(.*\)',)$/\1/p")
fact "DesignForm returns the designer" grep -q "Report Layout" <<<"$(prop "$design" Caption)"

# A refused report: its message is shown (and logged) and the call returns.
fresh comma
/usr/bin/python3 - comma/DATA.DBF <<'PY'
import sys
# Rewrites the first MEDIA value in place as "TV, RADIO" (the field is 10 wide).
data = bytearray(open(sys.argv[1], 'rb').read())
header_len = int.from_bytes(data[8:10], 'little')
offset, pos = 1, 32
while data[pos] != 0x0D:
    name = data[pos:pos + 11].split(b'\0')[0].decode()
    width = data[pos + 16]
    if name == 'MEDIA':
        data[header_len + offset:header_len + offset + width] = b'TV, RADIO'.ljust(width)
        break
    offset += width
    pos += 32
open(sys.argv[1], 'wb').write(data)
PY
fact "a refused report returns normally" [ "$(call "$app" $app_iface.OpenReport "$work/comma/Brand_Spends.str")" = "()" ]
fact "the refused report's message is shown" grep -q "Dimension unfit for column" server.log
fact "the server lives on after the refusal" kill -0 $server_pid

# Two objects share the main window; releasing either ends the process.
first_app=$app first_holder=$holder_pid
hold second
second=$app app=$first_app
fact "a second Application object has its own path" [ -n "$second" ] && [ "$second" != "$app" ]
call "$app" $app_iface.OpenReport "$work/report/Brand_Spends.str" >/dev/null
fact "the second object sees the first one's report" [ "$(call "$second" $app_iface.GridData)" = "$(call "$app" $app_iface.GridData)" ]
fact "both objects hand out the same chart window" [ "$(call "$second" $app_iface.GraphForm)" = "(objectpath '$graph',)" ]
fact "Release returns" [ "$(call "$app" $app_iface.Release)" = "()" ]
fact "releasing one object ends the server" wait_end $server_pid
fact "the server ends with status 0" [ "${ended_status:-1}" -eq 0 ]
kill $holder_pid $first_holder 2>/dev/null
wait $holder_pid $first_holder 2>/dev/null

# A client that leaves the bus without releasing ends the server.
start_server server2.log
fact "a second run creates its object" [ -n "$app" ]
call "$app" $app_iface.OpenReport "$work/report/Brand_Spends.str" >/dev/null
kill $holder_pid
fact "the client's leaving ends the server" wait_end $server_pid
name_free() { gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus -m org.freedesktop.DBus.NameHasOwner $name | grep -q false; }
fact "the name is free again" name_free

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
