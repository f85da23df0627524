#!/usr/bin/env bash
# Makes the prefix that every scenario copies when a setup program was built: the plain template
# with Chimewell installed by its own setup program, silently, as a user's machine would have it.
# Usage: make_installed.sh <plain template> <setup program> <dir>. Keyed by the setup's checksum, so
# a rebuilt setup is installed again and an unchanged one is not.
set -euo pipefail
template=$1; setup=$2; dir=$3
stamp="$dir/.chw-installed"
want="$(cat "$template/.chw-template") $(md5sum <"$setup" | cut -d' ' -f1)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then exit 0; fi
rm -rf "$dir" "$dir.tmp"
cp -a "$template" "$dir.tmp"
export WINEPREFIX="$dir.tmp" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY
timeout -k 5 120 wine "$setup" /S >/dev/null 2>&1
timeout -k 5 60 wineserver -w || true
if [ ! -f "$dir.tmp/drive_c/Program Files/Tallowmer/CHWL/CHWLU.EXE" ]; then
    echo "the setup program did not install CHWLU.EXE"; rm -rf "$dir.tmp"; exit 1
fi
mv "$dir.tmp" "$dir"
echo "$want" >"$stamp"
