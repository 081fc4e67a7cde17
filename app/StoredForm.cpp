#include "app/StoredForm.h"

#include "app/ComboBoxes.h"
#include "app/StoredProperty.h"

#include <algorithm>
#include <initializer_list>

#include "controls/button/Button.h"
#include "controls/groupbox/GroupBox.h"
#include "controls/label/Label.h"
#include "controls/radiogroup/RadioGroup.h"
#include "controls/statusbar/StatusBar.h"
#include "platform/draw/ColorNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Image.h"
#include "platform/toolkit/Label.h"
#include "platform/toolkit/Logo.h"
#include "serial/TComm1.h"

namespace app {
namespace stored {

// The ring, buffering and transparency of the control set's windowed controls.
bool ApplySeControl(se::TSeCustomControl& c, const TProp& p) {
    const std::string_view n = p.name;
    if (n == "Performance") {
        c.SetPerformance(p.Ident<se::TSePerformance>(
            {{"kspNoBuffer", se::kspNoBuffer}, {"kspSharedBuffer", se::kspSharedBuffer},
             {"kspDoubleBuffer", se::kspDoubleBuffer}}));
    } else if (n == "Transparent") {
        c.SetTransparent(p.Bool());
    } else if (n == "BevelSides") {
        se::TSeBevelSides sides = 0;
        for (const TIdent& side : p.As<TIdentSet>()) {
            sides |= se::BevelSide(p.IdentOf<se::TSeBevelSide>(
                side.name, {{"kbsLeft", se::kbsLeft}, {"kbsTop", se::kbsTop}, {"kbsRight", se::kbsRight},
                            {"kbsBottom", se::kbsBottom}}));
        }
        c.SetBevelSides(sides);
    } else if (n == "BevelInner") {
        c.SetBevelInner(BevelCutOf(p));
    } else if (n == "BevelOuter") {
        c.SetBevelOuter(BevelCutOf(p));
    } else if (n == "BevelKind") {
        c.SetBevelKind(p.Ident<se::TSeBevelKind>({{"kbkNone", se::kbkNone}, {"kbkSingle", se::kbkSingle}}));
    } else if (n == "BevelWidth") {
        c.SetBevelWidth(p.Int());
    } else if (n == "BorderWidth") {
        c.SetBorderWidth(p.Int());
    } else {
        return false;
    }
    return true;
}

}  // namespace stored

namespace {

using stored::ApplySeControl;
using stored::BevelCutOf;
using stored::ColorOf;
using stored::Fail;
using stored::TProp;
using vcl::TComponent;
using vcl::TControl;

// Tab orders wait until every sibling exists.
struct TTabOrders {
    std::vector<std::pair<vcl::TWinControl*, int>> entries;
};

// Properties every control has; false when the name is not one of them.
bool ApplyControl(TControl& c, const TProp& p, TTabOrders& tabs) {
    const std::string_view n = p.name;
    if (n == "Left") c.SetLeft(p.Int());
    else if (n == "Top") c.SetTop(p.Int());
    else if (n == "Width") c.SetWidth(p.Int());
    else if (n == "Height") c.SetHeight(p.Int());
    else if (n == "Caption" || n == "Text") c.SetText(p.Text());
    else if (n == "Hint") c.SetHint(p.Text());
    else if (n == "ShowHint") c.SetShowHint(p.Bool());
    else if (n == "ParentShowHint") c.SetParentShowHint(p.Bool());
    else if (n == "Enabled") c.SetEnabled(p.Bool());
    else if (n == "Visible") c.SetVisible(p.Bool());
    else if (n == "Color") c.SetColor(ColorOf(p));
    else if (n == "ParentColor") c.SetParentColor(p.Bool());
    else if (n == "ParentFont") c.SetParentFont(p.Bool());
    else if (n == "Font.Name") c.Font().SetName(p.Text());
    else if (n == "Font.Height") c.Font().SetHeight(p.Int());
    else if (n == "Font.Color") c.Font().SetColor(ColorOf(p));
    else if (n == "Font.Charset") c.Font().SetCharset(static_cast<uint8_t>(p.Ident<int>({{"DEFAULT_CHARSET", 1}})));
    else if (n == "Cursor") {
        c.SetCursor(p.Ident<vcl::TCursor>(
            {{"crDefault", vcl::crDefault}, {"crIBeam", vcl::crIBeam}, {"crHandPoint", vcl::crHandPoint}}));
    } else if (n == "Align") {
        c.SetAlign(p.Ident<vcl::TAlign>({{"alNone", vcl::alNone}, {"alBottom", vcl::alBottom}}));
    } else if (n == "TabOrder") {
        auto* w = dynamic_cast<vcl::TWinControl*>(&c);
        if (!w) Fail(p.component, n, "not a windowed control");
        tabs.entries.emplace_back(w, p.Int());
    } else {
        return false;
    }
    return true;
}

bool ApplyGroupBox(se::TSeCustomGroupBox& g, const TProp& p) {
    const std::string_view n = p.name;
    if (n == "Caption") g.SetCaption(p.WideText());
    else if (n == "CaptionMargin") g.SetCaptionMargin(p.Int());
    else if (n == "UseCheckBox") g.SetUseCheckBox(p.Bool());
    else if (n == "CheckBoxAlignment") {
        g.SetCheckBoxAlignment(p.Ident<se::TSeLeftRight>(
            {{"ktaLeftJustify", se::ktaLeftJustify}, {"ktaRightJustify", se::ktaRightJustify}}));
    } else {
        return ApplySeControl(g, p);
    }
    return true;
}

bool ApplyRadioGroup(se::TSeSkinRadioGroup& r, const TProp& p) {
    if (p.name == "Items.Strings") {
        vcl::TStringList items;
        for (std::string_view item : p.As<TStringItems>()) items.Add(std::string(item));
        r.SetItems(items);
    } else if (p.name == "ItemIndex") {
        r.SetItemIndex(p.Int());
    } else {
        return ApplyGroupBox(r, p);
    }
    return true;
}

bool ApplySeLabel(se::TSeCustomLabel& l, const TProp& p) {
    const std::string_view n = p.name;
    if (n == "Caption") l.SetCaption(p.WideText());
    else if (n == "Performance") {
        l.SetPerformance(p.Ident<se::TSePerformance>({{"kspNoBuffer", se::kspNoBuffer}}));
    } else if (n == "Transparent") {
        l.SetTransparent(p.Bool());
    } else {
        return false;
    }
    return true;
}

bool ApplyButton(se::TSeSkinButton& b, const TProp& p) {
    const std::string_view n = p.name;
    if (n == "Caption") b.SetCaption(p.WideText());
    else if (n == "BlackAndWhiteGlyph") b.SetBlackAndWhiteGlyph(p.Bool());
    else if (n == "State") b.SetState(p.Ident<se::TSeButtonState>({{"kbsNormal", se::kbsNormal}}));
    else if (n == "WordWrap") b.SetWordWrap(p.Bool());
    else if (n == "ShowCaption") b.SetShowCaption(p.Bool());
    else if (n == "ShowGlyph") b.SetShowGlyph(p.Bool());
    else return ApplySeControl(b, p);
    return true;
}

bool ApplyStatusBar(se::TSeSkinStatusBar& s, const TProp& p) {
    if (p.name != "Panels") return ApplySeControl(s, p);
    s.Panels().Clear();
    for (const auto& item : p.As<TCollectionItems>()) {
        se::TSeStatusPanel* panel = s.Panels().Add();
        for (const auto& [name, value] : item) {
            if (name == "Width") panel->SetWidth(value);
            else if (name == "ImageIndex") panel->SetImageIndex(value);
            else Fail(p.component, name, "unknown panel property");
        }
    }
    return true;
}

bool ApplyEdit(vcl::TCustomEdit& e, const TProp& p) {
    if (p.name == "Lines.Strings") {
        auto* memo = dynamic_cast<vcl::TCustomMemo*>(&e);
        if (!memo) Fail(p.component, p.name, "not a memo");
        vcl::TStringList lines;
        for (std::string_view line : p.As<TStringItems>()) lines.Add(std::string(line));
        memo->SetLines(lines);
    } else if (p.name == "ScrollBars") {
        auto* memo = dynamic_cast<vcl::TCustomMemo*>(&e);
        if (!memo) Fail(p.component, p.name, "not a memo");
        memo->SetScrollBars(p.Ident<vcl::TScrollStyle>({{"ssNone", vcl::ssNone}}));
    } else {
        return false;
    }
    return true;
}

bool ApplyImage(vcl::TImage& i, const TProp& p) {
    if (p.name != "Picture.Data") return false;
    // The only picture this program holds is its logo, compiled in.
    if (p.As<TIdent>().name != "VelmoLogo") Fail(p.component, p.name, "unknown picture");
    const std::unique_ptr<vcl::TBitmap> logo = vcl::CreateLogoBitmap();
    i.Picture().SetGraphic(logo.get());
    return true;
}

bool ApplyComm(serial::TComm& c, const TProp& p) {
    const std::string_view n = p.name;
    if (n == "CommPort") {
        const std::string_view ident = p.As<TIdent>().name;
        int number = 0;
        if (ident.substr(0, 5) == "pnCOM") {
            for (char ch : ident.substr(5)) number = number * 10 + (ch - '0');
        }
        if (number < 1 || number > 255) Fail(p.component, n, "unknown port");
        c.SetCommPort(static_cast<serial::TComPortNumber>(number - 1));
    } else if (n == "PortOpen") {
        c.SetPortOpen(p.Bool());
    } else if (n == "BaudRate") {
        c.SetBaudRate(p.Ident<serial::TBaudRate>({{"br4800", serial::br4800}, {"br9600", serial::br9600},
                                                  {"br19200", serial::br19200}, {"br115200", serial::br115200}}));
    } else if (n == "HwHandShaking") {
        c.SetHwHandShaking(p.Ident<serial::THWHandShaking>({{"hhNone", serial::hhNone}}));
    } else if (n == "SwHandShaking") {
        c.SetSwHandShaking(p.Ident<serial::TSWHandShaking>({{"shNone", serial::shNone}}));
    } else if (n == "DataBits") {
        c.SetDataBits(p.Ident<serial::TDataBits>({{"DB8", serial::DB8}}));
    } else if (n == "Parity") {
        c.SetParity(p.Ident<serial::TParity>({{"None", serial::TParity::None}}));
    } else if (n == "StopBits") {
        c.SetStopBits(p.Ident<serial::TStopBits>({{"SB1", serial::SB1}}));
    } else if (n == "InputLen") {
        c.SetInputLen(static_cast<uint32_t>(p.Int()));
    } else if (n == "RThreshold") {
        c.SetRThreshold(static_cast<uint32_t>(p.Int()));
    } else if (n == "DTREnabled") {
        c.SetDTREnabled(p.Bool());
    } else if (n == "RTSEnabled") {
        c.SetRTSEnabled(p.Bool());
    } else {
        return false;
    }
    return true;
}

// Class-specific properties first (a caption of the control set is wide), then the common ones.
void ApplyProperty(TComponent& component, const TProp& p, TTabOrders& tabs) {
    bool done = false;
    if (auto* comm = dynamic_cast<serial::TComm*>(&component)) {
        done = ApplyComm(*comm, p);
    } else if (auto* radio = dynamic_cast<se::TSeSkinRadioGroup*>(&component)) {
        done = ApplyRadioGroup(*radio, p);
    } else if (auto* group = dynamic_cast<se::TSeCustomGroupBox*>(&component)) {
        done = ApplyGroupBox(*group, p);
    } else if (auto* label = dynamic_cast<se::TSeCustomLabel*>(&component)) {
        done = ApplySeLabel(*label, p);
    } else if (auto* button = dynamic_cast<se::TSeSkinButton*>(&component)) {
        done = ApplyButton(*button, p);
    } else if (auto* combo = combo::As(&component)) {
        done = combo::Apply(*combo, p);
    } else if (auto* status = dynamic_cast<se::TSeSkinStatusBar*>(&component)) {
        done = ApplyStatusBar(*status, p);
    } else if (auto* edit = dynamic_cast<vcl::TCustomEdit*>(&component)) {
        done = ApplyEdit(*edit, p);
    } else if (auto* image = dynamic_cast<vcl::TImage*>(&component)) {
        done = ApplyImage(*image, p);
    } else if (auto* plain = dynamic_cast<vcl::TLabel*>(&component); plain && p.name == "AutoSize") {
        plain->SetAutoSize(p.Bool());
        done = true;
    }
    if (done) return;
    if (auto* control = dynamic_cast<TControl*>(&component); control && ApplyControl(*control, p, tabs)) return;
    Fail(p.component, p.name, "unknown property");
}

TComponent* Create(std::string_view className, TComponent* owner) {
    if (className == "TImage") return new vcl::TImage(owner);
    if (className == "TLabel") return new vcl::TLabel(owner);
    if (className == "TEdit") return new vcl::TEdit(owner);
    if (className == "TMemo") return new vcl::TMemo(owner);
    if (className == "TSeSkinGroupBox") return new se::TSeSkinGroupBox(owner);
    if (className == "TSeSkinRadioGroup") return new se::TSeSkinRadioGroup(owner);
    if (className == "TSeSkinLabel") return new se::TSeSkinLabel(owner);
    if (className == "TSeSkinComboBox") return combo::New(owner);
    if (className == "TSeSkinButton") return new se::TSeSkinButton(owner);
    if (className == "TSeSkinStatusBar") return new se::TSeSkinStatusBar(owner);
    if (className == "TComm") return new serial::TComm(owner);
    return nullptr;
}

void ApplyForm(vcl::TCustomForm& form, const TProp& p, TTabOrders& tabs) {
    const std::string_view n = p.name;
    if (n == "ClientWidth") form.SetClientWidth(p.Int());
    else if (n == "ClientHeight") form.SetClientHeight(p.Int());
    else if (n == "Position") {
        form.SetPosition(p.Ident<vcl::TPosition>({{"poScreenCenter", vcl::poScreenCenter}, {"poDesigned", vcl::poDesigned}}));
    } else if (n == "BorderStyle") {
        form.SetBorderStyle(p.Ident<vcl::TFormBorderStyle>({{"bsSizeable", vcl::bsSizeable}}));
    } else if (!ApplyControl(form, p, tabs)) {
        Fail("Form", n, "unknown property");
    }
}

void ApplyTabOrders(TTabOrders& tabs) {
    // Lowest stored order first: each lands in its place and later ones go after it.
    std::stable_sort(tabs.entries.begin(), tabs.entries.end(),
                     [](const auto& a, const auto& b) { return a.second < b.second; });
    for (const auto& [control, order] : tabs.entries) control->SetTabOrder(order);
}

}  // namespace

void ReadStoredForm(vcl::TCustomForm& form, const TStoredForm& stored) {
    vcl::LoadStoredForm(form, [&] {
        TTabOrders tabs;
        for (const TStoredProperty& property : stored.formProperties) {
            ApplyForm(form, TProp{"Form", property.name, property.value}, tabs);
        }
        for (const TStoredComponent& record : stored.components) {
            TComponent* component = Create(record.className, &form);
            if (!component) Fail(record.name, "", "unknown class");
            component->SetName(std::string(record.name));
            if (auto* control = dynamic_cast<TControl*>(component)) {
                vcl::TWinControl* parent = &form;
                if (!record.parent.empty()) {
                    parent = dynamic_cast<vcl::TWinControl*>(form.FindComponent(std::string(record.parent)));
                    if (!parent) Fail(record.name, "Parent", "no such container");
                }
                control->SetParent(parent);
            }
            for (const TStoredProperty& property : record.properties) {
                ApplyProperty(*component, TProp{record.name, property.name, property.value}, tabs);
            }
        }
        ApplyTabOrders(tabs);
    });
}

void BindStoredEvents(vcl::TCustomForm& form, const TStoredForm& stored, const TNotifyHandlers& notify,
                      const TKeyPressHandlers& keyPress) {
    for (const TStoredEvent& binding : stored.events) {
        TComponent* component = binding.component.empty() ? &form : form.FindComponent(std::string(binding.component));
        if (!component) Fail(binding.component, binding.event, "no such component");
        if (binding.event == "OnKeyPress") {
            auto* control = dynamic_cast<vcl::TWinControl*>(component);
            const auto handler = keyPress.find(binding.handler);
            if (!control || handler == keyPress.end()) Fail(binding.component, binding.event, "cannot bind");
            control->OnKeyPress = handler->second;
            continue;
        }
        const auto handler = notify.find(binding.handler);
        if (handler == notify.end()) Fail(binding.component, binding.event, "no such handler");
        const vcl::TNotifyEvent& h = handler->second;
        if (binding.event == "OnCreate") {
            dynamic_cast<vcl::TCustomForm&>(*component).OnCreate = h;
        } else if (binding.event == "OnReceiveData") {
            dynamic_cast<serial::TComm&>(*component).SetOnReceiveData(h);
        } else if (binding.event == "OnChange") {
            if (auto* combo = combo::As(component)) combo::SetOnChange(*combo, h);
            else if (auto* edit = dynamic_cast<vcl::TCustomEdit*>(component)) edit->OnChange = h;
            else Fail(binding.component, binding.event, "cannot bind");
        } else if (binding.event == "OnClick") {
            dynamic_cast<TControl&>(*component).OnClick = h;
        } else {
            Fail(binding.component, binding.event, "unknown event");
        }
    }
}

}  // namespace app
