#include "platform/draw/Font.h"

#include <cmath>

#include "platform/rtl/Exception.h"

namespace vcl {

template <typename T>
static bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
}

void TFont::SetName(const std::string& value) {
    if (Store(name_, value)) Changed();
}

void TFont::SetHeight(int value) {
    if (Store(height_, value)) Changed();
}

int TFont::Size() const {
    return -static_cast<int>(std::lround(static_cast<double>(height_) * 72 / kPixelsPerInch));
}

void TFont::SetSize(int points) {
    SetHeight(-static_cast<int>(std::lround(static_cast<double>(points) * kPixelsPerInch / 72)));
}

void TFont::SetStyle(TFontStyles value) {
    if (Store(style_, value)) Changed();
}

void TFont::SetColor(TColor value) {
    if (Store(color_, value)) Changed();
}

void TFont::SetCharset(uint8_t value) {
    if (Store(charset_, value)) Changed();
}

void TFont::SetPitch(TFontPitch value) {
    if (Store(pitch_, value)) Changed();
}

bool TFont::SameAs(const TFont& other) const {
    return name_ == other.name_ && height_ == other.height_ && style_ == other.style_ &&
           color_ == other.color_ && charset_ == other.charset_ && pitch_ == other.pitch_;
}

void TFont::Assign(const TPersistent& source) {
    const auto* font = dynamic_cast<const TFont*>(&source);
    if (font == nullptr) throw rtl::EConvertError("Cannot assign this object to a TFont");
    if (SameAs(*font)) return;
    name_ = font->name_;
    height_ = font->height_;
    style_ = font->style_;
    color_ = font->color_;
    charset_ = font->charset_;
    pitch_ = font->pitch_;
    Changed();
}

void TFont::Changed() { Fire(OnChange, this); }

}  // namespace vcl
