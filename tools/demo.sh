#!/usr/bin/env bash
# Sets up the machine, builds the program, and starts it in a demo folder.
# Without a display it renders the windows into demo/screens/ instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash tools/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build

demo=demo
mkdir -p "$demo"
cp build/app/vidarkon-patch "$demo/"

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting $demo/vidarkon-patch ..."
  (cd "$demo" && ./vidarkon-patch)
else
  mkdir -p "$demo/screens"
  QT_QPA_PLATFORM=offscreen build/tools/render-main-window "$demo/screens"
  QT_QPA_PLATFORM=offscreen build/tools/render-message-windows "$demo/screens"
  echo "No display: pictures of the windows are in $demo/screens/"
fi

echo "Files in $demo:"
ls -l "$demo"
