#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages (setpriv,
# which runs the tests as another user, is util-linux's); does nothing when
# all of them are there already.
set -euo pipefail
pkgs=(cmake make g++ pkg-config python3 libxml2-dev libgtest-dev libgmock-dev libbenchmark-dev util-linux)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
fi
