#!/usr/bin/env bash
# Media keys over a private session bus: Vollo under its own Xvfb plays three
# generated WAVs into a fake sink, driven by playerctl; each step is checked
# through playerctl and through Vollo itself (the song file it holds open, its
# window's pixels, its signals, options.ini). Usage: mpris_playerctl.sh VOLLO
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail

if [[ ${1:-} != --inner ]]; then
    for tool in Xvfb xdotool dbus-run-session dbus-send dbus-monitor playerctl import convert; do
        command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
    done
    # The bus daemon's own complaints (fd limits) are no part of the test.
    exec dbus-run-session -- "$0" --inner "$(realpath "$1")" 2>/dev/null
fi
vollo=$2

work=$(mktemp -d) pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; cat "$work/log" 2>/dev/null; exit 1; }
# Polls CMD until it succeeds, for at most 30 s.
await() {
    local what=$1
    shift
    for _ in $(seq 300); do "$@" >/dev/null 2>&1 && return 0; sleep 0.1; done
    fail "timed out waiting for $what"
}

# An 8 kHz mono 8-bit WAV of SECONDS of silence.
wav() {
    local n=$(($2 * 8000))
    le32() { printf "$(printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24)))"; }
    {
        printf RIFF; le32 $((36 + n)); printf 'WAVEfmt '; le32 16; printf '\x01\x00\x01\x00'
        le32 8000; le32 8000; printf '\x01\x00\x08\x00data'; le32 $n
        head -c $n /dev/zero | tr '\0' '\200'
    } >"$1"
}
mkdir "$work/music"
wav "$work/music/a.wav" 30; wav "$work/music/b two.wav" 40; wav "$work/music/c.wav" 50

Xvfb -displayfd 3 -screen 0 1280x1024x24 -dpi 96 -nolisten tcp 3>"$work/display" 2>/dev/null & pids+=($!)
await "the X server" test -s "$work/display"
export DISPLAY=":$(cat "$work/display")"
dbus-monitor "type='signal',path='/org/mpris/MediaPlayer2'" >"$work/signals" 2>/dev/null & pids+=($!)

cd "$work"
QT_QPA_PLATFORM=xcb VOLLO_AUDIO_SINK="fakesink sync=true" "$vollo" "$work/music/a.wav" >"$work/log" 2>&1 &
vollo_pid=$!
pids+=($vollo_pid)
pc() { playerctl -p vollo "$@"; }
expect() {
    local want=$1 got
    shift
    got=$(pc "$@" 2>&1) || true
    [[ $got == "$want" ]] || fail "playerctl $*: expected '$want', got '$got'"
}
status_is() { [[ $(pc status 2>/dev/null) == "$1" ]]; }
await "Vollo on the bus" status_is Playing
wid=$(timeout 30 xdotool search --sync --name '^Vollo 2.0$' | head -1) || fail "no window"
# The menu bar's height: the window less its client area (527 pixels high).
menu=$(($(xdotool getwindowgeometry "$wid" | sed -n 's/.*Geometry: [0-9]*x//p') - 527))

# The song file Vollo's player holds open.
loaded() { basename "$(find /proc/$vollo_pid/fd -lname '*.wav' -printf '%l\n' | head -1)"; }
expect_loaded() { [[ $(loaded) == "$1" ]] || fail "Vollo has '$(loaded)' open, expected '$1'"; }
# A fingerprint of one place of the window (pixels at 96 DPI, 15 twips each,
# below the menu bar; the player panel starts at 8,424 of the client area).
area() {
    local -A at=([name]="569x25+16+432" [time]="569x25+16+456" [seek]="169x17+120+493"
        [volume]="80x20+296+490" [shuffle]="81x21+432+488" [repeat]="73x21+512+488")
    local size=${at[$1]%%+*} xy=${at[$1]#*+}
    import -window "$wid" -crop "$size+${xy%%+*}+$((${xy#*+} + menu))" +repage ppm:- | md5sum | cut -c1-32
}
is_area() { [[ $(area "$1") == "$2" ]]; }
isnt_area() { [[ $(area "$1") != "$2" ]]; }
still() { local before=$(area "$1"); sleep 1.2; [[ $(area "$1") == "$before" ]]; }
signals() { grep -c "$1" "$work/signals" || true; }

# Status and the first song, opened from the command line.
expect_loaded a.wav
expect a metadata title
expect 30000000 metadata mpris:length
name_a=$(area name)
# Two more songs through OpenUri, appended without starting them.
pc open "file://$work/music/b%20two.wav"
pc open "file://$work/music/c.wav"
pc open "file://$work/log" 2>/dev/null && fail "a file that is no song was accepted"
expect_loaded a.wav
# While a song simply plays, nothing a listener is told of changes.
before=$(signals PropertiesChanged)
sleep 2
(($(signals PropertiesChanged) <= before + 2)) || fail "signals while a song simply plays"

# play-pause: the clock in the window stops and runs again.
pc play-pause; expect Paused status
still time || fail "the time label moves while paused"
pc play-pause; expect Playing status
still time && fail "the time label stands while playing"

# next and previous.
pc next; expect "b two" metadata title
expect 40000000 metadata mpris:length
expect_loaded "b two.wav"
pc previous; expect a metadata title
expect_loaded a.wav
await "the song's name" is_area name "$name_a"

# position: the seek knob moves to where playerctl put the song, and Seeked is sent.
pc pause
seek_before=$(area seek) seeked=$(signals Seeked)
pc position 20; expect 20.000000 position
await "the seek knob" isnt_area seek "$seek_before"
pc position 5-; expect 15.000000 position
(($(signals Seeked) >= seeked + 2)) || fail "no Seeked after two seeks"

# volume, shuffle and loop: the knob and the boxes move, and move back.
volume_full=$(area volume) shuffle_off=$(area shuffle) repeat_off=$(area repeat)
expect 1.000000 volume
pc volume 0.5; expect 0.500000 volume
await "the volume knob" isnt_area volume "$volume_full"
pc volume 1
await "the volume knob back" is_area volume "$volume_full"
expect Off shuffle
pc shuffle On; expect On shuffle
await "the Shuffle box" isnt_area shuffle "$shuffle_off"
pc shuffle Off
await "the Shuffle box clear" is_area shuffle "$shuffle_off"
expect None loop
pc loop Track; expect Playlist loop
await "the Repeat box" isnt_area repeat "$repeat_off"
pc loop None
await "the Repeat box clear" is_area repeat "$repeat_off"

# A change made in the window reaches listeners: the Repeat box clicked.
changed=$(signals LoopStatus)
xdotool mousemove --window "$wid" 520 $((498 + menu)) click 1
more_signals() { (($(signals "$1") > $2)); }
await "LoopStatus signalled" more_signals LoopStatus "$changed"
expect Playlist loop

# Quit runs the exit path: the window state is saved and the program ends.
dbus-send --session --print-reply --dest=org.mpris.MediaPlayer2.vollo /org/mpris/MediaPlayer2 \
    org.mpris.MediaPlayer2.Quit >/dev/null || fail "Quit was refused"
gone() { ! kill -0 "$vollo_pid" 2>/dev/null; }
await "Vollo to end" gone
wait $vollo_pid || fail "Vollo ended with status $?"
[[ -s $work/options.ini ]] || fail "Quit did not save the window state"
echo "passed"
