#pragma once
// The paint pipeline's shared mechanics, used by both base classes: the buffer a paint draws
// into, the canvas pointed at another DC for a while, the request for a parent's background and
// the blending composite.

#include <memory>

#include "controls/foundation/Types.h"
#include "controls/surface/Bitmap.h"
#include "platform/toolkit/Control.h"

namespace se {

// Holds a canvas's lock while it lives.
class TSeCanvasLock {
public:
    explicit TSeCanvasLock(vcl::TCanvas& canvas) : canvas_(canvas) { canvas_.Lock(); }
    ~TSeCanvasLock() { canvas_.Unlock(); }
    TSeCanvasLock(const TSeCanvasLock&) = delete;
    TSeCanvasLock& operator=(const TSeCanvasLock&) = delete;

private:
    vcl::TCanvas& canvas_;
};

// Points a canvas at another DC and back at the one it had when it goes. The canvas forgets the
// objects it had selected on both moves, so none is drawn with a stale pen after a state restore.
class TSeCanvasRedirect {
public:
    TSeCanvasRedirect(vcl::TCanvas& canvas, vcl::HDC dc);
    ~TSeCanvasRedirect();
    TSeCanvasRedirect(const TSeCanvasRedirect&) = delete;
    TSeCanvasRedirect& operator=(const TSeCanvasRedirect&) = delete;
    vcl::HDC Previous() const { return previous_; }

private:
    vcl::TCanvas& canvas_;
    vcl::HDC previous_;
};

// One paint's drawing surface, chosen by the control's Performance. While it lives the canvas
// draws into it; Output copies it to the target, and when it goes the canvas points at the target
// again and a private surface is freed.
//
// The shared buffer serves one paint at a time: a paint that starts while another one holds it
// (a sibling painted into the outer control's buffer by the blending path) gets a private surface
// instead, so it cannot overwrite the outer control's pixels. The shared buffer grows when a
// control is larger than it.
class TSePaintBuffer {
public:
    // keyFill: fill the buffer with the key colour before painting (the windowed controls do).
    TSePaintBuffer(vcl::TCanvas& canvas, TSePerformance mode, int width, int height, bool keyFill);
    ~TSePaintBuffer();
    TSePaintBuffer(const TSePaintBuffer&) = delete;
    TSePaintBuffer& operator=(const TSePaintBuffer&) = delete;

    // The mode in effect: a nested shared-buffer paint runs as kspDoubleBuffer.
    TSePerformance Mode() const { return mode_; }
    bool Buffered() const { return surface_ != nullptr; }
    vcl::HDC Target() const { return target_; }
    // The buffer, null when painting straight into the target.
    TseBitmap* Surface() const { return surface_; }

    // Shows the painted pixels over the parent's at value (0..255): the parent's background goes
    // into blendBuffer through copyBackground, then the buffer is merged over it.
    template <typename CopyBackground>
    void Blend(TseBitmap& blendBuffer, int value, CopyBackground&& copyBackground) {
        if (!surface_) return;
        blendBuffer.SetSize(width_, height_);
        blendBuffer.SetAlpha(255);
        copyBackground(blendBuffer.DC());
        MergeOver(blendBuffer, value);
    }
    // Copies the painted area to the target at (0, 0).
    void Output() const;

    // True while a paint holds the shared buffer.
    static bool SharedBufferBusy();

private:
    void MergeOver(const TseBitmap& background, int value);

    vcl::TCanvas& canvas_;
    TSePerformance mode_;
    int width_;
    int height_;
    vcl::HDC target_;
    TseBitmap* surface_ = nullptr;
    std::unique_ptr<TseBitmap> private_;
    bool holdsShared_ = false;
};

// Paints the parent's background into dc so that the parent's pixel at the control's position
// lands on dc's pixel (0, 0). buffered: dc is an off-screen surface of the control's size;
// otherwise the background goes through a temporary surface of width x height when dc is the
// screen, and straight into dc when dc belongs to a surface (a background request from a child).
// paintGraphicSiblings: the parent's window-less children are painted over it too (the blending
// path of windowed controls). Does nothing without a parent or with an empty size.
void CopyParentBackground(vcl::TControl& control, vcl::HDC dc, bool buffered, int width, int height,
                          bool paintGraphicSiblings);

// Sends the background request to control's parent: a form gets it through its window, any other
// parent directly.
void SendBackgroundRequest(vcl::TControl& control, vcl::HDC dc);

}  // namespace se
