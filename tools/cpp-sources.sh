#!/usr/bin/env bash
# Lists the tree's C++ sources and headers (*.cpp, *.h) relative to its top, one
# a line, sorted: those under the given top-level folders, or all of them. It
# walks the folders instead of asking git, so that it lists the same in a git
# checkout, in a source archive without .git and on a machine without git.
# Build folders (build*/, as .gitignore has them), demo/ and .git/ are left out.
#   tools/cpp-sources.sh [FOLDER...]
set -euo pipefail
cd "$(dirname "$0")/.."
find . \( -path './build*' -o -path ./demo -o -path ./.git \) -prune -o \
  -type f \( -name '*.cpp' -o -name '*.h' \) -print |
  sed 's|^\./||' | LC_ALL=C sort |
  { if [ "$#" -gt 0 ]; then grep -E "^($(IFS='|'; echo "$*"))/" || true; else cat; fi; }
