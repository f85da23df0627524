# The Wine and Xvfb set-up shared by the scripts that run Chimewell or its tests (sourced, not run):
# the test prefix, fonts, registry imports, a private Xvfb display, screenshots on request, and the
# cleanup of everything started here.
#   source scripts/wine-env.sh
#   chw_session "$work"                          # work dir removed, and all below ended, at exit
#   chw_test_prefix "$build" "$work/prefix" [setup.exe]  # a copy of the template prefix, exported
#   chw_xvfb "$log" || exit 1                    # exports DISPLAY
#   chw_shooter "$shots" "$pictures"             # answers <name>.req with <name>.png and <name>.done

chw_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="

chw_work=""
chw_xvfb_pid=""
chw_shooter_pid=""

chw_cleanup() {
    [ -n "$chw_shooter_pid" ] && kill "$chw_shooter_pid" 2>/dev/null
    [ -n "${WINEPREFIX:-}" ] && timeout -k 2 15 wineserver -k >/dev/null 2>&1
    [ -n "$chw_xvfb_pid" ] && kill "$chw_xvfb_pid" 2>/dev/null && wait "$chw_xvfb_pid" 2>/dev/null
    [ -n "$chw_work" ] && rm -rf "$chw_work"
    return 0
}

chw_session() {
    chw_work=$1
    trap chw_cleanup EXIT
    trap 'exit 130' INT TERM
}

# This Wine looks for its own fonts under a broken relative path, so Marlett (the title-bar buttons),
# Tahoma and MS Sans Serif never load; the prefix's Fonts folder is searched all the same.
chw_fonts() {
    cp -f /usr/share/wine/fonts/*.ttf /usr/share/wine/fonts/*.fon "$1/drive_c/windows/Fonts/" 2>/dev/null || true
}

# Imports REGEDIT4 text from stdin into $WINEPREFIX, without a display, and waits for it to be saved.
chw_regedit() {
    local reg
    reg=$(mktemp --suffix=.reg)
    cat >"$reg"
    ( unset DISPLAY; timeout -k 5 60 wine regedit /S "$(echo "Z:$reg" | tr / '\\')" >/dev/null 2>&1 )
    timeout -k 5 60 wineserver -w || true
    rm -f "$reg"
}

# The shared template prefix of the build (made once, under a lock), copied to <dir> and exported.
# Given a setup program, the template with the program installed by it (also made once per setup).
chw_test_prefix() {
    local build=$1 dir=$2 setup=${3:-}
    local e2e="$chw_here/../tests/e2e" lock="$build/.e2e-template.lock" template="$build/e2e-prefix-template"
    flock -w 300 "$lock" bash "$e2e/make_template.sh" "$template" || return 1
    if [ -n "$setup" ]; then
        flock -w 300 "$lock" bash "$e2e/make_installed.sh" "$template" "$setup" "$build/e2e-prefix-installed" ||
            return 1
        template="$build/e2e-prefix-installed"
    fi
    cp -a "$template" "$dir" || return 1
    export WINEPREFIX=$dir
}

# -displayfd picks a free display number itself, so parallel runs never collide.
chw_xvfb() {
    local log=${1:-/dev/null} fifo display=""
    fifo=$(mktemp -u "${chw_work:-/tmp}/displayfd.XXXXXX")
    mkfifo "$fifo"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" >"$log" 2>&1 &
    chw_xvfb_pid=$!
    read -r -t 20 display <"$fifo" || true
    rm -f "$fifo"
    [ -n "$display" ] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=":$display"
}

# Screenshots on request: a test drops <name>.req into <shots>, the picture lands in <out>/<name>.png
# and the answer is <shots>/<name>.done.
chw_shooter() {
    local shots=$1 out=$2
    mkdir -p "$shots" "$out"
    (
        while :; do
            for req in "$shots"/*.req; do
                [ -e "$req" ] || continue
                shot=$(basename "$req" .req)
                timeout 15 import -window root "$out/$shot.png" >/dev/null 2>&1
                rm -f "$req"; touch "$shots/$shot.done"
            done
            sleep 0.1
        done
    ) &
    chw_shooter_pid=$!
}
