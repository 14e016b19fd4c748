#!/usr/bin/env bash
# Recreates the demo disc from scratch: make-demo-disc.sh BUILD_DIR DISC_DIR
# The disc gets the demo movie and its companions (autorun-demodisc), plus the launcher and the
# inspector from the build, if they were built, and Autorun.exe when $AUTORUN_EXE names one. Only a directory that this script made before, or
# an empty one, is ever deleted.
set -euo pipefail
if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR DISC_DIR" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
disc=$2
marker=.autorun-demo-disc
if [ -e "$disc" ]; then
  if [ ! -d "$disc" ] || { [ ! -e "$disc/$marker" ] && [ -n "$(ls -A "$disc")" ]; }; then
    echo "$0: $disc exists and is not a demo disc; not touching it" >&2
    exit 1
  fi
  rm -rf -- "$disc"
fi
mkdir -p -- "$disc"
touch -- "$disc/$marker"
"$build/autorun-demodisc" "$disc"
for program in Autorun autorun-inspect; do
  if [ -x "$build/$program" ]; then
    strip -o "$disc/$program" -- "$build/$program"
  else
    echo "note: $build/$program not built; the disc has no $program" >&2
  fi
done
# The Windows launcher, when there is one ($AUTORUN_EXE, from make windows), so the disc starts on both.
if [ -n "${AUTORUN_EXE:-}" ]; then
  cp -- "$AUTORUN_EXE" "$disc/Autorun.exe"
fi
echo "demo disc ready: $(cd "$disc" && pwd)"
