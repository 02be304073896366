#ifndef SALDEX_DBF_ERRORS_H_
#define SALDEX_DBF_ERRORS_H_

#include <stdexcept>
#include <string>

namespace dbf {

// Common base of the engine's three error kinds. The message is the engine's
// English text with its placeholders filled.
class EngineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised by the table file layer (DbfFile, DiskFile, lock protocols). A
// failure of an operating-system call carries its errno in os_error() (0
// otherwise), and its message ends with the system's text for it.
class DbfError : public EngineError {
 public:
  using EngineError::EngineError;
  DbfError(const std::string& message, int os_error)
      : EngineError(WithOsReason(message, os_error)), os_error_(os_error) {}
  int os_error() const { return os_error_; }

  // `message` followed by ": " and strerror(os_error); `message` alone for 0.
  static std::string WithOsReason(const std::string& message, int os_error);

 private:
  int os_error_ = 0;
};

// Raised by the dataset cursor (DbfDataSet).
class DatasetError : public EngineError {
 public:
  using EngineError::EngineError;
};

// Raised by the expression compiler and evaluator.
class ExpressionError : public EngineError {
 public:
  using EngineError::EngineError;
};

// Replaces each "%s" / "%d" of `pattern` in turn with the next argument.
std::string FormatMessage(const char* pattern, const std::string& a);
std::string FormatMessage(const char* pattern, const std::string& a, const std::string& b);
std::string FormatMessage(const char* pattern, const std::string& a, const std::string& b,
                          const std::string& c);

}  // namespace dbf

#endif  // SALDEX_DBF_ERRORS_H_
