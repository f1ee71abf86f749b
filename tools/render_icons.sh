#!/usr/bin/env bash
# Renders the program's icon (assets/desktop/org.meldora.Meldora.svg) into the PNG sizes
# that desktops without SVG icon support look for. The PNGs are committed; run this again
# after changing the SVG. Needs rsvg-convert (Debian package librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")/../assets/desktop"
for size in 16 24 32 48 64 128 256; do
  mkdir -p "icons/${size}x${size}"
  rsvg-convert -w "$size" -h "$size" org.meldora.Meldora.svg -o "icons/${size}x${size}/org.meldora.Meldora.png"
done
