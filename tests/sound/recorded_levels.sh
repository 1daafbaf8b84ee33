#!/usr/bin/env bash
# recorded_levels.sh SOUND_CHECK [VOLLO]: what Vollo plays, recorded by parec from the
# monitor of the default null sink of a PulseAudio server of its own, measured with sox.
# Exit status 77 (skipped) where no PulseAudio can be started.
set -uo pipefail
sound_check=$1 vollo=${2:-}
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"
need pulseaudio pactl parec sox
export HOME=$work XDG_RUNTIME_DIR=$work/run PULSE_RUNTIME_PATH=$work/run XDG_CONFIG_HOME=$work/config
mkdir -m 700 -p "$XDG_RUNTIME_DIR" && unset VOLLO_AUDIO_SINK PULSE_SERVER

# A server for this test alone (also as root, where CI runs): no config files,
# never exiting by itself, the null sink its default.
cat >"$work/server.pa" <<'PA'
load-module module-native-protocol-unix
load-module module-null-sink sink_name=heard rate=44100 channels=2
set-default-sink heard
PA
pulseaudio -n -F "$work/server.pa" --daemonize=no --exit-idle-time=-1 --disallow-exit \
    --system=false --use-pid-file=false --log-target=file:"$work/pulse.log" &
pids+=($!)
tries=50 poll pactl info || { echo "SKIP: no PulseAudio server could be started"; cat "$work/pulse.log"; exit 77; }

failed=0
# Records the sink while COMMAND runs.
record() {
    local name=$1 && shift
    parec -d heard.monitor --rate=44100 --channels=2 --format=s16le --file-format=wav "$work/heard-$name.wav" &
    local rec=$! && sleep 0.3
    "$@" || { echo "FAIL: $name: $* failed"; failed=1; }
    sleep 0.3
    kill "$rec" && wait "$rec" 2>/dev/null
}
# The recording's RMS or peak level, without the silence before and after it.
level() {
    local what=RMS && [[ $2 == peak ]] && what=Maximum
    sox "$work/heard-$1.wav" -n silence 1 0.05 0.5% reverse silence 1 0.05 0.5% reverse stat 2>&1 |
        awk -v w="$what" '$1 == w && $2 == "amplitude:" { print $3 }'
}
# Fails the test unless LOW <= VALUE <= HIGH.
within() {
    if awk -v v="$1" -v lo="$2" -v hi="$3" 'BEGIN { exit !(v != "" && v >= lo && v <= hi) }'; then
        echo "ok: $4 $1 (in $2 .. $3)"
    else
        echo "FAIL: $4 ${1:-none} (expected $2 .. $3)"
        failed=1
    fi
}

"$sound_check" write "$work"
record tone "$sound_check" play "$work/tone.wav"
within "$(level tone rms)" 0.32 0.39 "440 Hz tone of RMS 0.354 in the file, RMS recorded"
record chord "$sound_check" play "$work/chord.mid"
within "$(level chord peak)" 0.25 0.55 "MIDI C-major chord at velocity 100, peak"
record dense "$sound_check" play "$work/dense.mid"
within "$(level dense peak)" 0.3 0.98 "MIDI piece with all 16 channels busy, peak (not clipped)"

# The whole program, on a display of its own: started with a song on its command
# line it plays it at once, at full volume; then the volume is lowered.
[[ -n $vollo ]] || exit $failed
need Xvfb xdotool
start_x
(cd "$work" && QT_QPA_PLATFORM=xcb exec "$vollo" "$work/steady.wav") &
pids+=($!)
await "the program's window" shown 'Vollo 2.0'
window=$(window_of 'Vollo 2.0')
sleep 1
record program sleep 2
within "$(level program rms)" 0.32 0.39 "the program playing the tone at full volume, RMS"

# The volume knob dragged to the middle of its bar and dropped there. Without a window
# manager the window sits where it asked to be; its controls are placed at 15 twips a
# pixel below a menu bar of 19 pixels.
eval "$(xdotool getwindowgeometry --shell "$window")"
y=$((Y + 520)) && xdotool mousemove $((X + 369)) $y mousedown 1 sleep 0.2 mousemove $((X + 360)) $y sleep 0.2 \
    mousemove $((X + 345)) $y sleep 0.2 mousemove $((X + 336)) $y sleep 0.2 mouseup 1
sleep 0.5
record lowered sleep 2
within "$(level lowered rms)" 0.001 "$(awk -v f="$(level program rms)" 'BEGIN { print f / 4 }')" \
    "after the knob is dropped mid-bar, RMS"

exit $failed
