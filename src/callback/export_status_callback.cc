#include "callback/export_status_callback.h"

#include <utility>
#include <vector>

#include "callback/async_callback_item.h"
#include "callback/callback_dispatcher.h"
#include "common/logging.h"

namespace lumen_addon {

namespace {

class ExportStatusItem : public EventItem {
 public:
  ExportStatusItem(std::shared_ptr<ExportStatusCallbackImpl> holder, const char* method, std::vector<EventArg> args)
      : EventItem(holder, method, kItemExportStatus, std::move(args)), status_(holder.get()) {}
  void Run() override {
    if (!status_->retired()) EventItem::Run();
  }

 private:
  const ExportStatusCallbackImpl* status_;  // kept alive by the item's holder
};

void Post(std::shared_ptr<ExportStatusCallbackImpl> self, const char* method, std::vector<EventArg> args) {
  if (!self || self->retired()) return;
  CallbackDispatcher::Post(new ExportStatusItem(std::move(self), method, std::move(args)));
}

}  // namespace

void ExportStatusCallbackImpl::onExportProgress(int progress) {
  LUMEN_LOG(kInfo, "ExportStatusCallbackImpl") << "onExportProgress:" << progress;
  Post(weak_from_this().lock(), "exportProgress", Args(Arg(int32_t{progress})));
}

void ExportStatusCallbackImpl::onExportFinished(const record_engine::ExportResult& result) {
  LUMEN_LOG(kInfo, "ExportStatusCallbackImpl") << "onExportFinished:" << result.error_code;
  std::vector<EventArg> args = Args(Fields(Field("errorCode", Arg(result.error_code)), Field("message", Arg(result.message))));
  if (segments_) {
    LUMEN_LOG(kInfo, "ExportStatusOnExportFinished")
        << "onExportFinished with segment info size:" << result.segment_infos.size();
    std::vector<EventArg> segments;
    segments.reserve(result.segment_infos.size());
    for (const auto& s : result.segment_infos)
      segments.push_back(Fields(Field("startTimeMs", Arg(s.start_time_ms)), Field("endTimeMs", Arg(s.end_time_ms))));
    args.push_back(Fields(Field("durationMs", Arg(result.duration_ms)), Field("segmentInfos", List(std::move(segments)))));
  }
  Post(weak_from_this().lock(), "exportFinished", std::move(args));
}

}  // namespace lumen_addon
