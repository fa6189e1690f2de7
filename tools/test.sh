#!/usr/bin/env bash
# Sets up the machine, checks the code style, builds, runs clang-tidy, and runs
# every test twice: a plain optimised build, then a build under
# AddressSanitizer and UndefinedBehaviorSanitizer.
#   tools/test.sh           what CI runs
#   tools/test.sh --quick   the plain build only
. "$(dirname "$0")/build-lib.sh"

# The code style is checked before anything is built: a misformatted change fails fast.
bash tools/check-style.sh

build_and_test() {
  local dir=$1; shift
  vk_configure "$dir" -DVK_WERROR=ON "$@"
  vk_build "$dir"
  ctest --test-dir "$dir" --output-on-failure -j2
}

build_and_test build -DCMAKE_BUILD_TYPE=RelWithDebInfo
# clang-tidy's fault-finding checks, with the plain build's compile commands.
bash tools/lint.sh build
if [ "${1:-}" != "--quick" ]; then
  build_and_test build-asan -DCMAKE_BUILD_TYPE=Debug -DVK_SANITIZE=ON
fi
