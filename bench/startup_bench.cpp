// The launcher's start-up, from creating the window to its first paint, against a bare window that
// only reads and shows the same poster. In-process and warm: fonts, plugins and the file cache are
// loaded by the first run; tools/bench.sh times a whole first start per process as well.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QImage>
#include <chrono>
#include <memory>

#include "app/main_window.h"
#include "app/picture_box.h"
#include "benchmarks.h"
#include "first_paint.h"
#include "media/poster.h"

namespace bench {
namespace {

using Clock = std::chrono::steady_clock;

// The launcher reads its disc from the current directory.
class InDirectory {
 public:
  explicit InDirectory(const std::string& directory) {
    char buffer[4096];
    if (::getcwd(buffer, sizeof buffer)) previous_ = buffer;
    ok_ = ::chdir(directory.c_str()) == 0;
  }
  ~InDirectory() {
    if (!previous_.empty()) (void)::chdir(previous_.c_str());
  }
  bool ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

// Deletes what the window left for the event loop, so that one run's clean-up is not timed in the
// next.
void Settle() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents();
}

// Seconds spent in each step of one start; all negative when the window did not paint.
struct Steps {
  double construct = 0, formCreate = 0, showToPaint = 0;
  double Total() const { return construct + formCreate + showToPaint; }
};

double Since(Clock::time_point& mark) {
  const Clock::time_point now = Clock::now();
  const double seconds = std::chrono::duration<double>(now - mark).count();
  mark = now;
  return seconds;
}

// One launcher start as main() runs it: window, FormCreate, show, first paint of the window and
// its poster box.
Steps LauncherStart(const std::string& discDirectory) {
  testsupport::FakeServices services;
  PrepareServices(services, discDirectory);
  Steps steps;
  Clock::time_point mark = Clock::now();
  auto window = std::make_unique<app::TMainWin>(services, services, services.System());
  steps.construct = Since(mark);
  window->FormCreate();
  steps.formCreate = Since(mark);
  auto watch = std::make_unique<FirstPaintWatch>(
      std::initializer_list<QWidget*>{window.get(), window->imgPreview});
  window->show();
  const bool painted = watch->Wait();
  steps.showToPaint = Since(mark);
  watch.reset();
  window.reset();
  Settle();
  return painted ? steps : Steps{-1, -1, -1};
}

// The bare window: reading the poster (construction) and show to first paint.
Steps BareStart(const std::string& poster) {
  Steps steps;
  Clock::time_point mark = Clock::now();
  auto window = std::make_unique<BareWindow>(poster);
  steps.construct = Since(mark);
  FirstPaintWatch watch{window.get()};
  window->show();
  const bool painted = watch.Wait();
  steps.showToPaint = Since(mark);
  window.reset();
  Settle();
  return painted ? steps : Steps{-1, -1, -1};
}

// Times each start and reports the average of each step in milliseconds as counters.
template <typename Run>
void TimeEach(benchmark::State& state, Run run) {
  Steps sum;
  for (auto _ : state) {
    const Steps steps = run();
    if (steps.Total() < 0) {
      state.SkipWithError("the window did not paint");
      return;
    }
    state.SetIterationTime(steps.Total());
    sum.construct += steps.construct;
    sum.formCreate += steps.formCreate;
    sum.showToPaint += steps.showToPaint;
  }
  const auto average = benchmark::Counter::kAvgIterations;
  state.counters["construct_ms"] = benchmark::Counter(sum.construct * 1e3, average);
  // The bare window has no FormCreate; a counter that is always 0 would make the JSON carry NaNs.
  if (sum.formCreate > 0)
    state.counters["formcreate_ms"] = benchmark::Counter(sum.formCreate * 1e3, average);
  state.counters["paint_ms"] = benchmark::Counter(sum.showToPaint * 1e3, average);
}

}  // namespace

void RegisterStartupBenchmarks(const DemoDisc& disc, const std::string& pictureDirectory) {
  benchmark::RegisterBenchmark("startup/window/ours",
                               [disc](benchmark::State& state) {
                                 InDirectory in(disc.directory);
                                 TimeEach(state, [&] { return LauncherStart(disc.directory); });
                               })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(
      "startup/window/peer_bare",
      [disc](benchmark::State& state) { TimeEach(state, [&] { return BareStart(disc.poster); }); })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
  // Parts of the launcher's start-up, to show where its time goes: the default poster that the
  // window decodes when it is created (and that the disc's poster then replaces), and the disc's
  // poster itself.
  benchmark::RegisterBenchmark("startup/part/default_poster_decode", [](benchmark::State& state) {
    for (auto _ : state)
      benchmark::DoNotOptimize(QImage(QStringLiteral(":/assets/default-poster.jpg")));
  })->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("startup/part/disc_poster_decode", [disc](benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(media::LoadPictureAsBitmap(disc.poster));
  })->Unit(benchmark::kMillisecond);
  // The same start-up with a larger poster, which the first paint has to scale down.
  const DemoDisc large = DiscWithPoster(disc, pictureDirectory, kPosterSizes[0]);
  benchmark::RegisterBenchmark("startup/large_poster/ours",
                               [large](benchmark::State& state) {
                                 InDirectory in(large.directory);
                                 TimeEach(state, [&] { return LauncherStart(large.directory); });
                               })
      ->UseManualTime()
      ->Unit(benchmark::kMillisecond);
}

bool CheckStartup(const DemoDisc& disc) {
  bool ok = Report(!disc.poster.empty(), "the disc has a poster: " + disc.poster);
  InDirectory in(disc.directory);
  ok &= Report(in.ok(), "the disc is the current directory");
  testsupport::FakeServices services;
  PrepareServices(services, disc.directory);
  auto window = std::make_unique<app::TMainWin>(services, services, services.System());
  window->FormCreate();
  auto watch = std::make_unique<FirstPaintWatch>(
      std::initializer_list<QWidget*>{window.get(), window->imgPreview});
  window->show();
  ok &= Report(watch->Wait(), "the launcher window and its poster box paint");
  ok &= Report(window->Plan().poster.loaded,
               "the launcher shows the disc's poster " + window->Plan().poster.file);
  ok &= Report(services.errors.empty(), "the start-up shows no error box");
  const QSize shown = app::PictureRect(window->imgPreview->naturalSize(),
                                       window->imgPreview->size(), window->Plan().window.box)
                          .size();
  Note("the launcher draws its " + std::to_string(window->imgPreview->naturalSize().width()) + "x" +
       std::to_string(window->imgPreview->naturalSize().height()) + " poster at " +
       std::to_string(shown.width()) + "x" + std::to_string(shown.height()));
  watch.reset();
  window.reset();
  BareWindow bare(disc.poster);
  ok &= Report(!bare.Picture().isNull(), "the bare window reads the poster with QImageReader");
  Settle();
  return ok;
}

}  // namespace bench
