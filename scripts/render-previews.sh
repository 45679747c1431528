#!/usr/bin/env bash
# render-previews.sh DIST: render each gauge of DIST/gauges in a typical state into
# DIST/previews/NAME.png with DIST/bin/gaugehost. Gauges without a preview state are skipped.
set -euo pipefail
dist=${1:?usage: render-previews.sh DIST}
mkdir -p "$dist/previews"
# name: the variables of a typical state
declare -A states=(
  [Kv_PitotDial]="--set 61=187 --set 64=5730"
  [Kv_BaroDial]="--set 74=1234 --set 75=1013.25 --set 76=29.92"
)
for gau in "$dist"/gauges/*.gau; do
  name=$(basename "$gau" .gau)
  [ -n "${states[$name]:-}" ] || continue
  echo "preview: $name" >&2
  # shellcheck disable=SC2086
  "$dist/bin/gaugehost" render "$gau" ${states[$name]} --frames 2 --scale 2 -o "$dist/previews/$name.png"
done
