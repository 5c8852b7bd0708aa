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
exe="$1"
work="$2/settings_dialog_as_a_user"
rm -rf "$work"
mkdir -p "$work/config/trevast"
cp "$exe" "$work/trevast"
export XDG_CONFIG_HOME="$work/config"
export LC_ALL=C.UTF-8
# The simulator alone, at 25000, and a driver already chosen: no chooser opens.
printf '[Platform]\r\nInstalled=1\r\nVersion=6.0\r\nFocusers=FocusSim.Focuser\r\n' > "$work/config/trevast/ascom.ini"
printf '%s\r\n' \
  '[Focuser]' 'Name=Simulateur de focuser' 'Driver=FocusSim.Focuser' 'Position=25000' 'Position MAP=0' \
  'Limite basse=0' 'Limite haute=99999' \
  '[Autofocus]' 'Tolerance=2' 'LowSpeed=4' 'HighSpeed=5' $'M\xe9thode=0' 'Mesures=2' 'Taille=24' \
  'Delai suivi=3' 'Manuel=0' 'FWHM cible=2.50' \
  '[Programme]' 'Gauche=230' 'Haut=140' > "$work/trevast.ini"

fail() {
  echo "$1"
  import -window root "$work/screen.png" 2>/dev/null && echo "screen left in $work/screen.png"
  kill "$pid" 2>/dev/null
  exit 1
}
# The id of the window whose title is exactly $1, once it is shown; empty
# when none comes.
window() {
  local id
  for _ in $(seq 200); do
    id=$(wmctrl -l | awk -v t="$1" '{ id = $1; $1 = $2 = $3 = ""; sub(/^ +/, "") } $0 == t { print id; exit }')
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.05
  done
}
gone() {
  for _ in $(seq 200); do
    wmctrl -l | grep -qF "$1" || return 0
    sleep 0.05
  done
  fail "the window \"$1\" stayed open"
}
# Clicks at x, y of the window $1's client area.
click() {
  xdotool mousemove --window "$1" "$2" "$3" click 1
  sleep 0.3
}
# Types $4 into the edit at x, y of the window $1, in place of its text.
retype() {
  click "$1" "$2" "$3"
  xdotool key ctrl+a type "$4"
}
# Names the file in the file dialog that opens with the title $1.
name_file() {
  local d
  d=$(window "$1")
  [ -n "$d" ] || fail "no file dialog \"$1\""
  xdotool windowactivate --sync "$d"
  sleep 0.3
  xdotool key ctrl+a type "$2"
  xdotool key Return
  gone "$1"
}

cd "$work"
"$work/trevast" &
pid=$!
main=$(window "Trevast")
[ -n "$main" ] || fail "the main window did not appear"
sleep 0.5

# A fast move: 4 x 5 x 5 microns a step = 100 steps, to 25100.
click "$main" 17 179
sleep 1
click "$main" 47 131
dialog=$(window "Trevast - Paramétrage")
[ -n "$dialog" ] || fail "the settings dialog did not open"
sleep 0.3
# "Méthode utilisée": the second item.
click "$dialog" 366 152
xdotool key Down Return
sleep 0.3
retype "$dialog" 394 58 6   # "Mode lent (pas)"
retype "$dialog" 394 82 7   # "Mode rapide"
click "$dialog" 95 155      # learns "Limite intra" where the focuser stands
click "$dialog" 517 194     # "Sauvegarde"
name_file "Sauvegarde des paramètres" "$work/profil"
for _ in $(seq 100); do [ -f "$work/profil.trv" ] && break; sleep 0.05; done
[ -f "$work/profil.trv" ] || fail "no profile saved"
# Undone at once in the record, then brought back by the load.
click "$dialog" 125 155     # clears "Limite intra"
click "$dialog" 366 152
xdotool key Up Return       # "Approches successives" again
sleep 0.3
click "$dialog" 517 224     # "Récupération"
name_file "Open" "$work/profil.trv"  # the toolkit's own title, in the C locale
click "$dialog" 533 36      # OK
gone "Trevast - Paramétrage"
sleep 0.5

click "$main" 47 131
dialog=$(window "Trevast - Paramétrage")
[ -n "$dialog" ] || fail "the settings dialog did not open"
sleep 0.3
retype "$dialog" 394 82 8   # "Mode rapide" only
click "$dialog" 533 36
gone "Trevast - Paramétrage"

wmctrl -i -c "$main"
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end"
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
