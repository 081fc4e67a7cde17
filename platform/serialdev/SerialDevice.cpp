#include "platform/serialdev/SerialDevice.h"

#include "platform/serialdev/TermiosDevice.h"

namespace vcl {

namespace {

SerialDeviceFactory* installedFactory = nullptr;

}  // namespace

DCB FreshPortState() {
    DCB dcb;
    dcb.BaudRate = 9600;
    dcb.fBinary = 1;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.XonLim = 2048;
    dcb.XoffLim = 512;
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.StopBits = ONESTOPBIT;
    dcb.XonChar = 0x11;
    dcb.XoffChar = 0x13;
    return dcb;
}

SerialDeviceFactory& CurrentSerialDeviceFactory() {
    if (installedFactory != nullptr) return *installedFactory;
    static TermiosDeviceFactory termiosFactory;
    return termiosFactory;
}

SerialDeviceFactory* InstallSerialDeviceFactory(SerialDeviceFactory* factory) {
    SerialDeviceFactory* previous = installedFactory;
    installedFactory = factory;
    return previous;
}

}  // namespace vcl
