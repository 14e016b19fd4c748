#pragma once
// A real temporary directory for file-system tests, removed with its contents afterwards, and a
// guard that makes it the current directory for the duration of a test.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace testsupport {

class TempDir {
 public:
  TempDir() { EXPECT_TRUE(dir_.isValid()); }
  std::string path() const { return dir_.path().toStdString(); }
  std::string operator/(std::string_view name) const { return path() + "/" + std::string(name); }

  // Creates (or replaces) a file with the given bytes; returns its path.
  std::string Write(std::string_view name, std::string_view bytes = {}) const {
    const std::string full = *this / name;
    QFile file(QString::fromStdString(full));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full;
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    return full;
  }
  std::string MakeDir(std::string_view name) const {
    const std::string full = *this / name;
    EXPECT_TRUE(QDir().mkpath(QString::fromStdString(full))) << full;
    return full;
  }
  std::string Read(std::string_view name) const {
    QFile file(QString::fromStdString(*this / name));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  }

 private:
  QTemporaryDir dir_;
};

// Through Qt, so the same guard serves every system the tests run on.
class ScopedChdir {
 public:
  explicit ScopedChdir(const std::string& to) : previous_(QDir::currentPath()) {
    EXPECT_TRUE(QDir::setCurrent(QString::fromLocal8Bit(to.c_str()))) << to;
  }
  ~ScopedChdir() {
    if (!QDir::setCurrent(previous_)) ADD_FAILURE() << "changing back to the previous directory failed";
  }
  ScopedChdir(const ScopedChdir&) = delete;
  ScopedChdir& operator=(const ScopedChdir&) = delete;

 private:
  QString previous_;
};

// The names in `directory` that match `pattern`, in the order the file system lists them: what a
// test finds there afterwards.
inline std::vector<std::string> EntryNames(const std::string& directory, std::string_view pattern = "*") {
  return platform::MatchingNames(platform::ListDirectory(directory), pattern);
}

}  // namespace testsupport
