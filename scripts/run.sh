#!/usr/bin/env bash
# Builds Orvanta for Windows and runs it on the Wine test stand with a few ordinary windows
# beside it. With DISPLAY set to a live X server the stand uses that display (a developer
# sees the program); otherwise a private Xvfb. ORV_KEEP_STAND=1 keeps the sandbox afterwards;
# ORV_DPI=144 runs everything at 144 DPI (150 %) instead of 96.
set -uo pipefail
cd "$(dirname "$0")/.."
REPO="$(pwd)"

bash scripts/deps.sh || { echo "run: installing the packages failed" >&2; exit 1; }

cmake --preset mingw >/dev/null || { echo "run: configure failed" >&2; exit 1; }
cmake --build --preset mingw --target Orvanta manual standin_shell testwins || { echo "run: build failed" >&2; exit 1; }

export ORV_USE_HOST_DISPLAY=1
# shellcheck source=stand.sh
source scripts/stand.sh
trap 'stand_down' EXIT
trap 'exit 130' INT TERM
stand_up || { echo "run: the stand did not come up" >&2; exit 1; }

# Ordinary windows to switch between: two notepads with different titles, and a few entries
# on the Desktop for the stand-in shell to show.
user_dir="$(ls -d "$WINEPREFIX"/drive_c/users/*/Desktop | grep -v /Public/ | head -n1)"
user_dir="$(dirname "$user_dir")"
user="$(basename "$user_dir")"
printf 'Shopping list\r\n- bread\r\n- coffee\r\n' >"$user_dir/Documents/Shopping list.txt"
printf 'Meeting notes\r\n' >"$user_dir/Documents/Meeting notes.txt"
printf 'Read me\r\n' >"$user_dir/Desktop/Read me.txt"
mkdir -p "$user_dir/Desktop/Projects"
for f in "Shopping list.txt" "Meeting notes.txt"; do
  wine notepad "C:\\users\\$user\\Documents\\$f" </dev/null >>"$ORV_STAND/logs/notepad.log" 2>&1 &
done
# Under Wine a window that activates after the bar appears can cover the topmost bar (until
# the bar re-layers after a switch): the Notepads come up first, as a user's windows would.
sleep 3

echo "run: stand at $ORV_STAND (${ORV_DPI:-96} DPI)"
echo "run: screenshot with: DISPLAY=$DISPLAY import -window root shot.png"
echo "run: starting build/mingw/Orvanta.exe (close it to end)"
# In the background and waited for, so that a signal to this script ends the stand at once.
wine "$REPO/build/mingw/Orvanta.exe" </dev/null >"$ORV_STAND/logs/orvanta.log" 2>&1 &
wait $!
rc=$?
echo "run: Orvanta exited with $rc"
exit "$rc"
