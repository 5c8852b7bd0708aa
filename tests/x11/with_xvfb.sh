#!/usr/bin/env bash
# Runs a command under a private Xvfb server with the openbox window manager.
set -u
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"${TMPDIR:-/tmp}/xvfb.$$" &
xvfb=$!
for _ in $(seq 200); do
  [ -s "${TMPDIR:-/tmp}/xvfb.$$" ] && break
  sleep 0.05
done
export DISPLAY=":$(cat "${TMPDIR:-/tmp}/xvfb.$$")"
rm -f "${TMPDIR:-/tmp}/xvfb.$$"
# Openbox is started again if it does not come up (seen once under a loaded
# machine): the tests need a window manager that is there for their whole run.
wmlog="${TMPDIR:-/tmp}/openbox.$$.log"
wm=""
for _attempt in 1 2 3; do
  openbox --sm-disable >"$wmlog" 2>&1 &
  wm=$!
  for _ in $(seq 200); do
    wmctrl -m >/dev/null 2>&1 && break
    sleep 0.05
  done
  sleep 0.2
  kill -0 "$wm" 2>/dev/null && wmctrl -m >/dev/null 2>&1 && break
  echo "openbox did not come up:" >&2
  cat "$wmlog" >&2
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
done
unset QT_QPA_PLATFORM
"$@"
status=$?
if ! kill -0 "$wm" 2>/dev/null; then
  echo "openbox ended during the test:" >&2
  cat "$wmlog" >&2
fi
kill "$wm" "$xvfb" 2>/dev/null
wait "$wm" "$xvfb" 2>/dev/null
rm -f "$wmlog"
exit $status
