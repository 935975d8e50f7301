#pragma once
// The program's error type. Errors are raised, never returned; they are caught only at the
// event-handler boundary, where the error report shows Message().
#include <exception>
#include <string>

class Exception : public std::exception {
public:
  explicit Exception(std::wstring message) : FMessage(std::move(message)) {}
  // UTF-16 text as the operator reads it.
  const std::wstring& Message() const noexcept { return FMessage; }
  const char* what() const noexcept override { return "Replimar error (see Message())"; }

private:
  std::wstring FMessage;
};

// A failed file or folder operation of the runtime.
class EInOutError : public Exception {
  using Exception::Exception;
};

// A file that exists but cannot be opened.
class EFOpenError : public Exception {
  using Exception::Exception;
};

// A failure of the settings store.
class ERegistryException : public Exception {
  using Exception::Exception;
};

// A property given a value outside its range.
class EInvalidOperation : public Exception {
  using Exception::Exception;
};
