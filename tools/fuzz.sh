#!/usr/bin/env bash
# Builds every libFuzzer harness of tests/fuzz with clang, ASan and UBSan, and runs each on a copy
# of its seed corpus for FUZZ_SECONDS seconds. Exits non-zero when a harness crashed, broke one of
# its properties, ran out of memory or timed out; the input that did it is printed and kept under
# <build>/artifacts/<name>/. Move it to tests/fuzz/regressions/<name>/, named after the defect, so
# that every test run replays it.
#
#   FUZZ_SECONDS   seconds per harness (default 60)
#   FUZZ_BUILD     build directory (default build-fuzz)
#   FUZZ_ONLY      harness names to run, blank-separated (default: all)
#   FUZZ_JOBS      harnesses run side by side (default: one per processor)
set -uo pipefail

cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
build=$(realpath -m "${FUZZ_BUILD:-build-fuzz}")
jobs=${FUZZ_JOBS:-$(nproc)}

# The largest input worth trying for each harness: an AVI head block and a little beyond it, a
# poster small enough to run thousands of times a second, an INI file, a file name.
declare -A max_len=([avi]=8192 [jpeg]=16384 [bmp]=4096 [ini]=4096 [title]=512 [params]=1024
                    [notes]=4096)

harnesses=()
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  if [ -n "${FUZZ_ONLY:-}" ] && [[ " $FUZZ_ONLY " != *" $name "* ]]; then continue; fi
  harnesses+=("$name")
done
[ ${#harnesses[@]} -gt 0 ] || { echo "fuzz.sh: no harness selected" >&2; exit 2; }

echo "== building ${harnesses[*]} in $build"
mkdir -p "$build"
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DAUTORUN_FUZZ=ON \
  >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 2; }
targets=()
for name in "${harnesses[@]}"; do targets+=("fuzz_$name"); done
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}" || exit 2

export QT_QPA_PLATFORM=offscreen
# The harnesses' scratch files (and whatever a crash leaves of them) go to a folder of this run.
scratch=$(mktemp -d /dev/shm/autorun-fuzz.XXXXXX 2>/dev/null || mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export TMPDIR=$scratch
# Leaks are not what these runs look for (Qt keeps a few objects for the process's life), and
# UBSan's reports must stop the run so that the input is kept.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

# Runs one harness; its log is build/logs/<name>.log, its crash inputs build/artifacts/<name>/.
run_one() {
  local name=$1
  local corpus="$build/corpus/$name" artifacts="$build/artifacts/$name/" log="$build/logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$build/logs"
  cp -n tests/fuzz/corpus/"$name"/* "$corpus"/ 2>/dev/null
  local extra=()
  [ -d "tests/fuzz/regressions/$name" ] && extra+=("tests/fuzz/regressions/$name")
  "$build/tests/fuzz/fuzz_$name" "$corpus" "${extra[@]}" -max_total_time="$seconds" \
    -max_len="${max_len[$name]:-4096}" -rss_limit_mb=2048 -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$artifacts" >"$log" 2>&1
}

summary() {
  local name=$1 status=$2 log="$build/logs/$1.log"
  local runs speed
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  if [ "$status" -eq 0 ]; then
    printf '%-8s ok      %10s runs  %7s/s  corpus %s files\n' "$name" "${runs:-?}" "${speed:-?}" \
      "$(find "$build/corpus/$name" -type f | wc -l)"
  else
    printf '%-8s FAILED  (exit %s), log %s\n' "$name" "$status" "$log"
    grep -E '^(==[0-9]+==ERROR|SUMMARY|.*fuzz property failed|.*runtime error)' "$log" | head -5 | sed 's/^/         /'
    sed -n 's/.*Test unit written to \(.*\)$/         input: \1/p' "$log"
  fi
}

echo "== fuzzing ${#harnesses[@]} harnesses for $seconds s each, $jobs at a time"
failed=0
# Harnesses run in groups of $jobs; all run equally long, so a group ends together.
for ((first = 0; first < ${#harnesses[@]}; first += jobs)); do
  group=("${harnesses[@]:first:jobs}")
  pids=()
  for name in "${group[@]}"; do
    run_one "$name" &
    pids+=($!)
  done
  for i in "${!group[@]}"; do
    wait "${pids[$i]}"
    status=$?
    summary "${group[$i]}" "$status"
    [ "$status" -eq 0 ] || failed=1
  done
done

if [ "$failed" -ne 0 ]; then
  echo "== fuzzing found faults; replay an input with: $build/tests/fuzz/fuzz_<name> <input>"
  exit 1
fi
echo "== no faults found"
