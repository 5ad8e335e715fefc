#!/usr/bin/env bash
# Inside tools/with-wine.sh: shows the configuration dialog and the saver, and photographs both.
#   tools/screenshots.sh path/to/orlivex.scr folder
set -euo pipefail
scr=$1
shots=$2

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

# The dialog first: it is also the picture the saver seeds from.
wine "$scr" /c &
dialog=$!
sleep 4
geometry=$(xdotool search --name 'Orlivex Screen Saver' getwindowgeometry --shell | tr '\n' ' ')
eval "$geometry"
import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shots/configure.png"

wine "$scr" /s &
saver=$!
sleep 4
import -window root "$shots/saver.png"
end_with_key "$saver" shift
sleep 1
end_with_key "$dialog" Escape
