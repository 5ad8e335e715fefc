#!/usr/bin/env bash
# Settings for a fresh Wine prefix (WINEPREFIX must be set):
# - no window-manager handshake: a private Xvfb screen has no window manager, and Wine would wait
#   for one for seconds whenever a window is hidden or destroyed;
# - a Japanese font behind the dialog fonts, so the user-interface texts render as text;
# - Wine's Marlett in the prefix's Fonts folder (Wine looks for it only there and in fontconfig's
#   folders), so the caption buttons draw their glyphs instead of letters.
set -euo pipefail
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ]; then
    mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
fi
reg=$(mktemp --suffix=.reg)
cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"
REG
if [ -f /usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc ]; then
    cat >> "$reg" <<'REG'

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="Noto Sans CJK JP"
"MS Shell Dlg"="Noto Sans CJK JP"
"MS Shell Dlg 2"="Noto Sans CJK JP"
"Tahoma"="Noto Sans CJK JP"
REG
fi
wine regedit /S "$reg" >/dev/null 2>&1
rm -f "$reg"
