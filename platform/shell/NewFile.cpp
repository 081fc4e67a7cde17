#include "platform/shell/NewFile.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>

extern char** environ;

namespace vcl {

namespace fs = std::filesystem;

namespace {

// xdg-user-dir is a small shell script; one that takes longer than this is not waited for.
constexpr auto kLookupTimeout = std::chrono::seconds(2);
// Numbered names tried after the plain one before giving up.
constexpr int kMostNumbers = 9999;

std::string Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return std::string(text.substr(first, last - first + 1));
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::optional<std::string> ExistingFolder(const std::string& path) {
    std::error_code error;
    if (path.empty() || !fs::is_directory(path, error)) return std::nullopt;
    return path;
}

// What the program prints on standard output, run without a shell; none when it could not be
// started, failed or took too long.
std::optional<std::string> OutputOf(const char* program, const char* argument) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    char* argv[] = {const_cast<char*>(program), const_cast<char*>(argument), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        return std::nullopt;
    }
    std::string text;
    bool finished = false;
    const auto deadline = std::chrono::steady_clock::now() + kLookupTimeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd ready{out[0], POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(std::max<int64_t>(left.count(), 0)));
        if (polled < 0 && errno == EINTR) continue;
        if (polled <= 0) break;
        char buffer[512];
        const ssize_t count = ::read(out[0], buffer, sizeof buffer);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) {
            finished = count == 0;
            break;
        }
        text.append(buffer, static_cast<size_t>(count));
    }
    ::close(out[0]);
    if (!finished) ::kill(pid, SIGKILL);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!finished || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return text;
}

// XDG_DOCUMENTS_DIR as user-dirs.dirs writes it: "$HOME/Documents" or an absolute path, in
// double quotes, with backslash escapes.
std::optional<std::string> DocumentsOfUserDirs(const std::string& home, const std::string& configHome) {
    const fs::path file = (configHome.empty() ? fs::path(home) / ".config" : fs::path(configHome)) / "user-dirs.dirs";
    std::ifstream in(file);
    constexpr std::string_view kKey = "XDG_DOCUMENTS_DIR=";
    std::optional<std::string> found;
    for (std::string line; std::getline(in, line);) {
        const std::string entry = Trim(line);
        if (!entry.starts_with(kKey)) continue;
        std::string_view quoted = std::string_view(entry).substr(kKey.size());
        if (quoted.size() >= 2 && quoted.front() == '"' && quoted.back() == '"') quoted = quoted.substr(1, quoted.size() - 2);
        std::string value;
        for (size_t i = 0; i < quoted.size(); ++i) {
            if (quoted[i] == '\\' && i + 1 < quoted.size()) ++i;
            value += quoted[i];
        }
        if (value == "$HOME" || value.starts_with("$HOME/")) {
            value = home + value.substr(5);
        }
        // The last assignment counts, as when the shell reads the file.
        if (value.starts_with('/')) found = value;
    }
    return found;
}

std::string NumberedName(const std::string& stem, int number, const std::string& extension) {
    std::string name = number == 1 ? stem : stem + "-" + std::to_string(number);
    if (!extension.empty()) name += "." + extension;
    return name;
}

}  // namespace

std::string DocumentsFolder() {
    return DocumentsFolder("xdg-user-dir", Environment("HOME"), Environment("XDG_CONFIG_HOME"));
}

std::string DocumentsFolder(const std::string& program, const std::string& home, const std::string& configHome) {
    if (const std::optional<std::string> printed = OutputOf(program.c_str(), "DOCUMENTS")) {
        if (const std::optional<std::string> folder = ExistingFolder(Trim(*printed))) return *folder;
    }
    if (!home.empty()) {
        if (const std::optional<std::string> configured = DocumentsOfUserDirs(home, configHome)) {
            if (const std::optional<std::string> folder = ExistingFolder(*configured)) return *folder;
        }
        return home;
    }
    std::error_code error;
    const fs::path current = fs::current_path(error);
    return error ? "." : current.string();
}

TNewFile CreateNewFile(const std::string& folder, const std::string& stem, const std::string& extension) {
    TNewFile file;
    for (int number = 1; number <= kMostNumbers + 1; ++number) {
        file.path = (fs::path(folder) / NumberedName(stem, number, extension)).string();
        do {
            file.fd = ::open(file.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        } while (file.fd < 0 && errno == EINTR);
        if (file.fd >= 0) return file;
        if (errno != EEXIST) break;
    }
    file.error = "cannot write " + file.path + ": " + std::strerror(errno);
    return file;
}

std::string CsvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

}  // namespace vcl
