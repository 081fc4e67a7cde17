#include "controls/surface/BitmapList.h"

#include <algorithm>
#include <cctype>

namespace se {
namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

bool TseBitmapLink::CheckTransparent() {
    transparent_ = false;
    if (Image == nullptr || Image->Empty()) return false;
    const TRect r = vcl::IntersectRect(Rect(), TRect{0, 0, Image->Width(), Image->Height()});
    for (int y = r.Top; y < r.Bottom && !transparent_; ++y) {
        for (int x = r.Left; x < r.Right; ++x) {
            const TsePixel p = *Image->PixelPtr(x, y);
            if (IsKeyPixel(p) || AlphaOf(p) < 255) {
                transparent_ = true;
                break;
            }
        }
    }
    return transparent_;
}

void TseBitmapLink::Assign(const vcl::TPersistent& source) {
    const auto* link = dynamic_cast<const TseBitmapLink*>(&source);
    if (link == nullptr) vcl::RaiseAssignError(source, *this);
    Name = link->Name;
    Left = link->Left;
    Top = link->Top;
    Right = link->Right;
    Bottom = link->Bottom;
    Image = link->Image;
    transparent_ = link->transparent_;
}

TseBitmap& TseBitmapList::Add(std::unique_ptr<TseBitmap> bitmap) {
    bitmaps_.push_back(std::move(bitmap));
    return *bitmaps_.back();
}

TseBitmap* TseBitmapList::BitmapByName(const std::string& name) const {
    for (const auto& bitmap : bitmaps_) {
        if (SameText(bitmap->Name(), name)) return bitmap.get();
    }
    return nullptr;
}

std::unique_ptr<TseBitmapLink> TseBitmapList::GetBitmapLink(const std::string& name, const TRect& rect) const {
    TseBitmap* bitmap = BitmapByName(name);
    if (bitmap == nullptr) return nullptr;
    auto link = std::make_unique<TseBitmapLink>();
    link->Name = name;
    link->Left = rect.Left;
    link->Top = rect.Top;
    link->Right = rect.Right;
    link->Bottom = rect.Bottom;
    link->Image = bitmap;
    link->CheckTransparent();
    return link;
}

}  // namespace se
