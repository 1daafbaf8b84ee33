#!/usr/bin/env bash
# Installs the Debian 12 packages Vollo needs to build, run and be tested.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config clang-format
  # the fuzz targets: clang with libFuzzer
  clang libclang-rt-14-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev libbenchmark-dev
  # the windows
  qt6-base-dev qt6-svg-dev qt6-qpa-plugins libgl-dev fonts-dejavu-core
  # the sound: playbin, mp3, wav, avi and MIDI through fluidsynth with a General MIDI soundfont
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-plugins-base
  gstreamer1.0-plugins-good gstreamer1.0-plugins-ugly gstreamer1.0-plugins-bad
  gstreamer1.0-tools timgm6mb-soundfont
  # an audio output for the desktop (PulseAudio/PipeWire/ALSA)
  gstreamer1.0-alsa gstreamer1.0-pulseaudio
  # the sound test: a PulseAudio server with a null sink, recorded and measured
  pulseaudio pulseaudio-utils sox
  # screenshots of the windows without a display (openbox and xdotool below also serve
  # the window-place test)
  xvfb xauth imagemagick x11-utils
  # installing: icons drawn from the SVG, the menu entry's and AppStream data's validators,
  # and a window manager and key presses for starting and closing the installed program
  librsvg2-bin desktop-file-utils appstream openbox xdotool
  # media keys: a private session bus, driven by playerctl in a test
  dbus-daemon dbus-bin dbus-session-bus-common playerctl
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
