// The beauty and AI-sticker state JavaScript wants, kept across engine
// lifetimes and re-applied to the current engine's beauty interface when it
// becomes ready, fails, or a new engine is created or connected.
//
// Exports and beauty events run on the JavaScript thread; a background
// connect syncs from its own thread. The manager's mutex serialises them
// across its beauty calls, which are local to the engine (no network time)
// and never run JavaScript.
#ifndef LUMEN_BEAUTY_BEAUTY_MANAGER_H_
#define LUMEN_BEAUTY_BEAUTY_MANAGER_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "tavel/live_engine.h"

namespace lumen_addon {

class BeautyEngineImpl;

struct BeautyManagerConfig {
  bool beauty_enable_ = false;
  bool aisticker_enable_ = false;
  bool try_on_error_ = false;
  int32_t try_times_max = 5;
  int32_t try_timeout_ = 10;
  tavel::BeautyParam param;
  std::string sticker_path;
  std::string color_filter_path;
};

class BeautyManager {
 public:
  // Created on first use; routes the engine's beauty events to itself.
  static std::shared_ptr<BeautyManager> Instance();

  int ApplyBeautyManagerConfig(const BeautyManagerConfig& config);
  void SyncCurrentState();
  int SetBeautyConfig(const tavel::BeautyConfig& config);
  int EnableBeauty(bool enable);
  int SetBeautyParam(const tavel::BeautyParam& param);
  int SetStickerPath(const std::string& path);
  int SetColorFilterPath(const std::string& path);
  int SetBackgroundBlur(bool enabled);
  int SetVirtualBackground(const std::string& path);
  bool IsAIStickerAvailable();

  // Beauty events, before JavaScript hears them.
  void SetBeautyReady(bool ready);
  void SetBeautyError(int code);
  void SetAIStickerError(int code);

 private:
  static std::shared_ptr<BeautyEngineImpl> Engine();
  void InitBeautyLocked();
  void SyncParamLocked();
  // The ordered checks before an engine operation; logs the first that fails.
  std::shared_ptr<BeautyEngineImpl> StateCheckLocked();

  std::mutex mu_;
  BeautyManagerConfig config_;
  tavel::BeautyConfig beauty_config_;
  std::atomic<bool> ready_{false};
  bool local_enable_ = false;
  bool user_enable_ = false;
  int32_t try_count_ = 0;
};

}  // namespace lumen_addon

#endif  // LUMEN_BEAUTY_BEAUTY_MANAGER_H_
