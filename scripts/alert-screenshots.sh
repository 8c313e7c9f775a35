#!/usr/bin/env bash
# Takes docs/notification.png and docs/history-window.png: the demo pair on a virtual X
# display with dunst as the notification daemon, two stations acknowledged by mouse, then
# Alarm > Alarm history... opened. Needs Xvfb, dunst, xdotool and ImageMagick's import, and a
# build in build/ (scripts/build.sh). The clicks are at the places the windows open at on a
# 1280x800 screen without a window manager.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${RINGWARDEN_SHOTS_ON_BUS:-}" ]; then
    apt-get install -y -qq xvfb dunst xdotool imagemagick >/dev/null
    RINGWARDEN_SHOTS_ON_BUS=1 exec dbus-run-session -- "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=:97 XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
cp -r build/bin "$work/bin"
printf '[SETUP]\r\nMIN_DISTANCE=10\r\nBRING_TO_FRONT=FALSE\r\nDESKTOP_NOTIFY=TRUE\r\n' \
    >"$work/bin/Ringwarden.INI"

Xvfb :97 -screen 0 1280x800x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
dunst >/dev/null 2>&1 & pids+=($!)
"$work/bin/kestrel32" --scenario data/demo-scenario.json --folder "$work/k32" >/dev/null & pids+=($!)
sleep 2
"$work/bin/Ringwarden" >/dev/null 2>&1 & pids+=($!)
sleep 13 # the first tick, ten seconds after start

import -window root -crop 326x322+946+50 +repage docs/notification.png
click() { xdotool mousemove "$1" "$2" click 1; sleep "${3:-0.5}"; }
click 400 380; click 526 372 # acknowledge the second station
click 400 352; click 526 372 # and the first
click 380 229 1              # Alarm
click 430 340 2              # Alarm history...
import -window "$(xdotool search --name 'Alarm history' | head -1)" docs/history-window.png
echo "alert-screenshots.sh: wrote docs/notification.png and docs/history-window.png"
