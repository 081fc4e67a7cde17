// Draws a sheet of every frame control, bevels and texts in both scripts into the build tree, to
// be looked at: build/tests/controls/surface/test_sheet.png.

#include <gtest/gtest.h>

#include <cstring>

#include "controls/surface/Bitmap.h"
#include "controls/surface/Primitives.h"
#include "platform/draw/Png.h"

#ifndef VELMO_SHEET_DIRECTORY
#define VELMO_SHEET_DIRECTORY "."
#endif

namespace se {
namespace {

using namespace vcl;

class Sheet {
public:
    Sheet(int width, int height) {
        surface.SetSize(width, height);
        canvas.SetHandle(surface.DC());
        FillRectColor(canvas, TRect{0, 0, width, height}, clBtnFace);
    }
    ~Sheet() { canvas.SetHandle(nullptr); }

    void Frame(int x, int y, int w, int h, unsigned type, unsigned state) {
        TRect r = Bounds(x, y, w, h);
        DrawFrameControl(canvas.Handle(), &r, type, state);
    }
    void Text(int x, int y, std::u16string_view text, TColor color = clWindowText, unsigned flags = 0, int w = 300,
              int h = 13) {
        canvas.Font().SetColor(color);
        TRect r = Bounds(x, y, w, h);
        DrawWideText(canvas, text, r, flags);
    }
    // The classic push button face: black frame when focused, raised edges, focus rectangle.
    void Button(int x, int y, int w, int h, std::u16string_view caption, bool pressed, bool focused, bool enabled) {
        TRect r = Bounds(x, y, w, h);
        if (focused) {
            Draw3DFrame(canvas, r, clBlack, clBlack);
            r = r.Inflate(-1, -1);
        }
        FillRectColor(canvas, r, clBtnFace);
        if (pressed) {
            Draw3DFrame(canvas, r, clBtnShadow, clBtnShadow);
        } else {
            Draw3DFrame(canvas, r, clBtnHighlight, clBlack);
            r = r.Inflate(-1, -1);
            Draw3DFrame(canvas, r, clBtnFace, clBtnShadow);
        }
        TRect t = Bounds(x, y, w, h);
        if (pressed) t = t.Offset(1, 1);
        const unsigned flags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
        if (!enabled) {
            Text(t.Left + 1, t.Top + 1, caption, clBtnHighlight, flags, w, h);
            Text(t.Left, t.Top, caption, clBtnShadow, flags, w, h);
        } else {
            Text(t.Left, t.Top, caption, clBtnText, flags, w, h);
        }
        if (focused) DrawFocusRectColor(canvas, Bounds(x, y, w, h).Inflate(-4, -4), clBtnShadow);
    }
    // The combo box ring: lowered outer and inner bevels, three frames in the field colour.
    void Combo(int x, int y, int w, std::u16string_view text) {
        TRect r = Bounds(x, y, w, 23);
        DrawBevelLines(canvas, r, kAllBevelSides, 1, clBtnShadow, clBtnHighlight);
        DrawBevelLines(canvas, r, kAllBevelSides, 1, cl3DDkShadow, clBtnFace);
        for (int i = 0; i < 3; ++i) {
            FrameRectColor(canvas, r, clWindow);
            r = r.Inflate(-1, -1);
        }
        FillRectColor(canvas, r, clWindow);
        Text(x + 5, y + 5, text, clWindowText, DT_LEFT | DT_NOPREFIX, w - 25);
        Frame(x + w - 18, y + 3, 15, 17, DFC_SCROLL, DFCS_SCROLLCOMBOBOX);
    }
    // The etched group frame, open under the caption.
    void Group(int x, int y, int w, int h, std::u16string_view caption) {
        canvas.Font().SetColor(clWindowText);
        const int textWidth = WideTextWidth(canvas, caption);
        const int textHeight = WideTextHeight(canvas, caption);
        const int top = y + textHeight / 2;
        const int gapLeft = x + 12 - 3, gapRight = x + 12 + textWidth + 3;
        for (int pass = 0; pass < 2; ++pass) {
            const TColor color = pass == 0 ? clBtnHighlight : clBtnShadow;
            const int o = pass == 0 ? 0 : -1;
            canvas.MoveTo(x + 1 + o, top + 1 + o);
            LineToColor(canvas, gapLeft + o, top + 1 + o, color);
            canvas.MoveTo(gapRight + o, top + 1 + o);
            LineToColor(canvas, x + w - 1 + o, top + 1 + o, color);
            LineToColor(canvas, x + w - 1 + o, y + h - 1 + o, color);
            LineToColor(canvas, x + 1 + o, y + h - 1 + o, color);
            LineToColor(canvas, x + 1 + o, top + 1 + o, color);
        }
        Text(gapLeft, y, caption, clWindowText, DT_CENTER | DT_VCENTER | DT_SINGLELINE, textWidth + 6, textHeight);
    }

    TseBitmap surface;
    TCanvas canvas;
};

TEST(TestSheet, DrawsEveryFrameControlBevelsAndBothScripts) {
    Sheet sheet(640, 420);
    sheet.Text(8, 6, u"Modbus RTU 通讯调试程式 — classic controls, 11 px Liberation Sans with the CJK fallback",
               clWindowText, 0, 620);

    // Frame controls, with their names.
    struct Mark {
        unsigned type, state;
        int w, h;
        const char16_t* label;
    };
    const Mark marks[] = {
        {DFC_BUTTON, DFCS_BUTTONCHECK, 13, 13, u"check"},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED, 13, 13, u"checked"},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE, 13, 13, u"grayed"},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE, 13, 13, u"inactive"},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_PUSHED, 13, 13, u"pushed"},
        {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_FLAT, 13, 13, u"flat"},
        {DFC_BUTTON, DFCS_BUTTONRADIO, 13, 13, u"radio"},
        {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED, 13, 13, u"checked"},
        {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE, 13, 13, u"inactive"},
        {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_PUSHED, 13, 13, u"pushed"},
    };
    int x = 8;
    for (const Mark& m : marks) {
        sheet.Frame(x, 28, m.w, m.h, m.type, m.state);
        sheet.Text(x, 44, m.label, clWindowText, 0, 60);
        x += 62;
    }
    const Mark scrolls[] = {
        {DFC_SCROLL, DFCS_SCROLLUP, 16, 16, u"up"},
        {DFC_SCROLL, DFCS_SCROLLDOWN, 16, 16, u"down"},
        {DFC_SCROLL, DFCS_SCROLLLEFT, 16, 16, u"left"},
        {DFC_SCROLL, DFCS_SCROLLRIGHT, 16, 16, u"right"},
        {DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED | DFCS_FLAT, 16, 16, u"pushed"},
        {DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE, 16, 16, u"inactive"},
        {DFC_SCROLL, DFCS_SCROLLCOMBOBOX, 15, 17, u"combo"},
        {DFC_SCROLL, DFCS_SCROLLSIZEGRIP, 16, 16, u"grip"},
        {DFC_MENU, DFCS_MENUCHECK, 13, 13, u"menu ✓"},
        {DFC_MENU, DFCS_MENUARROW, 13, 13, u"submenu"},
    };
    x = 8;
    for (const Mark& m : scrolls) {
        sheet.Frame(x, 64, m.w, m.h, m.type, m.state);
        sheet.Text(x, 84, m.label, clWindowText, 0, 60);
        x += 62;
    }

    // Push buttons as the control set paints them.
    sheet.Button(8, 106, 65, 25, u"打开串口", false, false, true);
    sheet.Button(80, 106, 65, 25, u"发送", false, true, true);
    sheet.Button(152, 106, 65, 25, u"生成", true, false, true);
    sheet.Button(224, 106, 65, 25, u"发送", false, false, false);
    sheet.Button(296, 106, 75, 25, u"&Open Port", false, false, true);
    TRect push = Bounds(380, 106, 70, 25);
    DrawFrameControl(sheet.canvas.Handle(), &push, DFC_BUTTON, DFCS_BUTTONPUSH);
    sheet.Text(380, 106, u"Push", clBtnText, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 70, 25);
    push = Bounds(456, 106, 70, 25);
    DrawFrameControl(sheet.canvas.Handle(), &push, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
    sheet.Text(457, 107, u"Pushed", clBtnText, DT_CENTER | DT_VCENTER | DT_SINGLELINE, 70, 25);

    // The port panel: a group frame, labels and combo boxes.
    sheet.Group(8, 142, 360, 97, u"通讯端口设置");
    sheet.Text(24, 172, u"串     口：");
    sheet.Text(24, 204, u"波特率：");
    sheet.Combo(80, 166, 97, u"COM1");
    sheet.Combo(80, 198, 97, u"115.2Kbps    ");
    sheet.Text(196, 172, u"数据位长：");
    sheet.Combo(256, 166, 100, u"8 bit");
    sheet.Group(380, 142, 105, 97, u" Language ");
    sheet.Frame(392, 168, 13, 13, DFC_BUTTON, DFCS_BUTTONRADIO);
    sheet.Text(410, 168, u"English");
    sheet.Frame(392, 200, 13, 13, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    sheet.Text(410, 200, u"Chinese");
    DrawFocusRectColor(sheet.canvas, TRect{408, 198, 452, 215}, clBtnShadow);

    // Bevels: raised and lowered, the status bar, edges.
    TRect raised = Bounds(500, 146, 60, 40);
    DrawBevelLines(sheet.canvas, raised, kAllBevelSides, 1, clBtnHighlight, cl3DDkShadow);
    DrawBevelLines(sheet.canvas, raised, kAllBevelSides, 1, clBtnShadow, clBtnShadow);
    TRect lowered = Bounds(568, 146, 60, 40);
    DrawBevelLines(sheet.canvas, lowered, kAllBevelSides, 2, clBtnShadow, clBtnHighlight);
    TRect sunken = Bounds(500, 194, 60, 40);
    DrawEdge(sheet.canvas.Handle(), &sunken, EDGE_SUNKEN, BF_RECT);
    TRect etched = Bounds(568, 194, 60, 40);
    DrawEdge(sheet.canvas.Handle(), &etched, EDGE_ETCHED, BF_RECT);

    // A scroll bar: buttons, dithered track, a raised thumb and a flat dragged one.
    sheet.Frame(8, 252, 16, 16, DFC_SCROLL, DFCS_SCROLLLEFT);
    FillDitherPattern(sheet.canvas, TRect{24, 252, 224, 268}, clScrollBar, clBtnHighlight);
    TRect thumb{60, 252, 100, 268};
    FillRectColor(sheet.canvas, thumb, clBtnFace);
    Draw3DFrame(sheet.canvas, thumb.Inflate(-1, -1), clBtnHighlight, clBtnShadow);
    Draw3DFrame(sheet.canvas, thumb, cl3DLight, cl3DDkShadow);
    TRect dragged{140, 252, 180, 268};
    FillRectColor(sheet.canvas, dragged, clBtnFace);
    FrameRectColor(sheet.canvas, dragged, clBtnShadow);
    sheet.Frame(224, 252, 16, 16, DFC_SCROLL, DFCS_SCROLLRIGHT);

    // The status bar: raised border, sunken panels, the grip.
    FillRectColor(sheet.canvas, TRect{250, 248, 632, 270}, clBtnFace);
    Draw3DFrame(sheet.canvas, TRect{252, 250, 400, 268}, clBtnShadow, clBtnHighlight);
    sheet.Text(256, 253, u"共接收到 9 字节", clWindowText, 0, 140);
    Draw3DFrame(sheet.canvas, TRect{402, 250, 550, 268}, clBtnShadow, clBtnHighlight);
    sheet.Frame(614, 252, 16, 16, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);

    // Texts: wrapping, ellipsis, alignment, a disabled label, accelerators.
    const std::u16string paragraph = u"本软件适用于与MODBUS-RTU通讯格式的设备通讯。 Word-wrapped text keeps inside its box.";
    FrameRectColor(sheet.canvas, TRect{8, 280, 212, 336}, clBtnShadow);
    sheet.Text(10, 282, paragraph, clWindowText, DT_WORDBREAK, 200, 52);
    FrameRectColor(sheet.canvas, TRect{220, 280, 360, 296}, clBtnShadow);
    sheet.Text(222, 282, u"待写数据 ( Hex )：a long caption cut with an ellipsis", clWindowText,
               DT_END_ELLIPSIS | DT_SINGLELINE, 136);
    sheet.Text(220, 300, u"right aligned 右对齐", clWindowText, DT_RIGHT, 140);
    sheet.Text(220, 318, u"disabled 禁用", clBtnHighlight, 0, 140);
    sheet.Text(219, 317, u"disabled 禁用", clBtnShadow, 0, 140);
    sheet.Text(370, 282, u"&File  E&xit  A&&B  &中文", clWindowText, 0, 250);
    sheet.canvas.Font().SetStyle(fsBold);
    sheet.Text(370, 300, u"Bold 粗体 返回数据 ( Hex )", clWindowText, 0, 250);
    sheet.canvas.Font().SetStyle(0);
    sheet.canvas.Font().SetHeight(-16);
    sheet.Text(370, 318, u"Larger 较大 16 px", clNavy, 0, 250, 20);
    sheet.canvas.Font().SetHeight(-11);

    // Selection and highlight, as the edit and list draw them.
    FillRectColor(sheet.canvas, TRect{8, 346, 212, 361}, clWindow);
    FillRectColor(sheet.canvas, TRect{8, 361, 212, 376}, clHighlight);
    sheet.Text(10, 347, u"COM1", clWindowText, DT_VCENTER | DT_SINGLELINE, 200, 15);
    sheet.Text(10, 362, u"COM2 选中", clHighlightText, DT_VCENTER | DT_SINGLELINE, 200, 15);

    // A translucent surface blended over the sheet.
    TseBitmap glass;
    glass.SetSize(120, 40);
    for (int y = 0; y < 40; ++y)
        for (int gx = 0; gx < 120; ++gx) glass.WritePixel(gx, y, MakePixel(10, 36, 106, gx * 255 / 119));
    glass.SetHasAlpha(true);
    glass.Draw(sheet.surface, 230, 346);
    sheet.Text(236, 360, u"alpha 0 → 255", clWhite, 0, 110);

    PixelSection pixels(sheet.surface.Width(), sheet.surface.Height());
    for (int y = 0; y < pixels.Height(); ++y) {
        std::memcpy(pixels.Row(y), sheet.surface.ScanLine(y), static_cast<size_t>(pixels.Width()) * 4);
        for (int px = 0; px < pixels.Width(); ++px) pixels.Row(y)[px] |= 0xFF000000u;
    }
    const std::string path = std::string(VELMO_SHEET_DIRECTORY) + "/test_sheet.png";
    ASSERT_TRUE(SavePng(pixels, path)) << path;
    PixelSection reloaded;
    ASSERT_TRUE(LoadPng(path, reloaded));
    EXPECT_EQ(reloaded.Width(), 640);
    EXPECT_EQ(reloaded.At(100, 100), pixels.At(100, 100));
}

}  // namespace
}  // namespace se
