// The parts of a start that every system shares: the display's check up to the window system, and
// the toolkit's start under a temporary environment, with its fatal messages turned into one line.
#include "platform/start_conditions.h"

#include <QAccessible>
#include <QByteArray>
#include <QtGlobal>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace platform {

namespace {

// Beyond these the 96-dpi layout becomes a few pixels or a screen's worth of one corner.
constexpr double kSmallestScale = 0.1;
constexpr double kLargestScale = 10;

// While the toolkit starts, its messages are held back: when it gives up, the first message
// that says why is the one line the user sees; when it starts, they are written as they came.
std::mutex heldMutex;
std::vector<std::string> held;
QtMessageHandler previousHandler = nullptr;
const char* programName = "";

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  std::string text = message.toLocal8Bit().toStdString();
  if (context.category != nullptr && std::string_view(context.category) != "default")
    text = std::string(context.category) + ": " + text;
  if (type != QtFatalMsg) {
    const std::lock_guard lock(heldMutex);
    held.push_back(std::move(text));
    return;
  }
  std::string reason;
  {
    const std::lock_guard lock(heldMutex);
    // The platform plugin's own warning names the cause; the fatal message only the consequence.
    for (const std::string& line : held)
      if (line.rfind("qt.qpa.", 0) == 0) {
        reason = line.substr(line.find(": ") + 2);
        break;
      }
  }
  if (reason.empty()) reason = text.substr(0, text.find('\n'));
  std::fprintf(stderr, "%s: %s\n", programName, NoDisplay(reason).message.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

Result<void> CheckScaleFactor(const char* value) {
  if (value == nullptr) return {};
  char* end = nullptr;
  const double factor = std::strtod(value, &end);
  if (end == value) return {};
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') return {};
  if (std::isfinite(factor) && factor >= kSmallestScale && factor <= kLargestScale) return {};
  return Failure{std::string("unusable scale factor: QT_SCALE_FACTOR is ") + value + ", not a number from 0.1 to 10"};
}

Result<void> CheckDisplay() {
  if (Result<void> scale = CheckScaleFactor(std::getenv("QT_SCALE_FACTOR")); !scale) return scale;
  return CheckWindowSystem();
}

Failure NoDisplay(const std::string& reason) { return {"no display: " + reason}; }

ToolkitStart::ToolkitStart(const char* program) {
  programName = program;
  previousHandler = qInstallMessageHandler(HoldMessage);
  for (const auto& [name, value] : ToolkitStartEnvironment()) Set(name.c_str(), value);
}

ToolkitStart::~ToolkitStart() { Restore(); }

void ToolkitStart::Set(const char* name, const std::optional<std::string>& value) {
  std::optional<std::string> was;
  if (qEnvironmentVariableIsSet(name)) was = qgetenv(name).toStdString();
  saved_.emplace_back(name, std::move(was));
  if (value) qputenv(name, QByteArray::fromStdString(*value));
  else qunsetenv(name);
}

void ToolkitStart::Started() {
  if (restored_) return;
  // The accessibility bridge asks for the session bus when it is first wanted; it is wanted now,
  // while the bus address the toolkit was given still holds (the bus library keeps it).
  QAccessible::isActive();
  Restore();
}

void ToolkitStart::Restore() {
  if (restored_) return;
  restored_ = true;
  for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
    if (it->second) qputenv(it->first.c_str(), QByteArray::fromStdString(*it->second));
    else qunsetenv(it->first.c_str());
  }
  qInstallMessageHandler(previousHandler);
  std::vector<std::string> messages;
  {
    const std::lock_guard lock(heldMutex);
    messages.swap(held);
  }
  for (const std::string& line : messages) std::fprintf(stderr, "%s\n", line.c_str());
}

}  // namespace platform
