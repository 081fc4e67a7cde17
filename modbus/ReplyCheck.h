#pragma once
// What the window shows of one reply, worked out from its bytes alone: the bytes in hex, the CRC
// that came with them beside the one computed here, the float of a nine-byte reply, and the
// verdict (CRC right or wrong, or a slave's exception with its standard name).

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace modbus {

enum class TReplyVerdict : uint8_t {
    CrcOk,      // the CRC that came matches the bytes before it
    CrcError,   // it does not, or the reply is too short to carry one
    Exception,  // a sound five-byte reply whose function code has the high bit set
};

enum class TLanguage : uint8_t { Chinese, English };

// Of a text's two wordings, the one in language.
constexpr const char* InLanguage(TLanguage language, const char* chinese, const char* english) {
    return language == TLanguage::Chinese ? chinese : english;
}

struct TReplyCheck {
    size_t Count = 0;
    // Two spaces before each pair, nothing at the end: nine bytes give 36 characters.
    std::string Hex;
    // At least three bytes: two CRC bytes behind at least one of content.
    bool HasCrc = false;
    uint8_t ReceivedCrcLow = 0;
    uint8_t ReceivedCrcHigh = 0;
    uint16_t LocalCrc = 0;
    // A nine-byte reply's data bytes (3 to 6) as a float, rendered.
    std::optional<std::string> Float;
    TReplyVerdict Verdict = TReplyVerdict::CrcError;
    uint8_t ExceptionCode = 0;

    uint8_t LocalCrcLow() const { return static_cast<uint8_t>(LocalCrc & 0xFF); }
    uint8_t LocalCrcHigh() const { return static_cast<uint8_t>(LocalCrc >> 8); }
};

TReplyCheck CheckReply(std::span<const uint8_t> reply);

// The standard name of an exception code (01 to 0B); empty for a code without one.
std::string ExceptionName(uint8_t code, TLanguage language);

}  // namespace modbus
