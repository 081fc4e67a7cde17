#include "tests/support/RealScreen.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "platform/toolkit/Application.h"

extern char** environ;

namespace vcl::testing_support {

namespace {

bool Exists(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
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

PrivateXServer::PrivateXServer() {
    for (int display = 57; display < 120 && pid_ < 0; ++display) {
        const std::string socket = "/tmp/.X11-unix/X" + std::to_string(display);
        if (Exists(socket) || Exists("/tmp/.X" + std::to_string(display) + "-lock")) continue;
        const std::string name = ":" + std::to_string(display);
        const pid_t pid = Spawn({"Xvfb", name, "-screen", "0", "1024x768x24", "-nolisten", "tcp"});
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
