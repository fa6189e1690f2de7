#!/usr/bin/env bash
# Sets up the machine, builds the tool, makes a demo folder with one sample
# catalogue of each interesting level and one Access catalogue, and upgrades
# it: with the window when a display is available, else with the command-line
# runner. Then it shows what happened to each file.
. "$(dirname "$0")/build-lib.sh"
vk_configure build -DCMAKE_BUILD_TYPE=RelWithDebInfo
vk_build build vidarkon-patch vidarkon-patch-cli vidarkon-sample

demo=demo
rm -rf "$demo"
mkdir -p "$demo"
build/tools/sample/vidarkon-sample --all "$demo" --force -n 300 -m 120
# One catalogue as the original program wrote it: an Access file.
build/tools/sample/vidarkon-sample --access --level ready-yesno --force -n 300 -m 120 "$demo/access-ready-yesno.mdb"
cp build/app/vidarkon-patch "$demo/"

echo
echo "Before the upgrade:"
build/app/cli/vidarkon-patch-cli --check "$demo" || true
echo

if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting $demo/vidarkon-patch: press Start in its window."
  "$demo/vidarkon-patch" || true
else
  echo "No display: the command-line runner upgrades the folder."
  build/app/cli/vidarkon-patch-cli "$demo" || true
fi

echo
echo "After the upgrade:"
build/app/cli/vidarkon-patch-cli --check "$demo" || true
echo
echo "The Access original, kept beside its upgraded catalogue (to go back, rename it to its old name):"
ls -l "$demo"/*.oryginal-access 2>/dev/null || echo "  (none: the Access catalogue was not moved)"
