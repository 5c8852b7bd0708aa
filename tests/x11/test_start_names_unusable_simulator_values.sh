#!/usr/bin/env bash
# The real program with values in ascom.ini that the simulator cannot use: one
# box names them at start, before the main window, which shows once it is
# answered (a box goes on Return, the main window would not).
set -eu
. "$(dirname "$0")/lib.sh"
program_folder start_names_unusable_simulator_values "$1" "$2"
printf '[FocusSim.Focuser]\r\nMaxStep=0\r\nSpeed=-5\r\n' > "$work/config/trevast/ascom.ini"
printf '[Focuser]\r\nDriver=FocusSim.Focuser\r\n' > "$work/trevast.ini"
"$work/trevast" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
fail() { echo "$1"; exit 1; }
wait_until box_shown || fail "no window at start"
[ "$(trevast_windows | wc -l)" -eq 1 ] || fail "the main window showed before the box was answered"
answer_box || fail "no box at start: the first window stayed open on Return"
wait_until box_shown || fail "the main window did not appear"
echo "one box at start, then the main window"
