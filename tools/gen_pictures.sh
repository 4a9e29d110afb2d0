#!/usr/bin/env bash
# Makes the pictures that ship with the program: six default wallpapers (res/bg1.jpg to
# res/bg6.jpg) and the program icon (res/orvanta.ico). They are generated, not drawn by
# hand, and committed so a Windows build needs no ImageMagick. Needs ImageMagick and
# fontconfig with a DejaVu font.
set -euo pipefail
cd "$(dirname "$0")/../res"
hues=("#1d3557:#457b9d" "#2a9d8f:#264653" "#6d597a:#e56b6f" "#3a5a40:#a3b18a" "#9c6644:#ede0d4" "#14213d:#fca311")
for n in 1 2 3 4 5 6; do
  IFS=: read -r a b <<<"${hues[$((n-1))]}"
  convert -size 800x600 "gradient:${a}-${b}" \
    \( -size 800x600 xc:none -fill "rgba(255,255,255,0.10)" \
       -draw "circle $((120*n)),$((90*n%600)) $((120*n+180)),$((90*n%600))" \
       -draw "circle $((800-90*n)),$((500-40*n)) $((800-90*n+90)),$((500-40*n))" \) -composite \
    -font "$(fc-match -f "%{file}" "DejaVu Sans:bold")" -fill "rgba(255,255,255,0.55)" -pointsize 160 -gravity southeast -annotate +40+10 "$n" \
    -quality 82 -sampling-factor 4:2:0 -strip "bg${n}.jpg"
done
convert -size 64x64 xc:none -fill "#2b3a55" -draw "roundrectangle 2,2 61,61 12,12" \
  -fill "#6c8cbf" -draw "rectangle 12,14 30,30" -fill "#a3c4f3" -draw "rectangle 34,14 52,30" \
  -fill "#a3c4f3" -draw "rectangle 12,34 30,50" -fill "#6c8cbf" -draw "rectangle 34,34 52,50" \
  -define icon:auto-resize=48,32,16 orvanta.ico
