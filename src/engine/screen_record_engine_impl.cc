#include "engine/screen_record_engine_impl.h"

#include <utility>

#include "common/logging.h"
#include "tavel/source_flag.h"

namespace lumen_addon {

ScreenRecordEngineImpl::Inner::~Inner() {
  // The engine first: it may call the adapter until it is gone.
  if (engine) korin::QXScreenRecordEngineInterface::DestroyScreenRecordEngine(engine);
  adapter.reset();
}

ScreenRecordEngineImpl::ScreenRecordEngineImpl(napi_env env, napi_value callback)
    : bridge_(std::make_shared<RecordEngineCallbackBridge>(env, callback)),
      use_screen_recorder_(tavel::GetSourceFlagWithKey("enableNewScreenRecordEngine20250807")),
      agc_when_pause_(tavel::GetSourceFlagWithKey("enableAGCWhenPauseScreenRecord")) {
  LUMEN_LOG(kInfo, kTag) << "ScreenRecordEngineImpl()";
  classic_ = record_engine::RecordEngineInterface::createNewRecordEngine();
}

ScreenRecordEngineImpl::~ScreenRecordEngineImpl() { Shutdown(); }

void ScreenRecordEngineImpl::Shutdown() {
  if (closed_) return;
  closed_ = true;
  LUMEN_LOG(kInfo, kTag) << "~ScreenRecordEngineImpl()";
  LUMEN_LOG(kInfo, kTag) << "ScreenRecordEngineImpl destroyRecordEngine";
  inner_.reset();
  // The microphone feeds the classic engine: it stops before that goes.
  audio_.reset();
  if (classic_) record_engine::RecordEngineInterface::destroyRecordEngine(classic_);
  classic_ = nullptr;
}

bool ScreenRecordEngineImpl::Closed(const char* what) {
  if (closed_) LUMEN_LOG(kWarning, kTag) << what << " failed: the screen record engine is destroyed";
  return closed_;
}

int ScreenRecordEngineImpl::InitRecordEngine(const std::string& params, const std::string& sdk_version) {
  LUMEN_LOG(kInfo, kTag) << "initRecordEngine";
  if (Closed("initRecordEngine")) return -1;
  if (use_screen_recorder_) return 0;
  const bool audio_recording =
      tavel::GetSourceFlagWithKey("enableUsingAudioEngineRecording_ScreenRecord4.57.0") &&
      tavel::GetAudioEngineSourceFlagWithKey("enableUsingAudioEngine4.54.0");
  if (audio_recording) LUMEN_LOG(kInfo, kTag) << "using new audio engine";
  tavel::Ticket ticket;
  ticket.engine_params = params;
  ticket.sdk_version = sdk_version;
  audio_ = std::make_unique<ScreenAudioSource>(audio_recording, ticket, classic_);
  const int r = classic_ ? classic_->setCallback(bridge_.get()) : -1;
  LUMEN_LOG(kInfo, kTag) << "initRecordEngine ret:" << r;
  return r;
}

int ScreenRecordEngineImpl::StartRecord(const ScreenRecordParams& params) {
  LUMEN_LOG(kInfo, kTag) << "startRecord ";
  if (Closed("startRecord")) return -1;
  return use_screen_recorder_ ? StartRecordUseNewEngine(params) : StartRecordUseOldEngine(params.classic);
}

int ScreenRecordEngineImpl::StartRecordUseNewEngine(const ScreenRecordParams& params) {
  LUMEN_LOG(kVerbose, kTag) << "ScreenRecordEngineImpl::startRecordUseNewEngine() start";
  inner_.reset();
  auto inner = std::make_unique<Inner>();
  inner->engine = korin::QXScreenRecordEngineInterface::CreateScreenRecordEngine(params.engine);
  if (!inner->engine) {
    LUMEN_LOG(kError, kTag) << "ScreenRecordEngineImpl::startRecordUseNewEngine() CreateScreenRecordEngine failed";
    return -1;
  }
  inner->adapter = bridge_->NewAdapter();
  inner->engine->SetCallback(inner->adapter.get());
  if (inner->engine->InitRecord() != 0) {
    LUMEN_LOG(kError, kTag) << "ScreenRecordEngineImpl::startRecordUseNewEngine() InitRecord failed";
    return -1;
  }
  const int captured = inner->engine->StartCapture(params.capture);
  if (captured != 0) {
    LUMEN_LOG(kError, kTag) << "ScreenRecordEngineImpl::startRecordUseNewEngine() StartCapture failed";
    return captured;
  }
  inner_ = std::move(inner);
  return inner_->engine->StartRecord(params.media);
}

int ScreenRecordEngineImpl::StartRecordUseOldEngine(const record_engine::RecordParams& p) {
  LUMEN_LOG(kInfo, kTag) << "startRecord " << " windowId:" << p.wind_id << " static_params:"
                         << DetectorText(p.frame_detector) << " enable_aec:" << p.enable_aec
                         << " enable_audio_mix:" << p.enable_audio_mix;
  if (p.enable_audio_mix && audio_ && !audio_->empty() && !audio_->uses_audio_recording()) {
    LUMEN_LOG(kWarning, kTag)
        << "audio mix mode only support new audio engine, switch to new audio engine, this should not happen";
    audio_->SwitchToAudioRecording();
  }
  if (audio_ && !audio_->empty()) audio_->Start(p.enable_aec);
  return classic_ ? classic_->startRecord(p) : -1;
}

void ScreenRecordEngineImpl::SwitchPausedProcessing(bool paused) {
  if (agc_when_pause_ || !audio_ || audio_->empty()) return;
  audio_->SetProcessingBypass(ScreenAudioSource::kPausedModule, paused);
}

int ScreenRecordEngineImpl::PauseRecord() { return PauseOrResume(true); }
int ScreenRecordEngineImpl::ResumeRecord() { return PauseOrResume(false); }

int ScreenRecordEngineImpl::PauseOrResume(bool pause) {
  const char* what = pause ? "pauseRecord" : "resumeRecord";
  LUMEN_LOG(kInfo, kTag) << what;
  if (Closed(what)) return -1;
  const char* failed = pause ? "ScreenRecordEngineImpl::pauseRecordUseNewEngine failed"
                             : "ScreenRecordEngineImpl::resumeRecordUseNewEngine failed";
  int r = -1;
  if (!use_screen_recorder_) {
    if (classic_) r = pause ? classic_->pauseRecord() : classic_->resumeRecord();
  } else if (!inner_) {
    LUMEN_LOG(kError, kTag) << failed << ", inner_engine_ is null";
  } else if ((r = pause ? inner_->engine->PauseRecord() : inner_->engine->ResumeRecord()) != 0) {
    LUMEN_LOG(kError, kTag) << failed << ", ret:" << r;
  }
  SwitchPausedProcessing(pause);
  return r;
}

int ScreenRecordEngineImpl::StopRecord(bool save) {
  LUMEN_LOG(kInfo, kTag) << "stopRecord";
  if (Closed("stopRecord")) return -1;
  if (use_screen_recorder_)
    return OnInner("ScreenRecordEngineImpl::stopRecordUseNewEngine failed, inner_engine_ is null",
                   [&](auto* engine) { return engine->StopRecord(save); });
  const int r = classic_ ? classic_->stopRecord(save) : -1;
  // The microphone this recording started: a later start would find it running.
  if (audio_) audio_->Stop();
  return r;
}

int ScreenRecordEngineImpl::NewAudioData(const uint8_t* data, size_t size) {
  if (Closed("newScreenAudioDataReady")) return -1;
  if (!use_screen_recorder_) return classic_ ? classic_->inputAudioData(data, size) : -1;
  return OnInner("ScreenRecordEngineImpl::newScreenAudioDataReady() inner_engine_ is null",
                 [&](auto* engine) { return engine->InputAudioData(data, size); });
}

int ScreenRecordEngineImpl::DeleteLastSegment() {
  if (Closed("deleteLastSegment")) return -1;
  if (!use_screen_recorder_) {
    LUMEN_LOG(kError, kTag)
        << "ScreenRecordEngineImpl::deleteLastSegment() deleteLastSegment is not supported in old record engine";
    return -1;
  }
  return OnInner("ScreenRecordEngineImpl::deleteLastSegment() inner_engine_ is null",
                 [](auto* engine) { return engine->DeleteLastSegment(); });
}

int64_t ScreenRecordEngineImpl::GetRecordDurationMs() {
  if (Closed("getRecordDurationMs")) return -1;
  if (!use_screen_recorder_) return classic_ ? classic_->getRecordDurationMs() : -1;
  return OnInner("ScreenRecordEngineImpl::getRecordDurationMs() inner_engine_ is null",
                 [](auto* engine) { return engine->GetRecordDurationMs(); });
}

}  // namespace lumen_addon
