#!/usr/bin/env bash
# Installs every Debian package Skyfirewright needs to build, run and test.
# Idempotent and quick when everything is there; uses sudo when not run as root.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # tests, benchmarks, fuzzing and the sanitizer runtime
  libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-dev
  # code style
  clang-format clang-tidy
  # the GUI toolkit (Qt 6 Widgets brings its OpenGL and Vulkan headers) and the stand-in
  # for Arial where Arial is not installed
  qt6-base-dev fonts-liberation
  # a real X display for the GUI tests that run a window under xvfb-run
  xvfb xauth
  # the cipher of the show file's trailer
  libcrypto++-dev
  # sound output (PortAudio; the ALSA and JACK headers quiet their start-up messages) and
  # the FFT of the waveform analysis
  portaudio19-dev libasound2-dev libjack-jackd2-dev libkissfft-dev
  # MIDI time code in and out
  librtmidi-dev
  # PDF reports, and pdftotext to check them by their text and positions
  libhpdf-dev poppler-utils
  # reading foreign show and effect databases (Jet files)
  mdbtools-dev
  # the command-line program's argument reading and JSON output
  libcli11-dev nlohmann-json3-dev
  # the demo show's soundtrack is synthesized by a Python script
  python3
  # the installation test checks the desktop entry and the file types
  desktop-file-utils shared-mime-info
  # the Debian package (cpack -G DEB) finds its dependencies with dpkg-shlibdeps
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
