#!/usr/bin/env bash
# Links a program of a Ninja build once more with each function and table on a page of its own, so
# that a page a start reads names the one section it starts:
#   aligned-link.sh BUILD TARGET OUTPUT MAP OBJCOPY READ_ONLY_SECTIONS
# Each archive and object the link names is copied with its .text*, .data* and READ_ONLY_SECTIONS
# (.rodata* for ELF, .rdata* for PE) aligned to 4096 bytes by OBJCOPY; the start-up layout script
# is left out.
set -euo pipefail
if [ $# -ne 6 ]; then
  echo "usage: $0 BUILD TARGET OUTPUT MAP OBJCOPY READ_ONLY_SECTIONS" >&2
  exit 2
fi
build=$1 target=$2 output=$3 map=$4 objcopy=$5 read_only=$6
objects=$(mktemp -d)
trap 'rm -rf -- "$objects"' EXIT
link=$(cd "$build" && ninja -t commands "$target" | tail -n 1)
link=${link#: && }
link=${link% && :}
aligned=()
previous=""
count=0
for argument in $link; do
  case "$argument" in
    -Wl,-Map=*) argument="-Wl,-Map=$map" ;;
    -Wl,-T,*) continue ;;
    *.a | *.o | *.obj)
      if [ -f "$build/$argument" ] || [ -f "$argument" ]; then
        count=$((count + 1))
        mkdir -p "$objects/$count"
        copy="$objects/$count/$(basename -- "$argument")"
        (cd "$build" && "$objcopy" --set-section-alignment "$read_only=4096" \
          --set-section-alignment '.data*=4096' --set-section-alignment '.text*=4096' \
          "$argument" "$copy")
        argument=$copy
      fi ;;
  esac
  [ "$previous" = "-o" ] && argument=$output
  previous=$argument
  aligned+=("$argument")
done
(cd "$build" && "${aligned[@]}" 2>"$objects/link.log") || { cat -- "$objects/link.log" >&2; exit 1; }
