#include "app/StoredForm.h"

#include <utility>

#include "app/LogView.h"
#include "controls/button/Button.h"
#include "controls/checkbox/CheckBox.h"
#include "controls/combobox/ComboBox.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/label/Label.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "serial/TComm1.h"

namespace app {

namespace {

using vcl::TComponent;

// The classes a stored form may name.
template <typename C>
TComponent* Make(TComponent* owner) {
    return new C(owner);  // owned by the form
}
constexpr std::pair<std::string_view, TComponent* (*)(TComponent*)> kClasses[] = {
    {"TImage", Make<vcl::TImage>},
    {"TLabel", Make<vcl::TLabel>},
    {"TEdit", Make<vcl::TEdit>},
    {"TMemo", Make<vcl::TMemo>},
    {"TSeSkinGroupBox", Make<se::TSeSkinGroupBox>},
    {"TSeSkinRadioGroup", Make<se::TSeSkinRadioGroup>},
    {"TSeSkinLabel", Make<se::TSeSkinLabel>},
    {"TSeSkinComboBox", Make<se::TSeSkinComboBox>},
    {"TSeSkinButton", Make<se::TSeSkinButton>},
    {"TSeSkinStatusBar", Make<se::TSeSkinStatusBar>},
    {"TSeSkinCheckBox", Make<se::TSeSkinCheckBox>},
    {"TLogView", Make<TLogView>},
    {"TComm", Make<serial::TComm>},
};

TComponent* Create(const TStoredComponent& record, TComponent& owner) {
    for (const auto& [name, make] : kClasses) {
        if (name == record.className) return make(&owner);
    }
    vcl::FailStoredValue(record.name, "ClassName", record.className, "unknown class");
}

void Apply(TComponent& component, std::string_view name, const TStoredProperty& property, vcl::TStoredFixups& fixups) {
    const vcl::TStoredWrite write(name, property.name, property.value, fixups);
    const vcl::TStoredProperties::TSetter* setter = component.StoredProperties().Find(property.name);
    if (!setter) write.Fail("unknown property");
    (*setter)(component, write);
}

}  // namespace

void ReadStoredForm(vcl::TCustomForm& form, const TStoredForm& stored) {
    vcl::LoadStoredForm(form, [&] {
        vcl::TStoredFixups fixups;
        for (const TStoredProperty& property : stored.formProperties) Apply(form, "Form", property, fixups);
        for (const TStoredComponent& record : stored.components) {
            TComponent* component = Create(record, form);
            component->SetName(std::string(record.name));
            if (auto* control = dynamic_cast<vcl::TControl*>(component)) {
                vcl::TWinControl* parent = &form;
                if (!record.parent.empty()) {
                    parent = dynamic_cast<vcl::TWinControl*>(form.FindComponent(std::string(record.parent)));
                    if (!parent) vcl::FailStoredValue(record.name, "Parent", record.parent, "no such container");
                }
                control->SetParent(parent);
            }
            for (const TStoredProperty& property : record.properties) Apply(*component, record.name, property, fixups);
        }
        fixups.Apply();
    });
}

void BindStoredEvents(vcl::TCustomForm& form, const TStoredForm& stored, const TNotifyHandlers& notify,
                      const TKeyPressHandlers& keyPress) {
    for (const TStoredEvent& binding : stored.events) {
        TComponent* component = binding.component.empty() ? &form : form.FindComponent(std::string(binding.component));
        const auto fail = [&](std::string_view why) {
            vcl::FailStoredValue(binding.component, binding.event, binding.handler, why);
        };
        if (!component) fail("no such component");
        if (binding.event == "OnKeyPress") {
            auto* control = dynamic_cast<vcl::TWinControl*>(component);
            const auto handler = keyPress.find(binding.handler);
            if (!control || handler == keyPress.end()) fail("cannot bind");
            control->OnKeyPress = handler->second;
            continue;
        }
        const auto handler = notify.find(binding.handler);
        if (handler == notify.end()) fail("no such handler");
        const vcl::TNotifyEvent& h = handler->second;
        if (binding.event == "OnCreate") {
            dynamic_cast<vcl::TCustomForm&>(*component).OnCreate = h;
        } else if (binding.event == "OnReceiveData") {
            dynamic_cast<serial::TComm&>(*component).SetOnReceiveData(h);
        } else if (binding.event == "OnChange") {
            if (auto* edit = dynamic_cast<se::TSeCustomEdit*>(component)) edit->OnChange = h;
            else if (auto* edit = dynamic_cast<vcl::TCustomEdit*>(component)) edit->OnChange = h;
            else fail("cannot bind");
        } else if (binding.event == "OnClick") {
            // A check box's OnClick tells of its state changing, not of the pointer's click.
            if (auto* option = dynamic_cast<se::TSeCustomOptionControl*>(component)) option->OnClick = h;
            else dynamic_cast<vcl::TControl&>(*component).OnClick = h;
        } else {
            fail("unknown event");
        }
    }
}

}  // namespace app
