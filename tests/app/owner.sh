#!/usr/bin/env bash
# SetOwner on a real X server: run under xvfb-run and dbus-run-session. The
# preview becomes transient for another program's window (xmessage), and
# xprop reads WM_TRANSIENT_FOR back.
# usage: owner.sh VANTREP SAMPLES_DIR
set -u
vantrep=$1 samples=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'kill $server_pid $holder_pid $xmessage_pid 2>/dev/null; rm -rf "$work"' EXIT
cd "$work"
unset QT_QPA_PLATFORM
export TMPDIR=$work/tmp XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$TMPDIR" "$XDG_RUNTIME_DIR" report && chmod 700 "$XDG_RUNTIME_DIR" && cp "$samples/summary/"* report/
passed=0 failed=0 server_pid= holder_pid= xmessage_pid=
ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1"; failed=$((failed + 1)); }
fact() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }
call() { local path=$1 method=$2; shift 2; timeout 20 gdbus call --session -d org.vantrep.VantRep -o "$path" -m "$method" "$@" 2>&1; }

"$vantrep" -Embedding 2>server.log &
server_pid=$!
timeout 10 gdbus wait --session org.vantrep.VantRep
/usr/bin/python3 "$here/hold_application.py" >app.path &
holder_pid=$!
for _ in $(seq 100); do [ -s app.path ] && break; sleep 0.1; done
app=$(head -n 1 app.path)
iface=org.vantrep.VantRep.Application
preview=/org/vantrep/VantRep/Window/Preview
call "$app" $iface.OpenReport "$work/report/Brand_Spends.str" >/dev/null
call "$app" $iface.ShowPreview >/dev/null
call "$app" $iface.PreviewForm >/dev/null
window=$(call $preview org.freedesktop.DBus.Properties.Get org.vantrep.VantRep.Window WindowId | sed -n 's/^(<int64 \([0-9]*\)>,)$/\1/p')
xmessage -name vantrep-owner "owner" &
xmessage_pid=$!
owner=
for _ in $(seq 100); do
  owner=$(xdotool search --classname vantrep-owner 2>/dev/null | head -n 1)
  [ -n "$owner" ] && break
  sleep 0.1
done
fact "the preview has an X11 window id" [ -n "$window" ]
fact "the owner window is found" [ -n "$owner" ]
first=$(call "$app" $iface.SetOwner "<int64 ${window:-0}>" "<int64 ${owner:-0}>")
fact "the first SetOwner returns the previous owner (the main window), not 0" grep -q "^(int64 [1-9][0-9]*,)$" <<<"$first"
call $preview org.vantrep.VantRep.Window.Show >/dev/null
transient=
for _ in $(seq 50); do
  transient=$(xprop -id "${window:-0}" WM_TRANSIENT_FOR 2>/dev/null | sed -n 's/.*# \(0x[0-9a-f]*\)$/\1/p')
  [ -n "$transient" ] && [ $((transient)) -eq "${owner:-0}" ] && break
  sleep 0.1
done
fact "WM_TRANSIENT_FOR names the owner" [ -n "$transient" ] && [ $((transient)) -eq "${owner:-0}" ]
fact "SetOwner reads the owner back" [ "$(call "$app" $iface.SetOwner "<int64 ${window:-0}>" "<int64 0>")" = "(int64 ${owner:-0},)" ]
fact "an id that is no window of the program is an error" grep -q "Error.NoWindow" <<<"$(call "$app" $iface.SetOwner "<int64 1>" "<int64 0>")"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
