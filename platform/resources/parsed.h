// What a resource parser returns: the value, or one message naming what is wrong.
#pragma once

#include <optional>
#include <string>
#include <utility>

namespace handset::res {

struct ParseError {
  std::string message;
};

template <class T>
class Parsed {
 public:
  Parsed(T value) : value_(std::move(value)) {}                   // NOLINT(google-explicit-constructor)
  Parsed(ParseError error) : error_(std::move(error.message)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return value_.has_value(); }  // NOLINT(readability-identifier-naming): as StatusOr has it
  explicit operator bool() const { return ok(); }
  const T& operator*() const& { return *value_; }
  T&& operator*() && { return std::move(*value_); }
  const T* operator->() const { return &*value_; }
  const std::string& error() const { return error_; }  // NOLINT(readability-identifier-naming): likewise

 private:
  std::optional<T> value_;
  std::string error_;
};

}  // namespace handset::res
