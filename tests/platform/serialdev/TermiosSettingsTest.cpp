// The record-to-termios mapping without a device. The bit values expected here are those
// termios(3) documents; the pty tests check the same through the kernel.

#include "platform/serialdev/TermiosSettings.h"

#include <gtest/gtest.h>

#include "tests/platform/serialdev/LineSettings.h"

namespace vcl {
namespace {

// What a freshly opened tty looks like: cooked, echoing, translating.
termios2 Cooked() {
    termios2 t{};
    t.c_iflag = ICRNL | IXON | IXANY | IMAXBEL | ISTRIP | INLCR | BRKINT;
    t.c_oflag = OPOST | ONLCR;
    t.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | IEXTEN;
    t.c_cflag = B38400 | CS8 | CREAD | HUPCL;
    t.c_cc[VSTART] = 0x11;
    t.c_cc[VSTOP] = 0x13;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 5;
    return t;
}

TEST(ApplyDcb, SpeedsWithoutACodeOfTheirOwnGoThroughBother) {
    for (DWORD speed : {9600u, 14400u, 56000u, 76800u, 230400u}) {
        termios2 t = Cooked();
        ASSERT_TRUE(ApplyDcb(Line(speed, 8, NOPARITY, ONESTOPBIT), t));
        const bool custom = speed == 14400 || speed == 56000 || speed == 76800;
        EXPECT_EQ((t.c_cflag & CBAUD) == BOTHER, custom) << speed;
        EXPECT_EQ(t.c_cflag & (CBAUD << IBSHIFT), 0u) << "input speed follows output";
    }
}

TEST(ApplyDcb, FramingRoundTripsWithOneAndAHalfStopBitsSentAsTwo) {
    for (BYTE size = 5; size <= 8; ++size) {
        for (BYTE parity = NOPARITY; parity <= SPACEPARITY; ++parity) {
            for (BYTE stop : {ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS}) {
                termios2 t = Cooked();
                ASSERT_TRUE(ApplyDcb(Line(4800, size, parity, stop), t));
                DCB back;
                ReadDcb(t, back);
                EXPECT_EQ(back.ByteSize, size);
                EXPECT_EQ(back.Parity, parity);
                EXPECT_EQ(back.StopBits, stop == ONESTOPBIT ? ONESTOPBIT : TWOSTOPBITS);
            }
        }
    }
    termios2 mark = Cooked();
    ASSERT_TRUE(ApplyDcb(Line(4800, 7, MARKPARITY, ONESTOPBIT), mark));
    EXPECT_EQ(mark.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), tcflag_t{CS7 | PARENB | PARODD | CMSPAR});
    termios2 space = Cooked();
    ASSERT_TRUE(ApplyDcb(Line(4800, 5, SPACEPARITY, TWOSTOPBITS), space));
    EXPECT_EQ(space.c_cflag & (CSIZE | PARENB | PARODD | CMSPAR | CSTOPB), tcflag_t{CS5 | PARENB | CMSPAR | CSTOPB});
}

TEST(ApplyDcb, RefusesWhatNoLineCanDoAndLeavesTheSettingsAlone) {
    const DCB refused[] = {Line(0, 8, NOPARITY, ONESTOPBIT), Line(9600, 4, NOPARITY, ONESTOPBIT),
                           Line(9600, 9, NOPARITY, ONESTOPBIT), Line(9600, 8, 5, ONESTOPBIT),
                           Line(9600, 8, NOPARITY, 3)};
    for (const DCB& dcb : refused) {
        termios2 t = Cooked();
        EXPECT_FALSE(ApplyDcb(dcb, t));
        EXPECT_EQ(t.c_cflag, Cooked().c_cflag);
        EXPECT_EQ(t.c_lflag, Cooked().c_lflag);
    }
}

TEST(ApplyDcb, IsRawAndKeepsOnlyTheFlowControlAsked) {
    DCB dcb = Line(9600, 8, EVENPARITY, ONESTOPBIT);
    dcb.fParity = 1;
    termios2 t = Cooked();
    ASSERT_TRUE(ApplyDcb(dcb, t));
    EXPECT_EQ(t.c_iflag, 0u) << "no translation, no parity marking, and no byte turned into NUL";
    EXPECT_EQ(t.c_oflag, 0u);
    EXPECT_EQ(t.c_lflag, 0u);
    EXPECT_EQ(t.c_cflag & (CLOCAL | CREAD | CRTSCTS), tcflag_t{CLOCAL | CREAD});
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);

    DCB hardware = Line(9600, 8, NOPARITY, ONESTOPBIT);
    hardware.fOutxCtsFlow = 1;
    hardware.fRtsControl = RTS_CONTROL_HANDSHAKE;
    ASSERT_TRUE(ApplyDcb(hardware, t));
    EXPECT_NE(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_iflag, 0u);

    DCB software = Line(9600, 8, NOPARITY, ONESTOPBIT);
    software.fOutX = 1;
    software.XonChar = 0x21;
    software.XoffChar = 0x23;
    ASSERT_TRUE(ApplyDcb(software, t));
    EXPECT_EQ(t.c_iflag, tcflag_t{IXON});
    EXPECT_EQ(t.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(t.c_cc[VSTART], 0x21);
    EXPECT_EQ(t.c_cc[VSTOP], 0x23);

    // Characters left zero keep the ones the line has.
    software.fInX = 1;
    software.XonChar = 0;
    software.XoffChar = 0;
    ASSERT_TRUE(ApplyDcb(software, t));
    EXPECT_EQ(t.c_iflag, tcflag_t{IXON | IXOFF});
    EXPECT_EQ(t.c_cc[VSTART], 0x21);
}

TEST(ReadDcb, KeepsWhatTermiosHasNoPlaceFor) {
    DCB dcb = Line(1, 1, 1, 1);
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_HANDSHAKE;
    dcb.fOutxCtsFlow = 1;
    dcb.XonLim = 100;
    dcb.XoffLim = 200;
    dcb.EofChar = 0x1A;
    dcb.EvtChar = 0x0D;
    dcb.fParity = 1;
    ReadDcb(Cooked(), dcb);
    EXPECT_EQ(dcb.BaudRate, 38400u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fRtsControl, RTS_CONTROL_ENABLE) << "no handshake left on the line";
    EXPECT_EQ(dcb.fOutX, 1u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.XonChar, 0x11);
    EXPECT_EQ(dcb.XoffChar, 0x13);
    EXPECT_EQ(dcb.fDtrControl, DTR_CONTROL_ENABLE);
    EXPECT_EQ(dcb.XonLim, 100);
    EXPECT_EQ(dcb.XoffLim, 200);
    EXPECT_EQ(dcb.EofChar, 0x1A);
    EXPECT_EQ(dcb.EvtChar, 0x0D);
    EXPECT_EQ(dcb.fParity, 1u);
}

TEST(MakeRaw, KeepsSpeedFramingAndHardwareFlowControl) {
    termios2 t = Cooked();
    t.c_cflag |= PARENB | CRTSCTS;
    t.c_iflag |= IXOFF;
    MakeRaw(t);
    EXPECT_EQ(t.c_iflag, 0u);
    EXPECT_EQ(t.c_oflag, 0u);
    EXPECT_EQ(t.c_lflag, 0u);
    EXPECT_EQ(t.c_cflag, tcflag_t{B38400 | CS8 | CREAD | HUPCL | PARENB | CRTSCTS | CLOCAL});
    EXPECT_EQ(t.c_cc[VMIN], 1);
    EXPECT_EQ(t.c_cc[VTIME], 0);
}

TEST(LineMatches, ToleratesRoundedSpeedsButNoOtherFraming) {
    const DCB asked = Line(76800, 7, MARKPARITY, ONE5STOPBITS);
    termios2 t = Cooked();
    ASSERT_TRUE(ApplyDcb(asked, t));
    EXPECT_TRUE(LineMatches(asked, t));

    termios2 rounded = t;
    rounded.c_ospeed = 76923;  // 3 MHz / 39, what a divider gives
    EXPECT_TRUE(LineMatches(asked, rounded));
    termios2 far = t;
    far.c_ospeed = 80000;
    EXPECT_FALSE(LineMatches(asked, far));

    // What a pseudo-terminal does to the framing.
    termios2 forced = t;
    forced.c_cflag = (forced.c_cflag & ~(CSIZE | PARENB)) | CS8;
    EXPECT_FALSE(LineMatches(asked, forced));
    termios2 oneStop = t;
    oneStop.c_cflag &= ~CSTOPB;
    EXPECT_FALSE(LineMatches(asked, oneStop));
    termios2 noFlow = t;
    DCB hardware = asked;
    hardware.fOutxCtsFlow = 1;
    EXPECT_FALSE(LineMatches(hardware, noFlow));
}

// The time pending output needs on the line, which bounds how long closing waits for it.
TEST(TransmitMicroseconds, EveryCharacterCarriesItsStartParityAndStopBits) {
    struct Case {
        DWORD count;
        DCB line;
        uint64_t microseconds;
    };
    const Case cases[] = {
        {960, Line(9600, 8, NOPARITY, ONESTOPBIT), 1000000},
        {10241, Line(9600, 8, NOPARITY, ONESTOPBIT), 10667709},  // 102410 bits, rounded up
        {800, Line(9600, 8, EVENPARITY, TWOSTOPBITS), 1000000},
        {11, Line(110, 5, NOPARITY, ONESTOPBIT), 700000},
        {1, Line(230400, 8, NOPARITY, ONESTOPBIT), 44},
        {0, Line(9600, 8, NOPARITY, ONESTOPBIT), 0},
    };
    for (const Case& c : cases) {
        termios2 t = Cooked();
        ASSERT_TRUE(ApplyDcb(c.line, t));
        EXPECT_EQ(TransmitMicroseconds(c.count, t), c.microseconds) << c.count << " at " << c.line.BaudRate;
    }
    termios2 hungUp = Cooked();
    hungUp.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    EXPECT_EQ(TransmitMicroseconds(100, hungUp), 0u) << "no speed, no wait";
}

}  // namespace
}  // namespace vcl
