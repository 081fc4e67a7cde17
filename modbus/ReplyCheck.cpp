#include "modbus/ReplyCheck.h"

#include <array>

#include "modbus/HexText.h"
#include "modbus/Values.h"

namespace modbus {

namespace {

constexpr size_t kFloatReplySize = 9;
constexpr size_t kExceptionReplySize = 5;

struct TExceptionNames {
    const char* chinese;
    const char* english;
};

// Codes 01 to 0B; 09 has no standard meaning.
constexpr std::array<TExceptionNames, 11> kExceptionNames{{
    {"非法功能", "Illegal function"},
    {"非法数据地址", "Illegal data address"},
    {"非法数据值", "Illegal data value"},
    {"从站设备故障", "Server device failure"},
    {"确认", "Acknowledge"},
    {"从站设备忙", "Server device busy"},
    {"否定确认", "Negative acknowledge"},
    {"存储奇偶性差错", "Memory parity error"},
    {"", ""},
    {"网关路径不可用", "Gateway path unavailable"},
    {"网关目标设备响应失败", "Gateway target device failed to respond"},
}};

}  // namespace

TReplyCheck CheckReply(std::span<const uint8_t> reply) {
    TReplyCheck check;
    check.Count = reply.size();
    check.Hex = JoinHex(reply, "  ", "", "");
    check.HasCrc = reply.size() >= 3;
    if (check.HasCrc) {
        check.ReceivedCrcLow = reply[reply.size() - 2];
        check.ReceivedCrcHigh = reply[reply.size() - 1];
        check.LocalCrc = ReplyCrc(reply.data(), static_cast<int>(reply.size()));
    }
    if (reply.size() == kFloatReplySize) check.Float = FloatToStr(ByteToFloat(&reply[3]));
    const bool crcMatches = check.HasCrc && check.ReceivedCrcLow == check.LocalCrcLow() &&
                            check.ReceivedCrcHigh == check.LocalCrcHigh();
    if (!crcMatches) {
        check.Verdict = TReplyVerdict::CrcError;
    } else if (reply.size() == kExceptionReplySize && (reply[1] & 0x80) != 0) {
        check.Verdict = TReplyVerdict::Exception;
        check.ExceptionCode = reply[2];
    } else {
        check.Verdict = TReplyVerdict::CrcOk;
    }
    return check;
}

std::string ExceptionName(uint8_t code, TLanguage language) {
    if (code < 1 || code > kExceptionNames.size()) return {};
    const TExceptionNames& names = kExceptionNames[code - 1];
    return language == TLanguage::Chinese ? names.chinese : names.english;
}

}  // namespace modbus
