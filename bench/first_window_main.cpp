// autorun-bench-window MODE DISC [PEAKFILE]: one whole first start, timed from outside. With
// PEAKFILE it writes its peak resident memory there (VmHWM, in KiB) before it ends: a parent that
// spawns it with vfork, as posix_spawn does, would see its own peak in the child's rusage.
//   launcher   what main() does on the disc (with the recording fake services), up to the first
//              paint of the window and its poster, then ends
//   bare       a plain window that reads the disc's poster with QImageReader and paints it, then
//   ends bare-text  the same with one line of text under the poster (Qt then loads its fonts)
// Exit status 1 when the window did not paint, 2 on bad arguments.
#include <unistd.h>

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "app/main_window.h"
#include "first_paint.h"
#include "fixtures.h"

namespace {

int ShowBare(const bench::DemoDisc& disc, const QString& caption) {
  bench::BareWindow window(disc.poster, caption);
  bench::FirstPaintWatch watch{&window};
  window.show();
  return watch.Wait() ? 0 : 1;
}

int ShowLauncher(const bench::DemoDisc& disc) {
  QApplication::setApplicationName(QString::fromLatin1(app::kApplicationTitle));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/assets/icon.png")));
  testsupport::FakeServices services;
  bench::PrepareServices(services, disc.directory);
  app::TMainWin window(services, services, services.System());
  window.FormCreate();
  bench::FirstPaintWatch watch{&window, window.imgPreview};
  window.show();
  return watch.Wait() ? 0 : 1;
}

// This process's peak resident memory in KiB, as the kernel counts it; -1 when unknown.
long PeakKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  return -1;
}

int Run(const std::string& mode, const bench::DemoDisc& disc) {
  if (mode == "launcher") return ShowLauncher(disc);
  return ShowBare(disc, mode == "bare-text" ? QStringLiteral("Harbor Of Echoes 2026") : QString());
}

}  // namespace

int main(int argc, char** argv) {
  const std::string mode = argc == 3 || argc == 4 ? argv[1] : "";
  if (mode != "launcher" && mode != "bare" && mode != "bare-text") {
    std::fprintf(stderr, "usage: autorun-bench-window launcher|bare|bare-text DISC [PEAKFILE]\n");
    return 2;
  }
  const bench::DemoDisc disc = bench::FindDemoDisc(argv[2]);
  if (::chdir(disc.directory.c_str()) != 0) return 2;
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  const int status = Run(mode, disc);
  if (argc == 4) std::ofstream(argv[3]) << PeakKiB() << '\n';
  return status;
}
