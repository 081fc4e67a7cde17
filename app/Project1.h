#pragma once
// The program's start: the runtime and the control set made ready, the application titled, the
// main window created (its request composed). Tests call StartUp on the headless screen and drive
// the window without the event loop; main adds the loop.

namespace app {

inline constexpr const char* kApplicationTitle = "Velmo Modbus-RTU";

void StartUp();
// The end of a run, in this order: the forms (the port closed with its window), then every window
// and the backend's hold on them. Process-wide objects are never destroyed, so nothing of this
// is left to the order of static destruction.
void ShutDown();

}  // namespace app
