#pragma once
// Errors are values: an operation that can fail returns a Result, which holds
// either its value or an Error that says what failed and why.

#include <optional>
#include <string>
#include <utility>

namespace platform {

struct Error {
    std::string what;  // the file, key or program that failed, as the user knows it
    std::string why;   // the cause, in words a user understands ("Permission denied")
    int code = 0;      // the errno value that says what kind of failure; 0 when none applies

    std::string Describe() const { return why.empty() ? what : what + ": " + why; }
};

// An error from a failed system call: its errno value and the system's words for it.
Error SystemError(std::string what, int errnoValue);

template <class T>
class [[nodiscard]] Result {
  public:
    Result(T value) : value_(std::move(value)) {}
    Result(Error error) : error_(std::move(error)) {}

    bool ok() const { return value_.has_value(); }
    explicit operator bool() const { return ok(); }
    const T& value() const& { return *value_; }
    T& value() & { return *value_; }
    T&& value() && { return std::move(*value_); }
    const T& operator*() const& { return *value_; }
    const T* operator->() const { return &*value_; }
    const Error& error() const { return error_; }

  private:
    std::optional<T> value_;
    Error error_;
};

// The result of an operation that yields nothing but success or an error.
class [[nodiscard]] Status {
  public:
    Status() = default;
    Status(Error error) : failed_(true), error_(std::move(error)) {}
    static Status Ok() { return {}; }

    bool ok() const { return !failed_; }
    explicit operator bool() const { return ok(); }
    const Error& error() const { return error_; }

  private:
    bool failed_ = false;
    Error error_;
};

}  // namespace platform
