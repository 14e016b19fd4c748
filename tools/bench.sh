#!/usr/bin/env bash
# Benchmarks the launcher against peers measured in the same run and prints each result as a ratio:
#   tools/bench.sh [BUILD_DIR]          (make bench runs it after make build)
# Needs libbenchmark-dev libjpeg-turbo-progs ffmpeg mediainfo hyperfine (make bench installs them).
# Results (JSON and the table, report.md) go to BUILD_DIR/bench-results; scratch files to
# BUILD_DIR/bench-work. BENCH_REPETITIONS and BENCH_MIN_TIME set Google Benchmark's repetitions and
# seconds per repetition, BENCH_RUNS hyperfine's runs per command.
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build}
runs=${BENCH_RUNS:-60}
repetitions=${BENCH_REPETITIONS:-10}
min_time=${BENCH_MIN_TIME:-0.3}

for tool in hyperfine djpeg ffprobe mediainfo; do
  command -v "$tool" >/dev/null || { echo "$0: $tool is missing (make bench installs it)" >&2; exit 1; }
done

# make build may have configured before Google Benchmark was installed: configure again, so that
# the benchmark targets exist, and build what this script runs.
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target autorun-bench autorun-bench-window autorun-bench-report \
  autorun-demodisc Autorun autorun-inspect >/dev/null
build=$(cd "$build" && pwd)
results=$build/bench-results
work=$build/bench-work
rm -rf -- "$results" "$work"
mkdir -p -- "$results" "$work"

export QT_QPA_PLATFORM=offscreen
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR=$work/runtime
  mkdir -m 700 -- "$XDG_RUNTIME_DIR"
fi

# The demo disc, and a copy of it to run on: the launcher writes its movie into the players' INI
# files, and the disc itself stays as made.
"$repo/tools/make-demo-disc.sh" "$build" "$build/demo-disc" >/dev/null
cp -a -- "$build/demo-disc" "$work/disc"
disc=$work/disc
movie=$(find "$disc" -maxdepth 1 -iname '*.avi' -print -quit)
pictures=$work/pictures
"$build/autorun-bench" --make-pictures="$pictures" >/dev/null

echo "== Self-check: ours and the peers compute the same things"
"$build/autorun-bench" --check --disc="$disc" --pictures="$pictures"

echo
echo "== Benchmarks in process and of whole processes (Google Benchmark, $repetitions repetitions" \
  "in random order, medians; load average at the start: $(cut -d' ' -f1-3 /proc/loadavg))"
"$build/autorun-bench" --disc="$disc" --pictures="$pictures" \
  --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
  --benchmark_min_time="$min_time" --benchmark_enable_random_interleaving=true \
  --benchmark_out="$results/gbench.json" --benchmark_out_format=json

# The inspector against ffprobe and mediainfo, each a whole process: hyperfine without a shell
# (-N), so each run is exactly the program; names are quoted for its word splitting.
q() { printf '%q' "$1"; }
echo
echo "== autorun-inspect, ffprobe, mediainfo (hyperfine, $runs runs each after 3 warm-up runs)"
hyperfine -N --style basic --warmup 3 --runs "$runs" --export-json "$results/hyperfine-inspect.json" \
  -n autorun-inspect "$(q "$build/autorun-inspect") --json $(q "$disc")" \
  -n ffprobe "ffprobe -v error -show_streams $(q "$movie")" \
  -n mediainfo "mediainfo $(q "$movie")"

{
  echo "Machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ *//')," \
    "$(uname -sr), load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
  echo "Peers: $(djpeg -version 2>&1 | head -1); $(ffprobe -version | head -1 | cut -d' ' -f1-3);" \
    "$(mediainfo --version | tail -1); $(hyperfine --version)"
  echo
  "$build/autorun-bench-report" "$results"
} | tee "$results/report.md"
echo
echo "Results: $results"
