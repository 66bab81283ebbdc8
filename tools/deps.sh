#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages (setpriv,
# which runs the tests as another user, is util-linux's); does nothing when
# all of them are there already. Root installs them itself, another user
# through sudo; a user who can do neither gets one line naming the packages
# to install, and the script fails.
set -euo pipefail
pkgs=(cmake make g++ pkg-config python3 libxml2-dev libgtest-dev libgmock-dev libbenchmark-dev util-linux)
missing=()
for p in "${pkgs[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -gt 0 ] || exit 0

# Tells what to install, and why this user cannot, then stops.
cannot_install() {
  echo "$(basename "$0"): the build needs packages this user cannot install ($1); as root, run: apt-get install ${missing[*]}" >&2
  exit 1
}

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || cannot_install "not root, and no sudo"
  # A password is asked for only at a terminal.
  if ! sudo -n true 2>/dev/null; then
    [ -t 0 ] || cannot_install "not root, and sudo asks for a password with no terminal to give it"
    sudo -v || cannot_install "not root, and sudo refuses this user"
  fi
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y "${missing[@]}"
