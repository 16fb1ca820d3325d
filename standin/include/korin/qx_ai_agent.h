// The conversational voice agent.
#ifndef KORIN_QX_AI_AGENT_H_
#define KORIN_QX_AI_AGENT_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine_export.h"

namespace korin {

struct QXAIAgentConfig {
  int64_t user_id = 0;
  int64_t agent_id = 0;
  std::string signature;
  std::string auth_extension;
  bool no_timeout = false;
  bool enable_video = true;
};

struct QXAICameraConfig {
  bool hd = false;
  std::string camera_device_id;
  bool use_front_camera = true;
};

struct QXAIAgentConnectionError {
  int32_t code = 0;
  int32_t subcode = 0;
  int32_t fail_reason = 0;
  std::string message;
};

// Engine threads.
class ENGINE_API QXAIAgentCallback {
 public:
  virtual ~QXAIAgentCallback();
  virtual void OnConnectionStateChanged(int32_t state) = 0;
  virtual void OnConnectionError(const QXAIAgentConnectionError& error) = 0;
  virtual void OnAIAgentVadStateChanged(bool speaking) = 0;
  virtual void OnUserVadStateChanged(bool speaking) = 0;
  virtual void OnAIAgentMessage(const char* data, size_t size) = 0;
};

class ENGINE_API QXAIActionCallback {
 public:
  virtual ~QXAIActionCallback();
  virtual void OnActionStatus(int32_t action_type, int64_t duration_ms, const uint8_t* extra, size_t extra_size) = 0;
};

class ENGINE_API QXAIAgentAudioPlayStatusCallback {
 public:
  virtual ~QXAIAgentAudioPlayStatusCallback();
  virtual void OnAudioPlayStatus(int64_t pcm_index, int32_t play_status, int64_t play_pts_ms) = 0;
};

// Audio the agent listens to instead of the microphone, pulled by the
// engine every 20 ms. The samples stay valid while the provider lives.
class ENGINE_API QXAIAudioProvider {
 public:
  virtual ~QXAIAudioProvider();
  virtual bool GetAudioData(const int16_t** samples, int32_t* sample_rate, int32_t* channels, size_t* frames) = 0;
};

class ENGINE_API QXAIAgentInterface {
 public:
  virtual ~QXAIAgentInterface();
  virtual int Start() = 0;
  virtual int Stop() = 0;
  // The microphone. A read of an earlier provider may still be running when
  // it returns: a provider stays valid until the agent is destroyed.
  virtual int StartListening() = 0;
  virtual int StartListeningWithProvider(QXAIAudioProvider* provider) = 0;
  virtual int StopListening() = 0;
  virtual int SetMicrophoneSendMute(bool mute) = 0;
  virtual int SetAIPlayoutMute(bool mute) = 0;
  virtual int SendMessage(const std::string& message) = 0;
  virtual int GetConnectionState() = 0;
  virtual int64_t GetServerClockDiffMs() = 0;
  // Registration replaces. A call of the old callback may still be running
  // when it returns: callbacks stay valid until the agent is destroyed.
  virtual int RegisterActionCallback(QXAIActionCallback* callback) = 0;
  virtual int UnRegisterActionCallback() = 0;
  virtual int RegisterAIAgentAudioPlayStatusCallback(QXAIAgentAudioPlayStatusCallback* callback) = 0;
  virtual int UnRegisterAIAgentAudioPlayStatusCallback() = 0;
  virtual float GetUserAudioLevel() = 0;
  virtual float GetAIAudioLevel() = 0;
  virtual int PublishCamera(const QXAICameraConfig& config) = 0;
  virtual int UnpublishCamera() = 0;
};

class ENGINE_API QXAIAgentFactory {
 public:
  // The agent owns its callback; null on failure (the callback is then freed).
  static QXAIAgentInterface* CreateAIAgent(const QXAIAgentConfig& config, std::unique_ptr<QXAIAgentCallback> callback);
  // Nothing is called any more once this returns.
  static void DestroyAIAgent(QXAIAgentInterface* agent);
};

}  // namespace korin

#endif  // KORIN_QX_AI_AGENT_H_
