#ifndef TAVEL_LIVE_PLAY_ENGINE_H_
#define TAVEL_LIVE_PLAY_ENGINE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "korin/frame_valid_detector.h"
#include "lumen/live_client.h"
#include "tavel/biz_info.h"
#include "tavel/live_engine.h"
#include "tavel/video_sink.h"

namespace tavel {

struct LiveRoomConfig {
  int64_t room_id = 0;
  int64_t user_id = 0;
  int32_t user_type = 0;
  int32_t app_type = 0;
  std::string app_version;
  std::string sdk_version;
  std::string engine_parameters;
  std::string signature;
  int32_t network_type = 0;
  std::string scheduler_host;
};

// Statistics of a finished microphone recording; zero-initialised.
struct RecordingMicrophoneInfo {
  int64_t encoded_recorded_ms = 0;
  int64_t encoded_voice_activity_ms = 0;
  int64_t encoded_non_zero_sample_count = 0;
  int64_t pcm_recorded_sample_count = 0;
  int32_t pcm_recorded_sample_max = 0;
  int64_t recording_start_time_ms = 0;
  bool start_during_interruption = false;
  bool interruption_after_start = false;
  int32_t error_code = 0;
  int32_t hint = 0;
};

// Events of the live play engine, its radio channel, devices and beauty module.
class ENGINE_API LivePlayEngineCallback {
 public:
  virtual ~LivePlayEngineCallback();
  virtual void OnMediaConnected() = 0;
  virtual void OnMediaConnecting() = 0;
  virtual void OnMediaReconnecting() = 0;
  virtual void OnMediaDisconnected(bool by_user, int code, int sub_code, int extra) = 0;
  virtual void OnAudioSharedConnectionStateChanged(int state) = 0;
  virtual void OnVideoSharedConnectionStateChanged(int state) = 0;
  virtual void OnServerTimestampOffset(int64_t offset) = 0;
  virtual void OnRadioChannelConnecting() = 0;
  virtual void OnRadioChannelConnected() = 0;
  virtual void OnRadioMessage(const uint8_t* data, int length) = 0;
  virtual void OnUserData(const uint8_t* data, int length) = 0;
  virtual void OnNoSpeechTimeoutEvent() = 0;
  virtual void OnAudioInputNoVoiceWarning() = 0;
  virtual void OnRecordingDataException(int code) = 0;
  virtual void OnPlayoutDataException(int code) = 0;
  virtual void OnLoopbackDataException(int code) = 0;
  virtual void OnDeviceError(int type, int code, int extra) = 0;
  virtual void OnDeviceEvent(int type, int code, int extra) = 0;
  virtual void OnAudioInputDeviceChanged(int state) = 0;
  virtual void OnAudioOutputDeviceChanged(int state) = 0;
  virtual void OnVideoInputDeviceChanged(int state) = 0;
  virtual void OnDefaultAudioInputDeviceChanged(const char* id, const char* name) = 0;
  virtual void OnDefaultAudioOutputDeviceChanged(const char* id, const char* name) = 0;
  virtual void OnVideoFrameReceived(int user_id, int track_type) = 0;
  virtual void OnBeautyReady(bool ready) = 0;
  virtual void OnBeautyError(int code) = 0;
  virtual void OnAIStickerReady(bool ready) = 0;
  virtual void OnAIStickerError(int code) = 0;
};

// Microphone recording of the local user.
class ENGINE_API MicrophoneRecordingCallback {
 public:
  virtual ~MicrophoneRecordingCallback();
  virtual void OnAudioRecordingStart() = 0;
  virtual void OnAudioRecordingStop() = 0;
  virtual void OnMicrophoneRecordedPcmData(const uint8_t* data, int length) = 0;
  virtual void OnMicrophoneRecordedAacData(const uint8_t* data, int length, int sample_rate) = 0;
  virtual void OnMicrophoneRecordedOpusData(const uint8_t* data, int length, int sample_rate) = 0;
  virtual void OnMicrophoneRecordedIsacData(const uint8_t* data, int length, int sample_rate) = 0;
};

class ENGINE_API VadCallback {
 public:
  virtual ~VadCallback();
  virtual void OnAudioVadStatusChange(int status) = 0;
};

// The current hand action of the local picture.
class ENGINE_API HandActionCallback {
 public:
  virtual ~HandActionCallback();
  virtual void OnHandAction(int action, double score) = 0;
};

class ENGINE_API CollectLiveDataCallback {
 public:
  virtual ~CollectLiveDataCallback();
  virtual void OnCollectLiveData(const uint8_t* data, int length) = 0;
  virtual void OnCollectError(int error) = 0;
};

class ENGINE_API ScreenShareCallback {
 public:
  virtual ~ScreenShareCallback();
  virtual void OnScreenShareStateChanged(int state, int code) = 0;
};

class ENGINE_API CameraVideoRecordCallback {
 public:
  virtual ~CameraVideoRecordCallback();
  virtual void OnRecordComplete(int code, const char* path) = 0;
};

struct MediaNetworkCondition {
  bool is_connected = false;
  bool is_stuck = false;
  int32_t rtt = 0;
  int32_t jitter = 0;
  double loss_rate = 0;
  double loss_rate_e2e = 0;
};

struct PingNetworkCondition {
  int32_t rtt = 0;
  double loss_rate = 0;
};

struct HandActionCheckConfig {
  std::string model_path;
  int32_t resize_size = 0;
  double threshold = 0;
  int32_t delay_frames = 0;
  double delay_threshold = 0;
};

struct ScreenShareConfig {
  int32_t capture_type = 0;
  int32_t capture_api_type = 0;
  int64_t source_id = 0;
  std::vector<int64_t> exclude_window_list;
  ScreenShareCallback* callback = nullptr;
};

struct FaceInfo {
  int32_t face_id = 0;
  uint32_t action = 0;
  double left_eye_pos_x = 0, left_eye_pos_y = 0, right_eye_pos_x = 0, right_eye_pos_y = 0;
  double mouth_pos_x = 0, mouth_pos_y = 0, eyes_pos_x = 0, eyes_pos_y = 0, nose_pos_x = 0, nose_pos_y = 0;
  double eye_distance = 0, yaw = 0, pitch = 0, roll = 0;
};

struct FaceDetectResult {
  double face_left = 0, face_top = 0, face_right = 0, face_bottom = 0, score = 0;
  double yaw = 0, pitch = 0, roll = 0, eye_distance = 0;
  int32_t id = 0, action = 0, pic_width = 0, pic_height = 0;
};

struct CameraVideoRecordConfig {
  std::string root_path_dir;
  int32_t video_bitrate_kbps = 0;
};

class ENGINE_API LivePlayEngine {
 public:
  static LivePlayEngine* GetInterface(LiveEngine* root);
  virtual ~LivePlayEngine();

  virtual void RegisterCallback(LivePlayEngineCallback* callback, void* context) = 0;
  virtual void SetRoomId(int64_t room_id) = 0;
  virtual int Connect(const LiveRoomConfig& config, lumen::LiveClient* client) = 0;
  virtual int Disconnect() = 0;
  virtual void SetCommandClient(lumen::CommandClient* client) = 0;
  virtual void SetNetworkType(int network_type) = 0;

  virtual int AudioStartSend(const AudioTrackInfo& info) = 0;
  virtual int AudioStartSendToGroup(const AudioTrackInfo& info, const std::vector<int64_t>& users) = 0;
  virtual int AudioStopSend(const AudioTrackInfo& info) = 0;
  virtual int AudioStartReceive(const AudioTrackInfo& info, bool play) = 0;
  virtual int AudioStopReceive(const AudioTrackInfo& info) = 0;

  virtual int VideoStartReceive(const VideoTrackInfo& info, VideoSinkInterface* sink) = 0;
  virtual int VideoStopReceive(const VideoTrackInfo& info) = 0;
  virtual int VideoStartCapture(int track_type, VideoSinkInterface* sink, LiveDeviceEngine* device) = 0;
  virtual int VideoStartCaptureWithAISticker(int track_type, VideoSinkInterface* sink, LiveDeviceEngine* device) = 0;
  virtual int VideoStartCaptureHD(int track_type, VideoSinkInterface* sink, LiveDeviceEngine* device) = 0;
  virtual int VideoStopCapture(int track_type) = 0;
  virtual int VideoStartSend(const VideoTrackInfo& info) = 0;
  virtual int VideoStartSendToGroup(const VideoTrackInfo& info, const std::vector<int64_t>& users) = 0;
  virtual int VideoStopSend(const VideoTrackInfo& info) = 0;
  virtual int SetCaptureRotation(int rotation) = 0;
  virtual int RegisterCameraDataCallback(VideoSinkInterface* sink, int option) = 0;
  virtual int UnregisterCameraDataCallback() = 0;

  virtual int AudioStartRecording(const AudioTrackInfo& info, MicrophoneRecordingCallback* callback,
                                  const std::vector<int64_t>& group_users) = 0;
  virtual int AudioStopRecording(const AudioTrackInfo& info) = 0;
  virtual int AudioStartRecordAndSend() = 0;
  virtual int AudioStopRecordAndSend(RecordingMicrophoneInfo* result) = 0;
  virtual int AudioStartRepeatRecording(const AudioTrackInfo& info, MicrophoneRecordingCallback* callback) = 0;
  virtual int AudioStopRepeatRecording(const AudioTrackInfo& info, RecordingMicrophoneInfo* result) = 0;
  virtual int SetMicrophoneSendMute(bool mute) = 0;
  virtual int GetMicrophoneSendMute(bool* mute) = 0;

  virtual int RegisterLocalVadCallback(VadCallback* callback) = 0;
  virtual int UnregisterLocalVadCallback() = 0;
  virtual int GetLocalVadStatus() = 0;
  virtual int RegisterRemoteVadCallback(int32_t ssrc, VadCallback* callback) = 0;
  virtual int RegisterRemoteVadCallback(const BizInfo& info, VadCallback* callback) = 0;
  virtual int UnregisterRemoteVadCallback(int32_t ssrc) = 0;
  virtual int UnregisterRemoteVadCallback(const BizInfo& info) = 0;
  virtual int GetRemoteVadStatus(int32_t ssrc) = 0;
  virtual int GetRemoteVadStatus(const BizInfo& info) = 0;
  virtual int SetRxVoiceAdjustParameters(uint32_t user_id, uint32_t position) = 0;
  virtual int SetRxVoiceAdjustParametersBiz(const BizInfo& info, uint32_t position) = 0;

  virtual int StartCameraAndPublish(const BizInfo& info, VideoSinkInterface* sink, LiveDeviceEngine* device) = 0;
  virtual int StopCameraAndUnpublish(const BizInfo& info) = 0;
  virtual int SubscribeVideo(const BizInfo& info, VideoSinkInterface* sink) = 0;
  virtual int UnsubscribeVideo(const BizInfo& info) = 0;
  virtual int StartMicAndPublish(const BizInfo& info, bool send, MicrophoneRecordingCallback* callback) = 0;
  virtual int StopMicAndUnpublish(const BizInfo& info, RecordingMicrophoneInfo* result) = 0;
  virtual int SubscribeAudio(const BizInfo& info, bool play) = 0;
  virtual int UnsubscribeAudio(const BizInfo& info) = 0;
  virtual int StartGroupAudio(const BizInfo& info, const std::vector<int64_t>& users, bool send) = 0;
  virtual int PublishGroupAudio() = 0;
  virtual int UnpublishGroupAudio() = 0;
  virtual int StopGroupAudio(const BizInfo& info) = 0;

  virtual int SetStudentListInClass(const std::vector<int64_t>& students) = 0;
  virtual int SwitchGroupServer() = 0;
  virtual int StartCommunication(int64_t communication_id, const std::vector<int64_t>& users, bool flag) = 0;
  virtual int StopCommunication(int64_t communication_id) = 0;
  virtual int StartSupervising(const VideoTrackInfo& info, VideoSinkInterface* sink) = 0;
  virtual int StopSupervising(const VideoTrackInfo& info) = 0;
  virtual int StartHandActionCheck(const HandActionCheckConfig& config, HandActionCallback* callback) = 0;
  virtual int StopHandActionCheck() = 0;
  virtual int StartCollectLiveData(int32_t first, int32_t second, CollectLiveDataCallback* callback) = 0;
  virtual int StopCollectLiveData() = 0;
  virtual int GetMediaNetworkCondition(MediaNetworkCondition* condition) = 0;
  virtual int GetMediaNetworkConditionByUser(int64_t user_id, MediaNetworkCondition* condition) = 0;
  virtual int GetSenderMediaNetworkCondition(MediaNetworkCondition* condition) = 0;
  virtual int GetPingNetworkCondition(PingNetworkCondition* condition) = 0;
  virtual int SetAIStickerPath(const std::string& path) = 0;
  virtual int SetAIStickerEnable(bool enable) = 0;
  virtual int StartScreenShare(const BizInfo& info, const ScreenShareConfig& config) = 0;
  virtual int StopScreenShare() = 0;
  virtual int EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& config,
                                        korin::FrameValidDetectorCallback* callback) = 0;
  virtual int UpdateFaceInfo(const std::vector<FaceInfo>& faces) = 0;
  virtual int GetFaceDetectResult(FaceDetectResult* result) = 0;
  virtual int StartCameraVideoRecord(const CameraVideoRecordConfig& config, CameraVideoRecordCallback* callback) = 0;
  virtual int StopCameraVideoRecord(bool flag) = 0;
};

}  // namespace tavel

#endif  // TAVEL_LIVE_PLAY_ENGINE_H_
