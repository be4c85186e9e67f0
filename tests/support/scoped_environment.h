#pragma once
// Sets (or, given no value, unsets) an environment variable for the lifetime
// of the object, and puts back what was there before.

#include <cstdlib>
#include <optional>
#include <string>

namespace testsupport {

class ScopedEnvironment {
  public:
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        Set(value);
    }
    ~ScopedEnvironment() { Set(old_); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

  private:
    void Set(const std::optional<std::string>& value) {
        (void)(value ? ::setenv(name_.c_str(), value->c_str(), 1) : ::unsetenv(name_.c_str()));
    }

    std::string name_;
    std::optional<std::string> old_;
};

}  // namespace testsupport
