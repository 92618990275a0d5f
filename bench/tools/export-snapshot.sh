#!/usr/bin/env bash
# Exports a fixed set of scenes (the examples, the test scenes, the import fixtures and generated
# scenes) in every mode with the vxexport of BUILD, and writes for each export its normalised dump
# (normalised-dump.sh), its log and a listing of the other files it wrote into OUT. Two builds
# compare with: diff -r OUT_BEFORE OUT_AFTER; no difference means both write the same rows, blobs,
# log lines and files.
# Usage: bench/tools/export-snapshot.sh BUILD OUT
set -euo pipefail
if [ $# -ne 2 ] || [ ! -x "$1/apps/vxexport" ]; then
  echo "usage: $0 BUILD OUT (BUILD holds apps/vxexport and bench/vxgen)" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
build=$(cd "$1" && pwd)
out=$2
mkdir -p "$out"
out=$(cd "$out" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

scenes=("$root"/examples/*/*.json "$root"/tests/data/scenes/*.json "$root"/tests/data/import/*.obj
  "$root"/tests/data/import/*.dae "$root"/tests/data/import/*.fbx)
for preset in "tiny 1" "tiny 2" "tiny 3" "small 1"; do
  set -- $preset
  "$build/bench/vxgen" "$1" "$work/gen-$1-$2.json" --seed "$2" >/dev/null
  scenes+=("$work/gen-$1-$2.json")
done

for scene in "${scenes[@]}"; do
  name=$(basename "$scene")
  for mode in single per-object optimized animation; do
    case $mode in
      single) args=(--yes) ;;
      per-object) args=(--per-object) ;;
      optimized) args=(--per-object --optimize-geometry) ;;
      animation) args=(--yes --animation) ;;
    esac
    # Every export runs in the same folder under the same name, so that no path differs.
    run="$work/run"
    rm -rf "$run" && mkdir -p "$run"
    status=0
    (cd "$run" && "$build/apps/vxexport" -q "${args[@]}" "$scene" design.vx >stdout.txt 2>stderr.txt) || status=$?
    base="$out/$name.$mode"
    echo "exit $status" >"$base.exit"
    sed "s|$work|WORK|g; s|$root|ROOT|g" "$run/stderr.txt" >"$base.stderr"
    [ -f "$run/design.vx.log" ] && cp "$run/design.vx.log" "$base.log"
    [ -f "$run/design.vx" ] && "$root/bench/tools/normalised-dump.sh" "$run/design.vx" >"$base.sql"
    (cd "$run" && find . -type f ! -name 'design.vx*' ! -name 'std*.txt' -exec sha256sum {} + | sort -k2) >"$base.files"
  done
done
echo "$(ls "$out" | wc -l) files in $out"
