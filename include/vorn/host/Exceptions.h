// The host's exception classes. Every error the library raises is an
// Exception (or derives from it): an 8-bit message, what() giving the same
// text, and a class name for displays. Subsystems add their own errors by
// deriving from Exception (or a class below) with VORN_CLASS; copying an
// exception, or slicing it to a base, keeps a valid message.
//
// Texts of the fixed messages follow the host exactly ("Operation aborted",
// "Division by zero", ...). Catch by reference.
#pragma once

#include <exception>
#include <string>

#include "vorn/host/Object.h"

namespace vorn {

class Exception : public TObject, public std::exception {
  VORN_CLASS(Exception, TObject)
  explicit Exception(std::string message) : message_(std::move(message)) {}

  const std::string& Message() const noexcept { return message_; }
  void SetMessage(std::string message) { message_ = std::move(message); }
  const char* what() const noexcept override { return message_.c_str(); }

 private:
  std::string message_;
};

// A silent exception: it unwinds like any other, but the application's
// exception display shows nothing for it.
class EAbort : public Exception {
  VORN_CLASS(EAbort, Exception)
  EAbort() : Exception("Operation aborted") {}
  using Exception::Exception;
};

class EDatabaseError : public Exception {
  VORN_CLASS(EDatabaseError, Exception)
  using Exception::Exception;
};

// Text that does not convert to a number or a date.
class EConvertError : public Exception {
  VORN_CLASS(EConvertError, Exception)
  using Exception::Exception;
};

class EListError : public Exception {
  VORN_CLASS(EListError, Exception)
  using Exception::Exception;
};

class EStringListError : public EListError {
  VORN_CLASS(EStringListError, EListError)
  using EListError::EListError;
};

class EVariantError : public Exception {
  VORN_CLASS(EVariantError, Exception)
  using Exception::Exception;
};

class EComponentError : public Exception {
  VORN_CLASS(EComponentError, Exception)
  using Exception::Exception;
};

class EThread : public Exception {
  VORN_CLASS(EThread, Exception)
  using Exception::Exception;
};

// An input/output failure with the operating system's error number.
class EInOutError : public Exception {
  VORN_CLASS(EInOutError, Exception)
  EInOutError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

// A failed operating-system call: "System Error.  Code: n." and the system's
// text on the next line.
class EOSError : public Exception {
  VORN_CLASS(EOSError, Exception)
  explicit EOSError(int errorCode);
  EOSError(std::string message, int errorCode)
      : Exception(std::move(message)), errorCode_(errorCode) {}
  int ErrorCode() const noexcept { return errorCode_; }

 private:
  int errorCode_;
};

// Streams. Opening or creating a file fails with EFOpenError/EFCreateError
// ('Cannot open file "name". reason'); short reads and writes fail with
// EReadError/EWriteError ("Stream read error", "Stream write error"); a
// malformed component stream fails with EReadError.
class EStreamError : public Exception {
  VORN_CLASS(EStreamError, Exception)
  using Exception::Exception;
};

class EFOpenError : public EStreamError {
  VORN_CLASS(EFOpenError, EStreamError)
  using EStreamError::EStreamError;
};

class EFCreateError : public EStreamError {
  VORN_CLASS(EFCreateError, EStreamError)
  using EStreamError::EStreamError;
};

class EFilerError : public EStreamError {
  VORN_CLASS(EFilerError, EStreamError)
  using EStreamError::EStreamError;
};

class EReadError : public EFilerError {
  VORN_CLASS(EReadError, EFilerError)
  using EFilerError::EFilerError;
};

class EWriteError : public EFilerError {
  VORN_CLASS(EWriteError, EFilerError)
  using EFilerError::EFilerError;
};

// Integer arithmetic.
class EIntError : public Exception {
  VORN_CLASS(EIntError, Exception)
  using Exception::Exception;
};

class EDivByZero : public EIntError {
  VORN_CLASS(EDivByZero, EIntError)
  EDivByZero() : EIntError("Division by zero") {}
  using EIntError::EIntError;
};

class ERangeError : public EIntError {
  VORN_CLASS(ERangeError, EIntError)
  ERangeError() : EIntError("Range check error") {}
  using EIntError::EIntError;
};

class EIntOverflow : public EIntError {
  VORN_CLASS(EIntOverflow, EIntError)
  EIntOverflow() : EIntError("Integer overflow") {}
  using EIntError::EIntError;
};

// Floating-point arithmetic.
class EMathError : public Exception {
  VORN_CLASS(EMathError, Exception)
  using Exception::Exception;
};

class EInvalidOp : public EMathError {
  VORN_CLASS(EInvalidOp, EMathError)
  EInvalidOp() : EMathError("Invalid floating point operation") {}
  using EMathError::EMathError;
};

class EZeroDivide : public EMathError {
  VORN_CLASS(EZeroDivide, EMathError)
  EZeroDivide() : EMathError("Floating point division by zero") {}
  using EMathError::EMathError;
};

class EOverflow : public EMathError {
  VORN_CLASS(EOverflow, EMathError)
  EOverflow() : EMathError("Floating point overflow") {}
  using EMathError::EMathError;
};

class EUnderflow : public EMathError {
  VORN_CLASS(EUnderflow, EMathError)
  EUnderflow() : EMathError("Floating point underflow") {}
  using EMathError::EMathError;
};

// Raises EDatabaseError with `message`. (The dataset framework adds the form
// that prefixes a component's name.)
[[noreturn]] void DatabaseError(const std::string& message);

// Raises EAbort.
[[noreturn]] void Abort();

}  // namespace vorn
