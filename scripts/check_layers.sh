#!/usr/bin/env bash
# The build keeps each layer to the headers of the layers it links (each has
# an include root of its own). This checks the three ways around that the
# build cannot see: an include that climbs out of its folder with "..", a
# target that adds a layer's include root to its own include path instead of
# linking the layer, and a Windows header in the portable game (surface/,
# model/, control/), which a Windows compiler would accept. Names every such
# include and fails.
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

# An include_directories or target_include_directories call, read to its
# closing parenthesis, that names a layer's include folder: only the layer's
# own CMakeLists.txt may, as "include".
layer_roots=$(git ls-files -z 'CMakeLists.txt' '*/CMakeLists.txt' '*.cmake' |
  xargs -0 awk '
    FNR == 1 { call = "" }
    call == "" && tolower($0) ~ /include_directories[[:space:]]*\(/ { start = FNR }
    call != "" || tolower($0) ~ /include_directories[[:space:]]*\(/ {
      call = call " " $0
      if ($0 ~ /\)/) {
        if (call ~ /(surface|model|control|framework|shell)\/include/) {
          gsub(/[[:space:]]+/, " ", call)
          printf "%s:%d:%s\n", FILENAME, start, call
        }
        call = ""
      }
    }')
if [ -n "$layer_roots" ]; then
  while IFS= read -r hit; do
    echo "$hit: reaches into a layer's headers; link the layer instead"
  done <<<"$layer_roots"
  status=1
fi

[ "$status" -eq 0 ] && echo "layers: no include climbs out of its folder, no target reaches into a layer's" \
  "headers without linking it, and the game includes no Windows header"
exit "$status"
