// Select Player's dialog here: the player kind selected, every file offered too, the disc's
// directory to start in, and the chosen file handed back by its full path.
#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/program_dialog.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

// Runs `answer` on the dialog once it is up; `answer` accepts or rejects it.
std::string Choose(const std::string& directory, const std::function<void(QFileDialog&)>& answer) {
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    answer(*dialog);
  });
  return ChooseProgramFile(nullptr, directory);
}

TEST(ProgramDialog, OffersPlayersFirstThenEveryFile) {
  const TempDir disc;
  const std::string chosen = Choose(disc.path(), [&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.nameFilters(),
              (QStringList{QStringLiteral("Player (executable) files (*.exe)"), QStringLiteral("All files (*)")}));
    EXPECT_EQ(dialog.selectedNameFilter(), QStringLiteral("Player (executable) files (*.exe)"));
    EXPECT_EQ(QFile::encodeName(dialog.directory().absolutePath()).toStdString(), disc.path());
    dialog.reject();
  });
  EXPECT_EQ(chosen, "") << "a cancel chooses nothing";
}

TEST(ProgramDialog, TheChosenFileComesBackByItsFullPath) {
  const TempDir disc;
  const std::string player = disc.Write("Pl\xC3\xA9 yer.exe", "MZ");
  const std::string chosen = Choose(disc.path(), [&](QFileDialog& dialog) {
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(player)));
    static_cast<QDialog&>(dialog).accept();  // the file dialog keeps its own accept() protected
  });
  EXPECT_EQ(chosen, player);
}

}  // namespace
}  // namespace app
