#!/usr/bin/env bash
# Bus activation: installs the program into a temporary prefix, starts a
# private session bus that reads the installed service files, and checks that
# the first call to org.vantrep.VantRep starts "vantrep -Embedding".
# usage: activation.sh BUILD_DIR
set -u
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
ok() { echo "ok: $1"; passed=$((passed + 1)); }
bad() { echo "FAIL: $1"; failed=$((failed + 1)); }
fact() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1
service=$prefix/share/dbus-1/services/org.vantrep.VantRep.service
fact "the service file is installed" [ -f "$service" ]
fact "the service file starts the installed program" grep -qx "Exec=$prefix/bin/vantrep -Embedding" "$service"
fact "the program is installed" [ -x "$prefix/bin/vantrep" ]
desktop=$prefix/share/applications/vantrep.desktop
fact "the desktop entry is named Vant Report" grep -qx "Name=Vant Report" "$desktop"
fact "the desktop entry opens .str and .dtr reports" grep -q "^MimeType=.*x-vantrep-summary.*x-vantrep-listing" "$desktop"
fact "the MIME types match .str and .dtr" grep -q '"\*.str"' "$prefix/share/mime/packages/vantrep.xml"
fact "the icon is installed" [ -s "$prefix/share/icons/hicolor/scalable/apps/vantrep.svg" ]

cat >"$work/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=$work</listen>
  <servicedir>$prefix/share/dbus-1/services</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
mkdir -m 700 "$work/runtime"
answer=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM TMPDIR=$work XDG_RUNTIME_DIR=$work/runtime \
  timeout 60 dbus-run-session --config-file="$work/bus.conf" -- bash -c '
    before=$(gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
             -m org.freedesktop.DBus.NameHasOwner org.vantrep.VantRep)
    app=$(timeout 20 gdbus call --session -d org.vantrep.VantRep -o /org/vantrep/VantRep \
          -m org.vantrep.VantRep.Factory.CreateApplication)
    echo "before=$before"
    echo "app=$app"
    # The one-shot client left the bus with its object: the server ends.
    for _ in $(seq 100); do
      gdbus call --session -d org.freedesktop.DBus -o /org/freedesktop/DBus \
        -m org.freedesktop.DBus.NameHasOwner org.vantrep.VantRep | grep -q false && { echo ended; break; }
      sleep 0.1
    done' 2>"$work/session.log")
fact "the name has no owner before the first call" grep -qx "before=(false,)" <<<"$answer"
fact "the first call starts the server and creates an object" \
  grep -qx "app=(objectpath '/org/vantrep/VantRep/Application/1',)" <<<"$answer"
fact "the activated server ends when its client leaves" grep -qx ended <<<"$answer"
[ "$failed" -eq 0 ] || cat "$work/session.log"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
