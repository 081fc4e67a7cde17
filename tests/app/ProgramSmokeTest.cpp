// The real program on a private X server (Xvfb), driven by xdotool as a person would drive it:
// COM1 leads over a pseudo-terminal to the libmodbus slave; the port is opened, the start-up frame
// sent, the slave answers and the reply shows in the window. Screenshots land in build/screenshots.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/draw/Png.h"
#include "tests/peers/SlaveProcess.h"
#include "tests/platform/serialdev/PtyPair.h"
#include "tests/support/GuiTest.h"

extern char** environ;

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

pid_t Spawn(const std::vector<std::string>& args, bool quiet = true) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet) {
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

int RunProgram(const std::vector<std::string>& args) {
    const pid_t pid = Spawn(args);
    if (pid < 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A command's standard output (its first line), empty when it fails.
std::string Output(const std::string& command) {
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return {};
    char line[256] = {};
    if (!std::fgets(line, sizeof line, pipe.get())) return {};
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// Ends a child with SIGTERM; whether it ended of that within two seconds (else it is killed).
bool Stop(pid_t pid) {
    if (pid <= 0) return true;
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return false;
}

class PrivateXServer {
public:
    PrivateXServer() {
        for (int display = 77; display < 140 && pid_ < 0; ++display) {
            const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
            if (Exists(socket) || Exists("/tmp/.X" + std::to_string(display) + "-lock")) continue;
            const pid_t pid = Spawn({"Xvfb", ":" + std::to_string(display), "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
            if (pid < 0) return;
            // Readiness polling: the server needs a moment to listen.
            for (int i = 0; i < 200 && !Exists(socket); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(25));
            if (!Exists(socket)) {
                Stop(pid);
                continue;
            }
            pid_ = pid;
            display_ = ":" + std::to_string(display);
        }
    }
    ~PrivateXServer() { Stop(pid_); }
    bool Running() const { return pid_ >= 0; }
    const std::string& Display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

uint32_t Big32(const std::vector<uint8_t>& d, size_t at) {
    return (uint32_t{d[at]} << 24) | (uint32_t{d[at + 1]} << 16) | (uint32_t{d[at + 2]} << 8) | d[at + 3];
}

// The X screen as pixels (0xFFRRGGBB), from an xwd dump of a 24/32-bit true-colour screen.
bool Screenshot(const std::string& display, vcl::PixelSection& shot) {
    const std::string path = ::testing::TempDir() + "velmo_program_" + std::to_string(getpid()) + ".xwd";
    if (RunProgram({"xwd", "-root", "-silent", "-display", display, "-out", path}) != 0) return false;
    std::ifstream in(path, std::ios::binary);
    const std::vector<uint8_t> d((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    if (d.size() < 100) return false;
    const uint32_t header = Big32(d, 0), width = Big32(d, 16), height = Big32(d, 20), order = Big32(d, 28);
    const uint32_t bits = Big32(d, 44), line = Big32(d, 48), colours = Big32(d, 76);
    if (bits != 32 && bits != 24) return false;
    const size_t bytes = bits / 8;
    shot.Resize(static_cast<int>(width), static_cast<int>(height));
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const size_t at = header + colours * 12 + y * line + x * bytes;
            if (at + bytes > d.size()) return false;
            uint32_t v = 0;
            for (size_t i = 0; i < bytes; ++i) v |= order == 0 ? uint32_t{d[at + i]} << (8 * i) : uint32_t{d[at + i]} << (8 * (bytes - 1 - i));
            shot.Set(static_cast<int>(x), static_cast<int>(y), 0xFF000000u | (v & 0xFFFFFFu));
        }
    }
    return true;
}

int Differing(const vcl::PixelSection& a, const vcl::PixelSection& b, int left, int top, int width, int height) {
    int n = 0;
    for (int y = top; y < top + height; ++y) {
        for (int x = left; x < left + width; ++x) n += a.At(x, y) != b.At(x, y);
    }
    return n;
}

TEST(ProgramSmoke, UnderXvfbThePortOpensTheFrameGoesOutAndTheSlavesReplyShows) {
    PrivateXServer server;
    if (!server.Running()) GTEST_SKIP() << "no X server can be started here";
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("SDL_VIDEODRIVER", "x11", 1);

    vcl::pty::ScratchConfig config;
    vcl::pty::PtyPair ours, theirs;
    config.MapPort(1, ours.SlavePath());
    vcl::pty::PtyBridge bridge(ours.Master(), theirs.Master());
    vcl::peers::SlaveProcess slave({vcl::peers::ModbusSlavePath(), theirs.SlavePath(), "115200", "1", "0x01=0x4148",
                                    "0x02=0x0000", "0x03=0x0001", "0x04=0x0002"});
    ASSERT_EQ(slave.ReadLine(), "ready");

    const pid_t program = Spawn({VELMO_PROGRAM}, false);
    ASSERT_GT(program, 0);
    std::string window;
    for (int i = 0; i < 200 && window.empty(); ++i) {
        window = Output("xdotool search --name 'Modbus RTU' 2>/dev/null");
        if (window.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
    ASSERT_FALSE(window.empty()) << "the window never appeared";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    // No window manager: the client area is where the window is, centred on the 1024 x 768 screen.
    const int left = (1024 - 572) / 2, top = (768 - 601) / 2;
    auto clickAt = [&](int x, int y) {
        ASSERT_EQ(RunProgram({"xdotool", "mousemove", std::to_string(left + x), std::to_string(top + y), "click", "1"}), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    };

    vcl::PixelSection before;
    ASSERT_TRUE(Screenshot(server.Display(), before));
    vcl::SavePng(before, vcl::testing_support::ScreenshotDirectory() + "/program-xvfb-start.png");
    clickAt(112 + 384 + 32, 8 + 56 + 12);   // the port button
    clickAt(8 + 488 + 29, 112 + 78 + 12);   // send
    EXPECT_EQ(vcl::peers::ParseServed(slave.ReadLine()).function, 0x03);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    vcl::PixelSection after;
    ASSERT_TRUE(Screenshot(server.Display(), after));
    vcl::SavePng(after, vcl::testing_support::ScreenshotDirectory() + "/program-xvfb-reply.png");

    // The reply memo, the received CRC fields and the status bar's first panel now show text.
    EXPECT_GT(Differing(before, after, left + 16, top + 328, 440, 20), 50);
    EXPECT_GT(Differing(before, after, left + 488, top + 344, 60, 20), 10);
    EXPECT_GT(Differing(before, after, left + 2, top + 581, 148, 18), 20);
    EXPECT_TRUE(Stop(program)) << "SIGTERM did not end the program";
}

}  // namespace
