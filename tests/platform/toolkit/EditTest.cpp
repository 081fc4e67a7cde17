// The single-line edit driven as a user drives it: typing, moving and selecting with keys and the
// mouse, the clipboard, undo, the order of the key and change events, and writes by code.

#include <gtest/gtest.h>

#include <functional>

#include "platform/draw/Canvas.h"
#include "platform/draw/FontCache.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Utf.h"
#include "platform/runtime/Component.h"
#include "platform/toolkit/Edit.h"
#include "platform/toolkit/Menus.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace vcl {
namespace {

class EditTest : public testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = NewForm();
        edit_ = new TEdit(form_);
        edit_->SetBounds(10, 10, 150, 21);
        edit_->SetParent(form_);
        Pump();
    }

    // Focuses the edit with the given text and the caret at its end.
    void Start(const std::string& text) {
        edit_->SetText(text);
        edit_->SetFocus();
        screen_.PressKey(VK_END);
        Pump();
    }
    void Type(const std::string& text) {
        screen_.TypeText(text);
        Pump();
    }
    void Press(uint16_t key, TShiftState shift = 0) {
        screen_.PressKey(key, shift);
        Pump();
    }
    void LogEvents() {
        edit_->OnKeyDown = [this](TObject*, uint16_t& key, TShiftState) { log_.push_back("down " + std::to_string(key)); };
        edit_->OnKeyUp = [this](TObject*, uint16_t& key, TShiftState) { log_.push_back("up " + std::to_string(key)); };
        edit_->OnKeyPress = [this](TObject*, char32_t& key) { log_.push_back("press " + std::to_string(key)); };
        edit_->OnChange = [this](TObject*) { log_.push_back("change " + edit_->Text()); };
    }
    // Width of a text in the edit's font.
    int TextWidth(const std::string& text) {
        auto font = ResolveFont(LogFontOf(edit_->Font()));
        int width = 0;
        for (size_t i = 0; i < text.size();) width += font->Advance(rtl::NextCodePoint(text, i));
        return width;
    }
    // Client point of the boundary before character index of the text (no scrolling).
    TPoint PointBefore(const std::string& text) { return {3 + TextWidth(text), 8}; }

    // The edit's own context menu while it is open.
    TPopupMenu* OpenMenu() {
        for (int i = 0; i < edit_->ComponentCount(); ++i) {
            auto* menu = dynamic_cast<TPopupMenu*>(edit_->Components(i));
            if (menu && menu->WindowHandle()) return menu;
        }
        return nullptr;
    }

    TForm* form_ = nullptr;
    TEdit* edit_ = nullptr;
    std::vector<std::string> log_;
};

struct KeyCase {
    const char* name;
    const char* initial;  // caret at its end
    std::function<void(THeadlessBackend&)> act;
    const char* text;
    int selStart;
    int selLength;
};

class EditKeys : public EditTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(EditKeys, EditsAndSelectsAsTheClassicField) {
    const KeyCase& c = GetParam();
    Start(c.initial);
    c.act(screen_);
    Pump();
    EXPECT_EQ(edit_->Text(), c.text);
    EXPECT_EQ(edit_->SelStart(), c.selStart);
    EXPECT_EQ(edit_->SelLength(), c.selLength);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeys,
    ::testing::Values(
        KeyCase{"TypingGoesInAtTheCaret", "abc", [](auto& s) { s.PressKey(VK_LEFT); s.TypeText("X"); }, "abXc", 3, 0},
        KeyCase{"HomeAndEnd", "abc", [](auto& s) { s.PressKey(VK_HOME); s.TypeText(">"); s.PressKey(VK_END); s.TypeText("<"); },
                ">abc<", 5, 0},
        KeyCase{"ShiftHomeSelectsToTheStart", "abc def", [](auto& s) { s.PressKey(VK_HOME, ssShift); }, "abc def", 0, 7},
        KeyCase{"ShiftLeftTwiceSelectsTwoCharacters", "abcd", [](auto& s) { s.PressKey(VK_LEFT, ssShift); s.PressKey(VK_LEFT, ssShift); },
                "abcd", 2, 2},
        KeyCase{"CtrlLeftStopsAtWordStarts", "abc def", [](auto& s) { s.PressKey(VK_LEFT, ssCtrl); }, "abc def", 4, 0},
        KeyCase{"CtrlShiftRightSelectsAWordAndItsSpace", "abc def",
                [](auto& s) { s.PressKey(VK_HOME); s.PressKey(VK_RIGHT, ssCtrl | ssShift); }, "abc def", 0, 4},
        KeyCase{"UpAndDownActAsLeftAndRight", "abc", [](auto& s) { s.PressKey(VK_UP); s.PressKey(VK_UP); s.PressKey(VK_DOWN); },
                "abc", 2, 0},
        KeyCase{"BackspaceDeletesBeforeTheCaret", "abc", [](auto& s) { s.PressKey(VK_BACK); }, "ab", 2, 0},
        KeyCase{"DeleteDeletesAfterTheCaret", "abc", [](auto& s) { s.PressKey(VK_HOME); s.PressKey(VK_DELETE); }, "bc", 0, 0},
        KeyCase{"BackspaceAtTheStartDoesNothing", "abc", [](auto& s) { s.PressKey(VK_HOME); s.PressKey(VK_BACK); }, "abc", 0, 0},
        KeyCase{"TypingReplacesTheSelection", "abc", [](auto& s) { s.PressKey('A', ssCtrl); s.TypeText("z"); }, "z", 1, 0},
        KeyCase{"BackspaceRemovesTheSelection", "abcd", [](auto& s) { s.PressKey(VK_LEFT, ssShift); s.PressKey(VK_LEFT, ssShift); s.PressKey(VK_BACK); },
                "ab", 2, 0},
        KeyCase{"ChineseCountsByCharacter", "中文字", [](auto& s) { s.PressKey(VK_LEFT); s.PressKey(VK_BACK); }, "中字", 1, 0},
        KeyCase{"CtrlAThenArrowCollapsesAtTheCaret", "abc", [](auto& s) { s.PressKey('A', ssCtrl); s.PressKey(VK_LEFT); }, "abc", 2, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClipboardCase {
    const char* name;
    const char* clipboardBefore;
    std::function<void(THeadlessBackend&)> act;  // starts on "abcd" with "bc" selected
    const char* text;
    const char* clipboard;
};

class EditClipboard : public EditTest, public ::testing::WithParamInterface<ClipboardCase> {};

TEST_P(EditClipboard, CutsCopiesAndPastes) {
    const ClipboardCase& c = GetParam();
    ClipboardSetText(c.clipboardBefore);
    Start("abcd");
    Press(VK_LEFT);
    Press(VK_LEFT, ssShift);
    Press(VK_LEFT, ssShift);
    c.act(screen_);
    Pump();
    EXPECT_EQ(edit_->Text(), c.text);
    EXPECT_EQ(ClipboardGetText(), c.clipboard);
}

INSTANTIATE_TEST_SUITE_P(
    Clipboard, EditClipboard,
    ::testing::Values(ClipboardCase{"CtrlC", "x", [](auto& s) { s.PressKey('C', ssCtrl); }, "abcd", "bc"},
                      ClipboardCase{"CtrlInsert", "x", [](auto& s) { s.PressKey(VK_INSERT, ssCtrl); }, "abcd", "bc"},
                      ClipboardCase{"CtrlX", "x", [](auto& s) { s.PressKey('X', ssCtrl); }, "ad", "bc"},
                      ClipboardCase{"ShiftDelete", "x", [](auto& s) { s.PressKey(VK_DELETE, ssShift); }, "ad", "bc"},
                      ClipboardCase{"CtrlV", "xy", [](auto& s) { s.PressKey('V', ssCtrl); }, "axyd", "xy"},
                      ClipboardCase{"ShiftInsert", "xy", [](auto& s) { s.PressKey(VK_INSERT, ssShift); }, "axyd", "xy"},
                      ClipboardCase{"PasteTakesTheFirstLineOnly", "12\r\n34", [](auto& s) { s.PressKey('V', ssCtrl); }, "a12d",
                                    "12\r\n34"},
                      ClipboardCase{"CutThenPasteElsewhere", "x",
                                    [](auto& s) { s.PressKey('X', ssCtrl); s.PressKey(VK_END); s.PressKey('V', ssCtrl); },
                                    "adbc", "bc"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditTest, ReadOnlyRefusesChangesButCopies) {
    edit_->SetReadOnly(true);
    ClipboardSetText("zz");
    Start("abc");
    Type("x");
    Press(VK_BACK);
    Press('V', ssCtrl);
    Press(VK_LEFT, ssShift);
    Press('X', ssCtrl);
    EXPECT_EQ(edit_->Text(), "abc");
    EXPECT_EQ(ClipboardGetText(), "zz");
    Press('C', ssCtrl);
    EXPECT_EQ(ClipboardGetText(), "c");
}

TEST_F(EditTest, MaxLengthLimitsTypingAndPastingButNotWritesByCode) {
    edit_->SetMaxLength(4);
    ClipboardSetText("12345");
    Start("ab");
    Press('V', ssCtrl);
    EXPECT_EQ(edit_->Text(), "ab12");
    Type("x");
    EXPECT_EQ(edit_->Text(), "ab12");
    edit_->SetText("longer than four");
    EXPECT_EQ(edit_->Text(), "longer than four");
}

TEST_F(EditTest, UndoTakesBackARunOfTypingAndASecondUndoRedoesIt) {
    Start("ab");
    int changes = 0;
    edit_->OnChange = [&](TObject*) { ++changes; };
    Type("cde");
    Press('Z', ssCtrl);
    EXPECT_EQ(edit_->Text(), "ab");
    EXPECT_EQ(edit_->SelStart(), 2);
    Press('Z', ssCtrl);
    EXPECT_EQ(edit_->Text(), "abcde");
    // A deletion after a move is a step of its own.
    Press(VK_LEFT);
    Press(VK_DELETE);
    Press('Z', ssCtrl);
    EXPECT_EQ(edit_->Text(), "abcde");
    EXPECT_EQ(changes, 7);
    edit_->SetText("new");
    EXPECT_FALSE(edit_->CanUndo());
}

TEST_F(EditTest, KeyEventsComeDownPressChangeUp) {
    Start("");
    LogEvents();
    screen_.KeyDown('A');
    screen_.TypeText("a");
    screen_.KeyUp('A');
    Pump();
    EXPECT_EQ(log_, (std::vector<std::string>{"down 65", "press 97", "change a", "up 65"}));
}

struct PressCase {
    const char* name;
    std::function<void(THeadlessBackend&)> act;  // on "abcd" with "bc" selected, clipboard "xy"
    const char* text;
    const char* clipboard;
};

class EditDiscarded : public EditTest, public ::testing::WithParamInterface<PressCase> {};

TEST_P(EditDiscarded, OnKeyPressSettingTheKeyToZeroDiscardsTypedCharactersOnly) {
    const PressCase& c = GetParam();
    ClipboardSetText("xy");
    Start("abcd");
    Press(VK_LEFT);
    Press(VK_LEFT, ssShift);
    Press(VK_LEFT, ssShift);
    int changes = 0;
    edit_->OnChange = [&](TObject*) { ++changes; };
    edit_->OnKeyPress = [](TObject*, char32_t& key) { key = 0; };
    c.act(screen_);
    Pump();
    EXPECT_EQ(edit_->Text(), c.text);
    EXPECT_EQ(ClipboardGetText(), c.clipboard);
    EXPECT_EQ(changes, std::string(c.text) == "abcd" ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Discarded, EditDiscarded,
    ::testing::Values(PressCase{"Letter", [](auto& s) { s.TypeText("q"); }, "abcd", "xy"},
                      PressCase{"Backspace", [](auto& s) { s.PressKey(VK_BACK); }, "abcd", "xy"},
                      PressCase{"CtrlC", [](auto& s) { s.PressKey('C', ssCtrl); }, "abcd", "xy"},
                      PressCase{"CtrlV", [](auto& s) { s.PressKey('V', ssCtrl); }, "abcd", "xy"},
                      PressCase{"CtrlX", [](auto& s) { s.PressKey('X', ssCtrl); }, "abcd", "xy"},
                      PressCase{"CtrlZ", [](auto& s) { s.TypeText(""); s.PressKey('Z', ssCtrl); }, "abcd", "xy"},
                      // Keys without a character are not filtered.
                      PressCase{"ShiftInsertStillPastes", [](auto& s) { s.PressKey(VK_INSERT, ssShift); }, "axyd", "xy"},
                      PressCase{"DeleteStillDeletes", [](auto& s) { s.PressKey(VK_DELETE); }, "ad", "xy"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditTest, OnKeyPressSeesShortcutsAsControlCharactersAndMayReplaceCharacters) {
    Start("");
    std::vector<char32_t> seen;
    edit_->OnKeyPress = [&](TObject*, char32_t& key) {
        seen.push_back(key);
        if (key >= U'a' && key <= U'z') key -= 32;
    };
    Type("ab1");
    EXPECT_EQ(edit_->Text(), "AB1");
    for (uint16_t letter : {'C', 'V', 'X', 'Z', 'A'}) Press(letter, ssCtrl);
    EXPECT_EQ(seen, (std::vector<char32_t>{U'a', U'b', U'1', 3, 22, 24, 26, 1}));
}

TEST_F(EditTest, AWriteByCodeRaisesOnChangeOnceAndPutsTheCaretAtTheStart) {
    Start("abc");
    Press(VK_LEFT, ssShift);
    LogEvents();
    edit_->SetText("hello");
    edit_->SetText("hello");
    EXPECT_EQ(log_, (std::vector<std::string>{"change hello"}));
    EXPECT_EQ(edit_->SelStart(), 0);
    EXPECT_EQ(edit_->SelLength(), 0);
    EXPECT_EQ(GetCaretRect().Left, edit_->CaretPoint().X);
}

TEST_F(EditTest, NoOnChangeWhileLoading) {
    LogEvents();
    LoadStoredForm(*form_, [&] { edit_->SetText("stored"); });
    edit_->SetText("later");
    EXPECT_EQ(log_, (std::vector<std::string>{"change later"}));
}

TEST_F(EditTest, AnOnChangeThatWritesTheTextRunsNestedToTheEnd) {
    // As the request composer refills an emptied field.
    Start("4");
    int depth = 0;
    edit_->OnChange = [&](TObject*) {
        log_.push_back("begin " + std::to_string(depth) + " '" + edit_->Text() + "'");
        ++depth;
        if (edit_->Text().empty()) edit_->SetText("1");
        --depth;
        log_.push_back("end " + std::to_string(depth) + " '" + edit_->Text() + "'");
    };
    Press(VK_BACK);
    EXPECT_EQ(log_, (std::vector<std::string>{"begin 0 ''", "begin 1 '1'", "end 1 '1'", "end 0 '1'"}));
    EXPECT_EQ(edit_->Text(), "1");
    // The nested write put the caret at the start.
    Type("2");
    EXPECT_EQ(edit_->Text(), "21");
}

TEST_F(EditTest, AnErrorLeavingOnChangeIsShownAndTheWriterGoesOn) {
    auto& boxes = RecordBoxes();
    edit_->OnChange = [&](TObject*) {
        if (edit_->Text() != "ok") throw rtl::EConvertError("'" + edit_->Text() + "' is not a valid integer value");
    };
    // A handler that writes the text, as a button's click writing a field.
    std::vector<std::string> steps;
    const auto writer = [&] {
        steps.push_back("before");
        edit_->SetText("x1");
        steps.push_back("after");
    };
    writer();
    EXPECT_EQ(steps, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(edit_->Text(), "x1");
    ASSERT_EQ(boxes.Count(), 1);
    EXPECT_EQ(boxes[0].Text, "'x1' is not a valid integer value.");
    EXPECT_EQ(boxes[0].Caption, testing_support::kAppTitle);
    EXPECT_EQ(boxes[0].Type, mtError);
    // Typing: the character stays, the box shows again.
    edit_->SetFocus();
    Press(VK_END);
    Type("2");
    EXPECT_EQ(edit_->Text(), "x12");
    EXPECT_EQ(boxes.Count(), 2);
}

TEST_F(EditTest, ClickPutsTheCaretAndDragSelects) {
    edit_->SetText("hello world");
    Pump();
    screen_.ClickAt(edit_->Handle(), PointBefore("hello"));
    Pump();
    EXPECT_TRUE(edit_->Focused());
    EXPECT_EQ(edit_->SelStart(), 5);
    EXPECT_EQ(edit_->SelLength(), 0);
    screen_.MoveMouseTo(edit_->Handle(), PointBefore("he"));
    screen_.PressButton();
    screen_.MoveMouseTo(edit_->Handle(), PointBefore("hello wo"));
    screen_.ReleaseButton();
    Pump();
    EXPECT_EQ(edit_->SelText(), "llo wo");
    // Shift+click extends from the anchor.
    screen_.KeyDown(VK_SHIFT);
    screen_.ClickAt(edit_->Handle(), PointBefore("hello world"));
    screen_.KeyUp(VK_SHIFT);
    Pump();
    EXPECT_EQ(edit_->SelText(), "llo world");
}

TEST_F(EditTest, DoubleClickSelectsAWord) {
    edit_->SetText("hello big world");
    Pump();
    Advance(1000);
    screen_.DoubleClickAt(edit_->Handle(), PointBefore("hello bi"));
    Pump();
    EXPECT_EQ(edit_->SelText(), "big");
}

TEST_F(EditTest, TabbingInSelectsAllAndClickingInDoesNot) {
    auto* other = new TEdit(form_);
    other->SetBounds(10, 40, 150, 21);
    other->SetParent(form_);
    other->SetTabOrder(0);
    edit_->SetText("select me");
    other->SetFocus();
    Press(VK_TAB);
    EXPECT_TRUE(edit_->Focused());
    EXPECT_EQ(edit_->SelLength(), 9);
    other->SetFocus();
    screen_.ClickAt(edit_->Handle(), PointBefore("sel"));
    Pump();
    EXPECT_EQ(edit_->SelStart(), 3);
    EXPECT_EQ(edit_->SelLength(), 0);
    edit_->SetAutoSelect(false);
    other->SetFocus();
    Press(VK_TAB);
    EXPECT_EQ(edit_->SelLength(), 0);
}

TEST_F(EditTest, ADisabledEditIsSkippedByTabAndShowsNoCaret) {
    auto* other = new TEdit(form_);
    other->SetBounds(10, 40, 150, 21);
    other->SetParent(form_);
    auto* third = new TEdit(form_);
    third->SetBounds(10, 70, 150, 21);
    third->SetParent(form_);
    other->SetEnabled(false);
    edit_->SetFocus();
    Press(VK_TAB);
    EXPECT_TRUE(third->Focused());
    EXPECT_EQ(GetCaretWindow(), third->Handle());
    EXPECT_FALSE(other->CanFocus());
}

TEST_F(EditTest, TheViewScrollsToKeepTheCaretInside) {
    const std::string text(60, 'W');
    Start(text);
    const TRect client = edit_->ClientRect();
    EXPECT_GT(TextWidth(text), client.Width());
    TPoint caret = edit_->CaretPoint();
    EXPECT_GE(caret.X, 2);
    EXPECT_LT(caret.X, client.Width() - 2);
    Press(VK_HOME);
    EXPECT_EQ(edit_->CaretPoint().X, 3);
    Press(VK_END);
    caret = edit_->CaretPoint();
    EXPECT_LT(caret.X, client.Width() - 2);
    EXPECT_GT(caret.X, client.Width() / 2);
}

TEST_F(EditTest, AutoSizeTakesTheHeightFromTheFont) {
    const int line = ResolveFont(LogFontOf(edit_->Font()))->Metrics().tmHeight;
    EXPECT_EQ(edit_->Height(), line + 8);
    edit_->Font().SetHeight(-16);
    EXPECT_EQ(edit_->Height(), ResolveFont(LogFontOf(edit_->Font()))->Metrics().tmHeight + 8);
    edit_->SetAutoSize(false);
    edit_->SetHeight(40);
    edit_->Font().SetHeight(-11);
    EXPECT_EQ(edit_->Height(), 40);
}

TEST_F(EditTest, AnInputMethodComposesAtTheCaretAndItsResultIsTyped) {
    Start("ab");
    LogEvents();
    screen_.Compose("zhong");
    Pump();
    Type("中");
    EXPECT_EQ(edit_->Text(), "ab中");
    EXPECT_EQ(log_, (std::vector<std::string>{"press 20013", "change ab中"}));
    EXPECT_EQ(screen_.TextInputRect().Left, edit_->ClientToScreen(edit_->CaretPoint()).X);
}

TEST_F(EditTest, TheCursorIsAnIBeam) {
    screen_.MoveMouseTo(edit_->Handle(), {20, 8});
    Pump();
    EXPECT_EQ(screen_.Cursor(), TCursorShape::IBeam);
}

struct MenuCase {
    const char* name;
    bool readOnly;
    int selectFromEnd;  // characters selected before the caret at the end of "abcd"
    const char* clipboard;
    std::vector<bool> enabled;  // Undo, Cut, Copy, Paste, Delete, Select All
};

class EditContextMenu : public EditTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(EditContextMenu, ItemsAreEnabledAsTheyApply) {
    const MenuCase& c = GetParam();
    ClipboardSetText(c.clipboard);
    Start("abc");
    Type("d");
    edit_->SetReadOnly(c.readOnly);
    for (int i = 0; i < c.selectFromEnd; ++i) Press(VK_LEFT, ssShift);
    std::vector<std::string> captions;
    std::vector<bool> enabled;
    WhileWaiting({[&] {
        TPopupMenu* open = OpenMenu();
        ASSERT_NE(open, nullptr);
        for (int j = 0; j < open->Items()->Count(); ++j) {
            TMenuItem* item = open->Items()->Items(j);
            captions.push_back(item->Caption());
            if (!item->IsLine()) enabled.push_back(item->Enabled());
        }
        screen_.PressKey(VK_ESCAPE);
    }});
    screen_.ClickAt(edit_->Handle(), {5, 5}, TMouseButton::Right);
    Pump();
    EXPECT_EQ(captions, (std::vector<std::string>{"Undo", "-", "Cut", "Copy", "Paste", "Delete", "-", "Select All"}));
    EXPECT_EQ(enabled, c.enabled);
}

INSTANTIATE_TEST_SUITE_P(
    Menu, EditContextMenu,
    ::testing::Values(MenuCase{"NothingSelected", false, 0, "x", {true, false, false, true, false, true}},
                      MenuCase{"PartSelected", false, 2, "x", {true, true, true, true, true, true}},
                      MenuCase{"AllSelectedEmptyClipboard", false, 4, "", {true, true, true, false, true, false}},
                      MenuCase{"ReadOnly", true, 2, "x", {false, false, true, false, false, true}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(EditTest, TheContextMenusPasteBypassesOnKeyPressAndItsDeleteDeletes) {
    ClipboardSetText("xy");
    Start("abcd");
    edit_->OnKeyPress = [](TObject*, char32_t& key) { key = 0; };
    // Picks an item of the open menu by its caption, with the mouse.
    const auto pick = [&](const std::string& caption) {
        return [this, caption] {
            TPopupMenu* menu = OpenMenu();
            ASSERT_NE(menu, nullptr);
            for (int j = 0; j < menu->Items()->Count(); ++j) {
                if (menu->Items()->Items(j)->Caption() != caption) continue;
                const TRect r = menu->ItemRect(j);
                screen_.ClickAt(menu->WindowHandle(), {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
            }
        };
    };
    WhileWaiting({pick("Paste")});
    screen_.PressKey(VK_APPS);
    Pump();
    EXPECT_EQ(edit_->Text(), "abcdxy");
    Press(VK_LEFT, ssShift);
    WhileWaiting({pick("Delete")});
    screen_.PressKey(VK_F10, ssShift);
    Pump();
    EXPECT_EQ(edit_->Text(), "abcdx");
    WhileWaiting({pick("Undo")});
    screen_.ClickAt(edit_->Handle(), {5, 5}, TMouseButton::Right);
    Pump();
    EXPECT_EQ(edit_->Text(), "abcdxy");
}

}  // namespace
}  // namespace vcl
