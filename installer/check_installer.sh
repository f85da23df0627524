#!/usr/bin/env bash
# Installs, upgrades, uninstalls and reinstalls chimewell-setup.exe under Wine, in a private prefix
# on its own Xvfb display, and prints one line per check and a "N passed, N failed" summary.
# Usage: check_installer.sh <build dir> <chimewell-setup.exe> <version>
set -uo pipefail
build=$(cd "$1" && pwd)
setup=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
version=$3
here=$(cd "$(dirname "$0")" && pwd)

[ -f "$setup" ] || { echo "FAIL  $setup was not built"; echo "0 passed, 1 failed"; exit 1; }

source "$here/../scripts/wine-env.sh"
work=$(mktemp -d "$build/installer-check.XXXXXX")
chw_session "$work"
chw_test_prefix "$build" "$work/prefix" || { echo "FAIL  could not make the template prefix"; echo "0 passed, 1 failed"; exit 1; }
chw_xvfb || { echo "FAIL  Xvfb did not start"; echo "0 passed, 1 failed"; exit 1; }
# Key security lives only as long as the prefix's wineserver: keep it a while after each program, so
# that the rights the setup gave can still be read after it ended.
wineserver -p20

drive="$WINEPREFIX/drive_c"
dest="$drive/Program Files/Tallowmer/CHWL"
shortcut="$drive/ProgramData/Microsoft/Windows/Start Menu/Programs/Chimewell.lnk"
win_dest='C:\Program Files\Tallowmer\CHWL'
uninst_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Chimewell'
run_key='HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
user_run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
settings_key='HKLM\SOFTWARE\TALLOWMERE\CHWL'
chwlu="$build/src/platform/win32/CHWLU.EXE"
updater="$build/src/platform/win32/update.exe"
helpdoc="$here/../resources/help/CHWLHELP.DOC"
player=$(find "$build/tools" -iname 'standin-player.exe' -print -quit 2>/dev/null)
keyrights="$build/installer/check_keyrights.exe"

passed=0; failed=0
ok() { echo "PASS  $1"; passed=$((passed + 1)); }
bad() { echo "FAIL  $1${2:+ ($2)}"; failed=$((failed + 1)); }
check() { local what=$1; shift; if "$@"; then ok "$what"; else bad "$what"; fi; }
expect_eq() { if [ "$2" = "$3" ]; then ok "$1"; else bad "$1" "got '$2', want '$3'"; fi; }

# One value's data as `reg query` prints it; empty when it is missing.
reg_get() {
    wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' |
        awk -v n="$2" 'BEGIN { FS = "    " } $2 == n { sub("^    [^ ].*    REG_[A-Z_]+    ", ""); print; exit }'
}
key_exists() { wine reg query "$1" >/dev/null 2>&1; }
value_exists() { wine reg query "$1" /v "$2" >/dev/null 2>&1; }
value_is() { [ "$(reg_get "$1" "$2")" = "$3" ]; }
key_dump() { wine reg query "$1" 2>/dev/null | tr -d '\r' | sort; }

# A process of this prefix whose command line holds the text (other developers' Wines are not ours).
running() {
    local pid
    for pid in $(pgrep -f -- "$1"); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" && return 0
    done
    return 1
}
wait_until() {  # seconds, command...
    local end=$((SECONDS + $1)); shift
    until "$@"; do [ $SECONDS -ge $end ] && return 1; sleep 0.5; done
}
not() { ! "$@"; }

install() { timeout -k 5 120 wine "$setup" /S "$@" >/dev/null 2>&1; }
# The uninstaller copies itself to the temporary folder as Un.exe and returns at once; the copy does
# the work, deletes Uninstall.exe on the way, and ends.
start_uninstall() { timeout -k 5 60 wine "$win_dest\\Uninstall.exe" /S "$@" >/dev/null 2>&1; }
await_uninstall() {
    wait_until 90 not test -e "$dest/Uninstall.exe"
    wait_until 60 not running 'nsu.*Un\.exe'
}
uninstall() { start_uninstall "$@"; await_uninstall; }
# The Windows processes of this prefix, for a failure report.
prefix_processes() {
    local pid
    for pid in $(pgrep -f -- '[A-Za-z]:\\'); do
        tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "WINEPREFIX=$WINEPREFIX" &&
            tr '\0' ' ' <"/proc/$pid/cmdline" && echo
    done
}
# The program's exit code lands in $work/chwlu.rc: 0 when it closed itself, 1 when it was ended.
start_program() {
    rm -f "$work/chwlu.rc"
    (cd "$dest" && { wine "$win_dest\\CHWLU.EXE"; echo $? >"$work/chwlu.rc"; } >/dev/null 2>&1 &)
    wait_until 30 running 'CHWLU.EXE'
}
program_exit() { wait_until 10 test -s "$work/chwlu.rc" && cat "$work/chwlu.rc"; }
# The program's main window, shown once its start-up is over.
main_window() { xdotool search --onlyvisible --name '^Chimewell System For Windows' >/dev/null 2>&1; }
# The program's question at a close request, as an X window of the display.
close_question() { xdotool search --name '^Close Chimewell\?$' >/dev/null 2>&1; }
# Yes to each of its questions (close, then save the restored alarm): Return is a question's Yes.
answer_yes() {
    local end=$((SECONDS + 15))
    local box
    while running 'CHWLU.EXE' && [ $SECONDS -lt $end ]; do
        box=$(xdotool search --name '^(Close Chimewell|Save Settings)\?$' 2>/dev/null | head -1)
        if [ -n "$box" ]; then
            # Without a window manager nothing gives a window of a program in the tray the focus.
            sleep 0.3; xdotool windowfocus "$box" 2>/dev/null; sleep 0.2; xdotool key Return
        fi
        sleep 0.7
    done
}

echo "installer checks in $WINEPREFIX on display $DISPLAY"

# ---- A fresh silent install
check "silent install succeeds" install
check "CHWLU.EXE installed as built" cmp -s "$chwlu" "$dest/CHWLU.EXE"
check "CHWLHELP.DOC installed" cmp -s "$helpdoc" "$dest/CHWLHELP.DOC"
check "update.exe installed as built" cmp -s "$updater" "$dest/update.exe"
check "uninstaller installed" test -f "$dest/Uninstall.exe"
check "Start-menu shortcut made" test -f "$shortcut"
expect_eq "Add/Remove Programs: DisplayName" "$(reg_get "$uninst_key" DisplayName)" "Chimewell"
expect_eq "Add/Remove Programs: DisplayVersion" "$(reg_get "$uninst_key" DisplayVersion)" "$version"
expect_eq "Add/Remove Programs: Publisher" "$(reg_get "$uninst_key" Publisher)" "Tallowmer"
expect_eq "Add/Remove Programs: InstallLocation" "$(reg_get "$uninst_key" InstallLocation)" "$win_dest"
expect_eq "Add/Remove Programs: UninstallString" "$(reg_get "$uninst_key" UninstallString)" "\"$win_dest\\Uninstall.exe\""
expect_eq "Add/Remove Programs: QuietUninstallString" "$(reg_get "$uninst_key" QuietUninstallString)" \
    "\"$win_dest\\Uninstall.exe\" /S"
expect_eq "Add/Remove Programs: DisplayIcon" "$(reg_get "$uninst_key" DisplayIcon)" "\"$win_dest\\CHWLU.EXE\",0"
expect_eq "Add/Remove Programs: NoModify, NoRepair" \
    "$(reg_get "$uninst_key" NoModify) $(reg_get "$uninst_key" NoRepair)" "0x1 0x1"
size=$(reg_get "$uninst_key" EstimatedSize)
check "Add/Remove Programs: EstimatedSize in KB ($size)" test "$((${size:-0}))" -gt 100
check "setup creates the settings key" key_exists "$settings_key"
expect_eq "setup writes no settings value" "$(key_dump "$settings_key" | grep -c REG_)" "0"
# Standard users: query, set value, create subkey (0x7) on that key alone (no inheritance flags).
rights=$(wine "$keyrights" 'SOFTWARE\TALLOWMERE\CHWL' 2>/dev/null | tr -d '\r')
check "standard users may write the settings key" grep -qx 'allow 0x7 S-1-5-32-545 0x0' <<<"$rights"
parent_rights=$(wine "$keyrights" 'SOFTWARE\TALLOWMERE' 2>/dev/null | tr -d '\r')
check "and not its parent" not grep -q 'allow 0x7 S-1-5-32-545' <<<"$parent_rights"
check "setup writes no Run entry" not value_exists "$run_key" Chimewell

# ---- The installed program runs and keeps its settings
mkdir -p "$drive/Program Files/Winamp"
cp -f "$player" "$drive/Program Files/Winamp/Winamp.exe"
check "installed program starts" start_program
check "installed program writes its first-start settings" wait_until 30 value_is "$settings_key" WinAmpOnStart No
# The upgrade below meets the program running, not in the middle of its start-up.
check "installed program shows its window" wait_until 60 main_window
# What a user leaves behind: a saved alarm, the options and the start-with-Windows entry.
# (Not WinAmpOnStart: a player that the program starts is not the program's to end, and it would keep
# the program folder as its working folder.)
# (TrayHintShown too: the start in the tray below would write it otherwise.)
for v in "StartInTray=Yes" "WinAmpOnStart=No" "SettingsSaved=Yes" "Date:=1/2/2030" "Time:=7:05 AM" "TrayHintShown=Yes"; do
    wine reg add "$settings_key" /v "${v%%=*}" /d "${v#*=}" /f >/dev/null 2>&1
done
wine reg add "$run_key" /v Chimewell /d "$win_dest\\CHWLU.EXE" /f >/dev/null 2>&1
settings=$(key_dump "$settings_key")

# ---- An install over an older version, while that version runs and nobody answers its question
wine reg add "$uninst_key" /v DisplayVersion /d 0.9.0 /f >/dev/null 2>&1
printf 'older' >"$dest/CHWLU.EXE.old-marker"
install &
install_pid=$!
check "setup asks the running program to close" wait_until 30 close_question
if wait "$install_pid"; then ok "install over a running older version succeeds"; else bad "install over a running older version succeeds"; fi
check "the running program was ended" wait_until 15 not running 'CHWLU.EXE'
expect_eq "ended by force only after the question went unanswered" "$(program_exit)" "1"
check "CHWLU.EXE replaced by the new build" cmp -s "$chwlu" "$dest/CHWLU.EXE"
expect_eq "DisplayVersion updated" "$(reg_get "$uninst_key" DisplayVersion)" "$version"
expect_eq "settings kept over the upgrade" "$(key_dump "$settings_key")" "$settings"
check "Run entry left as the user set it" value_is "$run_key" Chimewell "$win_dest\\CHWLU.EXE"
rm -f "$dest/CHWLU.EXE.old-marker"

# ---- A silent uninstall, while the program runs and its user agrees to close it
check "program started again" start_program
wine reg add "$user_run_key" /v Chimewell /d "$win_dest\\CHWLU.EXE" /f >/dev/null 2>&1
start_uninstall
if wait_until 30 close_question; then answer_yes; ok "uninstall asks the running program to close"; else
    bad "uninstall asks the running program to close"; fi
await_uninstall
check "uninstall ended the program" not running 'CHWLU.EXE'
expect_eq "the program closed itself when its user agreed" "$(program_exit)" "0"
check "program folder removed" not test -e "$dest"
check "maker's folder removed" not test -e "$drive/Program Files/Tallowmer"
check "Start-menu shortcut removed" not test -e "$shortcut"
check "Add/Remove Programs entry removed" not key_exists "$uninst_key"
check "Run entry removed" not value_exists "$run_key" Chimewell
check "the user's own Run entry removed" not value_exists "$user_run_key" Chimewell
check "Run key itself kept" key_exists "$run_key"
expect_eq "settings kept by a silent uninstall" "$(key_dump "$settings_key")" "$settings"

# ---- Reinstall, then uninstall with the settings
check "reinstall succeeds" install
check "reinstalled CHWLU.EXE in place" cmp -s "$chwlu" "$dest/CHWLU.EXE"
expect_eq "settings still there after the reinstall" "$(key_dump "$settings_key")" "$settings"
uninstall /REMOVESETTINGS
check "/REMOVESETTINGS deletes the settings key" not key_exists "$settings_key"
check "/REMOVESETTINGS deletes the empty maker's key" not key_exists 'HKLM\SOFTWARE\TALLOWMERE'
check "program folder removed again" not test -e "$dest"

# ---- Nothing left running: every process of the prefix ends on its own
if timeout 60 wineserver -w; then ok "no stray processes"; else bad "no stray processes" "$(prefix_processes | tr '\n' ';')"; fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
