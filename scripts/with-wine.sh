#!/usr/bin/env bash
# Runs a command with a ready Wine prefix and an X display:
#   with-wine.sh PREFIX [--xvfb] COMMAND...
# The prefix is created once before the command starts (tests racing to
# create it fail at random). Without a display, or with --xvfb, a private
# Xvfb is started and stopped around the command.
set -euo pipefail

prefix=$1; shift
force_xvfb=0
if [ "${1:-}" = "--xvfb" ]; then force_xvfb=1; shift; fi

export WINEPREFIX=$(realpath -m "$prefix")
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64

xvfb_pid=
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ] || [ $force_xvfb -eq 1 ]; then
  for n in $(seq 90 130); do
    [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ] || break
  done
  Xvfb :$n -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=:$n
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$n ] && break; sleep 0.1; done
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  mkdir -p "$WINEPREFIX"
  wine wineboot --init >/dev/null 2>&1 || true
fi
# One server (and one desktop) for the whole command: restarting them
# between tests races with the next test's first window. The server left by
# wineboot ends first, so that the one started here is the persistent one.
wineserver -w
wineserver -p >/dev/null 2>&1 || true
# Xvfb has no window manager: there, unmanaged windows close at once instead
# of waiting for one. On a real desktop the window manager takes them.
managed=Y
[ -n "$xvfb_pid" ] && managed=N
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f >/dev/null 2>&1

"$@"
