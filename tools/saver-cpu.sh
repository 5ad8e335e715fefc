#!/usr/bin/env bash
# CPU of the running saver beside the floor, measured from outside the processes over a busy picture
# (grey noise from the benchmark's backdrop). The floor is the benchmark's bare floor program: a
# topmost window over the screen that copies one screen-sized DIB section to itself with one BitBlt
# on each timer tick, computing nothing. They run one after the other (two topmost full-screen
# windows would clip each other): saver, floor, saver, floor. Each figure is the user + system time of
# the program's own process from /proc/<pid>/stat over the span after a 4 s start; the best of the
# two spans of each program makes the ratio. The Wine server and X server are shown for the saver.
#   tools/with-wine.sh --size 1920x1080 tools/saver-cpu.sh [cell size] [interval ms] [seconds]
set -euo pipefail
size=${1:-2}
interval=${2:-50}
span=${3:-8}
startup=4
build=${BUILD:-build}
key='HKCU\Software\Kuroko\Orlivex'
wine reg add "$key" /v size /t REG_DWORD /d "$size" /f >/dev/null 2>&1
wine reg add "$key" /v interval /t REG_DWORD /d "$interval" /f >/dev/null 2>&1

# Clock ticks of user and kernel time of a process (fields 14 and 15 of its stat line).
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
# Arithmetic by awk: bc need not be installed (the Wine 10 root has none).
calc() { awk "BEGIN { print $1 }"; }
percent() { calc "$1 * 100 / $hz / $2"; }

wine "$build/bench/orlivex_bench.exe" backdrop $((4 * (span + startup) + 20)) >/dev/null 2>&1 &
backdrop=$!
sleep 4
# The Wine server of this prefix works in its server directory, named after the prefix's device and inode.
serverdir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server=""
for cwd in /proc/[0-9]*/cwd; do
    if [ "$(basename "$(readlink "$cwd" 2>/dev/null)")" = "$serverdir" ]; then
        pid=${cwd#/proc/}; pid=${pid%/cwd}
        case "$(cat "/proc/$pid/comm")" in wineserver*) server=$pid ;; esac
    fi
done

# Runs one program for the start and the span; prints its CPU % over the span and sets $cpu to it.
# For the saver, the Wine server and X server over the same span follow.
measure() {
    local name=$1 program
    shift
    wine "$@" >/dev/null 2>&1 &
    program=$!
    sleep "$startup"
    [ -e "/proc/$program" ] || { wait "$program"; echo "saver-cpu: $name ended with $?" >&2; exit 1; }
    local pids="$program"
    [ "$name" = saver ] && pids="$program $server ${ORLIVEX_XVFB_PID:-}"
    declare -A before
    for pid in $pids; do before[$pid]=$(ticks "$pid"); done
    local start end
    start=$(date +%s.%N)
    sleep "$span"
    end=$(date +%s.%N)
    local wall
    wall=$(calc "$end - $start")
    cpu=$(percent "$(($(ticks "$program") - ${before[$program]}))" "$wall")
    printf '  %-6s %5.2f %% of one core over %.1f s' "$name" "$cpu" "$wall"
    for pid in $pids; do
        [ "$pid" = "$program" ] && continue
        printf ', %s %.2f %%' "$(cut -c1-12 "/proc/$pid/comm")" "$(percent "$(($(ticks "$pid") - ${before[$pid]}))" "$wall")"
    done
    printf '\n'
    kill "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
    sleep 1  # the backdrop repaints where the program was
}

printf 'cell size %s, interval %s ms; CPU over %s s after a %s s start (load average %s)\n' "$size" "$interval" \
    "$span" "$startup" "$(cut -d' ' -f1-3 /proc/loadavg)"
best_saver="" best_floor=""
for round in 1 2; do
    measure saver "$build/orlivex.scr" /s
    [ -z "$best_saver" ] || [ "$(calc "$cpu < $best_saver")" = 1 ] && best_saver=$cpu
    measure floor "$build/bench/orlivex_bench.exe" floor $((span + startup + 5)) "$interval"
    [ -z "$best_floor" ] || [ "$(calc "$cpu < $best_floor")" = 1 ] && best_floor=$cpu
done
printf 'best of two: saver %.2f %%, floor %.2f %%, ratio %.2f\n' "$best_saver" "$best_floor" \
    "$(calc "$best_saver / $best_floor")"
kill "$backdrop" 2>/dev/null || true
wait "$backdrop" 2>/dev/null || true
