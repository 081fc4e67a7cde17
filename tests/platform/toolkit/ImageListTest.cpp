#include <gtest/gtest.h>

#include <memory>

#include "platform/draw/Color.h"
#include "platform/toolkit/ImageList.h"

namespace vcl {
namespace {

constexpr COLORREF kFuchsia = RGB(255, 0, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kFace = RGB(212, 208, 200);

// A strip of 4 x 4 images on fuchsia: image i has a black dot at (i, i) and a white one at (3, 0).
std::unique_ptr<TBitmap> Strip(int count) {
    auto strip = std::make_unique<TBitmap>(4 * count, 4);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4 * count; ++x) strip->ScanLine(y)[x] = RgbToPixel(kFuchsia);
    }
    for (int i = 0; i < count; ++i) {
        strip->ScanLine(i)[4 * i + i] = RgbToPixel(kBlack);
        strip->ScanLine(0)[4 * i + 3] = RgbToPixel(kWhite);
    }
    return strip;
}

// Pixels of a canvas filled with clBtnFace after drawing.
class Sheet {
public:
    Sheet() : bitmap_(8, 8) {
        for (int y = 0; y < 8; ++y) {
            for (int x = 0; x < 8; ++x) bitmap_.ScanLine(y)[x] = RgbToPixel(kFace);
        }
    }
    TCanvas& Canvas() { return bitmap_.Canvas(); }
    COLORREF At(int x, int y) { return PixelToRgb(bitmap_.ScanLine(y)[x]); }

private:
    TBitmap bitmap_;
};

TEST(ImageList, AStripIsCutIntoImagesOfTheListsSize) {
    TImageList list(nullptr);
    int changes = 0;
    list.OnChange = [&](TObject*) { ++changes; };
    list.SetSize(4, 4);
    EXPECT_EQ(list.AddMasked(*Strip(3), static_cast<TColor>(kFuchsia)), 0);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.AddMasked(*Strip(1), static_cast<TColor>(kFuchsia)), 3);
    EXPECT_EQ(changes, 3);
    TBitmap second;
    ASSERT_TRUE(list.GetBitmap(1, second));
    EXPECT_EQ(PixelToRgb(second.ScanLine(1)[1]), kBlack);
    EXPECT_EQ(PixelToRgb(second.ScanLine(0)[0]), kFuchsia);
    EXPECT_FALSE(list.GetBitmap(4, second));
    list.Delete(0);
    EXPECT_EQ(list.Count(), 3);
    list.SetSize(8, 8);
    EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
    EXPECT_EQ(list.Add(TBitmap()), -1);
}

TEST(ImageList, DrawsMaskedEnabledAndEngravedDisabled) {
    TImageList list(nullptr);
    list.SetSize(4, 4);
    list.AddMasked(*Strip(2), static_cast<TColor>(kFuchsia));

    Sheet enabled;
    list.Draw(enabled.Canvas(), 2, 2, 1);
    EXPECT_EQ(enabled.At(3, 3), kBlack) << "image 1's dot at (1, 1)";
    EXPECT_EQ(enabled.At(5, 2), kWhite);
    EXPECT_EQ(enabled.At(2, 2), kFace) << "the mask colour leaves the background";

    Sheet disabled;
    list.Draw(disabled.Canvas(), 2, 2, 1, false);
    EXPECT_EQ(disabled.At(3, 3), kGrey) << "the dark shape in clBtnShadow";
    EXPECT_EQ(disabled.At(4, 4), kWhite) << "its highlight one pixel down and right";
    EXPECT_EQ(disabled.At(5, 2), kFace) << "light pixels drop out of the shape";
    EXPECT_EQ(disabled.At(2, 2), kFace);

    Sheet nothing;
    list.Draw(nothing.Canvas(), 0, 0, 7);
    EXPECT_EQ(nothing.At(1, 1), kFace);
}

class THolder : public TComponent {
public:
    using TComponent::TComponent;
    TCustomImageList* Images = nullptr;
    void SetImages(TCustomImageList* value) {
        Images = value;
        if (value) value->FreeNotification(this);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == Images) Images = nullptr;
    }
};

TEST(ImageList, HoldersHearWhenTheListGoes) {
    THolder holder(nullptr);
    auto list = std::make_unique<TImageList>(nullptr);
    holder.SetImages(list.get());
    list.reset();
    EXPECT_EQ(holder.Images, nullptr);
}

}  // namespace
}  // namespace vcl
