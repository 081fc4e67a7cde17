// The stored values of the bus monitor: its components by name, with their parents and properties,
// and the event bindings by handler name. Captions are set by the language (SetLanguage).

#include "app/BusMonitor.h"

namespace app {
namespace {

using Props = std::vector<TStoredProperty>;

Props Bounds(int left, int top, int width, int height, Props more = {}) {
    Props props{{"Left", left}, {"Top", top}, {"Width", width}, {"Height", height}};
    props.insert(props.end(), more.begin(), more.end());
    return props;
}

TStoredForm BuildBusMonitor() {
    TStoredForm f;
    f.formProperties = {
        {"ClientHeight", 560},
        {"ClientWidth", 900},
        {"Color", TIdent{"clBtnFace"}},
        {"Font.Charset", TIdent{"DEFAULT_CHARSET"}},
        {"Font.Color", TIdent{"clWindowText"}},
        {"Font.Height", -11},
        {"Font.Name", std::string_view{"MS Sans Serif"}},
        {"BorderStyle", TIdent{"bsSizeable"}},
        {"Position", TIdent{"poDesigned"}},
    };
    auto& c = f.components;
    // The repeat row across the top: the check box, its interval and time-out, the counters.
    c.push_back({"TSeSkinGroupBox", "GroupRepeat", "", Bounds(0, 0, 900, 70, {{"Align", TIdent{"alTop"}}, {"TabOrder", 0}})});
    c.push_back({"TSeSkinCheckBox", "CheckRepeat", "GroupRepeat", Bounds(12, 20, 92, 17, {{"TabOrder", 0}})});
    c.push_back({"TSeSkinLabel", "LabelInterval", "GroupRepeat", Bounds(110, 22, 70, 13)});
    c.push_back({"TEdit", "EditInterval", "GroupRepeat", Bounds(184, 18, 64, 21, {{"Text", std::string_view{"1000"}}, {"TabOrder", 1}})});
    c.push_back({"TSeSkinLabel", "LabelTimeout", "GroupRepeat", Bounds(260, 22, 80, 13)});
    c.push_back({"TEdit", "EditTimeout", "GroupRepeat", Bounds(344, 18, 64, 21, {{"Text", std::string_view{"1000"}}, {"TabOrder", 2}})});
    c.push_back({"TSeSkinButton", "ButtonZero", "GroupRepeat", Bounds(424, 16, 75, 25, {{"TabOrder", 3}})});
    c.push_back({"TSeSkinButton", "ButtonSave", "GroupRepeat", Bounds(508, 16, 75, 25, {{"TabOrder", 4}})});
    c.push_back({"TLabel", "LabelCounters", "GroupRepeat", Bounds(12, 48, 870, 13)});
    c.push_back({"TSeSkinStatusBar", "StatusBar", "",
                 Bounds(0, 538, 900, 22, {{"Align", TIdent{"alBottom"}},
                                          {"Panels", TCollectionItems{{{"Width", 900}}}}})});
    c.push_back({"TLogView", "DetailView", "", Bounds(0, 420, 900, 118, {{"Align", TIdent{"alBottom"}}, {"TabOrder", 2}})});
    c.push_back({"TLogView", "LogView", "", Bounds(0, 70, 900, 350, {{"Align", TIdent{"alClient"}}, {"TabOrder", 1}})});

    f.events = {
        {"CheckRepeat", "OnClick", "CheckRepeatClick"},
        {"ButtonZero", "OnClick", "ButtonZeroClick"},
        {"ButtonSave", "OnClick", "ButtonSaveClick"},
        {"EditInterval", "OnChange", "TimingChange"},
        {"EditTimeout", "OnChange", "TimingChange"},
    };
    return f;
}

}  // namespace

const TStoredForm& BusMonitorStored() {
    static const TStoredForm stored = BuildBusMonitor();
    return stored;
}

}  // namespace app
