// The base of every exception the program raises: a message text, as users and logs see it.
#pragma once
#include <exception>
#include <string>
#include <utility>

class Exception : public std::exception {
public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& Message() const noexcept { return message_; }

private:
  std::string message_;
};

// Raised by string lists for bad indexes, duplicates and capacity errors.
class EStringListError : public Exception {
public:
  using Exception::Exception;
};

// Raised by streams when a file cannot be opened, read or written.
class EStreamError : public Exception {
public:
  using Exception::Exception;
};
