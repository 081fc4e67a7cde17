#pragma once
// Companions for the skin host: a named reference to a rectangle of a surface, and an owning list
// of surfaces found by name.

#include <memory>
#include <string>
#include <vector>

#include "controls/surface/Bitmap.h"

namespace se {

class TseBitmapLink : public vcl::TPersistent {
public:
    TseBitmapLink() = default;

    std::string Name;
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    TseBitmap* Image = nullptr;  // not owned

    TRect Rect() const { return {Left, Top, Right, Bottom}; }
    bool Transparent() const { return transparent_; }
    // Looks for key-colour or not fully opaque pixels inside the rectangle.
    bool CheckTransparent();
    void Assign(const vcl::TPersistent& source) override;

private:
    bool transparent_ = false;
};

class TseBitmapList {
public:
    TseBitmap& Add(std::unique_ptr<TseBitmap> bitmap);
    int Count() const { return static_cast<int>(bitmaps_.size()); }
    TseBitmap& Item(int index) const { return *bitmaps_.at(static_cast<size_t>(index)); }
    void Clear() { bitmaps_.clear(); }
    // Case-insensitive; null when no surface has the name.
    TseBitmap* BitmapByName(const std::string& name) const;
    // A link to rect of the named surface, null when there is none.
    std::unique_ptr<TseBitmapLink> GetBitmapLink(const std::string& name, const TRect& rect) const;

private:
    std::vector<std::unique_ptr<TseBitmap>> bitmaps_;
};

}  // namespace se
