#!/usr/bin/env bash
# Sets up and builds Chimewell, installs it with its setup program into a private Wine prefix kept
# between runs (~/.local/share/chimewell/wineprefix, or $CHIMEWELL_PREFIX), and starts it inside a
# Wine desktop window so that the tray shows. The script ends when Chimewell ends (Settings > Exit,
# or Exit in the tray menu); Ctrl+C ends it at once.
# Without a display it runs on Xvfb for a short while and saves screenshots instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup-deps.sh
bash scripts/build.sh

setup="$root/build/win/installer/chimewell-setup.exe"
[ -f "$setup" ] || { echo "chimewell-setup.exe was not built (is makensis installed?)" >&2; exit 1; }
player=$(find "$root/build/win/tools" -iname 'standin-player.exe' -print -quit 2>/dev/null || true)

source scripts/wine-env.sh
export WINEPREFIX="${CHIMEWELL_PREFIX:-$HOME/.local/share/chimewell/wineprefix}"
if [ ! -f "$WINEPREFIX/.chimewell-ready" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once; about a minute)..."
    mkdir -p "$(dirname "$WINEPREFIX")"
    ( unset DISPLAY; wineboot -i >/dev/null 2>&1 )
fi
if [ "$(cat "$WINEPREFIX/.chimewell-ready" 2>/dev/null)" != "3" ]; then
    # A taskbar with its notification area in the desktop window, so the tray icon shows.
    chw_regedit <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Comic Sans MS"="Comic Neue"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\chimewell]
"EnableShell"=dword:00000001
REG
    chw_fonts "$WINEPREFIX"
    echo 3 >"$WINEPREFIX/.chimewell-ready"
fi

# Install with the setup program, as a user would; again whenever the build changed (an upgrade in
# place keeps the settings). The setup ends a Chimewell that is still running in this prefix.
dest="$WINEPREFIX/drive_c/Program Files/Tallowmer/CHWL"
stamp="$WINEPREFIX/.chimewell-setup.sha256"
want=$(sha256sum "$setup" | cut -d' ' -f1)
if [ ! -f "$dest/CHWLU.EXE" ] || [ "$(cat "$stamp" 2>/dev/null)" != "$want" ]; then
    echo "Installing Chimewell with $setup ..."
    ( unset DISPLAY; wine "$setup" /S >/dev/null 2>&1 )
    [ -f "$dest/CHWLU.EXE" ] || { echo "the setup program did not install CHWLU.EXE" >&2; exit 1; }
    echo "$want" >"$stamp"
fi

# A player: the stand-in, only where no Winamp.exe is installed.
winamp="$WINEPREFIX/drive_c/Program Files/Winamp"
if [ ! -e "$winamp/Winamp.exe" ] && [ -n "$player" ]; then
    mkdir -p "$winamp"
    cp -f "$player" "$winamp/Winamp.exe"
    echo "Installed the stand-in player as C:\\Program Files\\Winamp\\Winamp.exe"
fi

run_program() {
    cd "$dest"
    # explorer returns when the desktop closes, which it does once its last program has ended.
    wine explorer /desktop=chimewell,1024x768 'C:\Program Files\Tallowmer\CHWL\CHWLU.EXE'
}

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Chimewell in a Wine desktop window (end it with Settings > Exit)..."
    run_program
    exit 0
fi

# No display: run on Xvfb for a short while and keep screenshots.
shots="$root/build/run-screenshots"
mkdir -p "$shots"
chw_session "$(mktemp -d)"
chw_xvfb || exit 1
echo "No display: running on Xvfb $DISPLAY; screenshots go to $shots"
run_program &
for t in 2 6 12 20; do
    sleep $((t - ${prev:-0})); prev=$t
    import -window root "$shots/chimewell-${t}s.png" && echo "  $shots/chimewell-${t}s.png"
done
echo "Done; the program was ended with the Xvfb session."
