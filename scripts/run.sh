#!/usr/bin/env bash
# Installs what is missing, builds, and starts the stand-in tracker kestrel32 with the demo
# scenario (data/demo-scenario.json) and Ringwarden beside it, its watch list holding the
# demo's watched station (data/demo-watch.txt). Starts a private session bus when none is
# running, and a sound server when none answers. Arguments go to Ringwarden. Closing the
# tracker closes Ringwarden.
# The demo tracker keeps its kestrel32.ini and overlays/ in a folder of its own, so that the
# demo's overlay objects never turn up in a real tracker folder.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${RINGWARDEN_RUN_ON_BUS:-}" ]; then
    scripts/install-deps.sh run
    scripts/build.sh
    if [ -z "${DBUS_SESSION_BUS_ADDRESS:-}" ]; then
        echo "run.sh: no session bus running; starting a private one"
        RINGWARDEN_RUN_ON_BUS=1 exec dbus-run-session -- "$0" "$@"
    fi
fi

# Without a display (a server, a container) both windows run offscreen: the alarm, the sounds and
# the journal work, nothing is drawn on a screen.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "run.sh: no display; running offscreen"
    export QT_QPA_PLATFORM=offscreen
fi

source scripts/demo-steps.sh

log=$(mktemp)
host=""
ringwarden=""
cleanup() {
    [ -n "$ringwarden" ] && kill "$ringwarden" 2>/dev/null || true
    [ -n "$host" ] && kill "$host" 2>/dev/null || true
    stop_sound_server
    rm -f "$log"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

start_sound_server

data_home="${XDG_DATA_HOME:-$HOME/.local/share}"
demo_folder="$data_home/Kestrel32-demo"
mkdir -p "$demo_folder"
build/bin/kestrel32 --scenario data/demo-scenario.json --folder "$demo_folder" >"$log" 2>&1 &
host=$!

# kestrel32 says so once its files are written and it owns its bus name.
for _ in $(seq 1 100); do
    grep -q "on the session bus" "$log" && break
    if ! kill -0 "$host" 2>/dev/null; then
        cat "$log" >&2
        echo "run.sh: kestrel32 did not start" >&2
        exit 1
    fi
    sleep 0.1
done
if ! grep -q "on the session bus" "$log"; then
    cat "$log" >&2
    echo "run.sh: kestrel32 did not come onto the session bus within 10 s" >&2
    exit 1
fi

# Earlier demos wrote their overlay file into the real tracker folder; take away only a file
# that is still exactly the demo's.
for overlay in "$demo_folder"/overlays/*.pos; do
    [ -f "$overlay" ] || continue
    left="$data_home/Kestrel32/overlays/$(basename "$overlay")"
    if [ -f "$left" ] && cmp -s "$overlay" "$left"; then
        rm -f "$left"
        echo "run.sh: removed the demo's overlay file left in $left"
    fi
done

# The demo's far-away station is watched from the first demo on; once taken off the list, it
# stays off.
seed_watch_list data/demo-watch.txt build/bin/Ringwarden.LST "$demo_folder/watch-seeded"

build/bin/Ringwarden "$@" &
ringwarden=$!

# Ringwarden ends when the tracker announces its closing; the tracker may outlive it.
wait "$ringwarden" || true
ringwarden=""
wait "$host" || true
host=""
