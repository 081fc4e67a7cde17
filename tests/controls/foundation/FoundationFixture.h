#pragma once
// Controls of the set that paint patterns in which any misplaced pixel shows, for the foundation,
// label and button tests.

#include <string>
#include <vector>

#include "controls/foundation/CustomControl.h"
#include "controls/foundation/GraphicControl.h"
#include "controls/surface/Primitives.h"
#include "tests/support/GuiTest.h"

namespace se::testing {

using namespace vcl;

// Lines whose colours depend on where they are: a shifted copy never matches.
inline void PaintPattern(TCanvas& canvas, const TRect& area) {
    for (int x = area.Left; x < area.Right; x += 3) {
        FillRectColor(canvas, {x, area.Top, x + 1, area.Bottom}, RGB(static_cast<uint8_t>(x * 7), 40, 0));
    }
    for (int y = area.Top; y < area.Bottom; y += 4) {
        FillRectColor(canvas, {area.Left, y, area.Right, y + 1}, RGB(0, static_cast<uint8_t>(y * 5), 200));
    }
}

class PatternControl : public TSeCustomControl {
public:
    PatternControl(TWinControl* parent, TRect bounds) : TSeCustomControl(parent) {
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetParent(parent);
    }
    int Faces = 0;
    bool Pattern = false;
    TColor FaceColor = clNone;  // filled over the inner rectangle when set
    std::u16string Text;
    std::vector<std::string>* Log = nullptr;

protected:
    void PaintFace() override {
        ++Faces;
        TSeCustomControl::PaintFace();
        const TRect inner = GetInnerRect();
        if (FaceColor != clNone) FillRectColor(*Canvas(), inner, FaceColor);
        if (Pattern) PaintPattern(*Canvas(), inner);
        if (!Text.empty()) {
            Canvas()->Font().Assign(PaintFont());
            TRect r = inner;
            DrawWideText(*Canvas(), Text, r, DT_LEFT);
        }
    }
    void MouseEnter() override {
        Note("enter");
        TSeCustomControl::MouseEnter();
    }
    void MouseLeave() override {
        TSeCustomControl::MouseLeave();
        Note("leave");
    }
    void FocusEnter() override {
        TSeCustomControl::FocusEnter();
        Note("focus");
    }
    void FocusLeave() override {
        TSeCustomControl::FocusLeave();
        Note("unfocus");
    }

private:
    void Note(const std::string& what) {
        if (Log) Log->push_back(Name() + ":" + what);
    }
};

class PatternGraphic : public TSeGraphicControl {
public:
    PatternGraphic(TWinControl* parent, TRect bounds) : TSeGraphicControl(parent) {
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetParent(parent);
    }
    int Faces = 0;
    bool Pattern = false;
    TColor FaceColor = clNone;
    std::u16string Text;

protected:
    void PaintFace() override {
        ++Faces;
        TSeGraphicControl::PaintFace();
        const TRect client = ClientRect();
        if (FaceColor != clNone) FillRectColor(*Canvas(), client, FaceColor);
        if (Pattern) PaintPattern(*Canvas(), client);
        if (!Text.empty()) {
            Canvas()->Font().Assign(PaintFont());
            TRect r = client;
            DrawWideText(*Canvas(), Text, r, DT_LEFT);
        }
    }
};

inline constexpr TSePerformance kAllModes[] = {kspNoBuffer, kspSharedBuffer, kspDoubleBuffer};

inline const char* ModeName(TSePerformance mode) {
    switch (mode) {
        case kspNoBuffer: return "kspNoBuffer";
        case kspSharedBuffer: return "kspSharedBuffer";
        case kspDoubleBuffer: return "kspDoubleBuffer";
    }
    return "?";
}

}  // namespace se::testing
