#!/usr/bin/env bash
# The inspector on a freshly made demo disc: its facts, its exit codes, and that it changes nothing.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

"$build/autorun-demodisc" "$work/disc" >/dev/null 2>&1 || fail "demo disc not made"
cp "$work/disc/bplay.ini" "$work/bplay.before"
listing() { (cd "$1" && find . -type f -printf '%p %s %T@ %m\n' | sort && cat ./*.ini | md5sum); }
before=$(listing "$work/disc")

json=$("$build/autorun-inspect" --json --screen 1024x768 --work-area 1024x738 "$work/disc" 2>/dev/null) \
  || fail "exit status $? for an accepted movie"
after=$(listing "$work/disc")
[ "$before" = "$after" ] || fail "the disc changed during a dry run"

expect() { grep -qF -- "$1" <<<"$json" || fail "missing: $1"; }
expect '"title": "Harbor Of Echoes 2026"'
expect '"movie_accepted": true'
expect '"initial_focus": "dxStart"'
expect '"width": 536'
expect '"height": 671'
expect '"left": 244'
expect '"notes_file": "demon.nfo"'
expect '"key": "FName"'
expect '"parameters": "bplay.ini"'
expect '"Harbor.Of.Echoes.2026.DVDRip.XviD-DEMON.avi\" \"Harbor.Of.Echoes.2026.DVDRip.XviD-DEMON.srt\" /A /F /P31"'
expect '"     Codec: XviD MPEG-4(XVID)"'
cmp -s "$work/bplay.before" "$work/disc/bplay.ini" || fail "bplay.ini was written"

# No widget can even be made: the toolkit's widgets are not linked in.
if readelf -d "$build/autorun-inspect" | grep -q 'libQt6Widgets'; then fail "the inspector links Qt Widgets"; fi

# A screen alone is a work area of its own size: the window the launcher makes on that screen.
small=$("$build/autorun-inspect" --json --screen 640x480 "$work/disc" 2>/dev/null)
grep -qF '"width": 374' <<<"$small" && grep -qF '"height": 428' <<<"$small" || fail "--screen 640x480 alone: not 374 x 428"

# A real writer's movie without audio: its audio lines stay empty, and the report says where its
# facts came from.
data=$(cd "$(dirname "$0")/../data/avi" && pwd)
mkdir "$work/noaudio"
cp "$data/mencoder-no-audio.avi" "$work/noaudio/film.avi"
json=$("$build/autorun-inspect" --json "$work/noaudio" 2>/dev/null) || fail "the movie without audio is rejected"
expect '"     Channels: "'
expect '"     Bitrate: 99 KBit/s"'
expect '"audio_stream": null'
expect '"video_stream": 0'
expect '"size": "RIFF chunk"'
expect '"length": "main header"'
human=$("$build/autorun-inspect" "$work/noaudio" 2>/dev/null)
grep -qx '  audio_stream: (nothing)' <<<"$human" || fail "the readable summary lacks the audio stream's line"

mkdir "$work/empty"
set +e
"$build/autorun-inspect" "$work/empty" >/dev/null 2>&1; empty=$?
"$build/autorun-inspect" --screen nonsense "$work/disc" >/dev/null 2>&1; usage=$?
set -e
[ "$empty" = 1 ] || fail "exit status $empty without a movie (want 1)"
[ "$usage" = 2 ] || fail "exit status $usage for a usage error (want 2)"
echo "1 passed, 0 failed"
