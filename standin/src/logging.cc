#include "rtc/logging.h"

#include <algorithm>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>

#include "sim/sim.h"

namespace rtc {

LoggingSeverity LogMessage::min_sev_ = LS_INFO;

namespace {

struct Streams {
  std::mutex mu;
  std::vector<std::pair<LogSink*, LoggingSeverity>> sinks;
  std::string room_type;
  int64_t episode_id = 0;
  bool has_episode = false;
  std::string sdk_version;
};

Streams& St() {
  static Streams* s = new Streams;
  return *s;
}

const char* SeverityName(LoggingSeverity sev) {
  switch (sev) {
    case LS_VERBOSE: return "verbose";
    case LS_INFO: return "info";
    case LS_WARNING: return "warning";
    case LS_ERROR: return "error";
    default: return "none";
  }
}

std::string ThreadName() {
  std::ostringstream os;
  os << std::this_thread::get_id();
  return os.str();
}

}  // namespace

LogSink::~LogSink() = default;

struct LogMessage::Impl {
  std::string file;
  int line;
  LoggingSeverity sev;
  std::string tag;
  std::ostringstream os;
};

LogMessage::LogMessage(const char* file, int line, LoggingSeverity sev, const char* tag)
    : impl_(new Impl{file ? file : "", line, sev, tag ? tag : "", {}}) {}

LogMessage::LogMessage(const char* file, int line, LoggingSeverity sev, LogErrorContext,
                       int, const char*)
    : impl_(new Impl{file ? file : "", line, sev, "", {}}) {}

std::ostream& LogMessage::stream() { return impl_->os; }

LogMessage::~LogMessage() {
  // Lines under the minimum are still built when a caller forgot to check;
  // they are counted so that such callers show up, but never emitted.
  sim::NoteLogMessage();
  if (impl_->sev < min_sev_) return;
  std::string text = impl_->os.str();
  sim::CaptureLogLine({impl_->file, impl_->line, static_cast<int>(impl_->sev), impl_->tag, text});

  Streams& s = St();
  std::lock_guard<std::mutex> lock(s.mu);
  if (s.sinks.empty()) return;
  LogRecord record;
  record.message = text;
  record.severity = impl_->sev;
  record.fields = {{"file", impl_->file},
                   {"line", std::to_string(impl_->line)},
                   {"severity", SeverityName(impl_->sev)},
                   {"tag", impl_->tag},
                   {"thread", ThreadName()}};
  if (s.has_episode) {
    record.fields.push_back({"roomType", s.room_type});
    record.fields.push_back({"episodeId", std::to_string(s.episode_id)});
  }
  if (!s.sdk_version.empty()) record.fields.push_back({"sdkVersion", s.sdk_version});
  for (auto& sink : s.sinks)
    if (impl_->sev >= sink.second) sink.first->OnLogRecord(record);
}

void LogMessage::AddLogToStream(LogSink* sink, LoggingSeverity min_sev) {
  sim::Record("rtc.LogMessage.AddLogToStream", sim::ArgsJson(static_cast<int>(min_sev)));
  std::lock_guard<std::mutex> lock(St().mu);
  St().sinks.emplace_back(sink, min_sev);
}

void LogMessage::RemoveLogToStream(LogSink* sink) {
  std::lock_guard<std::mutex> lock(St().mu);
  auto& v = St().sinks;
  v.erase(std::remove_if(v.begin(), v.end(), [&](auto& p) { return p.first == sink; }), v.end());
}

void LogMessage::ClearStreams() {
  std::lock_guard<std::mutex> lock(St().mu);
  St().sinks.clear();
}

void LogMessage::AddEpisodeId(const std::string& room_type, int64_t episode_id) {
  sim::Record("rtc.LogMessage.AddEpisodeId", sim::ArgsJson(room_type, episode_id));
  std::lock_guard<std::mutex> lock(St().mu);
  St().room_type = room_type;
  St().episode_id = episode_id;
  St().has_episode = true;
}

void LogMessage::RemoveEpisodeId() {
  sim::Record("rtc.LogMessage.RemoveEpisodeId", "[]");
  std::lock_guard<std::mutex> lock(St().mu);
  St().has_episode = false;
  St().room_type.clear();
  St().episode_id = 0;
}

void LogMessage::SetSdkVersion(const std::string& sdk_version) {
  sim::Record("rtc.LogMessage.SetSdkVersion", sim::ArgsJson(sdk_version));
  std::lock_guard<std::mutex> lock(St().mu);
  St().sdk_version = sdk_version;
}

namespace {
const bool kResetHook = (sim::OnReset([] {
  LogMessage::min_sev_ = LS_INFO;
  std::lock_guard<std::mutex> lock(St().mu);
  St().has_episode = false;
  St().sdk_version.clear();
}), true);
}  // namespace

}  // namespace rtc
