#ifndef RTC_SOURCE_FLAG_H_
#define RTC_SOURCE_FLAG_H_

#include <string>

#include "engine_export.h"

namespace rtc {

class ENGINE_API SourceFlag {
 public:
  static SourceFlag* instance();
  bool is_enable(const std::string& key) const;

 private:
  SourceFlag() = default;
};

}  // namespace rtc

#endif  // RTC_SOURCE_FLAG_H_
