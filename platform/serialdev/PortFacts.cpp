#include "platform/serialdev/PortFacts.h"

#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vcl {

namespace fs = std::filesystem;

namespace {

// The path with its symlinks followed as far as they lead.
fs::path RealPath(const std::string& path) {
    std::error_code error;
    const fs::path real = fs::weakly_canonical(path, error);
    return error ? fs::path(path).lexically_normal() : real;
}

// The first line of a small text file; none when it cannot be read.
std::optional<std::string> FirstLine(const fs::path& path) {
    std::ifstream in(path);
    std::string line;
    if (!in || !std::getline(in, line)) return std::nullopt;
    return line;
}

std::optional<int> ParseNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data()) return std::nullopt;
    return value;
}

// The process numbers under procRoot, lowest first.
std::vector<int> ProcessIds(const fs::path& procRoot) {
    std::vector<int> pids;
    std::error_code error;
    for (fs::directory_iterator entry(procRoot, error), end; !error && entry != end; entry.increment(error)) {
        const std::string name = entry->path().filename().string();
        const std::optional<int> pid = ParseNumber(name);
        if (pid && std::to_string(*pid) == name) pids.push_back(*pid);
    }
    std::sort(pids.begin(), pids.end());
    return pids;
}

bool HasOpen(const fs::path& process, const fs::path& device) {
    std::error_code error;
    for (fs::directory_iterator entry(process / "fd", error), end; !error && entry != end; entry.increment(error)) {
        std::error_code linkError;
        const fs::path target = fs::read_symlink(entry->path(), linkError);
        if (!linkError && target == device) return true;
    }
    return false;
}

}  // namespace

std::optional<int> AdapterLatencyTimer(const std::string& device, const std::string& sysRoot) {
    const fs::path name = RealPath(device).filename();
    if (name.empty()) return std::nullopt;
    const std::optional<std::string> line = FirstLine(fs::path(sysRoot) / "class/tty" / name / "device/latency_timer");
    if (!line) return std::nullopt;
    return ParseNumber(*line);
}

std::optional<TDeviceHolder> FindDeviceHolder(const std::string& device, const std::string& procRoot) {
    const fs::path real = RealPath(device);
    const int self = static_cast<int>(::getpid());
    for (const int pid : ProcessIds(procRoot)) {
        if (pid == self) continue;
        const fs::path process = fs::path(procRoot) / std::to_string(pid);
        if (!HasOpen(process, real)) continue;
        return TDeviceHolder{pid, FirstLine(process / "comm").value_or("")};
    }
    return std::nullopt;
}

}  // namespace vcl
