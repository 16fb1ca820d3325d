// Moves engine events onto the JavaScript thread: engine threads post items,
// a libuv async handle wakes the JavaScript thread, which runs every queued
// item, priority items first.
#ifndef LUMEN_CALLBACK_CALLBACK_DISPATCHER_H_
#define LUMEN_CALLBACK_CALLBACK_DISPATCHER_H_

#include <node_api.h>
#include <uv.h>

#include <cstdint>

#include "callback/callback_queue.h"

namespace lumen_addon {

class AddonCallback;

class CallbackDispatcher {
 public:
  // Creates the dispatcher of `env` and stores it in the process-wide slot.
  static CallbackDispatcher* Create(napi_env env);
  static CallbackDispatcher* Get() { return instance_; }

  // Any thread. Takes ownership; the item is dropped when no environment
  // is open or it is closing.
  static bool Post(CallbackItem* item);

  // The process-lifetime queue behind every dispatcher: engine threads may
  // still post while an environment is torn down.
  static CallbackQueue& Queue();

  // JavaScript thread.
  static void PurgeType(int32_t type) { Queue().PurgeType(type); }
  // Only the items of `type` that `holder` produced.
  static void PurgeHolder(int32_t type, const AddonCallback* holder) { Queue().PurgeHolder(type, holder); }
  static void DrainEngine() { Queue().DrainEngine(); }
  static int CountRenderer(int32_t renderer_id) { return Queue().CountRenderer(renderer_id); }

  // Teardown: drops what is queued and every later post; answers how many were queued.
  size_t DrainClosing();
  // Teardown: closes the handle and frees the dispatcher; clears the slot.
  void Close();

  // Deletes a reference on the JavaScript thread (now, or at the next wake-up).
  static void DeleteReference(napi_env env, napi_ref ref);
  static bool OnJsThread();

  // Asked after every item: true makes the run function yield to libuv
  // (the HTTP executor has requests waiting).
  using YieldHook = bool (*)();
  static void SetYieldHook(YieldHook hook) { yield_hook_ = hook; }

  napi_env env() const { return env_; }

  // JavaScript thread: the key of a callback method's name for property
  // look-ups, made once per batch of items while items run (the name is a
  // string literal, known by its address); nullptr outside a run.
  static napi_value MethodKey(napi_env env, const char* method);

 private:
  struct CachedKey {
    const char* name = nullptr;
    napi_value key = nullptr;
  };
  static constexpr int kKeySlots = 32;
  explicit CallbackDispatcher(napi_env env);
  ~CallbackDispatcher() = default;

  static void OnWake(uv_async_t* handle);
  static void OnCheck(uv_check_t* handle);
  static void Wake(void* context);
  bool CanCallJs();
  void RunItems();

  static CallbackDispatcher* instance_;
  static YieldHook yield_hook_;

  napi_env env_;
  uv_async_t* handle_ = nullptr;
  // Runs what is queued after each poll of the loop, before the loop asks
  // whether it is still alive: a post woken in the last iteration after the
  // wake-up handle's turn is still delivered.
  uv_check_t* check_ = nullptr;
  napi_ref object_ref_ = nullptr;
  napi_async_context async_context_ = nullptr;
  // Valid within the handle scope of the current batch only.
  CachedKey keys_[kKeySlots];
  bool keys_live_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_CALLBACK_DISPATCHER_H_
