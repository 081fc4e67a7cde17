#include "controls/effects/Transition.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "controls/effects/Timer.h"
#include "platform/runtime/Clock.h"

namespace se {

namespace {

constexpr TsePixel kColorBits = 0x00FFFFFFu;

// The new image as the effects see it: opaque, except its key pixels, which are fully clear.
void MakeLayer(const TseBitmap& image, TseBitmap& layer) {
    layer.SetSize(image.Width(), image.Height());
    const size_t count = static_cast<size_t>(image.Width()) * static_cast<size_t>(image.Height());
    const TsePixel* source = image.Bits();
    TsePixel* target = layer.Bits();
    for (size_t i = 0; i < count; ++i) target[i] = IsKeyPixel(source[i]) ? KeyColor : (source[i] | 0xFF000000u);
    layer.SetHasAlpha(true);
}

// The old image cut or padded to width × height.
void FitOld(const TseBitmap& image, int width, int height, TseBitmap& fitted) {
    fitted.SetSize(width, height);
    fitted.Clear(0);
    const int columns = std::min(width, image.Width());
    for (int y = 0; y < std::min(height, image.Height()); ++y) std::copy_n(image.ScanLine(y), columns, fitted.ScanLine(y));
}

// Nearest neighbour with StretchDraw's sampling (ends onto ends); the middle for a one-cell target.
int Sample(int index, int sourceLength, int targetLength) {
    if (targetLength < 2) return (sourceLength - 1) / 2;
    return static_cast<int>(static_cast<int64_t>(index) * (sourceLength - 1) / (targetLength - 1));
}

}  // namespace

int EffectRandom(int range) {
    if (range <= 0) return 0;
    static std::minstd_rand generator(static_cast<std::minstd_rand::result_type>(std::random_device{}()));
    return std::uniform_int_distribution<int>(0, range - 1)(generator);
}

TseTransition::TseTransition(const TseAnimationRec& animation, const TseBitmap& newImage, const TseBitmap& oldImage,
                             const TseProcList& effects)
    : animation_(animation) {
    if (newImage.Empty() || oldImage.Empty()) return;
    const std::string& name = animation.Effect();
    if (SameEffectName(name, kRandomEffectName)) {
        if (effects.Count() > 0) effect_ = &effects.Items(EffectRandom(effects.Count()));
    } else if (SameEffectName(name, kBitmapEffectName)) {
        bitmap_ = true;
    } else {
        effect_ = effects.FindEffect(name);
    }
    if (!bitmap_ && (effect_ == nullptr || !effect_->HasProcedure())) {
        effect_ = nullptr;
        return;
    }

    const int width = newImage.Width(), height = newImage.Height();
    rotation_ = animation.Rotation();
    resolution_ = std::clamp(animation.Resolution(), 1, 10);
    tileCount_ = std::clamp(animation.TileCount(), 1, 20);
    gridWidth_ = width / resolution_ / tileCount_ + 1;
    gridHeight_ = height / resolution_ / tileCount_ + 1;
    const bool quarter = rotation_ == krRotate90 || rotation_ == krRotate270;
    rotatedWidth_ = quarter ? gridHeight_ : gridWidth_;
    rotatedHeight_ = quarter ? gridWidth_ : gridHeight_;

    MakeLayer(newImage, layer_);
    FitOld(oldImage, width, height, old_);
    frame_.SetSize(width, height);

    const size_t cells = static_cast<size_t>(gridWidth_) * static_cast<size_t>(gridHeight_);
    const int family = bitmap_ ? kMaskFamily : effect_->Family();
    if (family == kMaskFamily) {
        mask_.resize(cells);
        if (rotation_ != krNone && !bitmap_) rotated_.resize(cells);
        rowBuffer_.resize(static_cast<size_t>(width));
        // Each tile is (grid × resolution) pixels; a pixel reads the mask cell it falls in.
        const int tileWidth = gridWidth_ * resolution_, tileHeight = gridHeight_ * resolution_;
        maskColumn_.resize(static_cast<size_t>(width));
        for (int x = 0; x < width; ++x) maskColumn_[static_cast<size_t>(x)] = (x % tileWidth) / resolution_;
        maskRow_.resize(static_cast<size_t>(height));
        for (int y = 0; y < height; ++y) maskRow_[static_cast<size_t>(y)] = (y % tileHeight) / resolution_;
    } else if (family == kCellFamily) {
        cells_.resize(cells);
    }
    if (bitmap_) {
        // The picture stretched onto the grid as the effect would fill it; its blue is the base.
        const TseBitmap& picture = animation.Bitmap();
        base_.assign(cells, 0);
        if (!picture.Empty()) {
            for (int y = 0; y < rotatedHeight_; ++y) {
                const int sy = Sample(y, picture.Height(), rotatedHeight_);
                for (int x = 0; x < rotatedWidth_; ++x) {
                    const int sx = Sample(x, picture.Width(), rotatedWidth_);
                    base_[static_cast<size_t>(y * rotatedWidth_ + x)] = static_cast<uint8_t>(picture.ReadPixel(sx, sy));
                }
            }
        }
    }
    ready_ = true;
}

int TseTransition::RotatedIndex(int x, int y) const {
    switch (rotation_) {
    case krRotate90: return (rotatedHeight_ - 1 - x) * rotatedWidth_ + y;
    case krRotate180: return (gridHeight_ - 1 - y) * gridWidth_ + (gridWidth_ - 1 - x);
    case krRotate270: return x * rotatedWidth_ + (rotatedWidth_ - 1 - y);
    default: return y * gridWidth_ + x;
    }
}

void TseTransition::ToPlace(int x, int y, int& placedX, int& placedY) const {
    switch (rotation_) {
    case krRotate90:
        placedX = rotatedHeight_ - 1 - y;
        placedY = x;
        break;
    case krRotate180:
        placedX = gridWidth_ - 1 - x;
        placedY = gridHeight_ - 1 - y;
        break;
    case krRotate270:
        placedX = y;
        placedY = rotatedWidth_ - 1 - x;
        break;
    default:
        placedX = x;
        placedY = y;
        break;
    }
}

const TseBitmap& TseTransition::Frame(int percent) {
    if (!ready_) return frame_;
    percent = std::clamp(percent, 0, 100);
    std::copy_n(old_.Bits(), static_cast<size_t>(frame_.Width()) * static_cast<size_t>(frame_.Height()), frame_.Bits());
    if (bitmap_ || effect_->Family() == kMaskFamily) {
        ComposeMask(percent);
    } else if (effect_->Family() == kCellFamily) {
        ComposeCells(percent);
    } else {
        std::get<TseDrawEffect>(effect_->Procedure())(frame_, layer_, animation_, percent);
    }
    return frame_;
}

void TseTransition::ComposeMask(int percent) {
    const size_t cells = mask_.size();
    if (bitmap_) {
        // Bright picture cells turn over first: base − 255 at 0 %, base + 255 at 100 %.
        const int shift = static_cast<int>(std::lround(510.0 * percent / 100.0)) - 255;
        for (int y = 0; y < gridHeight_; ++y) {
            for (int x = 0; x < gridWidth_; ++x) {
                const int value = base_[static_cast<size_t>(RotatedIndex(x, y))] + shift;
                mask_[static_cast<size_t>(y * gridWidth_ + x)] = static_cast<uint8_t>(std::clamp(value, 0, 255));
            }
        }
    } else if (rotation_ == krNone) {
        std::fill_n(mask_.data(), cells, uint8_t{0});
        std::get<TseMaskEffect>(effect_->Procedure())(mask_.data(), gridWidth_, gridHeight_, percent);
    } else {
        std::fill_n(rotated_.data(), cells, uint8_t{0});
        std::get<TseMaskEffect>(effect_->Procedure())(rotated_.data(), rotatedWidth_, rotatedHeight_, percent);
        for (int y = 0; y < gridHeight_; ++y) {
            for (int x = 0; x < gridWidth_; ++x) {
                mask_[static_cast<size_t>(y * gridWidth_ + x)] = rotated_[static_cast<size_t>(RotatedIndex(x, y))];
            }
        }
    }

    // Every mask value becomes the alpha of the new image's pixels under it; key pixels stay clear.
    const int width = frame_.Width();
    const auto blendRow = Routines().blendRow;
    for (int y = 0; y < frame_.Height(); ++y) {
        const uint8_t* maskRow = mask_.data() + static_cast<ptrdiff_t>(maskRow_[static_cast<size_t>(y)]) * gridWidth_;
        const TsePixel* source = layer_.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            const TsePixel pixel = source[x];
            const TsePixel alpha = AlphaOf(pixel) == 0 ? 0 : maskRow[maskColumn_[static_cast<size_t>(x)]];
            rowBuffer_[static_cast<size_t>(x)] = (pixel & kColorBits) | (alpha << 24);
        }
        blendRow(rowBuffer_.data(), frame_.ScanLine(y), width);
    }
}

void TseTransition::ComposeCells(int percent) {
    std::get<TseCellEffect>(effect_->Procedure())(cells_.data(), rotatedWidth_, rotatedHeight_, percent);
    const int width = frame_.Width(), height = frame_.Height();
    const int tileWidth = gridWidth_ * resolution_, tileHeight = gridHeight_ * resolution_;
    for (int tileY = 0; tileY < tileCount_ && tileY * tileHeight < height; ++tileY) {
        for (int tileX = 0; tileX < tileCount_ && tileX * tileWidth < width; ++tileX) {
            const int left = tileX * tileWidth, top = tileY * tileHeight;
            for (int y = 0; y < gridHeight_; ++y) {
                for (int x = 0; x < gridWidth_; ++x) {
                    const TseCell& cell = cells_[static_cast<size_t>(RotatedIndex(x, y))];
                    if (cell.Alpha == 0) continue;
                    int sourceX = 0, sourceY = 0;
                    ToPlace(cell.X, cell.Y, sourceX, sourceY);
                    // The source must lie in the same tile.
                    if (sourceX < 0 || sourceY < 0 || sourceX >= gridWidth_ || sourceY >= gridHeight_) continue;
                    const TsePixel alpha = std::min<TsePixel>(cell.Alpha, 255);
                    for (int dy = 0; dy < resolution_; ++dy) {
                        const int frameY = top + y * resolution_ + dy, layerY = top + sourceY * resolution_ + dy;
                        if (frameY >= height || layerY >= height) break;
                        for (int dx = 0; dx < resolution_; ++dx) {
                            const int frameX = left + x * resolution_ + dx, layerX = left + sourceX * resolution_ + dx;
                            if (frameX >= width || layerX >= width) break;
                            const TsePixel pixel = *layer_.PixelPtr(layerX, layerY);
                            if (AlphaOf(pixel) == 0) continue;
                            TsePixel& target = *frame_.PixelPtr(frameX, frameY);
                            target = alpha == 255 ? pixel : BlendPixel((pixel & kColorBits) | (alpha << 24), target);
                        }
                    }
                }
            }
        }
    }
}

void Execute(vcl::TCanvas& canvas, int x, int y, const TseAnimationRec& animation, const TseBitmap& newImage,
             const TseBitmap& oldImage) {
    TseTransition transition(animation, newImage, oldImage);
    if (!transition.Ready()) return;
    // Progress follows the time that has really passed, frames included, and the frame count
    // bounds the loop, so a clock that stands still cannot hold it either.
    const double total = animation.Time();
    const int frameCap = animation.Time() / kFramePeriodMs + 1;
    TseTimer timer;
    timer.Start();
    for (int frame = 0; frame < frameCap; ++frame) {
        const double elapsed = std::max(0.0, timer.Elapsed() * 1000.0);
        if (elapsed >= total) break;
        const double share = std::max(elapsed / total, static_cast<double>(frame) / frameCap);
        const int percent = std::min(100, static_cast<int>(std::lround(share * 100)));
        transition.Frame(percent).Draw(canvas, x, y);
        // Frames faster than the period wait for their slot instead of crowding the start.
        const double due = static_cast<double>(frame + 1) * kFramePeriodMs;
        const double now = timer.Elapsed() * 1000.0;
        if (now < due) vcl::Clock().SleepMicroseconds(static_cast<uint64_t>((due - now) * 1000.0));
    }
    newImage.Draw(canvas, x, y);
}

}  // namespace se
