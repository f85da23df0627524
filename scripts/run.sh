#!/usr/bin/env bash
# Sets up, builds and starts Chimewell under Wine in a private prefix kept between runs
# (~/.local/share/chimewell/wineprefix), inside a Wine desktop window so that the tray shows.
# Without a display it runs on Xvfb and saves a few screenshots instead.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

bash scripts/setup-deps.sh
bash scripts/build.sh

exe="$root/build/win/src/platform/win32/CHWLU.EXE"
[ -f "$exe" ] || { echo "CHWLU.EXE was not built" >&2; exit 1; }
player=$(find "$root/build/win/tools" -iname 'standin-player.exe' -print -quit 2>/dev/null || true)

export WINEPREFIX="${CHIMEWELL_PREFIX:-$HOME/.local/share/chimewell/wineprefix}"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/.chimewell-ready" ]; then
    echo "Making the Wine prefix $WINEPREFIX (once; about a minute)..."
    mkdir -p "$(dirname "$WINEPREFIX")"
    ( unset DISPLAY; wineboot -i >/dev/null 2>&1 )
fi
if [ "$(cat "$WINEPREFIX/.chimewell-ready" 2>/dev/null)" != "2" ]; then
    # A taskbar with its notification area in the desktop window, so the tray icon shows.
    reg=$(mktemp --suffix=.reg)
    cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"Comic Sans MS"="Comic Neue"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\chimewell]
"EnableShell"=dword:00000001
REG
    ( unset DISPLAY; wine regedit /S "$(echo "Z:$reg" | tr / '\\')" >/dev/null 2>&1 )
    wineserver -w || true
    rm -f "$reg"
    echo 2 >"$WINEPREFIX/.chimewell-ready"
fi

# The program, where it expects to live, refreshed from the build on every run.
dest="$WINEPREFIX/drive_c/Program Files/Tallowmer/CHWL"
mkdir -p "$dest"
cp -f "$exe" "$dest/CHWLU.EXE"
for extra in CHWLHELP.DOC update.exe Update.exe; do
    f=$(find "$root/build/win" "$root/resources" "$root/tools" -maxdepth 4 -name "$extra" -print -quit 2>/dev/null || true)
    [ -n "$f" ] && cp -f "$f" "$dest/"
done

# A player: the stand-in, only where no Winamp.exe is installed.
winamp="$WINEPREFIX/drive_c/Program Files/Winamp"
if [ ! -e "$winamp/Winamp.exe" ] && [ -n "$player" ]; then
    mkdir -p "$winamp"
    cp -f "$player" "$winamp/Winamp.exe"
    echo "Installed the stand-in player as C:\\Program Files\\Winamp\\Winamp.exe"
fi

run_program() {
    cd "$dest"
    wine explorer /desktop=chimewell,1024x768 'C:\Program Files\Tallowmer\CHWL\CHWLU.EXE'
}

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting Chimewell (close it with Settings > Exit)..."
    run_program
    exit 0
fi

# No display: run on Xvfb for a short while and keep screenshots.
shots="$root/build/run-screenshots"
mkdir -p "$shots"
tmp=$(mktemp -d)
mkfifo "$tmp/fd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$tmp/fd" >/dev/null 2>&1 &
xvfb=$!
read -r -t 20 num <"$tmp/fd" || { echo "Xvfb did not start" >&2; kill "$xvfb"; exit 1; }
export DISPLAY=":$num"
trap 'wineserver -k >/dev/null 2>&1; kill "$xvfb" 2>/dev/null; rm -rf "$tmp"' EXIT
echo "No display: running on Xvfb $DISPLAY; screenshots go to $shots"
run_program &
for t in 2 6 12 20; do
    sleep $((t - ${prev:-0})); prev=$t
    import -window root "$shots/chimewell-${t}s.png" && echo "  $shots/chimewell-${t}s.png"
done
echo "Done; the program was ended with the Xvfb session."
