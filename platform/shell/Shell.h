#pragma once
// Opening a document or web address with the desktop's default handler.

#include <string>

namespace vcl {

// Hands the address to the desktop's opener (xdg-open) in a detached process and returns at once;
// the opener's own success is never waited for. Returns false only when no process could be
// started. The address is passed as one argument, never through a shell's parsing.
bool OpenWebAddress(const std::string& address);

}  // namespace vcl
