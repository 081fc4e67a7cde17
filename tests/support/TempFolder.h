#pragma once
// A fresh folder under /tmp for a test's files, removed with all it holds at the end of the scope.

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>
#include <string>

namespace vcl {

class TempFolder {
public:
    explicit TempFolder(std::string prefix) : path_("/tmp/" + std::move(prefix) + "-XXXXXX") {
        if (mkdtemp(path_.data()) == nullptr) throw std::runtime_error("cannot create " + path_);
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

}  // namespace vcl
