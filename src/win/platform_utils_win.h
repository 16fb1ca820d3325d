// What the exports ask of the operating system. src/win/platform_utils_win.cc
// makes the Win32 calls; src/win/platform_utils_posix.cc gives the answers
// documented below on every other system, where the add-on runs for tests
// and demos.
#ifndef LUMEN_WIN_PLATFORM_UTILS_WIN_H_
#define LUMEN_WIN_PLATFORM_UTILS_WIN_H_

#include <string>

namespace lumen_addon {
namespace platform {

// "win_" + major + "." + minor of the running Windows (GetVersionExW).
// Elsewhere the system's name in lower case and its kernel release's
// major.minor: "linux_6.1", "darwin_23.4".
std::string PlatformString();

// The administrator and token check before screen capture, with its log
// lines (tag "request_screen_capture_access"): false only for a process
// running with a full (elevated) token. Elsewhere the answer of a standard
// user's limited token: not an administrator, true.
bool RequestScreenCaptureAccess();

// Keeps the module containing `address` loaded until the process ends:
// Node unloads an add-on when the worker that loaded it ends, while engine
// threads may still run its code. Elsewhere the linker's -z nodelete does
// it and this does nothing.
void PinModule(const void* address);

}  // namespace platform
}  // namespace lumen_addon

#endif  // LUMEN_WIN_PLATFORM_UTILS_WIN_H_
