# Sourced by the shell tests that start programs of their own: a scratch folder
# ($work) and background processes ($pids) that end with the test, polling, an X
# server, a window manager and a session bus of the test's own, and the windows
# on that server. Works under `set -e` and without it.

# Exits 77 (skipped) unless every tool named is installed.
need() {
    local tool
    for tool; do command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }; done
}

work=$(mktemp -d) pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
# Ends the test as failed; $fail_tag (when set) names the run, $fail_log a log to show.
fail() {
    echo "FAIL${fail_tag:+ ($fail_tag)}: $*" >&2
    [[ -z ${fail_log:-} || ! -e $fail_log ]] || cat "$fail_log" >&2
    exit 1
}

# Runs a command until it succeeds, for at most $tries tenths of a second (30 s).
tries=300
poll() {
    local _
    for _ in $(seq "$tries"); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    return 1
}
# await WHAT COMMAND...: poll, failing the test with "timed out waiting for WHAT".
await() { local what=$1; shift; poll "$@" || fail "timed out waiting for $what"; }

# Xvfb on a display of its own (1280x1024; arguments go to Xvfb), exported as DISPLAY.
start_x() {
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp "$@" 3>"$work/display" 2>/dev/null &
    pids+=($!)
    await "the X server" test -s "$work/display"
    export DISPLAY=":$(cat "$work/display")"
}
# openbox managing that display, with a configuration of its own.
window_manager=""
start_openbox() {
    HOME="$work/openbox" XDG_CONFIG_HOME="$work/openbox" openbox --sm-disable >/dev/null 2>&1 &
    pids+=($!) window_manager=openbox
    await "openbox" bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'"
}
# A session bus of its own, exported as DBUS_SESSION_BUS_ADDRESS (its complaints
# about fd limits are no part of any test).
start_bus() {
    dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
    pids+=($!)
    await "the session bus" test -s "$work/bus"
    DBUS_SESSION_BUS_ADDRESS=$(cat "$work/bus") && export DBUS_SESSION_BUS_ADDRESS
}

# The visible window titled exactly TITLE, if any; shown TITLE holds once it is there.
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
# keys_until WINDOW CHECK WHAT KEY...: focuses the window and types the keys until
# the shell command CHECK holds; a menu opened too late on a loaded machine may
# swallow a key, so up to three tries.
keys_until() {
    local id=$1 check=$2 what=$3 tries=50 key _
    shift 3
    for _ in 1 2 3; do
        [[ -z $window_manager ]] || xdotool windowactivate --sync "$id" 2>/dev/null || true
        xdotool windowfocus --sync "$id" 2>/dev/null || true
        for key; do xdotool key --clearmodifiers "$key"; sleep 0.3; done
        poll bash -c "$check" && return 0
        xdotool key Escape Escape
    done
    fail "timed out waiting for $what"
}

# silent_wav FILE SECONDS: a WAV of silence, 8 kHz 16-bit mono.
silent_wav() {
    local n=$(($2 * 16000))
    le32() { local s; for s in 0 8 16 24; do printf "\\x$(printf %02x $(($1 >> s & 255)))"; done; }
    {
        printf RIFF; le32 $((36 + n)); printf 'WAVEfmt '; le32 16; printf '\x01\x00\x01\x00'
        le32 8000; le32 16000; printf '\x02\x00\x10\x00data'; le32 $n; head -c $n /dev/zero
    } >"$1"
}
