#!/usr/bin/env bash
# Runs clang-tidy, with the checks of .clang-tidy, over the C++ sources of db/,
# patch/, app/, ui/ and tools/, two files at a time, using the compile commands
# of a build folder (configured here if it is not yet).
#   tools/lint.sh [BUILD_DIR=build] [FINDINGS=BUILD_DIR/clang-tidy-findings.txt]
# Writes each finding once to FINDINGS and clang-tidy's whole output, with the
# analyzer's paths, to FINDINGS.log; prints their count by check, and exits
# with 1 when there is any.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$PWD
build=${1:-build}
findings=${2:-$build/clang-tidy-findings.txt}

[ -f "$build/compile_commands.json" ] || cmake -S . -B "$build" -G Ninja
# Lint what is compiled, nothing else (a source no target uses has no flags).
mapfile -t sources < <(LC_ALL=C comm -12 \
  <(git ls-files 'app/*.cpp' 'db/*.cpp' 'patch/*.cpp' 'tools/*.cpp' 'ui/*.cpp' | LC_ALL=C sort) \
  <(grep -o "\"file\": *\"$top/[^\"]*\"" "$build/compile_commands.json" |
    sed "s|.*\"$top/||; s|\"\$||" | LC_ALL=C sort -u))
[ "${#sources[@]}" -gt 0 ] || { echo "no sources of ours in $build/compile_commands.json" >&2; exit 2; }

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
# Only our own headers; -Wno-error: the build's -Werror would turn clang's own
# warnings into errors that stop a file's analysis.
printf '%s\n' "${sources[@]}" |
  xargs -P 2 -I{} sh -c 'clang-tidy --quiet -p "$1" --header-filter="^$2/(app|db|patch|tools|ui)/" \
    --extra-arg=-Wno-error "$2/$3" > "$4/$(echo "$3" | tr / _).txt" 2>/dev/null || true' \
    _ "$build" "$top" {} "$out"

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
