#include "platform/serialdev/TermiosSettings.h"

namespace vcl {

namespace {

struct StandardSpeed {
    DWORD bitsPerSecond;
    tcflag_t code;
};

// Speeds with a code of their own; every other one goes through BOTHER.
constexpr StandardSpeed kStandardSpeeds[] = {
    {50, B50},           {75, B75},           {110, B110},         {134, B134},
    {150, B150},         {200, B200},         {300, B300},         {600, B600},
    {1200, B1200},       {1800, B1800},       {2400, B2400},       {4800, B4800},
    {9600, B9600},       {19200, B19200},     {38400, B38400},     {57600, B57600},
    {115200, B115200},   {230400, B230400},   {460800, B460800},   {500000, B500000},
    {576000, B576000},   {921600, B921600},   {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000},
};

tcflag_t SpeedCode(DWORD bitsPerSecond) {
    for (const StandardSpeed& speed : kStandardSpeeds) {
        if (speed.bitsPerSecond == bitsPerSecond) return speed.code;
    }
    return BOTHER;
}

DWORD SpeedOfCode(tcflag_t code) {
    for (const StandardSpeed& speed : kStandardSpeeds) {
        if (speed.code == code) return speed.bitsPerSecond;
    }
    return 0;
}

constexpr tcflag_t kSizeCodes[] = {CS5, CS6, CS7, CS8};

BYTE ByteSizeOfBits(tcflag_t cflag) {
    for (BYTE size = 5; size <= 8; ++size) {
        if ((cflag & CSIZE) == kSizeCodes[size - 5]) return size;
    }
    return 8;
}

tcflag_t ParityBits(BYTE parity) {
    switch (parity) {
        case ODDPARITY: return PARENB | PARODD;
        case EVENPARITY: return PARENB;
        case MARKPARITY: return PARENB | CMSPAR | PARODD;
        case SPACEPARITY: return PARENB | CMSPAR;
        default: return 0;
    }
}

BYTE ParityOfBits(tcflag_t cflag) {
    if ((cflag & PARENB) == 0) return NOPARITY;
    const bool odd = (cflag & PARODD) != 0;
    if ((cflag & CMSPAR) != 0) return odd ? MARKPARITY : SPACEPARITY;
    return odd ? ODDPARITY : EVENPARITY;
}

bool IsValid(const DCB& dcb) {
    return dcb.BaudRate != 0 && dcb.ByteSize >= 5 && dcb.ByteSize <= 8 &&
           dcb.Parity <= SPACEPARITY && dcb.StopBits <= TWOSTOPBITS;
}

bool WantsHardwareFlow(const DCB& dcb) {
    return dcb.fOutxCtsFlow != 0 || dcb.fRtsControl == RTS_CONTROL_HANDSHAKE;
}

}  // namespace

void MakeRaw(termios2& settings) {
    settings.c_iflag = 0;
    settings.c_oflag = 0;
    settings.c_lflag = 0;
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
}

bool ApplyDcb(const DCB& dcb, termios2& settings) {
    if (!IsValid(dcb)) return false;

    tcflag_t cflag = CLOCAL | CREAD | HUPCL;
    cflag |= SpeedCode(dcb.BaudRate);
    cflag |= kSizeCodes[dcb.ByteSize - 5];
    cflag |= ParityBits(dcb.Parity);
    // A line has one or two stop bits; one and a half is sent as two.
    if (dcb.StopBits != ONESTOPBIT) cflag |= CSTOPB;
    if (WantsHardwareFlow(dcb)) cflag |= CRTSCTS;

    tcflag_t iflag = 0;
    if (dcb.fOutX != 0) iflag |= IXON;
    if (dcb.fInX != 0) iflag |= IXOFF;

    settings.c_cflag = cflag;
    settings.c_iflag = iflag;
    settings.c_oflag = 0;
    settings.c_lflag = 0;
    settings.c_ispeed = dcb.BaudRate;
    settings.c_ospeed = dcb.BaudRate;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    if (dcb.XonChar != 0) settings.c_cc[VSTART] = static_cast<cc_t>(dcb.XonChar);
    if (dcb.XoffChar != 0) settings.c_cc[VSTOP] = static_cast<cc_t>(dcb.XoffChar);
    return true;
}

void ReadDcb(const termios2& settings, DCB& dcb) {
    const tcflag_t cflag = settings.c_cflag;
    const tcflag_t code = cflag & CBAUD;
    dcb.BaudRate = code == BOTHER ? settings.c_ospeed : SpeedOfCode(code);
    dcb.ByteSize = ByteSizeOfBits(cflag);
    dcb.Parity = ParityOfBits(cflag);
    dcb.StopBits = (cflag & CSTOPB) != 0 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = 1;
    const bool hardwareFlow = (cflag & CRTSCTS) != 0;
    dcb.fOutxCtsFlow = hardwareFlow ? 1 : 0;
    if (hardwareFlow) {
        dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    } else if (dcb.fRtsControl == RTS_CONTROL_HANDSHAKE) {
        dcb.fRtsControl = RTS_CONTROL_ENABLE;
    }
    dcb.fOutX = (settings.c_iflag & IXON) != 0 ? 1 : 0;
    dcb.fInX = (settings.c_iflag & IXOFF) != 0 ? 1 : 0;
    dcb.XonChar = static_cast<char>(settings.c_cc[VSTART]);
    dcb.XoffChar = static_cast<char>(settings.c_cc[VSTOP]);
}

bool LineMatches(const DCB& dcb, const termios2& settings) {
    DCB taken = dcb;
    ReadDcb(settings, taken);
    const DWORD speedTolerance = dcb.BaudRate / 33;
    const DWORD speedError =
        taken.BaudRate > dcb.BaudRate ? taken.BaudRate - dcb.BaudRate : dcb.BaudRate - taken.BaudRate;
    const bool twoStopBits = dcb.StopBits != ONESTOPBIT;
    return speedError <= speedTolerance && taken.ByteSize == dcb.ByteSize && taken.Parity == dcb.Parity &&
           (taken.StopBits != ONESTOPBIT) == twoStopBits &&
           ((settings.c_cflag & CRTSCTS) != 0) == WantsHardwareFlow(dcb) && taken.fOutX == dcb.fOutX &&
           taken.fInX == dcb.fInX;
}

uint64_t TransmitMicroseconds(DWORD count, const termios2& settings) {
    DCB line;
    ReadDcb(settings, line);
    if (line.BaudRate == 0) return 0;
    const uint64_t bitsPerCharacter =
        1 + line.ByteSize + (line.Parity != NOPARITY ? 1 : 0) + (line.StopBits != ONESTOPBIT ? 2 : 1);
    return (uint64_t{count} * bitsPerCharacter * 1000000 + line.BaudRate - 1) / line.BaudRate;
}

}  // namespace vcl
