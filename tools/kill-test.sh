#!/usr/bin/env bash
# Kills vidarkon-patch-cli with SIGKILL at seeded random moments over a folder of
# sample catalogues and checks every file after each kill (the long version of
# the KillTest case of reliability_test).
#   tools/kill-test.sh [KILLS=50] [SEED=1] [FILMS=3000]
# Builds in $VK_BUILD_DIR (default: build) with the plain optimised configuration.
. "$(dirname "$0")/build-lib.sh"

build=${VK_BUILD_DIR:-build}
vk_configure_once "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
vk_build "$build" vidarkon-patch-cli vidarkon-kill-test
"$build/tests/reliability/vidarkon-kill-test" "$build/app/cli/vidarkon-patch-cli" "${1:-50}" "${2:-1}" "${3:-3000}"
