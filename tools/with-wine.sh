#!/usr/bin/env bash
# Runs a command with a private X display (Xvfb) and a fresh Wine prefix, then stops
# exactly what it started and exits with the command's status.
#   tools/with-wine.sh [--wine 8|10] [--size WxH] [--monitors "WxH+X+Y WxH+X+Y ..."] [--dpi N] command [args...]
# --wine picks the Wine: 8, this machine's (the default), or 10, Debian 13's, run with everything
#   this script starts (X servers, wineserver, the command) inside the root that
#   tools/make-wine10-root.sh makes, through bwrap. The choice goes on in ORLIVEX_WINE, so nested calls
#   (the tests that need a display of their own) run under the same Wine. Inside the root the
#   checkout, the current folder, /tmp and the folders in ORLIVEX_WINE10_BINDS (colon-separated, such
#   as a build folder elsewhere) are at their own paths.
# --monitors gives Wine one monitor per rectangle, the first the primary: plain Xvfb always makes
#   one monitor, so a Xephyr server with Xinerama (and without RandR, which Wine would prefer and
#   which reports one monitor) runs inside the private Xvfb and becomes the display. Positions are
#   X coordinates (not negative); Wine puts the primary at 0,0, so a monitor left of it gets
#   negative x.
# --dpi sets the display scale Wine reports (LogPixels), with the switch that makes Wine honour
#   each program's declared DPI awareness instead of treating every program as aware.
set -uo pipefail

size=1024x768
monitors=""
dpi=""
wine=${ORLIVEX_WINE:-8}
args=("$@")
while [ $# -gt 0 ]; do
    case "$1" in
        --wine) wine=$2; shift 2 ;;
        --size) size=$2; shift 2 ;;
        --monitors) monitors=$2; shift 2 ;;
        --dpi) dpi=$2; shift 2 ;;
        *) break ;;
    esac
done

here=$(cd "$(dirname "$0")" && pwd)
case "$wine" in
    8)
        if [ "${ORLIVEX_WINE10_INSIDE:-}" = 1 ]; then
            echo "with-wine: Wine 8 is not in the root of Wine 10" >&2
            exit 2
        fi
        ;;
    10)
        if [ "${ORLIVEX_WINE10_INSIDE:-}" != 1 ]; then
            root=$("$here/make-wine10-root.sh") || exit 1
            binds=()
            IFS=: read -r -a extra <<< "${ORLIVEX_WINE10_BINDS:-}"
            for dir in "$(dirname "$here")" "$PWD" "${extra[@]}"; do
                [ -n "$dir" ] && [ "$dir" != / ] && binds+=(--bind "$dir" "$dir")
            done
            # A mount namespace of its own: nothing stays mounted when bwrap ends.
            exec bwrap --bind "$root" / --dev-bind /dev /dev --proc /proc --bind /tmp /tmp "${binds[@]}" \
                --die-with-parent --chdir "$PWD" \
                --setenv ORLIVEX_WINE 10 --setenv ORLIVEX_WINE10_INSIDE 1 "$here/with-wine.sh" "${args[@]}"
        fi
        ;;
    *) echo "with-wine: --wine is 8 or 10, not $wine" >&2; exit 2 ;;
esac
export ORLIVEX_WINE=$wine
work=$(mktemp -d -t orlivex-wine.XXXXXX)
xvfb_pid=""
xephyr_pid=""
server_pid=""

cleanup() {
    if [ -n "$server_pid" ]; then
        WINEPREFIX="$work/prefix" wineserver -k >/dev/null 2>&1
        kill "$server_pid" 2>/dev/null
        wait "$server_pid" 2>/dev/null
    fi
    if [ -n "$xephyr_pid" ]; then
        kill "$xephyr_pid" 2>/dev/null
        wait "$xephyr_pid" 2>/dev/null
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null
        wait "$xvfb_pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# Starts an X server that picks a free display and writes its number to a pipe; sets $display.
start_server() {
    local name=$1
    shift
    mkfifo "$work/$name.fifo"
    exec 3<> "$work/$name.fifo"
    "$@" -displayfd 3 -nolisten tcp >"$work/$name.log" 2>&1 &
    server_started=$!
    display=""
    read -r -t 30 display <&3 || true
    exec 3>&-
    if [ -z "$display" ]; then
        echo "with-wine: $name did not start" >&2
        cat "$work/$name.log" >&2
        exit 1
    fi
}

screens=()
if [ -n "$monitors" ]; then
    # The outer screen only has to hold Xephyr's windows: the bounding box of the monitors.
    right=0
    bottom=0
    for m in $monitors; do
        if ! [[ $m =~ ^([0-9]+)x([0-9]+)\+([0-9]+)\+([0-9]+)$ ]]; then
            echo "with-wine: bad monitor $m (WxH+X+Y)" >&2
            exit 2
        fi
        w=${BASH_REMATCH[1]} h=${BASH_REMATCH[2]} x=${BASH_REMATCH[3]} y=${BASH_REMATCH[4]}
        (( x + w > right )) && right=$(( x + w ))
        (( y + h > bottom )) && bottom=$(( y + h ))
        screens+=(-origin "$x,$y" -screen "${w}x${h}x24")
    done
    size=${right}x${bottom}
fi

start_server xvfb Xvfb -screen 0 "${size}x24" -noreset
xvfb_pid=$server_started
export DISPLAY=":$display"
if [ ${#screens[@]} -gt 0 ]; then
    start_server xephyr Xephyr +xinerama -extension RANDR "${screens[@]}" -noreset
    xephyr_pid=$server_started
    export DISPLAY=":$display"
fi

# Wine takes the user-interface language from the locale: programs run in English unless a test or
# a screenshot asks for another language.
export LC_ALL=en_US.UTF-8

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
if [ -n "$dpi" ]; then
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 &&
        wine reg add 'HKCU\Control Panel\Desktop' /v DpiScalingVer /t REG_DWORD /d 0x1018 /f >/dev/null 2>&1 ||
        { echo "with-wine: setting the DPI failed" >&2; exit 1; }
    # Wine 10 gives each monitor the DPI the system had when the server first listed the displays
    # (at 96 here, since the prefix was new): a new server lists them again at the new DPI, so the
    # monitors and the system agree, as on Windows with one scale for every monitor.
    wineserver -k >/dev/null 2>&1
    wait "$server_pid" 2>/dev/null
    wineserver -f -p &
    server_pid=$!
fi

# For measurements from outside: the display server of this run.
export ORLIVEX_XVFB_PID=$xvfb_pid
"$@"
