// Handing players and addresses to the shell's "open" verb: the stand-in player logs the command
// line it received, so the parameter text can be compared byte for byte.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>
#include <string>

#include "platform/files.h"
#include "platform/program_start.h"
#include "platform/program_start_win.h"
#include "support/temp_dir.h"
#include "windows/win_support.h"

namespace {

using testsupport::ScopedChdir;
using testsupport::TempDir;
using wintest::Native;

// The stand-in is built beside the test programs; each test runs a copy in its own directory,
// where the copy writes its log.
std::string InstallStandIn(const TempDir& dir, const std::string& name) {
  const std::string from = platform::ExecutableDirectory() + "stand-in-player.exe";
  const std::string to = Native(dir) + name;
  EXPECT_TRUE(CopyFileA(from.c_str(), to.c_str(), TRUE)) << from;
  return to;
}

// The log once the player has written it; "" when nothing came within the wait.
std::string WaitForLog(const TempDir& dir, int milliseconds = 15000) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < milliseconds) {
    const std::string log = dir.Read("player-calls.log");
    if (log.find("working directory: ") != std::string::npos && log.find("\r\n", log.find("working directory: ")) != std::string::npos)
      return log;
    QThread::msleep(50);
  }
  return {};
}

// What followed the program in the command line the player received.
std::string ParametersIn(const std::string& log) {
  const std::string line = log.substr(0, log.find("\r\n"));
  const std::string prefix = "command line: ";
  std::string rest = line.substr(prefix.size());
  // The shell writes the program first, quoted or not.
  if (!rest.empty() && rest.front() == '"') {
    rest = rest.substr(rest.find('"', 1) + 1);
  } else {
    rest = rest.substr(std::min(rest.find(' '), rest.size()));
  }
  return rest.empty() ? rest : rest.substr(1);
}

TEST(ShellOpen, TheParameterTextArrivesWhole) {
  const std::string texts[] = {
      "\"Film.avi\" \"Film.srt\" /A /F /P31",
      "\"Film.avi\"  /A /F /P41",            // no subtitle: two blanks stay two
      "\"Film.avi\" \"\"/A /F /P11",           // an empty quoted argument touching the options
      "\"Film.avi\" \"Film.srt\"  -fs -pan",  // two blanks before BSPlayer's options
      "bplay.ini",
  };
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    TempDir dir;
    InstallStandIn(dir, "vplayer.exe");
    ScopedChdir here(dir.path());
    ASSERT_TRUE(platform::ShellOpen(nullptr, "vplayer.exe", text, SW_SHOWNORMAL));
    const std::string log = WaitForLog(dir);
    ASSERT_FALSE(log.empty()) << "the player did not start";
    EXPECT_EQ(ParametersIn(log), text) << log;
    // The player starts in the launcher's current directory.
    EXPECT_NE(log.find("working directory: " + platform::CurrentDirectory() + "\r\n"), std::string::npos) << log;
  }
}

// Texts that do not fit the shell's 256-byte buffer are refused whole: nothing starts.
TEST(ShellOpen, TextsLongerThanTheBufferStartNothing) {
  TempDir dir;
  InstallStandIn(dir, "vplayer.exe");
  ScopedChdir here(dir.path());
  const std::string longest(platform::kShellTextMax, 'x');
  EXPECT_FALSE(platform::ShellOpen(nullptr, "vplayer.exe", longest + "x", SW_SHOWNORMAL));
  EXPECT_FALSE(platform::ShellOpen(nullptr, "vplayer.exe", std::string("a\0b", 3), SW_SHOWNORMAL));
  EXPECT_FALSE(platform::ShellOpen(nullptr, std::string(250, 'd') + "\\vplayer.exe", "", SW_SHOWNORMAL));
  QThread::msleep(1500);
  EXPECT_EQ(dir.Read("player-calls.log"), "");
  ASSERT_TRUE(platform::ShellOpen(nullptr, "vplayer.exe", longest, SW_SHOWNORMAL));
  const std::string log = WaitForLog(dir);
  EXPECT_EQ(ParametersIn(log), longest);
}

// A player named relative to the current directory, and a program picked by its full path.
TEST(StartProgramWin, ReachesThePlayer) {
  for (const bool fullPath : {false, true}) {
    SCOPED_TRACE(fullPath ? "full path" : "relative name");
    TempDir dir;
    const std::string player = InstallStandIn(dir, "bplay.exe");
    ScopedChdir here(dir.path());
    EXPECT_TRUE(platform::StartProgram({fullPath ? player : "bplay.exe", "\"Film.avi\"   -fs -pan", "Film.avi", ""}, 0));
    const std::string log = WaitForLog(dir);
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(ParametersIn(log), "\"Film.avi\"   -fs -pan");
  }
}

}  // namespace
