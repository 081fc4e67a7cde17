#pragma once
// The paced slave (PacedSlave.cpp): a libmodbus slave behind a line that moves bytes at its baud
// rate's pace, or a stream that never falls quiet. What its registers hold, and where it is.

#include <cstdint>

namespace vcl::peers {

inline constexpr int kPacedRegisters = 256;

// Every register different, and both of its bytes different from their neighbours'.
constexpr uint16_t PacedRegister(int address) { return static_cast<uint16_t>((address << 8) | (255 - address)); }

// Where the build put velmo_paced_slave.
const char* PacedSlavePath();

}  // namespace vcl::peers
