#include "controls/surface/SharedBuffer.h"

#include "controls/surface/WindowServices.h"

namespace se {

TseBitmap& SharedBuffer() {
    static TseBitmap buffer;
    return buffer;
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
