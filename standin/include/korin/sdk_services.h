#ifndef KORIN_SDK_SERVICES_H_
#define KORIN_SDK_SERVICES_H_

#include <cstdint>
#include <string>

#include "engine_export.h"
#include "korin/audio_device.h"
#include "lumen/live_client.h"

namespace korin {

// Receives the engine's analytics calls; the host forwards them.
class ENGINE_API TallyHandler {
 public:
  virtual ~TallyHandler();
  virtual void OnTally(const std::string& name, const std::string& payload) = 0;
  virtual void OnTallyEvent(const std::string& name, bool flag) = 0;
};

ENGINE_API void RegisterTallyHandler(TallyHandler* handler);
ENGINE_API int SetEngineGlobalCacheFolder(const std::string& folder_utf8);

// Audio capture companion of a device engine.
class ENGINE_API AudioRecording {
 public:
  static AudioRecording* Create(const std::string& config);
  static void Destroy(AudioRecording* recording);
  virtual ~AudioRecording();
  virtual void SetSceneName(const std::string& scene) = 0;
  virtual int StartMicrophoneDevice(bool option_a, int reserved, bool option_b, const AudioRecordingParam& param) = 0;
  virtual int StopMicrophoneDevice() = 0;
  virtual int StartRecording(const AudioRecordingParam& param, tavel::MicrophoneRecordingCallback* sink,
                             int reserved) = 0;
  virtual int StopRecording(AudioRecordingStats* stats) = 0;
  // Takes processing module `module` out of the chain (bypass) or back in.
  virtual int SetAudioProcessingBypass(int32_t module, bool bypass) = 0;
};

namespace media_dump {
ENGINE_API int Init(int64_t id, const std::string& a, const std::string& b, const std::string& c,
                    const std::string& d, bool enable, lumen::LiveClient* client, int reserved);
}  // namespace media_dump

namespace thread_monitor {
ENGINE_API void Init();
}  // namespace thread_monitor

namespace transport_v2 {

struct NetworkProberContext {
  std::string app_version;
  std::string sdk_version;
  std::string scheduler_host;
  int32_t app_type = 0;
  int32_t user_type = 0;
  lumen::HttpExecutor* http_executor = nullptr;
  lumen::CacheProvider* cache_provider = nullptr;
  bool is_connected = false;
  double rtt = 0;
  double loss_rate = 0;
};

class ENGINE_API NetworkProber {
 public:
  static NetworkProber* GetInstance();
  virtual ~NetworkProber();
  virtual void UpdateContext(const NetworkProberContext& context) = 0;
  virtual void StartEsProber() = 0;
  virtual void StopEsProber() = 0;
  // Fills is_connected, rtt and loss_rate of `context` with the latest probe.
  virtual void GetEsProberResult(NetworkProberContext* context) = 0;
};

}  // namespace transport_v2
}  // namespace korin

#endif  // KORIN_SDK_SERVICES_H_
