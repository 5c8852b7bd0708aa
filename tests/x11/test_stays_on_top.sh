#!/usr/bin/env bash
# The main window stays above the windows of the program the user works in,
# also while that program is the active one.
set -eu
exe="$1"
work="$2/stays_on_top"
tools="$(dirname "$2")"
rm -rf "$work"
mkdir -p "$work/config/trevast"
cp "$exe" "$work/trevast"
export XDG_CONFIG_HOME="$work/config"
printf '[Platform]\r\nInstalled=0\r\n' > "$work/config/trevast/ascom.ini"
# The main window overlaps the star window's place.
printf '[Programme]\r\nGauche=150\r\nHaut=110\r\n' > "$work/trevast.ini"

"$work/trevast" & trevast=$!
"$tools/star_window" > /dev/null & star=$!
trap 'kill $trevast $star 2>/dev/null' EXIT
for _ in $(seq 200); do
  wmctrl -l | grep -q ' Trevast$' && wmctrl -l | grep -q ' star$' && break
  sleep 0.05
done
star_id=$(xdotool search --name '^star$' | head -n1)
xdotool windowactivate --sync "$star_id"
xdotool mousemove 120 300 click 1  # the user works in the other program
sleep 0.3
[ "$(xdotool getactivewindow)" = "$star_id" ] || { echo "the star window is not the active one"; exit 1; }
order=$("$tools/stacking")
echo "$order"
top=$(printf '%s\n' "$order" | grep -E '^(Trevast|star)$' | tail -n1)
[ "$top" = "Trevast" ] || { echo "the main window is below the active program's window"; exit 1; }
echo "Trevast stays on top of the active window"
