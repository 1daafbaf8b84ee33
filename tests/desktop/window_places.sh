#!/usr/bin/env bash
# Window places survive restarts on a real X server: the main window and the
# search dialog are moved with xdotool, the program exits through its menu, and
# five starts in a row must each put both frames (title bar included) exactly
# where they were left. Usage: window_places.sh VOLLO openbox|none
# Runs in a temporary folder under its own Xvfb; exits 77 when a tool is missing.
set -euo pipefail
vollo=$(realpath "$1") wm=${2:-openbox} && fail_tag=$wm
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"
need Xvfb xdotool xprop xwininfo $([[ $wm == openbox ]] && echo openbox)
start_x
[[ $wm != openbox ]] || start_openbox

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
