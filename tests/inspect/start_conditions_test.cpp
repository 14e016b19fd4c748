// The programs started where the system gives them too little: no display, or too little address
// space. Each must end at once with one line saying what is missing, where the toolkit would abort,
// crash or wait for ever.
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include "support/temp_dir.h"

namespace {

struct Outcome {
  int status = -1;
  bool crashed = false;
  std::string out, err;
};

// Runs `program` in an empty directory with the display variables replaced by `display` and, when
// `addressSpace` is not 0, that limit on its address space.
Outcome Start(const char* program, const QStringList& arguments, const std::vector<std::pair<QString, QString>>& display,
          rlim_t addressSpace = 0) {
  const testsupport::TempDir here;
  QProcess process;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) environment.remove(QLatin1String(name));
  for (const auto& [name, value] : display) environment.insert(name, value);
  process.setProcessEnvironment(environment);
  process.setWorkingDirectory(QString::fromStdString(here.path()));
  if (addressSpace != 0)
    process.setChildProcessModifier([addressSpace] {
      const rlimit limit{addressSpace, addressSpace};
      ::setrlimit(RLIMIT_AS, &limit);
    });
  process.start(QString::fromLatin1(program), arguments);
  const bool finished = process.waitForFinished(60000);
  if (!finished) process.kill(), process.waitForFinished();
  EXPECT_TRUE(finished) << program << " never ended";
  return {process.exitCode(), process.exitStatus() == QProcess::CrashExit,
          process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

TEST(StartConditions, WithoutADisplayTheLauncherSaysWhatIsMissing) {
  struct Row {
    std::vector<std::pair<QString, QString>> display;
    const char* message;
  };
  const Row rows[] = {
      {{}, "Autorun: no display: neither DISPLAY nor WAYLAND_DISPLAY is set\n"},
      {{{"QT_QPA_PLATFORM", "xcb"}}, "Autorun: no display: QT_QPA_PLATFORM is xcb but DISPLAY is not set\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.message);
    const Outcome run = Start(AUTORUN_LAUNCHER, {}, row.display);
    EXPECT_FALSE(run.crashed);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, row.message);
    EXPECT_EQ(run.out, "");
  }
}

// Enough for the programs' libraries to load, too little for the toolkit to start.
constexpr rlim_t kTight = rlim_t{100} << 20;

TEST(StartConditions, ShortOfAddressSpaceBothProgramsEndWithAMessage) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer's shadow memory needs an unlimited address space";
#endif
  struct Row {
    const char* program;
    int status;
    const char* message;
  };
  const Row rows[] = {
      {AUTORUN_LAUNCHER, 1, "Autorun: not enough memory to start\n"},
      {AUTORUN_INSPECT, 2, "autorun-inspect: not enough memory to start\n"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.program);
    const Outcome run = Start(row.program, {QStringLiteral(".")}, {{"QT_QPA_PLATFORM", "offscreen"}}, kTight);
    if (run.status == 127 && run.err.find("shared librar") != std::string::npos)
      GTEST_SKIP() << "on this system the libraries alone exceed the limit: " << run.err;
    EXPECT_FALSE(run.crashed) << run.err;
    EXPECT_EQ(run.status, row.status);
    EXPECT_EQ(run.err, row.message);
  }
  // With room enough the inspector runs to its report (the empty directory: only Close).
  const Outcome roomy = Start(AUTORUN_INSPECT, {QStringLiteral("--json"), QStringLiteral(".")}, {}, rlim_t{512} << 20);
  EXPECT_EQ(roomy.status, 1) << roomy.err;
  EXPECT_NE(roomy.out.find("\"movie_accepted\": false"), std::string::npos) << roomy.out;
}

}  // namespace
