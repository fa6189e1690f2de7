#!/usr/bin/env bash
# Checks that every C++ file of the tree is formatted as .clang-format says;
# fails, naming the files and lines, when one is not. Needs no git.
#   tools/check-style.sh
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(bash tools/cpp-sources.sh)
[ "${#files[@]}" -gt 0 ] || { echo "no C++ files found under $PWD" >&2; exit 2; }
printf '%s\n' "${files[@]}" | xargs -d '\n' clang-format --dry-run --Werror
echo "clang-format: ${#files[@]} files formatted as .clang-format says"
