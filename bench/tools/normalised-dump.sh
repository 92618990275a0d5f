#!/usr/bin/env bash
# Prints the `sqlite3 .dump` of an exported database in a form that two exports of the same scene
# share: the identifiers a run draws afresh (16-byte GUID values of the Guids, MergeHints and
# ImportedVXLink rows) are replaced by their order of first appearance ("GUID#1", "GUID#2", ...),
# and the CurrentVersion row (stamped afresh by every run) is left out. Everything else, blobs
# included, is printed as SQLite dumps it.
# Usage: bench/tools/normalised-dump.sh DATABASE
# Two exports compare with: diff <(bench/tools/normalised-dump.sh a.vx) <(bench/tools/normalised-dump.sh b.vx)
set -euo pipefail
if [ $# -ne 1 ] || [ ! -f "$1" ]; then
  echo "usage: $0 DATABASE" >&2
  exit 2
fi
sqlite3 "$1" .dump | perl -ne '
  BEGIN { our %seen; our $next = 0; }
  next if /^INSERT INTO CurrentVersion /;
  if (/^INSERT INTO (Guids|MergeHints|ImportedVXLink) /) {
    s/X\x27([0-9a-fA-F]{32})\x27/exists $seen{lc $1} ? $seen{lc $1} : ($seen{lc $1} = "GUID#" . ++$next)/ge;
  }
  print;
'
