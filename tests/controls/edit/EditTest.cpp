#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "controls/edit/Edit.h"
#include "controls/popupmenu/PopupWindow.h"
#include "platform/draw/Png.h"
#include "platform/rtl/Utf.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace se {
namespace {

using namespace vcl;
using vcl::testing_support::GuiTest;

std::vector<TSePopupWindow*> MenuWindows() {
    std::vector<TSePopupWindow*> windows;
    for (HWND top : GetTopLevelWindows()) {
        if (auto* w = dynamic_cast<TSePopupWindow*>(top->Object()); w && IsWindowVisible(top)) windows.push_back(w);
    }
    return windows;
}

// One thing the user does: a key with modifiers, or typed text.
struct Step {
    uint16_t key = 0;
    TShiftState mods = 0;
    std::string text;
};
Step Key(uint16_t key, TShiftState mods = 0) { return Step{key, mods, {}}; }
Step Type(std::string text) { return Step{0, 0, std::move(text)}; }

class EditTest : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = NewForm({100, 100, 500, 400});
        edit_ = new TSeSkinEdit(form_);
        edit_->SetParent(form_);
        edit_->SetBounds(10, 10, 121, 21);
        other_ = new TSeSkinEdit(form_);
        other_->SetParent(form_);
        other_->SetBounds(10, 50, 121, 21);
        edit_->OnChange = [this](TObject*) { log_.push_back("change " + rtl::Utf16ToUtf8(edit_->Text())); };
        edit_->OnKeyPress = [this](TObject*, char32_t& key) { log_.push_back("press " + std::to_string(key)); };
        screen_.MoveMouse(490, 390);
        Pump();
    }

    void Focus() {
        edit_->SetFocus();
        Pump();
    }

    void Do(const std::vector<Step>& steps) {
        for (const Step& s : steps) {
            if (s.key) {
                screen_.PressKey(s.key, s.mods);
            } else {
                screen_.TypeText(s.text);
            }
            Pump();
        }
    }

    std::string Text() const { return rtl::Utf16ToUtf8(edit_->Text()); }

    // Opens the context menu with a right click at x, runs check while it is open, closes it with
    // the keys given (Escape by default).
    void WithContextMenu(int x, const std::function<void()>& check, std::vector<uint16_t> keys = {VK_ESCAPE}) {
        size_t step = 0;
        screen_.SetIdleHandler([&] {
            if (step == 0) check();
            if (step >= keys.size()) return false;
            screen_.PressKey(keys[step++]);
            return true;
        });
        screen_.ClickAt(edit_->Handle(), {x, 8}, TMouseButton::Right);
        Pump();
        screen_.SetIdleHandler(nullptr);
    }

    TForm* form_ = nullptr;
    TSeSkinEdit* edit_ = nullptr;
    TSeSkinEdit* other_ = nullptr;
    std::vector<std::string> log_;
};

TEST_F(EditTest, EditingRulesAUserMeets) {
    struct Case {
        const char* name;
        std::string initial;
        int maxLength;
        std::vector<Step> steps;
        std::string text;
        int selStart;
        int selLength;
        int caret;
    };
    const Case cases[] = {
        {"typed run then two backspaces, one undo", "", 0,
         {Type("a"), Type("b"), Type("c"), Key(VK_BACK), Key(VK_BACK), Key('Z', ssCtrl)}, "abc", 1, 2, 3},
        {"a second undo removes the typing", "", 0,
         {Type("abc"), Key(VK_BACK), Key(VK_BACK), Key('Z', ssCtrl), Key('Z', ssCtrl)}, "", 0, 0, 0},
        {"typing over a selection", "abc", 0, {Key(VK_HOME), Key(VK_RIGHT), Key(VK_RIGHT, ssShift), Type("X")}, "aXc", 2, 0, 2},
        {"one undo gives the selection back", "abc", 0,
         {Key(VK_HOME), Key(VK_RIGHT), Key(VK_RIGHT, ssShift), Type("X"), Key('Z', ssCtrl)}, "abc", 1, 1, 2},
        {"delete at the end changes nothing", "abc", 0, {Key(VK_END), Key(VK_DELETE)}, "abc", 3, 0, 3},
        {"backspace at the start changes nothing", "abc", 0, {Key(VK_HOME), Key(VK_BACK)}, "abc", 0, 0, 0},
        {"a run of deletes undone at once", "abcd", 0,
         {Key(VK_HOME), Key(VK_DELETE), Key(VK_DELETE), Key('Z', ssCtrl)}, "abcd", 0, 2, 2},
        {"max length takes a replacement but not one more", "abc", 3, {Key(VK_END), Key(VK_LEFT, ssShift), Type("xy")}, "abx", 3, 0, 3},
        {"max length rejects a paste and clears the selection", "abc", 3,
         {Key(VK_HOME), Key(VK_END, ssShift), Key('C', ssCtrl), Key(VK_HOME), Key(VK_RIGHT, ssShift), Key('V', ssCtrl)}, "abc", 1, 0, 1},
        {"ctrl+right to the next word", "ab cd", 0, {Key(VK_HOME), Key(VK_RIGHT, ssCtrl)}, "ab cd", 3, 0, 3},
        {"ctrl+right to the end", "ab cd", 0, {Key(VK_HOME), Key(VK_RIGHT, ssCtrl), Key(VK_RIGHT, ssCtrl)}, "ab cd", 5, 0, 5},
        {"ctrl+right over trailing spaces", "ab  ", 0, {Key(VK_HOME), Key(VK_RIGHT, ssCtrl)}, "ab  ", 3, 0, 3},
        {"ctrl+left to the word start", "ab cd", 0, {Key(VK_END), Key(VK_LEFT, ssCtrl)}, "ab cd", 3, 0, 3},
        {"shift+home selects to the start", "abcd", 0, {Key(VK_END), Key(VK_LEFT), Key(VK_HOME, ssShift)}, "abcd", 0, 3, 0},
        {"shift+delete cuts, ctrl+insert and shift+insert", "abcd", 0,
         {Key(VK_HOME), Key(VK_RIGHT, ssShift), Key(VK_DELETE, ssShift), Key(VK_END), Key(VK_INSERT, ssShift)}, "bcda", 4, 0, 4},
        {"ctrl+x then ctrl+v", "abcd", 0,
         {Key(VK_END), Key(VK_LEFT, ssShift), Key(VK_LEFT, ssShift), Key('X', ssCtrl), Key(VK_HOME), Key('V', ssCtrl)}, "cdab", 2, 0, 2},
        {"ctrl+c copies without changing", "abcd", 0,
         {Key(VK_HOME), Key(VK_RIGHT, ssShift), Key('C', ssCtrl), Key(VK_END), Key('V', ssCtrl)}, "abcda", 5, 0, 5},
        {"backspace deletes the selection", "abcd", 0, {Key(VK_END), Key(VK_LEFT, ssShift), Key(VK_BACK)}, "abc", 3, 0, 3},
    };
    Focus();
    for (const Case& c : cases) {
        ClipboardSetText("");
        edit_->SetMaxLength(c.maxLength);
        edit_->SetText(rtl::Utf8ToUtf16(c.initial));
        edit_->SetSelLength(0);
        Do(c.steps);
        EXPECT_EQ(Text(), c.text) << c.name;
        EXPECT_EQ(edit_->SelStart(), c.selStart) << c.name;
        EXPECT_EQ(edit_->SelLength(), c.selLength) << c.name;
        EXPECT_EQ(edit_->CaretPos(), c.caret) << c.name;
    }
}

TEST_F(EditTest, RejectedAndEmptyEditsLeaveTheHistoryAlone) {
    Focus();
    edit_->SetText(u"abc");
    const int before = edit_->Actions().Count();
    Do({Key(VK_END), Key(VK_DELETE), Key(VK_HOME), Key(VK_BACK)});
    EXPECT_EQ(edit_->Actions().Count(), before);
    edit_->SetMaxLength(3);
    Do({Type("x")});
    EXPECT_EQ(edit_->Actions().Count(), before);
    edit_->SetReadOnly(true);
    Do({Type("y"), Key(VK_BACK), Key('V', ssCtrl)});
    EXPECT_EQ(Text(), "abc");
}

TEST_F(EditTest, ReadOnlyStillUndoesAndCharCaseConvertsTyping) {
    Focus();
    Do({Type("ab")});
    edit_->SetReadOnly(true);
    Do({Key('Z', ssCtrl)});
    EXPECT_EQ(Text(), "");
    edit_->SetReadOnly(false);
    edit_->SetCharCase(ecUpperCase);
    Do({Type("xy")});
    EXPECT_EQ(Text(), "XY");
    edit_->SetCharCase(ecLowerCase);
    EXPECT_EQ(Text(), "xy");
}

TEST_F(EditTest, TabbingSelectsAllAndClickingPutsTheCaretAtThePoint) {
    edit_->SetText(u"ab cd");
    other_->SetFocus();
    Pump();
    screen_.PressKey(VK_TAB, ssShift);
    Pump();
    ASSERT_EQ(GetFocus(), edit_->Handle());
    EXPECT_EQ(edit_->SelStart(), 0);
    EXPECT_EQ(edit_->SelLength(), 5);
    EXPECT_EQ(edit_->CaretPos(), 0);
    EXPECT_TRUE(IsCaretShown());

    other_->SetFocus();
    Pump();
    const int x = edit_->PosToX(4) + 1;  // just right of the gap before "d"
    screen_.ClickAt(edit_->Handle(), {x, 8});
    Pump();
    EXPECT_EQ(edit_->CaretPos(), 4);
    EXPECT_EQ(edit_->SelLength(), 0);

    // A double click inside the first word of a field without a selection: the word and its space.
    screen_.DoubleClickAt(edit_->Handle(), {edit_->PosToX(1), 8});
    Pump();
    EXPECT_EQ(edit_->SelStart(), 0);
    EXPECT_EQ(edit_->SelLength(), 3);
    EXPECT_EQ(edit_->CaretPos(), 3);
}

TEST_F(EditTest, DraggingSelectsAndScrollsPastTheRightEdge) {
    edit_->SetText(u"the quick brown fox jumps over the lazy dog");
    Focus();
    screen_.MoveMouseTo(edit_->Handle(), {6, 8});
    screen_.PressButton();
    for (int i = 0; i < 60; ++i) screen_.MoveMouseTo(edit_->Handle(), {140 + (i % 2), 8});
    screen_.ReleaseButton();
    Pump();
    EXPECT_GT(edit_->FirstVisible(), 1);
    EXPECT_EQ(edit_->CaretPos(), static_cast<int>(edit_->Text().size()));
    EXPECT_EQ(edit_->SelStart() + edit_->SelLength(), edit_->CaretPos());
    EXPECT_GE(edit_->SelLength(), 40);
    Do({Key(VK_HOME)});
    EXPECT_EQ(edit_->FirstVisible(), 1);
    Do({Key(VK_END)});
    // The caret stays inside the text line.
    TPoint caret;
    GetCaretPos(caret);
    EXPECT_LE(caret.X, edit_->Width() - 5);
}

TEST_F(EditTest, TextWritesFireOnChangeOnlyWhenTheTextChanges) {
    edit_->SetText(u"one");
    edit_->SetText(u"one");
    edit_->SetText(u"two");
    EXPECT_EQ(log_, (std::vector<std::string>{"change one", "change two"}));
    edit_->SetPasswordWideChar(u'*');
    EXPECT_EQ(edit_->PasswordKind(), pkChar);
}

TEST_F(EditTest, MaskedFieldsNeverCopy) {
    ClipboardSetText("keep");
    edit_->SetText(u"secret");
    edit_->SetPasswordKind(pkCircle);
    Focus();
    Do({Key(VK_END), Key(VK_HOME, ssShift), Key('C', ssCtrl)});
    EXPECT_EQ(ClipboardGetText(), "keep");
    Do({Key('X', ssCtrl)});
    EXPECT_EQ(Text(), "");
    EXPECT_EQ(ClipboardGetText(), "keep");
}

TEST_F(EditTest, ContextMenuItemsAreEnabledAsTheyApply) {
    struct Case {
        const char* name;
        std::u16string text;
        bool selectAll;
        bool readOnly;
        TPasswordKind password;
        std::string clipboard;
        // Undo, Cut, Copy, Paste, Delete, Select All
        std::vector<bool> enabled;
    };
    const Case cases[] = {
        {"empty field", u"", false, false, pkNone, "", {false, false, false, false, false, false}},
        {"text, no selection", u"abc", false, false, pkNone, "x", {false, false, false, true, false, true}},
        {"all selected", u"abc", true, false, pkNone, "x", {false, true, true, true, true, false}},
        {"read-only", u"abc", true, true, pkNone, "x", {false, false, true, false, false, false}},
        {"masked", u"abc", true, false, pkCircle, "", {false, false, false, false, true, false}},
    };
    const TEditCommand commands[] = {kecUndo, kecCut, kecCopy, kecPaste, kecDelete, kecSelectAll};
    for (const Case& c : cases) {
        edit_->SetText(c.text);
        edit_->SetReadOnly(c.readOnly);
        edit_->SetPasswordKind(c.password);
        ClipboardSetText(c.clipboard);
        if (c.selectAll) {
            edit_->SelectAll();
        } else {
            edit_->SetSelLength(0);
        }
        std::vector<bool> enabled;
        WithContextMenu(100, [&] {
            for (TEditCommand command : commands) enabled.push_back(edit_->ContextMenu()->Items().FindByCommand(command)->Enabled());
        });
        EXPECT_EQ(enabled, c.enabled) << c.name;
    }
    Focus();
    edit_->SetReadOnly(false);
    edit_->SetPasswordKind(pkNone);
    Do({Type("z")});
    bool undo = false;
    WithContextMenu(100, [&] { undo = edit_->ContextMenu()->Items().FindByCommand(kecUndo)->Enabled(); });
    EXPECT_TRUE(undo);
}

TEST_F(EditTest, PasteFromTheMenuRunsAfterTheMenuHasGoneAndBypassesKeyPress) {
    edit_->SetText(u"ab");
    Focus();
    Do({Key(VK_END)});
    ClipboardSetText("x\r\ny");
    log_.clear();
    bool menuGone = false;
    edit_->OnChange = [&](TObject*) {
        menuGone = MenuWindows().empty();
        log_.push_back("change " + Text());
    };
    // Paste is the fifth row: Undo, separator, Cut, Copy, Paste.
    WithContextMenu(100, [] {}, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    Pump();
    EXPECT_TRUE(menuGone);
    EXPECT_EQ(log_, std::vector<std::string>{"change abx\r\ny"});
}

TEST_F(EditTest, EscapeClosesTheMenuWithoutReachingTheField) {
    edit_->SetText(u"ab");
    Focus();
    std::vector<uint16_t> keys;
    edit_->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
    WithContextMenu(100, [] {});
    Pump();
    EXPECT_TRUE(MenuWindows().empty());
    EXPECT_TRUE(keys.empty());
    EXPECT_EQ(Text(), "ab");
}

TEST_F(EditTest, AKeyboardRequestOpensTheMenuAtTheCaret) {
    edit_->SetText(u"abc");
    Focus();
    Do({Key(VK_END)});
    TRect bounds;
    screen_.SetIdleHandler([&] {
        bounds = GetWindowRect(MenuWindows().at(0)->Handle());
        screen_.PressKey(VK_ESCAPE);
        screen_.SetIdleHandler(nullptr);
        return true;
    });
    screen_.PressKey(VK_F10, ssShift);
    Pump();
    const TPoint caret = vcl::ClientToScreen(edit_->Handle(), {edit_->PosToX(3), 0});
    EXPECT_EQ(bounds.Left, caret.X);
    EXPECT_GT(bounds.Top, caret.Y);
    EXPECT_LT(bounds.Top, caret.Y + edit_->Height());
}

TEST_F(EditTest, PositionsStayInsideAShorterTextWrittenWhileDisabled) {
    edit_->SetText(u"the quick brown fox jumps over the lazy dog");
    Focus();
    Do({Key(VK_END)});
    ASSERT_GT(edit_->FirstVisible(), 1);
    edit_->SetEnabled(false);
    edit_->SetText(u"ab");
    EXPECT_LE(edit_->FirstVisible(), 2);
    EXPECT_LE(edit_->CaretPos(), 2);
    edit_->Repaint();
    EXPECT_EQ(edit_->XToPos(200), 2);
}

TEST_F(EditTest, UndoingADeletionNeverCutsBelowNothing) {
    Focus();
    edit_->SetText(u"abcd");
    Do({Key(VK_END), Key(VK_BACK)});
    edit_->SetMaxLength(2);
    edit_->SetText(u"wxyz");  // longer than MaxLength, written by code
    Do({Key('Z', ssCtrl)});
    EXPECT_EQ(Text(), "wxyz");
    EXPECT_EQ(edit_->SelLength(), 0);
}

TEST_F(EditTest, TypingAfterACodeWriteDoesNotJoinAnOlderRecord) {
    Focus();
    Do({Type("ab")});  // an insertion at 1 of 2 characters
    edit_->SetText(u"xyz12");
    Do({Key(VK_HOME), Key(VK_RIGHT), Key(VK_RIGHT), Type("Q")});  // inserted at 3, where the old run ended
    Do({Key('Z', ssCtrl)});
    EXPECT_EQ(Text(), "xyz12");
}

TEST_F(EditTest, InputMethodResultsAreInsertedWithoutKeyPresses) {
    Focus();
    log_.clear();
    screen_.Compose("ni");
    Pump();
    screen_.TypeText("你好");
    Pump();
    EXPECT_EQ(Text(), "你好");
    EXPECT_EQ(log_, (std::vector<std::string>{"change 你", "change 你好"}));
}

TEST_F(EditTest, AutoSizeFitsOneLineBetweenTheBorders) {
    edit_->SetBorderWidth(2);
    edit_->SetBorderWidth(3);
    EXPECT_EQ(edit_->Height(), 2 * (3 + 2) + edit_->TextHeight());
    edit_->SetAutoSize(false);
    edit_->SetHeight(40);
    edit_->SetBorderWidth(1);
    EXPECT_EQ(edit_->Height(), 40);
}

TEST_F(EditTest, ScreenshotOfASelectionWithItsContextMenu) {
    edit_->SetText(u"Modbus RTU 01 03");
    Focus();
    Do({Key(VK_END), Key(VK_LEFT, ssCtrl | ssShift), Key(VK_LEFT, ssCtrl | ssShift)});
    ClipboardSetText("x");
    PixelSection shot;
    WithContextMenu(edit_->PosToX(8), [&] {
        screen_.MoveMouse(screen_.MousePosition().X + 20, screen_.MousePosition().Y + 70);
        Pump();
        shot = screen_.Screenshot();
        SaveScreenshot("edit_context_menu.png");
        // The same part enlarged three times, to compare pixel by pixel with the classic look.
        const TRect area{100, 100, 300, 290};
        PixelSection zoom(area.Width() * 3, area.Height() * 3);
        for (int y = 0; y < zoom.Height(); ++y) {
            for (int x = 0; x < zoom.Width(); ++x) zoom.Row(y)[x] = shot.At(area.Left + x / 3, area.Top + y / 3);
        }
        SavePng(zoom, testing_support::ScreenshotDirectory() + "/edit_context_menu_x3.png");
    });
    // The selection is drawn in the highlight colour, the menu opened at the click.
    const TPoint sel = vcl::ClientToScreen(edit_->Handle(), {edit_->PosToX(12), 6});
    EXPECT_EQ(shot.At(sel.X, sel.Y) & 0xFFFFFF, testing_support::PixelOf(clHighlight) & 0xFFFFFF);
}

}  // namespace
}  // namespace se
