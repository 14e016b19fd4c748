#!/usr/bin/env bash
# Lays out a movie disc, or brings one up to date:  make-disc.sh BUILD_DIR DISC_DIR
# Puts the launcher (Autorun) and the inspector (autorun-inspect) from BUILD_DIR into DISC_DIR,
# stripped of their debug information (a start reads less from the disc); make disc passes the
# self-contained ones of make linux, which need nothing of a desktop beyond its C library, X11,
# fontconfig and freetype. Then the Windows launcher Autorun.exe when $AUTORUN_EXE names one (make
# disc passes make windows's build-win/Autorun.exe when it exists),
# together with what starts the launcher when the disc is inserted: autorun.inf and autorun.ico
# for Windows, .autorun and autorun for Linux desktops. The movie and everything that goes with it
# are the author's to put there. Nothing is ever deleted: the two programs are always replaced,
# the other files only when this script wrote them (their first lines say so).
# The disc's label in autorun.inf is $DISC_LABEL, or else the film title the launcher shows.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR DISC_DIR" >&2
  exit 2
fi
here=$(cd "$(dirname -- "$0")" && pwd)
templates=$here/../disc
icon_png=$here/../assets/icon.png
build=$(cd -- "$1" && pwd)
disc=$2
marker="Written by make-disc.sh"

if [ ! -x "$build/Autorun" ]; then
  echo "$0: $build/Autorun is not built" >&2
  exit 1
fi
if [ -e "$disc" ] && [ ! -d "$disc" ]; then
  echo "$0: $disc is not a directory" >&2
  exit 1
fi
mkdir -p -- "$disc"
disc=$(cd -- "$disc" && pwd)

staging="$disc/.make-disc.$$.tmp"
trap 'rm -rf -- "$staging" "$staging.d"' EXIT

written_here() { [ -f "$1" ] && head -c 512 -- "$1" | grep -qF -- "$marker"; }
absent() { [ ! -e "$1" ] && [ ! -L "$1" ]; }

# Takes the staged file into place by a rename, so that a launcher running from the disc keeps
# the copy it started from and an interrupted run never leaves half a file.
commit() {  # mode target
  chmod "$1" "$staging"
  mv -fT -- "$staging" "$2"
}

keep_note() { echo "note: keeping $1, which make-disc.sh did not write" >&2; }
is_elf() { [ "$(head -c 4 -- "$1" | od -An -c | tr -d ' ')" = '177ELF' ]; }
debug_sections() { objdump -h -- "$1" 2>/dev/null | awk '$2 ~ /^\.debug_/ { print $2 }'; }

# --- the programs ---------------------------------------------------------------------------
for program in Autorun autorun-inspect; do
  source=$build/$program
  target=$disc/$program
  if [ ! -x "$source" ]; then
    echo "note: $source not built; the disc has no new $program" >&2
  elif [ -d "$target" ]; then
    echo "$0: $target is a directory; not replacing it" >&2
    exit 1
  elif [ ! "$source" -ef "$target" ] || [ -n "$(debug_sections "$target")" ]; then
    # A disc laid out in place already holds them, perhaps with their debug information.
    if is_elf "$source"; then strip -o "$staging" -- "$source"; else cp -- "$source" "$staging"; fi
    commit 755 "$target"
  fi
done

# --- the launcher is one file: the library folder of earlier layouts goes ------------------------
bundle=$disc/autorun-linux
if [ -d "$bundle" ] && written_here "$bundle/README.txt"; then
  rm -rf -- "$bundle"
elif [ -e "$bundle" ]; then
  keep_note "$bundle"
fi
if [[ $(objdump -p -- "$disc/Autorun" 2>/dev/null) == *libQt6Core* ]]; then
  echo "note: this Autorun runs only where the system has Qt 6; make linux builds one that needs no Qt" >&2
fi

# --- the Windows launcher, when $AUTORUN_EXE names one (make windows builds it) ---------------
if [ -n "${AUTORUN_EXE:-}" ]; then
  if [ ! -f "$AUTORUN_EXE" ]; then
    echo "$0: $AUTORUN_EXE does not exist" >&2
    exit 1
  elif [ -d "$disc/Autorun.exe" ]; then
    echo "$0: $disc/Autorun.exe is a directory; not replacing it" >&2
    exit 1
  elif [ ! "$AUTORUN_EXE" -ef "$disc/Autorun.exe" ]; then
    cp -- "$AUTORUN_EXE" "$staging"
    commit 755 "$disc/Autorun.exe"
  fi
elif [ ! -e "$disc/Autorun.exe" ]; then
  echo "note: no Autorun.exe for Windows, which autorun.inf names (make windows builds it)" >&2
fi

# --- Linux desktops: the autostart rules look for .autorun first, then autorun ------------------
for name in .autorun autorun; do
  target=$disc/$name
  # On a file system that ignores letter case (FAT, exFAT) autorun is the launcher itself.
  if [ "$target" -ef "$disc/Autorun" ]; then
    echo "note: $disc ignores letter case, so autorun would be Autorun; .autorun starts it" >&2
  elif absent "$target" || written_here "$target"; then
    cp -- "$templates/autorun" "$staging"
    commit 755 "$target"
  else
    keep_note "$target"
  fi
done

# --- Windows: autorun.inf, with the program's icon as autorun.ico -------------------------------
bytes() { printf '%b' "$(printf '\\x%02x' "$@")"; }
le32() { bytes $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# An icon file holding the PNG as its one picture, as Windows has read them since Vista.
write_icon() {  # png target
  local header width height size
  header=$(od -An -v -tx1 -N24 -- "$1" | tr -d ' \n')
  [[ $header == 89504e470d0a1a0a????????49484452* ]] || return 1
  width=$((16#${header:32:8}))
  height=$((16#${header:40:8}))
  size=$(stat -c %s -- "$1")
  ((width >= 1 && width <= 256 && height >= 1 && height <= 256)) || return 1
  {
    printf '\0\0\1\0\1\0'  # reserved, type icon, one picture
    bytes $((width % 256)) $((height % 256))  # 256 is written as 0
    printf '\0\0\1\0\40\0'  # no palette, reserved, one plane, 32 bits
    le32 "$size"
    le32 22  # the picture follows the 6 + 16 header bytes
    cat -- "$1"
  } >"$staging"
  commit 644 "$2"
}

disc_label() {
  local label=${DISC_LABEL:-}
  if [ -z "$label" ] && [ -x "$disc/autorun-inspect" ]; then
    label=$("$disc/autorun-inspect" "$disc" 2>/dev/null | sed -n 's/^title: //p' | head -n 1) || true
  fi
  [ -n "$label" ] || label=$(basename -- "$disc")
  # Windows reads the label in its own code page and shows 32 characters: plain ASCII is safe.
  printf '%s' "$label" | LC_ALL=C tr -cd '\040-\176' | cut -c 1-32
}

inf=$disc/autorun.inf
ico=$disc/autorun.ico
if absent "$inf" || written_here "$inf"; then
  have_icon=yes
  if absent "$ico" || written_here "$inf"; then
    if ! write_icon "$icon_png" "$ico"; then
      echo "note: no usable $icon_png; the disc has no icon" >&2
      have_icon=""
    fi
  fi
  [ -e "$ico" ] || have_icon=""
  # Profile files on Windows have CR LF line ends; the label is put in as plain text.
  LABEL=$(disc_label) ICON=$have_icon awk '
    /^icon=/ && ENVIRON["ICON"] == "" { next }
    { at = index($0, "@LABEL@")
      if (at) $0 = substr($0, 1, at - 1) ENVIRON["LABEL"] substr($0, at + 7)
      printf "%s\r\n", $0 }' "$templates/autorun.inf" >"$staging"
  commit 644 "$inf"
else
  keep_note "$inf"
fi

echo "disc laid out: $disc"
echo "check it with: \"$disc/autorun-inspect\" \"$disc\""
