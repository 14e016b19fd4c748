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

// A figure of the process's memory from /proc/self/status ("VmSize", "VmRSS", "VmHWM"); 0 when it
// cannot be read.
std::int64_t StatusBytes(const std::string& field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field + ":", 0) == 0) return std::stoll(line.substr(field.size() + 1)) * 1024;
  return 0;
}

std::int64_t AddressSpaceBytes() { return StatusBytes("VmSize"); }

// Starts the kernel's high-water mark of resident memory afresh (Linux 4.0 and later).
bool ResetPeakResident() {
  std::ofstream clear("/proc/self/clear_refs");
  clear << "5";
  clear.flush();
  return static_cast<bool>(clear);
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
      // libjpeg would allocate 268 and 201 MB of coefficients for these at any output size.
      {"progressive CMYK 5792 x 5792",
       WithDeclaredSize(Encode({16, 16, Model::AdobeCmyk, true, {}}), 5792, 5792)},
      {"progressive 4:4:4 RGB 5792 x 5792",
       WithDeclaredSize(Encode({16, 16, Model::Rgb, true, {}, false, false, true}), 5792, 5792)},
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
    messages.push_back(ErrorOf(media::ReadPosterSize(path)));
    messages.push_back(ErrorOf(media::LoadPictureAsBitmap(path, QSize(410, 615))));
    messages.push_back(ErrorOf(media::LoadPictureAsBitmap(path)));
  }
  setrlimit(RLIMIT_AS, &old);
  for (std::size_t i = 0; i < messages.size(); ++i) {
    SCOPED_TRACE(rows[i / 3].name);
    EXPECT_NE(messages[i].find("too large"), std::string::npos) << messages[i];
  }
#endif
}

// A progressive photo of 4000 x 6000 with the usual 4:2:0 sampling still shows, decoded at the size a
// poster box draws it with its coefficients (72 MB) and little else.
TEST(JpegDecoder, AProgressivePhotoDecodesWithinItsCoefficientBudget) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "AddressSanitizer's own bookkeeping adds to the resident memory";
#else
  TempDir dir;
  const std::string path = dir.Write("poster.jpg", Encode({4000, 6000, Model::Rgb, true, {}, false, true}));
  const std::int64_t before = StatusBytes("VmRSS");
  ASSERT_GT(before, 0);
  if (!ResetPeakResident()) GTEST_SKIP() << "the kernel's high-water mark cannot be reset";
  media::JpegWork work;
  const QImage image = ValueOf(media::DecodeJpegFile(path, QSize(410, 615), &work));
  const std::int64_t grown = StatusBytes("VmHWM") - before;
  EXPECT_EQ(image.size(), QSize(500, 750));
  EXPECT_EQ(work.coefficientBytes, 72000000);
  EXPECT_GE(grown, work.coefficientBytes / 2);  // the figures are the decode's own
  EXPECT_LE(grown, media::kMaxCoefficientBytes + (std::int64_t{8} << 20)) << grown;
#endif
}

}  // namespace
