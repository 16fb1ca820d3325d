// An engine wrapper that owns a fresh engine root with its device, beauty and
// audio-render companions.
#ifndef LUMEN_ENGINE_ENGINE_IMPL_BASE_H_
#define LUMEN_ENGINE_ENGINE_IMPL_BASE_H_

#include <memory>

#include "engine/beauty_engine_impl.h"
#include "engine/device_engine_impl.h"
#include "tavel/live_engine.h"

namespace lumen_addon {

class EngineImplBase {
 public:
  EngineImplBase();
  EngineImplBase(const EngineImplBase&) = delete;
  EngineImplBase& operator=(const EngineImplBase&) = delete;
  virtual ~EngineImplBase();

  tavel::LiveEngine* root() const { return root_; }
  DeviceEngineImpl* device_engine() const { return device_engine_.get(); }
  BeautyEngineImpl* beauty_engine() const { return beauty_engine_.get(); }
  tavel::MediaPlayerEngine* media_player() const { return media_player_; }

 protected:
  // Unregisters the device callbacks and deletes the root; after it the
  // root's interfaces are gone. Idempotent.
  void DeleteRoot();

  tavel::MediaPlayerEngine* media_player_ = nullptr;
  std::unique_ptr<DeviceEngineImpl> device_engine_;
  std::unique_ptr<BeautyEngineImpl> beauty_engine_;
  tavel::AudioRenderEngine* audio_render_ = nullptr;
  tavel::LiveEngine* root_ = nullptr;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_ENGINE_IMPL_BASE_H_
