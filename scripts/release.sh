#!/usr/bin/env bash
# Makes the release from the checkout: builds the shipped program (CMake
# preset "program") and writes dist/brikfall_SDI-VERSION-win64.zip with the
# program, README.txt for players and LICENSE, the program beside it, and
# dist/SHA256SUMS for the zip and the program. The same commit gives the same
# bytes wherever and whenever it is built: every time stamp is the commit's
# (SOURCE_DATE_EPOCH, taken from git unless it is set).
source "$(dirname "$0")/common.sh"

need program
export SOURCE_DATE_EPOCH="${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}"
preset_build program --target brikfall_SDI >/dev/null

tree=build/program
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$tree/CMakeCache.txt")
name=brikfall_SDI-$version-win64
exe=brikfall_SDI.exe
stage=$tree/release
rm -rf dist "$stage"
mkdir -p dist "$stage"
sed "s/@VERSION@/$version/g" docs/README.txt > "$stage/README.txt"
cp "$tree/shell/$exe" dist/
/usr/bin/python3 scripts/release_zip.py "dist/$name.zip" "$SOURCE_DATE_EPOCH" \
  "$exe=dist/$exe" --text "README.txt=$stage/README.txt" LICENSE=LICENSE
(cd dist && sha256sum "$name.zip" "$exe" > SHA256SUMS)

/usr/bin/python3 -m zipfile -l "dist/$name.zip"
cat dist/SHA256SUMS
