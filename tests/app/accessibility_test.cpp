// What assistive technology meets on the window: named controls in screen order, the title once.
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <gtest/gtest.h>

#include "app/main_window.h"
#include "app/window_accessible.h"
#include "support/avi_bytes.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"

namespace app {
namespace {

using testsupport::TempDir;

struct Launcher {
  explicit Launcher(const TempDir& disc) : in(disc.path()) {
    services.launcherDirectory = disc.path() + "/";
    window = std::make_unique<TMainWin>(services, services, services.System());
    window->FormCreate();
    window->show();
  }
  std::vector<QAccessibleInterface*> Children() const {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(window.get());
    std::vector<QAccessibleInterface*> children;
    for (int i = 0; i < iface->childCount(); ++i) children.push_back(iface->child(i));
    return children;
  }
  std::vector<std::string> ChildNames() const {  // object names, shown ones only
    std::vector<std::string> names;
    for (QAccessibleInterface* child : Children())
      if (!child->state().invisible) names.push_back(child->object()->objectName().toStdString());
    return names;
  }
  testsupport::ScopedChdir in;
  testsupport::FakeServices services;
  std::unique_ptr<TMainWin> window;
};

QAccessibleInterface* ChildFor(const Launcher& launcher, QObject* object) {
  for (QAccessibleInterface* child : launcher.Children())
    if (child->object() == object) return child;
  return nullptr;
}

TEST(Accessibility, ControlsComeInScreenOrderWithTheTitleOnce) {
  struct Row {
    const char* name;
    std::vector<std::string> files;
    std::vector<std::string> order;
  };
  const Row rows[] = {
      {"movie and both players", {"Harbor.Of.Echoes.avi", "vplayer.exe", "bplay.exe"},
       {"imgTitle", "imgTitleLabel", "closeButton", "imgPreview", "dxStart", "dxBPlayer", "dxSelect", "dxClose",
        "dxInfo", "lblNotAvi", "lblTitle"}},
      {"no movie: Close alone, at the top", {}, {"imgTitle", "imgTitleLabel", "closeButton", "imgPreview", "dxClose",
                                                  "lblNotAvi", "lblTitle"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    TempDir disc;
    for (const std::string& file : row.files)
      disc.Write(file, file.ends_with(".avi") ? testsupport::AviBytes() : std::string());
    Launcher launcher(disc);
    EXPECT_EQ(launcher.ChildNames(), row.order);
    EXPECT_EQ(ChildFor(launcher, launcher.window->lblTitle2), nullptr) << "the shadow repeats the title";
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(launcher.window.get());
    const std::vector<QAccessibleInterface*> children = launcher.Children();
    for (int i = 0; i < static_cast<int>(children.size()); ++i) {
      EXPECT_EQ(window->indexOfChild(children[static_cast<size_t>(i)]), i);
      EXPECT_EQ(children[static_cast<size_t>(i)]->parent(), window);
    }
  }
}

TEST(Accessibility, ThePosterCarriesTheFilmsTitle) {
  TempDir disc;
  disc.Write("Harbor.Of.Echoes.avi", testsupport::AviBytes());
  Launcher launcher(disc);
  const QString title = launcher.window->lblTitle->text();
  ASSERT_FALSE(title.isEmpty());
  QAccessibleInterface* poster = ChildFor(launcher, launcher.window->imgPreview);
  ASSERT_NE(poster, nullptr);
  EXPECT_EQ(poster->text(QAccessible::Name), QStringLiteral("Poster: ") + title);

  TempDir empty;
  Launcher without(empty);
  EXPECT_EQ(ChildFor(without, without.window->imgPreview)->text(QAccessible::Name), QStringLiteral("Poster"));
}

TEST(Accessibility, TheStripsClosePictureIsOneButtonThatCloses) {
  TempDir disc;
  Launcher launcher(disc);
  QAccessibleInterface* close = ChildFor(launcher, launcher.window->closeButton);
  ASSERT_NE(close, nullptr);
  EXPECT_EQ(close->role(), QAccessible::Button);
  EXPECT_EQ(close->text(QAccessible::Name), QStringLiteral("Close"));
  EXPECT_EQ(close->childCount(), 0) << "its two looks are pictures of it, not parts";
  QAccessibleActionInterface* actions = close->actionInterface();
  ASSERT_NE(actions, nullptr);
  ASSERT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
  actions->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_FALSE(launcher.window->isVisible());
}

}  // namespace
}  // namespace app
