// autorun-bench: the launcher against its peers, in process and as whole processes.
//   autorun-bench --make-pictures=DIR                 writes the poster pictures and ends
//   autorun-bench --check --disc=DIR --pictures=DIR   checks that ours and the peers agree
//   autorun-bench --disc=DIR --pictures=DIR [Google Benchmark flags]
// tools/bench.sh runs all three and prints each result as a ratio against its peer.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "benchmarks.h"
#include "fixtures.h"

namespace bench {

bool Report(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  return ok;
}

void Note(const std::string& what) { std::printf("     %s\n", what.c_str()); }

}  // namespace bench

namespace {

struct Options {
  std::string disc, pictures, makePictures;
  bool check = false;
};

// Takes our own flags out of argv and leaves the rest for Google Benchmark.
Options TakeOptions(int& argc, char** argv) {
  Options options;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto take = [&arg](const std::string& prefix, std::string& into) {
      if (arg.rfind(prefix, 0) != 0) return false;
      into = arg.substr(prefix.size());
      return true;
    };
    if (take("--disc=", options.disc) || take("--pictures=", options.pictures) ||
        take("--make-pictures=", options.makePictures))
      continue;
    if (arg == "--check")
      options.check = true;
    else
      rest.push_back(argv[i]);
  }
  argc = static_cast<int>(rest.size());
  for (int i = 0; i < argc; ++i) argv[i] = rest[i];
  return options;
}

int Run(const Options& options) {
  if (!options.makePictures.empty()) {
    const bool written = bench::WritePictures(options.makePictures);
    return bench::Report(written, "pictures written to " + options.makePictures) ? 0 : 1;
  }
  if (options.disc.empty() || options.pictures.empty()) {
    std::fprintf(stderr,
                 "usage: autorun-bench [--check] --disc=DIR --pictures=DIR [benchmark flags]\n"
                 "       autorun-bench --make-pictures=DIR\n");
    return 2;
  }
  const bench::DemoDisc disc = bench::FindDemoDisc(options.disc);
  if (options.check) {
    bool ok = bench::CheckAvi(disc);
    ok = bench::CheckPosters(options.pictures) && ok;
    ok = bench::CheckStartup(disc) && ok;
    ok = bench::CheckProcesses(disc, options.pictures) && ok;
    std::printf("%s\n", ok ? "self-check passed" : "self-check FAILED");
    return ok ? 0 : 1;
  }
  bench::RegisterAviBenchmarks(disc);
  bench::RegisterPosterBenchmarks(options.pictures);
  bench::RegisterStartupBenchmarks(disc, options.pictures);
  bench::RegisterProcessBenchmarks(disc, options.pictures);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = TakeOptions(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  try {
    return Run(options);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "autorun-bench: %s\n", error.what());
    return 1;
  }
}
