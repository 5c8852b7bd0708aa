#!/usr/bin/env bash
# Every window of the program stays within the user's reach, on a laptop's
# 1366 x 768 screen with a 1280 x 1024 one on its right. The main window,
# stored beyond the screens' corner, comes whole onto the nearest; put low on
# the laptop's screen, "Afficher Log" grows it upwards, frame and log whole on
# that screen. Every window opened from the settings dialog, which stays on
# top with the main window, opens above it in the window manager's stacking
# order and takes the focus: the simulator's settings, the chooser, both file
# dialogs with the overwrite question, the about box and an error box. The
# main window, the settings dialog and the about box come back when minimised.
# Dragged to the other screen, the main window opens the dialog there, and
# the dialog the about box, where it was shown last on the first; the close
# writes where the main window stands.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder windows_within_reach "$1" "$2"
printf '[Platform]\r\nInstalled=1\r\nVersion=6.0\r\nFocusers=FocusSim.Focuser\r\n' > "$work/config/trevast/ascom.ini"
printf '[Focuser]\r\nDriver=FocusSim.Focuser\r\n[Programme]\r\nGauche=2600\r\nHaut=1100\r\n' > "$work/trevast.ini"
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

# The outer rectangle of the window $1, frame included: left, top, width, height.
frame_of() { "$X11_TOOLS/frame" "$1" | cut -d' ' -f1-4; }
laptop="0 0 1366 768" right="1366 0 1280 1024"
# The whole frame of the window $1 lies on the screen "$2" (left top width height).
on_screen() {
  local x y w h sx sy sw sh
  read -r x y w h <<<"$(frame_of "$1")" && read -r sx sy sw sh <<<"$2" &&
    ((x >= sx && y >= sy && x + w <= sx + sw && y + h <= sy + sh))
}
# The client area of the window $1 is $2 pixels high.
client_height() { [ "$("$X11_TOOLS/frame" "$1" | cut -d' ' -f6)" = "$2" ]; }
# Has the window manager move the window $1, as a drag of its title bar ends: its
# frame about $2, $3 (the client area's corner goes there).
moved() { xdotool windowmove "$1" "$2" "$3" && wait_until at_top "$1" "$3"; }
at_top() { local x y w h; read -r x y w h <<<"$(frame_of "$1")" && ((y >= $2 - 30 && y <= $2 + 30)); }

"$X11_TOOLS/monitors" 1366x768+0+0 1280x1024+1366+0 || { echo "the two screens could not be made" >&2; exit 1; }
cd "$work"
"$work/trevast" &
pid=$!
main=$(wait_for_window "Trevast") || fail "the main window did not appear"
wait_until on_screen "$main" "$right" || fail "the main window stood at $(frame_of "$main"), not whole on the right screen"
moved "$main" 100 400 || fail "the main window, moved to 100, 400, stood at $(frame_of "$main")"
xdotool mousemove --window "$main" 20 314 click 1  # "Afficher Log"
wait_until client_height "$main" 420 && wait_until on_screen "$main" "$laptop" ||
  fail "with its log the main window stood at $(frame_of "$main"), not whole on the laptop's screen"
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

moved "$main" 2000 300 || fail "the main window, moved to 2000, 300, stood at $(frame_of "$main")"
dialog=$(opens_above "$main" 47 131 "Trevast - Paramétrage")
on_screen "$dialog" "$right" || fail "the settings dialog opened at $(frame_of "$dialog"), away from the main window"
w=$(opens_above "$dialog" 517 254 "A propos")                       # "A propos..."
on_screen "$w" "$right" || fail "the about box opened at $(frame_of "$w"), away from the settings dialog"
closes_with "$w" Return
closes_with "$dialog" Escape

read -r left top _ <<<"$(frame_of "$main")"
wmctrl -i -c "$main"
wait_until process_ended "$pid" || fail "the program did not end"
grep -aq "^Gauche=$left"$'\r'"\$" trevast.ini && grep -aq "^Haut=$top"$'\r'"\$" trevast.ini ||
  fail "the close wrote $(grep -a '^Gauche=\|^Haut=' trevast.ini | tr -d '\r' | tr '\n' ' ')where the window stood at $left,$top"
echo "every window whole on a screen, on its opener's, above it with the focus, back when minimised"
