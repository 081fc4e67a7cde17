// What a message box shows: its icon, the message broken into lines, the buttons, where the
// layout puts them, and the box placed over its owner.

#include <gtest/gtest.h>

#include <functional>

#include "ControlsFixture.h"
#include "platform/draw/Gdi.h"
#include "platform/draw/Png.h"
#include "platform/rtl/Exception.h"

namespace vcl {
namespace {

using Boxes = testing_support::ControlsTest;

uint32_t Pixel(TColor c) { return RgbToPixel(ColorToRGB(c)); }

// A box as it was on screen.
struct Shown {
    PixelSection shot;
    TRect form;  // screen coordinates
    TRect icon, text, ok;
    std::vector<TRect> buttons;
};

TRect BoundsOf(TCustomForm& form, const char* name) {
    auto* control = dynamic_cast<TControl*>(form.FindComponent(name));
    return control ? control->BoundsRect() : TRect{};
}

// Runs show() with an observer that paints the box, records it and answers with the default.
Shown Capture(const std::function<void()>& show, const char* screenshotName) {
    Shown shown;
    const TMessageBoxObserver previous = SetMessageBoxObserver([&](TMessageBoxView& box) {
        Application->ProcessMessages();
        TCustomForm& form = box.Form();
        shown.form = GetWindowRect(form.Handle());
        shown.icon = BoundsOf(form, "Image");
        shown.text = BoundsOf(form, "Message");
        shown.ok = BoundsOf(form, "OK");
        for (const char* name : {"Yes", "No", "OK", "Cancel"}) {
            if (form.FindComponent(name)) shown.buttons.push_back(BoundsOf(form, name));
        }
        THeadlessBackend* screen = static_cast<THeadlessBackend*>(WindowSystem().Backend());
        shown.shot = screen->Screenshot(form.Handle());
        SavePng(shown.shot, testing_support::ScreenshotDirectory() + "/" + screenshotName);
        box.Answer(box.DefaultButton());
    });
    show();
    SetMessageBoxObserver(previous);
    return shown;
}

struct TextMeasure {
    TSize extent;
    int lineHeight;
};

// The one-line extent of a text in the default font, measured on its own DC.
TextMeasure Measure(const std::string& text) {
    HDC dc = GetDC(nullptr);
    TCanvas canvas;
    canvas.SetHandle(dc);
    TextMeasure m{canvas.TextExtent(text), 0};
    TEXTMETRIC metrics;
    GetTextMetrics(canvas.Handle(), &metrics);
    m.lineHeight = metrics.tmHeight;
    canvas.SetHandle(nullptr);
    ReleaseDC(nullptr, dc);
    return m;
}

int CountNot(const PixelSection& shot, const TRect& area, uint32_t background) {
    int n = 0;
    for (int y = area.Top; y < area.Bottom; ++y) {
        for (int x = area.Left; x < area.Right; ++x) n += shot.At(x, y) != background;
    }
    return n;
}

TEST_F(Boxes, TheErrorBoxShowsIconTextAndAnOkButtonWhereItsLayoutPutsThem) {
    TForm* main = NewForm({100, 80, 672, 681});
    Application->SetMainForm(main);
    const std::string message = "通讯出现异常！请检查连接是否正确或重新启动程序和仪器。";
    const Shown box = Capture([&] { Application->ShowException(rtl::Exception(message)); }, "error_box.png");
    const PixelSection& s = box.shot;
    ASSERT_EQ(s.Width(), box.form.Width());
    // Centred over the main form.
    EXPECT_LE(std::abs((box.form.Left - 100) - (672 - box.form.Right)), 1);
    EXPECT_LE(std::abs((box.form.Top - 80) - (681 - box.form.Bottom)), 1);
    // One line: the message (with the full stop the error box adds) as wide as its extent.
    const TextMeasure text = Measure(message + ".");
    EXPECT_EQ(box.text.Width(), text.extent.cx);
    EXPECT_EQ(box.text.Height(), text.lineHeight);
    // Icon at the left, text beside it and centred on it, the button below both, centred.
    EXPECT_EQ(box.icon.Width(), 32);
    EXPECT_GT(box.text.Left, box.icon.Right);
    EXPECT_EQ(box.text.Top - box.icon.Top + (32 - text.lineHeight) % 2, box.icon.Bottom - box.text.Bottom);
    EXPECT_GT(box.ok.Top, box.icon.Bottom);
    EXPECT_LE(std::abs(box.ok.Left - (s.Width() - box.ok.Right)), 1);
    EXPECT_EQ(box.icon.Left, s.Width() - box.text.Right);  // the same margin on both sides
    EXPECT_EQ(box.icon.Top, s.Height() - box.ok.Bottom);
    // The icon: a red disc with a white cross at its centre.
    EXPECT_EQ(s.At(box.icon.Left + 4, box.icon.Top + 15), Pixel(clRed));
    EXPECT_EQ(s.At(box.icon.Left + 15, box.icon.Top + 4), Pixel(clRed));
    EXPECT_EQ(s.At(box.icon.Left + 14, box.icon.Top + 14), Pixel(clWhite));
    EXPECT_EQ(s.At(box.icon.Left + 10, box.icon.Top + 10), Pixel(clWhite));
    // The text's ink lies in its place and nowhere between it and the button.
    EXPECT_GT(CountNot(s, box.text, Pixel(clBtnFace)), 150);
    EXPECT_EQ(CountNot(s, {box.icon.Right, box.text.Bottom, s.Width(), box.ok.Top}, Pixel(clBtnFace)), 0);
    EXPECT_EQ(CountNot(s, {box.text.Right, 0, s.Width(), box.ok.Top}, Pixel(clBtnFace)), 0);
    // The button: black outline (it is the one Enter presses), raised face, caption in the middle.
    const TRect& ok = box.ok;
    EXPECT_EQ(s.At(ok.Left, ok.Top), Pixel(clBlack));
    EXPECT_EQ(s.At(ok.Right - 1, ok.Bottom - 1), Pixel(clBlack));
    EXPECT_EQ(s.At(ok.Left + 1, ok.Top + 1), Pixel(clBtnHighlight));
    EXPECT_EQ(s.At(ok.Right - 2, ok.Bottom - 2), Pixel(cl3DDkShadow));
    EXPECT_EQ(s.At(ok.Left + 5, ok.Top + ok.Height() / 2), Pixel(clBtnFace));
    const TextMeasure caption = Measure("OK");
    const int captionLeft = ok.Left + (ok.Width() - caption.extent.cx) / 2;
    const int captionTop = ok.Top + (ok.Height() - caption.lineHeight) / 2;
    EXPECT_GT(CountNot(s, Bounds(captionLeft, captionTop, caption.extent.cx, caption.lineHeight), Pixel(clBtnFace)), 20);
    // It has the focus: the dotted rectangle four pixels in (every other pixel inverted).
    EXPECT_NE(s.At(ok.Left + 4, ok.Top + 4), Pixel(clBtnFace));
    EXPECT_EQ(s.At(ok.Left + 5, ok.Top + 4), Pixel(clBtnFace));
}

TEST_F(Boxes, LongMessagesBreakIntoLinesWithinHalfTheScreen) {
    std::string message;
    for (int i = 0; i < 12; ++i) message += "The slave did not answer the request in time. ";
    message += "Check the cable.";
    const Shown box = Capture([&] { MessageDlg(message, mtWarning, {mbOK}); }, "warning_box.png");
    const TextMeasure line = Measure(message);
    ASSERT_GT(line.extent.cx, 1024 / 2);
    EXPECT_LE(box.text.Width(), 1024 / 2);
    EXPECT_GT(box.text.Width(), 1024 / 2 - Measure("answer ").extent.cx);
    // Whole lines, at least as many as the one-line width needs.
    EXPECT_EQ(box.text.Height() % line.lineHeight, 0);
    EXPECT_GE(box.text.Height() / line.lineHeight, (line.extent.cx + 511) / 512);
    // No window shown yet: centred on the screen.
    EXPECT_LE(std::abs(box.form.Left - (1024 - box.form.Right)), 1);
    EXPECT_LE(std::abs(box.form.Top - (768 - box.form.Bottom)), 1);
}

TEST_F(Boxes, SeveralButtonsShareOneWidthInTheirOrderAndOnlyTheDefaultIsOutlined) {
    NewForm({0, 0, 800, 600});
    const Shown box = Capture([&] { MessageDlg("Save changes?", mtConfirmation, {mbCancel, mbNo, mbYes}); },
                              "confirm_box.png");
    ASSERT_EQ(box.buttons.size(), 3u);
    const TRect &yes = box.buttons[0], &no = box.buttons[1], &cancel = box.buttons[2];
    EXPECT_EQ(yes.Width(), no.Width());
    EXPECT_EQ(no.Width(), cancel.Width());
    EXPECT_EQ(yes.Top, cancel.Top);
    EXPECT_EQ(no.Left - yes.Right, cancel.Left - no.Right);
    EXPECT_GT(no.Left, yes.Right);
    EXPECT_LE(std::abs(yes.Left - (box.shot.Width() - cancel.Right)), 1);
    // Yes is the default and holds the focus; the others show the plain raised edge.
    EXPECT_EQ(box.shot.At(yes.Left, yes.Top), Pixel(clBlack));
    EXPECT_EQ(box.shot.At(no.Left, no.Top), Pixel(clBtnHighlight));
    EXPECT_EQ(box.shot.At(cancel.Left, cancel.Top), Pixel(clBtnHighlight));
}

}  // namespace
}  // namespace vcl
