#pragma once
// One frame told in one short line, for a cell of the bus monitor's log: the slave, the function
// by name and what the frame says of it (start, count, byte count, register values, exception).
// The line is worked out from the bytes alone, whatever their CRC says: the verdict is shown
// beside it, and a frame cut short is told as far as it goes.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "modbus/ReplyCheck.h"

namespace modbus {

// Which way a frame went: a request is one we sent, a reply one we received.
enum class TFrameSide : uint8_t { Request, Reply };

// "Slave 1, Read holding registers, start 1, count 4" or "从站 1，读保持寄存器，起始 1，数量 4";
// "…, truncated" / "…，不完整" when the frame is shorter than its function says. A reply lists at
// most its first 16 registers, then "…".
std::string DescribeFrame(std::span<const uint8_t> frame, TFrameSide side, TLanguage language);

// Where a frame of this function, going this way, holds the count of the data bytes that follow
// it: 2 in the reply to a read, 6 in a request writing several coils or registers; none otherwise.
std::optional<size_t> ByteCountIndex(uint8_t function, TFrameSide side);

}  // namespace modbus
