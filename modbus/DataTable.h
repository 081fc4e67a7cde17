#pragma once
// The data of one frame read as every number type in every byte and word order, for the bus
// monitor's detail table. Devices disagree on how a 32- or 64-bit value spans registers, so the
// person debugging one compares the four orders side by side instead of guessing.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "modbus/FrameDescription.h"

namespace modbus {

// The data bytes of a frame, within it: a read reply's data after its byte count, a multiple
// write request's data after its byte count (each bounded by that count and by the frame), else
// everything between the function code and the CRC. Empty where there is none.
std::span<const uint8_t> FrameData(std::span<const uint8_t> frame, TFrameSide side);

// How the bytes of a value stand on the wire, taken as 16-bit words: ABCD big-endian as they
// are, CDAB with the word order reversed, BADC with the bytes swapped within each word, DCBA with
// all bytes reversed.
enum class TWordOrder : uint8_t { ABCD, CDAB, BADC, DCBA };

// One type's values, in the columns ABCD, CDAB, BADC, DCBA.
struct TDataRow {
    std::string type;
    std::array<std::string, 4> values;
};

// Rows int16, uint16, int32, uint32, float32, float64, each read from the first 2, 4 or 8 data
// bytes; a value is empty where the data is shorter. Integers in decimal, floats by FloatToStr.
std::vector<TDataRow> DataTable(std::span<const uint8_t> data);

}  // namespace modbus
