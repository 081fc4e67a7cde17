#pragma once
// A line-settings record with only the framing fields filled, for the settings tests.

#include "platform/serialdev/CommTypes.h"

namespace vcl {

inline DCB Line(DWORD speed, BYTE size, BYTE parity, BYTE stopBits) {
    DCB dcb;
    dcb.BaudRate = speed;
    dcb.fBinary = 1;
    dcb.ByteSize = size;
    dcb.Parity = parity;
    dcb.StopBits = stopBits;
    return dcb;
}

}  // namespace vcl
