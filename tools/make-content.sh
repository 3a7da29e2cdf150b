#!/usr/bin/env bash
# Regenerates every generated file of content/ from its source:
#   content/pictures/NN.svg  -> content/pictures/NN.jpg   (400 px wide)
#   content/about/photo.svg  -> content/about/photo.jpg   (220 x 506)
#   tools/make_icons.py      -> content/icons/mainicon.ico, content/icons/info.ico
# Every JPEG goes through tools/jpeg_encode, so all of them share one form: baseline,
# YCbCr 1x1, restart interval 50, JFIF 1.02 at 72 dpi. Same sources give the same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tools/setup.sh

quality=92
encoder="$root/build/tools/jpeg_encode"
mkdir -p "$root/build/tools"
g++ -std=c++20 -O2 -Wall -Wextra -Werror tools/jpeg_encode.cpp -ljpeg -o "$encoder"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# svg_to_jpeg SVG JPG WIDTH [HEIGHT]
svg_to_jpeg() {
  local svg=$1 jpg=$2 width=$3 height=${4:-}
  local size=(-w "$width")
  [ -n "$height" ] && size+=(-h "$height")
  rsvg-convert "${size[@]}" -b white -f png -o "$work/page.png" "$svg"
  convert "$work/page.png" -background white -alpha remove -alpha off -depth 8 \
    -strip ppm:"$work/page.ppm"
  "$encoder" "$work/page.ppm" "$work/page.jpg" "$quality"
  mv "$work/page.jpg" "$jpg"
}

count=0
shopt -s nullglob
for svg in content/pictures/[0-9][0-9].svg; do
  svg_to_jpeg "$svg" "${svg%.svg}.jpg" 400
  count=$((count + 1))
done
echo "make-content: $count item pictures"

svg_to_jpeg content/about/photo.svg content/about/photo.jpg 220 506
echo "make-content: About photo"

/usr/bin/python3 tools/make_icons.py content/icons
echo "make-content: icons"
