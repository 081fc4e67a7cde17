#pragma once
// Toolkit graphics: the abstract graphic, the bitmap (32-bit pixels with a canvas, loadable from
// PNG) and the picture that holds one graphic.

#include <memory>
#include <string>

#include "platform/draw/Canvas.h"
#include "platform/draw/PixelSection.h"

namespace vcl {

// Kinds that can copy themselves into toolkit objects the toolkit does not know about them
// (a toolkit bitmap assigned from a control-set surface asks the surface).
class TAssignSource {
public:
    virtual void AssignTo(TPersistent& target) const = 0;

protected:
    ~TAssignSource() = default;
};

// The toolkit's conversion error for an assignment between unrelated kinds.
[[noreturn]] void RaiseAssignError(const TObject& source, const TObject& target);
// A class name without namespaces, for messages.
std::string ClassNameOf(const TObject& object);

class TGraphic : public TPersistent {
public:
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // Draws the graphic stretched into rect on the canvas.
    virtual void Draw(TCanvas& canvas, const TRect& rect) const = 0;
    virtual bool LoadFromFile(const std::string& path) = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    TNotifyEvent OnChange;

protected:
    void Changed() { Fire(OnChange, this); }

private:
    bool transparent_ = false;
};

enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };

// Pixels are always stored as 32-bit 0xAARRGGBB, rows top-down; PixelFormat is kept as told.
class TBitmap : public TGraphic {
public:
    TBitmap() = default;
    TBitmap(int width, int height);
    ~TBitmap() override;

    int Width() const override;
    int Height() const override;
    void SetWidth(int value) { SetSize(value, Height()); }
    void SetHeight(int value) { SetSize(Width(), value); }
    // Keeps the pixels that still fit; new pixels are zero.
    void SetSize(int width, int height);
    TPixelFormat PixelFormat() const { return pixelFormat_; }
    void SetPixelFormat(TPixelFormat value);
    // With Transparent, pixels of this colour are not drawn; clDefault means the bottom-left pixel.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor value);

    TCanvas& Canvas();
    HBITMAP Handle() const { return bitmap_; }
    uint32_t* ScanLine(int y);
    const uint32_t* ScanLine(int y) const;

    void Draw(TCanvas& canvas, const TRect& rect) const override;
    bool LoadFromFile(const std::string& path) override;
    bool SaveToFile(const std::string& path) const;
    void LoadFromSection(const PixelSection& pixels);
    std::unique_ptr<TGraphic> Clone() const override;
    void Assign(const TPersistent& source) override;

private:
    HDC SourceDc() const;
    PixelSection* Pixels() const;

    HBITMAP bitmap_ = nullptr;
    mutable HDC dc_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    TPixelFormat pixelFormat_ = pfDevice;
    TColor transparentColor_ = clDefault;
};

class TPicture : public TPersistent {
public:
    TPicture() = default;
    ~TPicture() override;

    TGraphic* Graphic() const { return graphic_.get(); }
    // Holds a copy of the graphic; null empties the picture.
    void SetGraphic(const TGraphic* graphic);
    // The graphic as a bitmap; any other graphic is replaced by an empty bitmap.
    TBitmap& Bitmap();
    int Width() const { return graphic_ != nullptr ? graphic_->Width() : 0; }
    int Height() const { return graphic_ != nullptr ? graphic_->Height() : 0; }
    bool LoadFromFile(const std::string& path);
    void Assign(const TPersistent& source) override;

    TNotifyEvent OnChange;

private:
    void Adopt(std::unique_ptr<TGraphic> graphic);

    std::unique_ptr<TGraphic> graphic_;
};

}  // namespace vcl
