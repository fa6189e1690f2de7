#!/usr/bin/env bash
# The style check of tools/test.sh runs on a tree that is not a git checkout
# (a source archive) and on a machine without git: here a copy of the tree
# without .git and without build folders, with a git that cannot run.
#   style_without_git_test.sh SOURCE_TOP
set -euo pipefail
top=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tree" "$work/bin"
tar -C "$top" --exclude=./.git --exclude='./build*' --exclude=./demo -cf - . | tar -C "$work/tree" -xf -
printf '#!/bin/sh\necho "git: not installed" >&2\nexit 127\n' >"$work/bin/git"
chmod +x "$work/bin/git"
export PATH="$work/bin:$PATH"

listed=$(bash "$work/tree/tools/cpp-sources.sh")
for expected in app/main.cpp db/engine/connection_string.cpp tests/support/gui_test_main.cpp; do
  grep -qx "$expected" <<<"$listed" || { echo "FAIL: $expected not listed"; exit 1; }
done
bash "$work/tree/tools/check-style.sh"

# A misformatted file fails the check.
printf 'int  misformatted ;\n' >"$work/tree/app/misformatted.cpp"
if bash "$work/tree/tools/check-style.sh" >/dev/null 2>&1; then
  echo "FAIL: a misformatted file passed the style check"
  exit 1
fi
echo "ok: the style check needs no git and fails on a misformatted file"
