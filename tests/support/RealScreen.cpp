#include "tests/support/RealScreen.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string_view>
#include <thread>
#include <utility>

#include "platform/toolkit/Application.h"

extern char** environ;

namespace vcl::testing_support {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// The caller's environment with the given "NAME=value" entries put in.
std::vector<std::string> EnvironmentWith(const std::vector<std::string>& entries) {
    std::vector<std::string> result;
    for (char** e = environ; *e != nullptr; ++e) result.emplace_back(*e);
    for (const std::string& entry : entries) {
        const std::string_view name = std::string_view(entry).substr(0, entry.find('=') + 1);
        std::erase_if(result, [&](const std::string& e) { return std::string_view(e).starts_with(name); });
        result.push_back(entry);
    }
    return result;
}

// Output discarded (standard output to outputWrite, standard error to errorFile when given); with
// reportWrite >= 0 that descriptor becomes the child's reportFd.
pid_t Spawn(const std::vector<std::string>& args, const std::vector<std::string>& environment = {},
            int reportWrite = -1, int reportFd = -1, const std::string& errorFile = "", int outputWrite = -1) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::vector<std::string> env = EnvironmentWith(environment);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (outputWrite >= 0) {
        posix_spawn_file_actions_adddup2(&actions, outputWrite, 1);
    } else {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    }
    if (!errorFile.empty()) {
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    } else {
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    if (reportWrite >= 0) posix_spawn_file_actions_adddup2(&actions, reportWrite, reportFd);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

bool WaitForSocket(pid_t pid, const std::string& socket) {
    // Readiness polling, not a measurement: the server needs a moment to listen.
    for (int i = 0; i < 200; ++i) {
        if (Exists(socket)) return true;
        if (waitpid(pid, nullptr, WNOHANG) == pid) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    return false;
}

}  // namespace

PrivateXServer::PrivateXServer(int width, int height) {
    const std::string screen = std::to_string(width).append("x").append(std::to_string(height)).append("x24");
    for (int display = 57; display < 120 && pid_ < 0; ++display) {
        // Appended rather than "literal" + std::to_string: g++ 12 at -O3 warns falsely (-Wrestrict) on that.
        const std::string number = std::to_string(display);
        const std::string socket = std::string("/tmp/.X11-unix/X").append(number);
        if (Exists(socket) || Exists(std::string("/tmp/.X").append(number).append("-lock"))) continue;
        const std::string name = std::string(":").append(number);
        const pid_t pid = Spawn({"Xvfb", name, "-screen", "0", screen, "-nolisten", "tcp", "-noreset"});
        if (pid < 0) {
            reason_ = "Xvfb cannot be run";
            return;
        }
        if (WaitForSocket(pid, socket)) {
            pid_ = pid;
            display_ = name;
            return;
        }
        kill(pid, SIGTERM);
        waitpid(pid, nullptr, 0);
        reason_ = "Xvfb did not come up on " + name;
    }
}

PrivateXServer::~PrivateXServer() {
    if (pid_ < 0) return;
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
}

int RunProgram(const std::vector<std::string>& args) {
    const pid_t pid = Spawn(args);
    if (pid < 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ProgramOutput(const std::vector<std::string>& args, const std::vector<std::string>& environment) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) return {};
    const pid_t pid = Spawn(args, environment, -1, -1, "", pipeEnds[1]);
    close(pipeEnds[1]);
    std::string output;
    char chunk[512];
    for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) output.append(chunk, static_cast<size_t>(got));
    close(pipeEnds[0]);
    if (pid > 0) waitpid(pid, nullptr, 0);
    return output;
}

ScreenWindow FindWindow(const std::string& display, const std::string& name) {
    const std::vector<std::string> on{"DISPLAY=" + display};
    const std::string ids = ProgramOutput({"xdotool", "search", "--onlyvisible", "--name", name}, on);
    ScreenWindow window;
    window.Id = std::strtoul(ids.c_str(), nullptr, 10);
    if (window.Id == 0) return window;
    if (!WindowGeometry(display, window.Id, window)) window.Id = 0;
    return window;
}

bool Xdotool(std::vector<std::string> args) {
    args.insert(args.begin(), "xdotool");
    return RunProgram(args) == 0;
}

bool ClickAt(const ScreenWindow& window, int x, int y) {
    return Xdotool({"mousemove", std::to_string(window.Left + x), std::to_string(window.Top + y), "click", "1"});
}

ScreenWindow WaitForWindow(const std::string& display, const std::string& name, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        const ScreenWindow window = FindWindow(display, name);
        if (window.Id != 0 || std::chrono::steady_clock::now() >= end) return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

bool WaitForNoWindow(const std::string& display, const std::string& name, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (FindWindow(display, name).Id == 0) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

namespace {

uint32_t Big32(const std::vector<uint8_t>& d, size_t at) {
    return (uint32_t{d[at]} << 24) | (uint32_t{d[at + 1]} << 16) | (uint32_t{d[at + 2]} << 8) | d[at + 3];
}

// A colour channel's 8 bits out of a pixel value, by its mask.
uint32_t Channel(uint32_t value, uint32_t mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & 1)) {
        mask >>= 1;
        ++shift;
    }
    return ((value >> shift) & mask) * 255 / mask;
}

}  // namespace

bool CaptureScreen(const std::string& display, PixelSection& shot) {
    const std::string path = "/tmp/velmo_screen_" + std::to_string(getpid()) + ".xwd";
    if (RunProgram({"xwd", "-root", "-silent", "-display", display, "-out", path}) != 0) return false;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    if (d.size() < 100) return false;
    const uint32_t header = Big32(d, 0), width = Big32(d, 16), height = Big32(d, 20), order = Big32(d, 28);
    const uint32_t bits = Big32(d, 44), line = Big32(d, 48), colours = Big32(d, 76);
    const uint32_t red = Big32(d, 56), green = Big32(d, 60), blue = Big32(d, 64);
    if (bits != 32 && bits != 24) return false;
    const size_t bytes = bits / 8;
    shot.Resize(static_cast<int>(width), static_cast<int>(height));
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const size_t at = header + colours * 12 + size_t{y} * line + size_t{x} * bytes;
            if (at + bytes > d.size()) return false;
            uint32_t v = 0;
            for (size_t i = 0; i < bytes; ++i) {
                v |= order == 0 ? uint32_t{d[at + i]} << (8 * i) : uint32_t{d[at + i]} << (8 * (bytes - 1 - i));
            }
            const uint32_t rgb = Channel(v, red) << 16 | Channel(v, green) << 8 | Channel(v, blue);
            shot.Set(static_cast<int>(x), static_cast<int>(y), 0xFF000000u | rgb);
        }
    }
    return true;
}

RunningProgram::RunningProgram(const std::vector<std::string>& args, const std::vector<std::string>& environment,
                               int reportFd, const std::string& errorFile) {
    int pipeEnds[2] = {-1, -1};
    if (reportFd >= 0 && pipe2(pipeEnds, O_CLOEXEC) != 0) return;
    pid_ = Spawn(args, environment, pipeEnds[1], reportFd, errorFile);
    if (pipeEnds[1] >= 0) close(pipeEnds[1]);
    report_ = pipeEnds[0];
}

RunningProgram::~RunningProgram() {
    Stop();
    if (report_ >= 0) close(report_);
}

std::string RunningProgram::ReadLine(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (report_ >= 0) {
        if (const auto newline = std::find(buffered_.begin(), buffered_.end(), '\n'); newline != buffered_.end()) {
            std::string line(buffered_.begin(), newline);
            buffered_.erase(buffered_.begin(), newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return {};
        pollfd ready{report_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) <= 0) continue;
        char chunk[256];
        const ssize_t got = read(report_, chunk, sizeof chunk);
        if (got <= 0) return {};
        buffered_.append(chunk, static_cast<size_t>(got));
    }
    return {};
}

bool RunningProgram::Stop() {
    if (pid_ <= 0) return true;
    const pid_t pid = std::exchange(pid_, -1);
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

int RunningProgram::WaitForExit(std::chrono::milliseconds limit) {
    if (pid_ <= 0) return -1;
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) != pid_) {
        if (std::chrono::steady_clock::now() >= end) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool RunningProgram::Alive() { return pid_ > 0 && WaitForExit(std::chrono::milliseconds(0)) == -1; }

bool PumpUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        Application->ProcessMessages();
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

}  // namespace vcl::testing_support
