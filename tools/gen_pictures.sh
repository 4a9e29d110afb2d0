#!/usr/bin/env bash
# Makes the pictures that ship with the program: six default wallpapers (res/bg1.jpg to
# res/bg6.jpg) and the program icon (res/orvanta.ico). They are generated, not drawn by
# hand, and committed so a Windows build needs no ImageMagick. Needs ImageMagick and
# fontconfig with a DejaVu font.
set -euo pipefail
cd "$(dirname "$0")/../res"
if [ "${1:-}" != icon ]; then
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
fi
# The icon is drawn at 256 pixels and scaled down to every size the shell asks for (the
# 256 one is stored as PNG); "icon" as the argument remakes it alone.
convert -size 256x256 xc:none -fill "#2b3a55" -draw "roundrectangle 8,8 247,247 48,48" \
  -fill "#6c8cbf" -draw "rectangle 48,56 123,123" -fill "#a3c4f3" -draw "rectangle 136,56 211,123" \
  -fill "#a3c4f3" -draw "rectangle 48,136 123,203" -fill "#6c8cbf" -draw "rectangle 136,136 211,203" \
  -define icon:auto-resize=256,64,48,40,32,24,20,16 orvanta.ico
