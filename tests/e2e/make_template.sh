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
export WINEPREFIX="$dir" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
timeout -k 5 180 wineboot -i >/dev/null 2>&1
# Wine links the profile's Desktop, Documents, Downloads... to the Linux home: a scenario must not see
# (nor let the updater offer) whatever lies there. Plain empty folders instead.
for link in "$dir"/drive_c/users/*/*; do
    if [ -L "$link" ]; then rm -f "$link"; mkdir -p "$link"; fi
done
# This Wine looks for its own fonts under a broken relative path, so Marlett (the title-bar buttons),
# Tahoma and MS Sans Serif never load; the prefix's Fonts folder is searched all the same.
cp -f /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$dir/drive_c/windows/Fonts/" 2>/dev/null || true
# Without a window manager, Wine waits ~2 s on every hide of a managed window; tests hide many.
# No crash dialog: a crash must fail the test, not wait for a click.
# Comic Sans MS is not free; its metric-alike keeps the layout close to what users see.
reg=$(mktemp --suffix=.reg)
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Comic Sans MS"="Comic Neue"
REG
timeout -k 5 60 wine regedit /S "$(echo "Z:$reg" | tr / '\\')" >/dev/null 2>&1
timeout -k 5 60 wineserver -w || true
rm -f "$reg"
echo "$want" >"$stamp"
