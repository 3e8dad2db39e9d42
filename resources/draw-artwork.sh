#!/usr/bin/env bash
# Redraws the program icon and the banner with ImageMagick. Only needed when the artwork
# changes: the results are kept in this folder and the build uses them as they are.
#   usage: resources/draw-artwork.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
serif=/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

# Banner: 360 x 53, a quill and the product name on a night-blue to teal band.
$convert -size 360x53 gradient:'#1d3557'-'#2a9d8f' \
  \( -size 360x53 xc:none -fill '#ffffff22' -draw "ellipse 300,60 120,40 180,360" \) -composite \
  -fill '#f1faee' -stroke '#e9c46a' -strokewidth 1.5 \
  -draw "path 'M 14,46 C 22,30 34,14 52,6 C 44,18 36,30 26,40 Z'" \
  -stroke '#e9c46a' -strokewidth 1 -draw "line 14,47 30,30" -stroke none \
  -font "$serif" -pointsize 30 -fill '#f1faee' -annotate +62+34 'Varnquill' \
  -font "$sans" -pointsize 10 -fill '#e9c46a' -annotate +226+33 'changing mail signatures' \
  -quality 90 -sampling-factor 2x2 -strip "$here/Banner.jpg"

# Icon: the same quill on a rounded square, drawn large and scaled to 16, 32 and 48.
$convert -size 256x256 xc:none -fill '#1d3557' -draw "roundrectangle 8,8 247,247 44,44" \
  -fill '#2a9d8f' -draw "roundrectangle 8,150 247,247 44,44" -draw "rectangle 8,150 247,190" \
  -fill '#f1faee' -stroke '#e9c46a' -strokewidth 8 \
  -draw "path 'M 60,214 C 90,150 140,80 214,40 C 184,100 150,150 100,190 Z'" \
  -stroke '#e9c46a' -strokewidth 10 -draw "line 52,226 120,150" "$work/master.png"
for size in 16 32 48; do
  $convert "$work/master.png" -resize ${size}x${size} -depth 8 "$work/icon-$size.png"
done
$convert "$work/icon-16.png" "$work/icon-32.png" "$work/icon-48.png" "$here/Varnquill.ico"
