#!/usr/bin/env bash
# Checks the stand-in player under Wine: replies, log lines and fault switches.
# Usage: check.sh <folder with standin-player.exe and standin-probe.exe> [Windows build dir]
# Runs in a throw-away Wine prefix (a copy of the build's template prefix when a build dir is given),
# on an Xvfb display of its own when there is no display.
set -u
BIN=$(cd "${1:?folder of standin-player.exe}" && pwd)
source "$(dirname "$0")/../../scripts/wine-env.sh"
chw_session "$(mktemp -d /tmp/standin-check.XXXXXX)"
WORK=$chw_work
if [ -z "${DISPLAY:-}" ]; then
    chw_xvfb || exit 1
fi
if [ -n "${2:-}" ]; then
    chw_test_prefix "$(cd "$2" && pwd)" "$WORK/prefix" || exit 1
elif [ -z "${WINEPREFIX:-}" ]; then
    export WINEPREFIX="$WORK/prefix"
    wineboot -i >/dev/null 2>&1
fi
wineserver -p 30
wine "$BIN/standin-probe.exe" count >/dev/null 2>&1  # the first Wine process of a prefix is slow

FAILS=0
probe() { wine "$BIN/standin-probe.exe" "$@" 2>/dev/null | tr -d '\r'; }
expect() {  # expect <what> <wanted> <got>
    if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: wanted '$2', got '$3'"; FAILS=$((FAILS + 1)); fi
}
start() {  # start <log> [switches...]
    log=$1; shift
    CHW_STANDIN_LOG="$log" wine "$BIN/standin-player.exe" "$@" >/dev/null 2>&1 &
    probe wait 30000 >/dev/null
}
messages() { grep -v '^#' "$1" | tr -d '\r' | tr '\n' '|'; }

# Replies and the log of a plain session.
L="$WORK/plain.log"
start "$L"
expect "version is 5.x" 20625 "$(probe version)"
expect "stopped at start" 0 "$(probe status)"
probe volume 255 >/dev/null
probe play >/dev/null
expect "playing after Play" 1 "$(probe status)"
probe pause >/dev/null
expect "paused after Pause" 3 "$(probe status)"
probe pause >/dev/null
expect "playing after second Pause" 1 "$(probe status)"
probe stop >/dev/null
expect "stopped after Stop" 0 "$(probe status)"
probe close >/dev/null
expect "gone after close" 0 "$(probe count)"
expect "log lines" "WM_USER 0 0|WM_USER 0 104|WM_USER 255 122|WM_COMMAND 40045 0|WM_USER 0 104|WM_COMMAND 40046 0|WM_USER 0 104|WM_COMMAND 40046 0|WM_USER 0 104|WM_COMMAND 40047 0|WM_USER 0 104|WM_COMMAND 40001 0|" "$(messages "$L")"

# Switches from the command line.
L="$WORK/refuse.log"
start "$L" --refuse-close start-playing
expect "start-playing" 1 "$(probe status)"
probe close >/dev/null
expect "refuse-close keeps the window" 1 "$(probe count)"
wineserver -k; wineserver -w; wineserver -p 30

# Switches from standin.ini beside the exe, installed under the player's usual name.
DIR="$WINEPREFIX/drive_c/Program Files/Winamp"
mkdir -p "$DIR"
cp "$BIN/standin-player.exe" "$DIR/Winamp.exe"
printf '[faults]\r\n; paused from the start\r\nstart-paused\r\n' > "$DIR/standin.ini"
rm -f "$DIR/standin.log"
unset CHW_STANDIN_LOG
wine 'C:\Program Files\Winamp\Winamp.exe' >/dev/null 2>&1 &
probe wait 30000 >/dev/null
expect "start-paused from standin.ini" 3 "$(probe status)"
probe close >/dev/null
expect "log beside the exe" "WM_USER 0 104|WM_COMMAND 40001 0|" "$(messages "$DIR/standin.log")"
rm -f "$DIR/standin.ini"

# Switches from the environment: a late window, then a hang at the first status query.
L="$WORK/hang.log"
CHW_STANDIN_FAULTS="late-window=1500,hang" CHW_STANDIN_LOG="$L" wine "$BIN/standin-player.exe" >/dev/null 2>&1 &
sleep 0.7
expect "no window yet with late-window" 0 "$(probe count)"
probe wait 30000 >/dev/null
expect "window after the delay" 1 "$(probe count)"
expect "hang: no reply to the status query" timeout "$(probe status)"
expect "hang logged the query first" "WM_USER 0 104|" "$(messages "$L")"

# A hang as soon as the window is up: the window stays, nothing is handled.
# The player hung above is ended first: waiting for a window must mean this one's.
wineserver -k; wineserver -w; wineserver -p 30
L="$WORK/hang-at-start.log"
start "$L" hang-at-start
expect "hang-at-start keeps its window" 1 "$(probe count)"
expect "hang-at-start hangs right after the window" "# window ready|# hanging|" \
    "$(grep -E '^# (window ready|hanging)' "$L" | tr -d '\r' | tr '\n' '|')"

[ "$FAILS" -eq 0 ] && echo "all stand-in player checks passed" || echo "$FAILS check(s) failed"
exit "$FAILS"
