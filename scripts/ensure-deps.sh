#!/usr/bin/env bash
# Makes sure the Debian packages the build and the tests need are present.
# As root it installs what is missing; otherwise it names the command to run.
set -euo pipefail

packages=(
  g++ cmake make pkg-config
  freeglut3-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libx11-dev libxext-dev
  libgtest-dev libbenchmark-dev
  python3 xvfb xdotool x11-apps x11-utils imagemagick
  clang libclang-rt-14-dev
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

[[ ${#missing[@]} -eq 0 ]] && exit 0

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
