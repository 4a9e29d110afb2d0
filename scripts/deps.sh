#!/usr/bin/env bash
# Installs what the build, the tests and the run need on Debian 12 (apt, no recommends).
# A re-run is fast: packages that dpkg already knows as installed are skipped, and
# apt-get update runs only when something is missing.
set -euo pipefail

PACKAGES=(
  # build and native tests
  cmake ninja-build g++ googletest
  # clang for the libFuzzer targets
  clang libclang-rt-14-dev
  # cross compiler (the -posix variant has std::thread and std::mutex)
  g++-mingw-w64-x86-64-posix
  # Wine and a display
  wine wine64 fonts-wine xvfb xauth xdotool x11-utils imagemagick
  # Wine's media devices decode through GStreamer: the AVI and WMV samples need these
  gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-libav
  # encoder tests and benchmarks (native)
  libjpeg62-turbo-dev libturbojpeg0-dev libbenchmark-dev
  # the manual (Orvanta.pdf from docs/manual) and its check: HTML to PDF, a font, PDF to text
  weasyprint fonts-dejavu-core poppler-utils
  # the portable zip and the installer (scripts/package.sh)
  nsis zip
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all ${#PACKAGES[@]} packages present"
  exit 0
fi

SUDO=()
if [ "$(id -u)" -ne 0 ]; then
  SUDO=(sudo)
fi

echo "deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" apt-get update -q </dev/null
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
  "${missing[@]}" </dev/null
