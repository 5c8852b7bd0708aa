#!/usr/bin/env bash
# A short press on a slow-move button starts a move that outlasts it (10
# steps at 5 a second): once the move has ended the button looks released.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder slow_move_button_released "$1" "$2"
printf '%s\r\n' '[Platform]' 'Installed=1' 'Version=6.0' 'Focusers=FocusSim.Focuser' \
  '[FocusSim.Focuser]' 'Speed=5' 'StepSize=5' > "$work/config/trevast/ascom.ini"
printf '%s\r\n' '[Focuser]' 'Driver=FocusSim.Focuser' '[Autofocus]' 'LowSpeed=2' > "$work/trevast.ini"
"$work/trevast" & pid=$!
trap 'kill $pid 2>/dev/null' EXIT
fail() { echo "$1"; exit 1; }
pixels() { "$X11_TOOLS/window_pixels" "$main" "$@"; }
shows() { [ "$(pixels "${@:2}")" = "$1" ]; }
main=$(wait_for_window "Trevast") || fail "the main window did not appear"
button=(78 192 23 22) position=(120 288 37 13) driver=(6 258 121 21)  # the driver box is light red in a move
wait_until pixels_drawn "$main" "${position[@]}" || fail "the main window shows no position"
xdotool mousemove 0 0
released=$(pixels "${button[@]}") before=$(pixels "${position[@]}") at_rest=$(pixels "${driver[@]}")

xdotool mousemove --window "$main" 89 203 mousedown 1 mouseup 1 mousemove 0 0
wait_until pixels_changed "$main" "${position[@]}" "$before" || fail "the slow move did not end"
# The motor poll's first tick after the move comes after the press was handled.
wait_until shows "$at_rest" "${driver[@]}" || fail "the driver box did not come back to rest"
shows "$released" "${button[@]}" || fail "the slow-move button still looks pressed after the move"
echo "the slow-move button looks released once the move has ended"
