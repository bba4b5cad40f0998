#!/usr/bin/env bash
# Renders the committed PNG icons from tenzor.svg; run it after changing the drawing.
# Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 22 24 32 48 64 128 256; do
  mkdir -p "${size}x${size}"
  rsvg-convert -w "$size" -h "$size" tenzor.svg -o "${size}x${size}/tenzor.png"
done
