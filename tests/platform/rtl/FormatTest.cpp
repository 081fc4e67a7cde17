#include <gtest/gtest.h>

#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

namespace rtl {
namespace {

TEST(Format, FormatsLongTextsWhole) {
    const std::string longText(5000, 'x');
    EXPECT_EQ(Format("'%s' is not a valid integer value", longText.c_str()),
              "'" + longText + "' is not a valid integer value");
    EXPECT_EQ(Format("%d of %d", 3, 7), "3 of 7");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(Exception, KindsCarryTheirMessages) {
    EXPECT_STREQ(EOverflow().what(), "Floating point overflow");
    const EConvertError convert("bad");
    const Exception& base = convert;
    EXPECT_EQ(base.Message(), "bad");
}

}  // namespace
}  // namespace rtl
