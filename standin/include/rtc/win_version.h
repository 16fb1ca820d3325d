#ifndef RTC_WIN_VERSION_H_
#define RTC_WIN_VERSION_H_

#include "engine_export.h"

namespace rtc {
namespace rtc_win {

// Ordered versions of Windows; 5 is Windows 8.
enum Version { VERSION_PRE_XP = 0, VERSION_XP, VERSION_SERVER_2003, VERSION_VISTA, VERSION_WIN7, VERSION_WIN8, VERSION_WIN10 = 7 };
ENGINE_API Version GetVersion();

}  // namespace rtc_win
}  // namespace rtc

#endif  // RTC_WIN_VERSION_H_
