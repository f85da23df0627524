#!/usr/bin/env bash
# Makes the Wine prefix that every scenario copies (wineboot is slow, a copy is fast).
# Usage: make_template.sh <dir>. Does nothing when the template is ready for this Wine.
set -euo pipefail
dir=$1
stamp="$dir/.chw-template"
want="$(wine --version 2>/dev/null) v4"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then exit 0; fi
rm -rf "$dir"
mkdir -p "$(dirname "$dir")"
source "$(dirname "$0")/../../scripts/wine-env.sh"
export WINEPREFIX="$dir" WINEDEBUG=-all
unset DISPLAY
timeout -k 5 180 wineboot -i >/dev/null 2>&1
# Wine links the profile's Desktop, Documents, Downloads... to the Linux home: a scenario must not see
# (nor let the updater offer) whatever lies there. Plain empty folders instead.
for link in "$dir"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
done
chw_fonts "$dir"
# Without a window manager, Wine waits ~2 s on every hide of a managed window; tests hide many.
# No crash dialog: a crash must fail the test, not wait for a click.
# Comic Sans MS is not free; its metric-alike keeps the layout close to what users see.
chw_regedit <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Comic Sans MS"="Comic Neue"
REG
echo "$want" >"$stamp"
