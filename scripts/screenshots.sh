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

source scripts/wine-env.sh
work=$(mktemp -d "$build/screenshots.XXXXXX")
chw_session "$work"
# The program as its setup program installs it.
chw_test_prefix "$build" "$work/prefix" "$build/installer/chimewell-setup.exe" ||
    { echo "the setup did not install" >&2; exit 1; }

# Every program of this prefix in one Wine desktop with a taskbar, so the tray icon and its menu show;
# the tray's first-time hint is taken as seen, so that its balloon does not cover the menu.
chw_regedit <<'REG'
REGEDIT4

[HKEY_CURRENT_USER\Software\Wine\Explorer]
"Desktop"="chimewell"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]
"chimewell"="1024x768"

[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops\chimewell]
"EnableShell"=dword:00000001

[HKEY_LOCAL_MACHINE\SOFTWARE\TALLOWMERE\CHWL]
"TrayHintShown"="Yes"
REG

chw_xvfb || exit 1

# The scenario asks for each picture with <name>.req (and <name>.geom, the part to keep); the
# answer is <name>.done once the picture is saved.
raw="$work/raw"
export CHW_E2E_SHOTS="$work/shots" CHW_SCREENSHOTS=1
chw_shooter "$CHW_E2E_SHOTS" "$raw"
export CHW_E2E_PLAYER
CHW_E2E_PLAYER=$(find "$build/tools" -iname 'standin-player.exe' -print -quit)
export CHW_E2E_CHWLU="$build/src/platform/win32/CHWLU.EXE"

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
