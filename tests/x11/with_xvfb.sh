#!/usr/bin/env bash
# Runs a command under a private Xvfb server with the openbox window manager.
set -u
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"${TMPDIR:-/tmp}/xvfb.$$" &
xvfb=$!
for _ in $(seq 100); do
  [ -s "${TMPDIR:-/tmp}/xvfb.$$" ] && break
  sleep 0.05
done
export DISPLAY=":$(cat "${TMPDIR:-/tmp}/xvfb.$$")"
rm -f "${TMPDIR:-/tmp}/xvfb.$$"
openbox --sm-disable >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
  wmctrl -m >/dev/null 2>&1 && break
  sleep 0.05
done
unset QT_QPA_PLATFORM
"$@"
status=$?
kill "$wm" "$xvfb" 2>/dev/null
wait "$wm" "$xvfb" 2>/dev/null
exit $status
