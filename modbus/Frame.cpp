#include "modbus/Frame.h"

#include "modbus/Crc16.h"
#include "modbus/HexText.h"
#include "platform/rtl/Exception.h"
#include "platform/rtl/Format.h"

namespace modbus {

std::array<uint8_t, kFrameBufferSize> FrameBuffer{};

namespace {

// The data text of a write request is padded with "0" up to this many characters (256 bytes).
constexpr size_t kPaddedDataText = 512;

void StoreHeader(uint8_t slave, uint8_t function, int32_t start, uint32_t quantity) {
    FrameBuffer[0] = slave;
    FrameBuffer[1] = function;
    FrameBuffer[2] = static_cast<uint8_t>(start >> 8);
    FrameBuffer[3] = static_cast<uint8_t>(start);
    FrameBuffer[4] = static_cast<uint8_t>(quantity >> 8);
    FrameBuffer[5] = static_cast<uint8_t>(quantity);
}

void StoreCrc(int count) {
    const uint16_t crc = Crc16(FrameBuffer.data(), count);
    FrameBuffer[count] = static_cast<uint8_t>(crc);
    FrameBuffer[count + 1] = static_cast<uint8_t>(crc >> 8);
}

// The pair at 1-based character positions 2i-1 and 2i; shorter or empty where the text ends.
std::string PairAt(const std::string& text, size_t i) {
    const size_t from = 2 * (i - 1);
    return from < text.size() ? text.substr(from, 2) : std::string();
}

}  // namespace

int BuildReadRequest(uint8_t slave, int32_t start, int32_t length) {
    StoreHeader(slave, 0x03, start, static_cast<uint32_t>(length));
    StoreCrc(6);
    return kReadRequestSize;
}

int BuildWriteRequest(uint8_t slave, int32_t start, int32_t length, const std::string& dataText) {
    if (length < 0 || length > kMaxWriteLength) {
        throw rtl::EConvertError(rtl::Format(
            "Write length %d is outside the range 0 to %d", length, kMaxWriteLength));
    }
    StoreHeader(slave, 0x10, start, static_cast<uint32_t>(length) >> 1);
    FrameBuffer[6] = static_cast<uint8_t>(length);

    std::string text = RemoveSubStr(dataText, " ");
    if (text.size() < kPaddedDataText) text.resize(kPaddedDataText, '0');
    for (int32_t i = 1; i <= length; ++i) {
        FrameBuffer[6 + i] = static_cast<uint8_t>(HexStrToInt(PairAt(text, static_cast<size_t>(i))));
    }
    StoreCrc(length + 7);
    return length + kWriteOverhead;
}

std::string FormatReadFrame() { return JoinHex(std::span(FrameBuffer).first(kReadRequestSize), "", "  ", ""); }

std::string FormatWriteFrame(int count) {
    if (count < 0 || count > kFrameBufferSize) throw rtl::ERangeError();
    return JoinHex(std::span(FrameBuffer).first(static_cast<size_t>(count)), "", "", "  ");
}

int ParseFrameText(const std::string& text) {
    const std::string digits = RemoveSubStr(text, " ");
    const size_t pairs = digits.size() / 2;
    if (pairs > static_cast<size_t>(kFrameBufferSize)) {
        throw rtl::EConvertError(rtl::Format(
            "The frame holds %zu bytes; at most %d can be sent", pairs, kFrameBufferSize));
    }
    for (size_t i = 0; i < pairs; ++i) {
        FrameBuffer[i] = static_cast<uint8_t>(HexStrToInt(digits.substr(2 * i, 2)));
    }
    return static_cast<int>(pairs);
}

}  // namespace modbus
