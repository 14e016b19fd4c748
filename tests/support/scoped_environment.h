#pragma once
// Environment variables changed for one test and restored afterwards, in reverse order.
#include <QByteArray>
#include <QtGlobal>

#include <string>
#include <tuple>
#include <vector>

namespace testsupport {

class ScopedEnvironment {
 public:
  ScopedEnvironment() = default;
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
  // nullptr unsets the variable.
  void Set(const char* name, const char* value) {
    saved_.emplace_back(name, qgetenv(name), qEnvironmentVariableIsSet(name));
    if (value) qputenv(name, value);
    else qunsetenv(name);
  }
  void Set(const char* name, const std::string& value) { Set(name, value.c_str()); }
  ~ScopedEnvironment() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
      if (std::get<2>(*it)) qputenv(std::get<0>(*it), std::get<1>(*it));
      else qunsetenv(std::get<0>(*it));
    }
  }

 private:
  std::vector<std::tuple<const char*, QByteArray, bool>> saved_;
};

}  // namespace testsupport
