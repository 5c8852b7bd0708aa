#!/usr/bin/env bash
# The settings dialog driven as a user would, in the real program on the
# focuser simulator: a fast move from the main window, then in the dialog the
# method and the speeds changed, the lower limit learnt, a profile saved, the
# limit cleared and the method put back, the profile loaded back (which
# restores them, and puts back the speeds from before the dialog, the only
# ones a profile holds before OK), and OK. A second opening types the fast
# speed again and closes with OK. The profile and the settings file written at
# close must hold exactly what the record held.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder settings_dialog_as_a_user "$1" "$2"
# The simulator alone, at 25000, and a driver already chosen: no chooser opens.
printf '[Platform]\r\nInstalled=1\r\nVersion=6.0\r\nFocusers=FocusSim.Focuser\r\n' > "$work/config/trevast/ascom.ini"
printf '%s\r\n' \
  '[Focuser]' 'Name=Simulateur de focuser' 'Driver=FocusSim.Focuser' 'Position=25000' 'Position MAP=0' \
  'Limite basse=0' 'Limite haute=99999' \
  '[Autofocus]' 'Tolerance=2' 'LowSpeed=4' 'HighSpeed=5' $'M\xe9thode=0' 'Mesures=2' 'Taille=24' \
  'Delai suivi=3' 'Manuel=0' 'FWHM cible=2.50' \
  '[Programme]' 'Gauche=230' 'Haut=140' > "$work/trevast.ini"

fail() {
  echo "$1" >&2
  import -window root "$work/screen.png" 2>/dev/null && echo "screen left in $work/screen.png" >&2
  kill "$pid" 2>/dev/null
  exit 1
}
# Clicks at x, y of the window $1's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
}
# Makes the window $1 the active one, which the keys typed next go to.
focus() {
  activate "$1" || fail "the window $1 did not become the active one"
}
# Types $4 into the edit at x, y of the window $1, in place of its text.
retype() {
  focus "$1"
  click "$1" "$2" "$3"
  xdotool key ctrl+a type "$4"
}
# Chooses with the key $4 in the combo box at x, y of the window $1. The list
# it opens takes every click until it has closed.
choose() {
  focus "$1"
  click "$1" "$2" "$3"
  wait_until popup_open trevast || fail "the combo box opened no list"
  xdotool key "$4" Return
  wait_until no_popup trevast || fail "the list of the combo box stayed open"
}
# Clicks at x, y of the window $1 to open the window titled $4, and prints
# its id once it is the active one.
opens() {
  local id
  click "$1" "$2" "$3"
  id=$(wait_for_window "$4") || fail "the window \"$4\" did not open"
  focus "$id"
  echo "$id"
}
# Clicks at x, y of the window $1 to close the window titled $4.
closes() {
  click "$1" "$2" "$3"
  wait_until window_gone "$4" || fail "the window \"$4\" stayed open"
}
# Clicks at x, y of the window $1 to open the file dialog titled $4, and
# names the file $5 in it. The completion list the name opens takes every
# click until it has closed, which may come after the dialog has gone.
name_file() {
  opens "$1" "$2" "$3" "$4" >/dev/null
  xdotool key ctrl+a type "$5"
  xdotool key Return
  wait_until window_gone "$4" || fail "the window \"$4\" stayed open"
  wait_until no_popup trevast || fail "the completion list of \"$4\" stayed open"
}

cd "$work"
"$work/trevast" &
pid=$!
main=$(wait_for_window "Trevast") || fail "the main window did not appear"
# The position display, drawn at the first show, changes once a move has ended.
position=(120 288 37 13)
wait_until pixels_drawn "$main" "${position[@]}" || fail "the main window shows no position"
before=$("$X11_TOOLS/window_pixels" "$main" "${position[@]}")

# A fast move: 4 x 5 x 5 microns a step = 100 steps, to 25100.
click "$main" 17 179
wait_until pixels_changed "$main" "${position[@]}" "$before" || fail "the fast move did not end"
dialog=$(opens "$main" 47 131 "Trevast - Paramétrage")
choose "$dialog" 366 152 Down  # "Méthode utilisée": the second item
retype "$dialog" 394 58 6      # "Mode lent (pas)"
retype "$dialog" 394 82 7      # "Mode rapide"
click "$dialog" 95 155         # learns "Limite intra" where the focuser stands
name_file "$dialog" 517 194 "Sauvegarde des paramètres" "$work/profil"  # "Sauvegarde"
wait_until test -f "$work/profil.trv" || fail "no profile saved"
# Undone at once in the record, then brought back by the load.
click "$dialog" 125 155        # clears "Limite intra"
choose "$dialog" 366 152 Up    # "Approches successives" again
# "Récupération", whose dialog has the toolkit's own title, French also in the C locale.
name_file "$dialog" 517 224 "Ouvrir" "$work/profil.trv"
closes "$dialog" 533 36 "Trevast - Paramétrage"  # OK

dialog=$(opens "$main" 47 131 "Trevast - Paramétrage")
retype "$dialog" 394 82 8      # "Mode rapide" only
closes "$dialog" 533 36 "Trevast - Paramétrage"

wmctrl -i -c "$main"
wait_until process_ended "$pid" || fail "the program did not end"
wait "$pid"

# Saved in the dialog: the record as it stood, the method and the limit
# written at once, the speeds from before the dialog.
printf '%s\r\n' \
  '[Focuser]' 'Name=Simulateur de focuser' 'Driver=FocusSim.Focuser' 'Position=25100' 'Position MAP=0' \
  'Limite basse=25100' 'Limite haute=99999' \
  '[Autofocus]' 'Tolerance=2' 'LowSpeed=4' 'HighSpeed=5' $'M\xe9thode=1' 'Mesures=2' 'Taille=24' \
  'Delai suivi=3' 'FWHM cible=2.50' 'Manuel=0' \
  '[Programme]' 'Gauche=230' 'Haut=140' > "$work/expected.trv"
# Written at close: the same, the slow speed as the load put it back, the
# fast one as the second opening typed it.
printf '%s\r\n' \
  '[Focuser]' 'Name=Simulateur de focuser' 'Driver=FocusSim.Focuser' 'Position=25100' 'Position MAP=0' \
  'Limite basse=25100' 'Limite haute=99999' \
  '[Autofocus]' 'Tolerance=2' 'LowSpeed=4' 'HighSpeed=8' $'M\xe9thode=1' 'Mesures=2' 'Taille=24' \
  'Delai suivi=3' 'Manuel=0' 'FWHM cible=2.50' \
  '[Programme]' 'Gauche=230' 'Haut=140' > "$work/expected.ini"
status=0
for pair in "profil.trv expected.trv" "trevast.ini expected.ini"; do
  set -- $pair
  if ! cmp -s "$work/$1" "$work/$2"; then
    echo "$1 differs from what the record held:"
    diff <(tr -d '\r' < "$work/$2" | iconv -f CP1252) <(tr -d '\r' < "$work/$1" | iconv -f CP1252) || true
    status=1
  fi
done
[ $status = 0 ] && echo "profile and settings file as the record held them"
exit $status
