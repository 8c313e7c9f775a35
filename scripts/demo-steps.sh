# Steps of the demo (scripts/run.sh), kept apart so that they can be tried on their own:
#   source scripts/demo-steps.sh

# seed_watch_list WATCH_FILE LIST_FILE DONE_FILE
# Puts each callsign of WATCH_FILE (one a line) on the watch list in LIST_FILE (Ringwarden.LST:
# "entry|Watched" lines, CR LF), once: DONE_FILE remembers what was put there, so that a station
# the operator has taken off the list since stays off. A station already in the list, watched
# or acknowledged, is left as it is. Nothing else of the file changes.
seed_watch_list() {
    local watch=$1 list=$2 done=$3 call
    while IFS= read -r call || [ -n "$call" ]; do
        call=${call%$'\r'}
        [ -n "$call" ] || continue
        if [ -f "$done" ] && grep -qxF -- "$call" "$done"; then
            continue
        fi
        # Lines of the list end at CR or CR LF.
        if ! { [ -f "$list" ] &&
            tr '\r' '\n' <"$list" | awk -F'|' -v c="$call" '$1 == c { f = 1 } END { exit !f }'; }; then
            # A last line without its line end keeps it to itself.
            if [ -s "$list" ] && [ -n "$(tail -c 1 "$list" | tr -d '\r\n')" ]; then
                printf '\r\n' >>"$list"
            fi
            printf '%s|Watched\r\n' "$call" >>"$list"
        fi
        printf '%s\n' "$call" >>"$done"
    done <"$watch"
}

# start_sound_server: starts PulseAudio when no sound server answers, so that the demo's alarm
# is heard; sound_server_started=1 then, for stop_sound_server. A server that was running
# already (PulseAudio, PipeWire's) is used and left alone.
sound_server_started=""
start_sound_server() {
    command -v pactl >/dev/null && pactl info >/dev/null 2>&1 && return 0
    if ! command -v pulseaudio >/dev/null; then
        echo "run.sh: no sound server and no PulseAudio to start; the demo runs silent" >&2
        return 0
    fi
    # As root PulseAudio warns that it is meant for a user session; it runs all the same.
    if pulseaudio --start --exit-idle-time=-1 >/dev/null 2>&1; then
        sound_server_started=1
    else
        echo "run.sh: PulseAudio did not start; the demo runs silent" >&2
    fi
}

stop_sound_server() {
    if [ -n "$sound_server_started" ]; then
        pulseaudio --kill >/dev/null 2>&1 || true
        sound_server_started=""
    fi
}
