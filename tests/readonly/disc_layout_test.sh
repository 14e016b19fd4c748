#!/usr/bin/env bash
# make-disc.sh and make-iso.sh on discs of every awkward kind, with stand-ins for the programs:
# what they lay out, that the autostart files start the launcher in the disc's directory, and
# that an author's own files survive.   disc_layout_test.sh   (exit status 0 passed, 1 failed)
set -uo pipefail

tools=$(cd "$(dirname -- "$0")/../../tools" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/autorun-layout.XXXXXX")
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf -- "$work"' EXIT
failures=0
check() {  # description command...
  local what=$1
  shift
  if ! "$@"; then
    echo "FAIL: $what" >&2
    failures=$((failures + 1))
  fi
}
same_bytes() { cmp -s -- "$1" "$2"; }
mode_is() { [ "$(stat -c %a -- "$2")" = "$1" ]; }
has_line() { grep -sqxF -- "$2" "$1"; }
crlf_lines() {
  ! LC_ALL=C grep -qv $'\r$' "$1" && [ "$(tail -c 2 "$1" | od -An -tx1)" = " 0d 0a" ]
}
no_leftovers() { ! compgen -G "$1/.make-disc.*" >/dev/null; }

# Stand-ins: the launcher notes the directory it was started in; the inspector names a film.
build=$work/build
mkdir "$build"
# shellcheck disable=SC2016  # expanded by the stand-in, not here
printf '%s\n' '#!/bin/sh' 'pwd >"$STARTED_IN"' >"$build/Autorun"
printf '#!/bin/sh\necho "title: Harbor Of Echoes 2026"\n' >"$build/autorun-inspect"
chmod 755 "$build/Autorun" "$build/autorun-inspect"
export STARTED_IN=$work/started-in

# A disc whose path has blanks, quotes, an ampersand and a byte that is not UTF-8.
disc=$work/$'My "Disc" & Co \xe9'
mkdir "$disc"
printf 'RIFF movie bytes' >"$disc/Film.avi"
printf 'notes of the author\n' >"$disc/notes.txt"
cp -- "$disc/Film.avi" "$work/Film.avi.orig"

# --- a fresh layout ------------------------------------------------------------------------------
check "make-disc.sh succeeds" "$tools/make-disc.sh" "$build" "$disc" >/dev/null
for program in Autorun autorun-inspect; do
  check "$program is copied" same_bytes "$build/$program" "$disc/$program"
  check "$program can be run" mode_is 755 "$disc/$program"
done
for name in .autorun autorun; do
  check "$name can be run" mode_is 755 "$disc/$name"
  rm -f -- "$STARTED_IN"
  (cd / && "$disc/$name")
  check "$name starts the launcher in the disc's directory" has_line "$STARTED_IN" "$disc"
done
inf=$disc/autorun.inf
check "every line of autorun.inf ends in CR LF" crlf_lines "$inf"
check "autorun.inf starts Autorun.exe" has_line "$inf" $'open=Autorun.exe\r'
check "autorun.inf names the icon" has_line "$inf" $'icon=autorun.ico\r'
check "the label is the film title" has_line "$inf" $'label=Harbor Of Echoes 2026\r'
check "autorun.ico holds the program's picture after its 22 header bytes" \
  cmp -s <(tail -c +23 "$disc/autorun.ico") "$tools/../assets/icon.png"
check "autorun.ico says: an icon file with one 32 by 32 picture" \
  [ "$(head -c 8 "$disc/autorun.ico" | od -An -tx1 | tr -d ' \n')" = 0000010001002020 ]
check "the movie is untouched" same_bytes "$work/Film.avi.orig" "$disc/Film.avi"

# --- a second run: what make-disc.sh wrote is renewed, the author's files stay -----------------
printf 'stale\r\n; Written by make-disc.sh\r\n' >"$inf"
printf 'new launcher\n' >>"$build/Autorun"
DISC_LABEL=$'Am\xc3\xa9lie & "Co" / a label far longer than thirty-two' \
  "$tools/make-disc.sh" "$build" "$disc" >/dev/null
check "a changed launcher replaces the old one" same_bytes "$build/Autorun" "$disc/Autorun"
check "a file make-disc.sh wrote is renewed" has_line "$inf" $'open=Autorun.exe\r'
check "DISC_LABEL gives the label, in ASCII, cut at 32" has_line "$inf" $'label=Amlie & "Co" / a label far longe\r'
check "the author's notes are untouched" has_line "$disc/notes.txt" "notes of the author"
check "no temporary file is left behind" no_leftovers "$disc"

own=$work/own
mkdir "$own"
printf '[autorun]\r\nopen=setup.exe\r\n' >"$own/autorun.inf"
printf '#!/bin/sh\necho mine\n' >"$own/autorun"
printf 'my icon' >"$own/autorun.ico"
cp -a -- "$own" "$work/own.orig"
"$tools/make-disc.sh" "$build" "$own" >/dev/null 2>"$work/own.err"
for name in autorun.inf autorun autorun.ico; do
  check "the author's own $name is kept" same_bytes "$work/own.orig/$name" "$own/$name"
done
check "keeping it is said" grep -q "keeping $own/autorun.inf" "$work/own.err"
check ".autorun is still written" mode_is 755 "$own/.autorun"

# --- refusals ------------------------------------------------------------------------------------
printf 'a file\n' >"$work/plain-file"
"$tools/make-disc.sh" "$build" "$work/plain-file" 2>/dev/null
check "a disc path that is a file is refused" [ $? -eq 1 ]
check "... and the file is untouched" has_line "$work/plain-file" "a file"
mkdir "$work/empty-build"
"$tools/make-disc.sh" "$work/empty-build" "$work/never" 2>/dev/null
check "a build without Autorun is refused" [ $? -eq 1 ]
check "... before anything is made" [ ! -e "$work/never" ]

"$tools/make-iso.sh" "$disc" "$disc/inside.iso" 2>/dev/null
check "an image inside its own disc is refused" [ $? -eq 1 ]
VOLUME_ID="bad name" "$tools/make-iso.sh" "$disc" "$work/x.iso" 2>/dev/null
check "a volume name that ISO 9660 cannot hold is refused" [ $? -eq 2 ]

# --- an image of a disc that was never laid out ---------------------------------------------------
if command -v xorriso >/dev/null; then
  bare=$work/bare
  mkdir "$bare"
  cp -- "$build/Autorun" "$build/autorun-inspect" "$bare/"
  long_name='A very long movie name that Joliet would cut at sixty-four characters.avi'
  printf 'RIFF' >"$bare/$long_name"
  check "make-iso.sh succeeds" "$tools/make-iso.sh" "$bare" "$work/bare.iso" >/dev/null
  xorriso -indev "$work/bare.iso" -find / -exec lsdl 2>/dev/null >"$work/rock-ridge.txt"
  xorriso -read_fs norock -indev "$work/bare.iso" -find / 2>/dev/null >"$work/joliet.txt"
  for name in .autorun autorun; do
    check "the image holds $name, executable" grep -q "^-r-xr-xr-x .* '/$name'\$" "$work/rock-ridge.txt"
  done
  check "the image holds autorun.inf" grep -q "'/autorun.inf'\$" "$work/rock-ridge.txt"
  check "Windows sees the whole long name" \
    grep -qF "'/$long_name'" "$work/joliet.txt"
else
  echo "note: xorriso is not installed; make-iso.sh images are not checked"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "PASS"
