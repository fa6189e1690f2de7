#!/usr/bin/env bash
# tools/lint.sh must fail, not report "0 findings", when clang-tidy cannot
# analyse: when it crashes, and when the compile database cannot be read.
#   lint_failure_test.sh SOURCE_TOP
set -uo pipefail
top=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0

# Runs lint.sh on a build folder of its own; passes when it fails with 2.
expect_failure() {
  local what=$1; shift
  "$@" bash "$top/tools/lint.sh" "$work/build" "$work/findings.txt" >"$work/out" 2>&1
  local code=$?
  if [ "$code" -ne 2 ]; then
    echo "FAIL: $what: lint.sh exited with $code, not 2"; cat "$work/out"; status=1
  elif grep -q ' 0 findings' "$work/out"; then
    echo "FAIL: $what: lint.sh still reported 0 findings"; cat "$work/out"; status=1
  else
    echo "ok: $what"
  fi
}

mkdir -p "$work/build" "$work/bin"
entry="{\"directory\": \"$work/build\", \"file\": \"$top/app/main.cpp\", \"command\": \"c++ -c $top/app/main.cpp\"}"

# A clang-tidy that dies of a signal, as a crashing one does.
printf '#!/bin/sh\nkill -SEGV $$\n' >"$work/bin/clang-tidy"
chmod +x "$work/bin/clang-tidy"
echo "[$entry]" >"$work/build/compile_commands.json"
expect_failure "clang-tidy crashes" env PATH="$work/bin:$PATH"

# A compile database cut short: clang-tidy goes on without flags and exits 0.
if command -v clang-tidy >/dev/null; then
  echo "[$entry" >"$work/build/compile_commands.json"
  expect_failure "the compile database is cut short" env
else
  echo "skipped: the cut-short compile database (no clang-tidy)"
fi

# A compile database that cannot be read (not for root, who reads anything).
if [ "$(id -u)" -ne 0 ]; then
  echo "[$entry]" >"$work/build/compile_commands.json"
  chmod 000 "$work/build/compile_commands.json"
  expect_failure "the compile database cannot be read" env
fi
exit "$status"
