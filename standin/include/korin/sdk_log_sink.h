#ifndef KORIN_SDK_LOG_SINK_H_
#define KORIN_SDK_LOG_SINK_H_

#include <memory>
#include <string>
#include <vector>

#include "engine_export.h"
#include "rtc/logging.h"

namespace korin {

// Receives every record of an SdkLogSink, on the thread that wrote it.
class ENGINE_API SdkLogExecutor {
 public:
  virtual ~SdkLogExecutor();
  virtual void Log(const std::string& message, const std::vector<rtc::LogField>& fields) = 0;
};

class ENGINE_API SdkLogSink : public rtc::LogSink {
 public:
  explicit SdkLogSink(std::shared_ptr<SdkLogExecutor> executor);
  ~SdkLogSink() override;
  void OnLogRecord(const rtc::LogRecord& record) override;

 private:
  std::shared_ptr<SdkLogExecutor> executor_;
};

}  // namespace korin

#endif  // KORIN_SDK_LOG_SINK_H_
