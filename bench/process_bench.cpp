// Whole processes timed from start to exit: djpeg on the poster pictures (and on an 8x8 picture,
// whose time is djpeg's process start), and the first-window program in its three modes. They run
// inside the benchmark, so that with random interleaving they share the machine's ups and downs
// with the in-process cases they are compared with.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "benchmarks.h"

extern char** environ;

namespace bench {
namespace {

// Runs the program with its output thrown away; the seconds from spawn to exit, or a negative
// number when it could not start or did not exit with status 0.
double RunProcess(const std::vector<std::string>& arguments) {
  std::vector<char*> argv;
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  const int failed = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (failed != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0)
    if (errno != EINTR) return -1;
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? seconds : -1;
}

// The peak memory a first-window program wrote into its PEAKFILE, in MiB; 0 when unknown.
double ReadPeakMiB(const std::string& peakFile) {
  long kib = 0;
  std::ifstream(peakFile) >> kib;
  return kib > 0 ? kib / 1024.0 : 0;
}

// With `peakFile`, the program writes its peak memory there and the largest over the runs becomes
// the counter peak_mib.
void RegisterProcess(const std::string& name, std::vector<std::string> arguments,
                     const std::string& peakFile = {}) {
  if (!peakFile.empty()) arguments.push_back(peakFile);
  benchmark::RegisterBenchmark(name.c_str(),
                               [arguments, peakFile](benchmark::State& state) {
                                 double peak = 0;
                                 for (auto _ : state) {
                                   const double seconds = RunProcess(arguments);
                                   if (seconds < 0) {
                                     state.SkipWithError("the program failed");
                                     return;
                                   }
                                   state.SetIterationTime(seconds);
                                   if (!peakFile.empty())
                                     peak = std::max(peak, ReadPeakMiB(peakFile));
                                 }
                                 if (peak > 0) state.counters["peak_mib"] = peak;
                               })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
}

std::string WindowProgram() {
  return QCoreApplication::applicationDirPath().toStdString() + "/autorun-bench-window";
}

}  // namespace

void RegisterProcessBenchmarks(const DemoDisc& disc, const std::string& pictureDirectory) {
  auto djpeg = [&](PictureSize size) {
    RegisterProcess(
        "process/djpeg/" + std::to_string(size.width) + "x" + std::to_string(size.height),
        {"djpeg", "-outfile", "/dev/null", PicturePath(pictureDirectory, size)});
  };
  djpeg(kBaselinePicture);
  for (PictureSize size : kPosterSizes) djpeg(size);
  // Absolute: the program changes into the disc's directory first.
  const std::string peakFile = std::filesystem::absolute(pictureDirectory + "/peak-kib").string();
  for (const char* mode : {"launcher", "bare", "bare-text"})
    RegisterProcess(std::string("process/window/") + mode, {WindowProgram(), mode, disc.directory},
                    peakFile);
  // The launcher's peak memory with a large poster, against the demo disc's (400x600).
  const DemoDisc large = DiscWithPoster(disc, pictureDirectory, kPosterSizes[1]);
  RegisterProcess("process/window/launcher-4000x6000",
                  {WindowProgram(), "launcher", large.directory}, peakFile);
}

bool CheckProcesses(const DemoDisc& disc, const std::string& pictureDirectory) {
  bool ok = Report(RunProcess({"djpeg", "-outfile", "/dev/null",
                               PicturePath(pictureDirectory, kBaselinePicture)}) >= 0,
                   "djpeg runs");
  for (const char* mode : {"launcher", "bare", "bare-text"})
    ok &= Report(RunProcess({WindowProgram(), mode, disc.directory}) >= 0,
                 std::string("autorun-bench-window ") + mode + " paints and exits with 0");
  return ok;
}

}  // namespace bench
