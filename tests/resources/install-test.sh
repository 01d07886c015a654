#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR under an unusual prefix, checks
# the tree and the desktop files, then starts the installed window program
# with an empty home from another folder: it must make and use its per-user
# folder and leave the start folder alone.
#
#     install-test.sh BUILD_DIR
set -euo pipefail

scratch=$(mktemp -d)
program_pid=
cleanup() {
    if [ -n "$program_pid" ]; then kill -KILL "$program_pid" 2>/dev/null || true; fi
    rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
    echo "install-test: $*" >&2
    exit 1
}

prefix=/opt/cricklet-test
DESTDIR="$scratch/root" cmake --install "$1" --prefix "$prefix" >/dev/null
installed="$scratch/root$prefix"

app_id=$(basename "$(ls "$installed"/share/applications/*.desktop)" .desktop)
expected=(
    bin/cricklet bin/cricklet-cmd
    "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml"
    share/icons/hicolor/scalable/apps/cricklet.svg
    share/cricklet/Template.htm share/cricklet/Help/ckhelp.htm
    share/man/man1/cricklet.1.gz share/man/man1/cricklet-cmd.1.gz
    share/doc/cricklet/copyright
)
for size in 16 22 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/cricklet.png")
done
for file in "${expected[@]}"; do
    [ -s "$installed/$file" ] || fail "$prefix/$file was not installed"
done
# Each icon is a PNG of the size its folder names (width and height at bytes
# 16 to 23 of the header).
for size in 16 48 256; do
    header=$(od -An -tx1 -j16 -N8 "$installed/share/icons/hicolor/${size}x${size}/apps/cricklet.png" |
        tr -d ' \n')
    [ "$header" = "$(printf '%08x%08x' "$size" "$size")" ] || fail "the ${size}px icon is $header"
done

desktop-file-validate "$installed/share/applications/$app_id.desktop" ||
    fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$installed/share/metainfo/$app_id.metainfo.xml" >/dev/null ||
    fail "appstreamcli rejects the metadata"

# --help and --version answer without a display (and both programs run).
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$installed/bin/cricklet")
"${headless[@]}" --help | grep -q -- '--dir DIR' || fail "--help prints no usage"
[ "$("${headless[@]}" --version)" = "cricklet 0.52" ] || fail "--version"

# Under a prefix the build was not configured for, the HTML export still
# finds the installed template.
mkdir "$scratch/library" "$scratch/home" "$scratch/start" "$scratch/runtime"
"$installed/bin/cricklet-cmd" --dir "$scratch/library" 1104 --str "$scratch/page.htm" >/dev/null
grep -q '<html' "$scratch/page.htm" || fail "the HTML export found no template"

chmod 700 "$scratch/runtime"
lock="$scratch/runtime/cricklet-PreventSecondInstance.lock"
# Nothing of the caller's environment but the sanitizers' settings.
(cd "$scratch/start" && exec env -i PATH="$PATH" HOME="$scratch/home" \
    XDG_RUNTIME_DIR="$scratch/runtime" ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} QT_QPA_PLATFORM=offscreen \
    "$installed/bin/cricklet") &
program_pid=$!
# The lock appears once the program listens for signals (it saves on SIGTERM).
for _ in $(seq 200); do
    [ -e "$lock" ] && break
    kill -0 "$program_pid" 2>/dev/null || fail "cricklet ended at start-up"
    sleep 0.1
done
[ -e "$lock" ] || fail "cricklet did not start"
kill -TERM "$program_pid"
status=0
wait "$program_pid" || status=$?
program_pid=
[ "$status" -eq 0 ] || fail "cricklet ended with status $status"

work="$scratch/home/.local/share/cricklet"
for file in PlayList.stp MusicList.ckp Cricklet.ini; do
    [ -s "$work/$file" ] || fail "$file was not saved in $work"
done
grep -q "WorkDirectory = $work;" "$work/Cricklet.ini" || fail "WorkDirectory is not $work"
[ -z "$(ls -A "$scratch/start")" ] || fail "cricklet wrote into the folder it started from"
echo "install-test: ok"
