// Qt's own dialog: the desktop's dialogs keep their history and window sizes in files of their own,
// and the launcher writes no file but the players' INI files.
#include <QFile>
#include <QFileDialog>
#include <QSettings>

#include "app/latin1.h"
#include "app/program_dialog.h"

namespace app {

namespace {

// "Name (pattern)", as the dialog takes a filter.
QString Filter(const FileKind& kind) {
  return Latin1(kind.name) + QStringLiteral(" (") + Latin1(kind.pattern) + QStringLiteral(")");
}

// Qt keeps the user-scope settings of its own dialogs (QtProject.conf) in the user's
// configuration directory. Settings have no in-memory mode, so their user-scope directory becomes
// one that can never be created: every save then fails before a file is opened, and nothing is
// read back from an earlier run either.
void KeepToolkitSettingsUnsaved() {
  for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
    QSettings::setPath(format, QSettings::UserScope, QStringLiteral("/dev/null"));
}

}  // namespace

// Players here need not end in .exe, so every file can be shown too; the player filter stays the
// one selected.
std::string ChooseProgramFile(QWidget* owner, const std::string& initialDirectory) {
  KeepToolkitSettingsUnsaved();
  const QString players = Filter(kPlayerFiles);
  QString selected = players;
  const QString chosen = QFileDialog::getOpenFileName(
      owner, QString(), QFile::decodeName(QByteArray::fromStdString(initialDirectory)),
      players + QStringLiteral(";;") + Filter(kEveryFile), &selected, QFileDialog::DontUseNativeDialog);
  return chosen.isEmpty() ? std::string() : QFile::encodeName(chosen).toStdString();
}

}  // namespace app
