#include "tests/peers/SlaveProcess.h"

#include "tests/peers/PacedSlave.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>

namespace vcl::peers {

const char* ModbusSlavePath() { return VELMO_MODBUS_SLAVE; }

const char* PacedSlavePath() { return VELMO_PACED_SLAVE; }

SlaveProcess::SlaveProcess(std::vector<std::string> arguments) {
    int output[2];
    if (pipe(output) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(output[1], STDOUT_FILENO);
        close(output[0]);
        close(output[1]);
        std::vector<char*> argv;
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(output[1]);
    output_ = output[0];
}

SlaveProcess::~SlaveProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
}

std::string SlaveProcess::ReadLine() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        const size_t end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string line = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            return line;
        }
        if (std::chrono::steady_clock::now() >= deadline) return {};
        pollfd ready{output_, POLLIN, 0};
        if (poll(&ready, 1, 100) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(output_, chunk, sizeof chunk);
        if (n <= 0) return {};
        pending_.append(chunk, static_cast<size_t>(n));
    }
}

Served ParseServed(const std::string& line) {
    std::istringstream words(line);
    std::string word;
    Served served;
    if (!(words >> word) || word != "served") return served;
    words >> std::hex >> served.function;
    unsigned value = 0;
    while (words >> value) served.registers.push_back(static_cast<uint16_t>(value));
    return served;
}

}  // namespace vcl::peers
