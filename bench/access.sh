#!/usr/bin/env bash
# Moving a catalogue from the Access format and upgrading it, against the
# upgrade of the same catalogue already in the catalogue format: the same
# films from the same seed, written once as an Access (Jet 4) file and once as
# an SQLite catalogue, each upgraded by the runner in rounds that alternate the
# two. The results must be the same catalogue. Targets: at most twice the time,
# peak memory under 64 MiB.
#   bench/access.sh                        100,000 films (as many loans), both shapes
#   ACCESS_SIZES="10000 100000" bench/access.sh
#   SHAPES=heavy bench/access.sh           one shape ("usual", "heavy")
#   RESULTS=/tmp/trial bench/access.sh     write the results elsewhere (default bench/results)
# Writes access.md and access.dat; bench/run.sh calls it after its own figures.
. "$(dirname "$0")/../tools/build-lib.sh"
. "$(dirname "$0")/common.sh"
root=$PWD

sizes=(${ACCESS_SIZES:-100000})
shapes=(${SHAPES:-usual heavy})
build=$root/build-bench
results=${RESULTS:-$root/bench/results}

vk_configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_BUILD_TESTS=OFF >/dev/null
vk_build "$build" vidarkon-patch-cli vidarkon-sample
cli=$build/app/cli/vidarkon-patch-cli
sample=$build/tools/sample/vidarkon-sample

work=$(mktemp -d "${TMPDIR:-/tmp}/vidarkon-bench-access.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$results"

faster() { awk -v t="$1" -v b="$2" 'BEGIN { exit !(b == "" || t < b) }'; }

data=$results/access.dat
echo "# shape films access_mib access_s access_kib sqlite_s sqlite_kib" >"$data"
for shape in "${shapes[@]}"; do
  set_shape_option "$shape"
  for n in "${sizes[@]}"; do
    echo "== $shape: $n films, $n loans, from Access and from the catalogue format" >&2
    rm -rf "$work/access" "$work/sqlite"
    mkdir -p "$work/access" "$work/sqlite"
    "$sample" "${shape_option[@]}" --access -n "$n" -m "$n" -s 1 "$work/access/katalog.mdb" >/dev/null
    "$sample" "${shape_option[@]}" -n "$n" -m "$n" -s 1 "$work/sqlite/katalog.mdb" >/dev/null
    access_mib=$(du -m "$work/access/katalog.mdb" | cut -f1)
    access_s="" access_kib=0 sqlite_s="" sqlite_kib=0
    for ((r = 0; r < 2; r++)); do
      run_once "$work/sqlite" "$cli"
      faster "$took" "$sqlite_s" && sqlite_s=$took
      ((kib > sqlite_kib)) && sqlite_kib=$kib
      expected=$(content_of "$work/run")
      run_once "$work/access" "$cli"
      faster "$took" "$access_s" && access_s=$took
      ((kib > access_kib)) && access_kib=$kib
      [ "$(content_of "$work/run")" = "$expected" ] ||
        { echo "The catalogue moved from Access differs from the upgraded one at $n $shape films." >&2; exit 1; }
      cmp -s "$work/access/katalog.mdb" "$work/run/katalog.mdb.oryginal-access" ||
        { echo "The Access original was not kept byte for byte at $n $shape films." >&2; exit 1; }
    done
    echo "$shape $n $access_mib $access_s $access_kib $sqlite_s $sqlite_kib" >>"$data"
  done
done

report=$results/access.md
{
  echo "# Catalogues moved from the Access format"
  echo
  echo "Made by \`bench/access.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores, load average when it"
  echo "ended: $(cut -d' ' -f1-3 /proc/loadavg). Wall-clock seconds of the runner on a fresh copy, the"
  echo "fastest of 2 rounds that alternate the two files; peak resident memory the highest."
  echo
  echo "| shape | films | Access file MiB | from Access s | catalogue format s | ratio (target 2) | peak MiB from Access (target under 64) |"
  echo "|---|---:|---:|---:|---:|---:|---:|"
  awk '!/^#/ {
    printf "| %s | %d | %d | %.2f | %.2f | %.2f %s | %.0f %s |\n", $1, $2, $3, $4, $6, $4 / $6,
      $4 / $6 <= 2 ? "met" : "NOT met", $5 / 1024, $5 / 1024 < 64 ? "met" : "NOT met"
  }' "$data"
} >"$report"
cat "$report"
