#!/usr/bin/env bash
# The direct migration (bench/migration-direct.sql) over every *.mdb of a
# folder, as the runner treats a folder: each upgraded catalogue is built into
# a new file beside the old one, given the old one's permissions, synced once,
# renamed over the old file, and the folder synced after the rename.
#   bench/migration-direct.sh FOLDER
set -euo pipefail
sql=$(cd "$(dirname "$0")" && pwd)/migration-direct.sql
folder=$(cd "$1" && pwd)
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vidarkon-direct.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
for old in "$folder"/*.mdb; do
  [ -f "$old" ] || continue
  new=$(mktemp "$old.nowy.XXXXXX")
  (cd "$scratch" && sqlite3 -bail -init /dev/null -cmd ".parameter set :old '${old//\'/\'\'}'" "$new" <"$sql" >/dev/null) ||
    { rm -f "$new"; exit 1; }
  chmod --reference="$old" "$new"
  sync "$new"
  mv -f "$new" "$old"
  sync "$folder"
done
