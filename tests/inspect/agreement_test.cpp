// The inspector prints what the launcher's own start-up did. The same disc, twice: the inspector
// on one copy, the real start-up (the window with the recording fake) on the other; what the
// inspector reports must be what the start-up did to the INI files' bytes, and it must leave its
// own copy untouched.
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "app/main_window.h"
#include "platform/profile.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace {

using testsupport::TempDir;

constexpr const char* kOldIni = "[Autorun]\r\nFileNameMovie=Old.avi\r\nFileNameSub=Old.srt\r\n";

// Makes the disc in `disc`; `vplayerIni` lays out vplayer.ini (and what it points to, in `outside`).
using IniState = std::function<void(const TempDir& disc, const TempDir& outside)>;

void MakeDisc(const TempDir& disc, const TempDir& outside, const IniState& vplayerIni) {
  disc.Write("Film.avi", testsupport::AviBytes());
  disc.Write("Film.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n");
  disc.Write("vplayer.exe");
  disc.Write("bplay.exe");
  disc.Write("bplay.ini", "[Subtitles]\r\nSub1=Old.srt\r\n");
  vplayerIni(disc, outside);
}

struct Snapshot {  // every INI-ish entry's bytes and mode
  std::map<std::string, std::pair<std::string, unsigned>> files;
  bool operator==(const Snapshot&) const = default;
};

Snapshot Take(const TempDir& disc) {
  Snapshot s;
  for (const char* name : {"vplayer.ini", "bplay.ini"}) {
    struct stat info {};
    if (::lstat((disc / name).c_str(), &info) != 0) continue;
    s.files[name] = {S_ISREG(info.st_mode) ? disc.Read(name) : "", static_cast<unsigned>(info.st_mode)};
  }
  return s;
}

QJsonObject RunInspector(const TempDir& disc) {
  QProcess inspector;
  inspector.start(QStringLiteral(AUTORUN_INSPECT), {QStringLiteral("--json"), QString::fromStdString(disc.path())});
  EXPECT_TRUE(inspector.waitForFinished(60000));
  EXPECT_EQ(inspector.exitCode(), 0) << inspector.readAllStandardError().toStdString();
  return QJsonDocument::fromJson(inspector.readAllStandardOutput()).object();
}

std::string Written(const std::string& path, const QJsonObject& write) {
  return platform::ProfileRead(platform::ReadProfileContent(path).value_or(""),
                              write["section"].toString().toStdString(), write["key"].toString().toStdString());
}

TEST(InspectorAgreement, ReportsWhatTheStartUpDidOnEveryIniState) {
  const std::string big = std::string(kOldIni) + std::string((1u << 20) + 10, ';');
  // What happens to vplayer.ini: written, refused (skipped with a reason, or a failed write), or
  // not taken for an INI file at all.
  enum Outcome { kWritten, kRefused, kNotAFile };
  struct Row {
    const char* what;
    IniState vplayerIni;
    Outcome vplayer;
  } rows[] = {
      {"plain", [](const TempDir& d, const TempDir&) { d.Write("vplayer.ini", kOldIni); }, kWritten},
      {"empty", [](const TempDir& d, const TempDir&) { d.Write("vplayer.ini"); }, kWritten},
      {"NUL bytes", [](const TempDir& d, const TempDir&) {
         d.Write("vplayer.ini", std::string("[Autorun]\r\nFileNameMovie=O\0d.avi\r\n\0\0\r\n", 36));
       }, kWritten},
      {"read-only", [](const TempDir& d, const TempDir&) {
         ::chmod(d.Write("vplayer.ini", kOldIni).c_str(), 0444);
       }, kWritten},
      {"over 1 MiB", [&big](const TempDir& d, const TempDir&) { d.Write("vplayer.ini", big); }, kRefused},
      {"a 1 GiB sparse file", [](const TempDir& d, const TempDir&) {
         EXPECT_EQ(::truncate(d.Write("vplayer.ini", kOldIni).c_str(), 1ll << 30), 0);
       }, kRefused},
      {"a directory", [](const TempDir& d, const TempDir&) { d.MakeDir("vplayer.ini"); }, kNotAFile},
      {"a symbolic link", [](const TempDir& d, const TempDir& outside) {
         EXPECT_EQ(::symlink(outside.Write("victim.ini", kOldIni).c_str(), (d / "vplayer.ini").c_str()), 0);
       }, kRefused},
      {"a second hard link", [](const TempDir& d, const TempDir& outside) {
         EXPECT_EQ(::link(outside.Write("victim.ini", kOldIni).c_str(), (d / "vplayer.ini").c_str()), 0);
       }, kRefused},
      {"UTF-16", [](const TempDir& d, const TempDir&) {
         d.Write("vplayer.ini", std::string("\xFF\xFE[\0A\0]\0\r\0\n\0", 12));
       }, kRefused},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TempDir inspected, inspectedOutside, started, startedOutside;
    MakeDisc(inspected, inspectedOutside, row.vplayerIni);
    MakeDisc(started, startedOutside, row.vplayerIni);
    const Snapshot before = Take(inspected);
    const std::string outsideBefore = inspectedOutside.Read("victim.ini");

    const QJsonObject report = RunInspector(inspected);
    EXPECT_EQ(Take(inspected), before) << "the dry run changed the disc";
    EXPECT_EQ(inspectedOutside.Read("victim.ini"), outsideBefore);

    testsupport::FakeServices services;
    services.launcherDirectory = started.path() + "/";
    {
      const testsupport::ScopedChdir in(started.path());
      app::TMainWin window(services, services, services.System());
      window.FormCreate();
    }
    // Each reported write is in the started disc's file; bplay.ini takes its subtitle unless a
    // failed write ended the start-up before it.
    const bool failed = !report["ini_error"].toString().isEmpty();
    std::map<std::string, int> writesPerFile;
    for (const QJsonValue& value : report["ini_writes"].toArray()) {
      const QJsonObject write = value.toObject();
      const std::string file = write["file"].toString().toStdString();
      ++writesPerFile[file];
      EXPECT_EQ(Written(started / file, write), write["value"].toString().toStdString()) << file;
    }
    EXPECT_EQ(writesPerFile["bplay.ini"] > 0, !failed);
    EXPECT_EQ(writesPerFile.count("vplayer.ini") == 1, row.vplayer == kWritten);
    // A file the inspector names as not written is byte for byte what it was.
    const Snapshot after = Take(started);
    if (row.vplayer != kWritten) {
      EXPECT_EQ(after.files.at("vplayer.ini"), before.files.at("vplayer.ini"));
      EXPECT_EQ(startedOutside.Read("victim.ini"), outsideBefore);
      const bool skipped = report["ini_skipped"].toArray().size() == 1 &&
                           report["ini_skipped"][0]["file"].toString() == QLatin1String("vplayer.ini");
      if (row.vplayer == kRefused) {
        EXPECT_NE(failed, skipped) << "either a failed write or a skip with its reason";
      } else {
        EXPECT_FALSE(failed || skipped) << "nothing to write or refuse";
      }
      EXPECT_EQ(services.errors.size(), failed ? 1u : 0u);
    } else {
      EXPECT_TRUE(report["ini_skipped"].toArray().isEmpty());
      EXPECT_EQ(report["ini_error"].toString(), QString());
    }
  }
}

}  // namespace
