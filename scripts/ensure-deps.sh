#!/usr/bin/env bash
# Makes sure the Debian packages a make target needs are present.
# As root it installs what is missing; otherwise it names the command to run.
#
#   scripts/ensure-deps.sh GROUP...
#
# game     building and running the game (make run, make install)
# test     the unit and end-to-end tests and the install checks (make test)
# fuzz     the libFuzzer targets
# bench    the benchmarks and the running game's figures (make bench)
# package  the Debian package (make package)
# icons    rendering the icons from the SVG (make icons)
# windows  the Windows program, its zip and installer, and its tests under Wine
set -euo pipefail

packages_of() {
  case "$1" in
    game) echo g++ cmake make pkg-config freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri \
      libx11-dev libxext-dev libfreetype-dev fonts-urw-base35 ;;
    test) echo libgtest-dev clang-format python3 xvfb xdotool x11-apps x11-utils x11-xserver-utils imagemagick openbox wmctrl \
      desktop-file-utils appstream groff-base librsvg2-bin lintian devscripts ;;
    fuzz) echo clang libclang-rt-14-dev ;;
    bench) echo libbenchmark-dev python3 xvfb xdotool x11-apps x11-utils ;;
    package) echo dpkg-dev file git ;;
    icons) echo librsvg2-bin python3 ;;
    windows) echo g++-mingw-w64-x86-64-posix cmake make wine wine64 nsis python3 xvfb xdotool x11-utils x11-apps openbox ;;
    *)
      echo "ensure-deps.sh: unknown group '$1'" >&2
      exit 2
      ;;
  esac
}

[[ $# -gt 0 ]] || set -- game

missing=()
for group in "$@"; do
  packages_of "$group" > /dev/null  # an unknown group stops here
  for p in $(packages_of "$group"); do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
  done
done

[[ ${#missing[@]} -eq 0 ]] && exit 0
readarray -t missing < <(printf '%s\n' "${missing[@]}" | awk '!seen[$0]++')

if [[ $(id -u) -eq 0 ]]; then
  echo "Installing missing packages: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
