#pragma once
// TSeCustomItem: one item of a popup menu, and the tree of items below it. A caption of exactly
// "-" makes a separator. Items run their click only after their menu has closed: the menu posts
// the chosen item to the click handler (TSeClickHandler), which finds it again by its serial
// number, so an item freed meanwhile is simply skipped.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/draw/Geometry.h"
#include "platform/runtime/Component.h"
#include "platform/runtime/Keys.h"
#include "platform/runtime/MessageQueue.h"

namespace vcl {
class TCustomImageList;
class TWinControl;
}  // namespace vcl

namespace se {

class TSePopupMenuOptions;

// A key with its modifiers, as menus show it: the virtual key in the low byte.
using TShortCut = uint16_t;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000, scNone = 0;
TShortCut ShortCut(uint16_t key, vcl::TShiftState shift);
// "Ctrl+Shift+A", "F5", "Del"; empty for 0.
std::u16string ShortCutToText(TShortCut shortCut);

class TSeCustomItem : public vcl::TComponent {
public:
    explicit TSeCustomItem(vcl::TComponent* AOwner);
    ~TSeCustomItem() override;

    const std::u16string& Caption() const { return caption_; }
    void SetCaption(const std::u16string& value);
    bool IsSeparator() const { return caption_ == u"-"; }
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value) { helpContext_ = value; }
    const std::u16string& Hint() const { return hint_; }
    void SetHint(const std::u16string& value) { hint_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    vcl::TCustomImageList* Images() const { return images_; }
    void SetImages(vcl::TCustomImageList* value);
    // The images this item's children draw with: the nearest Images up the tree.
    vcl::TCustomImageList* ChildImages() const;
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    // The level of this item's children shows at most ScrollCount of them between arrow strips.
    bool Scrolled() const { return scrolled_; }
    void SetScrolled(bool value) { scrolled_ = value; }
    int ScrollCount() const { return scrollCount_; }
    void SetScrollCount(int value) { scrollCount_ = value < 0 ? 0 : value; }
    // What the item's click runs, for finding the item again (FindByCommand); 0 for none.
    intptr_t Command() const { return command_; }
    void SetCommand(intptr_t value) { command_ = value; }

    // Children.
    int Count() const { return static_cast<int>(items_.size()); }
    TSeCustomItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    TSeCustomItem* Parent() const { return parent_; }
    int IndexOf(const TSeCustomItem* item) const;
    // Appends a child (taken from its previous parent). The parent frees its children when it dies.
    void Add(TSeCustomItem* item);
    void Insert(int index, TSeCustomItem* item);
    void Remove(TSeCustomItem* item);
    // Frees every child.
    void Clear();
    // At least one child is visible.
    bool HasVisibleChildren() const;

    // Depth-first searches below this item (the item itself excluded); null when none matches.
    TSeCustomItem* Find(const std::function<bool(const TSeCustomItem&)>& match) const;
    TSeCustomItem* FindByCommand(intptr_t command) const;
    TSeCustomItem* FindByShortCut(TShortCut shortCut) const;

    // State of an open menu, set on the whole tree by the menu.
    const vcl::TRect& ItemRect() const { return rect_; }
    void SetItemRect(const vcl::TRect& value) { rect_ = value; }
    vcl::TWinControl* OwningControl() const { return owningControl_; }
    TSePopupMenuOptions* Options() const { return options_; }
    bool OpenedByPopup() const { return openedByPopup_; }
    bool AnimationAllowed() const { return animationAllowed_; }
    void SetTreeOwningControl(vcl::TWinControl* control);
    void SetTreeOptions(TSePopupMenuOptions* options);
    void SetTreeOpenedByPopup(bool value);
    void SetTreeAnimationAllowed(bool value);

    // The item's serial number, and the live item that carries one (null once it is freed).
    uint64_t Serial() const { return serial_; }
    static TSeCustomItem* FromSerial(uint64_t serial);

    // Runs the click: OnClick.
    virtual void Click();
    // Before the children open: OnBeforeDropDown.
    virtual void BeforeDropDown();

    vcl::TNotifyEvent OnClick;
    vcl::TNotifyEvent OnBeforeDropDown;
    // The item's look or its children changed.
    vcl::TNotifyEvent OnChange;

protected:
    void Notification(vcl::TComponent* component, vcl::TOperation operation) override;
    virtual void Changed();

private:
    std::u16string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int helpContext_ = 0;
    std::u16string hint_;
    int imageIndex_ = -1;
    vcl::TCustomImageList* images_ = nullptr;
    TShortCut shortCut_ = 0;
    bool scrolled_ = false;
    int scrollCount_ = 0;
    intptr_t command_ = 0;

    std::vector<TSeCustomItem*> items_;
    TSeCustomItem* parent_ = nullptr;
    vcl::TRect rect_;
    vcl::TWinControl* owningControl_ = nullptr;
    TSePopupMenuOptions* options_ = nullptr;
    bool openedByPopup_ = false;
    bool animationAllowed_ = false;
    uint64_t serial_ = 0;
};

// The message that carries a chosen item (its serial number in wParam) to the click handler.
inline constexpr vcl::UINT SM_ITEMCLICK = 2234;

// The application-wide receiver of chosen items: lets pending messages run (the menu closes and
// repaints), then runs the item's click if the item still exists.
class TSeClickHandler : public vcl::TMessageTarget {
public:
    static TSeClickHandler& Instance();
    void Post(const TSeCustomItem& item);
    void HandleMessage(vcl::TMessage& message) override;
};

}  // namespace se
