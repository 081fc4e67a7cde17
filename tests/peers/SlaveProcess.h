#pragma once
// The libmodbus slave program (ModbusSlave.cpp) run as a child process, its report lines read
// back. Shared by every test that holds our frames against it.

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vcl::peers {

// Where the build put velmo_modbus_slave.
const char* ModbusSlavePath();

// The slave program, its output read line by line.
class SlaveProcess {
public:
    // arguments[0] is the program; the rest are its arguments.
    explicit SlaveProcess(std::vector<std::string> arguments);
    ~SlaveProcess();
    SlaveProcess(const SlaveProcess&) = delete;
    SlaveProcess& operator=(const SlaveProcess&) = delete;

    // The next line, or empty when none comes within a few seconds.
    std::string ReadLine();

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// One "served FF R0 ... R255" line: the function code and the whole register map after it.
struct Served {
    int function = -1;
    std::vector<uint16_t> registers;
};

// function -1 for any other line.
Served ParseServed(const std::string& line);

}  // namespace vcl::peers
