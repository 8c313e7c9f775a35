#!/usr/bin/env bash
# Installs the Debian packages that building and testing need (as root).
#   scripts/install-deps.sh        # build and test
#   scripts/install-deps.sh run    # and a sound server, for running the program with sound
# The screenshot, benchmark and fuzzing scripts install their own few extras.
set -euo pipefail
packages=(
    build-essential cmake ninja-build clang-format
    qt6-base-dev qt6-multimedia-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-dejavu-core fonts-dejavu-extra dbus-daemon dbus-x11
    python3 qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher
    espeak-ng desktop-file-utils appstream
    gpsd gpsd-clients
)
if [ "${1:-}" = run ]; then
    packages+=(pulseaudio pulseaudio-utils)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $SUDO apt-get update
    $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
    # gpsd is here for the tests, which start their own through gpsfake on a free port: a
    # system-wide gpsd that this install enabled is switched off again.
    if [[ " ${missing[*]} " == *" gpsd "* ]] && command -v systemctl >/dev/null; then
        $SUDO systemctl disable --now gpsd.socket gpsd.service >/dev/null 2>&1 || true
    fi
fi
