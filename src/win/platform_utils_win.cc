#include "win/platform_utils_win.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace lumen_addon {
namespace platform {

namespace {

struct Version {
  unsigned long major;
  unsigned long minor;
};

Version OsVersion() {
#ifdef _WIN32
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
#pragma warning(suppress : 4996)
  if (GetVersionExW(&info)) return {info.dwMajorVersion, info.dwMinorVersion};
  return {0, 0};
#else
  return {10, 0};
#endif
}

}  // namespace

std::string PlatformString() {
  const Version v = OsVersion();
  return "win_" + std::to_string(v.major) + "." + std::to_string(v.minor);
}

}  // namespace platform
}  // namespace lumen_addon
