#!/usr/bin/env bash
# Draws a desktop for the screenshots: a wallpaper with every grey level, an editor with text, a
# picture viewer and a taskbar, so that whatever band of grey the saver picks has shapes to seed.
#   tools/draw-desktop.sh width height out.png
set -euo pipefail
w=$1
h=$2
out=$3
regular=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
bold=/usr/share/fonts/opentype/noto/NotoSansCJK-Bold.ttc

bar=$((h - 40))
# The editor (x1, y1)-(x2, y2) and the picture viewer (u1, v1)-(u2, v2), with the viewer's picture
# pw x ph.
x1=$((w / 12)); y1=$((h / 10)); x2=$((x1 + w * 9 / 20)); y2=$((y1 + h * 11 / 20))
u1=$((w * 11 / 20)); v1=$((h * 3 / 10)); u2=$((u1 + w * 2 / 5)); v2=$((v1 + h * 9 / 20))
pw=$((u2 - u1 - 20)); ph=$((v2 - v1 - 46))
notes="The quick brown fox jumps over the lazy dog.
Conway's Game of Life: a cell is born with
three neighbours and survives with two or three.
Gliders travel, blinkers blink, blocks stay.

TODO
  - water the plants
  - reply to Hanako about Friday
  - back up the photos"

# window x1 y1 x2 y2 face caption-bar title: a shadowed window frame with its caption.
window() {
    printf '%s\n' -fill '#00000060' -draw "rectangle $(($1 + 6)),$(($2 + 6)) $(($3 + 6)),$(($4 + 6))" \
        -fill "$5" -stroke '#7a7a7a' -draw "rectangle $1,$2 $3,$4" -stroke none \
        -fill "$6" -draw "rectangle $1,$2 $3,$(($2 + 26))" \
        -font "$bold" -pointsize 14 -fill white -annotate "+$(($1 + 10))+$(($2 + 18))" "$7"
}
# button x1 x2 label: a taskbar button.
button() {
    printf '%s\n' -fill '#33415c' -draw "rectangle $1,$((bar + 6)) $2,$((h - 6))" \
        -font "$regular" -pointsize 13 -fill white -annotate "+$(($1 + 10))+$((bar + 26))" "$3"
}

mapfile -t editor < <(window "$x1" "$y1" "$x2" "$y2" '#f7f7f7' '#2b5797' 'notes.txt - Notepad')
mapfile -t viewer < <(window "$u1" "$v1" "$u2" "$v2" '#202020' '#3c3c3c' 'sunset.jpg - Photos')
mapfile -t notepadButton < <(button 100 260 'notes.txt - Notepad')
mapfile -t photosButton < <(button 270 430 'sunset.jpg - Photos')

convert -size "${w}x${h}" gradient:'#071330'-'#f2e6c9' \
    \( -size "${w}x${h}" radial-gradient:'#4a7bd0'-none \) -compose over -composite \
    -font "$bold" -pointsize 13 -fill white -annotate +24+40 'Recycle Bin' \
    "${editor[@]}" \
    -fill '#d0d0d0' -draw "rectangle $x1,$((y1 + 27)) $x2,$((y1 + 46))" \
    -font "$regular" -pointsize 12 -fill black -annotate "+$((x1 + 8))+$((y1 + 41))" 'File   Edit   Format   View   Help' \
    -font "$regular" -pointsize 15 -fill '#202020' -annotate "+$((x1 + 12))+$((y1 + 70))" "$notes" \
    "${viewer[@]}" \
    \( -size "${pw}x${ph}" gradient:'#ffb347'-'#3a1c71' \
       -fill '#ffe08a' -draw "circle $((pw / 2)),$((ph / 2)) $((pw / 2 + 30)),$((ph / 2))" \
       -fill '#0d0d1a' -draw "polygon 0,$ph $((pw / 3)),$((ph / 2)) $((pw * 2 / 3)),$((ph * 3 / 4)) $pw,$((ph / 2 - 10)) $pw,$ph" \) \
    -geometry "+$((u1 + 10))+$((v1 + 36))" -compose over -composite \
    -fill '#101820e0' -draw "rectangle 0,$bar $w,$h" \
    -fill '#2b5797' -draw "rectangle 6,$((bar + 6)) 90,$((h - 6))" \
    -font "$bold" -pointsize 14 -fill white -annotate "+22+$((bar + 26))" 'Start' \
    "${notepadButton[@]}" "${photosButton[@]}" \
    -font "$regular" -pointsize 13 -fill white -annotate "+$((w - 70))+$((bar + 26))" '10:42' \
    "$out"
