// The JPEG decoder under a tight address-space limit (setrlimit and /proc are Linux's).
#include <sys/resource.h>

#include <fstream>

#include "media/jpeg_decoder.h"
#include "media/jpeg_samples.h"
#include "media/poster.h"
#include "support/temp_dir.h"

namespace {

using namespace jpegsamples;
using testsupport::TempDir;

// The process's address space now, from /proc/self/status; 0 when it cannot be read.
std::int64_t AddressSpaceBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind("VmSize:", 0) == 0) return std::stoll(line.substr(7)) * 1024;
  return 0;
}

// A forged size must be refused from the header, before the picture or the decoder's buffers are
// allocated: with only 256 MiB more address space than it has, the loader still answers "too
// large", where an allocation first would have failed with another message (or not at all).
TEST(JpegDecoder, AForgedSizeIsRefusedBeforeAnythingLargeIsAllocated) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit leaves";
#else
  const std::string baseline = Encode({256, 256, Model::Rgb, false, {}});
  const std::string scans = Encode({64, 64, Model::Grey, false, ManyScans(1)});
  const struct {
    const char* name;
    std::string bytes;
  } rows[] = {
      {"baseline 60000 x 60000", WithDeclaredSize(baseline, 60000, 60000)},
      {"127 scans of 60000 x 60000", WithDeclaredSize(scans, 60000, 60000)},
      {"127 scans of 5793 x 5793", WithDeclaredSize(scans, 5793, 5793)},
  };
  TempDir dir;
  std::vector<std::string> paths;
  for (const auto& row : rows) paths.push_back(dir.Write(std::string(row.name) + ".jpg", row.bytes));
  const std::int64_t now = AddressSpaceBytes();
  ASSERT_GT(now, 0);
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_AS, &old), 0);
  rlimit tight = old;
  tight.rlim_cur = static_cast<rlim_t>(now + (std::int64_t{256} << 20));
  ASSERT_EQ(setrlimit(RLIMIT_AS, &tight), 0);
  std::vector<std::string> messages;
  for (const std::string& path : paths) {
    messages.push_back(ErrorOf([&] { media::ReadPosterSize(path); }));
    messages.push_back(ErrorOf([&] { media::LoadPictureAsBitmap(path, QSize(410, 615)); }));
    messages.push_back(ErrorOf([&] { media::LoadPictureAsBitmap(path); }));
  }
  setrlimit(RLIMIT_AS, &old);
  for (std::size_t i = 0; i < messages.size(); ++i) {
    SCOPED_TRACE(rows[i / 3].name);
    EXPECT_NE(messages[i].find("too large"), std::string::npos) << messages[i];
  }
#endif
}

}  // namespace
