// The answers of platform_utils_win.h away from Windows; built everywhere
// but Windows.
#include <sys/utsname.h>

#include <cctype>
#include <cstdlib>

#include "common/logging.h"
#include "win/platform_utils_win.h"

namespace lumen_addon {
namespace platform {

std::string PlatformString() {
  struct utsname u {};
  if (uname(&u) != 0) return "unknown_0.0";
  std::string name;
  for (const char* c = u.sysname; *c; ++c) name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
  // "6.1.0-18-amd64" -> 6.1
  char* end = nullptr;
  const long major = std::strtol(u.release, &end, 10);
  const long minor = *end == '.' ? std::strtol(end + 1, nullptr, 10) : 0;
  return name + "_" + std::to_string(major) + "." + std::to_string(minor);
}

bool RequestScreenCaptureAccess() {
  LUMEN_LOG(kInfo, "request_screen_capture_access") << "Cur user is not Admin";
  LUMEN_LOG(kInfo, "request_screen_capture_access") << "Cur Process is restrict token";
  return true;
}

void PinModule(const void*) {}

}  // namespace platform
}  // namespace lumen_addon
