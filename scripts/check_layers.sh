#!/usr/bin/env bash
# The build keeps each layer to the headers of the layers it links (each has
# an include root of its own). This checks the two ways around that the build
# cannot see: an include that climbs out of its folder with "..", and a
# Windows header in the portable game (surface/, model/, control/), which a
# Windows compiler would accept. Names every such include and fails.
source "$(dirname "$0")/common.sh"

status=0
# report PATTERN WHY FOLDER...: every include matching PATTERN in FOLDERs is a fault.
report() {
  local pattern=$1 why=$2 hits
  shift 2
  # grep exits 1 when nothing matches, 2 on a real error.
  hits=$(grep -rEn --include='*.h' --include='*.cpp' "^[[:space:]]*#[[:space:]]*include[[:space:]]*$pattern" "$@") ||
    [ $? -eq 1 ] || exit 2
  [ -n "$hits" ] || return 0
  while IFS=: read -r file line text; do
    echo "$file:$line: ${text#"${text%%#*}"}: $why"
  done <<<"$hits"
  status=1
}
report '["<][^">]*\.\./' 'includes by a path that climbs out of its folder; link the layer instead' \
  surface model control framework shell tests fuzz bench
report '<(windows|windef|winuser|wingdi)\.h>' 'the game is portable and never includes Windows headers' \
  surface model control

[ "$status" -eq 0 ] && echo "layers: no include climbs out of its folder, and the game includes no Windows header"
exit "$status"
