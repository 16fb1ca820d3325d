// The simulated screen recorders: the classic record engine, and the newer
// one made per recording. Every call is journalled, answers its script, and
// moves the recording's timeline; the engines report the outcome of starts,
// pauses, resumes and stops on an engine thread afterwards, and a stop that
// keeps the recording leaves its segment file under the root directory.
#include <memory>
#include <mutex>
#include <string>

#include "korin/qx_screen_record_engine.h"
#include "live/internal.h"
#include "record_engine/common_error_code.h"
#include "record_engine/record_engine.h"
#include "recording/recorder_state.h"
#include "recording/recording_records.h"
#include "sim/methods.h"
#include "sim/sim.h"

namespace recording {
namespace {

constexpr char kDetector[] = "RecordFrameDetector.OnResult";

// The recorders' frame detector: its results, fired by name.
void HoldDetector(const void* owner, const korin::FrameValidDetectorConfig& config) {
  if (!config.result_callback) return;
  auto report = config.result_callback;
  sim::Hold(owner, kDetector, [report](const sim::Args& a) {
    korin::FrameDetectResult r;
    r.is_static = a.Bool(0);
    r.is_black = a.Bool(1);
    r.is_green = a.Bool(2);
    r.is_solid = a.Bool(3);
    r.solid_color = static_cast<uint32_t>(a.Int(4));
    report(r);
  });
}

// A stopped recording's detector reports no more.
int Stopped(const Recording& rec, int r) {
  if (r == 0) sim::ReleaseName(kDetector, rec.owner());
  return r;
}

#define CLASSIC(m) "record_engine.RecordEngineInterface." m

class ClassicScreenRecorder : public record_engine::RecordEngineInterface {
 public:
  ClassicScreenRecorder() { live::CountObject("recordEngines", 1); }
  ~ClassicScreenRecorder() override {
    sim::Release(rec_.owner());
    live::CountObject("recordEngines", -1);
  }

  int setCallback(record_engine::RecordEngineCallback* cb) override {
    const int r = sim::Call(CLASSIC("setCallback"), static_cast<const void*>(cb));
    using C = record_engine::RecordEngineCallback;
    sim::HoldMethods<C>(rec_.owner(), "RecordEngineCallback", cb,
                        {SIM_METHOD(OnRecordStarted), SIM_METHOD(OnRecordPaused), SIM_METHOD(OnRecordResumed),
                         SIM_METHOD(OnRecordStopped), SIM_METHOD(OnError), SIM_METHOD(OnScreenCaptureApiChanged),
                         SIM_METHOD(OnSegmentDeleted), SIM_METHOD(OnMergeProgress), SIM_METHOD(OnFirstFrameReady)});
    return r;
  }
  int startRecord(const record_engine::RecordParams& p) override {
    const int r = rec_.Started(sim::Call(CLASSIC("startRecord"), p), p.target_width, p.target_height, p.video_fps);
    if (r == 0) {
      std::lock_guard<std::mutex> lock(mu_);
      root_ = p.root_dir;
      HoldDetector(rec_.owner(), p.frame_detector);
    }
    return r;
  }
  int pauseRecord() override { return rec_.Paused(sim::Call(CLASSIC("pauseRecord"))); }
  int resumeRecord() override { return rec_.Resumed(sim::Call(CLASSIC("resumeRecord"))); }
  int stopRecord(bool save) override {
    std::string root;
    {
      std::lock_guard<std::mutex> lock(mu_);
      root = root_;
    }
    return Stopped(rec_, rec_.Stopped(sim::Call(CLASSIC("stopRecord"), save), root, "", save));
  }
  int inputAudioData(const uint8_t*, size_t size) override { return sim::Call(CLASSIC("inputAudioData"), size); }
  int64_t getRecordDurationMs() override { return rec_.DurationMs(CLASSIC("getRecordDurationMs")); }

 private:
  Recording rec_{"RecordEngineCallback", "screen", true};
  std::mutex mu_;
  std::string root_;
};

#define NEWER(m) "korin.QXScreenRecordEngineInterface." m

class ScreenRecorder : public korin::QXScreenRecordEngineInterface {
 public:
  explicit ScreenRecorder(const korin::RecordEngineConfig& config) : config_(config) {
    live::CountObject("screenRecordEngines", 1);
  }
  ~ScreenRecorder() override {
    sim::Release(rec_.owner());
    live::CountObject("screenRecordEngines", -1);
  }

  void SetCallback(korin::QXScreenRecordEngineCallback* cb) override {
    sim::Note(NEWER("SetCallback"), static_cast<const void*>(cb));
    using C = korin::QXScreenRecordEngineCallback;
    sim::HoldMethods<C>(rec_.owner(), "QXScreenRecordEngineCallback", cb,
                        {SIM_METHOD(OnRecordStarted), SIM_METHOD(OnRecordPaused), SIM_METHOD(OnRecordResumed),
                         SIM_METHOD(OnRecordStopped), SIM_METHOD(OnError), SIM_METHOD(OnScreenCaptureApiChanged),
                         SIM_METHOD(OnSegmentDeleted), SIM_METHOD(OnMergeProgress), SIM_METHOD(OnFirstFrameReady)});
  }
  int InitRecord() override { return sim::Call(NEWER("InitRecord")); }
  int StartCapture(const korin::ScreenCaptureConfig& c) override {
    const int r = sim::Call(NEWER("StartCapture"), c);
    if (r == 0) HoldDetector(rec_.owner(), config_.frame_detector);
    return r;
  }
  int StartRecord(const korin::MediaRecordConfig& c) override {
    return rec_.Started(sim::Call(NEWER("StartRecord"), c), c.video_enc_width, c.video_enc_height, c.video_enc_fps);
  }
  int PauseRecord() override { return rec_.Paused(sim::Call(NEWER("PauseRecord"))); }
  int ResumeRecord() override { return rec_.Resumed(sim::Call(NEWER("ResumeRecord"))); }
  int StopRecord(bool save) override {
    return Stopped(rec_, rec_.Stopped(sim::Call(NEWER("StopRecord"), save), config_.root_path, "", save));
  }
  int DeleteLastSegment() override { return rec_.SegmentDeleted(sim::Call(NEWER("DeleteLastSegment"))); }
  int64_t GetRecordDurationMs() override { return rec_.DurationMs(NEWER("GetRecordDurationMs")); }
  int InputAudioData(const uint8_t*, size_t size) override { return sim::Call(NEWER("InputAudioData"), size); }

 private:
  const korin::RecordEngineConfig config_;
  Recording rec_{"QXScreenRecordEngineCallback", "screen", true};
};

}  // namespace
}  // namespace recording

namespace record_engine {

RecordEngineInterface* RecordEngineInterface::createNewRecordEngine() {
  sim::Note(CLASSIC("createNewRecordEngine"));
  return sim::ScriptedBool(CLASSIC("createNewRecordEngine"), true) ? new recording::ClassicScreenRecorder : nullptr;
}

void RecordEngineInterface::destroyRecordEngine(RecordEngineInterface* engine) {
  sim::Note(CLASSIC("destroyRecordEngine"), static_cast<const void*>(engine));
  delete engine;
}

std::vector<int32_t> RecordEngineInterface::GetSupportedCapApiList(CaptureSourceType type) {
  sim::Note(CLASSIC("GetSupportedCapApiList"), static_cast<int32_t>(type));
  if (type == kCaptureWindow) return {1, 3};
  return {1, 2, 3};
}

RecordEngineInterface::~RecordEngineInterface() = default;
RecordEngineCallback::~RecordEngineCallback() = default;

}  // namespace record_engine

namespace korin {

QXScreenRecordEngineInterface* QXScreenRecordEngineInterface::CreateScreenRecordEngine(const RecordEngineConfig& c) {
  sim::Note(NEWER("CreateScreenRecordEngine"), c);
  return sim::ScriptedBool(NEWER("CreateScreenRecordEngine"), true) ? new recording::ScreenRecorder(c) : nullptr;
}

void QXScreenRecordEngineInterface::DestroyScreenRecordEngine(QXScreenRecordEngineInterface* engine) {
  sim::Note(NEWER("DestroyScreenRecordEngine"), static_cast<const void*>(engine));
  delete engine;
}

QXScreenRecordEngineInterface::~QXScreenRecordEngineInterface() = default;
QXScreenRecordEngineCallback::~QXScreenRecordEngineCallback() = default;

}  // namespace korin
