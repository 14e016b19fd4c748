// The movie is opened once for its facts, however many reads its headers take.
#include <sys/inotify.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "app/startup_files.h"
#include "support/avi_bytes.h"
#include "support/temp_dir.h"

namespace {

TEST(ReadAviFacts, OpensTheMovieOnce) {
  testsupport::TempDir dir;
  testsupport::AviMovie movie;
  movie.extraMainHeader = 8000;  // the header list runs past the first read
  const std::string bytes = testsupport::AviBytes(movie);
  const std::string path = dir.Write("film.avi", bytes);
  const int watch = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  ASSERT_GE(watch, 0);
  // Each open is followed by its close, so no two events in a row are alike and none are merged.
  ASSERT_GE(inotify_add_watch(watch, path.c_str(), IN_OPEN | IN_CLOSE_NOWRITE), 0);
  const std::optional<media::AviFacts> facts = app::ReadAviFacts(path);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->FileSize, static_cast<std::int64_t>(bytes.size()));
  EXPECT_EQ(facts->FrameWidth, movie.width);
  int opens = 0;
  alignas(inotify_event) char events[4096];
  for (ssize_t got; (got = read(watch, events, sizeof events)) > 0;)
    for (ssize_t at = 0; at < got; at += static_cast<ssize_t>(sizeof(inotify_event)) + reinterpret_cast<inotify_event*>(events + at)->len)
      opens += (reinterpret_cast<inotify_event*>(events + at)->mask & IN_OPEN) != 0;
  close(watch);
  EXPECT_EQ(opens, 1);
}

}  // namespace
