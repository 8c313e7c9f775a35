#!/usr/bin/env bash
# Makes the PNG icons of both programs from their SVGs (data/icons/*.svg) into
# data/icons/hicolor/NxN/apps/, where the install takes them from. The PNGs are committed, so
# that a build needs no SVG renderer; run this after changing an SVG (needs rsvg-convert,
# Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/.."
for size in 48 64 128 256; do
    mkdir -p "data/icons/hicolor/${size}x${size}/apps"
    for name in ringwarden kestrel32; do
        rsvg-convert -w "$size" -h "$size" "data/icons/$name.svg" \
            -o "data/icons/hicolor/${size}x${size}/apps/$name.png"
    done
done
