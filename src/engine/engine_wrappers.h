// The local, replay, streaming and live replay engine wrappers. Their export
// groups come later; the engine manager creates, finds and destroys them now.
#ifndef LUMEN_ENGINE_ENGINE_WRAPPERS_H_
#define LUMEN_ENGINE_ENGINE_WRAPPERS_H_

#include <napi.h>

#include <memory>
#include <string>

#include "callback/addon_callback.h"
#include "engine/engine_impl_base.h"
#include "tavel/live_engine.h"

namespace lumen {

class LivePlayEngineImpl;

// Keeps the JavaScript callbacks object of an engine whose events are
// delivered by its own export group.
template <typename EngineCallback>
class EngineCallbackHolder : public EngineCallback, public AddonCallback {
 public:
  EngineCallbackHolder(napi_env env, napi_value callbacks) : AddonCallback(env, callbacks) {}
};

class LocalEngineCallbackImpl : public EngineCallbackHolder<tavel::LocalEngineCallback> {
 public:
  using EngineCallbackHolder::EngineCallbackHolder;
  void OnLocalEngineStarted(int) override {}
};

class StreamingEngineCallbackImpl : public EngineCallbackHolder<tavel::StreamingEngineCallback> {
 public:
  using EngineCallbackHolder::EngineCallbackHolder;
  void OnStreamingStateChanged(int) override {}
};

class ReplayEngineCallbackImpl : public EngineCallbackHolder<tavel::ReplayEngineCallback> {
 public:
  using EngineCallbackHolder::EngineCallbackHolder;
  void OnReplayOpened(int) override {}
};

class LocalEngineImpl : public EngineImplBase {
 public:
  LocalEngineImpl(napi_env env, napi_value callbacks);
  ~LocalEngineImpl() override { DeleteRoot(); }
  tavel::LocalEngine* local() const { return local_; }

 private:
  tavel::LocalEngine* local_;
  std::shared_ptr<LocalEngineCallbackImpl> callback_;
};

class StreamingEngineImpl : public EngineImplBase {
 public:
  StreamingEngineImpl(napi_env env, napi_value callbacks);
  ~StreamingEngineImpl() override { DeleteRoot(); }
  tavel::StreamingEngine* streaming() const { return streaming_; }
  StreamingEngineCallbackImpl* callback() const { return callback_.get(); }

 private:
  tavel::StreamingEngine* streaming_;
  std::shared_ptr<StreamingEngineCallbackImpl> callback_;
};

class ReplayEngineImpl : public EngineImplBase {
 public:
  ReplayEngineImpl(napi_env env, napi_value callbacks);
  ~ReplayEngineImpl() override { DeleteRoot(); }
  tavel::ReplayEngine* replay() const { return replay_; }
  int Open(const std::string& media_path, const std::string& sdk_version, lumen::LiveClient* client);

 private:
  tavel::ReplayEngine* replay_;
  std::shared_ptr<ReplayEngineCallbackImpl> callback_;
};

// A recorded class played through the live play interface: a standalone
// replay engine feeding a relay live play engine.
class LiveReplayEngineImpl {
 public:
  LiveReplayEngineImpl(lumen::LiveClient* client, const std::string& media_path, const std::string& sdk_version);
  ~LiveReplayEngineImpl();

  void CreateReplay(napi_env env, napi_value callbacks);
  void set_live_play(std::shared_ptr<LivePlayEngineImpl> live_play);
  const std::shared_ptr<LivePlayEngineImpl>& live_play() const { return live_play_; }
  int OpenMedia();
  // Stops and destroys the replay, disconnects and shuts the live play part down.
  void Shutdown();

 private:
  tavel::ReplayEngine* replay_ = nullptr;
  std::shared_ptr<ReplayEngineCallbackImpl> replay_callback_;
  std::shared_ptr<LivePlayEngineImpl> live_play_;
  lumen::LiveClient* live_client_;
  std::string media_path_;
  std::string sdk_version_;
};

}  // namespace lumen

#endif  // LUMEN_ENGINE_ENGINE_WRAPPERS_H_
