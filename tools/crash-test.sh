#!/usr/bin/env bash
# Power cuts at every moment of an upgrade: records vidarkon-patch-cli upgrading a
# folder of sample catalogues and checks every state a cut can leave on the disk
# (the long version of the CrashStates case of crash_test; docs/crash-states.md).
# Then builds the states again as if the compaction had not synced its copy (any
# of its syncs, or only its own last one), or the folder after the rename, and
# fails unless each of those is caught, as the ctest case does.
#   tools/crash-test.sh [FILMS=300] [BIG_FILMS=1000]
# Builds in $VK_BUILD_DIR (default: build) with the plain optimised configuration.
. "$(dirname "$0")/build-lib.sh"

build=${VK_BUILD_DIR:-build}
vk_configure_once "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
vk_build "$build" vidarkon-patch-cli vidarkon-crash-test vk_io_recorder

"$build/tests/reliability/crash/vidarkon-crash-test" "$build/app/cli/vidarkon-patch-cli" \
  "$build/tests/reliability/crash/libvk_io_recorder.so" \
  --films "${1:-300}" --big-films "${2:-1000}" --thorough --mutations
