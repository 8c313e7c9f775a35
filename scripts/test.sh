#!/usr/bin/env bash
# Installs what is missing, checks the format, builds, and runs every test (no display, no
# session bus needed). The tests run with a home, XDG folders and runtime folder of their own;
# at the end the operator's own files are checked to be as they were.
set -euo pipefail
cd "$(dirname "$0")/.."

# The operator's folders, before they are pointed elsewhere. With no XDG_RUNTIME_DIR, Qt and
# speech-dispatcher fall back to a runtime folder in /tmp.
real_home=$HOME
real_config=${XDG_CONFIG_HOME:-$HOME/.config}
real_data=${XDG_DATA_HOME:-$HOME/.local/share}
real_cache=${XDG_CACHE_HOME:-$HOME/.cache}
real_runtime=${XDG_RUNTIME_DIR:-/tmp/runtime-$(id -un)}

# What of the operator's a test could touch: every file and folder with its mode, size, time
# and contents' hash (a rewrite with the same bytes still changes the time).
user_files() {
    local path
    for path in "$real_config/Brightmoor" "$real_config/Ringwarden" "$real_config/kestrel32" \
        "$real_data"/Kestrel32* "$real_data/Ringwarden" "$real_runtime/speech-dispatcher" \
        "$real_cache/speech-dispatcher" "$real_home/.qttest"; do
        [ -e "$path" ] || continue
        find "$path" -printf '%y %m %s %T@ %p\n'
        find "$path" -type f -exec md5sum {} +
    done | sort
}
user_files_before=$(user_files)

test_home=$(mktemp -d "${TMPDIR:-/tmp}/ringwarden-test-home.XXXXXX")
trap 'rm -rf "$test_home" || true' EXIT
mkdir -p "$test_home"/{config,data,cache,state,runtime}
chmod 700 "$test_home/runtime"
export HOME=$test_home XDG_CONFIG_HOME=$test_home/config XDG_DATA_HOME=$test_home/data \
    XDG_CACHE_HOME=$test_home/cache XDG_STATE_HOME=$test_home/state \
    XDG_RUNTIME_DIR=$test_home/runtime
# The operator's session (its bus, display and sound server) is not the tests' either: bus
# tests start a private bus, window tests run offscreen.
unset DBUS_SESSION_BUS_ADDRESS DISPLAY WAYLAND_DISPLAY PULSE_SERVER

scripts/install-deps.sh

# The format first, so that a slip fails in a second rather than after the build.
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
else
    find src sim tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
        xargs -0 clang-format --dry-run -Werror
fi

scripts/build.sh
export QT_QPA_PLATFORM=offscreen
(cd build && ctest --output-on-failure --parallel "$(nproc)" --timeout 300)
# The unit tests again under AddressSanitizer and UndefinedBehaviorSanitizer, and every fuzz
# target replayed over its seed corpus (fuzz/corpus) in that build. The libFuzzer build
# (scripts/fuzz.sh) is a separate clang build of its own and does not fit the time here.
scripts/asan-test.sh

if [ "$(user_files)" != "$user_files_before" ]; then
    echo "test.sh: the tests changed the operator's own files (before <, after >):" >&2
    diff <(echo "$user_files_before") <(user_files) >&2 || true
    exit 1
fi
