#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "platform/rtl/ScopeExit.h"

namespace rtl {
namespace {

TEST(ScopeExit, RunsAtTheEndOfTheScopeAlsoWhenLeftByAnException) {
    std::string log;
    {
        const ScopeExit end([&] { log += "end;"; });
        log += "body;";
    }
    EXPECT_EQ(log, "body;end;");
    log.clear();
    EXPECT_THROW(
        {
            const ScopeExit end([&] { log += "end;"; });
            throw std::runtime_error("x");
        },
        std::runtime_error);
    EXPECT_EQ(log, "end;");
    log.clear();
    {
        ScopeExit end([&] { log += "end;"; });
        end.Release();
    }
    EXPECT_EQ(log, "");
}

TEST(ScopeExit, ScopedFlagPutsBackTheOldValue) {
    bool flag = false;
    {
        const ScopedFlag outer(flag);
        EXPECT_TRUE(flag);
        {
            const ScopedFlag inner(flag, false);
            EXPECT_FALSE(flag);
        }
        EXPECT_TRUE(flag) << "the inner scope restores the outer's value, not false";
    }
    EXPECT_FALSE(flag);
}

}  // namespace
}  // namespace rtl
