#pragma once
// Image lists: equally sized small pictures kept by index (a menu's or a button's glyphs), drawn
// as they are or in the engraved look of disabled items. Holders of a list ask for its free
// notification (list->FreeNotification(holder)) and drop it in their Notification.

#include <memory>
#include <vector>

#include "platform/draw/Canvas.h"
#include "platform/draw/Graphic.h"
#include "platform/runtime/Component.h"

namespace vcl {

class TCustomImageList : public TComponent {
public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    int Width() const { return width_; }
    int Height() const { return height_; }
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    // A new size empties the list (the images no longer fit).
    void SetSize(int width, int height);
    int Count() const { return static_cast<int>(images_.size()); }

    // Adds the image, cut into Width-wide pieces when it is wider (a strip); a transparent bitmap
    // keeps its transparent colour as the mask. Returns the index of the first piece, -1 when the
    // bitmap is empty.
    int Add(const TBitmap& image);
    // The same with pixels of maskColor transparent.
    int AddMasked(const TBitmap& image, TColor maskColor);
    void Delete(int index);
    void Clear();
    // A copy of one image (its mask as the bitmap's transparent colour); false for a bad index.
    bool GetBitmap(int index, TBitmap& target) const;

    // Draws image index with its top-left at (x, y). Disabled: the image's dark shape engraved,
    // clBtnHighlight one pixel down and right under clBtnShadow, as disabled menu items and
    // buttons show their glyphs. A bad index draws nothing.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true) const;

    // After every change of the images or the size.
    TNotifyEvent OnChange;

protected:
    virtual void Change();

private:
    int AddPieces(const TBitmap& image, bool masked, TColor maskColor);
    void DrawShape(TCanvas& canvas, int x, int y, const TBitmap& image, TColor color) const;

    int width_ = 16;
    int height_ = 16;
    std::vector<std::unique_ptr<TBitmap>> images_;
};

class TImageList : public TCustomImageList {
public:
    using TCustomImageList::TCustomImageList;
};

}  // namespace vcl
