// Log lines of the add-on go through the engine's rtc::LogMessage, tagged with
// the writing file's path and class. Nothing is built below min_sev_.
#ifndef LUMEN_COMMON_LOGGING_H_
#define LUMEN_COMMON_LOGGING_H_

#include <ostream>

#include "common/source_path.h"
#include "rtc/logging.h"

namespace lumen_addon {

enum Severity : int {
  kVerbose = rtc::LS_VERBOSE,
  kInfo = rtc::LS_INFO,
  kWarning = rtc::LS_WARNING,
  kError = rtc::LS_ERROR,
};

inline bool LogOn(int sev) { return sev >= rtc::LogMessage::min_sev_; }

// Held while a log record is delivered to a JavaScript executor on this
// thread. Lines written meanwhile (by the executor's method, or about its
// failure) reach no JavaScript executor: each would come back as a record of
// its own, to the same executor or, with two of them, to each other in turn,
// and the wake-up would never end.
class LogDelivery {
 public:
  LogDelivery() : outer_(active_) { active_ = true; }
  ~LogDelivery() { active_ = outer_; }
  LogDelivery(const LogDelivery&) = delete;
  LogDelivery& operator=(const LogDelivery&) = delete;

  static bool Active() { return active_; }

 private:
  static inline thread_local bool active_ = false;
  const bool outer_;
};

}  // namespace lumen_addon

#define LUMEN_SOURCE_FILE                                                   \
  ([]() -> const char* {                                                    \
    static constexpr auto kPath = ::lumen_addon::TrimSourcePath(__FILE__);        \
    return kPath.text;                                                      \
  }())

namespace lumen_addon {
// Lets a whole streamed log statement be the discarded arm of a conditional.
struct LogVoidify {
  void operator&(std::ostream&) {}
};
}  // namespace lumen_addon

// LUMEN_LOG(kError, "EngineAddon") << "streaming engine is not created yet";
// The message is neither built nor formatted below the minimum severity.
#define LUMEN_LOG(sev, tag)                                                                   \
  !::lumen_addon::LogOn(sev) ? (void)0                                                              \
                       : ::lumen_addon::LogVoidify() &                                              \
                             ::rtc::LogMessage(LUMEN_SOURCE_FILE, __LINE__,                   \
                                               static_cast<::rtc::LoggingSeverity>(sev), tag) \
                                 .stream()

// The tagless form, for the few classes that log without a tag.
#define LUMEN_LOG_UNTAGGED(sev)                                                                         \
  !::lumen_addon::LogOn(sev) ? (void)0                                                                        \
                       : ::lumen_addon::LogVoidify() &                                                        \
                             ::rtc::LogMessage(LUMEN_SOURCE_FILE, __LINE__,                             \
                                               static_cast<::rtc::LoggingSeverity>(sev),                \
                                               ::rtc::ERRCTX_NONE, 0, nullptr)                          \
                                 .stream()

#endif  // LUMEN_COMMON_LOGGING_H_
