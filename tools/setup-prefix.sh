#!/usr/bin/env bash
# Settings for a fresh Wine prefix (WINEPREFIX must be set): a Japanese font behind the
# dialog font, so the user-interface texts render as text.
set -euo pipefail
font=/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc
[ -f "$font" ] || exit 0
reg=$(mktemp --suffix=.reg)
cat > "$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"MS UI Gothic"="Noto Sans CJK JP"
"MS Shell Dlg"="Noto Sans CJK JP"
"MS Shell Dlg 2"="Noto Sans CJK JP"
"Tahoma"="Noto Sans CJK JP"
REG
wine regedit /S "$reg" >/dev/null 2>&1
rm -f "$reg"
