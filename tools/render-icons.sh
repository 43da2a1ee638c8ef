#!/usr/bin/env bash
# Renders the program's scalable icon (res/desktop/dravonela.svg) into the PNG sizes of
# the hicolor theme under res/desktop/hicolor, which are committed (the SVG itself is
# installed as the scalable size). Run it after changing the SVG; needs rsvg-convert
# (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."
svg=res/desktop/dravonela.svg
for size in 16 22 24 32 48 64 128 256; do
    dir="res/desktop/hicolor/${size}x${size}/apps"
    mkdir -p "$dir"
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$dir/dravonela.png"
done
