// The beauty companion of an engine root.
#ifndef LUMEN_ENGINE_BEAUTY_ENGINE_IMPL_H_
#define LUMEN_ENGINE_BEAUTY_ENGINE_IMPL_H_

#include "tavel/live_engine.h"

namespace lumen_addon {

class BeautyEngineImpl {
 public:
  explicit BeautyEngineImpl(tavel::LiveBeautyEngine* beauty) : beauty_(beauty) {}
  tavel::LiveBeautyEngine* beauty() const { return beauty_; }

 private:
  tavel::LiveBeautyEngine* beauty_;
};

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_BEAUTY_ENGINE_IMPL_H_
