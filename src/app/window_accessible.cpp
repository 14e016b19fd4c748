#include "app/window_accessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <algorithm>
#include <mutex>

#include "app/main_window.h"
#include "app/title_strip.h"

namespace app {

namespace {

constexpr const char* kHiddenProperty = "autorunHiddenFromAssistiveTechnology";

class WindowAccessible : public QAccessibleWidget {
 public:
  explicit WindowAccessible(QWidget* window) : QAccessibleWidget(window, QAccessible::Window) {}

  int childCount() const override { return static_cast<int>(AccessibleChildren(*widget()).size()); }

  QAccessibleInterface* child(int index) const override {
    const std::vector<QWidget*> children = AccessibleChildren(*widget());
    if (index < 0 || index >= static_cast<int>(children.size())) return nullptr;
    return QAccessible::queryAccessibleInterface(children[static_cast<size_t>(index)]);
  }

  int indexOfChild(const QAccessibleInterface* child) const override {
    if (child == nullptr) return -1;
    const std::vector<QWidget*> children = AccessibleChildren(*widget());
    const auto at = std::find(children.begin(), children.end(), child->object());
    return at == children.end() ? -1 : static_cast<int>(at - children.begin());
  }
};

// The close picture is one button to the user; its two looks are pictures of it, not parts.
class CloseButtonAccessible : public QAccessibleWidget {
 public:
  explicit CloseButtonAccessible(QWidget* button) : QAccessibleWidget(button, QAccessible::Button) {}
  int childCount() const override { return 0; }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QStringList actionNames() const override { return {pressAction()}; }
  void doAction(const QString& name) override {
    if (name == pressAction()) emit static_cast<CloseButton*>(widget())->clicked();
  }
};

QAccessibleInterface* Describe(const QString& className, QObject* object) {
  if (!object->isWidgetType()) return nullptr;
  auto* widget = static_cast<QWidget*>(object);
  if (className == QLatin1String(TMainWin::staticMetaObject.className())) return new WindowAccessible(widget);
  if (className == QLatin1String(CloseButton::staticMetaObject.className())) return new CloseButtonAccessible(widget);
  return nullptr;
}

}  // namespace

QString PosterAccessibleName(const QString& title) {
  return title.isEmpty() ? QStringLiteral("Poster") : QStringLiteral("Poster: ") + title;
}

void HideFromAssistiveTechnology(QWidget* widget) { widget->setProperty(kHiddenProperty, true); }

std::vector<QWidget*> AccessibleChildren(const QWidget& window) {
  std::vector<QWidget*> children;
  for (QObject* object : window.children()) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || widget->isWindow() || widget->property(kHiddenProperty).toBool()) continue;
    children.push_back(widget);
  }
  std::stable_sort(children.begin(), children.end(), [](const QWidget* a, const QWidget* b) {
    return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
  });
  return children;
}

void InstallWindowAccessibility() {
  static std::once_flag installed;
  std::call_once(installed, [] { QAccessible::installFactory(Describe); });
}

}  // namespace app
