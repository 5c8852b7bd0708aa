#!/usr/bin/env bash
# The real program under a window manager: it reads trevast.ini beside its
# executable, and a close by the window manager writes every value back. A place
# read at start and written back unchanged stays the same run after run.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder close_keeps_settings "$1" "$2"
# No ASCOM platform: the start opens no chooser and no box.
printf '[Platform]\r\nInstalled=0\r\n' > "$work/config/trevast/ascom.ini"

printf '%s\r\n' \
  '[Focuser]' 'Name=Mon focuser' 'Driver=FocusSim.Focuser' 'Position=1500' 'Position MAP=1800' \
  'Limite basse=200' 'Limite haute=4000' \
  '[Autofocus]' 'Tolerance=2' 'LowSpeed=4' 'HighSpeed=5' $'M\xe9thode=1' 'Mesures=3' 'Taille=24' \
  'Delai suivi=1' 'Manuel=1' 'FWHM cible=2.50' \
  '[Programme]' 'Gauche=230' 'Haut=140' \
  '[Notes]' 'Kept=yes' > "$work/trevast.ini"
cp "$work/trevast.ini" "$work/expected.ini"

run_once() {
  "$work/trevast" &
  local pid=$!
  local id
  id=$(wait_for_window "Trevast") || { echo "the window did not appear"; kill "$pid"; return 1; }
  wmctrl -i -c "$id"
  wait_until process_ended "$pid" || { echo "the program did not end"; kill "$pid"; return 1; }
  wait "$pid"
}

for run in 1 2 3; do
  run_once
  if ! cmp -s "$work/trevast.ini" "$work/expected.ini"; then
    echo "run $run: trevast.ini differs from what was read"
    diff <(tr -d '\r' < "$work/expected.ini") <(tr -d '\r' < "$work/trevast.ini") || true
    exit 1
  fi
done
echo "three runs, file unchanged byte for byte"
