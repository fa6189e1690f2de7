#!/usr/bin/env bash
# The upgrade's speed and memory, side by side with the same upgrade written by
# hand in SQL for SQLite's shell, on the sample generator's usual films and on
# heavy ones (about 3 KB a film). Two SQL migrations: the direct one, as an
# expert writes it for speed (bench/migration-direct.sql: the upgraded file
# built straight into a new file, synced once, renamed over the old one), the
# main anchor; and the classic one (bench/migration.sql: rebuilt in place, then
# VACUUM). A plain copy of the file with its sync is the floor.
#   bench/run.sh                         1,000 to 500,000 films (as many loans), both shapes
#   SIZES="1000 10000" bench/run.sh      other sizes
#   SHAPES=heavy bench/run.sh            one shape ("usual", "heavy")
#   GUI_SIZES="10000" bench/run.sh       where the window's path is timed too (default 10,000 and 100,000)
#   RESULTS=/tmp/trial bench/run.sh      write the results elsewhere (default bench/results)
# Each size is measured in rounds that alternate the runner, the migrations,
# the copy and the window, so that a change in the machine's load hits all of them.
# Writes results.md, timings.dat and time_vs_size.png; then bench/access.sh
# (access.md, access.dat): the same upgrade of a catalogue moved from Access.
. "$(dirname "$0")/../tools/build-lib.sh"
. "$(dirname "$0")/common.sh"
root=$PWD

sizes=(${SIZES:-1000 10000 100000 500000})
shapes=(${SHAPES:-usual heavy})
gui_sizes=" ${GUI_SIZES:-10000 100000} "
build=$root/build-bench
results=${RESULTS:-$root/bench/results}

vk_configure "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_BUILD_TESTS=OFF >/dev/null
vk_build "$build" vidarkon-patch-cli vidarkon-sample vidarkon-bench-gui
cli=$build/app/cli/vidarkon-patch-cli
sample=$build/tools/sample/vidarkon-sample
gui=(env QT_QPA_PLATFORM=offscreen "$build/bench/vidarkon-bench-gui")

work=$(mktemp -d "${TMPDIR:-/tmp}/vidarkon-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$results"

# Keeps the fastest time and the highest peak of each path's runs.
declare -A best_s=() best_kib=()
keep() {
  local path=$1 seconds=$2 peak=$3
  if [ -z "${best_s[$path]:-}" ] || awk -v t="$seconds" -v b="${best_s[$path]}" 'BEGIN { exit !(t < b) }'; then
    best_s[$path]=$seconds
  fi
  [ "$peak" -gt "${best_kib[$path]:-0}" ] && best_kib[$path]=$peak
  return 0
}

# The SQL migrations and the copy as commands taking the folder last, as the runner does.
sql_migration=(bash -c 'sqlite3 -bail "$1/katalog.mdb" <"$0" >/dev/null' "$root/bench/migration.sql")
direct_migration=(bash "$root/bench/migration-direct.sh")
plain_copy=(bash -c 'cp "$0/katalog.mdb" "$0/kopia.mdb" && sync "$0/kopia.mdb"')

# The fixed cost of a run (process start, opening, commit, compaction and its
# syncs) on a catalogue without films or loans, so that the cost per row can be
# told apart from it.
mkdir -p "$work/source-0"
"$sample" -n 0 -m 0 -s 1 "$work/source-0/katalog.mdb" >/dev/null
fixed_s="" fixed_kib=0
for ((r = 0; r < 5; r++)); do
  run_once "$work/source-0" "$cli"
  if [ -z "$fixed_s" ] || awk -v t="$took" -v b="$fixed_s" 'BEGIN { exit !(t < b) }'; then fixed_s=$took; fi
  [ "$kib" -gt "$fixed_kib" ] && fixed_kib=$kib
done

data=$results/timings.dat
echo "# shape films rows runner_s sql_s gui_s runner_kib sql_kib gui_kib films_table_mib" \
  "direct_s copy_s direct_kib copy_kib (sql: the classic migration; gui: - when not run)" >"$data"
for shape in "${shapes[@]}"; do
  set_shape_option "$shape"
  for n in "${sizes[@]}"; do
    echo "== $shape: $n films, $n loans" >&2
    source=$work/source
    rm -rf "$source"
    mkdir -p "$source"
    "$sample" "${shape_option[@]}" -n "$n" -m "$n" -s 1 "$source/katalog.mdb" >/dev/null
    films_mib=$(sqlite3 "$source/katalog.mdb" \
      "SELECT printf('%.2f', sum(pgsize) / 1048576.0) FROM dbstat WHERE name = 'FILMY'")
    rounds=$( ((n <= 10000)) && echo 3 || { ((n <= 100000)) && echo 2 || echo 1; })
    with_gui=$([[ $gui_sizes == *" $n "* ]] && echo 1 || echo 0)
    best_s=() best_kib=()
    for ((r = 0; r < rounds; r++)); do
      run_once "$source" "$cli"
      keep runner "$took" "$kib"
      runner_digest=$(content_of "$work/run")
      run_once "$source" "${sql_migration[@]}"
      keep sql "$took" "$kib"
      if [ "$(content_of "$work/run")" != "$runner_digest" ]; then
        echo "The classic SQL migration's result differs from the runner's at $n $shape films." >&2
        exit 1
      fi
      run_once "$source" "${direct_migration[@]}"
      keep direct "$took" "$kib"
      if [ "$(content_of "$work/run")" != "$runner_digest" ]; then
        echo "The direct SQL migration's result differs from the runner's at $n $shape films." >&2
        exit 1
      fi
      run_once "$source" "${plain_copy[@]}"
      keep copy "$took" "$kib"
      if [ "$with_gui" = 1 ]; then
        run_once "$source" "${gui[@]}"
        # The window's own start and close are left out: from the Start press to the end.
        keep gui "$(grep -E '^[0-9.]+$' <<<"$out" | tail -n 1)" "$kib"
        [ "$(content_of "$work/run")" = "$runner_digest" ] ||
          { echo "The window's result differs from the runner's at $n $shape films." >&2; exit 1; }
      fi
    done
    echo "$shape $n $((2 * n)) ${best_s[runner]} ${best_s[sql]} ${best_s[gui]:--}" \
      "${best_kib[runner]} ${best_kib[sql]} ${best_kib[gui]:--} $films_mib" \
      "${best_s[direct]} ${best_s[copy]} ${best_kib[direct]} ${best_kib[copy]}" >>"$data"
  done
  rm -rf "$work/source" "$work/run"
done

# The table and the targets, from the collected figures.
report=$results/results.md
{
  echo "# Upgrade benchmark"
  echo
  echo "Made by \`bench/run.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores of" \
    "$(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(free -g | awk '/^Mem:/ {print $2}') GiB," \
    "Linux $(uname -r), SQLite $(sqlite3 --version | cut -d' ' -f1), RelWithDebInfo build;" \
    "load average when it ended: $(cut -d' ' -f1-3 /proc/loadavg)."
  echo "Rows are films + loans. Times are wall-clock seconds of the whole process on a fresh copy"
  echo "of the folder, the fastest of the rounds (3 up to 10,000 films, 2 up to 100,000, then 1),"
  echo "which alternate the paths; the window's time runs from the Start press to the end."
  echo "\"direct migration\": bench/migration-direct.sql, the upgraded file built straight into a new"
  echo "file, synced once and renamed over the old one (the main anchor); \"classic migration\":"
  echo "bench/migration.sql, rebuilt in place, then VACUUM; \"copy + sync\": cp of the file and its sync."
  echo
  echo "| shape | films | path | seconds | x direct | x classic | x runner | µs/row | µs/row net | peak MiB | peak / films table |"
  echo "|---|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|"
  # Figures made before the direct migration and the copy were measured have
  # no columns 11 to 14: their ratio to the direct one reads "-".
  awk -v fixed="$fixed_s" '
    !/^#/ {
      direct = NF >= 14 ? $11 : "-"
      line($1, "runner", $2, $3, $4, direct, $5, $4, $7, $10)
      if (direct != "-") line($1, "direct migration", $2, $3, $11, direct, $5, $4, $13, $10)
      line($1, "classic migration", $2, $3, $5, direct, $5, $4, $8, $10)
      if (direct != "-") line($1, "copy + sync", $2, $3, $12, direct, $5, $4, $14, $10)
      if ($6 != "-") line($1, "window", $2, $3, $6, direct, $5, $4, $9, $10)
    }
    function line(shape, path, n, rows, s, ds, cs, rs, kib, fm,   mib) {
      mib = kib / 1024
      printf "| %s | %d | %s | %.2f | %s | %.2f | %.2f | %.1f | %.1f | %.0f | %.2f |\n",
        shape, n, path, s, ds == "-" ? "-" : sprintf("%.2f", s / ds), s / cs, s / rs, s / rows * 1e6,
        (s - fixed) / rows * 1e6, mib, mib / fm
    }' "$data"
  echo
  echo "\"µs/row net\" leaves out the runner's fixed cost of $fixed_s s, measured on a catalogue"
  echo "without films or loans (fastest of 5 runs); that run's peak is $((fixed_kib / 1024)) MiB."
  echo
  echo "## Targets"
  echo
  awk -v fixed="$fixed_s" '
    !/^#/ {
      n = $2; ratio = $4 / $5
      if ((n == 10000 || n == 100000 || n == 500000) && NF >= 14) {
        goal = n == 10000 ? 1.0 : 0.9
        printf "- %s, %d films: runner / direct SQL migration %.2f (target %.1f): %s\n", $1, n, $4 / $11, goal,
          $4 / $11 <= goal ? "met" : "NOT met"
        printf "- %s, %d films: runner / classic SQL migration %.2f\n", $1, n, ratio
      }
      printf "- %s, %d films: runner peak %.0f MiB (target at most 32): %s\n", $1, n, $7 / 1024,
        $7 / 1024 <= 32 ? "met" : "NOT met"
      if ($6 != "-")
        printf "- %s, %d films: window / runner %.2f (target 1.05): %s\n", $1, n, $6 / $4,
          $6 / $4 <= 1.05 ? "met" : "NOT met"
      per = ($4 - fixed) / $3
      if (!($1 in lo) || per < lo[$1]) { lo[$1] = per; lo_n[$1] = n }
      if (!($1 in hi) || per > hi[$1]) { hi[$1] = per; hi_n[$1] = n }
    }
    END {
      for (shape in lo) {
        mid = (lo[shape] + hi[shape]) / 2
        spread = (hi[shape] - lo[shape]) / 2 / mid
        printf "- %s: runner µs/row net of the fixed cost from %.1f (%d films) to %.1f (%d films), ±%.0f %% (target ±20 %%): %s\n",
          shape, lo[shape] * 1e6, lo_n[shape], hi[shape] * 1e6, hi_n[shape], spread * 100, spread <= 0.2 ? "met" : "NOT met"
      }
    }' "$data"
} >"$report"

gnuplot <<EOF
set terminal pngcairo size 1400,600 noenhanced font "DejaVu Sans,11"
set output "$results/time_vs_size.png"
set multiplot layout 1,2 title "Upgrade of catalogues of 1,000 to 500,000 films (with as many loans)"
set xlabel "films in the catalogue"
set logscale x
set grid
set key top left
set format x "%.0f"
set datafile missing "-"
usual = "< grep '^usual ' $data"
heavy = "< grep '^heavy ' $data"
set title "Time"
set ylabel "seconds (wall clock)"
set logscale y
plot usual using 2:4 with linespoints lw 2 lc 1 pt 7 title "runner, usual films", \
     heavy using 2:4 with linespoints lw 2 lc 1 pt 5 dt 2 title "runner, heavy films", \
     usual using 2:11 with linespoints lw 2 lc 4 pt 7 title "direct migration, usual", \
     heavy using 2:11 with linespoints lw 2 lc 4 pt 5 dt 2 title "direct migration, heavy", \
     usual using 2:5 with linespoints lw 2 lc 2 pt 7 title "classic migration, usual", \
     heavy using 2:5 with linespoints lw 2 lc 2 pt 5 dt 2 title "classic migration, heavy", \
     usual using 2:12 with linespoints lw 2 lc 7 pt 7 title "copy + sync, usual", \
     heavy using 2:12 with linespoints lw 2 lc 7 pt 5 dt 2 title "copy + sync, heavy", \
     usual using 2:6 with linespoints lw 2 lc 3 pt 7 title "window, usual", \
     heavy using 2:6 with linespoints lw 2 lc 3 pt 5 dt 2 title "window, heavy"
set title "Peak memory"
set ylabel "peak resident memory, MiB"
unset logscale y
set yrange [0:*]
plot usual using 2:(\$7/1024) with linespoints lw 2 lc 1 pt 7 title "runner, usual films", \
     heavy using 2:(\$7/1024) with linespoints lw 2 lc 1 pt 5 dt 2 title "runner, heavy films", \
     usual using 2:(\$13/1024) with linespoints lw 2 lc 4 pt 7 title "direct migration, usual", \
     heavy using 2:(\$13/1024) with linespoints lw 2 lc 4 pt 5 dt 2 title "direct migration, heavy", \
     usual using 2:(\$8/1024) with linespoints lw 2 lc 2 pt 7 title "classic migration, usual", \
     heavy using 2:(\$8/1024) with linespoints lw 2 lc 2 pt 5 dt 2 title "classic migration, heavy", \
     usual using 2:(\$14/1024) with linespoints lw 2 lc 7 pt 7 title "copy + sync, usual", \
     heavy using 2:(\$14/1024) with linespoints lw 2 lc 7 pt 5 dt 2 title "copy + sync, heavy", \
     usual using 2:(\$9/1024) with linespoints lw 2 lc 3 pt 7 title "window, usual", \
     heavy using 2:(\$9/1024) with linespoints lw 2 lc 3 pt 5 dt 2 title "window, heavy"
unset multiplot
EOF

cat "$report"
echo >&2
echo "Written: $report, $data, $results/time_vs_size.png" >&2

# Catalogues moved from the Access format, against the same ones in the catalogue format.
RESULTS=$results bash "$root/bench/access.sh"
