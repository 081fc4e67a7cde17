#pragma once
// Playing a transition: TseTransition composes the frame at any percentage from the old image,
// the new image and the animation's effect, rotation, resolution and tile count; Execute plays the
// frames onto a canvas over the animation's time and ends with the new image itself.

#include <cstdint>
#include <vector>

#include "controls/effects/AnimationRec.h"
#include "controls/effects/EffectList.h"
#include "controls/surface/Bitmap.h"

namespace se {

class TseTransition {
public:
    // Chooses the effect (the random choice among the registered ones included) and sizes the
    // masks, the cell grid and the frame for the new image.
    TseTransition(const TseAnimationRec& animation, const TseBitmap& newImage, const TseBitmap& oldImage,
                  const TseProcList& effects = Effects());
    TseTransition(const TseTransition&) = delete;
    TseTransition& operator=(const TseTransition&) = delete;

    // False when there is nothing to play: an empty image, or a name that chooses no effect with
    // a procedure.
    bool Ready() const { return ready_; }
    // The effect played; null for the bitmap animation.
    const TseProcItem* Effect() const { return effect_; }
    bool IsBitmapAnimation() const { return bitmap_; }
    // Cells per tile across and down: image size / resolution / tile count + 1.
    int GridWidth() const { return gridWidth_; }
    int GridHeight() const { return gridHeight_; }

    // The frame at percent (0 … 100): the old image with the effect applied. The frame has the
    // new image's size; an old image of another size is cut or padded with transparent black.
    const TseBitmap& Frame(int percent);

private:
    void ComposeMask(int percent);
    void ComposeCells(int percent);
    // Index into a grid in the rotated orientation for the cell (x, y) in place.
    int RotatedIndex(int x, int y) const;
    // The cell in place that a cell (x, y) of the rotated grid turns into.
    void ToPlace(int x, int y, int& placedX, int& placedY) const;

    const TseAnimationRec& animation_;
    const TseProcItem* effect_ = nullptr;
    bool bitmap_ = false;
    bool ready_ = false;
    TseRotation rotation_ = krNone;
    int resolution_ = 1;
    int tileCount_ = 1;
    int gridWidth_ = 0, gridHeight_ = 0;        // in place
    int rotatedWidth_ = 0, rotatedHeight_ = 0;  // as the effect fills it
    TseBitmap old_;    // the old image at the frame's size
    TseBitmap layer_;  // the new image, opaque except its key pixels
    TseBitmap frame_;
    std::vector<uint8_t> mask_;      // in place
    std::vector<uint8_t> rotated_;   // as the effect fills it, when turned
    std::vector<uint8_t> base_;      // the bitmap animation's picture, as the effect would fill it
    std::vector<TseCell> cells_;     // as the effect fills it
    std::vector<int> maskColumn_;    // frame column -> mask column
    std::vector<int> maskRow_;       // frame row -> mask row
    std::vector<TsePixel> rowBuffer_;
};

// A frame is drawn at most this often, so a transition never runs more than
// time / kFramePeriodMs + 1 frames, whatever the clock does.
inline constexpr int kFramePeriodMs = 10;

// Plays the transition from oldImage to newImage at (x, y) on the canvas and returns once the
// animation's time has passed on the current clock (or the frame cap is reached); the last thing
// drawn is the new image itself. Nothing is drawn when there is nothing to play.
void Execute(vcl::TCanvas& canvas, int x, int y, const TseAnimationRec& animation, const TseBitmap& newImage,
             const TseBitmap& oldImage);

// The effect chooser's generator: a whole number in [0, range), seeded once per run.
int EffectRandom(int range);

}  // namespace se
