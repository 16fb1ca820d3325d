// Progress and end of one export of the media track editor, delivered to the
// callback object given with it (item type 106). Retired when a later export
// replaces it: whatever it posts from then on, or has queued, is not delivered.
#ifndef LUMEN_CALLBACK_EXPORT_STATUS_CALLBACK_H_
#define LUMEN_CALLBACK_EXPORT_STATUS_CALLBACK_H_

#include <napi.h>

#include <atomic>
#include <memory>

#include "callback/addon_callback.h"
#include "record_engine/media_track_editor.h"

namespace lumen_addon {

class ExportStatusCallbackImpl : public record_engine::ExportStatusCallback,
                                 public AddonCallback,
                                 public std::enable_shared_from_this<ExportStatusCallbackImpl> {
 public:
  // `segments`: exportFinished also gets the duration and the segments.
  ExportStatusCallbackImpl(napi_env env, napi_value callback, bool segments)
      : AddonCallback(env, callback), segments_(segments) {}

  void onExportProgress(int progress) override;
  void onExportFinished(const record_engine::ExportResult& result) override;

  void Retire() { retired_.store(true, std::memory_order_release); }
  bool retired() const { return retired_.load(std::memory_order_acquire); }

 private:
  const bool segments_;
  std::atomic<bool> retired_{false};
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_EXPORT_STATUS_CALLBACK_H_
