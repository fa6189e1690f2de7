#!/usr/bin/env bash
# The upgrade's speed and memory, side by side with the same upgrade written by
# hand as one set-based SQL migration (bench/migration.sql) in SQLite's shell.
#   bench/run.sh                  1,000, 10,000 and 100,000 films (as many loans)
#   SIZES="1000 10000" bench/run.sh   other sizes (the GUI runs on 10,000 if listed)
# Writes bench/results/results.md, timings.dat and time_vs_size.png.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

sizes=(${SIZES:-1000 10000 100000})
gui_size=10000
build=$root/build-bench
results=$root/bench/results

bash tools/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target vidarkon-patch-cli vidarkon-sample vidarkon-bench-gui
cli=$build/tools/vidarkon-patch-cli
sample=$build/tools/vidarkon-sample
gui=$build/bench/vidarkon-bench-gui

work=$(mktemp -d "${TMPDIR:-/tmp}/vidarkon-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir -p "$results"

# Runs a command on a fresh copy of a source folder; sets seconds and peak_kib.
# Small catalogues run three times and keep the fastest run.
measure() {
  local source=$1 runs=$2; shift 2
  local best="" best_kib=0
  for ((r = 0; r < runs; r++)); do
    rm -rf "$work/run"
    cp -r "$source" "$work/run"
    sync
    local start=$EPOCHREALTIME
    /usr/bin/time -f %M -o "$work/peak" "$@" "$work/run" >"$work/out" 2>&1 ||
      { cat "$work/out" >&2; echo "failed: $*" >&2; exit 1; }
    local end=$EPOCHREALTIME
    local took kib
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }')
    kib=$(tail -n 1 "$work/peak")
    if [ -z "$best" ] || awk -v t="$took" -v b="$best" 'BEGIN { exit !(t < b) }'; then
      best=$took
      cp "$work/out" "$work/best-out"
    fi
    [ "$kib" -gt "$best_kib" ] && best_kib=$kib
  done
  seconds=$best
  peak_kib=$best_kib
}

# The SQL migration as one command taking the folder last, as the runner does.
sql_migration=(bash -c 'sqlite3 -bail "$1/katalog.mdb" <"$0" >/dev/null' "$root/bench/migration.sql")

# The rows and the structure of the upgraded tables, types shown, for comparing results.
content_of() {
  sqlite3 "$1/katalog.mdb" ".mode quote" \
    "SELECT * FROM FILMY ORDER BY rowid" "SELECT * FROM WYPOZYCZ ORDER BY rowid" \
    "SELECT * FROM pragma_table_info('FILMY')" "SELECT * FROM pragma_table_info('WYPOZYCZ')" \
    "SELECT name FROM sqlite_schema WHERE type = 'index' ORDER BY name" \
    "SELECT * FROM MSysFields ORDER BY 1, 2" "SELECT * FROM MSysIndexes ORDER BY 1, 2"
}

# The fixed cost of a run (process start, opening, commit, compaction and its
# syncs) on a catalogue without films or loans, so that the cost per row can be
# told apart from it.
mkdir -p "$work/source-0"
"$sample" -n 0 -m 0 -s 1 "$work/source-0/katalog.mdb" >/dev/null
measure "$work/source-0" 5 "$cli"
fixed_s=$seconds fixed_kib=$peak_kib

data=$results/timings.dat
echo "# films rows runner_s sql_s runner_kib sql_kib films_table_mib" >"$data"
declare -A gui_row
for n in "${sizes[@]}"; do
  echo "== $n films, $n loans" >&2
  source=$work/source-$n
  mkdir -p "$source"
  "$sample" -n "$n" -m "$n" -s 1 "$source/katalog.mdb" >/dev/null
  films_mib=$(sqlite3 "$source/katalog.mdb" \
    "SELECT printf('%.2f', sum(pgsize) / 1048576.0) FROM dbstat WHERE name = 'FILMY'")
  runs=$([ "$n" -le 10000 ] && echo 3 || echo 1)

  measure "$source" "$runs" "$cli"
  runner_s=$seconds runner_kib=$peak_kib
  content_of "$work/run" >"$work/runner.txt"

  measure "$source" "$runs" "${sql_migration[@]}"
  sql_s=$seconds sql_kib=$peak_kib
  content_of "$work/run" >"$work/sql.txt"
  if ! cmp -s "$work/runner.txt" "$work/sql.txt"; then
    echo "The SQL migration's result differs from the runner's at $n films:" >&2
    diff "$work/runner.txt" "$work/sql.txt" | head -20 >&2
    exit 1
  fi

  if [ "$n" -eq "$gui_size" ]; then
    measure "$source" "$runs" env QT_QPA_PLATFORM=offscreen "$gui"
    content_of "$work/run" >"$work/gui.txt"
    cmp -s "$work/runner.txt" "$work/gui.txt" || { echo "The GUI's result differs from the runner's" >&2; exit 1; }
    gui_row[s]=$seconds gui_row[kib]=$peak_kib gui_row[inner]=$(grep -E '^[0-9.]+$' "$work/best-out" | tail -n 1)
  fi
  echo "$n $((2 * n)) $runner_s $sql_s $runner_kib $sql_kib $films_mib" >>"$data"
done

# The table, from the collected figures.
report=$results/results.md
{
  echo "# Upgrade benchmark"
  echo
  echo "Made by \`bench/run.sh\` on $(date -u '+%Y-%m-%d %H:%M UTC'); $(nproc) cores of" \
    "$(lscpu | sed -n 's/^Model name: *//p' | head -n 1), $(free -g | awk '/^Mem:/ {print $2}') GiB," \
    "Linux $(uname -r), SQLite $(sqlite3 --version | cut -d' ' -f1), RelWithDebInfo build."
  echo "Rows are films + loans. Times are wall-clock seconds of the whole process on a fresh"
  echo "copy of the folder (fastest of 3 runs up to 10,000 films, one run above)."
  echo
  echo "| films | path | seconds | rows/s | x SQL | µs/row | µs/row net | peak MiB | MiB/1000 films | peak / films table |"
  echo "|---:|---|---:|---:|---:|---:|---:|---:|---:|---:|"
  awk -v fixed="$fixed_s" -v gui_s="${gui_row[s]:-}" -v gui_kib="${gui_row[kib]:-}" -v gui_n="$gui_size" '
    !/^#/ {
      n = $1; rows = $2; rs = $3; ss = $4; rk = $5; sk = $6; fm = $7
      line("runner", n, rows, rs, ss, rk, fm)
      line("SQL migration", n, rows, ss, ss, sk, fm)
      if (n == gui_n && gui_s != "") line("GUI (offscreen)", n, rows, gui_s, ss, gui_kib, fm)
    }
    function line(path, n, rows, s, ss, kib, fm,   mib) {
      mib = kib / 1024
      printf "| %d | %s | %.2f | %.0f | %.2f | %.1f | %.1f | %.0f | %.1f | %.2f |\n",
        n, path, s, rows / s, s / ss, s / rows * 1e6, (s - fixed) / rows * 1e6, mib, mib / (n / 1000), mib / fm
    }' "$data"
  echo
  if [ -n "${gui_row[s]:-}" ]; then
    echo "GUI at $gui_size films: $(printf '%.2f' "${gui_row[inner]}") s from the Start click to the end" \
      "(the rest of its ${gui_row[s]} s is the window's start and close)."
    echo
  fi
  echo "\"µs/row net\" leaves out the runner's fixed cost of $fixed_s s, measured on a catalogue"
  echo "without films or loans (fastest of 5 runs); that run's peak is $((fixed_kib / 1024)) MiB (program, libraries, Qt)."
  echo
  echo "Targets: runner within 1.5 x of the SQL migration at the largest size; GUI within 1.3 x"
  echo "of the runner; µs/row flat within ±25 %; peak memory under 2 x the films table (its"
  echo "pages in the source file, column \"peak / films table\" below 2)."
  echo
  awk -v fixed="$fixed_s" -v gui_s="${gui_row[s]:-}" -v gui_n="$gui_size" '
    !/^#/ { n[++k] = $1; per[k] = ($3 - fixed) / $2; ratio[k] = $3 / $4; mem[k] = $5 / 1024 / $7; if ($1 == gui_n) runner = $3 }
    END {
      lo = hi = per[1]
      for (i = 2; i <= k; i++) { if (per[i] < lo) lo = per[i]; if (per[i] > hi) hi = per[i] }
      mid = (lo + hi) / 2
      printf "- runner / SQL at %d films: %.2f (target 1.5): %s\n", n[k], ratio[k], ratio[k] <= 1.5 ? "met" : "NOT met"
      if (gui_s != "" && runner > 0)
        printf "- GUI / runner at %d films: %.2f (target 1.3): %s\n", gui_n, gui_s / runner, gui_s / runner <= 1.3 ? "met" : "NOT met"
      printf "- runner µs/row net of the fixed cost from %.1f to %.1f, ±%.0f %% around the middle (target ±25 %%): %s\n",
        lo * 1e6, hi * 1e6, (hi - lo) / 2 / mid * 100, (hi - lo) / 2 / mid <= 0.25 ? "met" : "NOT met"
      worst = 0; for (i = 1; i <= k; i++) if (mem[i] > worst) worst = mem[i]
      printf "- runner peak / films table: up to %.2f (target 2): %s\n", worst, worst < 2 ? "met" : "NOT met"
    }' "$data"
} >"$report"

gnuplot <<EOF
set terminal pngcairo size 900,600 noenhanced font "DejaVu Sans,11"
set output "$results/time_vs_size.png"
set title "Upgrade time against catalogue size (films, with as many loans)"
set xlabel "films in the catalogue"
set ylabel "seconds (wall clock)"
set logscale xy
set grid
set key top left
set format x "%.0f"
plot "$data" using 1:3 with linespoints lw 2 pt 7 title "vidarkon-patch-cli (runner)", \
     "$data" using 1:4 with linespoints lw 2 pt 5 title "SQL migration in sqlite3 (floor)"
EOF

cat "$report"
echo >&2
echo "Written: $report, $data, $results/time_vs_size.png" >&2
