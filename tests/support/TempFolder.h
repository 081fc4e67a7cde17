#pragma once
// A fresh folder under /tmp for a test's files, removed with all it holds at the end of the scope.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vcl {

class TempFolder {
public:
    explicit TempFolder(const std::string& prefix) {
        std::string pattern = "/tmp/" + prefix + "-XXXXXX";
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
        // Free of links, so that paths worked out from it compare equal to resolved ones.
        path_ = std::filesystem::canonical(pattern).string();
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace vcl
