#!/usr/bin/env bash
# Takes the README's pictures from the real program: installs it with its setup program into a fresh
# private Wine prefix, runs the Screenshots scenario of the end-to-end tests inside a Wine desktop
# with a taskbar (on its own Xvfb display), and saves the cropped pictures in docs/screenshots/.
# About three minutes: the ringing picture waits for an alarm set a minute ahead.
# Usage: bash scripts/screenshots.sh [build dir, default build/win]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build/win}
if [ ! -f "$build/installer/chimewell-setup.exe" ] || [ ! -f "$build/tests/e2e/e2e_tests.exe" ]; then
    bash scripts/setup-deps.sh
    bash scripts/build.sh
    build=build/win
fi
build=$(cd "$build" && pwd)
out="$root/docs/screenshots"

template="$build/e2e-prefix-template"
flock -w 300 "$build/.e2e-template.lock" bash tests/e2e/make_template.sh "$template"

work=$(mktemp -d "$build/screenshots.XXXXXX")
xvfb_pid=""
shooter_pid=""
cleanup() {
    [ -n "$shooter_pid" ] && kill "$shooter_pid" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && timeout -k 2 15 wineserver -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

cp -a "$template" "$work/prefix"
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# Every program of this prefix in one Wine desktop with a taskbar, so the tray icon and its menu show;
# Marlett for the title-bar buttons.
reg=$work/desktop.reg
cat >"$reg" <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="chimewell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"chimewell"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\chimewell]
"EnableShell"=dword:00000001
REG
( unset DISPLAY; wine regedit /S "$(echo "Z:$reg" | tr / '\\')" >/dev/null 2>&1 )
cp -f /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
( unset DISPLAY; wine "$build/installer/chimewell-setup.exe" /S >/dev/null 2>&1 )
[ -f "$WINEPREFIX/drive_c/Program Files/Tallowmer/CHWL/CHWLU.EXE" ] || { echo "the setup did not install" >&2; exit 1; }
# The desktop process must start anew, on the display below.
timeout -k 2 60 wineserver -w || true

mkfifo "$work/displayfd"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/displayfd" >/dev/null 2>&1 &
xvfb_pid=$!
display=""
read -r -t 20 display <"$work/displayfd" || true
[ -n "$display" ] || { echo "Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$display"

# The scenario asks for each picture with <name>.req (and <name>.geom, the part to keep); the
# answer is <name>.done once the picture is saved.
raw="$work/raw"
mkdir -p "$raw" "$work/shots"
export CHW_E2E_SHOTS="$work/shots" CHW_SCREENSHOTS=1
export CHW_E2E_PLAYER
CHW_E2E_PLAYER=$(find "$build/tools" -iname 'standin-player.exe' -print -quit)
export CHW_E2E_CHWLU="$build/src/platform/win32/CHWLU.EXE"
(
    while :; do
        for req in "$CHW_E2E_SHOTS"/*.req; do
            [ -e "$req" ] || continue
            shot=$(basename "$req" .req)
            timeout 15 import -window root "$raw/$shot.png" >/dev/null 2>&1
            rm -f "$req"; touch "$CHW_E2E_SHOTS/$shot.done"
        done
        sleep 0.1
    done
) &
shooter_pid=$!

echo "Taking the pictures on display $DISPLAY (about three minutes)..."
rc=0
# Into a file, not a pipe: the Wine desktop outlives the test and would hold a pipe open.
# (Without a sound card the stand-in player's tone only makes ALSA complain: those lines are dropped.)
timeout -k 10 400 wine "$build/tests/e2e/e2e_tests.exe" --gtest_filter='Screenshots.*' >"$work/test.log" 2>&1 || rc=$?
grep -v '^ALSA lib' "$work/test.log" || true
if [ "$rc" -ne 0 ]; then
    import -window root "$build/screenshots-failed.png" >/dev/null 2>&1 || true
    echo "the screenshot scenario failed (exit $rc); the screen: $build/screenshots-failed.png" >&2
    exit 1
fi

mkdir -p "$out"
for png in "$raw"/*.png; do
    name=$(basename "$png" .png)
    geom=$(cat "$CHW_E2E_SHOTS/$name.geom" 2>/dev/null || true)
    if [ -n "$geom" ]; then
        convert "$png" -crop "$geom" +repage -strip "$out/$name.png"
    else
        convert "$png" -strip "$out/$name.png"
    fi
    echo "  docs/screenshots/$name.png"
done
