#!/usr/bin/env bash
# Takes docs/setup-window.png: kestrel32's setup window as a first start shows it (a fresh
# home), on a virtual X display, with a callsign and a position typed in. Needs Xvfb, xdotool
# and ImageMagick's import, and a build in build/ (scripts/build.sh) or the folder given.
# Usage: scripts/setup-screenshot.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
apt-get install -y -qq xvfb xdotool imagemagick >/dev/null
work=$(mktemp -d)
pids=()
cleanup() {
    kill "${pids[@]}" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

export DISPLAY=:96 HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
Xvfb :96 -screen 0 1280x1000x24 >/dev/null 2>&1 & pids+=($!)
sleep 1
dbus-run-session -- "$build/bin/kestrel32" >/dev/null 2>&1 & pids+=($!)
for _ in $(seq 50); do
    window=$(xdotool search --name 'Setup' 2>/dev/null | head -1 || true)
    [ -n "$window" ] && break
    sleep 0.2
done
[ -n "$window" ] || { echo "setup-screenshot.sh: no setup window" >&2; exit 1; }
sleep 1
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool type --delay 30 "G4KST-9"
xdotool key Tab Tab
xdotool type --delay 30 "52 03.50 N"
xdotool key Tab
xdotool type --delay 30 "1 20.25 W"
xdotool key Tab space # APRS-IS on
sleep 0.5
import -window "$window" docs/setup-window.png
echo "setup-screenshot.sh: wrote docs/setup-window.png"
