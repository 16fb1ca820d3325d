// The beauty companion of an engine root: each operation calls the engine's
// beauty interface, or only logs once there is none (never had, or the
// owning wrapper shut down).
#ifndef LUMEN_ENGINE_BEAUTY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_BEAUTY_ENGINE_IMPL_H_

#include <shared_mutex>
#include <string>

#include "tavel/live_engine.h"

namespace lumen_addon {

class BeautyEngineImpl {
 public:
  explicit BeautyEngineImpl(tavel::LiveBeautyEngine* beauty) : beauty_(beauty) {}
  tavel::LiveBeautyEngine* beauty() const { return beauty_; }
  // Whether operations still reach an engine.
  bool available();
  // The owning wrapper is shut down: waits for calls in flight; later ones only log.
  void Close();

  void InitializeBeauty(int timeout);
  void SetBeautyConfig(const tavel::BeautyConfig& config);
  void SetBeautyReady(bool ready);
  void EnableBeauty(bool enable);
  void SetBeautyParam(const tavel::BeautyParam& param);
  void SetStickerPath(const std::string& path);
  void SetColorFilterPath(const std::string& path);
  void SetEnableAISticker(bool enable);
  void SetBackgroundBlur(bool enabled);
  void SetVirtualBackgroud(const std::string& path);

 private:
  template <typename Op>
  void Run(const char* missing, Op&& op);

  std::shared_mutex mu_;
  bool closed_ = false;
  tavel::LiveBeautyEngine* const beauty_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_BEAUTY_ENGINE_IMPL_H_
