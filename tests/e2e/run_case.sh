#!/usr/bin/env bash
# Runs one end-to-end scenario: a fresh copy of the template prefix, its own Xvfb display, then a
# GoogleTest program (e2e_tests.exe unless named) with the scenario's filter under a hard timeout.
# Everything it started is ended.
# Usage: run_case.sh <build dir> <name> <gtest filter> [timeout seconds] [test program]
# With CHW_E2E_DESKTOP=1 every program of the prefix runs inside one Wine desktop with a taskbar,
# so that tray icons and their menus show. With CHW_E2E_SOUND_DEVICE=1 the prefix gets a sound
# device that writes what is played into the artefacts (sound.raw), named to the test by CHW_E2E_SOUND;
# without it there is no sound device at all.
set -uo pipefail
build=$(cd "$1" && pwd); name=$2; filter=$3; limit=${4:-180}
program=${5:-$build/tests/e2e/e2e_tests.exe}
here=$(cd "$(dirname "$0")" && pwd)

source "$here/../../scripts/wine-env.sh"
art="$build/e2e-artifacts/$name"
rm -rf "$art"; mkdir -p "$art"
# The program as its setup program installs it, where the build made one.
setup="$build/installer/chimewell-setup.exe"
installed=0
[ -f "$setup" ] && installed=1 || setup=""

work=$(mktemp -d "$build/e2e-work-$name.XXXXXX")
chw_session "$work"
if ! chw_test_prefix "$build" "$work/prefix" "$setup"; then
    echo "could not make the scenario's prefix"; exit 1
fi
if [ "${CHW_E2E_DESKTOP:-0}" = 1 ]; then
    # Wine gives the desktop named "shell" a taskbar; making it the default puts every process in it.
    cat >>"$work/prefix/user.reg" <<'REG'

[Software\\Wine\\Explorer] 1700000000
"Desktop"="shell"

[Software\\Wine\\Explorer\\Desktops] 1700000000
"shell"="1024x768"
REG
fi

chw_xvfb "$art/xvfb.log" || exit 1
export WINEDEBUG="${CHW_E2E_WINEDEBUG:--all}"
export CHW_E2E_CHWLU="$build/src/platform/win32/CHWLU.EXE" CHW_E2E_INSTALLED=$installed
export CHW_E2E_SETUP="$setup"
export CHW_E2E_PLAYER
CHW_E2E_PLAYER=$(find "$build/tools" -iname 'standin-player.exe' -print -quit 2>/dev/null)
export CHW_E2E_ARTIFACTS="$art"
# The stand-in player's messages with their times, for tools/bench/alarm_latency.py.
export CHW_STANDIN_TIMED_LOG="$art/standin-timed.log"
unset CHW_E2E_SOUND
if [ "${CHW_E2E_SOUND_DEVICE:-0}" = 1 ]; then
    printf '</usr/share/alsa/alsa.conf>\npcm.!default { type file; slave.pcm "null"; file "%s"; format "raw" }\n' \
        "$art/sound.raw" >"$work/asound.conf"
    export ALSA_CONFIG_PATH="$work/asound.conf" CHW_E2E_SOUND="$art/sound.raw"
fi

# Screenshots on request of the test program, beside its log.
export CHW_E2E_SHOTS="$work/shots"
chw_shooter "$CHW_E2E_SHOTS" "$art"

echo "scenario $name on display $DISPLAY, artefacts in $art"
# Into a file, not a pipe: programs the scenario starts (WordPad, the updater) inherit the output and
# would hold a pipe open until the prefix is ended.
timeout -k 10 "$limit" wine "$program" --gtest_filter="$filter" ${CHW_E2E_EXTRA:-} >"$art/test.log" 2>&1
rc=$?
cat "$art/test.log"
[ "$rc" -eq 124 ] && echo "scenario $name timed out after ${limit}s"
# A failure's evidence from the other side: what the stand-in player was sent, and when.
if [ "$rc" -ne 0 ] && [ -s "$art/standin-timed.log" ]; then
    echo "--- the stand-in player's last messages:"
    tail -n 40 "$art/standin-timed.log"
fi
# gtest exits 0 when the filter matched nothing or everything was skipped: neither is a pass.
ran=$(sed -n 's/^\[  PASSED  \] \([0-9][0-9]*\) tests\{0,1\}\..*/\1/p' "$art/test.log" | tail -1)
if [ "$rc" -eq 0 ] && [ "${ran:-0}" -eq 0 ] && grep -q '^\[  SKIPPED \] [0-9]* tests\{0,1\}' "$art/test.log"; then
    rc=77
elif [ "$rc" -eq 0 ] && [ "${ran:-0}" -eq 0 ]; then
    echo "scenario $name ran no test"; rc=1
fi
exit "$rc"
