#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "platform/shell/Shell.h"

namespace vcl {
namespace {

// Puts a fake xdg-open first on PATH. It records its arguments once the test lets it go, so
// the opener is still running when OpenWebAddress returns unless the call waited for it.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/velmo-shell-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        const std::string opener = dir_ + "/xdg-open";
        std::ofstream script(opener);
        script << "#!/bin/sh\n"
               << "while [ ! -e '" << dir_ << "/go' ]; do sleep 0.01; done\n"
               << "printf '%s|%s' \"$#\" \"$1\" > '" << dir_ << "/args.tmp'\n"
               << "mv '" << dir_ << "/args.tmp' '" << dir_ << "/args'\n";
        script.close();
        chmod(opener.c_str(), 0755);
        oldPath_ = getenv("PATH") ? getenv("PATH") : "";
        setenv("PATH", (dir_ + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", oldPath_.c_str(), 1);
        std::system(("rm -rf '" + dir_ + "'").c_str());
    }

    std::string WaitForArgs() {
        const std::string path = dir_ + "/args";
        for (int i = 0; i < 1000 && access(path.c_str(), F_OK) != 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    std::string dir_, oldPath_;
};

TEST_F(ShellTest, ReturnsBeforeTheOpenerFinishesAndPassesTheAddressWhole) {
    const std::string address = "https://example.invalid/a b?x=1&y='2'$(touch pwned)";
    ASSERT_TRUE(OpenWebAddress(address));
    EXPECT_NE(access((dir_ + "/args").c_str(), F_OK), 0) << "the opener must still be waiting";
    std::ofstream(dir_ + "/go").close();
    EXPECT_EQ(WaitForArgs(), "1|" + address);
    EXPECT_NE(access("pwned", F_OK), 0) << "the address must not be run through a shell";
}

}  // namespace
}  // namespace vcl
