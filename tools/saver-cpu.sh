#!/usr/bin/env bash
# CPU of the running saver measured from outside its process: orlivex.scr /s over a busy picture
# (grey noise from the benchmark's backdrop), sampled from /proc/<pid>/stat, together with the Wine
# server and the X server, which do part of the drawing work.
#   tools/with-wine.sh --size 1920x1080 tools/saver-cpu.sh [cell size] [interval ms] [seconds]
set -euo pipefail
size=${1:-2}
interval=${2:-50}
span=${3:-8}
build=${BUILD:-build}
key='HKCU\Software\Kuroko\Orlivex'
wine reg add "$key" /v size /t REG_DWORD /d "$size" /f >/dev/null 2>&1
wine reg add "$key" /v interval /t REG_DWORD /d "$interval" /f >/dev/null 2>&1

# Clock ticks of user and kernel time of a process (fields 14 and 15 of its stat line).
ticks() { awk '{ sub(/^.*\) /, ""); print $12 + $13 }' "/proc/$1/stat"; }

wine "$build/bench/orlivex_bench.exe" backdrop $((span + 10)) >/dev/null 2>&1 &
backdrop=$!
sleep 4
wine "$build/orlivex.scr" /s >/dev/null 2>&1 &
saver=$!
sleep 2  # past the start-up: seeding and the first paint
[ -e "/proc/$saver" ] || { wait "$saver"; echo "saver-cpu: the saver ended with $?" >&2; exit 1; }
# The Wine server of this prefix works in its server directory, named after the prefix's device and inode.
serverdir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
server=""
for cwd in /proc/[0-9]*/cwd; do
    if [ "$(basename "$(readlink "$cwd" 2>/dev/null)")" = "$serverdir" ]; then
        pid=${cwd#/proc/}; pid=${pid%/cwd}
        case "$(cat "/proc/$pid/comm")" in wineserver*) server=$pid ;; esac
    fi
done
pids="$saver $server $ORLIVEX_XVFB_PID"
declare -A before
for pid in $pids; do before[$pid]=$(ticks "$pid"); done
start=$(date +%s.%N)
sleep "$span"
end=$(date +%s.%N)
hz=$(getconf CLK_TCK)
printf 'cell size %s, interval %s ms, %.1f s after the first 2 s:\n' "$size" "$interval" "$(echo "$end - $start" | bc)"
for pid in $pids; do
    name=$(tr '\0' ' ' <"/proc/$pid/cmdline" | cut -c1-40)
    printf '  %-40s %5.1f %% of one core\n' "$name" \
        "$(echo "($(ticks "$pid") - ${before[$pid]}) * 100 / $hz / ($end - $start)" | bc -l)"
done
kill "$saver" "$backdrop" 2>/dev/null || true
wait "$saver" "$backdrop" 2>/dev/null || true
