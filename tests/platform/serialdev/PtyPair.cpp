#include "tests/platform/serialdev/PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace vcl::pty {

namespace {

constexpr int kPatienceMilliseconds = 5000;

[[noreturn]] void Fail(const std::string& what) {
    throw std::runtime_error(what + ": " + std::to_string(errno));
}

void SetNonBlocking(int fd) {
    if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK) != 0) Fail("fcntl");
}

}  // namespace

PtyPair::PtyPair() {
    char name[256] = {};
    if (::openpty(&master_, &slave_, name, nullptr, nullptr) != 0) Fail("openpty");
    slavePath_ = name;
    // The slave stays in the cooked mode a new pty has: raw mode is the code under test's job.
    SetNonBlocking(master_);
}

PtyPair::~PtyPair() {
    CloseMaster();
    ::close(slave_);
}

void PtyPair::CloseMaster() {
    if (master_ < 0) return;
    ::close(master_);
    master_ = -1;
}

void PtyPair::WriteToMaster(const std::vector<uint8_t>& bytes) const {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) Fail("write to master");
        pollfd ready{master_, POLLOUT, 0};
        ::poll(&ready, 1, kPatienceMilliseconds);
    }
}

std::vector<uint8_t> PtyPair::ReadFromMaster(size_t count) const {
    std::vector<uint8_t> bytes;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMilliseconds);
    while (bytes.size() < count && std::chrono::steady_clock::now() < deadline) {
        pollfd ready{master_, POLLIN, 0};
        if (::poll(&ready, 1, 50) <= 0) continue;
        uint8_t chunk[4096];
        const ssize_t n = ::read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (n > 0) bytes.insert(bytes.end(), chunk, chunk + n);
    }
    return bytes;
}

std::vector<uint8_t> PtyPair::ReadAvailable() const {
    std::vector<uint8_t> bytes;
    uint8_t chunk[4096];
    for (;;) {
        const ssize_t n = ::read(master_, chunk, sizeof chunk);
        if (n <= 0) return bytes;
        bytes.insert(bytes.end(), chunk, chunk + n);
    }
}

bool PtyPair::AnythingArrives(int graceMilliseconds) const {
    pollfd ready{master_, POLLIN, 0};
    return ::poll(&ready, 1, graceMilliseconds) == 1 && (ready.revents & POLLIN) != 0;
}

ScratchConfig::ScratchConfig() {
    char pattern[] = "/tmp/velmo-serial-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) Fail("mkdtemp");
    root_ = pattern;
    ports_ = root_ + "/velmo-modbus/ports";
    std::filesystem::create_directories(ports_);
    if (const char* home = std::getenv("XDG_CONFIG_HOME")) {
        hadConfigHome_ = true;
        savedConfigHome_ = home;
    }
    ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
}

ScratchConfig::~ScratchConfig() {
    if (hadConfigHome_) {
        ::setenv("XDG_CONFIG_HOME", savedConfigHome_.c_str(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

void ScratchConfig::MapPort(int portNumber, const std::string& target) const {
    const std::filesystem::path entry = std::filesystem::path(ports_) / ("COM" + std::to_string(portNumber));
    std::error_code ignored;
    std::filesystem::remove(entry, ignored);
    std::filesystem::create_symlink(target, entry);
}

HangUpUnlessDone::HangUpUnlessDone(PtyPair& pty)
    : thread_([this, &pty] {
          std::unique_lock lock(mutex_);
          if (done_.wait_for(lock, std::chrono::milliseconds(kPatienceMilliseconds), [this] { return cancelled_; })) {
              return;
          }
          hungUp_ = true;
          pty.CloseMaster();
      }) {}

HangUpUnlessDone::~HangUpUnlessDone() {
    {
        const std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    done_.notify_one();
    thread_.join();
}

bool HangUpUnlessDone::HungUp() const {
    const std::lock_guard lock(mutex_);
    return hungUp_;
}

PtyBridge::PtyBridge(int firstMaster, int secondMaster) {
    if (::pipe(stopPipe_) != 0) Fail("pipe");
    thread_ = std::thread([this, firstMaster, secondMaster] { Run(firstMaster, secondMaster); });
}

PtyBridge::~PtyBridge() {
    const char stop = 1;
    [[maybe_unused]] const ssize_t sent = ::write(stopPipe_[1], &stop, 1);
    thread_.join();
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

void PtyBridge::Run(int first, int second) const {
    pollfd watched[3] = {{stopPipe_[0], POLLIN, 0}, {first, POLLIN, 0}, {second, POLLIN, 0}};
    const int peerOf[3] = {-1, second, first};
    for (;;) {
        if (::poll(watched, 3, -1) < 0 && errno != EINTR) return;
        if (watched[0].revents != 0) return;
        for (int i = 1; i < 3; ++i) {
            if ((watched[i].revents & POLLIN) == 0) continue;
            uint8_t chunk[4096];
            const ssize_t n = ::read(watched[i].fd, chunk, sizeof chunk);
            for (ssize_t sent = 0; n > 0 && sent < n;) {
                const ssize_t m = ::write(peerOf[i], chunk + sent, static_cast<size_t>(n - sent));
                if (m > 0) sent += m;
                if (m < 0 && errno != EAGAIN && errno != EINTR) return;
                if (m <= 0) {
                    pollfd writable{peerOf[i], POLLOUT, 0};
                    ::poll(&writable, 1, 100);
                }
            }
        }
    }
}

std::vector<uint8_t> AllByteValues() {
    std::vector<uint8_t> bytes(256);
    for (int i = 0; i < 256; ++i) bytes[static_cast<size_t>(i)] = static_cast<uint8_t>(i);
    return bytes;
}

}  // namespace vcl::pty
