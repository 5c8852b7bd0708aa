#!/usr/bin/env bash
# Runs a command under a private Xvfb server with the openbox window manager.
set -u
. "$(dirname "$0")/lib.sh"
displayfile="${TMPDIR:-/tmp}/xvfb.$$"
# A test may ask for another screen (XVFB_SCREENS, Xvfb's own words for it).
Xvfb -displayfd 3 ${XVFB_SCREENS:--screen 0 1280x1024x24} -nolisten tcp 3>"$displayfile" &
xvfb=$!
# A server starts in well under a second, but in ten and more when many start
# at once on a busy machine.
if ! X11_WAIT=60 wait_until test -s "$displayfile"; then
  echo "Xvfb did not start" >&2
  kill "$xvfb" 2>/dev/null
  exit 1
fi
export DISPLAY=":$(cat "$displayfile")"
rm -f "$displayfile"
# Openbox is started again if it does not come up (seen once under a loaded
# machine): the tests need a window manager that is there for their whole run.
wmlog="${TMPDIR:-/tmp}/openbox.$$.log"
wm=""
# Openbox answers as the window manager, or has ended.
wm_settled() { wmctrl -m >/dev/null 2>&1 || process_ended "$wm"; }
for _attempt in 1 2 3; do
  openbox --sm-disable >"$wmlog" 2>&1 &
  wm=$!
  wait_until wm_settled
  ! process_ended "$wm" && wmctrl -m >/dev/null 2>&1 && break
  echo "openbox did not come up:" >&2
  cat "$wmlog" >&2
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
done
unset QT_QPA_PLATFORM
"$@"
status=$?
if process_ended "$wm"; then
  echo "openbox ended during the test:" >&2
  cat "$wmlog" >&2
fi
kill "$wm" "$xvfb" 2>/dev/null
wait "$wm" "$xvfb" 2>/dev/null
rm -f "$wmlog"
exit $status
