// The simulated camera recorder: a preview whose frames go to the registered
// callback (held as the sink "sink:cameraRecorder"), and one recording at a
// time whose events go to the callback given with its start.
#include <mutex>
#include <string>

#include "live/internal.h"
#include "record_engine/camera_record_engine.h"
#include "record_engine/common_error_code.h"
#include "recording/recorder_state.h"
#include "recording/recording_records.h"
#include "sim/methods.h"
#include "sim/sim.h"

namespace recording {
namespace {

using record_engine::CommonErrorCode;

#define CAMERA(m) "record_engine.CameraRecordEngineInterface." m
constexpr char kPreviewSink[] = "sink:cameraRecorder";

class CameraRecorder : public record_engine::CameraRecordEngineInterface {
 public:
  CameraRecorder() {
    live::CountObject("cameraRecordEngines", 1);
  }
  ~CameraRecorder() override {
    sim::Release(owner_);
    live::CountObject("cameraRecordEngines", -1);
  }

  int init(const std::string& engine_params, const std::string& sdk_version) override {
    return sim::Call(CAMERA("init"), engine_params, sdk_version);
  }
  int registerCallback(record_engine::CameraRecordEngineCallback* cb) override {
    const int r = sim::Call(CAMERA("registerCallback"), static_cast<const void*>(cb));
    using C = record_engine::CameraRecordEngineCallback;
    sim::HoldMethods<C>(owner_, "CameraRecordEngineCallback", cb,
                        {SIM_METHOD(OnPreviewStarted), SIM_METHOD(OnPreviewStopped), SIM_METHOD(OnCameraError),
                         SIM_METHOD(OnRecordProgress)});
    // Waits for a frame in flight: the old callback is not called afterwards.
    std::lock_guard<std::mutex> lock(frame_mu_);
    callback_ = cb;
    return r;
  }
  int startPreview(const record_engine::CameraPreviewConfig& c) override {
    const int r = sim::Call(CAMERA("startPreview"), c);
    if (r != 0) return r;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (previewing_) return CommonErrorCode::kWrongState;
      previewing_ = true;
    }
    live::HoldFrameSink(owner_, kPreviewSink, [this](const korin::QXVideoFrame& frame) {
      std::lock_guard<std::mutex> lock(frame_mu_);
      if (callback_) callback_->OnPreviewFrame(frame);
    });
    FireSoon(owner_, "CameraRecordEngineCallback.OnPreviewStarted");
    return 0;
  }
  int stopPreview() override {
    const int r = sim::Call(CAMERA("stopPreview"));
    if (r != 0) return r;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (!previewing_) return CommonErrorCode::kWrongState;
      previewing_ = false;
    }
    sim::ReleaseName(kPreviewSink, owner_);
    FireSoon(owner_, "CameraRecordEngineCallback.OnPreviewStopped");
    return 0;
  }
  int startRecord(const record_engine::RecordConfig& c, record_engine::CameraRecordCallback* cb) override {
    // The recording's callback is taken before the start is reported: it hears it.
    const int r = rec_.Started(sim::Call(CAMERA("startRecord"), c, static_cast<const void*>(cb)), c.record_width,
                               c.record_height, 30, [&] {
                                 using C = record_engine::CameraRecordCallback;
                                 sim::HoldMethods<C>(owner_, "CameraRecordCallback", cb,
                                                     {SIM_METHOD(OnRecordStarted), SIM_METHOD(OnRecordStopped),
                                                      SIM_METHOD(OnRecordError)});
                               });
    if (r == 0) {
      std::lock_guard<std::mutex> lock(mu_);
      root_ = c.output_dir;
    }
    return r;
  }
  int stopRecord(bool need_save) override {
    std::string root;
    {
      std::lock_guard<std::mutex> lock(mu_);
      root = root_;
    }
    return rec_.Stopped(sim::Call(CAMERA("stopRecord"), need_save), root, "", need_save);
  }

 private:
  Recording rec_{"CameraRecordCallback", "camera", false};
  const void* const owner_ = rec_.owner();
  std::mutex mu_;
  bool previewing_ = false;
  std::string root_;
  std::mutex frame_mu_;
  record_engine::CameraRecordEngineCallback* callback_ = nullptr;
};

}  // namespace
}  // namespace recording

namespace record_engine {

CameraRecordEngineInterface* CameraRecordEngineInterface::createNewCameraRecordEngine(
    const CameraRecordEngineConfig& config) {
  // The configuration is journalled; nothing the stand-in does depends on it.
  sim::Note(CAMERA("createNewCameraRecordEngine"), config);
  return sim::ScriptedBool(CAMERA("createNewCameraRecordEngine"), true) ? new recording::CameraRecorder() : nullptr;
}

void CameraRecordEngineInterface::releaseCameraRecordEngine(CameraRecordEngineInterface* engine) {
  sim::Note(CAMERA("releaseCameraRecordEngine"), static_cast<const void*>(engine));
  delete engine;
}

CameraRecordEngineInterface::~CameraRecordEngineInterface() = default;
CameraRecordEngineCallback::~CameraRecordEngineCallback() = default;
CameraRecordCallback::~CameraRecordCallback() = default;

}  // namespace record_engine
