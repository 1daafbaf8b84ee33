#!/usr/bin/env bash
# Media keys over a private session bus: Vollo under its own Xvfb plays three
# generated WAVs into a fake sink, driven by playerctl; each step is checked
# through playerctl and through Vollo itself (the song file it holds open, its
# window's pixels, its signals, options.ini). Usage: mpris_playerctl.sh VOLLO
# Exits 77 (skipped) when a tool is missing.
set -euo pipefail
vollo=$(realpath "$1")
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"
need Xvfb xdotool dbus-daemon dbus-send dbus-monitor playerctl import
fail_log=$work/log
mkdir "$work/music"
silent_wav "$work/music/a.wav" 30; silent_wav "$work/music/b two.wav" 40; silent_wav "$work/music/c.wav" 50
start_x -dpi 96
start_bus
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
await "the window" shown 'Vollo 2.0'
wid=$(window_of 'Vollo 2.0')
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

# volume, shuffle and loop: playerctl reads back what it set, and the window's
# knob or box (AREA) moves, and moves back when set back.
round_trip() {  # AREA PROPERTY READ-BEFORE SET READ-AFTER SET-BACK
    local before
    before=$(area "$1")
    expect "$3" "$2"
    pc "$2" "$4"; expect "$5" "$2"
    await "the $1 control to change" isnt_area "$1" "$before"
    pc "$2" "$6"
    await "the $1 control back" is_area "$1" "$before"
}
round_trip volume volume 1.000000 0.5 0.500000 1
round_trip shuffle shuffle Off On On Off
round_trip repeat loop None Track Playlist None

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
