#include "platform/serial/SerialDevice.h"

#include "platform/serial/TermiosDevice.h"

namespace vcl {

namespace {

SerialDeviceFactory* installedFactory = nullptr;

}  // namespace

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
