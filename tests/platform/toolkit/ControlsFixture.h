#pragma once
// A headless screen and a clean application for each control test, and controls that record what
// happens to them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/GuiTest.h"
#include "platform/toolkit/Application.h"
#include "platform/toolkit/CustomControl.h"
#include "platform/toolkit/Form.h"
#include "platform/toolkit/MessageBox.h"
#include "platform/toolkit/Screen.h"
#include "platform/window/Input.h"
#include "platform/window/WindowSystem.h"

namespace vcl::testing_support {

// Appends "<name>:<event>" to a shared log.
using EventLog = std::vector<std::string>;

class ProbeControl : public TCustomControl {
public:
    ProbeControl(TWinControl* parent, const std::string& name, EventLog* log, TRect bounds = {0, 0, 50, 20})
        : TCustomControl(parent), log_(log) {
        SetName(name);
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetTabStop(true);
        SetParent(parent);
        OnEnter = [this](TObject*) { Note("enter"); };
        OnExit = [this](TObject*) { Note("exit"); };
    }
    LRESULT DialogCode = 0;
    bool AnswerDialogKeys = false;

    void WndProc(TMessage& m) override {
        switch (m.Msg) {
            case CM_MOUSEENTER: Note(m.LParam ? "enter via child" : "mouse enter"); break;
            case CM_MOUSELEAVE: Note(m.LParam ? "leave via child" : "mouse leave"); break;
            case CM_FOCUSCHANGED: Note("focus changed"); break;
            case CM_TEXTCHANGED: Note("text changed"); break;
            case CM_DIALOGKEY:
                Note("dialog key " + std::to_string(m.WParam));
                if (AnswerDialogKeys) {
                    m.Result = 1;
                    return;
                }
                break;
            case CM_DIALOGCHAR:
                Note("dialog char " + std::string(1, static_cast<char>(m.WParam)));
                break;
            case WM_GETDLGCODE:
                m.Result = DialogCode;
                return;
            case WM_CONTEXTMENU:
                Note("context menu " + std::to_string(GET_X_LPARAM(m.LParam)) + "," + std::to_string(GET_Y_LPARAM(m.LParam)));
                m.Result = 1;
                return;
            default: break;
        }
        TCustomControl::WndProc(m);
    }

    void Note(const std::string& what) const {
        if (log_) log_->push_back(Name() + ":" + what);
    }

private:
    EventLog* log_;
};

class ProbeGraphic : public TGraphicControl {
public:
    ProbeGraphic(TWinControl* parent, const std::string& name, EventLog* log, TRect bounds)
        : TGraphicControl(parent), log_(log) {
        SetName(name);
        SetBounds(bounds.Left, bounds.Top, bounds.Width(), bounds.Height());
        SetParent(parent);
    }
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_MOUSEENTER) log_->push_back(Name() + (m.LParam ? ":enter via child" : ":mouse enter"));
        if (m.Msg == CM_MOUSELEAVE) log_->push_back(Name() + (m.LParam ? ":leave via child" : ":mouse leave"));
        if (m.Msg == WM_CONTEXTMENU) {
            log_->push_back(Name() + ":context menu");
            m.Result = 1;
            return;
        }
        TGraphicControl::WndProc(m);
    }

private:
    EventLog* log_;
};

class ControlsTest : public GuiTest {
protected:
    EventLog log_;
};

}  // namespace vcl::testing_support
