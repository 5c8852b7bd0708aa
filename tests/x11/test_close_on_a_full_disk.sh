#!/usr/bin/env bash
# The real program on a disk with no room left: closing the main window says it
# cannot write trevast.ini, the program ends once that box is answered, and the
# file keeps its old text, with nothing left beside it. The disk is a small
# file system in a private mount namespace; where mounting is refused (no
# privilege) the test is skipped.
set -eu
. "$(dirname "$0")/lib.sh"
skip=77
if [ -z "${TREVAST_PRIVATE_MOUNTS:-}" ]; then
  unshare -m --propagation private true 2>/dev/null || { echo "no private mount namespace: skipped"; exit $skip; }
  TREVAST_PRIVATE_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
work="$2/close_on_a_full_disk"
disk="$work/disk"
rm -rf "$work" && mkdir -p "$work/config/trevast" "$disk"
# Room for the program and a few pages, then filled up.
mount -t tmpfs -o size=$(($(stat -c %s "$1") / 1024 + 64))k tmpfs "$disk" 2>/dev/null ||
  { echo "mounting refused: skipped"; exit $skip; }
cp "$1" "$disk/trevast"
export XDG_CONFIG_HOME="$work/config" LC_ALL=C.UTF-8
# No ASCOM platform: the start opens no chooser and no box.
printf '[Platform]\r\nInstalled=0\r\n' > "$work/config/trevast/ascom.ini"
printf '[Focuser]\r\nDriver=FocusSim.Focuser\r\n[Autofocus]\r\nTolerance=2\r\n' | tee "$work/expected.ini" > "$disk/trevast.ini"
dd if=/dev/zero of="$disk/filler" bs=4k 2>/dev/null || true
[ "$(df --output=avail "$disk" | tail -n1)" -eq 0 ] || { echo "the disk is not full"; exit 1; }

"$disk/trevast" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT
fail() { echo "$1"; exit 1; }
main=$(wait_for_window "Trevast") || fail "the main window did not appear"
wmctrl -i -c "$main"
wait_until box_shown "$main" || fail "the close showed no box (the program ended: $(process_ended "$pid" && echo yes || echo no))"
answer_box || fail "the box stayed open after its answer"
wait_until process_ended "$pid" || fail "the program did not end once the box was answered"
status=0
wait "$pid" || status=$?
[ "$status" -eq 0 ] || fail "the program ended with status $status"
cmp -s "$disk/trevast.ini" "$work/expected.ini" || fail "trevast.ini changed: $(od -c "$disk/trevast.ini" | head -n3)"
left=$(ls -A "$disk" | tr '\n' ' ')
[ "$left" = "filler trevast trevast.ini " ] || fail "left on the disk: $left"
echo "a full disk: a box at close, the old file kept whole, nothing left beside it"
