#include "beauty/beauty_manager.h"

#include "beauty/beauty_hooks.h"
#include "common/logging.h"
#include "engine/beauty_engine_impl.h"
#include "engine/engine_manager.h"
#include "tavel/tally.h"

namespace lumen_addon {

#define BEAUTY_LOG LUMEN_LOG_UNTAGGED(kInfo)

std::shared_ptr<BeautyManager> BeautyManager::Instance() {
  static std::shared_ptr<BeautyManager> instance = [] {
    beauty::Hooks hooks;
    hooks.set_beauty_ready = [](bool ready) { Instance()->SetBeautyReady(ready); };
    hooks.on_beauty_error = [](int code) { Instance()->SetBeautyError(code); };
    hooks.on_ai_sticker_error = [](int code) { Instance()->SetAIStickerError(code); };
    beauty::InstallHooks(hooks);
    return std::make_shared<BeautyManager>();
  }();
  return instance;
}

std::shared_ptr<BeautyEngineImpl> BeautyManager::Engine() {
  std::shared_ptr<BeautyEngineImpl> engine;
  EngineManager::WithInstance([&](EngineManager& m) { engine = m.CurrentBeautyEngine(); });
  return engine && engine->available() ? engine : nullptr;
}

std::shared_ptr<BeautyEngineImpl> BeautyManager::StateCheckLocked() {
  if (!config_.beauty_enable_) {
    BEAUTY_LOG << "global enable is false.";
  } else if (!local_enable_) {
    BEAUTY_LOG << "local enable is false.";
  } else if (!ready_.load()) {
    BEAUTY_LOG << "ready is false.";
  } else if (auto engine = Engine()) {
    return engine;
  } else {
    BEAUTY_LOG << "failed to get beauty_engine.";
  }
  return nullptr;
}

void BeautyManager::InitBeautyLocked() {
  auto engine = Engine();
  if (!engine) {
    BEAUTY_LOG << "BeautyManager::InitBeauty beauty_engine is nil";
    return;
  }
  if (!user_enable_) {
    BEAUTY_LOG << "BeautyManager::InitBeauty, force disable beauty.";
    return;
  }
  engine->SetBeautyConfig(beauty_config_);
  if (!config_.beauty_enable_ && !config_.aisticker_enable_) {
    BEAUTY_LOG << "BeautyManager::InitBeauty no beauty or aisticker function";
    return;
  }
  if (++try_count_ > config_.try_times_max) return;
  BEAUTY_LOG << "BeautyManager::InitBeauty, it is the " << try_count_ << " time to InitBeauty.";
  engine->InitializeBeauty(config_.try_timeout_);
}

void BeautyManager::SyncParamLocked() {
  if (!config_.beauty_enable_) return;
  auto engine = Engine();
  if (!engine) {
    BEAUTY_LOG << "BeautyManager::SyncParam, failed to get beauty_engine.";
    return;
  }
  engine->SetBeautyConfig(beauty_config_);
  engine->SetBeautyReady(true);
  engine->EnableBeauty(local_enable_);
  engine->SetBeautyParam(config_.param);
  engine->SetStickerPath(config_.sticker_path);
  engine->SetColorFilterPath(config_.color_filter_path);
  BEAUTY_LOG << "BeautyManager::SyncParam, done.";
}

int BeautyManager::ApplyBeautyManagerConfig(const BeautyManagerConfig& config) {
  std::lock_guard<std::mutex> lock(mu_);
  config_ = config;
  const BeautyManagerConfig& c = config_;
  BEAUTY_LOG << "BeautyManager::ApplyBeautyManagerConfig, BeautyManagerConfig, beauty_enable_: " << c.beauty_enable_
             << ", aisticker_enable_: " << c.aisticker_enable_ << ", try_on_error_: " << c.try_on_error_
             << ", try_times_max: " << c.try_times_max << ", try_timeout_: " << c.try_timeout_
             << ", whiten_degree: " << c.param.whiten_degree << ", smooth_degree: " << c.param.smooth_degree
             << ", cheek_degree: " << c.param.cheek_degree << ", eye_degree: " << c.param.eye_degree
             << ", color_filter_path: " << c.color_filter_path << ", sticker_path: " << c.sticker_path;
  return 0;
}

void BeautyManager::SyncCurrentState() {
  std::lock_guard<std::mutex> lock(mu_);
  if (!ready_.load()) InitBeautyLocked();
  else SyncParamLocked();
  if (auto engine = Engine()) {
    engine->SetBeautyConfig(beauty_config_);
    engine->SetEnableAISticker(config_.aisticker_enable_);
  } else {
    BEAUTY_LOG << "BeautyManager::SyncParam, failed to get beauty_engine.";
  }
  BEAUTY_LOG << "BeautyManager::SyncCurrentState, done.";
}

int BeautyManager::SetBeautyConfig(const tavel::BeautyConfig& config) {
  std::lock_guard<std::mutex> lock(mu_);
  beauty_config_ = config;
  return 0;
}

int BeautyManager::EnableBeauty(bool enable) {
  std::lock_guard<std::mutex> lock(mu_);
  BEAUTY_LOG << "BeautyManager::EnableBeauty, enable: " << enable;
  user_enable_ = enable;
  if (!config_.beauty_enable_) {
    BEAUTY_LOG << "BeautyManager::EnableBeauty, failed to EnableBeauty, global enable is false.";
    return -1;
  }
  if (!ready_.load()) {
    BEAUTY_LOG << "BeautyManager::EnableBeauty, failed to EnableBeauty, ready is false.";
    return -1;
  }
  auto engine = Engine();
  if (!engine) {
    LUMEN_LOG_UNTAGGED(kError) << "BeautyManager::EnableBeauty, failed to get beauty_engine.";
    return -1;
  }
  local_enable_ = enable;
  engine->EnableBeauty(enable);
  BEAUTY_LOG << "BeautyManager::EnableBeauty, done.";
  return 0;
}

int BeautyManager::SetBeautyParam(const tavel::BeautyParam& p) {
  std::lock_guard<std::mutex> lock(mu_);
  BEAUTY_LOG << "BeautyManager::SetBeautyParam, whiten_degree: " << p.whiten_degree
             << ", smooth_degree: " << p.smooth_degree << ", cheek_degree: " << p.cheek_degree
             << ", eye_degree: " << p.eye_degree;
  auto engine = StateCheckLocked();
  if (!engine) return -1;
  config_.param = p;
  engine->SetBeautyParam(p);
  BEAUTY_LOG << "BeautyManager::SetBeautyParam, done.";
  return 0;
}

int BeautyManager::SetStickerPath(const std::string& path) {
  std::lock_guard<std::mutex> lock(mu_);
  BEAUTY_LOG << "BeautyManager::SetStickerPath, path:" << path;
  auto engine = StateCheckLocked();
  if (!engine) return -1;
  config_.sticker_path = path;
  engine->SetStickerPath(path);
  BEAUTY_LOG << "BeautyManager::SetStickerPath, done.";
  return 0;
}

int BeautyManager::SetColorFilterPath(const std::string& path) {
  std::lock_guard<std::mutex> lock(mu_);
  BEAUTY_LOG << "BeautyManager::SetColorFilterPath, path" << path;
  auto engine = StateCheckLocked();
  if (!engine) return -1;
  config_.color_filter_path = path;
  engine->SetColorFilterPath(path);
  BEAUTY_LOG << "BeautyManager::SetColorFilterPath, done.";
  return 0;
}

int BeautyManager::SetBackgroundBlur(bool enabled) {
  std::lock_guard<std::mutex> lock(mu_);
  BEAUTY_LOG << "BeautyManager::SetBackgroundBlur " << enabled;
  auto engine = StateCheckLocked();
  if (!engine) return -1;
  engine->SetBackgroundBlur(enabled);
  return 0;
}

int BeautyManager::SetVirtualBackground(const std::string& path) {
  std::lock_guard<std::mutex> lock(mu_);
  BEAUTY_LOG << "BeautyManager::SetVirtualBackgroud " << path;
  auto engine = StateCheckLocked();
  if (!engine) return -1;
  engine->SetVirtualBackgroud(path);
  return 0;
}

bool BeautyManager::IsAIStickerAvailable() {
  std::lock_guard<std::mutex> lock(mu_);
  return config_.aisticker_enable_;
}

// Not ready resets to not ready first, then initialises again: the wanted
// values are untouched, so the next ready applies them.
void BeautyManager::SetBeautyReady(bool ready) {
  std::lock_guard<std::mutex> lock(mu_);
  ready_.exchange(ready);
  if (ready) SyncParamLocked();
  else InitBeautyLocked();
}

void BeautyManager::SetBeautyError(int code) {
  std::lock_guard<std::mutex> lock(mu_);
  auto engine = Engine();
  if (!engine) {
    BEAUTY_LOG << "BeautyManager::SetBeautyError, failed to get beauty_engine.";
    return;
  }
  engine->SetBeautyReady(false);
  engine->EnableBeauty(false);
  ready_.exchange(false);
  if (config_.try_on_error_) {
    switch (code) {
      case -1: case -2: case -3: case -4: case -6: case -7: case -8: case -10:
        InitBeautyLocked();
        break;
      case -5: case -9:
        break;
      default:
        BEAUTY_LOG << "BeautyManager::SetBeautyError, undefine error.";
    }
  }
  BEAUTY_LOG << "BeautyManager::SetBeautyError, done.";
}

void BeautyManager::SetAIStickerError(int code) {
  BEAUTY_LOG << "BeautyManager::SetAIStickerError: " << code;
  tavel::tallyv2::ValueEntry entry;
  entry.url = "engineSDK/aisticker/event";
  entry.num_values["errorcode"] = code;
  if (auto client = tavel::tallyv2::TallyClientV2::singleton()) client->PostValueEntry(entry, 1, 0);
}

}  // namespace lumen_addon
