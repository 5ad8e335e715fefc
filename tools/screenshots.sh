#!/usr/bin/env bash
# Inside tools/with-wine.sh: shows orlivex.scr over a drawn desktop and photographs it:
#   configure-en.png, configure-ja.png  the configuration dialog with its live preview, in English
#                                       (en_US.UTF-8) and in Japanese (ja_JP.UTF-8)
#   takeover.gif                        the saver taking over the desktop, a few seconds, half size
#   saver.png                           the saver a few seconds later
#   tools/screenshots.sh path/to/orlivex.scr folder
set -euo pipefail
scr=$1
shots=$2
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d -t orlivex-shots.XXXXXX)
trap 'rm -rf "$work"' EXIT

# The visible window of orlivex.scr (Wine names its X windows' class after the program), or
# failure after 30 s.
wait_for_window() {
    local window
    for _ in $(seq 150); do
        window=$(xdotool search --onlyvisible --classname orlivex.scr 2>/dev/null | head -n 1) || true
        if [ -n "$window" ]; then
            echo "$window"
            return 0
        fi
        sleep 0.2
    done
    echo "no window of orlivex.scr" >&2
    return 1
}

# Ends program pid with a key press and waits for it; fails unless it ends with 0.
end_with_key() {
    local pid=$1 key=$2
    xdotool key "$key"
    local status=0
    wait "$pid" || status=$?
    if [ "$status" -ne 0 ]; then
        echo "orlivex.scr ended with $status" >&2
        return 1
    fi
}

now_ms() { echo $(($(date +%s%N) / 1000000)); }

# The desktop is the root window's background: the saver seeds from it like from any screen.
read -r width height < <(xdpyinfo | awk '/dimensions:/ { split($2, d, "x"); print d[1], d[2] }')
"$here/draw-desktop.sh" "$width" "$height" "$work/desktop.png"
# display exits with 1 after setting a background; whether it worked is read back from the screen.
display -window root "$work/desktop.png" || true
import -silent -window root "$work/screen.png"
if [ "$(compare -fuzz 3% -metric AE "$work/desktop.png" "$work/screen.png" null: 2>&1 || true)" != 0 ]; then
    echo "the desktop picture is not on the screen" >&2
    exit 1
fi

for language in en_US:en ja_JP:ja; do
    LC_ALL=${language%%:*}.UTF-8 wine "$scr" /c &
    dialog=$!
    window=$(wait_for_window)
    sleep 2  # a few generations in the preview
    eval "$(xdotool getwindowgeometry --shell "$window")"
    import -silent -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/configure-${language#*:}.png"
    end_with_key "$dialog" Escape
done

# The animation: the desktop held for a moment, then frames of the saver as fast as they can be
# taken (about 40 ms each), each shown for as long as it lasted.
import -silent -window root "$work/frame-000.miff"
wine "$scr" /s &
saver=$!
wait_for_window >/dev/null
frames=()
delays=()
start=$(now_ms)
taken=$start
i=0
while [ $((taken - start)) -lt 4500 ]; do
    i=$((i + 1))
    frame=$(printf '%s/frame-%03d.miff' "$work" "$i")
    import -silent -window root "$frame"
    sleep 0.08
    next=$(now_ms)
    frames+=("$frame")
    delays+=($(((next - taken + 5) / 10)))
    taken=$next
done
# The desktop gets a palette of its own; the saver's frames need only a few colours.
arguments=()
for k in "${!frames[@]}"; do arguments+=(-delay "${delays[$k]}" "${frames[$k]}"); done
convert \( -delay 150 "$work/frame-000.miff" -filter box -resize 50% -colors 256 \) \
    \( "${arguments[@]}" -filter box -resize 50% +dither -colors 16 \) \
    -layers Optimize -loop 0 "$shots/takeover.gif"

import -silent -window root "$shots/saver.png"
end_with_key "$saver" shift
