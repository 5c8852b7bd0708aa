# Sourced by the X11 tests: they wait on conditions (a window shown or gone,
# the active window, a display that changed, a pop-up closed, a file written,
# a program ended), each with a time-out, never on a fixed time.
# $X11_TOOLS is the folder of the helper programs built with the tests.

# Runs "$@" until it succeeds, every 50 ms, for at most $X11_WAIT seconds;
# fails when it never did. The default is long, for a machine under load: a
# condition met sooner costs no more time.
wait_until() {
  local deadline=$((${EPOCHREALTIME/[.,]/} + ${X11_WAIT:-30} * 1000000))
  until "$@"; do
    ((${EPOCHREALTIME/[.,]/} < deadline)) || return 1
    sleep 0.05
  done
}

# The id of the managed window whose title is exactly $1, if there is one.
window_id() {
  wmctrl -l 2>/dev/null | awk -v t="$1" '{ id = $1; $1 = $2 = $3 = ""; sub(/^ +/, "") } $0 == t { print id; exit }'
}

# The window titled $1 is mapped on the screen; window_gone: none has that title.
window_shown() {
  local id
  id=$(window_id "$1")
  [ -n "$id" ] && xdotool search --onlyvisible --name '' 2>/dev/null | grep -qx "$((id))"
}
window_gone() { [ -z "$(window_id "$1")" ]; }

# Prints the id of the window titled $1 once it is shown; fails when none comes.
wait_for_window() {
  wait_until window_shown "$1" && window_id "$1"
}

# The window $1 (any notation) is the active one.
is_active() { [ "$(xdotool getactivewindow 2>/dev/null)" = "$(($1))" ]; }

# Asks the window manager to activate the window $1 and waits until it is.
activate() {
  xdotool windowactivate "$1" 2>/dev/null
  wait_until is_active "$1"
}

# A pop-up of the program of class $1 is open, or none is.
popup_open() { [ -n "$("$X11_TOOLS/popups" "$1")" ]; }
no_popup() { ! popup_open "$1"; }

# The pixels of x, y, width, height ($2 to $5) in the window $1 hold more than
# one colour (pixels_drawn), or differ from the digest $6 that window_pixels
# printed before (pixels_changed).
pixels_drawn() { [ "$("$X11_TOOLS/window_pixels" "$@")" != blank ]; }
pixels_changed() {
  local now
  now=$("$X11_TOOLS/window_pixels" "$1" "$2" "$3" "$4" "$5") && [ "$now" != "$6" ]
}

# The process $1 has ended.
process_ended() { ! kill -0 "$1" 2>/dev/null; }

# The ids of the shown windows titled exactly "Trevast", the program's main
# window and its boxes, one a line.
trevast_windows() {
  wmctrl -l | awk '{ id = $1; $1 = $2 = $3 = ""; sub(/^ +/, "") } $0 == "Trevast" { print id }'
}
# A "Trevast" window other than $1 (the main window, or none) is shown: its id
# in $box. box_gone: the window $box is gone.
box_shown() {
  box=$(trevast_windows | grep -vxF "${1:-none}" | head -n1)
  [ -n "$box" ]
}
box_gone() { ! wmctrl -l | grep -q "^$box "; }
# Answers the box $box with its default button and waits until it is gone.
answer_box() {
  xdotool windowactivate --sync "$box" && xdotool key Return && wait_until box_gone
}

# Makes the folder of the program for the test named $1: a copy of the
# program $2 in $work, with its own configuration folder and the C locale;
# $3 is the tests' work folder, beside the helper tools ($X11_TOOLS).
program_folder() {
  work="$3/$1"
  X11_TOOLS="$(dirname "$3")"
  rm -rf "$work"
  mkdir -p "$work/config/trevast"
  cp "$2" "$work/trevast"
  export XDG_CONFIG_HOME="$work/config" LC_ALL=C.UTF-8
}
