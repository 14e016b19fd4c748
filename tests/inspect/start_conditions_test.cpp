// The programs started where the system gives them too little: no display or one that cannot be
// reached or drawn on, an unusable scale, too little address space. Each must end at once with one
// line saying what is wrong, where the toolkit would abort, crash, show nothing or wait for ever.
// And the environment the toolkit's start is given, which the programs the launcher starts must
// never see.
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <optional>

#include "platform/start_conditions.h"
#include "support/scoped_environment.h"
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
  // Every case here ends before a window could be shown.
  const bool finished = process.waitForFinished(30000);
  if (!finished) process.kill(), process.waitForFinished();
  EXPECT_TRUE(finished) << program << " never ended";
  return {process.exitCode(), process.exitStatus() == QProcess::CrashExit,
          process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
}

using Variables = std::vector<std::pair<QString, QString>>;

void ExpectOneLine(const Variables& variables, const std::string& message) {
  const Outcome run = Start(AUTORUN_LAUNCHER, {}, variables);
  EXPECT_FALSE(run.crashed) << run.err;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, message);
  EXPECT_EQ(run.out, "");
}

TEST(StartConditions, WithoutAUsableDisplayTheLauncherSaysWhatIsWrong) {
  const testsupport::TempDir runtime;
  const QString runtimeDir = QString::fromStdString(runtime.path());
  struct Row {
    Variables variables;
    std::string message;
  };
  const auto scale = [](const char* factor) {
    return Row{{{"QT_QPA_PLATFORM", "offscreen"}, {"QT_SCALE_FACTOR", factor}},
               "unusable scale factor: QT_SCALE_FACTOR is " + std::string(factor) + ", not a number from 0.1 to 10"};
  };
  const Row rows[] = {
      {{}, "no display: neither DISPLAY nor WAYLAND_DISPLAY is set"},
      {{{"QT_QPA_PLATFORM", "xcb"}}, "no display: QT_QPA_PLATFORM is xcb but DISPLAY is not set"},
      // The toolkit skips an empty entry of the list; it trusts no platform of that name.
      {{{"QT_QPA_PLATFORM", "xcb;"}}, "no display: QT_QPA_PLATFORM is xcb but DISPLAY is not set"},
      // A stale DISPLAY, as after an ssh session: no server there.
      {{{"DISPLAY", ":9731"}}, "no display: no X server can be reached at DISPLAY=:9731"},
      {{{"DISPLAY", "nohost:x"}}, "no display: DISPLAY=nohost:x names no display"},
      {{{"WAYLAND_DISPLAY", "nothing"}, {"XDG_RUNTIME_DIR", runtimeDir}},
       "no display: no Wayland compositor at " + runtime.path() + "/nothing (No such file or directory); "
       "DISPLAY is not set"},
      scale("0"), scale("nan"), scale("1e9"),
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.message);
    ExpectOneLine(row.variables, "Autorun: " + row.message + "\n");
  }
}

// The toolkit ignores a value that is no number, so only numbers it would take are refused.
TEST(StartConditions, OnlyAScaleThatLeavesNoWindowToSeeIsRefused) {
  const struct {
    const char* value;
    bool usable;
  } rows[] = {
      {nullptr, true}, {"1", true},     {"0.1", true},   {"10", true},   {"2.5 \t", true}, {"abc", true},
      {"1.5x", true},  {"", true},      {"0", false},    {" 0", false},  {"-2", false},     {"0.09", false},
      {"10.01", false}, {"inf", false}, {"nan", false},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.value ? row.value : "(unset)");
    const platform::Result<void> checked = platform::CheckScaleFactor(row.value);
    EXPECT_EQ(checked.ok(), row.usable);
    EXPECT_EQ(checked.error().empty(), row.usable) << checked.error();
  }
}

TEST(StartConditions, AMissingPlatformPluginEndsInOneLine) {
  // A compositor's socket that takes the connection, for a platform plugin that may be missing.
  const testsupport::TempDir runtime;
  QProcess listener;
  listener.start(QStringLiteral("python3"), {QStringLiteral("-c"), QStringLiteral(
      "import socket,sys,time\ns=socket.socket(socket.AF_UNIX)\ns.bind(sys.argv[1])\ns.listen(8)\n"
      "print('ready',flush=True)\ntime.sleep(60)"), QString::fromStdString(runtime / "wayland-7")});
  if (!listener.waitForReadyRead(10000)) GTEST_SKIP() << "no python3 to listen on a socket";
  const Variables variables = {{"QT_QPA_PLATFORM", "wayland"},
                               {"WAYLAND_DISPLAY", "wayland-7"},
                               {"XDG_RUNTIME_DIR", QString::fromStdString(runtime.path())},
                               {"QT_QPA_PLATFORM_PLUGIN_PATH", QString::fromStdString(runtime.path())},
                               {"QT_PLUGIN_PATH", QString::fromStdString(runtime.path())}};
  const Outcome run = Start(AUTORUN_LAUNCHER, {}, variables);
  listener.kill();
  listener.waitForFinished();
  if (run.status == 0) GTEST_SKIP() << "a Wayland plugin was found after all";
  EXPECT_FALSE(run.crashed) << run.err;
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err.rfind("Autorun: no display: ", 0), 0u) << run.err;
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
}

// An X server of the test's own on a free display; one that refuses every client has a cookie
// that no client is given.
class OwnXServer {
 public:
  OwnXServer(int depth, bool refusing, const testsupport::TempDir& dir) {
    const QString server = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (server.isEmpty()) return;
    QStringList arguments = {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                             QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                             QStringLiteral("320x240x%1").arg(depth)};
    if (refusing) {
      // The cookie file's format: family, address, display number, name, data, each with its length.
      QByteArray entry = QByteArray::fromHex("0100" "0000" "0000" "0012") + "MIT-MAGIC-COOKIE-1";
      entry += QByteArray::fromHex("0010") + QByteArray(16, '\x5a');
      QFile cookies(QString::fromStdString(dir / "cookies"));
      cookies.open(QIODevice::WriteOnly);
      cookies.write(entry);
      arguments << QStringLiteral("-auth") << cookies.fileName();
    }
    process_.start(server, arguments);
    for (int tries = 0; tries < 40 && !process_.canReadLine(); ++tries) process_.waitForReadyRead(500);
    const QByteArray number = process_.readLine().trimmed();
    if (!number.isEmpty()) display_ = QStringLiteral(":") + QString::fromLatin1(number);
  }
  ~OwnXServer() {
    process_.kill();
    process_.waitForFinished();
  }
  const QString& display() const { return display_; }

 private:
  QProcess process_;
  QString display_;
};

TEST(StartConditions, AServerThatRefusesOrCannotBeDrawnOnEndsInOneLine) {
  const testsupport::TempDir dir;
  const QString noCookies = QString::fromStdString(dir.Write("no-cookies"));
  const OwnXServer refusing(24, true, dir), eightBit(8, false, dir);
  if (refusing.display().isEmpty() || eightBit.display().isEmpty()) GTEST_SKIP() << "no Xvfb to start";
  ExpectOneLine({{"DISPLAY", refusing.display()}, {"XAUTHORITY", noCookies}},
                "Autorun: no display: the X server at DISPLAY=" + refusing.display().toStdString() +
                    " refused the connection: Authorization required, but no authorization protocol specified\n");
  ExpectOneLine({{"DISPLAY", eightBit.display()}, {"XAUTHORITY", noCookies}},
                "Autorun: the screen at DISPLAY=" + eightBit.display().toStdString() +
                    " has 8-bit colour; the launcher needs 16-bit colour or more\n");
}

// What the toolkit's start is given, and that all of it is undone once it has started.
TEST(ToolkitStart, GivesTheToolkitItsOwnVariablesAndRestoresTheStartersAfterwards) {
  const testsupport::TempDir dir;
  const std::string runtime = dir.MakeDir("runtime");
  struct Row {
    const char* name;
    std::vector<std::pair<const char*, std::optional<std::string>>> given;
    platform::EnvironmentChanges expected;
  };
  const std::optional<std::string> unset;
  const std::string dead = "unix:path=/dev/null";
  const Row rows[] = {
      {"a desktop session: nothing to change",
       {{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/run/user/1000/bus"}, {"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", unset}},
       {}},
      {"no session bus", {{"DBUS_SESSION_BUS_ADDRESS", unset}, {"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", unset}},
       {{"DBUS_SESSION_BUS_ADDRESS", dead}}},
      {"careless: a relative runtime directory, a missing temporary folder",
       {{"DBUS_SESSION_BUS_ADDRESS", ""}, {"XDG_RUNTIME_DIR", "run"}, {"TMPDIR", dir / "missing"}},
       {{"XDG_RUNTIME_DIR", unset}, {"DBUS_SESSION_BUS_ADDRESS", dead}, {"TMPDIR", unset}}},
      {"a relative temporary folder",
       {{"DBUS_SESSION_BUS_ADDRESS", "unix:path=/x"}, {"XDG_RUNTIME_DIR", runtime}, {"TMPDIR", "tmp"}},
       {{"TMPDIR", unset}}},
  };
  const auto now = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    testsupport::ScopedEnvironment env;
    const std::optional<std::string> chosen = now("QT_QPA_PLATFORM");  // the start may choose one
    env.Set("QT_QPA_PLATFORM", chosen ? chosen->c_str() : nullptr);
    for (const auto& [name, value] : row.given) env.Set(name, value ? value->c_str() : nullptr);
    EXPECT_EQ(platform::ToolkitStartEnvironment(), row.expected);
    platform::ToolkitStart start("test");
    for (const auto& [name, value] : row.expected) EXPECT_EQ(now(name.c_str()), value) << name;
    start.Started();
    for (const auto& [name, value] : row.given) EXPECT_EQ(now(name), value) << name;
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
