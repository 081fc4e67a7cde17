#include "controls/surface/SharedBuffer.h"

#include "controls/surface/WindowServices.h"
#include "platform/rtl/NeverDestroyed.h"

namespace se {

TseBitmap& SharedBuffer() {
    static rtl::NeverDestroyed<TseBitmap> buffer;
    return *buffer;
}

TseBitmap& SizedSharedBuffer() {
    TseBitmap& buffer = SharedBuffer();
    if (buffer.Empty()) {
        const TSize screen = WindowServices().ScreenSize();
        buffer.SetSize(screen.cx + 500, screen.cy + 500);
    }
    return buffer;
}

}  // namespace se
