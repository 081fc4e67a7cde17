#include "controls/radiogroup/RadioGroup.h"

#include <algorithm>

#include "controls/radiogroup/ButtonLayout.h"
#include "platform/toolkit/Caption.h"
#include "platform/window/Window.h"

namespace se {

using namespace vcl;

// ---- the buttons ---------------------------------------------------------------------------------

TSeSkinGroupButton::TSeSkinGroupButton(TSeSkinRadioGroup* group) : TSeSkinRadioButton(group), group_(group) {
    group->buttons_.push_back(this);
    SetVisible(false);
    SetEnabled(group->Enabled());
    SetParentShowHint(false);
    OnClick = [group](TObject* sender) { group->ButtonChecked(sender); };
    SetParent(group);
}

TSeSkinGroupButton::~TSeSkinGroupButton() { std::erase(group_->buttons_, this); }

void TSeSkinGroupButton::KeyDown(uint16_t& key, TShiftState shift) {
    TSeSkinRadioButton::KeyDown(key, shift);
    group_->KeyDown(key, shift);
}

void TSeSkinGroupButton::KeyPress(char32_t& key) {
    TSeSkinRadioButton::KeyPress(key);
    group_->KeyPress(key);
    if ((key == U'\b' || key == U' ') && !group_->AllowChange()) key = 0;
}

// ---- the group -----------------------------------------------------------------------------------

TSeSkinRadioGroup::TSeSkinRadioGroup(TComponent* AOwner)
    : TSeSkinGroupBox(AOwner), items_(std::make_unique<TStringList>()) {
    // No children at design time: the buttons are the group's own.
    SetControlStyle(csSetCaption | csDoubleClicks);
    items_->OnChange = [this](TObject*) { ItemsChanged(); };
}

TSeSkinRadioGroup::~TSeSkinRadioGroup() {
    // The buttons go first; each takes itself off the list.
    while (!buttons_.empty()) delete buttons_.back();
    items_->OnChange = nullptr;
}

const TStoredProperties& TSeSkinRadioGroup::StoredProperties() const {
    static const auto table = TStoredProperties::Of<TSeSkinRadioGroup>(&TSeSkinGroupBox::StoredProperties(), {
        {"Items.Strings", [](auto& r, auto& v) { r.SetItems(*v.Strings()); }},
        {"ItemIndex", [](auto& r, auto& v) { r.SetItemIndex(v.Int()); }},
    });
    return table;
}

void TSeSkinRadioGroup::SetItems(const TStrings& value) { items_->Assign(value); }

void TSeSkinRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (value == columns_) return;
    columns_ = value;
    LayoutButtons();
    Invalidate();
}

void TSeSkinRadioGroup::SetItemIndex(int value) {
    if (Reading()) {
        itemIndex_ = value;
        return;
    }
    const int count = static_cast<int>(buttons_.size());
    value = std::max(value, -1);
    if (value >= count) value = count - 1;
    if (value == itemIndex_) return;
    if (itemIndex_ >= 0 && itemIndex_ < count) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
    itemIndex_ = value;
    // Checking raises the button's click, which reports the change through ButtonChecked.
    if (value >= 0) buttons_[static_cast<size_t>(value)]->SetChecked(true);
}

void TSeSkinRadioGroup::AdjustButtonCount(int count) {
    while (static_cast<int>(buttons_.size()) < count) new TSeSkinGroupButton(this);
    while (static_cast<int>(buttons_.size()) > count) delete buttons_.back();
}

void TSeSkinRadioGroup::SyncButtons() {
    AdjustButtonCount(items_->Count());
    for (size_t i = 0; i < buttons_.size(); ++i) {
        buttons_[i]->SetCaption(vcl::WideCaption(items_->Strings(static_cast<int>(i))));
        buttons_[i]->SetSkinEngine(SkinEngine());
    }
    if (itemIndex_ >= static_cast<int>(buttons_.size())) {
        // A stored index past the items selects nothing.
        itemIndex_ = -1;
    } else if (itemIndex_ >= 0) {
        updating_ = true;
        buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
        updating_ = false;
    }
    LayoutButtons();
    Invalidate();
}

void TSeSkinRadioGroup::LayoutButtons() {
    if (buttons_.empty() || Reading()) return;
    const int line = TScreenTextMeasure(Font()).LineHeight();
    const auto rects = RadioGroupButtonRects(static_cast<int>(buttons_.size()), columns_, Width(), Height(), line);
    // Buttons with windows move in one batch, so they repaint once in their new places; the
    // others only store their bounds.
    HDWP positions = BeginDeferWindowPos(static_cast<int>(buttons_.size()));
    for (size_t i = 0; i < buttons_.size(); ++i) {
        const TRect& r = rects[i];
        TSeSkinGroupButton* button = buttons_[i];
        if (positions && button->HandleAllocated()) {
            positions = DeferWindowPos(positions, button->Handle(), nullptr, r.Left, r.Top, r.Width(), r.Height(),
                                       SWP_NOZORDER | SWP_NOACTIVATE);
        } else {
            button->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        }
    }
    if (positions) EndDeferWindowPos(positions);
    for (TSeSkinGroupButton* button : buttons_) button->SetVisible(true);
}

void TSeSkinRadioGroup::ItemsChanged() {
    if (Reading()) return;
    const int count = items_->Count();
    if (itemIndex_ >= count) itemIndex_ = count - 1;
    SyncButtons();
}

void TSeSkinRadioGroup::ButtonChecked(TObject* button) {
    if (updating_) return;
    const auto found = std::find(buttons_.begin(), buttons_.end(), button);
    itemIndex_ = found == buttons_.end() ? -1 : static_cast<int>(found - buttons_.begin());
    Perform(CM_CHANGED);
    Click();
}

void TSeSkinRadioGroup::Loaded() {
    TSeSkinGroupBox::Loaded();
    LayoutButtons();
    SyncButtons();
}

void TSeSkinRadioGroup::WndProc(TMessage& m) {
    TSeSkinGroupBox::WndProc(m);
    if (m.Msg == SM_SKINCHANGED) SyncButtons();
}

void TSeSkinRadioGroup::CMEnabledChanged(TMessage& m) {
    TSeSkinGroupBox::CMEnabledChanged(m);
    for (TSeSkinGroupButton* button : buttons_) button->SetEnabled(Enabled());
}

void TSeSkinRadioGroup::CMFontChanged(TMessage& m) {
    TSeSkinGroupBox::CMFontChanged(m);
    LayoutButtons();
}

void TSeSkinRadioGroup::WMSize(TMessage& m) {
    TSeSkinGroupBox::WMSize(m);
    LayoutButtons();
}

}  // namespace se
