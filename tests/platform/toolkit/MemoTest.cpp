// The memo: its lines and CRLF text, Enter and Tab, word wrap at words (and anywhere in a run
// without spaces), and the view following the caret (and the wheel) through a long text.

#include <gtest/gtest.h>

#include "platform/draw/Canvas.h"
#include "platform/draw/FontCache.h"
#include "platform/rtl/Utf.h"
#include "platform/toolkit/Edit.h"
#include "platform/window/Input.h"
#include "tests/support/GuiTest.h"

namespace vcl {
namespace {

class MemoTest : public testing_support::GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        form_ = NewForm({100, 100, 700, 500});
        memo_ = new TMemo(form_);
        memo_->SetBounds(10, 10, 200, 73);
        memo_->SetParent(form_);
        memo_->OnChange = [this](TObject*) { ++changes_; };
        Pump();
    }
    void Press(uint16_t key, TShiftState shift = 0) {
        screen_.PressKey(key, shift);
        Pump();
    }
    int TextWidth(const std::string& text) {
        auto font = ResolveFont(LogFontOf(memo_->Font()));
        int width = 0;
        for (size_t i = 0; i < text.size();) width += font->Advance(rtl::NextCodePoint(text, i));
        return width;
    }
    // Room for text between the border and the margins.
    int TextAreaWidth() const { return memo_->Width() - 6; }

    TForm* form_ = nullptr;
    TMemo* memo_ = nullptr;
    int changes_ = 0;
};

TEST_F(MemoTest, LinesAndTextAreTheSameTextJoinedWithCrlf) {
    memo_->SetText("one\r\ntwo\r\nthree");
    ASSERT_EQ(memo_->Lines().Count(), 3);
    EXPECT_EQ(memo_->Lines()[1], "two");
    memo_->Lines().Add("four");
    EXPECT_EQ(memo_->Text(), "one\r\ntwo\r\nthree\r\nfour\r\n");
    memo_->Lines().Delete(0);
    memo_->Lines().Insert(0, "zero");
    memo_->Lines().Put(3, "4");
    EXPECT_EQ(memo_->Text(), "zero\r\ntwo\r\nthree\r\n4\r\n");
    EXPECT_EQ(memo_->Lines().IndexOf("THREE"), 2);
    EXPECT_EQ(changes_, 5);
    memo_->Lines().Clear();
    EXPECT_EQ(memo_->Text(), "");
    EXPECT_EQ(memo_->Lines().Count(), 0);
    EXPECT_THROW(memo_->Lines().Get(0), EStringListError);
}

TEST_F(MemoTest, EnterBreaksTheLineAndTabMovesTheFocus) {
    auto* next = new TEdit(form_);
    next->SetBounds(10, 100, 100, 21);
    next->SetParent(form_);
    memo_->SetFocus();
    screen_.TypeText("ab");
    Press(VK_RETURN);
    screen_.TypeText("cd");
    Pump();
    EXPECT_EQ(memo_->Text(), "ab\r\ncd");
    EXPECT_EQ(memo_->Lines().Count(), 2);
    // The line break is one step for the caret and for Backspace.
    Press(VK_HOME);
    Press(VK_LEFT);
    EXPECT_EQ(memo_->SelStart(), 2);
    Press(VK_RIGHT);
    Press(VK_BACK);
    EXPECT_EQ(memo_->Text(), "abcd");
    Press(VK_TAB);
    EXPECT_TRUE(next->Focused());
    EXPECT_EQ(memo_->Text(), "abcd");
}

TEST_F(MemoTest, UpAndDownKeepTheColumn) {
    memo_->SetText("abcdef\r\nab\r\nabcdef");
    memo_->SetFocus();
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_RIGHT);
    Press(VK_DOWN);
    EXPECT_EQ(memo_->SelStart(), 10);  // end of "ab"
    Press(VK_DOWN);
    EXPECT_EQ(memo_->SelStart(), 16);  // back in column 4
    Press(VK_UP, ssShift);
    Press(VK_UP, ssShift);
    EXPECT_EQ(memo_->SelStart(), 4);
    EXPECT_EQ(memo_->SelLength(), 12);
}

TEST_F(MemoTest, WordWrapBreaksAfterSpacesAndKeepsEveryLineInsideTheWidth) {
    memo_->SetText("the quick brown fox jumps over the lazy dog and keeps running far away");
    const int lines = memo_->DisplayLineCount();
    ASSERT_GT(lines, 1);
    std::string joined;
    for (int i = 0; i < lines; ++i) {
        const std::string line = memo_->DisplayLine(i);
        joined += line;
        std::string shown = line;
        while (!shown.empty() && shown.back() == ' ') shown.pop_back();
        EXPECT_LE(TextWidth(shown), TextAreaWidth()) << line;
        if (i + 1 < lines) {
            EXPECT_EQ(line.back(), ' ') << "line " << i << " broke inside a word: " << line;
            // The next word would not have fitted.
            const std::string next = memo_->DisplayLine(i + 1);
            EXPECT_GT(TextWidth(line + next.substr(0, next.find(' '))), TextAreaWidth());
        }
    }
    EXPECT_EQ(joined, memo_->Text());
}

TEST_F(MemoTest, ARunWithoutSpacesBreaksAnywhere) {
    const std::string run(80, '0');
    memo_->SetText("  " + run);
    ASSERT_GT(memo_->DisplayLineCount(), 2);
    std::string joined;
    for (int i = 0; i < memo_->DisplayLineCount(); ++i) {
        joined += memo_->DisplayLine(i);
        EXPECT_LE(TextWidth(memo_->DisplayLine(i)), TextAreaWidth());
    }
    EXPECT_EQ(joined, "  " + run);
}

TEST_F(MemoTest, ChineseWrapsBetweenCharactersAndLatinStaysWhole) {
    memo_->SetText("本软件适用于与MODBUS-RTU通讯格式的设备通讯。本软件适用于与MODBUS-RTU通讯格式的设备通讯。");
    ASSERT_GT(memo_->DisplayLineCount(), 1);
    for (int i = 0; i < memo_->DisplayLineCount(); ++i) {
        const std::string line = memo_->DisplayLine(i);
        EXPECT_LE(TextWidth(line), TextAreaWidth());
        if (i + 1 < memo_->DisplayLineCount()) {
            const std::string next = memo_->DisplayLine(i + 1);
            // No break between two Latin letters.
            const bool latinEnd = std::isalpha(static_cast<unsigned char>(line.back())) != 0;
            const bool latinStart = std::isalpha(static_cast<unsigned char>(next.front())) != 0;
            EXPECT_FALSE(latinEnd && latinStart) << line << " | " << next;
        }
    }
}

TEST_F(MemoTest, WithoutWordWrapEachLineStaysWhole) {
    memo_->SetWordWrap(false);
    memo_->SetText(std::string(100, 'x') + "\r\nshort");
    EXPECT_EQ(memo_->DisplayLineCount(), 2);
    memo_->SetWordWrap(true);
    EXPECT_GT(memo_->DisplayLineCount(), 2);
}

TEST_F(MemoTest, TheViewFollowsTheCaretThroughALongReply) {
    // A 10241-byte reply as the receive handler writes it.
    std::string reply;
    for (int i = 0; i < 10241; ++i) reply += "  " + std::string(1, "0123456789ABCDEF"[i % 16]) + "F";
    memo_->SetText(reply);
    memo_->SetFocus();
    Pump();
    const int lines = memo_->DisplayLineCount();
    ASSERT_GT(lines, 100);
    EXPECT_EQ(memo_->FirstVisibleLine(), 0);
    Press(VK_END, ssCtrl);
    const int lineHeight = ResolveFont(LogFontOf(memo_->Font()))->Metrics().tmHeight;
    // Inside the border and the top margin.
    const int visible = (memo_->Height() - 5) / lineHeight;
    EXPECT_EQ(memo_->FirstVisibleLine(), lines - visible);
    EXPECT_GE(memo_->CaretPoint().Y, 0);
    EXPECT_LE(memo_->CaretPoint().Y + lineHeight, memo_->Height() - 2);
    Press(VK_PRIOR);
    EXPECT_EQ(memo_->FirstVisibleLine(), lines - 2 * visible);
    Press(VK_HOME, ssCtrl);
    EXPECT_EQ(memo_->FirstVisibleLine(), 0);
    EXPECT_EQ(memo_->CaretPoint().Y, 3);
    // Walking down line by line scrolls one line at a time past the bottom.
    for (int i = 0; i < visible; ++i) Press(VK_DOWN);
    EXPECT_EQ(memo_->FirstVisibleLine(), 1);

    // The wheel moves the view three lines a notch and leaves the caret; the view stops at the top.
    const int caret = memo_->SelStart();
    screen_.MoveMouseTo(memo_->Handle(), {50, 30});
    screen_.Wheel(-2 * 120);
    Pump();
    EXPECT_EQ(memo_->FirstVisibleLine(), 7);
    EXPECT_EQ(memo_->SelStart(), caret);
    screen_.Wheel(3 * 120);
    Pump();
    EXPECT_EQ(memo_->FirstVisibleLine(), 0);
    // Typing brings the caret's line (the last of the first view) back, at the top.
    screen_.Wheel(-10 * 120);
    Pump();
    screen_.TypeText("x");
    Pump();
    EXPECT_EQ(memo_->FirstVisibleLine(), visible);
}

}  // namespace
}  // namespace vcl
