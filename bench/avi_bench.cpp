// The movie check and the AVI header reader against a seek-and-read per field reader, in time and
// in file system calls.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "benchmarks.h"
#include "app/startup_files.h"
#include "media/avi.h"
#include "peer_avi.h"
#include "platform/files.h"
#include "syscall_count.h"

namespace bench {
namespace {

// Runs `body` for the benchmark's iterations and reports the file system calls it made per call.
template <typename Body>
void Measure(benchmark::State& state, Body body) {
  ResetCounts();
  for (auto _ : state) benchmark::DoNotOptimize(body());
  const SyscallCounts counts = Counts();
  const auto perCall = benchmark::Counter::kAvgIterations;
  state.counters["reads"] = benchmark::Counter(double(counts.Reads()), perCall);
  state.counters["syscalls"] = benchmark::Counter(double(counts.Total()), perCall);
}

std::string Describe(const media::AviFacts& f) {
  char text[200];
  std::snprintf(
      text, sizeof text, "%dx%d, %u frames at %u us, codec %.4s, audio 0x%x %d ch %u Hz %u B/s",
      f.FrameWidth, f.FrameHeight, f.TotalFrames, f.MicroSecPerFrame, f.VideoCodec.c_str(),
      f.AudioFormatTag, f.AudioChannels, f.AudioSampleRate, f.AudioBytesPerSec);
  return text;
}

// The facts the peer reads: those of the fixed positions of the ordinary layout.
bool SameFixedFacts(const media::AviFacts& a, const media::AviFacts& b) {
  return a.RiffSize == b.RiffSize && a.MicroSecPerFrame == b.MicroSecPerFrame && a.TotalFrames == b.TotalFrames &&
         a.FrameWidth == b.FrameWidth && a.FrameHeight == b.FrameHeight && a.VideoCodec == b.VideoCodec &&
         a.AudioFormatTag == b.AudioFormatTag && a.AudioChannels == b.AudioChannels &&
         a.AudioSampleRate == b.AudioSampleRate && a.AudioBytesPerSec == b.AudioBytesPerSec;
}

}  // namespace

void RegisterAviBenchmarks(const DemoDisc& disc) {
  const std::string movie = disc.movie;
  benchmark::RegisterBenchmark("avi/check/ours", [movie](benchmark::State& state) {
    Measure(state, [&] { return media::IsAviFormType(platform::ReadAt(movie, media::kFormTypeOffset, media::kFormTypeSize).value_or("")); });
  });
  benchmark::RegisterBenchmark("avi/check/peer_seek_read", [movie](benchmark::State& state) {
    Measure(state, [&] { return PeerIsValidAvi(movie); });
  });
  benchmark::RegisterBenchmark("avi/facts/ours", [movie](benchmark::State& state) {
    Measure(state, [&] { return app::ReadAviFacts(movie); });
  });
  benchmark::RegisterBenchmark("avi/facts/peer_seek_read", [movie](benchmark::State& state) {
    Measure(state, [&] { return PeerReadAviFacts(movie); });
  });
}

bool CheckAvi(const DemoDisc& disc) {
  bool ok = Report(!disc.movie.empty(), "the disc has a movie: " + disc.movie);
  if (!ok) return false;

  ResetCounts();
  const bool valid = media::IsAviFormType(platform::ReadAt(disc.movie, media::kFormTypeOffset, media::kFormTypeSize).value_or(""));
  const std::int64_t checkReads = Counts().Reads();
  ok &= Report(valid && PeerIsValidAvi(disc.movie), "ours and the peer accept the movie");
  Note("read calls of the movie check: " + std::to_string(checkReads));

  ResetCounts();
  const std::optional<media::AviFacts> ours = app::ReadAviFacts(disc.movie);
  const std::int64_t reads = Counts().Reads();
  int readAtCalls = 0;
  media::ReadAviFactsWith([&](std::int64_t offset, std::size_t count) {
    ++readAtCalls;
    return platform::ReadAt(disc.movie, offset, count);
  }, platform::FileSize(disc.movie).value_or(-1));
  ResetCounts();
  const std::optional<media::AviFacts> peer = PeerReadAviFacts(disc.movie);
  const std::int64_t peerReads = Counts().Reads();
  ok &= Report(ours.has_value(), "ReadAviFacts reads the movie: " + (ours ? Describe(*ours) : ""));
  ok &= Report(ours && peer && SameFixedFacts(*ours, *peer), "the peer reads the same facts");
  Note("read calls of ReadAviFacts: " + std::to_string(reads) + " (" + std::to_string(readAtCalls) +
       " through its ReadAtFn); of the peer: " + std::to_string(peerReads));
  return ok;
}

}  // namespace bench
