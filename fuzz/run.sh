#!/usr/bin/env bash
# Builds the libFuzzer targets into build-fuzz/ and runs each for a bounded time.
#   bash fuzz/run.sh [seconds per target, default 60] [target...]
# A crash leaves its input in build-fuzz/artifacts/<target>/ and ends the script
# with a non-zero status. Corpus growth stays in build-fuzz/; the committed seed
# corpus in fuzz/corpus/ is only read. The access target's seeds are Access
# files the sample writer makes, written to build-fuzz/seed/access/ each run.
set -euo pipefail

seconds="${1:-60}"
shift || true
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
out="$root/build-fuzz"
cxx="${CXX_FUZZ:-clang++}"
launcher=()
if command -v ccache >/dev/null; then launcher=(ccache); fi
flags=(-std=c++20 -Wall -Wextra -Wpedantic -g -O1 -fno-omit-frame-pointer -fsanitize=fuzzer,address,undefined
       -fno-sanitize-recover=undefined -I"$root")

# Source files (globs allowed), relative to the repository.
declare -A sources=(
  [version_info]="app/utils/version_info.cpp app/utils/elf_section.cpp app/utils/image_bytes.cpp
                  app/utils/pe_version_resource.cpp app/utils/version_block.cpp"
  [connection_string]="db/engine/connection_string.cpp"
  [split_field_list]="db/TovaskADODB/split_field_list.cpp"
  [access]="db/access/*.cpp db/engine/*.cpp db/TovaskADODB/*.cpp"
)
declare -A cflags=([access]="$(pkg-config --cflags libmdb 2>/dev/null || true)")
declare -A libs=([access]="-lsqlite3 $(pkg-config --libs libmdb 2>/dev/null || true)")
targets=(version_info connection_string split_field_list access)
if (($# > 0)); then targets=("$@"); fi

# Each source compiled on its own (through ccache when there is one), so
# that a second run rebuilds only what changed.
build() {
  local target="$1" objects=() source object
  local files=("$root/fuzz/${target}_fuzzer.cpp")
  for pattern in ${sources[$target]}; do
    for source in "$root"/$pattern; do files+=("$source"); done
  done
  mkdir -p "$out/obj/$target"
  for source in "${files[@]}"; do
    object="$out/obj/$target/$(echo "${source#"$root"/}" | tr / _).o"
    # shellcheck disable=SC2086
    "${launcher[@]}" "$cxx" "${flags[@]}" ${cflags[$target]:-} -c "$source" -o "$object"
    objects+=("$object")
  done
  # shellcheck disable=SC2086
  "$cxx" "${flags[@]}" "${objects[@]}" ${libs[$target]:-} -o "$out/${target}_fuzzer"
}

seed_access() {
  local seeds="$out/seed/access"
  mkdir -p "$seeds"
  "${launcher[@]}" "$cxx" -std=c++20 -O1 -I"$root" "$root/fuzz/access_seeds.cpp" "$root"/tools/sample/access/*.cpp \
    -o "$out/access_seeds"
  "$out/access_seeds" "$seeds"
}

mkdir -p "$out"
for target in "${targets[@]}"; do
  echo "== building ${target}_fuzzer"
  build "$target"
done

status=0
for target in "${targets[@]}"; do
  corpus="$out/corpus/$target"
  artifacts="$out/artifacts/$target"
  mkdir -p "$corpus" "$artifacts"
  seeds=()
  [[ -d "$root/fuzz/corpus/$target" ]] && seeds+=("$root/fuzz/corpus/$target")
  if [[ "$target" == access ]]; then
    seed_access
    seeds+=("$out/seed/access")
  fi
  echo "== running ${target}_fuzzer for ${seconds} s"
  if ! UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
      "$out/${target}_fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
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
