#pragma once
// The clipboard's text (UTF-8, the system code page here). Unicode and plain text are the same
// format on this platform.

#include <string>

namespace vcl {

bool ClipboardHasText();
std::string ClipboardGetText();
void ClipboardSetText(const std::string& text);

}  // namespace vcl
