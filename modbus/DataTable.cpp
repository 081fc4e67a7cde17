#include "modbus/DataTable.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "modbus/Values.h"

namespace modbus {

namespace {

constexpr size_t kFirstDataByte = 2;
constexpr size_t kCrcSize = 2;

enum class TKind : uint8_t { Signed, Unsigned, Float };

struct TType {
    const char* name;
    size_t size;
    TKind kind;
};

constexpr std::array<TType, 6> kTypes{{
    {"int16", 2, TKind::Signed},
    {"uint16", 2, TKind::Unsigned},
    {"int32", 4, TKind::Signed},
    {"uint32", 4, TKind::Unsigned},
    {"float32", 4, TKind::Float},
    {"float64", 8, TKind::Float},
}};

constexpr std::array<TWordOrder, 4> kOrders{TWordOrder::ABCD, TWordOrder::CDAB, TWordOrder::BADC, TWordOrder::DCBA};

// The value of the bytes as they stand in order, put together big-endian.
uint64_t Assemble(std::span<const uint8_t> bytes, TWordOrder order) {
    const size_t size = bytes.size();
    uint64_t value = 0;
    for (size_t i = 0; i < size; ++i) {
        // The wire position of the i-th most significant byte.
        size_t at = i;
        switch (order) {
            case TWordOrder::ABCD: break;
            case TWordOrder::CDAB: at = size - 2 - (i & ~size_t{1}) + (i & 1); break;
            case TWordOrder::BADC: at = i ^ 1; break;
            case TWordOrder::DCBA: at = size - 1 - i; break;
        }
        value = value << 8 | bytes[at];
    }
    return value;
}

std::string Render(uint64_t bits, const TType& type) {
    switch (type.kind) {
        case TKind::Unsigned: return std::to_string(bits);
        case TKind::Signed: {
            const unsigned shift = 64 - 8 * static_cast<unsigned>(type.size);
            // Moves the value's sign bit to the top, then back down with the sign.
            return std::to_string(static_cast<int64_t>(bits << shift) >> shift);
        }
        case TKind::Float:
            if (type.size == 4) return FloatToStr(std::bit_cast<float>(static_cast<uint32_t>(bits)));
            return FloatToStr(std::bit_cast<double>(bits));
    }
    return {};
}

}  // namespace

std::span<const uint8_t> FrameData(std::span<const uint8_t> frame, TFrameSide side) {
    if (frame.size() < kFirstDataByte + kCrcSize) return {};
    const size_t crcAt = frame.size() - kCrcSize;
    size_t begin = kFirstDataByte;
    size_t end = crcAt;
    if (const std::optional<size_t> countAt = ByteCountIndex(frame[1], side)) {
        if (*countAt >= crcAt) return {};
        begin = *countAt + 1;
        end = std::min(end, begin + frame[*countAt]);
    }
    if (begin >= end) return {};
    return frame.subspan(begin, end - begin);
}

std::vector<TDataRow> DataTable(std::span<const uint8_t> data) {
    std::vector<TDataRow> rows;
    rows.reserve(kTypes.size());
    for (const TType& type : kTypes) {
        TDataRow& row = rows.emplace_back(TDataRow{type.name, {}});
        if (data.size() < type.size) continue;
        for (size_t column = 0; column < kOrders.size(); ++column) {
            row.values[column] = Render(Assemble(data.first(type.size), kOrders[column]), type);
        }
    }
    return rows;
}

}  // namespace modbus
