#!/usr/bin/env bash
# Every window of the program stays within the user's reach. The main window,
# stored beyond the screen's corner, comes onto the screen, and the close
# writes that place. Every window opened from the settings dialog, which stays
# on top with the main window, opens above it in the window manager's stacking
# order and takes the focus: the simulator's settings, the chooser, both file
# dialogs with the overwrite question, the about box and an error box. The
# main window, the settings dialog and the about box come back when minimised.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder windows_within_reach "$1" "$2"
printf '[Platform]\r\nInstalled=1\r\nVersion=6.0\r\nFocusers=FocusSim.Focuser\r\n' > "$work/config/trevast/ascom.ini"
printf '[Focuser]\r\nDriver=FocusSim.Focuser\r\n[Programme]\r\nGauche=1400\r\nHaut=1100\r\n' > "$work/trevast.ini"
printf '[Autofocus]\r\nLowSpeed=4\r\n' > "$work/existing.trv"
printf '[Autofocus]\r\nFWHM cible=abc\r\n' > "$work/bad.trv"

fail() {
  echo "$1" >&2
  echo "windows from bottom to top:" >&2
  "$X11_TOOLS/stacking" >&2
  kill "$pid" 2>/dev/null
  exit 1
}
# The title of the window $1 as the window manager lists it.
title_of() {
  local id desk host title
  wmctrl -l | while read -r id desk host title; do [ $((id)) = $(($1)) ] && echo "$title"; done
}
top_window() { "$X11_TOOLS/stacking" -i | tail -n1; }
on_top() { [ "$(top_window)" = $(($1)) ] && is_active "$1"; }
# A window titled $2, other than $1, lies on top of the stack with the focus.
new_on_top() { local top; top=$(top_window); [ "$top" != $(($1)) ] && [ "$(title_of "$top")" = "$2" ] && on_top "$top"; }
# Clicks at x, y of the window $1 (or presses the key $3 when x is "key"), then
# prints the id of the window titled $4 once it lies on top with the focus.
opens_above() {
  if [ "$2" = key ]; then xdotool key "$3"; else xdotool mousemove --window "$1" "$2" "$3" click 1; fi
  wait_until new_on_top "$1" "$4" || fail "\"$4\" did not open above its opener with the focus"
  top_window
}
# Presses the key $2 in the window $1 and waits until it has closed. The file
# name's list of completions takes every key until it has closed.
window_closed() { [ -z "$(title_of "$1")" ]; }
closes_with() {
  wait_until is_active "$1" && wait_until no_popup trevast || fail "the window $1 did not get the keys"
  xdotool key "$2"
  wait_until window_closed "$1" || fail "the window $1 stayed open"
}
# Minimises the window $1 and waits until it is back on top with the focus.
comes_back() {
  "$X11_TOOLS/minimise" "$1" "${X11_WAIT:-30}" && wait_until on_top "$1" ||
    fail "the window $1 did not come back on top with the focus when minimised"
}

cd "$work"
"$work/trevast" &
pid=$!
main=$(wait_for_window "Trevast") || fail "the main window did not appear"
comes_back "$main"
activate "$main" || fail "the main window did not become the active one"
dialog=$(opens_above "$main" 47 131 "Trevast - Paramétrage")
comes_back "$dialog"

w=$(opens_above "$dialog" 55 72 "Simulateur de focuser - Réglages")  # "Paramètres"
closes_with "$w" Escape
w=$(opens_above "$dialog" 55 42 "Sélecteur de focuser ASCOM")       # "Sélection"
closes_with "$w" Escape
w=$(opens_above "$dialog" 517 254 "A propos")                       # "A propos..."
comes_back "$w"
closes_with "$w" Return

save=$(opens_above "$dialog" 517 194 "Sauvegarde des paramètres")   # "Sauvegarde"
xdotool key ctrl+a type "$work/existing"
w=$(opens_above "$save" key Return "Sauvegarde des paramètres")     # the overwrite question
closes_with "$w" Escape
closes_with "$save" Escape

load=$(opens_above "$dialog" 517 224 "Ouvrir")                       # "Récupération"
xdotool key ctrl+a type "$work/bad.trv"
w=$(opens_above "$load" key Return "Trevast")                        # the box of the unreadable target
closes_with "$w" Return

closes_with "$dialog" Escape
wmctrl -i -c "$main"
wait_until process_ended "$pid" || fail "the program did not end"
# Where the window stood, its 167 x 330 client area on the 1280 x 1024 screen.
left=$(grep -a '^Gauche=' trevast.ini | tr -dc 0-9-) top=$(grep -a '^Haut=' trevast.ini | tr -dc 0-9-)
((left >= 0 && left + 167 <= 1280 && top >= 0 && top + 330 <= 1024)) || fail "the window stood at $left,$top"
echo "every window on the screen, above its opener with the focus, back when minimised"
