#!/usr/bin/env bash
# Window places survive restarts on a real X server: the main window and the
# search dialog are moved with xdotool, the program exits through its menu, and
# five starts in a row must each put both frames (title bar included) exactly
# where they were left. Usage: window_places.sh VOLLO openbox|none
# Runs in a temporary folder under its own Xvfb; exits 77 when a tool is missing.
set -euo pipefail
vollo=$(realpath "$1") wm=${2:-openbox}
for tool in Xvfb xdotool xprop xwininfo $([[ $wm == openbox ]] && echo openbox); do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done
work=$(mktemp -d) pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL ($wm): $*" >&2; exit 1; }
# Polls a command until it succeeds, for at most $tries tenths of a second (30 s).
tries=300
poll() { for _ in $(seq "$tries"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done; return 1; }
await() { local what=$1; shift; poll "$@" || fail "timed out waiting for $what"; }

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
await "the X server" test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
if [[ $wm == openbox ]]; then
    XDG_CONFIG_HOME="$work/config" openbox --sm-disable 2>/dev/null & pids+=($!)
    await "openbox" bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
fi

window_of() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
shown() { [[ -n $(window_of "$1") ]]; }
# "X Y" of a window's frame: the client's place less the frame's left and top.
frame_of() {
    local x y left=0 top=0 extents
    read -r x y < <(xwininfo -id "$1" | awk '/Absolute upper-left/ {printf "%s ", $NF}')
    extents=$(xprop -id "$1" -notype _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= //p')
    [[ -z $extents ]] || IFS=', ' read -r left _ top _ <<<"$extents"
    echo "$((x - left)) $((y - top))"
}
# The frame stands still for half a second (a loaded X server may still be moving it).
settled() { local a; a=$(frame_of "$1"); sleep 0.5; [[ $(frame_of "$1") == "$a" ]]; }
# Focuses the window and types the keys until CHECK holds; a menu opened too
# late on a loaded machine may swallow a key, so up to three tries.
keys_until() {
    local id=$1 check=$2 what=$3 tries=50
    shift 3
    for _ in 1 2 3; do
        [[ $wm == none ]] || xdotool windowactivate --sync "$id" 2>/dev/null || true
        xdotool windowfocus --sync "$id" 2>/dev/null || true
        for key in "$@"; do xdotool key --clearmodifiers "$key"; sleep 0.3; done
        poll bash -c "$check" && return 0
        xdotool key Escape Escape
    done
    fail "timed out waiting for $what"
}
# Starts the program and opens File -> Search.
start_with_search() {
    (cd "$work/run" && QT_QPA_PLATFORM=xcb VOLLO_AUDIO_SINK="fakesink sync=true" exec "$vollo" >"$work/log" 2>&1) &
    program=$!
    pids+=("$program")
    await "the main window" shown 'Vollo 2.0'
    main=$(window_of 'Vollo 2.0')
    await "the main window to settle" settled "$main"
    keys_until "$main" "xdotool search --onlyvisible --name '^Search\$' | grep -q ." "the search dialog" alt+f s
    search=$(window_of Search)
    await "the search dialog to settle" settled "$search"
}
# Leaves through File -> Exit, which writes options.ini.
exit_program() {
    keys_until "$main" "! kill -0 $program" "the program to end after File -> Exit" alt+f x
    wait "$program" || fail "the program ended with status $?: $(cat "$work/log")"
}

mkdir -p "$work/run"
: >"$work/run/vollo.ini"
# The first run: both windows are moved, the search dialog to the screen's top edge.
start_with_search
xprop -id "$search" WM_TRANSIENT_FOR | grep -q 'window id' || fail "the search dialog is not kept above the main window"
before_main=$(frame_of "$main") before_search=$(frame_of "$search")
xdotool windowmove "$main" 279 190
xdotool windowmove "$search" 700 0
moved() { [[ $(frame_of "$main") != "$before_main" && $(frame_of "$search") != "$before_search" ]]; }
await "the windows to move" moved
await "the windows to settle" settled "$main" && await "the windows to settle" settled "$search"
want_main=$(frame_of "$main") want_search=$(frame_of "$search")
exit_program
places=$(sed -n '3p;4p;7p;8p' "$work/run/options.ini" | tr -d '\r' | xargs)
read -r mx my sx sy <<<"$want_main $want_search"
[[ $places == "$((mx * 15)) $((my * 15)) $((sx * 15)) $((sy * 15))" ]] ||
    fail "options.ini holds $places for frames at $want_main and $want_search"

for run in 1 2 3 4 5; do
    start_with_search
    got_main=$(frame_of "$main") got_search=$(frame_of "$search")
    exit_program
    [[ $got_main == "$want_main" ]] || fail "start $run: main frame at $got_main, left at $want_main"
    [[ $got_search == "$want_search" ]] || fail "start $run: search frame at $got_search, left at $want_search"
done
echo "ok ($wm): main frame at $want_main, search frame at $want_search after five starts"
