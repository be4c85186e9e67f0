#pragma once
// Sets (or, given no value, unsets) an environment variable while it lives, then puts back the old.

#include <cstdlib>
#include <optional>
#include <string>

namespace testsupport {

class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        old_ = std::getenv(name) ? std::optional<std::string>(std::getenv(name)) : std::nullopt;
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_); }
    ScopedEnvironment(ScopedEnvironment&&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        (void)(value ? ::setenv(name_.c_str(), value->c_str(), 1) : ::unsetenv(name_.c_str()));
    }

    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace testsupport
