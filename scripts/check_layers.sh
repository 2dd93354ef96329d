#!/usr/bin/env bash
# Checks that each layer includes only the layers below it: model/ nothing of
# control/, framework/ or shell/; control/ nothing of framework/ or shell/;
# framework/ nothing of shell/ or res/ (it takes the program's ids from its
# caller). Names every include that breaks this and fails.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
# check LAYER FORBIDDEN...: no file of LAYER includes a file of a FORBIDDEN folder.
check() {
  local layer=$1; shift
  local forbidden pattern hits
  forbidden=$(IFS='|'; echo "$*")
  pattern="^[[:space:]]*#[[:space:]]*include[[:space:]]*[\"<]($forbidden)/"
  # grep exits 1 when nothing matches, 2 on a real error.
  hits=$(grep -rEn --include='*.h' --include='*.cpp' "$pattern" "$layer") || [ $? -eq 1 ] || exit 2
  [ -n "$hits" ] || return 0
  while IFS=: read -r file line text; do
    included=$(sed -E 's/.*[\"<]([^\">]*)[\">].*/\1/' <<<"$text")
    echo "$file:$line includes $included, but $layer/ may include nothing of ${forbidden//|/\/, }/"
  done <<<"$hits"
  status=1
}
check model control framework shell
check control framework shell
check framework shell res

[ "$status" -eq 0 ] && echo "layers: every include points to a layer below"
exit "$status"
