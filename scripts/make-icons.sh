#!/usr/bin/env bash
# Draws the hicolor PNGs from packaging/icons/orvane-g7.svg with ImageMagick (which cannot read SVG
# here: each <path fill=... d=...> line becomes one MVG path). Same input, same bytes: no time chunks.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
svg=$root/packaging/icons/orvane-g7.svg
mvg=""
while IFS= read -r line; do
  fill=$(sed -n 's/.*fill="\([^"]*\)".*/\1/p' <<<"$line")
  d=$(sed -n 's/.* d="\([^"]*\)".*/\1/p' <<<"$line")
  mvg+="fill '$fill' path '$d' "
done < <(grep '<path ' "$svg")
for n in 16 22 24 32 48 64 128 256; do
  out=$root/packaging/icons/${n}x${n}/orvane-g7.png
  mkdir -p "$(dirname "$out")"
  s=$(awk "BEGIN { print $n / 64 }")
  convert -size ${n}x${n} xc:none -draw "scale $s,$s $mvg" \
    -define png:exclude-chunks=date,time +set date:create +set date:modify -strip "PNG32:$out"
done
echo "icons written to packaging/icons/"
