#include "app/ComboBoxes.h"

#include <string>
#include <vector>

#include "controls/combobox/ComboBox.h"

namespace app::combo {

vcl::TComponent* New(vcl::TComponent* owner) { return new se::TSeSkinComboBox(owner); }

se::TSeSkinComboBox* As(vcl::TComponent* component) { return dynamic_cast<se::TSeSkinComboBox*>(component); }

bool Apply(se::TSeSkinComboBox& c, const stored::TProp& p) {
    const std::string_view n = p.name;
    if (n == "Text") c.SetText(p.WideText());
    else if (n == "AutoSize") c.SetAutoSize(p.Bool());
    else if (n == "PasswordKind") c.SetPasswordKind(p.Ident<se::TPasswordKind>({{"pkNone", se::pkNone}}));
    else if (n == "ContextMenuOptions.Animation.EffectKind") {
        c.ContextMenuOptions().Animation().SetEffectKind(p.Text());
    } else if (n == "AutoComplete") {
        c.SetAutoComplete(p.Bool());
    } else if (n == "ComboStyle") {
        c.SetComboStyle(
            p.Ident<se::TSeComboStyle>({{"kcsDropDown", se::kcsDropDown}, {"kcsDropDownList", se::kcsDropDownList}}));
    } else if (n == "DropDownCount") {
        c.SetDropDownCount(p.Int());
    } else if (n == "ItemHeight") {
        c.SetItemHeight(p.Int());
    } else if (n == "Flat") {
        c.ListBox().SetFlat(p.Bool());
    } else if (n == "ListStyle") {
        c.SetListStyle(p.Ident<se::TSeListBoxStyle>({{"lbStandard", se::lbStandard}}));
    } else if (n == "ShowCheckBoxes") {
        c.ListBox().SetShowCheckBoxes(p.Bool());
    } else if (n == "WordWrap") {
        // The list draws every item on one line; only that value can be stored.
        if (p.Bool()) stored::Fail(p.component, p.name, "wrapped list items are not offered");
    } else if (n == "Items.Strings") {
        std::vector<std::u16string> items;
        for (std::string_view item : p.As<TStringItems>()) items.push_back(rtl::Utf8ToUtf16(item));
        c.Items().Assign(items);
    } else if (n == "ItemIndex") {
        c.SetItemIndex(p.Int());
    } else {
        return stored::ApplySeControl(c, p);
    }
    return true;
}

int ItemIndex(const se::TSeSkinComboBox& box) { return box.ItemIndex(); }

void SetItemIndex(se::TSeSkinComboBox& box, int value) { box.SetItemIndex(value); }

std::u16string Text(const se::TSeSkinComboBox& box) { return box.Text(); }

void SetOnChange(se::TSeSkinComboBox& box, vcl::TNotifyEvent handler) { box.OnChange = std::move(handler); }

}  // namespace app::combo
