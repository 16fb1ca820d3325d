#ifndef TAVEL_LIVE_ENGINE_H_
#define TAVEL_LIVE_ENGINE_H_

#include <string>

#include "engine_export.h"
#include "lumen/live_client.h"
#include "tavel/device_engine.h"
#include "tavel/playback.h"

namespace korin {
struct FrameValidDetectorConfig;
}  // namespace korin

namespace tavel {

// The root of one engine instance; its sub-interfaces live as long as it.
class ENGINE_API LiveEngine {
 public:
  static LiveEngine* Create();
  // Stops every callback of the root and its sub-interfaces, then clears `engine`.
  static int Delete(LiveEngine*& engine);
  virtual ~LiveEngine();
};

class ENGINE_API AudioRenderEngine {
 public:
  static AudioRenderEngine* GetInterface(LiveEngine* root);
  virtual ~AudioRenderEngine();
  virtual int Init(const AudioFormat& format) = 0;
  virtual int Start() = 0;
  virtual int Stop() = 0;
  virtual int Release() = 0;
  virtual int GetSpaceCanPushInBytes() = 0;
  // The bytes are read during the call only.
  virtual int PushAudioData(const uint8_t* data, size_t size) = 0;
  virtual int ClearPushedAudioData() = 0;
};

class ENGINE_API MediaPlayerEngine {
 public:
  static MediaPlayerEngine* GetInterface(LiveEngine* root);
  virtual ~MediaPlayerEngine();
  virtual int RegisterCallback(MediaPlayerCallback* callback) = 0;
  // Answers 0 and sets *player_id, or the engine's error (a file that cannot
  // be opened among them). `sink` may be null; the engine calls it until the
  // player is destroyed.
  virtual int PrepareAsync(const std::string& url, const std::vector<std::string>& prefixes,
                           const std::string& extra, int32_t stream_id, VideoSinkInterface* sink,
                           int32_t* player_id, bool sendout, bool playout, const VideoTrackInfo& info) = 0;
  virtual int Start(int32_t player_id) = 0;
  virtual int Pause(int32_t player_id) = 0;
  virtual int SetLooping(int32_t player_id, bool loop) = 0;
  virtual int SetSpeed(int32_t player_id, float speed) = 0;
  virtual int SetVolume(int32_t player_id, int32_t volume, int32_t delay_ms) = 0;
  virtual int SeekTo(int32_t player_id, int64_t position_ms, int32_t mode) = 0;
  virtual int64_t GetCurrentPositionMs(int32_t player_id) = 0;
  virtual int64_t GetDurationMs(int32_t player_id) = 0;
  virtual int Destroy(int32_t player_id) = 0;
  virtual int RingBell(const std::string& file, float speed, int32_t volume) = 0;
};

struct BeautyConfig {
  std::string resource_path;
};

struct BeautyParam {
  float cheek_degree = 0;
  float eye_degree = 0;
  float smooth_degree = 0;
  float whiten_degree = 0;
};

// Beauty effects of the local picture. Readiness and errors are reported on
// the live play engine's callback (OnBeautyReady, OnBeautyError, ...).
class ENGINE_API LiveBeautyEngine {
 public:
  static LiveBeautyEngine* GetInterface(LiveEngine* root);
  virtual ~LiveBeautyEngine();
  virtual int InitializeBeauty(int timeout) = 0;
  virtual int SetBeautyConfig(const BeautyConfig& config) = 0;
  virtual int SetBeautyReady(bool ready) = 0;
  virtual int EnableBeauty(bool enable) = 0;
  virtual int SetBeautyParam(const BeautyParam& param) = 0;
  virtual int SetStickerPath(const std::string& path) = 0;
  virtual int SetColorFilterPath(const std::string& path) = 0;
  virtual int SetEnableAISticker(bool enable) = 0;
  virtual int SetBackgroundBlur(bool enabled) = 0;
  virtual int SetVirtualBackgroud(const std::string& path) = 0;
};

// Device events of an engine root.
class ENGINE_API DeviceEventCallback {
 public:
  virtual ~DeviceEventCallback();
  virtual void OnDeviceError(int type, int code, int extra) = 0;
  virtual void OnDeviceEvent(int type, int code, int extra) = 0;
};

class ENGINE_API LiveDeviceEngine {
 public:
  static LiveDeviceEngine* GetInterface(LiveEngine* root);
  virtual ~LiveDeviceEngine();
  virtual int RegisterDeviceEventCallback(DeviceEventCallback* callback) = 0;
  virtual int SetAudioParameterPath(const std::string& path) = 0;
  TAVEL_DEVICE_OPERATIONS
  virtual int GetSpeechOutputLevel(const BizInfo& info, uint32_t* level) = 0;
  virtual int SetOutputChannelVolume(const BizInfo& info, uint32_t volume) = 0;
  virtual int SetOutputChannelMute(const BizInfo& info, bool mute) = 0;
  virtual int StartSystemAudioLoopback() = 0;
  virtual int StopSystemAudioLoopback() = 0;
  // A negative result: not registered. Null unregisters.
  virtual int RegisterAudioDeviceDataExceptionObserver(AudioDeviceDataExceptionObserver* observer) = 0;
  virtual int RegisterDeviceErrorCallback(DeviceErrorObserver* observer) = 0;
  virtual int EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& config) = 0;
  virtual int SetCaptureRotation(int rotation) = 0;
  // One picture from the camera of track type 10, shown in `sink` meanwhile.
  virtual int CapturePhoto(int width, int height, VideoSinkInterface* sink, PhotoCaptureCallback* callback,
                           bool mirror) = 0;
  virtual int StopCapturePhoto() = 0;
};

// Device-only engine used outside a room.
struct LocalEngineConfig {
  int32_t user_id = 0;
  std::string text;
  std::string sdk_version;
  std::string app_version;
  int32_t app_type = 0;
};

class ENGINE_API LocalEngineCallback {
 public:
  virtual ~LocalEngineCallback();
  virtual void OnLocalEngineStarted(int result) = 0;
};

class ENGINE_API LocalEngine {
 public:
  static LocalEngine* GetInterface(LiveEngine* root);
  virtual ~LocalEngine();
  virtual void RegisterCallback(LocalEngineCallback* callback) = 0;
  virtual int Start(const LocalEngineConfig& config, lumen::LiveClient* client) = 0;
};

class ENGINE_API StreamingEngineCallback {
 public:
  virtual ~StreamingEngineCallback();
  virtual void OnStreamingStateChanged(int state) = 0;
  virtual void OnBufferingBegin() = 0;
  virtual void OnBufferingEnd() = 0;
  virtual void OnFrameReceived(int width, int height) = 0;
  virtual void OnError(int code, const std::string& message) = 0;
};

class ENGINE_API StreamingEngine {
 public:
  static StreamingEngine* GetInterface(LiveEngine* root);
  virtual ~StreamingEngine();
  virtual int Start(const lumen::CommandClientConfig& config, const std::string& engine_params,
                    lumen::LiveClient* client, StreamingEngineCallback* callback) = 0;
  // `sink` is called until the root is deleted.
  virtual int PrepareAsync(const std::vector<std::string>& urls, VideoSinkInterface* sink) = 0;
  // The bytes are read during the call only.
  virtual int SendUserData(const uint8_t* data, size_t size) = 0;
  virtual int SendRadioData(const uint8_t* data, size_t size) = 0;
  virtual int Mute(bool mute) = 0;
  virtual bool IsMute() = 0;
  virtual int Pause() = 0;
  virtual int Start() = 0;
};

struct ReplayOpenConfig {
  std::string media_path;
  std::string sdk_version;
  int32_t start_position_ms = 0;
  bool loop = false;
};

class ENGINE_API ReplayEngineCallback {
 public:
  virtual ~ReplayEngineCallback();
  virtual void OnReplayOpened(int result) = 0;
};

class ENGINE_API ReplayEngine {
 public:
  static ReplayEngine* GetInterface(LiveEngine* root);
  // A replay engine of its own, without a root.
  static ReplayEngine* Create();
  static void Destroy(ReplayEngine* engine);
  virtual ~ReplayEngine();
  virtual void RegisterCallback(ReplayEngineCallback* callback) = 0;
  virtual int Open(const ReplayOpenConfig& config, lumen::LiveClient* client) = 0;
  virtual int Stop() = 0;
  virtual int Play() = 0;
  virtual int Pause() = 0;
  virtual int SetPlaySpeed(float speed) = 0;
  // The bytes are read during the call only.
  virtual int ReceivePacket(const uint8_t* data, size_t size, const ReplayPacketInfo& info) = 0;
  virtual int RequestReset() = 0;
  virtual int ConfirmReset() = 0;
  virtual int SetStreamInfo(const uint8_t* data, int32_t size) = 0;
  // A sink is called until its stop returned or the engine is gone.
  virtual int VideoStartPlay(uint32_t user_id, int32_t stream_type, VideoSinkInterface* sink) = 0;
  virtual int VideoStartPlay(const BizInfo& info, VideoSinkInterface* sink) = 0;
  virtual int VideoStopPlay(uint32_t user_id, int32_t stream_type) = 0;
  virtual int VideoStopPlay(const BizInfo& info) = 0;
  virtual int AudioStartPlay(int32_t user_id, bool play) = 0;
  virtual int AudioStartPlay(const BizInfo& info) = 0;
  virtual int AudioStopPlay(int32_t user_id) = 0;
  virtual int AudioStopPlay(const BizInfo& info) = 0;
  virtual int SetVoiceAdjustParameters(uint32_t user_id, int32_t value) = 0;
  virtual int SetVoiceAdjustParameters(const BizInfo& info, int32_t position) = 0;
};

}  // namespace tavel

#endif  // TAVEL_LIVE_ENGINE_H_
