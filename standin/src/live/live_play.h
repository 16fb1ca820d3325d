// The simulated live play interface of one engine root. Every method journals
// its arguments and answers its scripted result; sinks and callbacks handed
// over on success are held for the root until undone or the root goes.
#ifndef LIVE_ENGINE_LIVE_LIVE_PLAY_H_
#define LIVE_ENGINE_LIVE_LIVE_PLAY_H_

#include <atomic>
#include <memory>
#include <mutex>

#include "live/internal.h"
#include "sim/records.h"
#include "sim/sim.h"

#define LP(name) "tavel.LivePlayEngine." #name

namespace live {

using tavel::AudioTrackInfo;
using tavel::BizInfo;
using tavel::LiveDeviceEngine;
using tavel::MicrophoneRecordingCallback;
using tavel::RecordingMicrophoneInfo;
using tavel::VadCallback;
using tavel::VideoSinkInterface;
using tavel::VideoTrackInfo;
using Users = std::vector<int64_t>;

class LivePlay : public tavel::LivePlayEngine {
 public:
  explicit LivePlay(const void* owner) : owner_(owner) {}

  // The root is going: pending connection events are void, recording ends.
  void Shutdown();

  void RegisterCallback(tavel::LivePlayEngineCallback* cb, void* context) override;
  void SetRoomId(int64_t room_id) override { sim::Note(LP(SetRoomId), room_id); }
  int Connect(const tavel::LiveRoomConfig& config, lumen::LiveClient* client) override;
  int Disconnect() override;
  void SetCommandClient(lumen::CommandClient* client) override;
  void SetNetworkType(int type) override { sim::Note(LP(SetNetworkType), type); }

  int AudioStartSend(const AudioTrackInfo& i) override { return sim::Call(LP(AudioStartSend), i); }
  int AudioStartSendToGroup(const AudioTrackInfo& i, const Users& u) override { return sim::Call(LP(AudioStartSendToGroup), i, u); }
  int AudioStopSend(const AudioTrackInfo& i) override { return sim::Call(LP(AudioStopSend), i); }
  int AudioStartReceive(const AudioTrackInfo& i, bool play) override { return sim::Call(LP(AudioStartReceive), i, play); }
  int AudioStopReceive(const AudioTrackInfo& i) override { return sim::Call(LP(AudioStopReceive), i); }

  int VideoStartReceive(const VideoTrackInfo& i, VideoSinkInterface* s) override { return Sink(sim::Call(LP(VideoStartReceive), i, s), RemoteSink(i.user_id, i.type), s); }
  int VideoStopReceive(const VideoTrackInfo& i) override { return Unsink(sim::Call(LP(VideoStopReceive), i), RemoteSink(i.user_id, i.type)); }
  int VideoStartCapture(int t, VideoSinkInterface* s, LiveDeviceEngine* d) override { return Sink(sim::Call(LP(VideoStartCapture), t, s, d), LocalSink(t), s); }
  int VideoStartCaptureWithAISticker(int t, VideoSinkInterface* s, LiveDeviceEngine* d) override { return Sink(sim::Call(LP(VideoStartCaptureWithAISticker), t, s, d), LocalSink(t), s); }
  int VideoStartCaptureHD(int t, VideoSinkInterface* s, LiveDeviceEngine* d) override { return Sink(sim::Call(LP(VideoStartCaptureHD), t, s, d), LocalSink(t), s); }
  int VideoStopCapture(int t) override { return Unsink(sim::Call(LP(VideoStopCapture), t), LocalSink(t)); }
  int VideoStartSend(const VideoTrackInfo& i) override { return sim::Call(LP(VideoStartSend), i); }
  int VideoStartSendToGroup(const VideoTrackInfo& i, const Users& u) override { return sim::Call(LP(VideoStartSendToGroup), i, u); }
  int VideoStopSend(const VideoTrackInfo& i) override { return sim::Call(LP(VideoStopSend), i); }
  int SetCaptureRotation(int rotation) override { return sim::Call(LP(SetCaptureRotation), rotation); }
  int RegisterCameraDataCallback(VideoSinkInterface* s, int option) override { return Sink(sim::Call(LP(RegisterCameraDataCallback), s, option), kCameraSink, s); }
  int UnregisterCameraDataCallback() override { return Unsink(sim::Call(LP(UnregisterCameraDataCallback)), kCameraSink); }

  int AudioStartRecording(const AudioTrackInfo& i, MicrophoneRecordingCallback* cb, const Users& g) override { return Mic(sim::Call(LP(AudioStartRecording), i, cb, g), cb); }
  int AudioStopRecording(const AudioTrackInfo& i) override { return Unmic(sim::Call(LP(AudioStopRecording), i)); }
  int AudioStartRecordAndSend() override { return sim::Call(LP(AudioStartRecordAndSend)); }
  int AudioStopRecordAndSend(RecordingMicrophoneInfo* r) override { return Stats(sim::Call(LP(AudioStopRecordAndSend), r), r); }
  int AudioStartRepeatRecording(const AudioTrackInfo& i, MicrophoneRecordingCallback* cb) override { return Mic(sim::Call(LP(AudioStartRepeatRecording), i, cb), cb); }
  int AudioStopRepeatRecording(const AudioTrackInfo& i, RecordingMicrophoneInfo* r) override { return Unmic(Stats(sim::Call(LP(AudioStopRepeatRecording), i, r), r)); }
  int SetMicrophoneSendMute(bool mute) override;
  int GetMicrophoneSendMute(bool* mute) override;

  int RegisterLocalVadCallback(VadCallback* cb) override { return Vad(sim::Call(LP(RegisterLocalVadCallback), cb), "local", cb); }
  int UnregisterLocalVadCallback() override { return Vad(sim::Call(LP(UnregisterLocalVadCallback)), "local", nullptr); }
  int GetLocalVadStatus() override { return sim::Call(LP(GetLocalVadStatus)); }
  int RegisterRemoteVadCallback(int32_t ssrc, VadCallback* cb) override { return Vad(sim::Call(LP(RegisterRemoteVadCallback), ssrc, cb), VadScope(ssrc), cb); }
  int RegisterRemoteVadCallback(const BizInfo& i, VadCallback* cb) override { return Vad(sim::Call(LP(RegisterRemoteVadCallback), i, cb), VadScope(i), cb); }
  int UnregisterRemoteVadCallback(int32_t ssrc) override { return Vad(sim::Call(LP(UnregisterRemoteVadCallback), ssrc), VadScope(ssrc), nullptr); }
  int UnregisterRemoteVadCallback(const BizInfo& i) override { return Vad(sim::Call(LP(UnregisterRemoteVadCallback), i), VadScope(i), nullptr); }
  int GetRemoteVadStatus(int32_t ssrc) override { return sim::Call(LP(GetRemoteVadStatus), ssrc); }
  int GetRemoteVadStatus(const BizInfo& i) override { return sim::Call(LP(GetRemoteVadStatus), i); }
  int SetRxVoiceAdjustParameters(uint32_t user, uint32_t position) override { return sim::Call(LP(SetRxVoiceAdjustParameters), user, position); }
  int SetRxVoiceAdjustParametersBiz(const BizInfo& i, uint32_t position) override { return sim::Call(LP(SetRxVoiceAdjustParametersBiz), i, position); }

  int StartCameraAndPublish(const BizInfo& i, VideoSinkInterface* s, LiveDeviceEngine* d) override { return Sink(sim::Call(LP(StartCameraAndPublish), i, s, d), LocalSink(i.biz_type), s); }
  int StopCameraAndUnpublish(const BizInfo& i) override { return Unsink(sim::Call(LP(StopCameraAndUnpublish), i), LocalSink(i.biz_type)); }
  int SubscribeVideo(const BizInfo& i, VideoSinkInterface* s) override { return Sink(sim::Call(LP(SubscribeVideo), i, s), RemoteSink(i.user_id, i.biz_type), s); }
  int UnsubscribeVideo(const BizInfo& i) override { return Unsink(sim::Call(LP(UnsubscribeVideo), i), RemoteSink(i.user_id, i.biz_type)); }
  int StartMicAndPublish(const BizInfo& i, bool send, MicrophoneRecordingCallback* cb) override { return Mic(sim::Call(LP(StartMicAndPublish), i, send, cb), cb); }
  int StopMicAndUnpublish(const BizInfo& i, RecordingMicrophoneInfo* r) override { return Unmic(Stats(sim::Call(LP(StopMicAndUnpublish), i, r), r)); }
  int SubscribeAudio(const BizInfo& i, bool play) override { return sim::Call(LP(SubscribeAudio), i, play); }
  int UnsubscribeAudio(const BizInfo& i) override { return sim::Call(LP(UnsubscribeAudio), i); }
  int StartGroupAudio(const BizInfo& i, const Users& u, bool send) override { return sim::Call(LP(StartGroupAudio), i, u, send); }
  int PublishGroupAudio() override { return sim::Call(LP(PublishGroupAudio)); }
  int UnpublishGroupAudio() override { return sim::Call(LP(UnpublishGroupAudio)); }
  int StopGroupAudio(const BizInfo& i) override { return sim::Call(LP(StopGroupAudio), i); }

  // Communication, supervision, detection, screen share (live_class.cc).
  int SetStudentListInClass(const Users& s) override { return sim::Call(LP(SetStudentListInClass), s); }
  int SwitchGroupServer() override { return sim::Call(LP(SwitchGroupServer)); }
  int StartCommunication(int64_t id, const Users& u, bool flag) override { return sim::Call(LP(StartCommunication), id, u, flag); }
  int StopCommunication(int64_t id) override { return sim::Call(LP(StopCommunication), id); }
  int StartSupervising(const VideoTrackInfo& i, VideoSinkInterface* s) override { return Sink(sim::Call(LP(StartSupervising), i, s), SuperviseSink(i.user_id, i.type), s); }
  int StopSupervising(const VideoTrackInfo& i) override { return Unsink(sim::Call(LP(StopSupervising), i), SuperviseSink(i.user_id, i.type)); }
  int StartHandActionCheck(const tavel::HandActionCheckConfig& c, tavel::HandActionCallback* cb) override;
  int StopHandActionCheck() override;
  int StartCollectLiveData(int32_t first, int32_t second, tavel::CollectLiveDataCallback* cb) override;
  int StopCollectLiveData() override;
  int GetMediaNetworkCondition(tavel::MediaNetworkCondition* c) override;
  int GetMediaNetworkConditionByUser(int64_t user, tavel::MediaNetworkCondition* c) override;
  int GetSenderMediaNetworkCondition(tavel::MediaNetworkCondition* c) override;
  int GetPingNetworkCondition(tavel::PingNetworkCondition* c) override;
  int SetAIStickerPath(const std::string& path) override { return sim::Call(LP(SetAIStickerPath), path); }
  int SetAIStickerEnable(bool enable) override { return sim::Call(LP(SetAIStickerEnable), enable); }
  int StartScreenShare(const BizInfo& i, const tavel::ScreenShareConfig& c) override;
  int StopScreenShare() override;
  int EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& c, korin::FrameValidDetectorCallback* cb) override;
  int UpdateFaceInfo(const std::vector<tavel::FaceInfo>& faces) override { return sim::Call(LP(UpdateFaceInfo), faces); }
  int GetFaceDetectResult(tavel::FaceDetectResult* r) override;
  int StartCameraVideoRecord(const tavel::CameraVideoRecordConfig& c, tavel::CameraVideoRecordCallback* cb) override;
  int StopCameraVideoRecord(bool flag) override;

 private:
  // A sink or callback handed over is held only when the call succeeded; an
  // undoing call drops it whatever it answers.
  int Sink(int result, const std::string& name, VideoSinkInterface* sink) {
    if (result == 0 && sink) HoldSink(owner_, name, sink);
    return result;
  }
  int Unsink(int result, const std::string& name) {
    ReleaseSink(owner_, name);
    return result;
  }
  int Mic(int result, MicrophoneRecordingCallback* cb) {
    if (result == 0 && cb) {
      HoldMicCallback(owner_, cb);
      MicRegistered(owner_);
    }
    return result;
  }
  int Unmic(int result) {
    MicStopped(owner_);
    HoldMicCallback(owner_, nullptr);
    return result;
  }
  // The statistics are written whatever the result, as the engine has them.
  int Stats(int result, RecordingMicrophoneInfo* info) {
    FillRecordingInfo(info);
    return result;
  }
  int Vad(int result, const std::string& scope, VadCallback* cb) {
    if (!cb || result == 0) HoldVadCallback(owner_, scope, cb);
    return result;
  }
  // Connection events due after `epoch` are void once it has moved on.
  void Announce(bool media, lumen::CommandClient* command);

  const void* const owner_;
  std::mutex mu_;
  std::string record_dir_;  // of the camera video recording in progress
  bool connected_ = false;
  bool mute_ = false;
  lumen::CommandClient* command_ = nullptr;
  std::shared_ptr<std::atomic<uint64_t>> epoch_ = std::make_shared<std::atomic<uint64_t>>(0);
};

class Beauty : public tavel::LiveBeautyEngine {
 public:
  explicit Beauty(const void* owner) : owner_(owner) {}
  int InitializeBeauty(int timeout) override;
  int SetBeautyConfig(const tavel::BeautyConfig& config) override;
  int SetBeautyReady(bool ready) override;
  int EnableBeauty(bool enable) override;
  int SetBeautyParam(const tavel::BeautyParam& param) override;
  int SetStickerPath(const std::string& path) override;
  int SetColorFilterPath(const std::string& path) override;
  int SetEnableAISticker(bool enable) override;
  int SetBackgroundBlur(bool enabled) override;
  int SetVirtualBackgroud(const std::string& path) override;

 private:
  const void* const owner_;
};

}  // namespace live

#endif  // LIVE_ENGINE_LIVE_LIVE_PLAY_H_
