#!/usr/bin/env bash
# The main window stays above the windows of the program the user works in,
# also while that program is the active one.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder stays_on_top "$1" "$2"
printf '[Platform]\r\nInstalled=0\r\n' > "$work/config/trevast/ascom.ini"
# The main window overlaps the star window's place.
printf '[Programme]\r\nGauche=150\r\nHaut=110\r\n' > "$work/trevast.ini"

"$work/trevast" & trevast=$!
"$X11_TOOLS/star_window" > /dev/null & star=$!
trap 'kill $trevast $star 2>/dev/null' EXIT
trevast_id=$(wait_for_window "Trevast") || { echo "the main window did not appear"; exit 1; }
star_id=$(wait_for_window "star") || { echo "the star window did not appear"; exit 1; }
# The user clicks in the other program, which becomes the active one.
activate "$trevast_id" || { echo "the main window did not become the active one"; exit 1; }
xdotool mousemove 120 300 click 1
wait_until is_active "$star_id" || { echo "the star window did not become the active one"; exit 1; }
order=$("$X11_TOOLS/stacking")
echo "$order"
top=$(printf '%s\n' "$order" | grep -E '^(Trevast|star)$' | tail -n1)
[ "$top" = "Trevast" ] || { echo "the main window is below the active program's window"; exit 1; }
echo "Trevast stays on top of the active window"
