#pragma once
// TseBitmap: the control set's 32-bit off-screen surface. Its pixels (rows top-down, no gaps) are
// plain memory the set works on directly, and a memory device context lets the platform draw on
// them too. Drawing it elsewhere blends when it has alpha, skips key pixels when it has a key
// colour, and copies otherwise.

#include <iosfwd>
#include <string>
#include <vector>

#include "controls/surface/Pixels.h"
#include "platform/draw/Canvas.h"
#include "platform/draw/Gdi.h"
#include "platform/draw/Graphic.h"

namespace se {

using vcl::TPoint;
using vcl::TRect;

// How a surface is drawn: chosen from HasAlpha, then HasKeyColor.
enum class TseDrawMethod { Copy, Key, Blend };

class TseBitmap : public vcl::TPersistent, public vcl::TAssignSource {
public:
    TseBitmap();
    ~TseBitmap() override;

    TsePixel* Bits() const { return bits_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& value) { name_ = value; }
    const vcl::BITMAPINFOHEADER& Header() const { return header_; }
    vcl::HBITMAP BitmapHandle() const { return bitmap_; }
    vcl::HDC DC() const { return dc_; }
    bool HasAlpha() const { return hasAlpha_; }
    void SetHasAlpha(bool value) { hasAlpha_ = value; }
    bool HasKeyColor() const { return hasKeyColor_; }
    void SetHasKeyColor(bool value) { hasKeyColor_ = value; }

    // Negative sizes count as their absolute value; a zero size or the current size does nothing.
    // A new size loses the old pixels; every pixel starts at 0.
    void SetSize(int width, int height);
    bool Empty() const { return bitmap_ == nullptr; }

    void Clear(TsePixel value);
    // With HasAlpha the value is blended over each pixel by its own alpha.
    void FillPixels(const TRect& rect, TsePixel value);
    void SetAlpha(uint8_t alpha);
    void SetAlphaRect(uint8_t alpha, const TRect& rect);
    TsePixel* PixelPtr(int x, int y) const { return bits_ + static_cast<ptrdiff_t>(y) * width_ + x; }
    TsePixel* ScanLine(int y) const { return bits_ + static_cast<ptrdiff_t>(y) * width_; }
    TsePixel ReadPixel(int x, int y) const;
    void WritePixel(int x, int y, TsePixel value);

    // Targets: a device context (logical coordinates), a canvas (its DC) or another surface.
    void Draw(vcl::HDC target, int x, int y) const;
    void Draw(vcl::TCanvas& target, int x, int y) const;
    void Draw(TseBitmap& target, int x, int y) const;
    void DrawRect(vcl::HDC target, int x, int y, const TRect& source) const;
    void DrawRect(vcl::TCanvas& target, int x, int y, const TRect& source) const;
    void DrawRect(TseBitmap& target, int x, int y, const TRect& source) const;
    void StretchDraw(vcl::HDC target, const TRect& destination, const TRect& source) const;
    void StretchDraw(vcl::TCanvas& target, const TRect& destination, const TRect& source) const;
    void StretchDraw(TseBitmap& target, const TRect& destination, const TRect& source) const;
    // Covers destination with uncut copies of source laid out column by column; the copies along
    // the right and bottom edges are cut, never scaled.
    void Tile(vcl::HDC target, const TRect& destination, const TRect& source) const;
    void Tile(vcl::TCanvas& target, const TRect& destination, const TRect& source) const;

    // Fills transparent pixels from the background and blends semi-transparent ones over it;
    // source is the rectangle of background that lands at (x, y).
    void MergeBackground(const TseBitmap& background, int x, int y, const TRect& source);
    void CheckAlpha();
    // Pixels whose red, green and blue each lie within 5 of near's become the key colour.
    void ApplyKeyColor(TsePixel near);
    void FlipVertical();
    // The non-key pixels as a region offset by (x, y); null for an empty surface.
    vcl::HRGN CreateRegion(int x, int y) const;

    TseDrawMethod DrawMethod() const;

    void Assign(const vcl::TPersistent& source) override;
    void AssignTo(vcl::TPersistent& target) const override;
    // The skin-file format: name, width, height (positive: rows top-down) and pixels.
    void LoadFromStream(std::istream& stream);
    void SaveToStream(std::ostream& stream) const;

private:
    void Release();
    void DrawToDc(vcl::HDC target, const TRect& destination, const TRect& source) const;
    void ReadBack(vcl::HDC target, const TRect& destination, const TRect& source, TseDrawMethod method) const;

    TsePixel* bits_ = nullptr;
    int width_ = 0;
    int height_ = 0;
    std::string name_;
    vcl::BITMAPINFOHEADER header_;
    vcl::HBITMAP bitmap_ = nullptr;
    vcl::HDC dc_ = nullptr;
    bool hasAlpha_ = false;
    bool hasKeyColor_ = false;
};

// The live surfaces that own a device context, for drawing onto another surface's DC directly.
TseBitmap* FindSurface(vcl::HDC dc);

// Where the copies of a tiling go: each piece draws the top-left part of the source of its size.
struct TilePiece {
    int x;
    int y;
    TRect source;
};
std::vector<TilePiece> TileLayout(const TRect& destination, const TRect& source);

// The choices fixed when the control set starts.
struct SurfacePlatform {
    // The platform offers the transparent (key-colour) copy; without it key pixels are drawn by
    // reading the destination back.
    bool transparentCopy = true;
};
SurfacePlatform& Platform();

}  // namespace se
