// Windows facts the exports report. Elsewhere a stand-in answers as a
// Windows 10 machine without elevation would.
#ifndef LUMEN_WIN_PLATFORM_UTILS_WIN_H_
#define LUMEN_WIN_PLATFORM_UTILS_WIN_H_

#include <string>

namespace lumen_addon {
namespace platform {

// "win_" + major + "." + minor of the running Windows.
std::string PlatformString();

}  // namespace platform
}  // namespace lumen_addon

#endif  // LUMEN_WIN_PLATFORM_UTILS_WIN_H_
