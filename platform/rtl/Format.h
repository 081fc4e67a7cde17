#pragma once
// printf-style formatting into std::string, for exception messages.

#include <string>

namespace rtl {

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace rtl
