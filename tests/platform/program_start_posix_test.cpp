// How a player is started, and a real start of a stand-in player.
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstring>

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QThread>

#include "platform/files.h"
#include "platform/program_start_posix.h"
#include "platform/program_start.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"

namespace {

using platform::StartPlan;
using testsupport::ScopedChdir;
using testsupport::TempDir;

std::string MakeFile(const TempDir& dir, const std::string& name, const std::string& bytes, mode_t mode) {
  const std::string path = dir.Write(name, bytes);
  EXPECT_EQ(chmod(path.c_str(), mode), 0);
  return path;
}

TEST(ProbeProgramStart, Table) {
  TempDir dir;
  MakeFile(dir, "VPlayer.exe", "MZ\x90", 0644);           // a Windows program
  MakeFile(dir, "BPlay.EXE", "MZ\x90", 0755);             // marked executable by a disc mount
  MakeFile(dir, "native.exe", "#!/bin/sh\n", 0755);
  MakeFile(dir, "player", "\x7f" "ELF", 0755);
  MakeFile(dir, "notes.txt", "text", 0644);
  dir.MakeDir("folder.exe");
  ScopedChdir here(dir.path());
  const std::string cwd = platform::CurrentDirectory() + "/";
  const std::string wine = "/usr/bin/wine";
  using Way = StartPlan::Way;
  using Args = std::vector<std::string>;
  struct Row {
    std::string program;
    std::string wine;
    Way way;
    std::string target;
    Args arguments;
  };
  const Row rows[] = {
      {"vplayer.exe", wine, Way::Execute, wine, {cwd + "VPlayer.exe", "Film.avi", "/A"}},
      {"VPLAYER.EXE", "", Way::Open, cwd + "VPlayer.exe", {}},
      {"bplay.exe", wine, Way::Execute, wine, {cwd + "BPlay.EXE", "Film.avi", "/A"}},
      {"native.exe", wine, Way::Execute, cwd + "native.exe", {"Film.avi", "/A"}},
      {"player", wine, Way::Execute, cwd + "player", {"Film.avi", "/A"}},
      {cwd + "PLAYER", "", Way::Execute, cwd + "player", {"Film.avi", "/A"}},
      {"notes.txt", wine, Way::Open, cwd + "notes.txt", {}},
      {"folder.exe", wine, Way::Nothing, "", {}},
      {"missing.exe", wine, Way::Nothing, "", {}},
      {"", wine, Way::Nothing, "", {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.program + " wine=" + row.wine);
    const StartPlan plan = platform::ProbeProgramStart({row.program, "\"Film.avi\" /A", "", ""}, row.wine);
    EXPECT_EQ(plan.way, row.way);
    EXPECT_EQ(plan.program, row.target);
    EXPECT_EQ(plan.arguments, row.arguments);
  }
}

// A Windows player that cannot run here hands over its movie instead; every other start is as
// before, with or without a movie named.
TEST(ProbeProgramStart, WithoutWineTheMovieOfAWindowsPlayerPlays) {
  TempDir dir;
  MakeFile(dir, "VPlayer.exe", "MZ\x90", 0755);
  MakeFile(dir, "native.exe", "#!/bin/sh\n", 0755);
  MakeFile(dir, "notes.txt", "text", 0644);
  ScopedChdir here(dir.path());
  const std::string cwd = platform::CurrentDirectory() + "/";
  using Way = StartPlan::Way;
  struct Row {
    platform::ProgramStart start;
    std::string wine;
    Way way;
    std::string movie, subtitle;
  };
  const Row rows[] = {
      {{"vplayer.exe", "\"Film.avi\"", "Film.avi", "Film.srt"}, "", Way::PlayMovie, cwd + "Film.avi", cwd + "Film.srt"},
      {{cwd + "VPLAYER.EXE", "x", "/d/Film.avi", ""}, "", Way::PlayMovie, "/d/Film.avi", ""},
      {{"vplayer.exe", "x", "Film.avi", "Film.srt"}, "/usr/bin/wine", Way::Execute, "", ""},
      {{"native.exe", "x", "Film.avi", ""}, "", Way::Execute, "", ""},
      {{"notes.txt", "x", "Film.avi", ""}, "", Way::Open, "", ""},
      {{"missing.exe", "x", "Film.avi", ""}, "", Way::Nothing, "", ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.start.program + " wine=" + row.wine);
    const StartPlan plan = platform::ProbeProgramStart(row.start, row.wine);
    EXPECT_EQ(plan.way, row.way);
    EXPECT_EQ(plan.movie, row.movie);
    EXPECT_EQ(plan.subtitle, row.subtitle);
  }
}

// Polls for a file that a detached process writes; bounded so a start that never happens fails.
std::string WaitForFile(const TempDir& dir, const std::string& name) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < 10000) {
    if (platform::FileExists(dir / (name + ".done"))) return dir.Read(name);
    QThread::msleep(20);
  }
  return "(timed out)";
}

TEST(StartProgram, StandInPlayerReceivesTheArgumentsUnchanged) {
  TempDir dir;
  // Records its arguments and working directory, then marks the record complete.
  MakeFile(dir, "vplayer.exe",
           "#!/bin/sh\nprintf '%s\\n' \"$@\" > args\npwd >> args\ntouch args.done\n", 0755);
  ScopedChdir here(dir.path());
  EXPECT_TRUE(platform::StartProgram(
      {"VPlayer.exe", "\"Tom & Jerry $HOME.avi\" \"it's `id`.srt\" \"\"/A /F /P11 \"\xc7ocuk\" \"a\\\"b\"", "", ""}, 0));
  const std::string expected = std::string("Tom & Jerry $HOME.avi\nit's `id`.srt\n/A\n/F\n/P11\n\xc7ocuk\na\"b\n") +
                               platform::CurrentDirectory() + "\n";
  EXPECT_EQ(WaitForFile(dir, "args"), expected);
}

TEST(StartProgram, EmptyArgumentsReachTheProgram) {
  TempDir dir;
  MakeFile(dir, "bplay.exe", "#!/bin/sh\necho \"$#\" > args\nprintf '[%s]\\n' \"$@\" >> args\ntouch args.done\n", 0755);
  ScopedChdir here(dir.path());
  EXPECT_TRUE(platform::StartProgram({"bplay.exe", "\"Film.avi\" \"\"  -fs -pan", "", ""}, 0));
  EXPECT_EQ(WaitForFile(dir, "args"), "4\n[Film.avi]\n[]\n[-fs]\n[-pan]\n");
}

// What cannot be started comes back with the reason the user is shown.
TEST(StartProgram, WhatCannotStartSaysWhy) {
  TempDir dir;
  MakeFile(dir, "broken", "\x7f" "ELF garbage", 0755);  // the system refuses to execute it
  ScopedChdir here(dir.path());
  const struct {
    platform::ProgramStart start;
    std::string error;
  } rows[] = {
      {{"missing.exe", "x", "", ""}, "Unable to start missing.exe: no such file"},
      {{"broken", "x", "", ""}, std::string("Unable to start broken: ") + std::strerror(ENOEXEC)},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.start.program);
    const platform::Result<void> started = platform::StartProgram(row.start, 0);
    EXPECT_FALSE(started);
    EXPECT_EQ(started.error(), row.error);
  }
  // An empty name is refused before any fork; a missing program costs one, which ends.
  sigset_t childEnded, previous, pending;
  sigemptyset(&childEnded);
  sigaddset(&childEnded, SIGCHLD);
  ASSERT_EQ(pthread_sigmask(SIG_BLOCK, &childEnded, &previous), 0);
  EXPECT_EQ(platform::StartDetached("", {}).error(), std::strerror(ENOENT));
  sigpending(&pending);
  EXPECT_FALSE(sigismember(&pending, SIGCHLD));
  EXPECT_EQ(platform::StartDetached(dir / "no-such-program", {}).error(), std::strerror(ENOENT));
  sigpending(&pending);
  EXPECT_TRUE(sigismember(&pending, SIGCHLD));
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  // Whatever happened to them, no child of the launcher is left behind to be reaped.
  errno = 0;
  EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
  EXPECT_EQ(errno, ECHILD);
}

// The desktop's opener is found as the players are: the disc's own xdg-open, through a relative
// PATH entry, never runs; the address reaches the opener encoded, and a file to open as its URL.
TEST(OpenUrl, TheOpenerOfThePathsAbsoluteEntriesGetsTheAddress) {
  TempDir dir;
  dir.MakeDir("bin");
  MakeFile(dir, "bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"${0%/*}/args\"\n: > \"${0%/*}/args.done\"\n", 0755);
  MakeFile(dir, "xdg-open", "#!/bin/sh\n: > PWNED\n", 0755);  // only the shell's own commands: the PATH has no more
  MakeFile(dir, "notes.txt", "text", 0644);
  ScopedChdir here(dir.path());
  testsupport::ScopedEnvironment env;
  env.Set("PATH", ".:bin:" + dir / "bin");
  EXPECT_TRUE(platform::OpenUrl("http://h/find?q=Ka\xFE Test&x#y"));
  EXPECT_EQ(WaitForFile(dir, "bin/args"), "http://h/find?q=Ka%FE%20Test&x#y\n");
  ASSERT_EQ(remove((dir / "bin/args.done").c_str()), 0);
  EXPECT_TRUE(platform::StartProgram({"notes.txt", "", "", ""}, 0));
  EXPECT_EQ(WaitForFile(dir, "bin/args"), "file://" + dir.path() + "/notes.txt\n");
  EXPECT_FALSE(platform::FileExists(dir / "PWNED"));
  // Without an opener, and without a player for the movie of a Windows program, nothing starts
  // and the user is told why.
  env.Set("PATH", ".:bin");
  EXPECT_EQ(platform::OpenUrl("http://h/").error(), "Unable to open http://h/: the desktop has no opener (xdg-open)");
  MakeFile(dir, "vplayer.exe", "MZ\x90", 0644);
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) env.Set(name, dir / "none");
  EXPECT_EQ(platform::StartProgram({"vplayer.exe", "\"Film.avi\"", "Film.avi", ""}, 0).error(),
            "Unable to start vplayer.exe: without Wine, no video player of the desktop plays AVI files, and the desktop "
            "has no opener (xdg-open)");
}

}  // namespace
