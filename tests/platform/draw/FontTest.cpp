#include <gtest/gtest.h>

#include "platform/draw/Font.h"
#include "platform/rtl/Exception.h"

namespace vcl {
namespace {

TEST(Font, DefaultsAreTheWindowFont) {
    TFont font;
    EXPECT_EQ(font.Name(), "MS Sans Serif");
    EXPECT_EQ(font.Height(), -11);
    EXPECT_EQ(font.Size(), 8);
    EXPECT_EQ(font.Color(), clWindowText);
    EXPECT_EQ(font.Charset(), DEFAULT_CHARSET);
}

TEST(Font, NotifiesOnlyRealChanges) {
    TFont font;
    int changes = 0;
    TObject* sender = nullptr;
    font.OnChange = [&](TObject* s) { ++changes, sender = s; };
    font.SetHeight(-11);
    font.SetName("MS Sans Serif");
    EXPECT_EQ(changes, 0);
    font.SetSize(10);
    EXPECT_EQ(font.Height(), -13);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(sender, &font);
    font.SetStyle(fsBold | fsItalic);
    font.SetColor(clRed);
    EXPECT_EQ(changes, 3);
}

TEST(Font, AssignCopiesEverythingAndNotifiesOnce) {
    TFont source, target;
    source.SetName("Arial");
    source.SetHeight(-20);
    source.SetStyle(fsUnderline);
    int changes = 0;
    target.OnChange = [&](TObject*) { ++changes; };
    target.Assign(source);
    EXPECT_TRUE(target.SameAs(source));
    EXPECT_EQ(changes, 1);
    target.Assign(source);
    EXPECT_EQ(changes, 1);
    TPersistent other;
    EXPECT_THROW(target.Assign(other), rtl::EConvertError);
}

}  // namespace
}  // namespace vcl
