#!/usr/bin/env bash
# Runs a command with a private X display (Xvfb) and a fresh Wine prefix, then stops
# exactly what it started and exits with the command's status.
#   tools/with-wine.sh [--size WxH] command [args...]
set -uo pipefail

size=1024x768
if [ "${1:-}" = "--size" ]; then size=$2; shift 2; fi

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d -t orlivex-wine.XXXXXX)
xvfb_pid=""
server_pid=""

cleanup() {
    if [ -n "$server_pid" ]; then
        WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
        kill "$server_pid" 2>/dev/null
        wait "$server_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Xvfb picks a free display and writes its number to the pipe.
mkfifo "$work/display.fifo"
exec 3<> "$work/display.fifo"
Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
display=""
read -r -t 30 display <&3 || true
exec 3>&-
if [ -z "$display" ]; then
    echo "with-wine: Xvfb did not start" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$display"

export WINEPREFIX="$work/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
# No Mono or Gecko installers in a test prefix.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# A persistent server in the foreground of its own job: fast starts, and a pid to stop.
wineserver -f -p &
server_pid=$!
wineboot -i >"$work/wineboot.log" 2>&1 || { echo "with-wine: wineboot failed" >&2; cat "$work/wineboot.log" >&2; exit 1; }
"$here/setup-prefix.sh" || { echo "with-wine: prefix set-up failed" >&2; exit 1; }

# For measurements from outside: the display server of this run.
export ORLIVEX_XVFB_PID=$xvfb_pid
"$@"
