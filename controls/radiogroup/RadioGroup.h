#pragma once
// The radio group: a group box that shows its Items as radio buttons in Columns columns and
// reports the checked one as ItemIndex (-1 for none). Its OnClick fires whenever the choice
// changes, by the user or by writing ItemIndex, but not for the ItemIndex a stored form brings.
// The buttons (TSeSkinGroupButton) belong to the group and exist exactly for the current items.

#include <memory>
#include <vector>

#include "controls/groupbox/GroupBox.h"
#include "platform/runtime/Strings.h"

namespace se {

class TSeSkinRadioGroup;

// One item's button; it hands its key strokes on to the group.
class TSeSkinGroupButton : public TSeSkinRadioButton {
public:
    explicit TSeSkinGroupButton(TSeSkinRadioGroup* group);
    ~TSeSkinGroupButton() override;

protected:
    void KeyDown(uint16_t& key, vcl::TShiftState shift) override;
    void KeyPress(char32_t& key) override;

private:
    TSeSkinRadioGroup* group_;
    bool inCommand_ = false;  // guards the platform's button command against re-entry
};

class TSeSkinRadioGroup : public TSeSkinGroupBox {
public:
    explicit TSeSkinRadioGroup(vcl::TComponent* AOwner);
    ~TSeSkinRadioGroup() override;

    // Items and ItemIndex, besides the group box's.
    const vcl::TStoredProperties& StoredProperties() const override;

    vcl::TStrings& Items() { return *items_; }
    void SetItems(const vcl::TStrings& value);
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value);
    const std::vector<TSeSkinGroupButton*>& Buttons() const { return buttons_; }

    void Loaded() override;

protected:
    // Whether the user may change the choice; always here.
    virtual bool AllowChange() const { return true; }

    void WndProc(vcl::TMessage& message) override;
    void CMEnabledChanged(vcl::TMessage& message) override;
    void CMFontChanged(vcl::TMessage& message) override;
    void WMSize(vcl::TMessage& message) override;

private:
    friend class TSeSkinGroupButton;

    // While a stored form is applied, properties are only stored.
    bool Reading() const { return HasState(vcl::csLoading); }
    void LayoutButtons();
    void SyncButtons();
    void AdjustButtonCount(int count);
    void ItemsChanged();
    void ButtonChecked(vcl::TObject* button);

    std::vector<TSeSkinGroupButton*> buttons_;
    std::unique_ptr<vcl::TStringList> items_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

}  // namespace se
