#include "modbus/Crc16.h"

#include <array>
#include <cstring>

namespace modbus {
namespace {

constexpr uint16_t kPolynomial = 0xA001;

constexpr uint16_t StepByte(uint16_t crc) {
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ kPolynomial : crc >> 1;
    return crc;
}

// Slicing-by-8: Tables[k][b] is the CRC contribution of byte b followed by k zero bytes.
using SliceTables = std::array<std::array<uint16_t, 256>, 8>;

constexpr SliceTables MakeTables() {
    SliceTables tables{};
    for (int b = 0; b < 256; ++b) tables[0][b] = StepByte(static_cast<uint16_t>(b));
    for (int k = 1; k < 8; ++k) {
        for (int b = 0; b < 256; ++b) {
            const uint16_t previous = tables[k - 1][b];
            tables[k][b] = static_cast<uint16_t>((previous >> 8) ^ tables[0][previous & 0xFF]);
        }
    }
    return tables;
}

constexpr SliceTables kTables = MakeTables();

}  // namespace

uint16_t Crc16(const uint8_t* bytes, int count) {
    uint32_t crc = 0xFFFF;
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        const uint32_t lo = (bytes[i] | (bytes[i + 1] << 8)) ^ crc;
        crc = kTables[7][lo & 0xFF] ^ kTables[6][lo >> 8] ^ kTables[5][bytes[i + 2]] ^
              kTables[4][bytes[i + 3]] ^ kTables[3][bytes[i + 4]] ^ kTables[2][bytes[i + 5]] ^
              kTables[1][bytes[i + 6]] ^ kTables[0][bytes[i + 7]];
    }
    for (; i < count; ++i) crc = (crc >> 8) ^ kTables[0][(crc ^ bytes[i]) & 0xFF];
    return static_cast<uint16_t>(crc);
}

uint16_t Crc16Bitwise(const uint8_t* bytes, int count) {
    uint16_t crc = 0xFFFF;
    for (int i = 0; i < count; ++i) {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ kPolynomial) : static_cast<uint16_t>(crc >> 1);
        }
    }
    return crc;
}

std::vector<uint8_t> WithCrc(std::vector<uint8_t> bytes) {
    const uint16_t crc = Crc16(bytes.data(), static_cast<int>(bytes.size()));
    bytes.push_back(static_cast<uint8_t>(crc));
    bytes.push_back(static_cast<uint8_t>(crc >> 8));
    return bytes;
}

}  // namespace modbus
