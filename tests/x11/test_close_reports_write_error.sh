#!/usr/bin/env bash
# The real program with a folder in place of trevast.ini: the start says it
# cannot read the file and goes on with the defaults; closing the main window
# after a move says it cannot write it, and the program lives until that box is
# answered, then ends normally. Nothing replaces the folder.
set -eu
. "$(dirname "$0")/lib.sh"
program_folder close_reports_write_error "$1" "$2"
mkdir "$work/trevast.ini"
printf '[Platform]\r\nInstalled=0\r\n' > "$work/config/trevast/ascom.ini"

pid=""
fail() {
  echo "$1"
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  exit 1
}
answer() { answer_box || fail "the box stayed open after its answer"; }

"$work/trevast" &
pid=$!

# The start: a box, and only once it is answered the main window.
wait_until box_shown || fail "no box at start for the unreadable settings file"
answer
main=""
wait_until box_shown && main=$box
[ -n "$main" ] || fail "the main window did not appear"

# The close: the program is still there with its box open, whatever time passes.
wmctrl -i -c "$main"
wait_until box_shown "$main" || fail "the close showed no box (the program ended: $(process_ended "$pid" && echo yes || echo no))"
process_ended "$pid" && fail "the program ended with its box open"
answer
wait_until process_ended "$pid" || fail "the program did not end once the box was answered"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
[ -d "$work/trevast.ini" ] || fail "the folder in place of trevast.ini was replaced"
echo "a box at start and at close, each answered; the program ended after the second"
