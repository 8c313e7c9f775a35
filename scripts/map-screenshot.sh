#!/usr/bin/env bash
# Makes docs/kestrel32-map.png: kestrel32's map with the demo scenario on the base map (overlay
# objects, trails of the moving stations, the scale bar), the sweep that Ringwarden, running
# beside it on a private bus, draws round the own station, and View > Stations beside the map.
# Runs both under a private Xvfb display and grabs the tracker's two windows.
# Then, zoomed out over England and Wales, docs/kestrel32-basemap.png (beside OUTPUT).
# Usage: scripts/map-screenshot.sh [BUILD_DIR] [OUTPUT.png]   (default build, docs/kestrel32-map.png)
# Needs Xvfb, dbus-run-session, xdotool and ImageMagick's import.
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
output=$(realpath -m "${2:-docs/kestrel32-map.png}")

for tool in Xvfb xdpyinfo xdotool import dbus-run-session; do
    command -v "$tool" >/dev/null || {
        echo "map-screenshot.sh: needs $tool (apt-get install xvfb x11-utils xdotool imagemagick dbus)" >&2
        exit 1
    }
done
[ -x "$build/bin/kestrel32" ] && [ -x "$build/bin/Ringwarden" ] || {
    echo "map-screenshot.sh: build kestrel32 and Ringwarden into $build first" >&2
    exit 1
}

if [ -z "${MAP_SCREENSHOT_INSIDE:-}" ]; then
    export MAP_SCREENSHOT_INSIDE=1
    exec dbus-run-session -- "$0" "$build" "$output"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

# Files of their own: Ringwarden keeps its INI beside a copy of itself, the tracker its folder
# and the per-user stores under a home of the script's.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$work/ringwarden"
cp -r "$build/bin/." "$work/ringwarden/"
# Ringwarden's window below the tracker's, out of the picture (LEFT and TOP in twips, 15 a
# pixel): the station list takes the place beside the map.
printf '[SETUP]\r\nMIN_DISTANCE=3\r\nBRING_TO_FRONT=FALSE\r\nAUDIBLE_ALARM=FALSE\r\nLEFT=0\r\nTOP=10500\r\n' \
    >"$work/ringwarden/Ringwarden.INI"

wait_for() { # wait_for SECONDS COMMAND...: until COMMAND succeeds
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        if [ "$SECONDS" -ge "$deadline" ]; then
            echo "map-screenshot.sh: timed out waiting for: $*" >&2
            exit 1
        fi
        sleep 0.1
    done
}

display=":$((90 + RANDOM % 400))"
Xvfb "$display" -screen 0 1800x1300x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY="$display"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
wait_for 10 sh -c "xdpyinfo -display $display >/dev/null 2>&1"

"$work/ringwarden/kestrel32" --scenario data/demo-scenario.json --folder "$work/folder" \
    --journal "$work/journal" >"$work/kestrel32.log" 2>&1 &
pids+=($!)
wait_for 20 grep -q "on the session bus" "$work/kestrel32.log"

(cd "$work/ringwarden" && ./Ringwarden >"$work/ringwarden.log" 2>&1) &
pids+=($!)
window=$(xdotool search --sync --onlyvisible --name "^Kestrel32 tracker$" | head -n 1)
# Closer in round the own station (where the demo frames it), where the overlay objects stand.
xdotool mousemove --window "$window" 443 271 click --repeat 6 --delay 50 4
# View > Stations (the first item of the View menu), beside the map.
xdotool windowfocus --sync "$window" key --window "$window" --delay 150 alt+v Return
list=$(xdotool search --sync --onlyvisible --name "^Stations$" | head -n 1)
xdotool windowsize --sync "$list" 880 600 windowmove --sync "$list" 810 0
# Time for the walkers and cars to leave trails.
sleep 60

# One whole sweep (32 arcs of aspect 0.5), then a moment for the map's next paint.
sweeps() { [ "$(grep -c '"DrawCircle".*,0.5\]' "$work/journal")" -ge 32 ]; }
wait_for 30 sweeps
sleep 0.3
import -window root -crop 1700x640+0+0 "$output"
echo "map-screenshot.sh: wrote $output"
xdotool mousemove --window "$window" 400 290 click --repeat 19 --delay 50 5
sleep 1
import -window "$window" "$(dirname "$output")/kestrel32-basemap.png"
echo "map-screenshot.sh: wrote $(dirname "$output")/kestrel32-basemap.png"
