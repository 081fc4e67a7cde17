#pragma once
// The program's start: the runtime and the control set made ready, the application titled, the
// main window created (its request composed). Tests call StartUp on the headless screen and drive
// the window without the event loop; main adds the loop.

namespace app {

inline constexpr const char* kApplicationTitle = "Velmo Modbus-RTU";

void StartUp();

}  // namespace app
