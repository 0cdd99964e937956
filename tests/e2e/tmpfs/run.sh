#!/usr/bin/env bash
# Runs a scenario with drive Q: on a full, tiny disk: a 64 KB tmpfs mounted
# for the test and mapped as a Wine drive letter.
#   run.sh DRIVER SETUP SCENARIO FIXTURE_DIR SHOT_DIR
# Exits 77 (skipped) where no tmpfs can be mounted (not root).
set -uo pipefail
driver=$1; shift
mnt=$(mktemp -d)
if ! mount -t tmpfs -o size=64k tmpfs "$mnt" 2>/dev/null; then
  rmdir "$mnt"
  echo "cannot mount a tmpfs here: skipped"
  exit 77
fi
link="$WINEPREFIX/dosdevices/q:"
rm -f "$link"
ln -s "$mnt" "$link"
wine "$driver" "$@"
rc=$?
rm -f "$link"
umount "$mnt"
rmdir "$mnt"
exit $rc
