#!/usr/bin/env bash
# Redraws the program icon and the two banners with ImageMagick. Only needed when the artwork
# changes: the results are kept in this folder and the build uses them as they are.
#   usage: resources/draw-artwork.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
convert=/usr/bin/convert
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
serif=/usr/share/fonts/truetype/dejavu/DejaVuSerif-BoldItalic.ttf
sans=/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf

# Banner: a quill and the product name on a night-blue to teal band, 360 x 53 at scale 1.
# Each scale is drawn anew rather than resized, so the larger one is as sharp as the smaller:
# the window shows whichever is nearer its size on the screen.
#   banner SCALE FILE
banner() {
  local s=$1 out=$2
  $convert -size $((360 * s))x$((53 * s)) gradient:'#1d3557'-'#2a9d8f' \
    \( -size $((360 * s))x$((53 * s)) xc:none -fill '#ffffff22' \
       -draw "ellipse $((300 * s)),$((60 * s)) $((120 * s)),$((40 * s)) 180,360" \) -composite \
    -fill '#f1faee' -stroke '#e9c46a' -strokewidth "$((15 * s / 10)).$((15 * s % 10))" \
    -draw "path 'M $((14 * s)),$((46 * s)) C $((22 * s)),$((30 * s)) $((34 * s)),$((14 * s)) $((52 * s)),$((6 * s)) C $((44 * s)),$((18 * s)) $((36 * s)),$((30 * s)) $((26 * s)),$((40 * s)) Z'" \
    -stroke '#e9c46a' -strokewidth "$s" -draw "line $((14 * s)),$((47 * s)) $((30 * s)),$((30 * s))" -stroke none \
    -font "$serif" -pointsize $((30 * s)) -fill '#f1faee' -annotate +$((62 * s))+$((34 * s)) 'Varnquill' \
    -font "$sans" -pointsize $((10 * s)) -fill '#e9c46a' -annotate +$((226 * s))+$((33 * s)) 'changing mail signatures' \
    -quality 90 -sampling-factor 2x2 -strip "$out"
}
banner 1 "$here/Banner.jpg"
banner 2 "$here/BannerLarge.jpg"

# Icon: the same quill on a rounded square, drawn large and scaled to every size the system
# asks for: the small icon at 100, 125, 150 and 200 percent (16, 20, 24, 32), the large one
# likewise (32, 40, 48, 64), and 256 for the shell's largest views.
sizes="16 20 24 32 40 48 64 256"
$convert -size 256x256 xc:none -fill '#1d3557' -draw "roundrectangle 8,8 247,247 44,44" \
  -fill '#2a9d8f' -draw "roundrectangle 8,150 247,247 44,44" -draw "rectangle 8,150 247,190" \
  -fill '#f1faee' -stroke '#e9c46a' -strokewidth 8 \
  -draw "path 'M 60,214 C 90,150 140,80 214,40 C 184,100 150,150 100,190 Z'" \
  -stroke '#e9c46a' -strokewidth 10 -draw "line 52,226 120,150" "$work/master.png"
icons=()
for size in $sizes; do
  $convert "$work/master.png" -resize ${size}x${size} -depth 8 "$work/icon-$size.png"
  icons+=("$work/icon-$size.png")
done
$convert "${icons[@]}" "$here/Varnquill.ico"
