#pragma once
// The main window's combo boxes as the rest of the window sees them: made, read and bound through
// this unit alone, so the stored-form reader needs only these few calls of the combo box.

#include <string_view>

#include "app/StoredProperty.h"

namespace se {
class TSeSkinComboBox;
}

namespace app::combo {

vcl::TComponent* New(vcl::TComponent* owner);
// The component as a combo box, or null.
se::TSeSkinComboBox* As(vcl::TComponent* component);
// False when the property is not the combo box's.
bool Apply(se::TSeSkinComboBox& box, const stored::TProp& p);
int ItemIndex(const se::TSeSkinComboBox& box);
void SetItemIndex(se::TSeSkinComboBox& box, int value);
std::u16string Text(const se::TSeSkinComboBox& box);
void SetOnChange(se::TSeSkinComboBox& box, vcl::TNotifyEvent handler);

}  // namespace app::combo
