#!/usr/bin/env bash
# Checks the layer rule of src/: a file includes headers of its own layer and of the layers
# below it only (see docs/architecture.md). Prints every include that breaks the rule.
#   scripts/check_layers.sh [source dir]
set -euo pipefail
src=${1:-"$(dirname "$0")/../src"}

# layer: the folders its files may include from
declare -A allowed=(
  [platform]="platform"
  [base]="base platform"
  [image]="image base platform"
  [device]="device image base platform"
  [settings]="settings base platform"
  [link]="link device settings image base platform"
  [app]="app link device settings image base platform"
  [ops]="ops app link device settings image base platform"
  [dialogs]="dialogs ops app link device settings image base platform"
  [commands]="commands ops app dialogs link device settings image base platform"
  [ui]="ui commands ops app dialogs link device settings image base platform"
  [locator]="locator base platform"
)
# The start-up wiring sees every layer; the Qt widgets and the programs sit on top of all.
exempt='^(app/Startup\.(h|cpp)|ui/qt/|locator/qt/|programs/)'

# Plain pipes only (no process substitution): some build roots have no /dev/fd.
violations=$(find "$src" -name '*.h' -o -name '*.cpp' | sort | while IFS= read -r file; do
  rel=${file#"$src"/}
  [[ $rel =~ $exempt ]] && continue
  layer=${rel%%/*}
  [[ -n ${allowed[$layer]+set} ]] || { echo "$rel: folder of no layer"; continue; }
  sed -n 's/^#include "\([a-z]*\/[^"]*\)".*/\1/p' "$file" | while IFS= read -r included; do
    folder=${included%%/*}
    [[ " ${allowed[$layer]} " == *" $folder "* ]] && continue
    echo "$rel includes $included: $layer may not include $folder/"
  done
done)
if [ -n "$violations" ]; then
  echo "$violations"
  exit 1
fi
echo "layers: every include points down"
