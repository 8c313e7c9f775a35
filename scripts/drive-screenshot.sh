#!/usr/bin/env bash
# Makes docs/kestrel32-gps-follow.png: kestrel32 on a drive from gpsd (gpsfake replaying a
# made-up drive north-east out of Banbury among the demo's stations), the view following the
# own station with its trail and heading. Runs under a private Xvfb display.
# Usage: scripts/drive-screenshot.sh [BUILD_DIR] [OUTPUT.png]
# Needs Xvfb, xdotool, ImageMagick's import, gpsfake, python3 and dbus-run-session.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
output=$(realpath -m "${2:-docs/kestrel32-gps-follow.png}")

for tool in Xvfb xdpyinfo xdotool import gpsfake python3 dbus-run-session; do
    command -v "$tool" >/dev/null || {
        echo "drive-screenshot.sh: needs $tool (scripts/install-deps.sh)" >&2
        exit 1
    }
done
if [ -z "${DRIVE_SCREENSHOT_INSIDE:-}" ]; then
    export DRIVE_SCREENSHOT_INSIDE=1
    exec dbus-run-session -- "$0" "$build" "$output"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -- "-$pid" 2>/dev/null || kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME"

# The drive: 60 fixes 80 m apart, north-east, bending east half-way.
python3 - "$work/drive.nmea" <<'PY'
import sys
def sentence(body):
    s = 0
    for c in body.encode():
        s ^= c
    return "$%s*%02X\r\n" % (body, s)
lat, lon = 52.0629, -1.3398
out = []
for step in range(90):
    if 5 <= step < 65:
        dlat, dlon = (0.00050, 0.00065) if step < 35 else (0.00015, 0.00110)
        lat += dlat
        lon += dlon
    t = "12%02d%02d.00" % (step // 60, step % 60)
    where = "%02d%07.4f,N,%03d%07.4f,W" % (int(lat), (lat - int(lat)) * 60, int(-lon), (-lon - int(-lon)) * 60)
    course = 39.0 if step < 35 else 77.0  # the way each leg goes
    out.append(sentence("GPRMC,%s,A,%s,045.0,%05.1f,071226,,,A" % (t, where, course)))
    out.append(sentence("GPGGA,%s,%s,1,08,1.0,100.0,M,47.0,M,," % (t, where)))
open(sys.argv[1], "w").write("".join(out))
PY

port=$((20000 + RANDOM % 20000))
setsid gpsfake -q -1 -c 0.25 -P "$port" "$work/drive.nmea" >"$work/gpsfake.log" 2>&1 &
pids+=($!)

display=":$((500 + RANDOM % 400))"
Xvfb "$display" -screen 0 1000x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY="$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
deadline=$((SECONDS + 10))
until xdpyinfo -display "$display" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || { echo "drive-screenshot.sh: no display" >&2; exit 1; }
    sleep 0.1
done

"$build/bin/kestrel32" --scenario data/demo-scenario.json --folder "$work/folder" \
    --own G4KST-9 --gpsd "127.0.0.1:$port" >"$work/kestrel32.log" 2>&1 &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --name "^Kestrel32 tracker$" | head -n 1)
# Closer in (a wheel zoom is no pan: the view keeps following).
xdotool mousemove --window "$window" 400 290 click --repeat 9 --delay 50 4
# Most of the drive.
sleep 20
import -window "$window" "$output"
echo "drive-screenshot.sh: wrote $output"
