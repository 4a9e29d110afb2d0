#!/usr/bin/env bash
# The whole check, as CI runs it: packages, the native build and tests (ASan/UBSan), the
# Windows cross build, then the core, win and end-to-end tests under Wine on a fresh stand.
# Every step runs even when an earlier independent one failed; the exit code is non-zero
# when any failed, and the last line sums up.
set -uo pipefail
cd "$(dirname "$0")/.."

declare -a RESULTS=()
FAILED=0
step() {  # step NAME COMMAND...
  local name=$1; shift
  local t0=$SECONDS
  echo "=== $name"
  if "$@"; then
    RESULTS+=("$name ok ($((SECONDS - t0)) s)")
    return 0
  fi
  RESULTS+=("$name FAILED ($((SECONDS - t0)) s)")
  FAILED=1
  return 1
}
skip() { RESULTS+=("$1 skipped"); FAILED=1; }
summary() {
  echo
  printf '  %s\n' "${RESULTS[@]}"
  if [ "$FAILED" = 0 ]; then echo "test.sh: SUMMARY: all steps passed in ${SECONDS} s"
  else echo "test.sh: SUMMARY: FAILED (${SECONDS} s)"; fi
}

JOBS="$(nproc 2>/dev/null || echo 2)"

# Every Wine test; a test that fails is run once more on its own. Under load a Wine process
# now and then dies at its start (within 30 ms, before writing anything): such a test passes
# on the second try, and the log names it. A test that fails twice fails the step.
wine_tests() {
  ctest --preset mingw -j "$JOBS" --timeout 600 && return 0
  echo "test.sh: running the failed Wine tests once more"
  ctest --preset mingw --rerun-failed --timeout 600 || return 1
  echo "test.sh: WARNING: the Wine tests above passed only on a second try"
}

if ! step deps bash scripts/deps.sh; then summary; exit 1; fi

if step native-configure cmake --preset native \
   && step native-build cmake --build --preset native; then
  step native-tests ctest --preset native -j "$JOBS"
else
  skip native-tests
fi

# A bounded run of the JPEG encoder's fuzz target under ASan and UBSan.
step fuzz bash scripts/fuzz.sh "${ORV_FUZZ_SECONDS:-30}"

mingw_built=0
if step mingw-configure cmake --preset mingw \
   && step mingw-build cmake --build --preset mingw; then
  mingw_built=1
  # The zip and the installer in dist/, for the install tests under Wine.
  step package env ORV_SKIP_DEPS=1 bash scripts/package.sh
else
  skip wine-tests
fi

if [ "$mingw_built" = 1 ]; then
  # shellcheck source=stand.sh
  source scripts/stand.sh
  trap 'stand_down' EXIT
  if step stand-up stand_up; then
    # Tests that use the desktop, mouse or keyboard hold RESOURCE_LOCK desktop; the rest
    # run two at a time.
    step wine-tests wine_tests
  else
    skip wine-tests
  fi
  stand_down
  # The face once more at 144 DPI (150 %), on a stand of its own: the bar's buttons under
  # the mouse, its image buttons, the tray icon, the tray menu and the about box; and the
  # snapshot's pixels, one for one at that scale.
  export ORV_DPI=144
  if step stand-up-144dpi stand_up; then
    step wine-tests-144dpi ctest --preset mingw -L e2e --timeout 600 \
      -R 'DeskButtonsShowHover|TheQuitImageAsks|TheTrayIconBrings|TheTrayMenuSets|DraggedPixelsGo'
  else
    skip wine-tests-144dpi
  fi
  stand_down
  unset ORV_DPI
  trap - EXIT
fi

summary
exit "$FAILED"
