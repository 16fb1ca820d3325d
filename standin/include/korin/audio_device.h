#ifndef KORIN_AUDIO_DEVICE_H_
#define KORIN_AUDIO_DEVICE_H_

#include <cstdint>
#include <functional>
#include <string>

#include "engine_export.h"
#include "korin/frame_valid_detector.h"
#include "tavel/device_engine.h"

namespace korin {

class ENGINE_API AudioDeviceEventListener {
 public:
  virtual ~AudioDeviceEventListener();
  virtual void OnAudioInputDeviceChanged(int state) = 0;
  virtual void OnAudioOutputDeviceChanged(int state) = 0;
  virtual void OnDefaultAudioInputDeviceChanged(const char* name, const char* guid) = 0;
  virtual void OnDefaultAudioOutputDeviceChanged(const char* name, const char* guid) = 0;
};

// The newer audio device: audio only; counts are answered directly.
class ENGINE_API AudioDeviceInterface {
 public:
  static AudioDeviceInterface* CreateAudioDevice();
  virtual ~AudioDeviceInterface();
  virtual int RegisterEventListener(AudioDeviceEventListener* listener) = 0;
  virtual int SetSpeakerVolume(uint32_t volume) = 0;
  virtual int GetSpeakerVolume(uint32_t* volume) = 0;
  virtual int SetMicVolume(uint32_t volume) = 0;
  virtual int GetMicVolume(uint32_t* volume) = 0;
  virtual int GetSpeechInputLevel(uint32_t* level) = 0;
  virtual int GetSpeechOutputLevel(int32_t ssrc, uint32_t* level) = 0;
  virtual int SetOutputChannelVolume(int32_t ssrc, uint32_t volume) = 0;
  virtual int SetOutputChannelMute(int32_t ssrc, bool mute) = 0;
  virtual int SetOutputMute(bool mute) = 0;
  virtual int GetOutputMute(bool* mute) = 0;
  virtual int GetInputMute(bool* mute) = 0;
  virtual int SetInputMute(bool mute) = 0;
  virtual int GetNumOfRecordingDevices() = 0;
  virtual int GetNumOfPlayoutDevices() = 0;
  virtual int GetDeviceInfo(int32_t kind, int32_t index, tavel::DeviceInfo* info) = 0;
  virtual int GetRecordingDeviceName(int32_t index, char* name, char* guid) = 0;
  virtual int GetPlayoutDeviceName(int32_t index, char* name, char* guid) = 0;
  virtual int SetRecordingDevice(const char* guid) = 0;
  virtual int SetDefaultRecordingDevice() = 0;
  virtual int SetPlayoutDevice(const char* guid) = 0;
  virtual int SetDefaultPlayoutDevice() = 0;
  virtual int GetRecordingDeviceIndex(const char* guid) = 0;
  virtual int GetPlayoutDeviceIndex(const char* guid) = 0;
  virtual int StartTestMicrophone() = 0;
  virtual int StopTestMicrophone() = 0;
  virtual int HandleDefaultDeviceChange(bool enable) = 0;
  virtual int GetSystemInputMute(bool* mute) = 0;
  virtual int SetSystemInputMute(bool mute) = 0;
  virtual int GetSystemOutputMute(bool* mute) = 0;
  virtual int SetSystemOutputMute(bool mute) = 0;
  virtual int SetAudioDevicePreprocessorMode(int32_t mode) = 0;
};

// Parameters of a recording through korin::AudioRecording.
struct AudioRecordingParam {
  int32_t sample_rate = 0;
  int64_t reserved0 = 0;
  int64_t bit_rate = 0;
  bool flag0 = false;
  bool flag1 = false;
  bool device_option_b = false;
  bool device_option_a = false;
  int64_t timeout_ms = 0;
  std::string str0;
  std::string str1;
  int32_t processing_mask = 0;
  int32_t mode = 0;
  std::string scene;
  std::string str2;
  int64_t reserved1 = 0;
};

struct AudioRecordingStats {
  int32_t encoded_recorded_ms = 0;
  int32_t encoded_voice_activity_ms = 0;
  int32_t encoded_non_zero_sample_count = 0;
  int32_t pcm_recorded_sample_count = 0;
  int32_t unreported = 0;
  int32_t pcm_recorded_sample_max = 0;
  int32_t recording_start_time_ms = 0;
  bool flag = false;
  int32_t error_code = 0;
  uint32_t hint = 0;
};

namespace base {
ENGINE_API bool is_aero_enabled();
ENGINE_API void set_electron_version(int version);
}  // namespace base

}  // namespace korin

#endif  // KORIN_AUDIO_DEVICE_H_
