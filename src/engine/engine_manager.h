// Owns every engine the add-on creates, the engine library's live client and
// the user configuration. Handlers ask it for the engine they need per call.
//
// Every slot is a std::shared_ptr written and read under the engines mutex
// only; a look-up hands out a share, so the wrapper outlives the call that
// uses it even if the engine is destroyed meanwhile (its Call then answers
// -1). Nothing that can take network time runs under the engines mutex or
// the instance mutex: a destroy takes the engine out of its slot, then
// disconnects and deletes it without them.
#ifndef LUMEN_ENGINE_ENGINE_MANAGER_H_
#define LUMEN_ENGINE_ENGINE_MANAGER_H_

#include <napi.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "lumen/live_client.h"

namespace lumen_addon {

class LivePlayEngineImpl;
class LocalEngineImpl;
class ReplayEngineImpl;
class StreamingEngineImpl;
class LiveReplayEngineImpl;
class DeviceEngineImpl;
class BeautyEngineImpl;
class ScreenRecordEngineImpl;
class CameraRecordEngineImpl;
class MediaTrackEditorEngineImpl;
class DeliveryGate;

class AddonCallback;

class EngineManager {
 public:
  // JavaScript thread: the manager, created on first use.
  static EngineManager* instance();
  // Environment teardown: destroys every engine, waits for the add-on's own
  // threads, then destroys the live client.
  static void DestroyInstance();
  // Other threads: runs `fn` with the manager unless it is gone (or never
  // was); teardown waits for it to finish, so `fn` must be quick.
  static void WithInstance(const std::function<void(EngineManager&)>& fn);
  // The automatic-leave thread: destroys the live play engine, or the live
  // replay engine, whose callbacks hold `gate`, if it is still current.
  static void AutoLeave(const DeliveryGate* gate, bool relay);

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

  // The recorders and the editor: one of each at most, independent of the
  // main engine and of each other. A create while one exists answers -1
  // (the editor -100606) and changes nothing.
  int CreateScreenRecordEngine(napi_env env, napi_value callback, const std::string& params,
                               const std::string& sdk_version);
  int DestroyScreenRecordEngine();
  int CreateCameraRecordEngine(napi_env env, napi_value config, napi_value callback);
  int DestroyCameraRecordEngine();
  // The code of the editor's initialisation with its text.
  std::pair<int, std::string> CreateMediaTrackEditor();
  int DestroyMediaTrackEditor();

  // 0 live play, 1 replay, 2 local, 4 streaming, 5 live replay, -1 none.
  int CurrentEngineType();

  // Look-ups, any thread; null when there is none.
  // The live replay engine's instance when one exists, else the live play
  // engine.
  std::shared_ptr<LivePlayEngineImpl> CurrentLivePlayEngine();
  // The device engine of the first engine in the order local, live play,
  // replay, streaming, live replay.
  std::shared_ptr<DeviceEngineImpl> CurrentDeviceEngine();
  // The beauty companion of the engine CurrentDeviceEngine finds.
  std::shared_ptr<BeautyEngineImpl> CurrentBeautyEngine();
  std::shared_ptr<LocalEngineImpl> CurrentLocalEngine();
  std::shared_ptr<ReplayEngineImpl> CurrentReplayEngine();
  std::shared_ptr<StreamingEngineImpl> CurrentStreamingEngine();
  std::shared_ptr<LiveReplayEngineImpl> CurrentLiveReplayEngine();
  std::shared_ptr<ScreenRecordEngineImpl> CurrentScreenRecordEngine();
  std::shared_ptr<CameraRecordEngineImpl> CurrentCameraRecordEngine();
  std::shared_ptr<MediaTrackEditorEngineImpl> CurrentMediaTrackEditor();

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
  // Drops pending callback items and releases the renderers (unless the
  // source flag keeps them).
  static void ReleaseDelivered();
  void AfterEngineDestroyed();
  // Stores `engine` unless a main engine exists.
  template <typename W>
  bool Store(std::shared_ptr<W>* slot, std::shared_ptr<W> engine);
  template <typename W>
  std::shared_ptr<W> Take(std::shared_ptr<W>* slot);
  // Stores `made` unless the slot holds one already.
  template <typename W>
  bool StoreAlone(std::shared_ptr<W>* slot, std::shared_ptr<W> made);
  // Destroys the replaced live clients when no engine is left to use them.
  void ReleaseRetiredClients();
  void ReplaceUserInfo(const lumen::UserRecord& record);

  lumen::LiveClient* live_client_ = nullptr;
  std::string sdk_version_;
  bool test_environment_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ENGINE_MANAGER_H_
