#!/usr/bin/env bash
# Where the time of one upgrade goes, the runner's and the direct migration's
# (bench/migration-direct.sql) side by side, in rounds that alternate the two
# on fresh copies of one sample catalogue. The runner is timed at its steps by
# breakpoints that only note the time (gdb, bench/phases.gdb), so the build
# needs no timing code of its own; the migration by its shell's timer.
#   bench/phases.sh                              100,000 usual films, 3 rounds
#   SHAPE=heavy SIZE=10000 ROUNDS=5 bench/phases.sh
# Seconds per step; "rows" is the rows' copy of a table, "indexes" the commit:
# the other tables carried and every index built after its rows.
. "$(dirname "$0")/../tools/build-lib.sh"
. "$(dirname "$0")/common.sh"
root=$PWD

size=${SIZE:-100000}
rounds=${ROUNDS:-3}
set_shape_option "${SHAPE:-usual}"
build=$root/build-bench

vk_configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_BUILD_TESTS=OFF >/dev/null
vk_build "$build" vidarkon-patch-cli vidarkon-sample
cli=$build/app/cli/vidarkon-patch-cli

work=$(mktemp -d "${TMPDIR:-/tmp}/vidarkon-phases.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/source"
"$build/tools/sample/vidarkon-sample" "${shape_option[@]}" -n "$size" -m "$size" -s 1 \
  "$work/source/katalog.mdb" >/dev/null

fresh_copy() {
  rm -rf "$work/run"
  cp -r "$work/source" "$work/run"
  sync
}

# The marks in the order they come: a table's structure, its rows (films, then
# loans), the commit's carrying and indexes, the new file's commit and sync,
# and its rename over the old file up to the end of the process.
runner_round() {
  fresh_copy
  gdb -q -batch -x "$root/bench/phases.gdb" --args "$cli" "$work/run" 2>/dev/null | awk '
    $1 == "MARK" { label[++n] = $2; at[n] = $3 }
    END {
      printf "runner:"
      tables = 0
      for (i = 2; i < n; i++) {
        what = label[i]
        if (what == "structure") tables++
        if (what == "structure" || what == "rows") what = what (tables == 1 ? " films" : " loans")
        printf " %s %.2f,", what, at[i + 1] - at[i]
      }
      printf " total from the first table %.2f\n", at[n] - at[2]
    }'
}

# The direct migration's time by what its statements do, marked in its script.
direct_round() {
  fresh_copy
  local scratch=$work/scratch
  rm -rf "$scratch"
  mkdir -p "$scratch"
  local start=$EPOCHREALTIME
  sed -e 's/^\.bail on$/.bail on\n.timer on/' \
    -e '/^INSERT INTO "FILMY"$/i .print PHASE rows-films' \
    -e '/^CREATE TABLE "WYPOZYCZ"/i .print PHASE other' \
    -e '/^INSERT INTO "WYPOZYCZ"$/i .print PHASE rows-loans' \
    -e '/^CREATE INDEX "FILMY.FILM_ID"/i .print PHASE indexes-films' \
    -e '/^CREATE INDEX "WYPOZYCZ.FILM_ID"/i .print PHASE indexes-loans' \
    -e "/^-- The engine's field properties/i .print PHASE other" \
    "$root/bench/migration-direct.sql" >"$scratch/timed.sql"
  (cd "$scratch" && sqlite3 -bail -init /dev/null -cmd ".parameter set :old '$work/run/katalog.mdb'" \
    "$work/run/nowy.mdb" <timed.sql) | awk '
      $1 == "PHASE" { phase = $2 }
      /^Run Time:/ { t[phase == "" ? "other" : phase] += $4 }
      END {
        printf "direct: rows films %.2f, rows loans %.2f, indexes films %.2f, indexes loans %.2f, the rest %.2f", \
          t["rows-films"], t["rows-loans"], t["indexes-films"], t["indexes-loans"], t["other"]
      }'
  sync "$work/run/nowy.mdb"
  awk -v a="$start" -v b="$EPOCHREALTIME" 'BEGIN { printf ", all with the sync %.2f\n", b - a }'
}

echo "${SHAPE:-usual} shape, $size films, $size loans"
for ((r = 0; r < rounds; r++)); do
  runner_round
  direct_round
done
