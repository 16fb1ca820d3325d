// The live class beyond media: hand actions, collected data, network
// conditions, face results, screen share, the static frame detector and the
// camera video recording of the simulated live play interface, and the
// simulated beauty interface.
#include <string>

#include "live/internal.h"
#include "live/live_play.h"
#include "sim/live.h"
#include "sim/records.h"
#include "sim/sim.h"

namespace live {

std::string SuperviseSink(int user_id, int type) {
  return std::string(sim::kSinkPrefix) + std::to_string(user_id) + ":" + std::to_string(type) + ":supervise";
}

namespace {

// An out-field is written when its "<op>.<field>" script exists, or with its
// default when it has one.
template <typename T>
void Out(const std::string& op, const char* field, T* target) {
  sim::Value v = sim::Scripted(op + "." + field);
  if (auto* d = std::get_if<double>(&v)) *target = static_cast<T>(*d);
  else if (auto* b = std::get_if<bool>(&v)) *target = static_cast<T>(*b);
}
template <typename T>
void Out(const std::string& op, const char* field, T* target, T def) {
  *target = def;
  Out(op, field, target);
}

void FillMedia(const std::string& op, tavel::MediaNetworkCondition* c) {
  if (!c) return;
  Out(op, "isConnected", &c->is_connected);
  Out(op, "isStuck", &c->is_stuck);
  Out(op, "rtt", &c->rtt, 48);
  Out(op, "jitter", &c->jitter, 7);
  Out(op, "lossRate", &c->loss_rate, 0.25);
  Out(op, "lossRateE2E", &c->loss_rate_e2e, 0.5);
}

}  // namespace

int LivePlay::StartHandActionCheck(const tavel::HandActionCheckConfig& c, tavel::HandActionCallback* cb) {
  int result = sim::Call(LP(StartHandActionCheck), c, cb);
  if (result == 0 && cb) HoldHandActionCallback(owner_, cb);
  return result;
}

int LivePlay::StopHandActionCheck() {
  int result = sim::Call(LP(StopHandActionCheck));
  HoldHandActionCallback(owner_, nullptr);
  return result;
}

int LivePlay::StartCollectLiveData(int32_t first, int32_t second, tavel::CollectLiveDataCallback* cb) {
  int result = sim::Call(LP(StartCollectLiveData), first, second, cb);
  if (result == 0 && cb) HoldCollectCallback(owner_, cb);
  return result;
}

int LivePlay::StopCollectLiveData() {
  int result = sim::Call(LP(StopCollectLiveData));
  HoldCollectCallback(owner_, nullptr);
  return result;
}

int LivePlay::GetMediaNetworkCondition(tavel::MediaNetworkCondition* c) {
  int result = sim::Call(LP(GetMediaNetworkCondition), c);
  FillMedia(LP(GetMediaNetworkCondition), c);
  return result;
}

int LivePlay::GetMediaNetworkConditionByUser(int64_t user, tavel::MediaNetworkCondition* c) {
  int result = sim::Call(LP(GetMediaNetworkConditionByUser), user, c);
  FillMedia(LP(GetMediaNetworkConditionByUser), c);
  return result;
}

int LivePlay::GetSenderMediaNetworkCondition(tavel::MediaNetworkCondition* c) {
  int result = sim::Call(LP(GetSenderMediaNetworkCondition), c);
  FillMedia(LP(GetSenderMediaNetworkCondition), c);
  return result;
}

int LivePlay::GetPingNetworkCondition(tavel::PingNetworkCondition* c) {
  int result = sim::Call(LP(GetPingNetworkCondition), c);
  if (c) {
    Out(LP(GetPingNetworkCondition), "rtt", &c->rtt, 31);
    Out(LP(GetPingNetworkCondition), "lossRate", &c->loss_rate, 0.125);
  }
  return result;
}

int LivePlay::StartScreenShare(const BizInfo& i, const tavel::ScreenShareConfig& c) {
  int result = sim::Call(LP(StartScreenShare), i, c);
  if (result == 0 && c.callback) HoldScreenShareCallback(owner_, c.callback);
  return result;
}

int LivePlay::StopScreenShare() {
  int result = sim::Call(LP(StopScreenShare));
  HoldScreenShareCallback(owner_, nullptr);
  return result;
}

int LivePlay::EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& c,
                                        korin::FrameValidDetectorCallback* cb) {
  int result = sim::Call(LP(EnableStaticFrameDetector), c, cb);
  if (result == 0 || !cb) HoldDetectorCallback(owner_, cb);
  return result;
}

int LivePlay::GetFaceDetectResult(tavel::FaceDetectResult* r) {
  int result = sim::Call(LP(GetFaceDetectResult), r);
  if (!r) return result;
  const std::string op = LP(GetFaceDetectResult);
  Out(op, "faceLeft", &r->face_left, 10.5);
  Out(op, "faceTop", &r->face_top, 20.5);
  Out(op, "faceRight", &r->face_right, 110.5);
  Out(op, "faceBottom", &r->face_bottom, 140.5);
  Out(op, "score", &r->score, 0.875);
  Out(op, "yaw", &r->yaw, -3.5);
  Out(op, "pitch", &r->pitch, 4.25);
  Out(op, "roll", &r->roll, -1.75);
  Out(op, "eyeDistance", &r->eye_distance, 38.5);
  Out(op, "id", &r->id, 7);
  Out(op, "action", &r->action, 2);
  Out(op, "picWidth", &r->pic_width, 640);
  Out(op, "picHeight", &r->pic_height, 360);
  return result;
}

// A recording that stops with 0 reports its file on engine thread 6 before
// the stop returns; the callback is then dropped.
int LivePlay::StartCameraVideoRecord(const tavel::CameraVideoRecordConfig& c, tavel::CameraVideoRecordCallback* cb) {
  int result = sim::Call(LP(StartCameraVideoRecord), c, cb);
  if (result == 0 && cb) {
    HoldRecordCallback(owner_, cb);
    std::lock_guard<std::mutex> lock(mu_);
    record_dir_ = c.root_path_dir;
  }
  return result;
}

int LivePlay::StopCameraVideoRecord(bool flag) {
  int result = sim::Call(LP(StopCameraVideoRecord), flag);
  std::string dir;
  {
    std::lock_guard<std::mutex> lock(mu_);
    dir = record_dir_;
  }
  if (result == 0) {
    const void* owner = owner_;
    sim::RunOnEngineThread(6, [owner, dir] {
      sim::FireHere("CameraVideoRecordCallback.OnRecordComplete", sim::ArgsOf(0.0, dir + "/camera.mp4"), nullptr, owner);
    }, true);
  }
  HoldRecordCallback(owner_, nullptr);
  return result;
}

// ---- beauty --------------------------------------------------------------------

#define LB(name) "tavel.LiveBeautyEngine." #name

int Beauty::InitializeBeauty(int timeout) {
  int result = sim::Call(LB(InitializeBeauty), timeout);
  // What the engine reports afterwards: `true`/`false` OnBeautyReady, a
  // number OnBeautyError with that code; nothing when not scripted.
  sim::Value report = sim::Scripted(LB(InitializeBeauty) ".report");
  const void* owner = owner_;
  if (auto* ready = std::get_if<bool>(&report)) {
    sim::RunOnEngineThread(5, [owner, r = *ready] {
      sim::FireHere("LivePlayEngineCallback.OnBeautyReady", sim::ArgsOf(r), nullptr, owner);
    }, false);
  } else if (auto* code = std::get_if<double>(&report)) {
    sim::RunOnEngineThread(5, [owner, c = *code] {
      sim::FireHere("LivePlayEngineCallback.OnBeautyError", sim::ArgsOf(c), nullptr, owner);
    }, false);
  }
  return result;
}

int Beauty::SetBeautyConfig(const tavel::BeautyConfig& c) { return sim::Call(LB(SetBeautyConfig), c); }
int Beauty::SetBeautyReady(bool ready) { return sim::Call(LB(SetBeautyReady), ready); }
int Beauty::EnableBeauty(bool enable) { return sim::Call(LB(EnableBeauty), enable); }
int Beauty::SetBeautyParam(const tavel::BeautyParam& p) { return sim::Call(LB(SetBeautyParam), p); }
int Beauty::SetStickerPath(const std::string& path) { return sim::Call(LB(SetStickerPath), path); }
int Beauty::SetColorFilterPath(const std::string& path) { return sim::Call(LB(SetColorFilterPath), path); }
int Beauty::SetEnableAISticker(bool enable) { return sim::Call(LB(SetEnableAISticker), enable); }
int Beauty::SetBackgroundBlur(bool enabled) { return sim::Call(LB(SetBackgroundBlur), enabled); }
int Beauty::SetVirtualBackgroud(const std::string& path) { return sim::Call(LB(SetVirtualBackgroud), path); }

}  // namespace live
