#!/usr/bin/env bash
# Inside tools/with-wine.sh: shows orlivex.scr over a drawn desktop and photographs it:
#   configure-en.png, configure-ja.png  the configuration dialog with its live preview, in English
#                                       (en_US.UTF-8) and in Japanese (ja_JP.UTF-8)
#   takeover.gif                        the saver taking over the desktop, a few seconds, half size
#   saver.png                           the saver a few seconds later
#   wallpaper.png                       a JPEG wallpaper, and beside it the saver grown from it with
#                                       picture 1 (the wallpaper), both half size
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

# The wallpaper: a smooth landscape, clouded sky over three ranges of wooded hills, of every grey level, so that any
# band the clock picks grows shapes. Wine's desktop cannot show a JPEG, so what the saver shows it
# read from the file itself. Drawn at a quarter of the size: -fx takes a minute at full size.
a="(0.48+0.05*sin(i/w*7+1)+0.02*sin(i/w*19))"
b="(0.64+0.07*sin(i/w*4.5+2)+0.02*sin(i/w*23))"
c="(0.80+0.05*sin(i/w*3+4))"
t="(j/h)"
convert -size "$((width / 4))x$((height / 4))" xc: \( -seed 5 plasma:grey50-grey50 -colorspace Gray -blur 0x6 -auto-level \) \
    -fx "($t<$a ? 1-0.45*$t : ($t<$b ? 0.62-0.5*($t-$a) : ($t<$c ? 0.42-0.6*($t-$b) : 0.26-0.9*($t-$c)))) + 0.3*(v-0.5)" \
    -resize "${width}x${height}!" -blur 0x2 \( -size 1x256 gradient:'#cfe6f7'-'#0e2a12' -rotate 90 \) -clut \
    -quality 92 "$work/wallpaper.jpg"
wine reg add 'HKCU\Control Panel\Desktop' /v Wallpaper /t REG_SZ /d "Z:${work//\//\\}\\wallpaper.jpg" /f >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v WallpaperStyle /t REG_SZ /d 10 /f >/dev/null
wine reg add 'HKCU\Control Panel\Desktop' /v TileWallpaper /t REG_SZ /d 0 /f >/dev/null
wine reg add 'HKCU\Software\Kuroko\Orlivex' /v picture /t REG_DWORD /d 1 /f >/dev/null
wine "$scr" /s &
saver=$!
wait_for_window >/dev/null
# The first generations: the board is painted as the window appears.
import -silent -window root "$work/grown.png"
end_with_key "$saver" shift
wine reg delete 'HKCU\Software\Kuroko\Orlivex' /v picture /f >/dev/null
convert \( "$work/wallpaper.jpg" -resize 50% \) \( "$work/grown.png" -resize 50% \) -background white -splice 8x0 \
    +append -chop 8x0 "$shots/wallpaper.png"
