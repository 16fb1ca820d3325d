// Owns every engine the add-on creates, the engine library's live client and
// the user configuration. Handlers ask it for the engine they need per call.
#ifndef LUMEN_ENGINE_ENGINE_MANAGER_H_
#define LUMEN_ENGINE_ENGINE_MANAGER_H_

#include <napi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "lumen/live_client.h"

namespace lumen_addon {

class LivePlayEngineImpl;
class LocalEngineImpl;
class ReplayEngineImpl;
class StreamingEngineImpl;
class LiveReplayEngineImpl;
class DeviceEngineImpl;

class AddonCallback;

class EngineManager {
 public:
  // JavaScript thread: the manager, created on first use.
  static EngineManager* instance();
  // Environment teardown: destroys every engine, then the live client.
  static void DestroyInstance();
  // Other threads: runs `fn` with the manager unless it is gone (or never
  // was); teardown waits for it to finish.
  static void WithInstance(const std::function<void(EngineManager&)>& fn);

  bool AnyEngineExists();

  int CreateLocalEngine(napi_env env, napi_value callbacks, int32_t user_id, const std::string& text);
  int DestroyLocalEngine();
  int CreateLivePlayEngine(napi_env env, napi_value callbacks);
  int DestroyLivePlayEngine();
  int CreateReplayEngine(napi_env env, napi_value callbacks, const std::string& media_path);
  int DestroyReplayEngine();
  int CreateStreamingEngine(napi_env env, napi_value config, napi_value callbacks, const std::string& params);
  int DestroyStreamingEngine();
  int CreateLiveReplayEngine(napi_env env, napi_value replay_callbacks, const std::string& media_path,
                             napi_value live_callbacks);
  int DestroyLiveReplayEngine();
  int OpenLiveReplayMedia();
  bool HasLiveReplayEngine();

  // 0 live play, 1 replay, 2 local, 4 streaming, 5 live replay, -1 none.
  int CurrentEngineType();

  // The live replay engine's instance when one exists, else the live play
  // engine; shared so that it outlives an automatic leave during the call.
  std::shared_ptr<LivePlayEngineImpl> CurrentLivePlayEngine();
  DeviceEngineImpl* CurrentDeviceEngine();

  void OnAppInit(napi_env env, napi_value live_client, const std::string& sdk_version);
  void SetUserConfig(napi_env env, napi_value config);
  void NetworkTypeChanged(int32_t network_type);
  bool IsTestEnvironment() const { return test_environment_; }

  lumen::LiveClient* live_client() const { return live_client_; }
  const std::string& sdk_version() const { return sdk_version_; }


 private:
  EngineManager() = default;
  ~EngineManager();

  struct Impl;
  std::unique_ptr<Impl> impl_;
  void AfterEngineDestroyed();
  // Destroys the replaced live clients when no engine is left to use them.
  void ReleaseRetiredClients();
  void ReplaceUserInfo(const lumen::UserRecord& record);

  lumen::LiveClient* live_client_ = nullptr;
  std::string sdk_version_;
  bool test_environment_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ENGINE_MANAGER_H_
