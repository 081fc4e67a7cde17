#pragma once
// The exception family of the runtime: every error the system raises derives from Exception,
// whose message is what the application's error box shows.

#include <exception>
#include <string>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const char* what() const noexcept override { return message_.c_str(); }
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// A text that is not a number of the expected kind, or a value outside the accepted range.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A floating-point result that does not fit the target precision.
class EOverflow : public Exception {
public:
    EOverflow() : Exception("Floating point overflow") {}
};

// An index or count outside the bounds of a buffer.
class ERangeError : public Exception {
public:
    ERangeError() : Exception("Range check error") {}
    using Exception::Exception;
};

}  // namespace rtl
