// The documents folder from its sources in turn, new files that never replace one, CSV fields.

#include "platform/shell/NewFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/TempFolder.h"

namespace vcl {
namespace {

namespace fs = std::filesystem;

TEST(DocumentsFolder, FromEachSourceInTurn) {
    struct Case {
        const char* printed;   // what xdg-user-dir prints, below the root; null: not installed
        const char* userDirs;  // XDG_DOCUMENTS_DIR in user-dirs.dirs; null: no file
        const char* home;      // below the root; null: none
        const char* folder;    // below the root; null: the current folder
    };
    const Case cases[] = {
        {"/home/Docs", "\"$HOME/Papers\"", "/home", "/home/Docs"},
        {"/home/Gone", "\"$HOME/My\\ Files\"", "/home", "/home/My Files"},
        {nullptr, "\"$HOME/Gone\"", "/home", "/home"},
        {nullptr, nullptr, nullptr, nullptr},
    };
    const TempFolder folder("velmo-documents");
    const std::string root = folder.Path(), program = root + "/xdg-user-dir", config = root + "/config";
    for (const char* made : {"/home/Docs", "/home/My Files", "/config"}) fs::create_directories(root + made);
    for (const Case& c : cases) {
        fs::remove(program);
        fs::remove(config + "/user-dirs.dirs");
        if (c.printed) {
            std::ofstream(program) << "#!/bin/sh\n[ \"$1\" = DOCUMENTS ] && echo '" << root << c.printed << "'\n";
            chmod(program.c_str(), 0755);
        }
        if (c.userDirs) std::ofstream(config + "/user-dirs.dirs") << "# comment\nXDG_DOCUMENTS_DIR=" << c.userDirs << "\n";
        EXPECT_EQ(DocumentsFolder(program, c.home ? root + c.home : "", config),
                  c.folder ? root + c.folder : fs::current_path().string());
    }
}

TEST(CreateNewFile, ANewNameForEachFileAndNoFileReplaced) {
    const TempFolder folder("velmo-newfile");
    const std::string stem = folder.Path() + "/log";
    const TNewFile first = CreateNewFile(folder.Path(), "log", "csv");
    ASSERT_GE(first.fd, 0) << first.error;
    ASSERT_EQ(write(first.fd, "first", 5), 5);
    close(first.fd);
    fs::create_symlink(folder.Path() + "/elsewhere", stem + "-3.csv");  // a dangling link holds its name too
    std::vector<std::string> paths{first.path};
    for (int i = 0; i < 2; ++i) {
        const TNewFile next = CreateNewFile(folder.Path(), "log", "csv");
        ASSERT_GE(next.fd, 0) << next.error;
        close(next.fd);
        paths.push_back(next.path);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{stem + ".csv", stem + "-2.csv", stem + "-4.csv"}));
    std::ifstream in(first.path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "first");
    EXPECT_FALSE(fs::exists(folder.Path() + "/elsewhere"));

    std::ofstream(folder.Path() + "/plain").close();
    const TNewFile refused = CreateNewFile(folder.Path() + "/plain/sub", "log", "csv");
    EXPECT_EQ(refused.fd, -1);
    EXPECT_EQ(refused.error, "cannot write " + folder.Path() + "/plain/sub/log.csv: Not a directory");
}

TEST(CsvField, QuotedOnlyWhenItMustBe) {
    const std::pair<const char*, const char*> cases[] = {
        {"", ""},
        {"01 03 00 01", "01 03 00 01"},
        {"Slave 1, Read coils", "\"Slave 1, Read coils\""},
        {"say \"hi\"", "\"say \"\"hi\"\"\""},
        {"two\r\nlines", "\"two\r\nlines\""},
        {"从站 1，读线圈", "从站 1，读线圈"},
    };
    for (const auto& [text, field] : cases) EXPECT_EQ(CsvField(text), field) << text;
}

}  // namespace
}  // namespace vcl
