#!/usr/bin/env bash
# Takes screenshots of Vollo's windows under a virtual X server.
#
#   scripts/screenshot.sh [OUTDIR] [BUILDDIR]
#
# OUTDIR (default ./screenshots) receives:
#   first-run.png   the main window on a first run: empty library, the hint
#   main.png        the main window with a library and a playlist
#   long-title.png  a song with a long title playing, nothing selected: the
#                   title cut with "…" on its line, the edit row disabled,
#                   the loaded entry bold
#   keyboard.png    the on-screen keyboard shown and the filter "B" in force
#   options.png     File -> Options
#   browse.png      the directory picker, opened from the options dialog
#   search.png      File -> Search
#   about.png       Help -> About Vollo
#   main-window.png main.png cut down to the window (the picture docs/ shows)
# BUILDDIR (default ./build) holds the built screenshot tool
# (tools/screenshot/vollo-screenshot: the program with steps run once its
# window is shown).
#
# Each shot runs the program in a fresh sandbox folder (its own vollo.ini and
# options.ini, and empty media files named like songs) with the audio sent to
# a fake sink. The windows are opened by the tool's steps, which run the same
# menu and button handlers a user would. A new case: a step in
# tools/screenshot/screenshot.cpp and a `shot` line below.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
out=$(realpath -m "${1:-screenshots}")
build=$(realpath -m "${2:-$here/build}")
vollo="$build/tools/screenshot/vollo-screenshot"
[[ -x "$vollo" ]] || { echo "no screenshot tool at $vollo (build it first)" >&2; exit 1; }
for tool in xvfb-run xwininfo import convert; do
    command -v "$tool" >/dev/null || { echo "$tool is needed (xvfb, x11-utils, imagemagick)" >&2; exit 1; }
done
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A sandbox with a library of a few dozen songs in two folders.
make_library() {
    local dir=$1
    mkdir -p "$dir/music/rock" "$dir/music/jazz"
    local rock=("Back in Black" "Bohemian Rhapsody" "Born to Run" "Brown Eyed Girl" "Blue Moon"
                "Comfortably Numb" "Dancing Queen" "Hotel California" "Imagine" "Layla"
                "Paint It Black" "Purple Rain" "Stairway to Heaven" "Sweet Child O' Mine"
                "Wish You Were Here" "Wonderwall" "1999" "9 to 5")
    local jazz=("Autumn Leaves" "Blue in Green" "Body and Soul" "So What" "Take Five"
                "Round Midnight" "My Favorite Things" "Naima" "Giant Steps" "Bags' Groove")
    local t
    for t in "${rock[@]}"; do : >"$dir/music/rock/$t.mp3"; done
    for t in "${jazz[@]}"; do : >"$dir/music/jazz/$t.mp3"; done
    printf '%s\r\n' "$dir/music/rock/" "$dir/music/jazz/" >"$dir/vollo.ini"
}

# A quiet WAV file of the given length, so the player has something to play.
make_wav() {
    python3 - "$1" "$2" <<'PY'
import sys, wave
with wave.open(sys.argv[1], "wb") as out:
    out.setnchannels(1)
    out.setsampwidth(1)
    out.setframerate(8000)
    out.writeframes(b"\x80" * (8000 * int(sys.argv[2])))
PY
}

# options.ini: font size, confirm exit, four window positions (left, top in
# twips), the Filter and Mini-keyboard marks.
write_options() {
    local dir=$1 keyboard=$2
    printf '%s\r\n' 10 0 300 300 2400 2400 3000 2000 3600 2400 True "$keyboard" >"$dir/options.ini"
}

# shot NAME SANDBOX STEPS [ARG...]  (STEPS: comma-separated, "" for none)
shot() {
    local name=$1 dir=$2 steps=$3
    shift 3
    (
        cd "$dir"
        VOLLO_AUDIO_SINK="fakesink sync=true" \
            xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
                "$0" "${@:2}" &
                pid=$!
                for _ in $(seq 100); do
                    xwininfo -root -tree 2>/dev/null | grep -q "\"Vollo 2.0\"" && break
                    sleep 0.1
                done
                sleep 1.5
                import -window root "$1"
                kill "$pid" 2>/dev/null || true
                wait "$pid" 2>/dev/null || true' "$vollo" "$out/$name.png" "$steps" "$@"
    )
    echo "$out/$name.png"
}

mkdir -p "$work/first"
shot first-run "$work/first" ""

make_library "$work/main"
write_options "$work/main" False
# A song that really plays, when python3 is there to write it.
song="$work/main/music/rock/Layla.mp3"
if command -v python3 >/dev/null; then
    rm "$song"
    song="$work/main/music/rock/Layla.wav"
    make_wav "$song" 200
fi
shot main "$work/main" "" "$song"
long="$work/main/music/rock/Wish You Were Here (live at the Empire Pool, Wembley, November 1974, remastered).wav"
if command -v python3 >/dev/null; then
    make_wav "$long" 200
    shot long-title "$work/main" "" "$long"
fi

make_library "$work/keyboard"
write_options "$work/keyboard" True
shot keyboard "$work/keyboard" "filter=B"

make_library "$work/dialogs"
write_options "$work/dialogs" False
shot options "$work/dialogs" "options"
shot browse "$work/dialogs" "options,browse"
shot search "$work/dialogs" "search"
shot about "$work/dialogs" "about"

# The main window alone: the screen around it is black.
convert "$out/main.png" -trim +repage "$out/main-window.png"
echo "$out/main-window.png"
