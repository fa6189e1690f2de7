#!/usr/bin/env bash
# Installs everything the build, the tests, the demo, the package and the
# scripts of tools/, bench/, fuzz/ and .ci/ call on Debian 12, beyond its
# essential packages (coreutils, findutils, grep, sed, mawk, util-linux, dpkg).
# No script needs git: a source archive without .git builds and tests alike.
# Used by README, .ci/run and newcomers alike; run as root (or it uses sudo).
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libsqlite3-dev sqlite3
  # reading Access catalogues (libmdb), and mdb-export for the tests
  mdbtools-dev mdbtools
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libgl-dev
  qt6-translations-l10n
  xvfb xauth
  # the accessibility bus and a client of it, for the screen reader's view of the window
  dbus at-spi2-core python3-dbus
  # a window manager that frames windows, for the window tests on a real X server
  jwm
  binutils-mingw-w64-x86-64
  fonts-dejavu-core
  # benchmarks and fuzzing (bench/run.sh, fuzz/run.sh); procps for free; gdb
  # notes the time at the runner's steps (bench/phases.sh)
  gnuplot-nox time procps clang libclang-rt-14-dev gdb
  # code style and lint (tools/check-style.sh, tools/lint.sh)
  clang-format clang-tidy
  # the Debian package and its checks (tools/package.sh, tests/package/)
  dpkg-dev file man-db lintian desktop-file-utils appstream
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  as_root apt-get update -qq
  as_root apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
