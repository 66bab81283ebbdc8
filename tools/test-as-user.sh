#!/usr/bin/env bash
# Builds and runs the optimised build's tests as an unprivileged user, as a
# new user would on a clean clone: root runs it, and it runs as USER (a name
# or a uid), by default a uid that has no name in the user database. The
# user gets a copy of the source in a private folder of its own under /tmp
# (the checkout may be where only root can go), builds it there and runs the
# tests with that folder's tmp/ as their temporary folder, which must be
# empty afterwards: a test removes what it made. The folder goes at the end.
# JOBS=N bounds the jobs that build and test side by side (default: nproc).
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/jobs.sh
if [ "$(id -u)" -ne 0 ]; then
  echo "$(basename "$0"): only root can run the tests as another user" >&2
  exit 2
fi
bash tools/deps.sh

# The user: the one given, else the first uid from 20000 without a name.
if [ $# -gt 0 ] && getent passwd "$1" >/dev/null; then
  uid=$(id -u "$1")
  gid=$(id -g "$1")
elif [ $# -gt 0 ] && [[ $1 =~ ^[1-9][0-9]*$ ]]; then
  uid=$1
  gid=$1
elif [ $# -gt 0 ]; then
  echo "$(basename "$0"): '$1' is neither a user nor a uid" >&2
  exit 2
else
  uid=20000
  while getent passwd "$uid" >/dev/null; do uid=$((uid + 1)); done
  gid=$uid
fi

work=$(mktemp -d /tmp/ga-user-tests.XXXXXX)
trap 'rm -rf "$work"' EXIT
chown "$uid:$gid" "$work"
as_user() {
  setpriv --reuid="$uid" --regid="$gid" --clear-groups --no-new-privs \
    env -i PATH="$PATH" HOME="$work" LANG=C.UTF-8 "$@"
}
name=$(getent passwd "$uid" | cut -d: -f1 || true)
echo "== the tests as uid $uid (${name:-no name}), in $work"
as_user mkdir "$work/src" "$work/tmp"
tar -C . --exclude=./build --exclude=./.git -cf - . | as_user tar -C "$work/src" -xf -
as_user work="$work" jobs="$jobs" bash -c 'cd "$work/src" && cmake --preset default &&
  cmake --build --preset default -j "$jobs" && TMPDIR="$work/tmp" ctest --preset default -j "$jobs"'
left=$(find "$work/tmp" -mindepth 1 -maxdepth 1)
if [ -n "$left" ]; then
  echo "$(basename "$0"): the tests left these in their temporary folder:" >&2
  echo "$left" >&2
  exit 1
fi
