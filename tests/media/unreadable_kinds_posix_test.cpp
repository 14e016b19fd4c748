// A disc may hold a named pipe or a link to a device where a poster or the notes should be. Every
// media file must open without blocking and be refused as an unreadable file would be: an error
// for the error box, not a hang, an endless read or a picture of zeros.
#include "media/info_panel.h"
#include "media/notes.h"
#include "media/poster.h"
#include "platform/files.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <string>

namespace {

using testsupport::TempDir;

TEST(SpecialFiles, PostersAndNotesRefuseFifosAndDevicesWithoutBlocking) {
  TempDir dir;
  testsupport::ScopedChdir in(dir.path());
  const struct {
    const char* name;
    std::function<std::string(const std::string&)> load;  // the message; "" when it loaded
  } kinds[] = {
      {"poster.jpg", [](const std::string& path) { return media::ReadPosterSize(path).error(); }},
      {"poster.jpg", [](const std::string& path) { return media::LoadPictureAsBitmap(path, QSize(300, 400)).error(); }},
      {"poster.bmp", [](const std::string& path) { return media::LoadBmpPoster(path).error(); }},
      {"release.nfo",
       [](const std::string& path) {
         const platform::Result<std::string> notes = platform::ReadFileHead(path, media::kMaxNotesBytes);
         return media::BuildInfoPanel(std::nullopt, path, notes, 400, '.').notesError;
       }},
  };
  const char* targets[] = {"fifo", "/dev/zero", "/dev/urandom"};
  for (const auto& kind : kinds) {
    for (const char* target : targets) {
      SCOPED_TRACE(std::string(kind.name) + " as " + target);
      const std::string path = dir / kind.name;
      ::unlink(path.c_str());
      if (std::string(target) == "fifo")
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
      else
        ASSERT_EQ(symlink(target, path.c_str()), 0);
      // A FIFO without a writer would block an open for ever; the suite's time limit catches that.
      const std::string message = kind.load(kind.name);
      EXPECT_NE(message.find("Cannot"), std::string::npos) << message;
      EXPECT_NE(message.find(kind.name), std::string::npos) << message;
    }
  }
}

}  // namespace
