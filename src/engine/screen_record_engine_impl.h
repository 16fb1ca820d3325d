// The screen recorder behind screenRecordEngine_*: the classic record engine,
// or (when the source flag chose it for this object) a newer screen recorder
// made by each start. Used on the JavaScript thread only; its events go
// through the callback bridge, which items keep alive.
#ifndef LUMEN_ENGINE_SCREEN_RECORD_ENGINE_IMPL_H_
#define LUMEN_ENGINE_SCREEN_RECORD_ENGINE_IMPL_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "callback/screen_record_engine_callback.h"
#include "common/logging.h"
#include "engine/screen_audio_source.h"
#include "engine/screen_record_params.h"
#include "korin/qx_screen_record_engine.h"
#include "record_engine/record_engine.h"

namespace lumen_addon {

class ScreenRecordEngineImpl {
 public:
  static constexpr char kTag[] = "ScreenRecordEngineImpl";

  ScreenRecordEngineImpl(napi_env env, napi_value callback);
  ~ScreenRecordEngineImpl();
  ScreenRecordEngineImpl(const ScreenRecordEngineImpl&) = delete;
  ScreenRecordEngineImpl& operator=(const ScreenRecordEngineImpl&) = delete;

  // Fixed for the object's life by "enableNewScreenRecordEngine20250807".
  bool uses_screen_recorder() const { return use_screen_recorder_; }
  bool agc_when_pause() const { return agc_when_pause_; }

  int InitRecordEngine(const std::string& params, const std::string& sdk_version);
  int StartRecord(const ScreenRecordParams& params);
  int PauseRecord();
  int ResumeRecord();
  int StopRecord(bool save);
  // The bytes are read during the call only.
  int NewAudioData(const uint8_t* data, size_t size);
  int DeleteLastSegment();
  int64_t GetRecordDurationMs();

  // Stops and deletes the engines (the inner one first), then lets the
  // audio source go; later calls log and answer -1. Idempotent.
  void Shutdown();

 private:
  // The newer recorder with the adapter it calls, deleted in that order.
  struct Inner {
    korin::QXScreenRecordEngineInterface* engine = nullptr;
    std::unique_ptr<korin::QXScreenRecordEngineCallback> adapter;
    ~Inner();
  };

  int StartRecordUseNewEngine(const ScreenRecordParams& params);
  int StartRecordUseOldEngine(const record_engine::RecordParams& params);
  int PauseOrResume(bool pause);
  // Runs `op` with the newer recorder of the recording started last, or logs
  // `missing` and answers -1 without one.
  template <typename Op>
  auto OnInner(const char* missing, Op&& op) -> decltype(op(std::declval<korin::QXScreenRecordEngineInterface*>())) {
    if (inner_) return op(inner_->engine);
    LUMEN_LOG(kError, kTag) << missing;
    return -1;
  }
  // The paused processing switch of the classic path's audio source, if any.
  void SwitchPausedProcessing(bool paused);
  bool Closed(const char* what);

  const std::shared_ptr<RecordEngineCallbackBridge> bridge_;
  const bool use_screen_recorder_;
  const bool agc_when_pause_;
  record_engine::RecordEngineInterface* classic_ = nullptr;
  std::unique_ptr<Inner> inner_;
  std::unique_ptr<ScreenAudioSource> audio_;
  bool closed_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_SCREEN_RECORD_ENGINE_IMPL_H_
