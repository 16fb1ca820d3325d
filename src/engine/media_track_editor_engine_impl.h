// The media track editor behind mediaTrackEditorEngine_*. Used on the
// JavaScript thread only; each export reports through a status callback of
// its own, and the callbacks of earlier exports are kept, retired, until the
// editor is gone.
#ifndef LUMEN_ENGINE_MEDIA_TRACK_EDITOR_ENGINE_IMPL_H_
#define LUMEN_ENGINE_MEDIA_TRACK_EDITOR_ENGINE_IMPL_H_

#include <napi.h>

#include <memory>
#include <string>
#include <vector>

#include "callback/export_status_callback.h"
#include "common/logging.h"
#include "record_engine/media_track_editor.h"

namespace lumen_addon {

class MediaTrackEditorEngineImpl {
 public:
  static constexpr char kTag[] = "MediaTrackEditorEngineImpl";

  MediaTrackEditorEngineImpl();
  ~MediaTrackEditorEngineImpl();
  MediaTrackEditorEngineImpl(const MediaTrackEditorEngineImpl&) = delete;
  MediaTrackEditorEngineImpl& operator=(const MediaTrackEditorEngineImpl&) = delete;

  // The editor's initialisation code; -1 when there is no editor.
  int Init();

  // Runs `op` with the editor, or logs `failure` and answers -1 without one.
  template <typename Op>
  int Call(const char* failure, Op&& op) {
    if (!editor_) {
      LUMEN_LOG(kWarning, kTag) << failure;
      return -1;
    }
    return op(editor_);
  }

  // Positions in milliseconds.
  int Insert(const std::string& path, int64_t pos_ms);
  int Delete(int64_t start_ms, int64_t end_ms);
  int Append(const std::string& path);
  int Replace(const std::string& path, int64_t start_ms, int64_t end_ms);
  int64_t Duration();
  int Export(const std::string& path, napi_env env, napi_value callback, bool segments);

  // Releases and deletes the editor; idempotent.
  void Shutdown();

 private:
  record_engine::MediaTrackEditorEngineInterface* editor_ = nullptr;
  std::shared_ptr<ExportStatusCallbackImpl> status_;
  std::vector<std::shared_ptr<ExportStatusCallbackImpl>> retired_;
  bool shut_down_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_MEDIA_TRACK_EDITOR_ENGINE_IMPL_H_
