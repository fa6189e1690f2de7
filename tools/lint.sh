#!/usr/bin/env bash
# Runs clang-tidy, with the checks of .clang-tidy, over the C++ sources of db/,
# patch/, app/, ui/ and tools/, two files at a time, using the compile commands
# of a build folder (configured here if it is not yet).
#   tools/lint.sh [BUILD_DIR=build] [FINDINGS=BUILD_DIR/clang-tidy-findings.txt]
# Writes each finding once to FINDINGS and clang-tidy's whole output, with the
# analyzer's paths, to FINDINGS.log; prints their count by check, and exits
# with 1 when there is any. Exits with 2, naming the files, when clang-tidy
# crashed, failed or could not use the compile database on any file.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${1:-build}
findings=${2:-$build/clang-tidy-findings.txt}

[ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" -G Ninja
db=$build/compile_commands.json
[ -r "$db" ] || { echo "cannot read the compile database $db" >&2; exit 2; }
# Lint what is compiled, nothing else (a source no target uses has no flags).
mapfile -t sources < <(LC_ALL=C comm -12 \
  <(bash tools/cpp-sources.sh app db patch tools ui | grep '\.cpp$' | LC_ALL=C sort) \
  <(grep -o "\"file\": *\"$top/[^\"]*\"" "$db" |
    sed "s|.*\"$top/||; s|\"\$||" | LC_ALL=C sort -u))
[ "${#sources[@]}" -gt 0 ] || { echo "no sources of ours in $db" >&2; exit 2; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Only our own headers; -Wno-error: the build's -Werror would turn clang's own
# warnings into errors that stop a file's analysis. Each file's output, its
# messages and its exit status are kept apart: a run that crashed or could not
# read the compile database has found nothing, and must not read as clean.
printf '%s\n' "${sources[@]}" |
  xargs -P 2 -I{} sh -c 'f="$4/$(echo "$3" | tr / _)"
    clang-tidy --quiet -p "$1" --header-filter="^$2/(app|db|patch|tools|ui)/" \
      --extra-arg=-Wno-error "$2/$3" >"$f.txt" 2>"$f.err"
    echo "$?" >"$f.status"' \
    _ "$build" "$top" {} "$out"

# clang-tidy says it cannot use the compile database, yet goes on without flags
# (or skips the file) and exits 0: its messages tell.
unusable='^YAML:|compilation database|Compile command not found|Stack dump|PLEASE submit a bug report'
failed=()
for source in "${sources[@]}"; do
  f="$out/$(echo "$source" | tr / _)"
  status=$(cat "$f.status" 2>/dev/null || echo "none")
  if [ "$status" != 0 ] || grep -Eq "$unusable" "$f.err"; then
    failed+=("$source")
    echo "clang-tidy could not analyse $source (exit status $status):" >&2
    grep -Ev '^[0-9]+ warnings? generated\.$' "$f.err" | tail -n 20 >&2 || true
  fi
done
if [ "${#failed[@]}" -gt 0 ]; then
  echo "clang-tidy: ${#failed[@]} of ${#sources[@]} sources not analysed; no findings are reported for a partial run" >&2
  exit 2
fi

# A header's finding comes once per source that includes it: keep one. The
# analyzer may place a finding inside a library's header (a path that starts in
# our code and ends in Qt's inline code): not ours to fix, counted apart.
cat "$out"/*.txt | grep -E '^[^ ].*:[0-9]+:[0-9]+: (warning|error): .* \[[^]]+\]$' |
  sed "s|^$top/||" | LC_ALL=C sort -u >"$out/all" || true
grep -v '^/' "$out/all" >"$findings" || true
cat "$out"/*.txt >"$findings.log"
count=$(wc -l <"$findings")
elsewhere=$(grep -c '^/' "$out/all" || true)
echo "clang-tidy: ${#sources[@]} sources, $count findings (in $findings); $elsewhere more in libraries' headers"
sed -E 's/.*\[([^]]+)\]$/\1/' "$findings" | LC_ALL=C sort | uniq -c | LC_ALL=C sort -rn
[ "$count" -eq 0 ]
