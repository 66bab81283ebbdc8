# Sourced by the build scripts: sets `jobs`, the number of jobs they run side
# by side, to $JOBS when it is given (a whole number of 1 or more) and to the
# number of processors otherwise. A JOBS of anything else ends the script with
# exit status 2 before it does any work.
jobs=${JOBS:-$(nproc)}
if ! [[ $jobs =~ ^[1-9][0-9]*$ ]]; then
  echo "$(basename "$0"): JOBS must be a whole number of 1 or more, not '$JOBS'" >&2
  exit 2
fi
