#include "controls/surface/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <istream>
#include <ostream>

#include "platform/rtl/Exception.h"
#include "platform/rtl/NeverDestroyed.h"

namespace se {
namespace {

std::vector<TseBitmap*>& Registry() {
    static rtl::NeverDestroyed<std::vector<TseBitmap*>> surfaces;
    return *surfaces;
}

// Rows of pixels that a stretch writes into: a surface (top-down) or a bottom-up section.
struct PixelTarget {
    TsePixel* bits = nullptr;
    int width = 0;
    int height = 0;
    bool bottomUp = false;
    TsePixel* Row(int y) const { return bits + static_cast<ptrdiff_t>(bottomUp ? height - 1 - y : y) * width; }
};

enum class Rounding { Truncate, HalfEven };

// Source index of destination step k when a run of sourceLength maps onto destinationLength.
int SourceIndex(int k, int start, int sourceLength, int destinationLength, Rounding rounding) {
    if (destinationLength < 2) return (start + start + sourceLength - 1) / 2;
    const int64_t numerator = int64_t{k} * (sourceLength - 1);
    const int64_t denominator = destinationLength - 1;
    int64_t q = numerator / denominator;
    if (rounding == Rounding::HalfEven) {
        const int64_t twice = 2 * (numerator % denominator);
        if (twice > denominator || (twice == denominator && (q & 1) != 0)) ++q;
    }
    return start + static_cast<int>(q);
}

using RowOperation = void (*)(const TsePixel*, TsePixel*, int);

}  // namespace

SurfacePlatform& Platform() {
    static rtl::NeverDestroyed<SurfacePlatform> platform;
    return *platform;
}

TseBitmap* FindSurface(vcl::HDC dc) {
    if (dc == nullptr) return nullptr;
    for (TseBitmap* surface : Registry()) {
        if (surface->DC() == dc) return surface;
    }
    return nullptr;
}

std::vector<TilePiece> TileLayout(const TRect& destination, const TRect& source) {
    std::vector<TilePiece> pieces;
    const int w = source.Width(), h = source.Height();
    if (w <= 0 || h <= 0) return pieces;
    for (int x = destination.Left; x < destination.Right; x += w) {
        for (int y = destination.Top;; y += h) {
            const TRect tile = vcl::IntersectRect(TRect{x, y, x + w, y + h}, destination);
            if (tile.IsEmpty()) break;
            pieces.push_back({x, y, TRect{source.Left, source.Top, source.Left + tile.Width(), source.Top + tile.Height()}});
        }
    }
    return pieces;
}

TseBitmap::TseBitmap() {
    // The registry must outlive every surface, static ones included.
    Registry();
}

TseBitmap::~TseBitmap() {
    auto& surfaces = Registry();
    surfaces.erase(std::remove(surfaces.begin(), surfaces.end(), this), surfaces.end());
    Release();
}

void TseBitmap::Release() {
    if (dc_ != nullptr) vcl::DeleteDC(dc_);
    if (bitmap_ != nullptr) vcl::DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

void TseBitmap::SetSize(int width, int height) {
    const int64_t w = std::llabs(int64_t{width}), h = std::llabs(int64_t{height});
    if (w == 0 || h == 0 || (w == width_ && h == height_)) return;
    Release();
    header_.biWidth = static_cast<int32_t>(std::min<int64_t>(w, INT32_MAX));
    header_.biHeight = -static_cast<int32_t>(std::min<int64_t>(h, INT32_MAX));
    vcl::BITMAPINFO info{};
    info.bmiHeader = header_;
    void* pixels = nullptr;
    bitmap_ = vcl::CreateDIBSection(nullptr, &info, vcl::DIB_RGB_COLORS, &pixels);
    if (pixels == nullptr) {
        if (bitmap_ != nullptr) vcl::DeleteObject(bitmap_);
        bitmap_ = nullptr;
        throw rtl::Exception("Can't allocate the DIB handle");
    }
    dc_ = vcl::CreateCompatibleDC(nullptr);
    if (dc_ == nullptr) {
        Release();
        throw rtl::Exception("Can't create compatible DC");
    }
    vcl::SelectObject(dc_, bitmap_);
    if (vcl::GetCurrentObject(dc_, vcl::OBJ_BITMAP) != bitmap_) {
        Release();
        throw rtl::Exception("Can't select an object into DC");
    }
    auto& surfaces = Registry();
    if (std::find(surfaces.begin(), surfaces.end(), this) == surfaces.end()) surfaces.push_back(this);
    bits_ = static_cast<TsePixel*>(pixels);
    width_ = static_cast<int>(w);
    height_ = static_cast<int>(h);
}

void TseBitmap::Clear(TsePixel value) {
    if (!Empty()) std::fill_n(bits_, static_cast<size_t>(width_) * static_cast<size_t>(height_), value);
}

void TseBitmap::FillPixels(const TRect& rect, TsePixel value) {
    const TRect r = vcl::IntersectRect(rect, TRect{0, 0, width_, height_});
    if (Empty() || r.IsEmpty()) return;
    for (int y = r.Top; y < r.Bottom; ++y) {
        TsePixel* row = ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x) row[x] = hasAlpha_ ? BlendPixel(value, row[x]) : value;
    }
}

void TseBitmap::SetAlpha(uint8_t alpha) {
    if (Empty()) return;
    const TsePixel a = TsePixel{alpha} << 24;
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    for (size_t i = 0; i < count; ++i) bits_[i] = (bits_[i] & 0x00FFFFFFu) | a;
}

void TseBitmap::SetAlphaRect(uint8_t alpha, const TRect& rect) {
    if (rect.Width() == 0 || rect.Height() == 0) return;
    const TRect r = vcl::IntersectRect(rect, TRect{0, 0, width_, height_});
    if (Empty() || r.IsEmpty()) return;
    const TsePixel a = TsePixel{alpha} << 24;
    for (int y = r.Top; y < r.Bottom; ++y) {
        TsePixel* row = ScanLine(y);
        for (int x = r.Left; x < r.Right; ++x) row[x] = (row[x] & 0x00FFFFFFu) | a;
    }
}

TsePixel TseBitmap::ReadPixel(int x, int y) const {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    return *PixelPtr(x, y);
}

void TseBitmap::WritePixel(int x, int y, TsePixel value) {
    if (Empty() || x < 0 || y < 0 || x >= width_ || y >= height_) return;
    *PixelPtr(x, y) = value;
}

TseDrawMethod TseBitmap::DrawMethod() const {
    if (hasAlpha_) return TseDrawMethod::Blend;
    return hasKeyColor_ ? TseDrawMethod::Key : TseDrawMethod::Copy;
}

namespace {

RowOperation OperationFor(TseDrawMethod method) {
    const PixelRoutines& routines = Routines();
    switch (method) {
        case TseDrawMethod::Blend: return routines.blendRow;
        case TseDrawMethod::Key: return routines.keyRow;
        case TseDrawMethod::Copy: break;
    }
    return routines.copyRow;
}

// Copies, key-copies or blends source rectangle s of a surface into rectangle d of a target,
// scaling by nearest neighbour when the sizes differ.
void StretchInto(const TseBitmap& from, const PixelTarget& target, const TRect& d, const TRect& s, Rounding rounding,
                 TseDrawMethod method) {
    const TRect q = vcl::IntersectRect(d, TRect{0, 0, target.width, target.height});
    if (q.IsEmpty() || from.Empty()) return;
    if (s.Left < 0 || s.Top < 0 || s.Right > from.Width() || s.Bottom > from.Height() || s.IsEmpty()) return;
    const RowOperation operation = OperationFor(method);
    const int width = q.Width();
    if (d.Width() == s.Width() && d.Height() == s.Height()) {
        for (int y = q.Top; y < q.Bottom; ++y) {
            operation(from.PixelPtr(s.Left + q.Left - d.Left, s.Top + y - d.Top), target.Row(y) + q.Left, width);
        }
        return;
    }
    std::vector<int> columns(static_cast<size_t>(width));
    for (int x = q.Left; x < q.Right; ++x) {
        columns[static_cast<size_t>(x - q.Left)] = SourceIndex(x - d.Left, s.Left, s.Width(), d.Width(), rounding);
    }
    std::vector<TsePixel> gathered(static_cast<size_t>(width));
    int previousRow = -1;
    for (int y = q.Top; y < q.Bottom; ++y) {
        const int sourceRow = SourceIndex(y - d.Top, s.Top, s.Height(), d.Height(), rounding);
        TsePixel* out = target.Row(y) + q.Left;
        if (y > q.Top && sourceRow == previousRow) {
            std::memcpy(out, target.Row(y - 1) + q.Left, static_cast<size_t>(width) * sizeof(TsePixel));
            continue;
        }
        previousRow = sourceRow;
        const TsePixel* in = from.ScanLine(sourceRow);
        if (method == TseDrawMethod::Copy) {
            for (int i = 0; i < width; ++i) out[i] = in[columns[static_cast<size_t>(i)]];
            continue;
        }
        for (int i = 0; i < width; ++i) gathered[static_cast<size_t>(i)] = in[columns[static_cast<size_t>(i)]];
        operation(gathered.data(), out, width);
    }
}

PixelTarget TargetOf(TseBitmap& surface) { return {surface.Bits(), surface.Width(), surface.Height(), false}; }

}  // namespace

void TseBitmap::DrawToDc(vcl::HDC target, const TRect& destination, const TRect& source) const {
    if (Empty() || target == nullptr) return;
    const TseDrawMethod method = DrawMethod();
    TPoint origin;
    vcl::GetWindowOrgEx(target, &origin);
    if (TseBitmap* surface = FindSurface(target)) {
        StretchInto(*this, TargetOf(*surface), destination.Offset(-origin.X, -origin.Y), source, Rounding::Truncate,
                    method);
        return;
    }
    vcl::HGDIOBJ selected = vcl::GetCurrentObject(target, vcl::OBJ_BITMAP);
    vcl::DIBSECTION section;
    if (selected != nullptr && vcl::GetObject(selected, sizeof section, &section) == static_cast<int>(sizeof section) &&
        section.dsBmih.biBitCount == 32 && section.dsBmih.biHeight > 0 && section.dsBm.bmBits != nullptr) {
        const PixelTarget bottomUp{static_cast<TsePixel*>(section.dsBm.bmBits), section.dsBm.bmWidth,
                                   section.dsBm.bmHeight, true};
        StretchInto(*this, bottomUp, destination.Offset(-origin.X, -origin.Y), source, Rounding::HalfEven, method);
        return;
    }
    switch (DrawMethod()) {
        case TseDrawMethod::Blend: ReadBack(target, destination, source, TseDrawMethod::Blend); return;
        case TseDrawMethod::Key:
            if (!Platform().transparentCopy) {
                ReadBack(target, destination, source, TseDrawMethod::Key);
                return;
            }
            vcl::TransparentBlt(target, destination.Left, destination.Top, destination.Width(), destination.Height(), dc_,
                                source.Left, source.Top, source.Width(), source.Height(), vcl::RGB(127, 0, 127));
            return;
        case TseDrawMethod::Copy:
            vcl::StretchBlt(target, destination.Left, destination.Top, destination.Width(), destination.Height(), dc_,
                            source.Left, source.Top, source.Width(), source.Height(), vcl::SRCCOPY);
            return;
    }
}

// Draws through a temporary surface holding a copy of the destination's pixels.
void TseBitmap::ReadBack(vcl::HDC target, const TRect& destination, const TRect& source, TseDrawMethod method) const {
    const int w = destination.Width(), h = destination.Height();
    if (w <= 0 || h <= 0) return;
    TseBitmap copy;
    copy.SetSize(w, h);
    vcl::StretchBlt(copy.DC(), 0, 0, w, h, target, destination.Left, destination.Top, w, h, vcl::SRCCOPY);
    StretchInto(*this, TargetOf(copy), TRect{0, 0, w, h}, source, Rounding::Truncate, method);
    vcl::StretchBlt(target, destination.Left, destination.Top, w, h, copy.DC(), 0, 0, w, h, vcl::SRCCOPY);
}

void TseBitmap::Draw(vcl::HDC target, int x, int y) const {
    DrawToDc(target, vcl::Bounds(x, y, width_, height_), TRect{0, 0, width_, height_});
}
void TseBitmap::Draw(vcl::TCanvas& target, int x, int y) const { Draw(target.Handle(), x, y); }
void TseBitmap::Draw(TseBitmap& target, int x, int y) const {
    StretchDraw(target, vcl::Bounds(x, y, width_, height_), TRect{0, 0, width_, height_});
}

void TseBitmap::DrawRect(vcl::HDC target, int x, int y, const TRect& source) const {
    DrawToDc(target, vcl::Bounds(x, y, source.Width(), source.Height()), source);
}
void TseBitmap::DrawRect(vcl::TCanvas& target, int x, int y, const TRect& source) const {
    DrawRect(target.Handle(), x, y, source);
}
void TseBitmap::DrawRect(TseBitmap& target, int x, int y, const TRect& source) const {
    StretchDraw(target, vcl::Bounds(x, y, source.Width(), source.Height()), source);
}

void TseBitmap::StretchDraw(vcl::HDC target, const TRect& destination, const TRect& source) const {
    DrawToDc(target, destination, source);
}
void TseBitmap::StretchDraw(vcl::TCanvas& target, const TRect& destination, const TRect& source) const {
    DrawToDc(target.Handle(), destination, source);
}
void TseBitmap::StretchDraw(TseBitmap& target, const TRect& destination, const TRect& source) const {
    StretchInto(*this, TargetOf(target), destination, source, Rounding::Truncate, DrawMethod());
}

void TseBitmap::Tile(vcl::HDC target, const TRect& destination, const TRect& source) const {
    if (Empty()) return;
    for (const TilePiece& piece : TileLayout(destination, source)) DrawRect(target, piece.x, piece.y, piece.source);
}
void TseBitmap::Tile(vcl::TCanvas& target, const TRect& destination, const TRect& source) const {
    Tile(target.Handle(), destination, source);
}

void TseBitmap::MergeBackground(const TseBitmap& background, int x, int y, const TRect& source) {
    if (Empty() || background.Empty()) return;
    const TRect clipped{std::max(source.Left, 0), std::max(source.Top, 0), std::min(source.Right, background.Width()),
                        std::min(source.Bottom, background.Height())};
    for (int sy = clipped.Top; sy < clipped.Bottom; ++sy) {
        const int ry = y + sy - source.Top;
        if (ry < 0 || ry >= height_) continue;
        const TsePixel* under = background.ScanLine(sy);
        TsePixel* row = ScanLine(ry);
        for (int sx = clipped.Left; sx < clipped.Right; ++sx) {
            const int rx = x + sx - source.Left;
            if (rx < 0 || rx >= width_) continue;
            const uint8_t a = AlphaOf(row[rx]);
            if (a == 0) {
                row[rx] = under[sx];
            } else if (a != 255) {
                row[rx] = BlendPixel(row[rx], under[sx]);
            }
        }
    }
}

void TseBitmap::CheckAlpha() {
    hasAlpha_ = false;
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    for (size_t i = 0; i < count && !Empty(); ++i) {
        const uint8_t a = AlphaOf(bits_[i]);
        if (a != 0 && a != 255) {
            hasAlpha_ = true;
            return;
        }
    }
}

void TseBitmap::ApplyKeyColor(TsePixel near) {
    hasKeyColor_ = false;
    if (Empty()) return;
    auto close = [](TsePixel a, TsePixel b, int shift) {
        return std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) < 6;
    };
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    for (size_t i = 0; i < count; ++i) {
        const TsePixel p = bits_[i];
        if (close(p, near, 16) && close(p, near, 8) && close(p, near, 0)) {
            bits_[i] = KeyColor;
            hasKeyColor_ = true;
        }
    }
}

void TseBitmap::FlipVertical() {
    if (Empty()) return;
    std::vector<TsePixel> row(static_cast<size_t>(width_));
    const size_t bytes = row.size() * sizeof(TsePixel);
    for (int i = 0; i < height_ / 2; ++i) {
        std::memcpy(row.data(), ScanLine(i), bytes);
        std::memcpy(ScanLine(i), ScanLine(height_ - 1 - i), bytes);
        std::memcpy(ScanLine(height_ - 1 - i), row.data(), bytes);
    }
}

vcl::HRGN TseBitmap::CreateRegion(int x, int y) const {
    if (Empty()) return nullptr;
    // Runs go to the platform in blocks of at most 5001 rectangles; the blocks are joined, so a
    // shape with more runs keeps all of them.
    constexpr size_t kBlock = 5001;
    std::vector<TRect> runs;
    vcl::HRGN region = vcl::CreateRectRgn(0, 0, 0, 0);
    auto flush = [&] {
        if (runs.empty()) return;
        std::vector<char> data(sizeof(vcl::RGNDATAHEADER) + runs.size() * sizeof(TRect));
        vcl::RGNDATAHEADER header;
        header.nCount = static_cast<uint32_t>(runs.size());
        header.rcBound = TRect{0, 0, width_, height_};
        std::memcpy(data.data(), &header, sizeof header);
        std::memcpy(data.data() + sizeof header, runs.data(), runs.size() * sizeof(TRect));
        vcl::HRGN block = vcl::ExtCreateRegion(nullptr, static_cast<uint32_t>(data.size()),
                                               reinterpret_cast<const vcl::RGNDATA*>(data.data()));
        vcl::CombineRgn(region, region, block, vcl::RGN_OR);
        vcl::DeleteObject(block);
        runs.clear();
    };
    for (int row = 0; row < height_; ++row) {
        const TsePixel* line = ScanLine(row);
        int column = 0;
        while (column < width_) {
            if (IsKeyPixel(line[column])) {
                ++column;
                continue;
            }
            const int start = column;
            while (column < width_ && !IsKeyPixel(line[column])) ++column;
            runs.push_back(TRect{start + x, row + y, column + x, row + 1 + y});
            if (runs.size() == kBlock) flush();
        }
    }
    flush();
    return region;
}

void TseBitmap::Assign(const vcl::TPersistent& source) {
    if (&source == this) return;
    if (const auto* surface = dynamic_cast<const TseBitmap*>(&source)) {
        SetSize(surface->Width(), surface->Height());
        if (!Empty() && !surface->Empty()) vcl::BitBlt(dc_, 0, 0, width_, height_, surface->DC(), 0, 0, vcl::SRCCOPY);
        SetAlpha(255);
        return;
    }
    if (const auto* picture = dynamic_cast<const vcl::TPicture*>(&source)) {
        if (picture->Graphic() != nullptr) Assign(*picture->Graphic());
        return;
    }
    if (const auto* bitmap = dynamic_cast<const vcl::TBitmap*>(&source)) {
        SetSize(bitmap->Width(), bitmap->Height());
        auto& canvas = const_cast<vcl::TBitmap*>(bitmap)->Canvas();
        if (!Empty() && !bitmap->Empty()) vcl::BitBlt(dc_, 0, 0, width_, height_, canvas.Handle(), 0, 0, vcl::SRCCOPY);
        SetAlpha(255);
        return;
    }
    if (const auto* graphic = dynamic_cast<const vcl::TGraphic*>(&source)) {
        SetSize(graphic->Width(), graphic->Height());
        if (Empty()) return;
        // Drawn on magenta; every pixel the graphic left magenta stays as it was.
        vcl::TBitmap scratch(width_, height_);
        scratch.SetPixelFormat(vcl::pf32bit);
        constexpr TsePixel kMagenta = 0xFFFF00FF;
        for (int row = 0; row < height_; ++row) std::fill_n(scratch.ScanLine(row), width_, kMagenta);
        graphic->Draw(scratch.Canvas(), TRect{0, 0, width_, height_});
        for (int row = 0; row < height_; ++row) {
            const TsePixel* line = scratch.ScanLine(row);
            for (int column = 0; column < width_; ++column) {
                if ((line[column] & 0x00FFFFFFu) != (kMagenta & 0x00FFFFFFu)) WritePixel(column, row, line[column]);
            }
        }
        SetAlpha(255);
        return;
    }
    vcl::RaiseAssignError(source, *this);
}

void TseBitmap::AssignTo(vcl::TPersistent& target) const {
    vcl::TBitmap* bitmap = dynamic_cast<vcl::TBitmap*>(&target);
    if (auto* picture = dynamic_cast<vcl::TPicture*>(&target)) bitmap = &picture->Bitmap();
    if (bitmap == nullptr) vcl::RaiseAssignError(*this, target);
    bitmap->SetPixelFormat(vcl::pf32bit);
    bitmap->SetSize(width_, height_);
    if (!Empty()) Draw(bitmap->Canvas(), 0, 0);
}

namespace {

[[noreturn]] void ReadError() { throw rtl::Exception("Stream read error"); }

int32_t ReadInt(std::istream& stream) {
    unsigned char bytes[4];
    if (!stream.read(reinterpret_cast<char*>(bytes), 4)) ReadError();
    return static_cast<int32_t>(uint32_t{bytes[0]} | (uint32_t{bytes[1]} << 8) | (uint32_t{bytes[2]} << 16) |
                                (uint32_t{bytes[3]} << 24));
}

void WriteInt(std::ostream& stream, int32_t value) {
    const uint32_t v = static_cast<uint32_t>(value);
    const char bytes[4] = {static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                           static_cast<char>(v >> 24)};
    stream.write(bytes, 4);
}

}  // namespace

void TseBitmap::LoadFromStream(std::istream& stream) {
    const int32_t nameLength = ReadInt(stream);
    // A name longer than any skin would hold means the stream is not a surface.
    if (nameLength < 0 || nameLength > (1 << 16)) ReadError();
    std::string name(static_cast<size_t>(nameLength), '\0');
    if (nameLength > 0 && !stream.read(name.data(), nameLength)) ReadError();
    name_ = name;
    const int32_t width = ReadInt(stream);
    const int32_t height = ReadInt(stream);
    const int64_t rows = std::llabs(int64_t{height});
    SetSize(width, static_cast<int>(std::min<int64_t>(rows, INT32_MAX)));
    if (!Empty() && width_ == width && height_ == rows) {
        const auto bytes = static_cast<std::streamsize>(width_) * height_ * static_cast<std::streamsize>(sizeof(TsePixel));
        if (!stream.read(reinterpret_cast<char*>(bits_), bytes)) ReadError();
    }
    if (height <= 0) FlipVertical();
    CheckAlpha();
    if (!hasAlpha_) ApplyKeyColor(KeyColor);
}

void TseBitmap::SaveToStream(std::ostream& stream) const {
    WriteInt(stream, static_cast<int32_t>(name_.size()));
    stream.write(name_.data(), static_cast<std::streamsize>(name_.size()));
    WriteInt(stream, width_);
    WriteInt(stream, height_);
    if (!Empty()) {
        stream.write(reinterpret_cast<const char*>(bits_),
                     static_cast<std::streamsize>(width_) * height_ * static_cast<std::streamsize>(sizeof(TsePixel)));
    }
}

}  // namespace se
