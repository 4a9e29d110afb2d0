#!/usr/bin/env bash
# What a Windows user downloads, from this checkout and Debian's packages alone:
#   dist/Orvanta-<version>-portable.zip  the program folder ("Orvanta Solvane\..."), as
#                                        `cmake --install --component program` lays it out
#   dist/Orvanta-<version>-setup.exe     the NSIS installer of that same folder (installer/)
# The version is the one project() sets in CMakeLists.txt.
set -euo pipefail
cd "$(dirname "$0")/.."

[ "${ORV_SKIP_DEPS:-}" = 1 ] || bash scripts/deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target Orvanta manual

build=build/mingw
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "package: no version in $build/CMakeCache.txt" >&2; exit 1; }

dist=$PWD/dist
work=$PWD/$build/package
stage=$work/Orvanta\ Solvane
rm -rf "$work"
mkdir -p "$work" "$dist"
cmake --install "$build" --component program --prefix "$stage" >/dev/null

# The uninstaller removes exactly these files from the program folder, nothing else.
if find "$stage" -mindepth 1 -type d | grep -q .; then
  echo "package: the program folder has subfolders; the uninstaller lists files only" >&2; exit 1
fi
{
  echo '!macro OrvInstallFiles'
  (cd "$stage" && LC_ALL=C ls) | while read -r f; do printf '  File "%s/%s"\n' "$stage" "$f"; done
  echo '!macroend'
  echo '!macro OrvRemoveFiles'
  (cd "$stage" && LC_ALL=C ls) | while read -r f; do printf '  Delete "$INSTDIR\\%s"\n' "$f"; done
  echo '!macroend'
} >"$work/files.nsh"

zip_name=Orvanta-$version-portable.zip
setup_name=Orvanta-$version-setup.exe
rm -f "$dist/$zip_name" "$dist/$setup_name"
(cd "$work" && LC_ALL=C zip -q -X -r "$dist/$zip_name" "Orvanta Solvane")
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DFILES="$work/files.nsh" \
  -DOUTFILE="$dist/$setup_name" installer/orvanta.nsi

ls -l "$dist/$zip_name" "$dist/$setup_name"
