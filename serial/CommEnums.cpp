#include "serial/CommEnums.h"

namespace serial {

namespace {

constexpr uint32_t kSpeeds[] = {110,   300,   600,   1200,  2400,  4800,   9600,  14400,
                                19200, 38400, 56000, 57600, 76800, 115200, 230400};

}  // namespace

uint32_t BaudRateSpeed(TBaudRate rate) {
    if (rate > br115200) return 230400;
    return kSpeeds[rate];
}

std::string PortDeviceName(TComPortNumber port) {
    return "\\\\.\\\\COM" + std::to_string(static_cast<int>(port) + 1);
}

}  // namespace serial
