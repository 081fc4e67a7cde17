// The documents folder from its sources in turn, new files that never replace one, CSV fields.

#include "platform/shell/NewFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/ScopedEnv.h"
#include "tests/support/TempFolder.h"

namespace vcl {
namespace {

namespace fs = std::filesystem;

class NewFileTest : public ::testing::Test {
protected:

    std::string Read(const std::string& path) const {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    TempFolder folder_{"velmo-newfile"};
    const std::string root_ = folder_.Path();
};

TEST_F(NewFileTest, TheDocumentsFolderFromEachSourceInTurn) {
    struct Case {
        const char* name;
        const char* printed;    // what xdg-user-dir prints below root; null: not installed
        const char* userDirs;   // the XDG_DOCUMENTS_DIR line; null: no file
        bool hasHome;
        const char* expected;   // below root; null: the current folder
    };
    const Case cases[] = {
        {"xdg-user-dir", "/home/Docs", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"", true, "/home/Docs"},
        {"xdg-user-dir names no folder", "/home/Gone", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"", true, "/home/Papers"},
        {"user-dirs.dirs", nullptr, "XDG_DOCUMENTS_DIR=\"$HOME/My\\ Files\"", true, "/home/My Files"},
        {"user-dirs.dirs names no folder", nullptr, "XDG_DOCUMENTS_DIR=\"$HOME/Gone\"", true, "/home"},
        {"nothing configured", nullptr, nullptr, true, "/home"},
        {"no home", nullptr, nullptr, false, nullptr},
    };
    for (const std::string folder : {"/bin", "/home/Docs", "/home/Papers", "/home/My Files", "/config"}) {
        fs::create_directories(root_ + folder);
    }
    const std::string bin = root_ + "/bin";
    const std::string configHome = root_ + "/config";
    const std::string home = root_ + "/home";
    ScopedEnv path("PATH", bin.c_str());
    ScopedEnv config("XDG_CONFIG_HOME", configHome.c_str());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(root_ + "/bin/xdg-user-dir");
        fs::remove(root_ + "/config/user-dirs.dirs");
        if (c.printed) {
            std::ofstream(root_ + "/bin/xdg-user-dir") << "#!/bin/sh\n[ \"$1\" = DOCUMENTS ] && echo '" << root_ << c.printed << "'\n";
            chmod((root_ + "/bin/xdg-user-dir").c_str(), 0755);
        }
        if (c.userDirs) std::ofstream(root_ + "/config/user-dirs.dirs") << "# written by xdg-user-dirs-update\n" << c.userDirs << "\n";
        ScopedEnv homeVariable("HOME", c.hasHome ? home.c_str() : nullptr);
        EXPECT_EQ(DocumentsFolder(), c.expected ? root_ + c.expected : fs::current_path().string());
    }
}

TEST_F(NewFileTest, ANewNameForEachFileAndNoFileReplaced) {
    const TNewFile first = CreateNewFile(root_, "velmo-2024-05-01", "csv");
    ASSERT_EQ(first.error, "");
    EXPECT_EQ(first.path, root_ + "/velmo-2024-05-01.csv");
    ASSERT_EQ(write(first.fd, "first", 5), 5);
    close(first.fd);
    // A dangling link holds a name too, and is never followed.
    fs::create_symlink(root_ + "/elsewhere", root_ + "/velmo-2024-05-01-3.csv");

    std::vector<std::string> paths;
    for (int i = 0; i < 2; ++i) {
        const TNewFile next = CreateNewFile(root_, "velmo-2024-05-01", "csv");
        ASSERT_GE(next.fd, 0) << next.error;
        close(next.fd);
        paths.push_back(next.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{root_ + "/velmo-2024-05-01-2.csv", root_ + "/velmo-2024-05-01-4.csv"}));
    EXPECT_EQ(Read(first.path), "first");
    EXPECT_FALSE(fs::exists(root_ + "/elsewhere"));
}

TEST_F(NewFileTest, AFolderThatCannotHoldFilesSaysWhy) {
    std::ofstream(root_ + "/plain").close();
    const TNewFile file = CreateNewFile(root_ + "/plain/sub", "log", "csv");
    EXPECT_EQ(file.fd, -1);
    EXPECT_EQ(file.error, "cannot write " + root_ + "/plain/sub/log.csv: Not a directory");
}

TEST(CsvField, QuotedOnlyWhenItMustBe) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"01 03 00 01", "01 03 00 01"},
        {"Slave 1, Read holding registers", "\"Slave 1, Read holding registers\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"从站 1，读保持寄存器", "从站 1，读保持寄存器"},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

}  // namespace
}  // namespace vcl
