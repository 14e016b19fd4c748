#!/usr/bin/env bash
# The inspector against the real launcher where the outcome of a write depends on the medium and
# on who runs it: both on copies of one disc, and what the inspector predicts (write, skip, fail)
# must be what the launcher then does to the INI file. The inspector itself never changes a file,
# whatever the medium does while it runs. Needs root (mounts, other users); skips without it.
set -euo pipefail
build=$1
[ "$(id -u)" = 0 ] || { echo "SKIP: needs root"; exit 77; }
work=$(mktemp -d)
mounts=()
cleanup() { for m in "${mounts[@]}"; do umount -l "$m" 2>/dev/null || true; done; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }
chmod 755 "$work"

# A demo disc with the launcher in it (its INI files are looked for beside the program).
disc() { "$build/autorun-demodisc" "$1" >/dev/null 2>&1; cp "$build/Autorun" "$1/"; }
medium() { mkdir -p "$1"; mount -t tmpfs -o "size=$2" tmpfs "$1"; mounts+=("$1"); }
# Room for a disc with the launcher on it (a sanitizer build's is larger) and a little more.
room=$(( $(stat -c %s "$build/Autorun") / 1048576 + 8 ))m
as() { local who=$1; shift; if [ "$who" = root ]; then "$@"; else setpriv --reuid="$who" --regid="$(id -g "$who")" --clear-groups "$@"; fi; }
predict() { as "$1" env HOME="$work" "$build/autorun-inspect" --json "$2" 2>/dev/null || true; }
launch() { (cd "$2" && as "$1" env HOME="$work" XDG_RUNTIME_DIR= QT_QPA_PLATFORM=offscreen timeout 4 ./Autorun >/dev/null 2>&1) || true; }
field() { python3 -c 'import json,sys; j=json.load(sys.stdin); v=j.get(sys.argv[1]); print(len(v) if isinstance(v,list) else v)' "$1"; }

# Runs the inspector on the disc, checks that it changed nothing, runs the launcher and checks
# that the INI file changed exactly when writes were predicted.
agree() { # name user disc want-writes want-skipped want-error-prefix
  local name=$1 user=$2 d=$3 before json after writes skipped error changed=no
  before=$(md5sum "$d/bplay.ini")
  json=$(predict "$user" "$d")
  [ "$(md5sum "$d/bplay.ini")" = "$before" ] || fail "$name: the inspector changed bplay.ini"
  writes=$(field ini_writes <<<"$json"); skipped=$(field ini_skipped <<<"$json"); error=$(field ini_error <<<"$json")
  launch "$user" "$d"
  [ "$(md5sum "$d/bplay.ini")" = "$before" ] || changed=yes
  [ "$writes" = "$4" ] && [ "$skipped" = "$5" ] && [[ "$error" == "$6"* ]] ||
    fail "$name: predicted $writes writes, $skipped skipped, error '$error'"
  [ "$changed" = "$([ "$4" -gt 0 ] && echo yes || echo no)" ] || fail "$name: the launcher's bplay.ini changed: $changed"
  passed=$((passed + 1))
}
passed=0

# A directory the user cannot write to: no temporary file, so the file is rewritten in place.
disc "$work/ro"; chown -R nobody "$work/ro"; chmod 0555 "$work/ro"
agree "read-only directory" nobody "$work/ro" 4 0 ""

# A group-writable file of another user: its mode cannot be reset, so it is left alone.
disc "$work/group"; chown nobody "$work/group"; chgrp nogroup "$work/group/bplay.ini"; chmod 0664 "$work/group/bplay.ini"
agree "another user's file" nobody "$work/group" 0 1 ""

# A medium with 64 KiB free and a 300 KB INI file: the new content does not fit beside the old.
medium "$work/full" "$room"; disc "$work/full/d"
python3 -c 'import sys; sys.stdout.write("".join(";%0100d\r\n" % i for i in range(2900)))' >> "$work/full/d/bplay.ini"
free=$(df -B1 --output=avail "$work/full" | tail -1); head -c $((free - 65536)) /dev/zero > "$work/full/filler"
agree "full medium" root "$work/full/d" 0 0 "Unable to write to"

# A name that is not UTF-8 stays bytes from the command line to the directory.
odd=$(printf "$work/odd-\xe9-dir"); disc "$work/odd"; mv "$work/odd" "$odd"
agree "non-UTF-8 directory" root "$odd" 4 0 ""

# A full temporary directory changes nothing: the inspector copies no file.
medium "$work/tmp" 64k; head -c 65536 /dev/zero > "$work/tmp/filler" 2>/dev/null || true
disc "$work/tmpfull"
json=$(TMPDIR="$work/tmp" predict root "$work/tmpfull")
[ "$(field ini_writes <<<"$json")" = 4 ] || fail "a full TMPDIR changed the prediction"

# A medium that gains space while the inspector runs: the real files stay as they were.
medium "$work/gain" "$room"; disc "$work/gain/d"
before=$(md5sum "$work/gain/d/bplay.ini")
for delay in 0 0.005 0.01 0.02 0.03; do
  free=$(df -B1 --output=avail "$work/gain" | tail -1); head -c "$free" /dev/zero > "$work/gain/filler" 2>/dev/null || true
  (sleep "$delay"; rm -f "$work/gain/filler") &
  predict root "$work/gain/d" >/dev/null
  wait
  [ "$(md5sum "$work/gain/d/bplay.ini")" = "$before" ] || fail "the inspector wrote bplay.ini (space freed after ${delay}s)"
done
passed=$((passed + 2))
echo "$passed passed, 0 failed"
