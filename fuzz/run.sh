#!/usr/bin/env bash
# Builds the libFuzzer targets (CMake option VK_FUZZ, clang) into build-fuzz/
# and runs each for a bounded time.
#   bash fuzz/run.sh [seconds per target, default 60] [target...]
# A crash leaves its input in build-fuzz/artifacts/<target>/ and ends the script
# with a non-zero status. Corpus growth stays in build-fuzz/; the committed seed
# corpus in fuzz/corpus/ is only read. The access target's seeds are Access
# files the sample writer makes, written to build-fuzz/seed/access/ each run.
. "$(dirname "$0")/../tools/build-lib.sh"

seconds="${1:-60}"
shift || true
out="$PWD/build-fuzz"
vk_configure "$out" -DCMAKE_BUILD_TYPE=Debug -DVK_FUZZ=ON -DVK_BUILD_TESTS=OFF \
  -DCMAKE_CXX_COMPILER="${CXX_FUZZ:-clang++}" -DCMAKE_C_COMPILER="${CC_FUZZ:-clang}"
vk_build "$out" fuzzers

fuzzers=("$out"/fuzz/*_fuzzer)
if (($# > 0)); then
  fuzzers=()
  for target in "$@"; do fuzzers+=("$out/fuzz/${target}_fuzzer"); done
fi

status=0
for fuzzer in "${fuzzers[@]}"; do
  target=$(basename "$fuzzer" _fuzzer)
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [[ -d "$PWD/fuzz/corpus/$target" ]] && seeds+=("$PWD/fuzz/corpus/$target")
  if [[ "$target" == access ]]; then
    mkdir -p "$out/seed/access"
    "$out/fuzz/access_seeds" "$out/seed/access"
    seeds+=("$out/seed/access")
  fi
  echo "== running ${target}_fuzzer for ${seconds} s"
  if ! UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$corpus" "${seeds[@]}" 2>"$out/$target.log"; then
    echo "!! ${target}_fuzzer found a failure: see $out/$target.log and $artifacts/"
    tail -n 40 "$out/$target.log"
    status=1
  else
    grep -E '^stat::number_of_executed_runs|^cov:|#[0-9]+.*DONE' "$out/$target.log" | tail -n 2 || true
  fi
done
exit "$status"
