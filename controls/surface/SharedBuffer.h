#pragma once
// The one off-screen surface all shared-buffer controls paint through in turn.

#include "controls/surface/Bitmap.h"

namespace se {

// Empty until first sized; lives until the program ends.
TseBitmap& SharedBuffer();
// Sizes the shared buffer on its first use to (screen width + 500) by (screen height + 500); it
// keeps that size afterwards, even when the screen changes.
TseBitmap& SizedSharedBuffer();

}  // namespace se
