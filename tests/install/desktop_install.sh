#!/usr/bin/env bash
# Installs Vollo into a temporary prefix, validates its menu entry and AppStream
# data, then starts it as the menu does (the Exec line, a song as %f, no
# XDG_CONFIG_HOME) and as a terminal does: the song plays, and the settings land
# in ~/.config/vollo and in the current directory. Usage: desktop_install.sh BUILD_DIR
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../support/desktop_session.sh"
prefix="$work/prefix"

cmake --install "$1" --prefix "$prefix" >/dev/null && share="$prefix/share"
[ -x "$prefix/bin/vollo" ] && [ -s "$share/icons/hicolor/scalable/apps/vollo.svg" ] || fail "not installed"
for size in 48 128 256; do  # a PNG's width and height: big-endian words at bytes 16-23
  [ "$(od -An -tx1 -j16 -N8 "$share/icons/hicolor/${size}x$size/apps/vollo.png" | tr -d ' \n')" = \
    "$(printf '%08x%08x' "$size" "$size")" ] || fail "no $size px icon"
done
report="$(desktop-file-validate "$share/applications/vollo.desktop" 2>&1)" && [ -z "$report" ] || fail "$report"
report="$(appstreamcli validate --no-net "$share/metainfo/vollo.metainfo.xml" 2>&1)" || fail "$report"

mkdir -p "$work/my music" "$work/home" "$work/terminal" && song="$work/my music/quiet song.wav"
silent_wav "$song" 60
# A display with a window manager, so that alt+F4 closes the window as a user would.
start_x
start_openbox

pos() { awk '/^pos:/ {print $2}' "/proc/$1/fdinfo/$2"; }
# Starts the command after $1 in folder $1; checks that it reads the song as it
# plays; types the song's folder into File -> Options (tabbing from "Confirm exit"
# over OK, Cancel and the font size) and presses OK (vollo.ini); alt+F4 (options.ini).
run_vollo() {
  (cd "$1" && shift && exec env -u XDG_CONFIG_HOME -u QT_QPA_PLATFORM HOME="$work/home" \
    PATH="$prefix/bin:$PATH" VOLLO_AUDIO_SINK="fakesink sync=true" "$@" >/dev/null 2>&1) &
  local pid=$! fd="" first
  pids+=("$pid")
  timeout 40 xdotool search --sync --onlyvisible --pid "$pid" >/dev/null || fail "no window from $*"
  song_open() { fd="$(find "/proc/$pid/fd" -lname "$song" -printf '%f\n' | head -n1)" && [ -n "$fd" ]; }
  await "$* to open the song" song_open
  first="$(pos "$pid" "$fd")" && sleep 2
  [ "$(pos "$pid" "$fd")" -gt "$first" ] || fail "$* does not play the song"
  xdotool key --delay 200 alt+f o && sleep 1 && xdotool key --delay 100 Tab Tab Tab Tab
  xdotool type --delay 20 "$work/my music" && xdotool key --delay 100 shift+Tab shift+Tab shift+Tab space
  sleep 1 && xdotool key alt+F4
  timeout 10 tail --pid="$pid" -f /dev/null || fail "$* did not end on alt+F4"
}

menu=()
for word in $(sed -n 's/^Exec=//p' "$share/applications/vollo.desktop"); do
  [ "$word" = %f ] && menu+=("$song") || menu+=("$word")
done
run_vollo "$work/home" "${menu[@]}"
run_vollo "$work/terminal" vollo "$song"
for dir in home/.config/vollo terminal; do
  [ "$(head -n1 "$work/$dir/vollo.ini")" = "$work/my music/"$'\r' ] || fail "vollo.ini in $dir"
  [ -s "$work/$dir/options.ini" ] || fail "no options.ini in $dir"
done
[ "$(stat -c %a "$work/home/.config")" = 700 ] && [ ! -e "$work/home/options.ini" ] || fail "settings in the home folder"
echo "installed, validated, started from the menu and from a terminal"
