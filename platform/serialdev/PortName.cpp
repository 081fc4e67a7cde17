#include "platform/serialdev/PortName.h"

#include <pwd.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace vcl {

namespace fs = std::filesystem;

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string_view StripDevicePrefix(std::string_view name) {
    for (std::string_view prefix : {R"(\\.\\)", R"(\\.\)"}) {
        if (StartsWith(name, prefix)) return name.substr(prefix.size());
    }
    return name;
}

bool IsComWord(std::string_view text) {
    if (text.size() < 3) return false;
    return std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
           std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
           std::toupper(static_cast<unsigned char>(text[2])) == 'M';
}

// 1..kMaxPortNumber written without leading zeros, or nothing.
std::optional<int> ParsePortNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 3 || digits[0] == '0') return std::nullopt;
    int number = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return std::nullopt;
        number = number * 10 + (c - '0');
    }
    if (number > kMaxPortNumber) return std::nullopt;
    return number;
}

std::string HomeFolder() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') return home;
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr) return entry->pw_dir;
    return {};
}

std::string ConfigFolder() {
    // Relative values are to be ignored, as the base-directory rules say.
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') return config;
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "/.config";
}

// The numbers n of the entries named prefix + n in folder, ascending.
std::vector<int> NumberedEntries(const std::string& folder, std::string_view prefix) {
    std::vector<int> numbers;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        if (!StartsWith(name, prefix)) continue;
        const std::string_view digits = std::string_view(name).substr(prefix.size());
        if (digits.empty() || digits.size() > 6) continue;
        if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            continue;
        }
        if (digits.size() > 1 && digits[0] == '0') continue;
        numbers.push_back(std::stoi(std::string(digits)));
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

// An on-board UART node exists for every possible port; only those with a device behind them
// and a detected chip (type other than 0, "unknown") are real.
bool HasRealHardware(const PortFolders& folders, const std::string& name) {
    const fs::path entry = fs::path(folders.sysClassTty) / name;
    std::error_code error;
    if (!fs::exists(entry / "device", error)) return false;
    std::ifstream typeFile(entry / "type");
    if (!typeFile) return true;
    int type = 0;
    typeFile >> type;
    return typeFile && type != 0;
}

struct DeviceGroup {
    std::string_view prefix;
    bool onBoard;
};

constexpr DeviceGroup kDeviceGroups[] = {
    {"ttyUSB", false},
    {"ttyACM", false},
    {"ttyS", true},
    {"ttyAMA", true},
};

}  // namespace

std::optional<int> ParsePortName(std::string_view name) {
    const std::string_view bare = StripDevicePrefix(name);
    if (!IsComWord(bare)) return std::nullopt;
    return ParsePortNumber(bare.substr(3));
}

PortFolders PortFolders::FromEnvironment() {
    PortFolders folders;
    const std::string config = ConfigFolder();
    if (!config.empty()) folders.ports = config + "/velmo-modbus/ports";
    return folders;
}

std::optional<std::string> ResolvePortPath(int portNumber, const PortFolders& folders) {
    if (portNumber < 1 || portNumber > kMaxPortNumber) return std::nullopt;
    if (!folders.ports.empty()) {
        const fs::path entry = fs::path(folders.ports) / ("COM" + std::to_string(portNumber));
        std::error_code error;
        if (fs::is_symlink(entry, error) || fs::exists(entry, error)) return entry.string();
    }
    int remaining = portNumber;
    for (const DeviceGroup& group : kDeviceGroups) {
        for (int number : NumberedEntries(folders.dev, group.prefix)) {
            const std::string name = std::string(group.prefix) + std::to_string(number);
            if (group.onBoard && !HasRealHardware(folders, name)) continue;
            if (--remaining == 0) return (fs::path(folders.dev) / name).string();
        }
    }
    return std::nullopt;
}

}  // namespace vcl
