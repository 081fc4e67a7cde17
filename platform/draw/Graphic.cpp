#include "platform/draw/Graphic.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <typeinfo>

#include "platform/draw/Gdi.h"
#include "platform/draw/Png.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

namespace vcl {

std::string ClassNameOf(const TObject& object) {
    const char* mangled = typeid(object).name();
    int status = 0;
    char* demangled = abi::__cxa_demangle(mangled, nullptr, nullptr, &status);
    std::string name = status == 0 && demangled != nullptr ? demangled : mangled;
    std::free(demangled);
    const size_t colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

void RaiseAssignError(const TObject& source, const TObject& target) {
    throw rtl::EConvertError(
        rtl::Format("Cannot assign a %s to a %s", ClassNameOf(source).c_str(), ClassNameOf(target).c_str()));
}

void TGraphic::SetTransparent(bool value) {
    if (transparent_ == value) return;
    transparent_ = value;
    Changed();
}

TBitmap::TBitmap(int width, int height) { SetSize(width, height); }

TBitmap::~TBitmap() {
    canvas_.reset();
    if (dc_ != nullptr) DeleteDC(dc_);
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
}

PixelSection* TBitmap::Pixels() const { return bitmap_ != nullptr ? &bitmap_->pixels : nullptr; }

int TBitmap::Width() const { return bitmap_ != nullptr ? bitmap_->pixels.Width() : 0; }
int TBitmap::Height() const { return bitmap_ != nullptr ? bitmap_->pixels.Height() : 0; }

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == Width() && height == Height()) return;
    HBITMAP replacement = nullptr;
    if (width > 0 && height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        replacement = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, nullptr);
        if (replacement == nullptr) throw rtl::Exception("Out of system resources");
        if (const PixelSection* old = Pixels()) {
            const int rows = std::min(height, old->Height()), columns = std::min(width, old->Width());
            for (int y = 0; y < rows; ++y) {
                std::memcpy(replacement->pixels.Row(y), old->Row(y), static_cast<size_t>(columns) * 4);
            }
        }
    }
    if (dc_ != nullptr) {
        if (replacement != nullptr) {
            SelectObject(dc_, replacement);
        } else {
            // An empty bitmap draws nowhere: a fresh DC without a bitmap.
            if (canvas_ != nullptr) canvas_->SetHandle(nullptr);
            DeleteDC(dc_);
            dc_ = nullptr;
        }
    }
    if (bitmap_ != nullptr) DeleteObject(bitmap_);
    bitmap_ = replacement;
    if (canvas_ != nullptr && dc_ == nullptr && bitmap_ != nullptr) canvas_->SetHandle(SourceDc());
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
    if (pixelFormat_ == value) return;
    pixelFormat_ = value;
    Changed();
}

TColor TBitmap::TransparentColor() const {
    if (transparentColor_ != clDefault || Empty()) return transparentColor_;
    return static_cast<TColor>(PixelToRgb(Pixels()->At(0, Height() - 1)));
}

void TBitmap::SetTransparentColor(TColor value) {
    if (transparentColor_ == value) return;
    transparentColor_ = value;
    Changed();
}

HDC TBitmap::SourceDc() const {
    if (dc_ == nullptr && bitmap_ != nullptr) {
        dc_ = CreateCompatibleDC(nullptr);
        SelectObject(dc_, bitmap_);
    }
    return dc_;
}

TCanvas& TBitmap::Canvas() {
    if (canvas_ == nullptr) {
        canvas_ = std::make_unique<TCanvas>();
        canvas_->OnChange = [this](TObject*) { Changed(); };
    }
    if (!canvas_->HandleAllocated()) canvas_->SetHandle(SourceDc());
    return *canvas_;
}

uint32_t* TBitmap::ScanLine(int y) { return Pixels() != nullptr ? Pixels()->Row(y) : nullptr; }
const uint32_t* TBitmap::ScanLine(int y) const { return Pixels() != nullptr ? Pixels()->Row(y) : nullptr; }

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) const {
    HDC source = SourceDc();
    HDC target = canvas.Handle();
    if (source == nullptr || target == nullptr) return;
    if (Transparent()) {
        TransparentBlt(target, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, Width(), Height(),
                       ColorToRGB(TransparentColor()));
        return;
    }
    StretchBlt(target, rect.Left, rect.Top, rect.Width(), rect.Height(), source, 0, 0, Width(), Height(),
               canvas.CopyMode());
}

void TBitmap::LoadFromSection(const PixelSection& pixels) {
    SetSize(0, 0);
    SetSize(pixels.Width(), pixels.Height());
    for (int y = 0; y < Height(); ++y) std::memcpy(ScanLine(y), pixels.Row(y), static_cast<size_t>(Width()) * 4);
    Changed();
}

bool TBitmap::LoadFromFile(const std::string& path) {
    PixelSection loaded;
    if (!LoadPng(path, loaded)) return false;
    LoadFromSection(loaded);
    return true;
}

bool TBitmap::SaveToFile(const std::string& path) const {
    const PixelSection* pixels = Pixels();
    return pixels != nullptr && SavePng(*pixels, path);
}

std::unique_ptr<TGraphic> TBitmap::Clone() const {
    auto copy = std::make_unique<TBitmap>();
    copy->Assign(*this);
    return copy;
}

void TBitmap::Assign(const TPersistent& source) {
    if (&source == this) return;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(&source)) {
        pixelFormat_ = bitmap->pixelFormat_;
        transparentColor_ = bitmap->transparentColor_;
        SetTransparent(bitmap->Transparent());
        if (const PixelSection* pixels = bitmap->Pixels()) {
            LoadFromSection(*pixels);
        } else {
            SetSize(0, 0);
        }
        return;
    }
    if (const auto* picture = dynamic_cast<const TPicture*>(&source)) {
        if (picture->Graphic() == nullptr) {
            SetSize(0, 0);
            return;
        }
        Assign(*picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
        SetSize(graphic->Width(), graphic->Height());
        graphic->Draw(Canvas(), TRect{0, 0, Width(), Height()});
        return;
    }
    if (const auto* other = dynamic_cast<const TAssignSource*>(&source)) {
        other->AssignTo(*this);
        return;
    }
    RaiseAssignError(source, *this);
}

TPicture::~TPicture() = default;

void TPicture::Adopt(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    if (graphic_ != nullptr) graphic_->OnChange = [this](TObject*) { Fire(OnChange, this); };
    Fire(OnChange, this);
}

void TPicture::SetGraphic(const TGraphic* graphic) { Adopt(graphic != nullptr ? graphic->Clone() : nullptr); }

TBitmap& TPicture::Bitmap() {
    if (dynamic_cast<TBitmap*>(graphic_.get()) == nullptr) Adopt(std::make_unique<TBitmap>());
    return static_cast<TBitmap&>(*graphic_);
}

bool TPicture::LoadFromFile(const std::string& path) {
    auto bitmap = std::make_unique<TBitmap>();
    if (!bitmap->LoadFromFile(path)) return false;
    Adopt(std::move(bitmap));
    return true;
}

void TPicture::Assign(const TPersistent& source) {
    if (&source == this) return;
    if (const auto* picture = dynamic_cast<const TPicture*>(&source)) {
        SetGraphic(picture->Graphic());
        return;
    }
    if (const auto* graphic = dynamic_cast<const TGraphic*>(&source)) {
        SetGraphic(graphic);
        return;
    }
    if (const auto* other = dynamic_cast<const TAssignSource*>(&source)) {
        other->AssignTo(*this);
        return;
    }
    RaiseAssignError(source, *this);
}

}  // namespace vcl
