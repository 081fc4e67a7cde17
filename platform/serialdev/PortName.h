#pragma once
// The port names CreateFileA accepts and the folders a port number is looked up in.

#include <optional>
#include <string>
#include <string_view>

namespace vcl {

inline constexpr int kMaxPortNumber = 255;

// The n of "COMn" (1..255, no leading zero, "COM" in any case), alone or after the device
// prefix: the usual four characters \\.\ or the five \\.\\ the serial component passes.
std::optional<int> ParsePortName(std::string_view name);

// Where "COMn" is looked up. The defaults are the live system's folders.
struct PortFolders {
    std::string ports;                     // entries COMn, symlinks to devices
    std::string dev = "/dev";              // device nodes
    std::string sysClassTty = "/sys/class/tty";

    // ${XDG_CONFIG_HOME:-$HOME/.config}/velmo-modbus/ports, read from the environment now.
    static PortFolders FromEnvironment();
};

// The device path of port n: the ports folder's entry COMn when there is one (a dangling entry
// resolves to its missing target rather than to another device), otherwise the n-th present
// device counting ttyUSB, then ttyACM, then on-board ttyS and ttyAMA that have real hardware
// behind them, each group in numeric order. Empty when there is no such device.
std::optional<std::string> ResolvePortPath(int portNumber, const PortFolders& folders);

}  // namespace vcl
