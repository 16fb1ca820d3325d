#ifndef RTC_LOGGING_H_
#define RTC_LOGGING_H_

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine_export.h"

namespace rtc {

enum LoggingSeverity {
  LS_VERBOSE = 8,
  LS_INFO = 9,
  LS_WARNING = 10,
  LS_ERROR = 12,
  LS_NONE = 13,
};

enum LogErrorContext { ERRCTX_NONE = 0, ERRCTX_ERRNO = 1, ERRCTX_HRESULT = 2 };

// One key/value of a log record, in the order the engine writes them.
struct LogField {
  std::string key;
  std::string value;
};

struct LogRecord {
  std::string message;
  LoggingSeverity severity = LS_INFO;
  std::vector<LogField> fields;
};

class ENGINE_API LogSink {
 public:
  virtual ~LogSink();
  // Called on the writing thread; the record is only valid during the call.
  virtual void OnLogRecord(const LogRecord& record) = 0;
};

class ENGINE_API LogMessage {
 public:
  LogMessage(const char* file, int line, LoggingSeverity sev, const char* tag);
  LogMessage(const char* file, int line, LoggingSeverity sev,
             LogErrorContext err_ctx = ERRCTX_NONE, int err = 0,
             const char* module = nullptr);
  LogMessage(const LogMessage&) = delete;
  LogMessage& operator=(const LogMessage&) = delete;
  ~LogMessage();

  std::ostream& stream();

  // Lines below this severity must not even be formatted.
  static LoggingSeverity min_sev_;

  // The sink stays owned by the caller; it is called until removed or cleared.
  static void AddLogToStream(LogSink* sink, LoggingSeverity min_sev);
  static void RemoveLogToStream(LogSink* sink);
  // After return no sink is being called any more.
  static void ClearStreams();

  static void AddEpisodeId(const std::string& room_type, int64_t episode_id);
  static void RemoveEpisodeId();
  static void SetSdkVersion(const std::string& sdk_version);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace rtc

#endif  // RTC_LOGGING_H_
