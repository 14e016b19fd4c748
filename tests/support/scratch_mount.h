#pragma once
// A small tmpfs mounted inside a test's temporary directory, for the failures that permission bits
// cannot produce when the tests run as root: a read-only medium and a full one. Mounting needs
// the right to mount (root in the CI container); without it Mounted() is false and the test says
// so and skips, or uses its own seam.
#include <sys/mount.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <string>

#include "support/temp_dir.h"

namespace testsupport {

class ScratchMount {
 public:
  // `kilobytes` is the size of the file system.
  explicit ScratchMount(const TempDir& parent, int kilobytes = 256) : path_(parent / "medium") {
    QDir().mkpath(QString::fromStdString(path_));
    const std::string options = "size=" + std::to_string(kilobytes) + "k,mode=0755";
    if (::mount("tmpfs", path_.c_str(), "tmpfs", 0, options.c_str()) == 0)
      mounted_ = true;
    else
      why_ = std::string("cannot mount tmpfs here: ") + std::strerror(errno);
  }
  ~ScratchMount() {
    if (mounted_) ::umount2(path_.c_str(), MNT_DETACH);
  }
  ScratchMount(const ScratchMount&) = delete;
  ScratchMount& operator=(const ScratchMount&) = delete;

  bool Mounted() const { return mounted_; }
  const std::string& WhyNot() const { return why_; }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  std::string Write(const std::string& name, const std::string& bytes) const {
    QFile file(QString::fromStdString(*this / name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return *this / name;
  }
  std::string Read(const std::string& name) const {
    QFile file(QString::fromStdString(*this / name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
  }
  bool RemountReadOnly() const {
    return ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
  }
  // Fills the file system until no block is free.
  void Fill() const {
    QFile filler(QString::fromStdString(*this / "filler"));
    ASSERT_TRUE(filler.open(QIODevice::WriteOnly));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size() && filler.flush()) {
    }
    filler.close();
  }

 private:
  std::string path_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace testsupport
