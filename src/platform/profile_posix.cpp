// Replacing a profile file on POSIX systems.
#include <unistd.h>

#include <QFile>
#include <QSaveFile>

#include "platform/error.h"
#include "platform/files.h"
#include "platform/profile.h"

namespace platform {

void WriteProfileString(const std::string& path, std::string_view section, std::string_view key,
                        std::string_view value) {
  const Error failure("Unable to write to " + path);
  const std::optional<std::string> onDisk = ResolveCase(path);
  if (!onDisk || !FileExists(*onDisk) || ::access(onDisk->c_str(), W_OK) != 0) throw failure;
  const FileRead file = ReadFileHead(*onDisk, kProfileFileMax + 1);
  if (!file.error.empty() || file.bytes.size() > kProfileFileMax) throw failure;
  const std::string updated = ProfileWrite(file.bytes, section, key, value);
  if (updated == file.bytes) return;

  // QSaveFile writes a temporary file beside the original, with its permission bits, and renames
  // it over the original only when everything was written.
  QSaveFile save(QFile::decodeName(QByteArray::fromStdString(*onDisk)));
  if (!save.open(QIODevice::WriteOnly)) throw failure;
  if (save.write(updated.data(), static_cast<qint64>(updated.size())) !=
      static_cast<qint64>(updated.size())) {
    save.cancelWriting();
    throw failure;
  }
  if (!save.commit()) throw failure;
}

}  // namespace platform
