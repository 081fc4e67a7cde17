#include <gtest/gtest.h>

#include "ControlsFixture.h"

namespace vcl {
namespace {

using testing_support::ProbeControl;
using Focus = testing_support::ControlsTest;

// A container that can hold the focus chain (a group box, a panel).
class Panel : public ProbeControl {
public:
    Panel(TWinControl* parent, const std::string& name, testing_support::EventLog* log, TRect bounds)
        : ProbeControl(parent, name, log, bounds) {
        SetTabStop(false);
    }
};

TEST_F(Focus, MovingTheFocusExitsAndEntersTheContainersOnTheWay) {
    TForm* form = NewForm();
    auto* left = new Panel(form, "left", &log_, {0, 0, 100, 100});
    auto* a = new ProbeControl(left, "a", &log_);
    auto* right = new Panel(form, "right", &log_, {100, 0, 200, 100});
    auto* inner = new Panel(right, "inner", &log_, {0, 0, 90, 90});
    auto* b = new ProbeControl(inner, "b", &log_);
    a->SetFocus();
    Pump();
    EXPECT_EQ(log_, (testing_support::EventLog{"left:enter", "a:enter", "left:focus changed", "a:focus changed",
                                               "right:focus changed", "inner:focus changed", "b:focus changed"}));
    log_.clear();
    b->SetFocus();
    // Innermost exits first, outermost enters first; then everyone hears of the change.
    EXPECT_EQ(log_, (testing_support::EventLog{"a:exit", "left:exit", "right:enter", "inner:enter", "b:enter",
                                               "left:focus changed", "a:focus changed", "right:focus changed",
                                               "inner:focus changed", "b:focus changed"}));
    EXPECT_EQ(form->ActiveControl(), b);
    EXPECT_TRUE(b->Focused());
    EXPECT_FALSE(a->Focused());
    EXPECT_EQ(GetFocus(), b->Handle());
}

TEST_F(Focus, AHiddenOrDisabledControlCannotTakeTheFocus) {
    TForm* form = NewForm();
    auto* a = new ProbeControl(form, "a", &log_);
    auto* b = new ProbeControl(form, "b", &log_);
    b->SetEnabled(false);
    EXPECT_FALSE(b->CanFocus());
    EXPECT_THROW(b->SetFocus(), EInvalidOperation);
    a->SetVisible(false);
    EXPECT_THROW(a->SetFocus(), EInvalidOperation);
    // Hiding the focused control takes it out of the form's active control.
    b->SetEnabled(true);
    b->SetFocus();
    EXPECT_EQ(form->ActiveControl(), b);
    b->SetVisible(false);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    EXPECT_EQ(GetFocus(), nullptr);
}

struct TabLayout {
    TForm* form;
    ProbeControl* c1;
    Panel* box;
    ProbeControl* c2;
    ProbeControl* c3;
    ProbeControl* c4;
};

TabLayout BuildTabLayout(TForm* form, testing_support::EventLog* log) {
    // c1, then the box with c2 and c3, then c4 - created out of tab order on purpose.
    auto* c4 = new ProbeControl(form, "c4", log, {0, 60, 50, 80});
    auto* box = new Panel(form, "box", log, {60, 0, 200, 100});
    auto* c3 = new ProbeControl(box, "c3", log, {0, 30, 50, 50});
    auto* c2 = new ProbeControl(box, "c2", log, {0, 0, 50, 20});
    auto* c1 = new ProbeControl(form, "c1", log, {0, 0, 50, 20});
    c1->SetTabOrder(0);
    box->SetTabOrder(1);
    c4->SetTabOrder(2);
    c2->SetTabOrder(0);
    return {form, c1, box, c2, c3, c4};
}

TEST_F(Focus, TabAndShiftTabFollowTheTabOrderSkippingDisabledAndHiddenControls) {
    TForm* form = NewForm();
    const TabLayout t = BuildTabLayout(form, nullptr);
    t.c1->SetFocus();
    Pump();
    struct Step {
        TShiftState shift;
        TWinControl* expected;
    };
    const Step forward[] = {{0, t.c2}, {0, t.c3}, {0, t.c4}, {0, t.c1}, {ssShift, t.c4}, {ssShift, t.c3}};
    for (const Step& s : forward) {
        screen_.PressKey(VK_TAB, s.shift);
        Pump();
        EXPECT_EQ(form->ActiveControl(), s.expected) << form->ActiveControl()->Name();
    }
    // Disabled and hidden ones are passed over.
    t.c4->SetEnabled(false);
    t.c2->SetVisible(false);
    t.c1->SetFocus();
    const TWinControl* expected[] = {t.c3, t.c1, t.c3};
    for (const TWinControl* e : expected) {
        screen_.PressKey(VK_TAB);
        Pump();
        EXPECT_EQ(form->ActiveControl(), e) << form->ActiveControl()->Name();
    }
    // A disabled container hides its children from the tab order too.
    t.box->SetEnabled(false);
    t.c1->SetFocus();
    screen_.PressKey(VK_TAB);
    Pump();
    EXPECT_EQ(form->ActiveControl(), t.c1);
}

TEST_F(Focus, AControlThatWantsTabKeepsIt) {
    TForm* form = NewForm();
    auto* memo = new ProbeControl(form, "memo", &log_);
    auto* other = new ProbeControl(form, "other", &log_, {0, 30, 50, 50});
    std::vector<uint16_t> keys;
    memo->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { keys.push_back(key); };
    memo->DialogCode = DLGC_WANTTAB;
    memo->SetFocus();
    screen_.PressKey(VK_TAB);
    Pump();
    EXPECT_EQ(form->ActiveControl(), memo);
    EXPECT_EQ(keys, (std::vector<uint16_t>{VK_TAB}));
    memo->DialogCode = 0;
    screen_.PressKey(VK_TAB);
    Pump();
    EXPECT_EQ(form->ActiveControl(), other);
    EXPECT_EQ(keys, (std::vector<uint16_t>{VK_TAB}));  // the tab went to the form instead
}

TEST_F(Focus, EnterAndEscapeAreOfferedToEveryControlUntilOneTakesThem) {
    TForm* form = NewForm();
    auto* edit = new ProbeControl(form, "edit", &log_);
    auto* ok = new ProbeControl(form, "ok", &log_, {0, 30, 50, 50});
    auto* cancel = new ProbeControl(form, "cancel", &log_, {60, 30, 110, 50});
    ok->AnswerDialogKeys = true;
    edit->SetFocus();
    log_.clear();
    std::vector<uint16_t> editKeys;
    edit->OnKeyDown = [&](TObject*, uint16_t& key, TShiftState) { editKeys.push_back(key); };
    screen_.PressKey(VK_RETURN);
    Pump();
    // Broadcast in child order: edit, then ok takes it; cancel never sees it; the edit gets no key.
    EXPECT_EQ(log_, (testing_support::EventLog{"edit:dialog key 13", "ok:dialog key 13"}));
    EXPECT_TRUE(editKeys.empty());
    (void)cancel;
    // A control that wants all keys keeps Enter and Escape (the typed Escape character is still
    // offered as an accelerator, which nobody takes).
    log_.clear();
    edit->DialogCode = DLGC_WANTALLKEYS;
    screen_.PressKey(VK_ESCAPE);
    Pump();
    for (const std::string& entry : log_) EXPECT_EQ(entry.find("dialog key"), std::string::npos) << entry;
    EXPECT_EQ(editKeys, (std::vector<uint16_t>{VK_ESCAPE}));
}

TEST_F(Focus, LettersAndAltLettersArePassedAsAccelerators) {
    TForm* form = NewForm();
    auto* button = new ProbeControl(form, "button", &log_);
    auto* edit = new ProbeControl(form, "edit", &log_, {0, 30, 50, 50});
    std::vector<char32_t> typed;
    edit->OnKeyPress = [&](TObject*, char32_t& key) { typed.push_back(key); };
    button->SetFocus();
    log_.clear();
    screen_.TypeText("g");  // a button does not want characters: offered as an accelerator
    Pump();
    EXPECT_EQ(log_, (testing_support::EventLog{"button:dialog char g", "edit:dialog char g"}));
    edit->SetFocus();
    edit->DialogCode = DLGC_WANTCHARS;
    log_.clear();
    screen_.TypeText("h");
    screen_.PressKey('K', ssAlt);  // Alt+letter always asks
    Pump();
    EXPECT_EQ(typed, (std::vector<char32_t>{U'h'}));
    EXPECT_EQ(log_, (testing_support::EventLog{"button:dialog char k", "edit:dialog char k"}));
}

TEST_F(Focus, KeyPreviewLetsTheFormSeeKeysFirstAndSwallowThem) {
    TForm* form = NewForm();
    auto* edit = new ProbeControl(form, "edit", &log_);
    edit->DialogCode = DLGC_WANTCHARS;
    std::string seen;
    form->SetKeyPreview(true);
    form->OnKeyPress = [&](TObject*, char32_t& key) {
        seen += "form ";
        if (key == U'x') key = 0;
    };
    edit->OnKeyPress = [&](TObject*, char32_t&) { seen += "edit "; };
    edit->SetFocus();
    screen_.TypeText("ax");
    Pump();
    EXPECT_EQ(seen, "form edit form ");
}

TEST_F(Focus, ArrowKeysMoveAmongSiblingsUnlessWanted) {
    TForm* form = NewForm();
    auto* a = new ProbeControl(form, "a", &log_);
    auto* b = new ProbeControl(form, "b", &log_, {0, 30, 50, 50});
    b->SetTabStop(false);  // arrows ignore the tab stops
    a->SetFocus();
    screen_.PressKey(VK_DOWN);
    Pump();
    EXPECT_EQ(form->ActiveControl(), b);
    b->DialogCode = DLGC_WANTARROWS;
    screen_.PressKey(VK_UP);
    Pump();
    EXPECT_EQ(form->ActiveControl(), b);
}

TEST_F(Focus, ActivatingAFormFocusesItsFirstTabStop) {
    TForm* form = new TForm(Application);
    const TabLayout t = BuildTabLayout(form, nullptr);
    form->AfterConstruction();
    form->Show();
    Pump();
    EXPECT_EQ(form->ActiveControl(), t.c1);
    EXPECT_TRUE(t.c1->Focused());
    EXPECT_TRUE(form->Active());
}

}  // namespace
}  // namespace vcl
