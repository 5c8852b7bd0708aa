#!/usr/bin/env bash
# The real program under a window manager: it reads trevast.ini beside its
# executable, and a close by the window manager writes every value back. A place
# read at start and written back unchanged stays the same run after run. A
# second copy started from the same folder says so in a box and ends without
# touching the file, and a copy killed outright does not block the next start.
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
  if [ "$run" = 2 ]; then
    second_copy_refused "$pid" "$id" || { kill "$pid"; return 1; }
    cmp -s "$work/trevast.ini" "$work/expected.ini" || { echo "the second copy touched trevast.ini"; return 1; }
  fi
  wmctrl -i -c "$id"
  wait_until process_ended "$pid" || { echo "the program did not end"; kill "$pid"; return 1; }
  local status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || { echo "run $run: the program ended with status $status"; return 1; }
}

# A second copy while $1 runs, the id of its main window in $2: its box, then its end.
second_copy_refused() {
  "$work/trevast" &
  local second=$! status=0
  wait_until box_shown "$2" || { echo "the second copy showed no box"; kill "$second"; return 1; }
  [ "$(xdotool getwindowpid "$box")" = "$second" ] || { echo "the box is not the second copy's"; return 1; }
  answer_box || { echo "the second copy's window is no box that Return answers"; return 1; }
  wait_until process_ended "$second" || { echo "the second copy did not end"; kill "$second"; return 1; }
  wait "$second" || status=$?
  [ "$status" -ne 0 ] && kill -0 "$1" || { echo "the second copy ran on, or the first ended with it"; return 1; }
}

# The first copy is killed with no chance to write or let go of anything: the
# next start is not refused.
"$work/trevast" &
killed=$!
wait_for_window "Trevast" >/dev/null || { echo "the window did not appear"; kill "$killed"; exit 1; }
kill -9 "$killed"
wait "$killed" || true
wait_until window_gone "Trevast" || { echo "the killed copy's window stayed"; exit 1; }

for run in 1 2 3; do
  run_once
  if ! cmp -s "$work/trevast.ini" "$work/expected.ini"; then
    echo "run $run: trevast.ini differs from what was read"
    diff <(tr -d '\r' < "$work/expected.ini") <(tr -d '\r' < "$work/trevast.ini") || true
    exit 1
  fi
done
echo "three runs, a second copy refused, file unchanged byte for byte"
