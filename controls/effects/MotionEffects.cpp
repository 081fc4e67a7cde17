#include "controls/effects/MotionEffects.h"

#include <algorithm>

#include "controls/effects/AnimationRec.h"
#include "controls/surface/Bitmap.h"

namespace se {

namespace {

// How much of a span of the given length is still hidden at percent.
int Hidden(int length, int percent) { return length * (100 - std::clamp(percent, 0, 100)) / 100; }

// A cell showing the new image's cell (x, y), or nothing when that lies off the grid.
TseCell CellShowing(int x, int y, int width, int height) {
    if (x < 0 || y < 0 || x >= width || y >= height) return TseCell{0, -1, -1};
    return TseCell{255, static_cast<int16_t>(x), static_cast<int16_t>(y)};
}

// Even rows come in from the left, odd rows from the right.
void Interlace(TseCell* cells, int width, int height, int percent) {
    const int shift = Hidden(width, percent);
    for (int y = 0; y < height; ++y) {
        const int offset = y % 2 == 0 ? -shift : shift;
        for (int x = 0; x < width; ++x) cells[y * width + x] = CellShowing(x + offset, y, width, height);
    }
}

// The new image comes in from the top-left corner.
void Corner(TseCell* cells, int width, int height, int percent) {
    const int dx = Hidden(width, percent), dy = Hidden(height, percent);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) cells[y * width + x] = CellShowing(x - dx, y - dy, width, height);
    }
}

enum class Side { Left, Top, Right, Bottom };

Side EntrySide(TseRotation rotation) {
    switch (rotation) {
    case krRotate90: return Side::Top;
    case krRotate180: return Side::Right;
    case krRotate270: return Side::Bottom;
    default: return Side::Left;
    }
}

bool SameSize(const TseBitmap& frame, const TseBitmap& image) {
    return !frame.Empty() && frame.Width() == image.Width() && frame.Height() == image.Height();
}

// Blends the part of the new image that has come in from the side over the frame.
void BlendEntered(TseBitmap& frame, const TseBitmap& image, Side side, int percent) {
    const int w = frame.Width(), h = frame.Height();
    const auto blendRow = Routines().blendRow;
    switch (side) {
    case Side::Left:
    case Side::Right: {
        const int hidden = Hidden(w, percent);
        if (hidden >= w) return;
        for (int y = 0; y < h; ++y) {
            if (side == Side::Left) blendRow(image.PixelPtr(hidden, y), frame.PixelPtr(0, y), w - hidden);
            else blendRow(image.PixelPtr(0, y), frame.PixelPtr(hidden, y), w - hidden);
        }
        break;
    }
    case Side::Top:
    case Side::Bottom: {
        const int hidden = Hidden(h, percent);
        for (int y = 0; y + hidden < h; ++y) {
            if (side == Side::Top) blendRow(image.ScanLine(y + hidden), frame.ScanLine(y), w);
            else blendRow(image.ScanLine(y), frame.ScanLine(y + hidden), w);
        }
        break;
    }
    }
}

// Moves the old image in the frame away from the side by what the new image has covered; the
// uncovered strip keeps what was there.
void PushOld(TseBitmap& frame, Side side, int percent) {
    const int w = frame.Width(), h = frame.Height();
    switch (side) {
    case Side::Left:
    case Side::Right: {
        const int entered = w - Hidden(w, percent);
        if (entered <= 0 || entered >= w) return;
        for (int y = 0; y < h; ++y) {
            TsePixel* row = frame.ScanLine(y);
            if (side == Side::Left) std::copy_backward(row, row + (w - entered), row + w);
            else std::copy(row + entered, row + w, row);
        }
        break;
    }
    case Side::Top:
    case Side::Bottom: {
        const int entered = h - Hidden(h, percent);
        if (entered <= 0 || entered >= h) return;
        if (side == Side::Top) {
            for (int y = h - 1; y >= entered; --y) std::copy_n(frame.ScanLine(y - entered), w, frame.ScanLine(y));
        } else {
            for (int y = 0; y + entered < h; ++y) std::copy_n(frame.ScanLine(y + entered), w, frame.ScanLine(y));
        }
        break;
    }
    }
}

// The new image slides in over the old one.
void Slide(TseBitmap& frame, const TseBitmap& image, const TseAnimationRec& animation, int percent) {
    if (!SameSize(frame, image)) return;
    BlendEntered(frame, image, EntrySide(animation.Rotation()), percent);
}

// The new image pushes the old one out.
void Push(TseBitmap& frame, const TseBitmap& image, const TseAnimationRec& animation, int percent) {
    if (!SameSize(frame, image)) return;
    const Side side = EntrySide(animation.Rotation());
    PushOld(frame, side, percent);
    BlendEntered(frame, image, side, percent);
}

}  // namespace

void RegisterCellEffects(TseProcList& list) {
    list.RegisterEffect("Interlace", &Interlace);
    list.RegisterEffect("Corner", &Corner);
}

void RegisterDrawEffects(TseProcList& list) {
    list.RegisterEffect("Slide", &Slide);
    list.RegisterEffect("Push", &Push);
}

}  // namespace se
