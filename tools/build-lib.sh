# shellcheck shell=bash
# The build preamble that the scripts of tools/, bench/ and fuzz/ share; each
# sources it first:  . "$(dirname "$0")/../tools/build-lib.sh"
# It stops on the first failure, moves to the top of the tree and sets up the
# machine (tools/install-deps.sh, the one list of packages).
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash tools/install-deps.sh

# vk_configure DIR [CMAKE OPTION...]: configures the build folder DIR with Ninja.
vk_configure() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja "$@"
}

# vk_configure_once DIR [CMAKE OPTION...]: configures DIR unless it already is,
# so that a folder someone configured by hand keeps its options.
vk_configure_once() {
  [ -f "$1/build.ninja" ] || vk_configure "$@"
}

# vk_build DIR [TARGET...]: builds the given targets in DIR, or all of them.
vk_build() {
  local dir=$1
  shift
  if [ "$#" -gt 0 ]; then
    cmake --build "$dir" --target "$@"
  else
    cmake --build "$dir"
  fi
}
