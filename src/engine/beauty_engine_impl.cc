#include "engine/beauty_engine_impl.h"

#include <mutex>

#include "common/logging.h"

namespace lumen_addon {

namespace {
constexpr char kTag[] = "BeautyEngineImpl";
}  // namespace

bool BeautyEngineImpl::available() {
  std::shared_lock<std::shared_mutex> lock(mu_);
  return !closed_ && beauty_;
}

void BeautyEngineImpl::Close() {
  std::unique_lock<std::shared_mutex> lock(mu_);
  closed_ = true;
}

template <typename Op>
void BeautyEngineImpl::Run(const char* missing, Op&& op) {
  std::shared_lock<std::shared_mutex> lock(mu_);
  if (closed_ || !beauty_) {
    LUMEN_LOG(kError, kTag) << missing;
    return;
  }
  op(beauty_);
}

#define BEAUTY_OP(Name, call) \
  Run("BeautyEngineImpl::" #Name ", beauty engine is not created yet.", [&](tavel::LiveBeautyEngine* b) { b->call; })

void BeautyEngineImpl::InitializeBeauty(int timeout) { BEAUTY_OP(InitializeBeauty, InitializeBeauty(timeout)); }
void BeautyEngineImpl::SetBeautyConfig(const tavel::BeautyConfig& c) { BEAUTY_OP(SetBeautyConfig, SetBeautyConfig(c)); }
void BeautyEngineImpl::SetBeautyReady(bool ready) { BEAUTY_OP(SetBeautyReady, SetBeautyReady(ready)); }
void BeautyEngineImpl::EnableBeauty(bool enable) { BEAUTY_OP(EnableBeauty, EnableBeauty(enable)); }
void BeautyEngineImpl::SetBeautyParam(const tavel::BeautyParam& p) { BEAUTY_OP(SetBeautyParam, SetBeautyParam(p)); }
void BeautyEngineImpl::SetStickerPath(const std::string& path) { BEAUTY_OP(SetStickerPath, SetStickerPath(path)); }
void BeautyEngineImpl::SetColorFilterPath(const std::string& path) {
  BEAUTY_OP(SetColorFilterPath, SetColorFilterPath(path));
}
void BeautyEngineImpl::SetEnableAISticker(bool enable) { BEAUTY_OP(SetEnableAISticker, SetEnableAISticker(enable)); }
void BeautyEngineImpl::SetBackgroundBlur(bool enabled) { BEAUTY_OP(SetBackgroundBlur, SetBackgroundBlur(enabled)); }
void BeautyEngineImpl::SetVirtualBackgroud(const std::string& path) {
  BEAUTY_OP(SetVirtualBackgroud, SetVirtualBackgroud(path));
}

}  // namespace lumen_addon
