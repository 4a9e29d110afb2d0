#!/usr/bin/env bash
# Pictures of the bar (normal, hover, pressed, another desktop current), the tray menu with
# its "Switch" submenu and the about box, taken by the end-to-end tests on a fresh stand at
# each DPI given (default: 96 and 144), as PNG files in docs/shots (or $1 when it is a folder).
#   bash scripts/shots.sh              # docs/shots/*-96.png and *-144.png
#   bash scripts/shots.sh /tmp/x 120   # into /tmp/x, at 120 DPI
set -uo pipefail
cd "$(dirname "$0")/.."
out=docs/shots
if [ $# -gt 0 ] && [ "${1#[0-9]}" = "$1" ]; then out=$1; shift; fi
dpis=("$@")
[ ${#dpis[@]} -gt 0 ] || dpis=(96 144)
mkdir -p "$out"
out="$(cd "$out" && pwd)"

cmake --preset mingw >/dev/null && cmake --build --preset mingw --target Orvanta e2e_tests testwins standin_shell \
  || { echo "shots: build failed" >&2; exit 1; }

rc=0
for dpi in "${dpis[@]}"; do
  raw="$(mktemp -d)"
  (
    export ORV_DPI="$dpi" ORV_SHOTS="Z:${raw//\//\\}"
    # shellcheck source=stand.sh
    source scripts/stand.sh
    trap 'stand_down' EXIT
    stand_up && ctest --preset mingw -R 'DeskButtonsShowHover|TheTrayMenuSets' --output-on-failure
  ) || rc=1
  for f in "$raw"/*.bmp; do
    [ -e "$f" ] && convert "$f" "$out/$(basename "${f%.bmp}").png"
  done
  rm -rf "$raw"
done
ls "$out"
exit "$rc"
