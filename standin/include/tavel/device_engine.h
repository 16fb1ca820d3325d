#ifndef TAVEL_DEVICE_ENGINE_H_
#define TAVEL_DEVICE_ENGINE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"
#include "tavel/biz_info.h"
#include "tavel/video_sink.h"

namespace tavel {

class MicrophoneRecordingCallback;

// Device kinds of the device information query.
enum DeviceKind : int32_t { kAudioPlayout = 1, kAudioRecording = 2, kVideoCapture = 8 };
// The index that names the system default device of a kind.
constexpr int32_t kDefaultDeviceIndex = -2;
constexpr int kDeviceNameSize = 256;

struct DeviceInfo {
  char name[kDeviceNameSize] = {};
  char guid[kDeviceNameSize] = {};
  uint32_t transport_type = 0;
};

struct VideoCaptureFormat {
  int32_t width = 0;
  int32_t height = 0;
  int32_t fps = 0;
  int32_t pixel_format = 0;
};

// The classic recording call with parameters.
struct MicrophoneRecordingParam {
  MicrophoneRecordingCallback* sink = nullptr;
  int32_t mode = 1;
  int32_t sample_rate = 16000;
  int32_t channels = 1;
  int64_t timeout_ms = -1;
};

// Statistics of a classic microphone recording.
struct DeviceRecordingStats {
  int32_t encoded_recorded_ms = 0;
  int32_t encoded_voice_activity_ms = 0;
  int32_t encoded_non_zero_sample_count = 0;
  int32_t pcm_recorded_sample_count = 0;
  int32_t pcm_recorded_sample_max = 0;
  int32_t recording_start_time_ms = 0;
  bool start_during_interruption = false;
  bool interruption_after_start = false;
  int32_t error_code = 0;
  uint32_t hint = 0;
};

class ENGINE_API AudioDeviceDataExceptionObserver {
 public:
  virtual ~AudioDeviceDataExceptionObserver();
  virtual void OnRecordingDataException(int code) = 0;
  virtual void OnPlayoutDataException(int code) = 0;
  virtual void OnLoopbackDataException(int code) = 0;
};

class ENGINE_API DeviceErrorObserver {
 public:
  virtual ~DeviceErrorObserver();
  virtual void OnDeviceError(int type, int code, int extra) = 0;
};

// Device changes seen by a classic device engine.
class ENGINE_API DeviceEngineObserver {
 public:
  virtual ~DeviceEngineObserver();
  virtual void OnAudioInputDeviceChanged(int state) = 0;
  virtual void OnAudioOutputDeviceChanged(int state) = 0;
  virtual void OnVideoInputDeviceChanged(int state) = 0;
  virtual void OnVideoFrameReceived(int user_id, int track_type) = 0;
  virtual void OnAudioRecordingStart() = 0;
  virtual void OnAudioRecordingStop() = 0;
};

class ENGINE_API PhotoCaptureCallback {
 public:
  virtual ~PhotoCaptureCallback();
  virtual void OnPictureCaptured(const uint8_t* data, int length) = 0;
};

// The operations a classic device engine and the live device engine share.
// Out values are written only on success (result 0).
#define TAVEL_DEVICE_OPERATIONS                                                                         \
  virtual int SetSpeakerVolume(uint32_t volume) = 0;                                                    \
  virtual int GetSpeakerVolume(uint32_t* volume) = 0;                                                   \
  virtual int SetMicVolume(uint32_t volume) = 0;                                                        \
  virtual int GetMicVolume(uint32_t* volume) = 0;                                                       \
  virtual int GetSpeechInputLevel(uint32_t* level) = 0;                                                 \
  virtual int GetSpeechOutputLevel(int32_t ssrc, uint32_t* level) = 0;                                  \
  virtual int SetAgcStatus(bool enable) = 0;                                                            \
  virtual int GetAgcStatus(bool* enable) = 0;                                                           \
  virtual int SetOutputChannelVolume(int32_t ssrc, uint32_t volume) = 0;                                \
  virtual int SetOutputChannelMute(int32_t ssrc, bool mute) = 0;                                        \
  virtual int SetOutputMute(bool mute) = 0;                                                             \
  virtual int GetOutputMute(bool* mute) = 0;                                                            \
  virtual int GetInputMute(bool* mute) = 0;                                                             \
  virtual int SetInputMute(bool mute) = 0;                                                              \
  virtual int StartRecordingMicrophone(const MicrophoneRecordingParam& param) = 0;                      \
  virtual int StartRecordingMicrophone(MicrophoneRecordingCallback* sink, bool enable_aec) = 0;         \
  virtual int StopRecordingMicrophone(DeviceRecordingStats* stats) = 0;                                 \
  virtual int GetRecordInfoAndReset(DeviceRecordingStats* stats) = 0;                                   \
  virtual int GetNumOfRecordingDevices(int32_t* count) = 0;                                             \
  virtual int GetNumOfPlayoutDevices(int32_t* count) = 0;                                               \
  virtual int GetDeviceInfo(int32_t kind, int32_t index, DeviceInfo* info) = 0;                         \
  virtual int StartTestMicrophone() = 0;                                                                \
  virtual int StopTestMicrophone() = 0;                                                                 \
  virtual int StartTestCamera(const char* guid, VideoSinkInterface* sink, const VideoCaptureFormat& f) = 0; \
  virtual int StopTestCamera() = 0;                                                                     \
  virtual int GetNumOfCaptureDevices() = 0;                                                             \
  virtual int GetCaptureDeviceName(int32_t index, char* name, char* guid) = 0;                          \
  virtual int GetCaptureDeviceIndex(const char* guid, const VideoCaptureFormat& f) = 0;                 \
  virtual int SetCaptureDevice(const char* guid, const VideoCaptureFormat& f) = 0;                      \
  virtual int HandleDefaultDeviceChange(bool enable) = 0;                                               \
  virtual int GetSystemInputMute(bool* mute) = 0;                                                       \
  virtual int SetSystemInputMute(bool mute) = 0;                                                        \
  virtual int GetSystemOutputMute(bool* mute) = 0;                                                      \
  virtual int SetSystemOutputMute(bool mute) = 0;                                                       \
  virtual int GetCaptureDeviceFormatList(const char* guid, std::vector<VideoCaptureFormat>* list) = 0;  \
  virtual int OpenCamera(int track_type, VideoSinkInterface* sink) = 0;                                 \
  virtual int CloseCamera(int track_type) = 0;                                                          \
  virtual int GetRecordingDeviceName(int32_t index, char* name, char* guid) = 0;                        \
  virtual int GetPlayoutDeviceName(int32_t index, char* name, char* guid) = 0;                          \
  virtual int SetRecordingDevice(const char* guid) = 0;                                                 \
  virtual int SetDefaultRecordingDevice() = 0;                                                          \
  virtual int SetPlayoutDevice(const char* guid) = 0;                                                   \
  virtual int SetDefaultPlayoutDevice() = 0;                                                            \
  virtual int GetRecordingDeviceIndex(const char* guid) = 0;                                            \
  virtual int GetPlayoutDeviceIndex(const char* guid) = 0;                                              \
  virtual int SetAudioDevicePreprocessorMode(int32_t mode) = 0;

// The engine parameters of a stand-alone device engine.
struct Ticket {
  std::string engine_params;
  std::string sdk_version;
  int64_t value = 0;
};

// A stand-alone device engine, outside any room.
class ENGINE_API DeviceEngine {
 public:
  static DeviceEngine* Create(const Ticket& ticket);
  static void Destroy(DeviceEngine* engine);
  virtual ~DeviceEngine();
  virtual int RegisterObserver(DeviceEngineObserver* observer) = 0;
  // The two clean-ups before destruction.
  virtual int Release(int64_t value) = 0;
  virtual int Reset(const Ticket& ticket) = 0;
  // Takes processing module `module` out of the microphone chain (bypass) or back in.
  virtual int SetAudioProcessingBypass(int32_t module, bool bypass) = 0;
  TAVEL_DEVICE_OPERATIONS
};

}  // namespace tavel

#endif  // TAVEL_DEVICE_ENGINE_H_
