#include "platform/window/Clipboard.h"

#include "platform/window/WindowSystem.h"

namespace vcl {

bool ClipboardHasText() {
    TBackend* backend = WindowSystem().Backend();
    return backend && backend->HasClipboardText();
}

std::string ClipboardGetText() {
    TBackend* backend = WindowSystem().Backend();
    return backend ? backend->ClipboardText() : std::string();
}

void ClipboardSetText(const std::string& text) {
    if (TBackend* backend = WindowSystem().Backend()) backend->SetClipboardText(text);
}

}  // namespace vcl
