#!/usr/bin/env bash
# Checks that the release is the same bytes whoever builds the commit: makes
# it here (scripts/release.sh) and again from a copy of the checkout at
# another path, later and in a fresh build tree, and compares the SHA-256 of
# the program and of the zip. Fails as well when the program holds an
# absolute path, when its PE time stamp or a zip member's time is not the
# commit's, and names what it found.
source "$(dirname "$0")/common.sh"

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
scripts/release.sh

# The checkout's files as they are now, committed or not.
copy=build/release-copy/at/another/path/brikfall
rm -rf build/release-copy
mkdir -p "$copy"
git ls-files -z --cached --others --exclude-standard |
  while IFS= read -r -d '' file; do [ -e "$file" ] && printf '%s\0' "$file"; done |
  xargs -0 cp --parents -t "$copy"
(cd "$copy" && scripts/release.sh >/dev/null)

status=0
fail() { echo "release: $*"; status=1; }

if ! cmp -s dist/SHA256SUMS "$copy/dist/SHA256SUMS"; then
  fail "two builds of the commit differ:"
  diff dist/SHA256SUMS "$copy/dist/SHA256SUMS" || [ $? -eq 1 ]
fi

exe=dist/brikfall_SDI.exe
# A path from the root or a drive, in narrow or wide strings.
# Read first, so that a failing strings fails the check; grep's status 1 is
# "nothing found", anything above it an error.
texts=$(strings -a -n 4 "$exe" && strings -a -n 4 -e l "$exe")
found=$(grep -E -e "(^|[[:space:]\"'=(])/[[:alnum:]._-]+/" -e '(^|[^[:alnum:]])[A-Za-z]:[\\/]' \
  -e "$PWD" <<<"$texts") || [ $? -eq 1 ]
[ -n "$texts" ] || fail "strings read nothing from $exe"
[ -z "$found" ] || fail "the program holds absolute paths: $found"

header=$(od -An -tu4 -j 60 -N 4 "$exe" | tr -d ' ')
stamp=$(od -An -tu4 -j $((header + 8)) -N 4 "$exe" | tr -d ' ')
[ "$stamp" = "$SOURCE_DATE_EPOCH" ] ||
  fail "the PE time stamp is $stamp, the commit's time $SOURCE_DATE_EPOCH"

/usr/bin/python3 - dist/*.zip "$SOURCE_DATE_EPOCH" <<'PY' || status=1
import sys, time, zipfile
path, epoch = sys.argv[1], int(sys.argv[2])
want = time.gmtime(epoch - epoch % 2)[:6]  # zip times count in 2 s
wrong = [(m.filename, m.date_time) for m in zipfile.ZipFile(path).infolist() if m.date_time != want]
if wrong:
    sys.exit(f"release: zip members not dated at the commit's time {want}: {wrong}")
PY

[ "$status" -eq 0 ] && echo "release: the same SHA-256 from $PWD and $copy; no absolute path; dated at the commit ($SOURCE_DATE_EPOCH)"
exit "$status"
