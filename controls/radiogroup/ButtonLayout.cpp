#include "controls/radiogroup/ButtonLayout.h"

namespace se {

std::vector<vcl::TRect> RadioGroupButtonRects(int count, int columns, int width, int height, int lineHeight,
                                              bool rightToLeft, int clientWidth) {
    std::vector<vcl::TRect> rects;
    if (count <= 0 || columns <= 0) return rects;
    const int perColumn = (count + columns - 1) / columns;
    const int buttonWidth = (width - 10) / columns;
    const int free = height - lineHeight - 5;
    const int buttonHeight = free / perColumn;
    const int topMargin = lineHeight + 1 + (free % perColumn) / 2;
    rects.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        int left = (i / perColumn) * buttonWidth + 8;
        if (rightToLeft) left = clientWidth - left - buttonWidth;
        const int top = (i % perColumn) * buttonHeight + topMargin;
        rects.push_back(vcl::Bounds(left, top, buttonWidth, buttonHeight));
    }
    return rects;
}

}  // namespace se
