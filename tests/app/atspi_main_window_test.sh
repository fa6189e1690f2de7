#!/bin/sh
# A screen reader's view of the main window: on a real X server with the
# accessibility bus, the window is a frame named by its title.
#   atspi_main_window_test.sh PROGRAM PYTHON READER VERSION
# Run inside dbus-run-session and xvfb-run.
program=$1 python=$2 reader=$3 version=$4
folder=$(mktemp -d)
/usr/libexec/at-spi-bus-launcher --launch-immediately &
launcher=$!
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb "$program" "$folder" &
window=$!
windows=$("$python" "$reader" "$(basename "$program")")
status=$?
kill "$window" "$launcher" 2>/dev/null
wait "$window" 2>/dev/null
rmdir "$folder"
echo "$windows"
[ "$status" -eq 0 ] || exit 1
expected=$(printf 'frame\tPatch dla: Vidarkon w wersji: %s - 02' "$version")
echo "$windows" | grep -qxF "$expected" || { echo "FAIL: no frame named by the title"; exit 1; }
echo "ok: the main window reads as a frame named by its title"
