#ifndef RTC_STRING_UTILS_H_
#define RTC_STRING_UTILS_H_

#include <string>

#include "engine_export.h"

namespace rtc {

ENGINE_API std::string Utf8ToAnsi(const std::string& utf8);
ENGINE_API std::string AnsiToUtf8(const std::string& ansi);

}  // namespace rtc

#endif  // RTC_STRING_UTILS_H_
