#pragma once
// The Modbus RTU CRC-16 (initial 0xFFFF, reflected polynomial 0xA001); frames carry it low byte first.

#include <cstdint>
#include <vector>

namespace modbus {

// Table-driven CRC of count bytes (count <= 0 gives the initial value 0xFFFF).
uint16_t Crc16(const uint8_t* bytes, int count);

// The bytes followed by their CRC, low byte first: a whole frame.
std::vector<uint8_t> WithCrc(std::vector<uint8_t> bytes);

// The same CRC computed bit by bit, the reference the fast one is checked against.
uint16_t Crc16Bitwise(const uint8_t* bytes, int count);

}  // namespace modbus
