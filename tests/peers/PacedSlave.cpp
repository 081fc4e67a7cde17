// A Modbus RTU slave behind a line that takes its time, as a real one does: libmodbus answers on
// an inner pseudo-terminal, and every byte between it and DEVICE goes at the pace of the baud
// rate (one character of 10 bits, 8N1), in both directions. With --chunk the slave's bytes reach
// DEVICE in lumps that many milliseconds apart, as a USB adapter's latency timer hands them over.
//
//   velmo_paced_slave DEVICE BAUD SLAVE_ID [--chunk MS] [--turnaround MS] [--stream]
//
// Holding register i holds PacedRegister(i) (PacedSlave.h). --turnaround is how long the slave
// thinks before it answers. --stream: no slave at all; from the first byte it hears on, an
// endless stream of bytes 0, 1, 2, ... (mod 256) at the line's pace, never quiet. Prints "ready" once it listens and "replied N"
// after the last byte of each N-byte reply has reached DEVICE. Runs until DEVICE goes away or
// it is terminated.

#include <fcntl.h>
#include <modbus.h>
#include <poll.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <string>
#include <thread>

#include "tests/peers/PacedSlave.h"

namespace {

using Clock = std::chrono::steady_clock;

// Bytes on their way over the line: each leaves the far end when its last bit has been sent.
class PacedLine {
public:
    PacedLine(int to, std::chrono::microseconds character, std::chrono::milliseconds chunk)
        : to_(to), character_(character), chunk_(chunk) {}

    void Send(const uint8_t* bytes, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            lineFree_ = std::max(lineFree_, Clock::now()) + character_;
            queue_.push_back({lineFree_, bytes[i]});
        }
    }
    bool Idle() const { return queue_.empty(); }
    // When the next delivery is due (queue not empty).
    Clock::time_point NextDue() const {
        const Clock::time_point arrived = queue_.front().at;
        if (chunk_.count() == 0) return arrived;
        // The adapter hands over at its timer's ticks.
        const auto since = arrived.time_since_epoch();
        return Clock::time_point((since / chunk_ + 1) * chunk_);
    }
    // Hands over what is due; how many bytes.
    size_t Deliver() {
        const Clock::time_point now = Clock::now();
        std::string lump;
        while (!queue_.empty() && (chunk_.count() == 0 ? queue_.front().at <= now : NextDue() <= now)) {
            lump += static_cast<char>(queue_.front().value);
            queue_.pop_front();
        }
        if (!lump.empty() && write(to_, lump.data(), lump.size()) < 0) return 0;
        return lump.size();
    }

private:
    struct Byte {
        Clock::time_point at;
        uint8_t value;
    };
    const int to_;
    const std::chrono::microseconds character_;
    const std::chrono::milliseconds chunk_;
    Clock::time_point lineFree_{};
    std::deque<Byte> queue_;
};

void MakeRaw(int fd) {
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
}

int WaitMs(const PacedLine& a, const PacedLine& b) {
    Clock::time_point next = Clock::time_point::max();
    if (!a.Idle()) next = std::min(next, a.NextDue());
    if (!b.Idle()) next = std::min(next, b.NextDue());
    if (next == Clock::time_point::max()) return -1;
    const auto left = std::chrono::duration_cast<std::chrono::microseconds>(next - Clock::now()).count();
    return left <= 0 ? 0 : static_cast<int>((left + 999) / 1000);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s DEVICE BAUD SLAVE_ID [--chunk MS] [--turnaround MS] [--stream]\n", argv[0]);
        return 2;
    }
    const int baud = std::atoi(argv[2]);
    int chunkMs = 0, turnaroundMs = 0;
    bool stream = false;
    for (int i = 4; i < argc; ++i) {
        if (std::strcmp(argv[i], "--chunk") == 0 && i + 1 < argc) chunkMs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--turnaround") == 0 && i + 1 < argc) turnaroundMs = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--stream") == 0) stream = true;
    }
    const int device = open(argv[1], O_RDWR | O_NOCTTY);
    if (device < 0 || baud <= 0) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    MakeRaw(device);
    const std::chrono::microseconds character((10 * 1000000 + baud - 1) / baud);
    PacedLine toDevice(device, character, std::chrono::milliseconds(chunkMs));

    // The slave on the inner pseudo-terminal; our end is inner.
    int inner = -1, innerSlave = -1;
    if (openpty(&inner, &innerSlave, nullptr, nullptr, nullptr) != 0) return 1;
    MakeRaw(innerSlave);
    PacedLine toSlave(inner, character, std::chrono::milliseconds(0));
    std::thread slave;
    if (!stream) {
        const std::string innerPath = ttyname(innerSlave);
        slave = std::thread([innerPath, baud, turnaroundMs, id = std::atoi(argv[3])] {
            modbus_t* context = modbus_new_rtu(innerPath.c_str(), baud, 'N', 8, 1);
            modbus_mapping_t* mapping = modbus_mapping_new(0, 0, vcl::peers::kPacedRegisters, 0);
            for (int i = 0; i < vcl::peers::kPacedRegisters; ++i) mapping->tab_registers[i] = vcl::peers::PacedRegister(i);
            if (!context || !mapping || modbus_set_slave(context, id) != 0 || modbus_connect(context) != 0) std::_Exit(1);
            uint8_t request[MODBUS_RTU_MAX_ADU_LENGTH];
            for (;;) {
                const int length = modbus_receive(context, request);
                if (length < 0 && errno < MODBUS_ENOBASE) std::_Exit(0);
                if (length <= 0) continue;
                std::this_thread::sleep_for(std::chrono::milliseconds(turnaroundMs));
                modbus_reply(context, request, length, mapping);
            }
        });
        slave.detach();
    }
    std::puts("ready");
    std::fflush(stdout);

    uint8_t counter = 0;
    size_t replying = 0;
    bool heard = false;
    for (;;) {
        // A stream keeps a little ahead of the line, so it is never quiet.
        if (stream && heard && toDevice.Idle()) {
            uint8_t lump[64];
            for (uint8_t& byte : lump) byte = counter++;
            toDevice.Send(lump, sizeof lump);
        }
        pollfd ready[2] = {{device, POLLIN, 0}, {inner, POLLIN, 0}};
        if (poll(ready, 2, WaitMs(toDevice, toSlave)) < 0 && errno != EINTR) return 1;
        uint8_t buffer[4096];
        if (ready[0].revents & (POLLHUP | POLLERR)) return 0;
        if (ready[0].revents & POLLIN) {
            const ssize_t n = read(device, buffer, sizeof buffer);
            if (n <= 0) return 0;
            heard = true;
            // A stream has no slave to hear requests.
            if (!stream) toSlave.Send(buffer, static_cast<size_t>(n));
        }
        if (ready[1].revents & POLLIN) {
            const ssize_t n = read(inner, buffer, sizeof buffer);
            if (n > 0) {
                toDevice.Send(buffer, static_cast<size_t>(n));
                replying += static_cast<size_t>(n);
            }
        }
        toSlave.Deliver();
        toDevice.Deliver();
        if (!stream && replying > 0 && toDevice.Idle()) {
            std::printf("replied %zu\n", replying);
            std::fflush(stdout);
            replying = 0;
        }
    }
}
