// The simulated newer camera recorder, its surface sinks and the thumbnail
// tool. Engine n (from 1 since the last reset) holds its callback's methods
// as "QXCameraRecordEngineCallback:<n>.<Method>" and, while its camera runs
// with a sink, that sink as "sink:qxCamera:<n>" (fed by the control module's
// frames). Pictures and thumbnails are firers too, fired by the engine
// itself unless the timing holds them.
#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "korin/qx_camera_record_engine.h"
#include "korin/qx_surface_render_sink.h"
#include "korin/qx_video_thumbnail_tools.h"
#include "live/internal.h"
#include "record_engine/common_error_code.h"
#include "recording/recorder_state.h"
#include "recording/recording_records.h"
#include "sim/frames.h"
#include "sim/live.h"
#include "sim/methods.h"
#include "sim/sim.h"

namespace recording {
namespace {

using record_engine::CommonErrorCode;

#define QXCAMERA(m) "korin.QXCameraRecordEngineInterface." m

// Runs `name` of `owner` after `delay_ms` on engine thread `thread`, unless
// held (delay < 0); false once the firer is gone.
void FireAfter(const void* owner, const std::string& name, int thread, int delay_ms, sim::Args args = sim::Args()) {
  if (delay_ms < 0) return;
  sim::RunOnEngineThreadAfter(thread, delay_ms, [owner, name, args] { sim::FireHere(name, args, nullptr, owner); });
}

class QXCameraRecorder : public korin::QXCameraRecordEngineInterface {
 public:
  explicit QXCameraRecorder(const korin::RecordEngineConfig& config)
      : config_(config), number_(std::to_string(NextNumber("qxCamera"))) {
    live::CountObject("qxCameraRecordEngines", 1);
  }
  ~QXCameraRecorder() override {
    sim::Release(owner_);
    live::CountObject("qxCameraRecordEngines", -1);
  }

  int StartCamera(const korin::QXCameraConfig& c) override {
    const int r = sim::Call(QXCAMERA("StartCamera"), c);
    if (r != 0) return r;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (camera_on_) return CommonErrorCode::kWrongState;
      camera_on_ = true;
      preview_width_ = c.preview_width;
      preview_height_ = c.preview_height;
    }
    if (korin::QXVideoSink* sink = c.sink)
      live::HoldFrameSink(owner_, Sink(), [sink](const korin::QXVideoFrame& frame) { sink->OnFrame(frame); });
    Report("OnCameraStarted");
    return 0;
  }
  int StopCamera() override {
    const int r = sim::Call(QXCAMERA("StopCamera"));
    if (r != 0) return r;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (!camera_on_) return CommonErrorCode::kWrongState;
      camera_on_ = false;
    }
    sim::ReleaseName(Sink(), owner_);
    Report("OnCameraStopped");
    return 0;
  }
  int SwitchCamera(bool is_front) override {
    const int r = sim::Call(QXCAMERA("SwitchCamera"), is_front);
    if (r == 0)
      Report("OnCameraSwitched", sim::ArgsOf(is_front ? 0.0 : 1.0, 1.0, std::string(is_front ? "front-guid" : "back-guid"),
                                             std::string(is_front ? "Front Camera" : "Back Camera")));
    return r;
  }
  int TakePicture(const korin::QXPictureConfig& c, korin::QXTakePictureCallback* cb) override {
    const int r = sim::Call(QXCAMERA("TakePicture"), c, static_cast<const void*>(cb));
    if (r != 0 || !cb) return r;
    int width, height;
    {
      std::lock_guard<std::mutex> lock(mu_);
      width = c.pic_width > 0 ? c.pic_width : preview_width_ > 0 ? preview_width_ : 320;
      height = c.pic_height > 0 ? c.pic_height : preview_height_ > 0 ? preview_height_ : 240;
    }
    width = std::min(width, 4096);
    height = std::min(height, 4096);
    const bool mirror = c.need_mirror != 0;
    const std::string name = "QXTakePictureCallback:" + std::to_string(NextNumber("picture")) + ".OnTakePictureResult";
    const void* owner = owner_;
    // (errorCode): a failure carries no picture.
    sim::Hold(owner, name, [cb, width, height, mirror, name, owner](const sim::Args& a) {
      korin::QXPicture picture;
      picture.width = width;
      picture.height = height;
      picture.type = 1;
      picture.error_code = static_cast<int32_t>(a.Int(0));
      std::vector<uint8_t> pixels;
      if (picture.error_code == 0) {
        pixels.resize(static_cast<size_t>(width) * height * 4);
        sim::Pattern(width, height, sim::kPictureSeed, pixels.data());
        if (mirror)
          for (int y = 0; y < height; ++y) {
            auto* row = reinterpret_cast<uint32_t*>(pixels.data() + static_cast<size_t>(y) * width * 4);
            std::reverse(row, row + width);
          }
        picture.data = pixels.data();
        picture.size = pixels.size();
      }
      cb->OnTakePictureResult(picture);
      sim::ReleaseName(name, owner);
    });
    FireAfter(owner, name, 5, sim::GetRecordingTiming().picture_delay_ms);
    return 0;
  }

  int InitRecord() override { return sim::Call(QXCAMERA("InitRecord")); }
  int UnInitRecord() override { return sim::Call(QXCAMERA("UnInitRecord")); }
  int StartRecord(const korin::QXRecordConfig& c) override {
    const int r = rec_.Started(sim::Call(QXCAMERA("StartRecord"), c), c.enc_width, c.enc_height, c.enc_fps);
    if (r == 0) {
      std::lock_guard<std::mutex> lock(mu_);
      file_ = c.file_out_path;
    }
    return r;
  }
  int StopRecord(bool save) override {
    std::string file;
    {
      std::lock_guard<std::mutex> lock(mu_);
      file = file_;
    }
    return rec_.Stopped(sim::Call(QXCAMERA("StopRecord"), save), config_.root_path, file, save);
  }
  int PauseRecord() override { return rec_.Paused(sim::Call(QXCAMERA("PauseRecord"))); }
  int ResumeRecord() override { return rec_.Resumed(sim::Call(QXCAMERA("ResumeRecord"))); }
  int DeleteLastSegment() override { return rec_.SegmentDeleted(sim::Call(QXCAMERA("DeleteLastSegment"))); }
  int DeleteAllSegment() override {
    const int r = sim::Call(QXCAMERA("DeleteAllSegment"));
    if (r == 0) rec_.DeleteAll();
    return r;
  }
  int64_t GetTotalDurationMs() override { return rec_.DurationMs(QXCAMERA("GetTotalDurationMs")); }
  int SetCallback(korin::QXCameraRecordEngineCallback* cb) override {
    const int r = sim::Call(QXCAMERA("SetCallback"), static_cast<const void*>(cb));
    using C = korin::QXCameraRecordEngineCallback;
    const std::string prefix = Events();
    sim::HoldMethods<C>(owner_, prefix, cb,
                        {SIM_METHOD(OnCameraStarted), SIM_METHOD(OnCameraStopped), SIM_METHOD(OnSegmentDeleted),
                         SIM_METHOD(OnMergeProgress), SIM_METHOD(OnRecordStarted), SIM_METHOD(OnRecordStopped),
                         SIM_METHOD(OnRecordPaused), SIM_METHOD(OnRecordResumed), SIM_METHOD(OnError)});
    // (position, type, guid, name)
    if (cb) {
      sim::Hold(owner_, prefix + ".OnCameraSwitched", [cb](const sim::Args& a) {
        korin::QXCameraDeviceInfo device;
        device.position = static_cast<int32_t>(a.Int(0));
        device.type = static_cast<int32_t>(a.Int(1));
        device.guid = a.Str(2);
        device.name = a.Str(3);
        cb->OnCameraSwitched(device);
      });
    } else {
      sim::ReleaseName(prefix + ".OnCameraSwitched", owner_);
    }
    return r;
  }

 private:
  std::string Events() const { return "QXCameraRecordEngineCallback:" + number_; }
  std::string Sink() const { return std::string(sim::kSinkPrefix) + "qxCamera:" + number_; }
  int Report(const char* method, sim::Args args = sim::Args()) { return rec_.Report(method, std::move(args)); }

  const korin::RecordEngineConfig config_;
  const std::string number_;
  Recording rec_{Events(), "qxcamera", false};
  const void* const owner_ = rec_.owner();
  std::mutex mu_;
  bool camera_on_ = false;
  int preview_width_ = 0;
  int preview_height_ = 0;
  std::string file_;
};

// ---- surface sinks ---------------------------------------------------------------------

struct Surfaces {
  std::mutex mu;
  std::map<std::string, uint64_t> frames;
};

Surfaces& S() {
  static Surfaces* s = [] {
    auto* surfaces = new Surfaces;
    sim::OnReset([surfaces] {
      std::lock_guard<std::mutex> lock(surfaces->mu);
      surfaces->frames.clear();
    });
    return surfaces;
  }();
  return *s;
}

class SurfaceSink : public korin::QXSurfaceRenderSinkInterface {
 public:
  explicit SurfaceSink(const std::string& surface) : surface_(surface) {
    live::CountObject("surfaceSinks", 1);
    std::lock_guard<std::mutex> lock(S().mu);
    S().frames.emplace(surface_, 0);
  }
  ~SurfaceSink() override { live::CountObject("surfaceSinks", -1); }
  void OnFrame(const korin::QXVideoFrame&) override {
    std::lock_guard<std::mutex> lock(S().mu);
    ++S().frames[surface_];
  }

 private:
  const std::string surface_;
};

// ---- thumbnails ----------------------------------------------------------------------------

#define THUMBS(m) "korin.QXVideoThumbnailToolsInterface." m

class ThumbnailTool : public korin::QXVideoThumbnailToolsInterface {
 public:
  ThumbnailTool() { live::CountObject("thumbnailTools", 1); }
  ~ThumbnailTool() override {
    sim::Release(owner_);
    live::CountObject("thumbnailTools", -1);
  }

  int Init(const std::string& path) override {
    const int r = sim::Call(THUMBS("Init"), path);
    if (r != 0) return r;
    sim::Segment media;
    if (!sim::ReadSegment(path, &media)) return CommonErrorCode::kFileNotFound;
    std::lock_guard<std::mutex> lock(mu_);
    media_ = std::move(media);
    ready_ = true;
    seek_ms_ = 0;
    return 0;
  }
  int SeekTo(int32_t position) override {
    const int r = sim::Call(THUMBS("SeekTo"), position);
    if (r != 0) return r;
    std::lock_guard<std::mutex> lock(mu_);
    if (!ready_) return CommonErrorCode::kNotInitialized;
    if (position < 0 || position > media_.DurationMs()) return CommonErrorCode::kInvalidParameter;
    seek_ms_ = position;
    return 0;
  }
  // Thumbnail n (from 1 since the reset) is held as
  // "QXVideoThumbnailToolCallback:<n>.OnThumbnailReady" (positionUs).
  int GetVideoThumbnails(const korin::QXVideoThumbnailConfig& c, korin::QXVideoThumbnailToolCallback* cb) override {
    const int r = sim::Call(THUMBS("GetVideoThumbnails"), c, static_cast<const void*>(cb));
    if (r != 0) return r;
    sim::Segment media;
    int64_t from;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (!ready_) return CommonErrorCode::kNotInitialized;
      media = media_;
      from = seek_ms_;
    }
    if (!cb || c.width <= 0 || c.height <= 0 || c.width > 4096 || c.height > 4096 || c.duration_ms <= 0)
      return CommonErrorCode::kInvalidParameter;
    const int number = NextNumber("thumbnails");
    const std::string name = "QXVideoThumbnailToolCallback:" + std::to_string(number) + ".OnThumbnailReady";
    const int width = c.width, height = c.height;
    sim::Hold(owner_, name, [cb, media, width, height](const sim::Args& a) {
      const int64_t us = a.Int(0);
      const int64_t ms = us >= 0 ? us / 1000 : -((-us + 999) / 1000);
      const sim::Picture picture = sim::DrawRecordedTime(width, height, media.RecordedTimeAt(ms));
      korin::QXVideoFrame frame;
      frame.width = picture.width;
      frame.height = picture.height;
      frame.timestampUs = us;
      frame.buffer = sim::ViewBGRA(picture.pixels.data(), picture.width, picture.height, picture.stride);
      cb->OnThumbnailReady(frame);
    });
    const int interval = sim::GetRecordingTiming().thumbnail_interval_ms;
    if (interval >= 0) Produce(owner_, name, number % 8, 0, interval, from, media.DurationMs(), c.duration_ms);
    return 0;
  }

 private:
  // One thumbnail at `at`, the next `interval` ms later; the firer goes
  // after the last.
  static void Produce(const void* owner, const std::string& name, int thread, int delay, int interval, int64_t at,
                      int64_t end, int64_t step) {
    sim::RunOnEngineThreadAfter(thread, delay, [=] {
      if (at >= end) {
        sim::ReleaseName(name, owner);
        return;
      }
      if (sim::FireHere(name, sim::ArgsOf(static_cast<double>(at * 1000)), nullptr, owner))
        Produce(owner, name, thread, interval, interval, at + step, end, step);
    });
  }

  const void* const owner_ = NewOwnerKey();
  std::mutex mu_;
  sim::Segment media_;
  bool ready_ = false;
  int64_t seek_ms_ = 0;
};

}  // namespace
}  // namespace recording

namespace sim {

std::map<std::string, uint64_t> SurfaceFrames() {
  std::lock_guard<std::mutex> lock(recording::S().mu);
  return recording::S().frames;
}

}  // namespace sim

namespace korin {

QXCameraRecordEngineInterface* QXCameraRecordEngineInterface::CreateCameraRecordEngine(const RecordEngineConfig& c) {
  sim::Note(QXCAMERA("CreateCameraRecordEngine"), c);
  return sim::ScriptedBool(QXCAMERA("CreateCameraRecordEngine"), true) ? new recording::QXCameraRecorder(c) : nullptr;
}

void QXCameraRecordEngineInterface::DestroyCameraRecordEngine(QXCameraRecordEngineInterface* engine) {
  sim::Note(QXCAMERA("DestroyCameraRecordEngine"), static_cast<const void*>(engine));
  delete engine;
}

QXCameraRecordEngineInterface::~QXCameraRecordEngineInterface() = default;
QXCameraRecordEngineCallback::~QXCameraRecordEngineCallback() = default;
QXTakePictureCallback::~QXTakePictureCallback() = default;
QXVideoSink::~QXVideoSink() = default;

QXSurfaceRenderSinkInterface* QXSurfaceRenderSinkInterface::Create(const SurfaceRenderConfig& config) {
  sim::Note("korin.QXSurfaceRenderSinkInterface.Create", config);
  return sim::ScriptedBool("korin.QXSurfaceRenderSinkInterface.Create", true) ? new recording::SurfaceSink(config.surface_id)
                                                                              : nullptr;
}

void QXSurfaceRenderSinkInterface::Destroy(QXSurfaceRenderSinkInterface* sink) {
  sim::Note("korin.QXSurfaceRenderSinkInterface.Destroy", static_cast<const void*>(sink));
  delete sink;
}

QXSurfaceRenderSinkInterface::~QXSurfaceRenderSinkInterface() = default;

QXVideoThumbnailToolsInterface* QXVideoThumbnailToolsInterface::Create() {
  sim::Note(THUMBS("Create"));
  return sim::ScriptedBool(THUMBS("Create"), true) ? new recording::ThumbnailTool : nullptr;
}

void QXVideoThumbnailToolsInterface::Destroy(QXVideoThumbnailToolsInterface* tool) {
  sim::Note(THUMBS("Destroy"), static_cast<const void*>(tool));
  delete tool;
}

QXVideoThumbnailToolsInterface::~QXVideoThumbnailToolsInterface() = default;
QXVideoThumbnailToolCallback::~QXVideoThumbnailToolCallback() = default;

}  // namespace korin
