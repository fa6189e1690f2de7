#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ and runs each for a bounded time.
#   bash fuzz/run.sh [seconds per target, default 60]
# A crash leaves its input in build-fuzz/artifacts/<target>/ and ends the script
# with a non-zero status. Corpus growth stays in build-fuzz/; the committed seed
# corpus in fuzz/corpus/ is only read.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-fuzz"
cxx="${CXX_FUZZ:-clang++}"
flags=(-std=c++20 -Wall -Wextra -Wpedantic -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root")

declare -A sources=(
  [version_info]="app/files/version_info.cpp app/files/elf_section.cpp app/files/image_bytes.cpp
                  app/files/pe_version_resource.cpp app/files/version_block.cpp"
  [connection_string]="db/engine/connection_string.cpp"
  [split_field_list]="db/TovaskADODB/split_field_list.cpp"
  [catalogue]="$(cd "$root" && echo db/engine/*.cpp db/TovaskADODB/*.cpp patch/*.cpp)"
)
declare -A libs=([catalogue]="-lsqlite3")
targets=(version_info connection_string split_field_list catalogue)

mkdir -p "$out"
for target in "${targets[@]}"; do
  files=("$root/fuzz/${target}_fuzzer.cpp")
  for source in ${sources[$target]}; do files+=("$root/$source"); done
  echo "== building ${target}_fuzzer"
  # shellcheck disable=SC2086
  "$cxx" "${flags[@]}" "${files[@]}" -o "$out/${target}_fuzzer" ${libs[$target]:-}
done

status=0
for target in "${targets[@]}"; do
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  echo "== running ${target}_fuzzer for ${seconds} s"
  if ! UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$out/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -max_len=65536 -print_final_stats=1 -artifact_prefix="$artifacts/" \
      "$corpus" "$root/fuzz/corpus/$target" 2>"$out/$target.log"; then
    echo "!! ${target}_fuzzer found a failure: see $out/$target.log and $artifacts/"
    tail -n 40 "$out/$target.log"
    status=1
  else
    grep -E '^stat::number_of_executed_runs|^cov:|#[0-9]+.*DONE' "$out/$target.log" | tail -n 2 || true
  fi
done
exit "$status"
