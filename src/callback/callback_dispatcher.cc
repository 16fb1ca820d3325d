#include "callback/callback_dispatcher.h"

#include <napi.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "callback/async_callback_item.h"
#include "common/logging.h"
#include "common/pending_exception.h"
#include "common/time_slice.h"

namespace lumen_addon {

CallbackDispatcher* CallbackDispatcher::instance_ = nullptr;
CallbackDispatcher::YieldHook CallbackDispatcher::yield_hook_ = nullptr;

namespace {

constexpr char kTag[] = "AsyncCallbackItemBase";

// Written by the environment's registration, read by any thread.
std::atomic<std::thread::id> g_js_thread{};

// References dropped off the JavaScript thread, deleted at its next wake-up.
struct PendingUnrefs {
  std::mutex mu;
  std::vector<std::pair<napi_env, napi_ref>> refs;
  // The environment whose references may still be deleted; an environment
  // that has ended freed its references itself, and touching them (or it)
  // afterwards would be a use after free.
  napi_env live = nullptr;
};

PendingUnrefs& Unrefs() {
  static auto* p = new PendingUnrefs;
  return *p;
}

// `ending`: the environment is closing; references dropped later are let go.
void DeletePendingReferences(bool ending = false) {
  std::vector<std::pair<napi_env, napi_ref>> refs;
  {
    std::lock_guard<std::mutex> lock(Unrefs().mu);
    refs.swap(Unrefs().refs);
    if (ending) Unrefs().live = nullptr;
  }
  for (auto& r : refs) napi_delete_reference(r.first, r.second);
}

}  // namespace

CallbackQueue& CallbackDispatcher::Queue() {
  static auto* queue = new CallbackQueue;  // outlives every environment on purpose
  return *queue;
}

bool CallbackDispatcher::Post(CallbackItem* item) { return Queue().Post(item); }

bool CallbackDispatcher::OnJsThread() { return std::this_thread::get_id() == g_js_thread.load(); }

void CallbackDispatcher::DeleteReference(napi_env env, napi_ref ref) {
  {
    std::lock_guard<std::mutex> lock(Unrefs().mu);
    if (env != Unrefs().live) return;
    if (!OnJsThread()) Unrefs().refs.emplace_back(env, ref);
  }
  if (OnJsThread()) {
    napi_delete_reference(env, ref);
    return;
  }
  // Nudge the JavaScript thread; an empty queue still runs the deletions.
  Queue().Nudge();
}

CallbackDispatcher::CallbackDispatcher(napi_env env) : env_(env) {}

CallbackDispatcher* CallbackDispatcher::Create(napi_env env) {
  g_js_thread.store(std::this_thread::get_id());
  auto* d = new CallbackDispatcher(env);
  uv_loop_t* loop = nullptr;
  if (napi_get_uv_event_loop(env, &loop) != napi_ok || loop == nullptr) {
    Napi::Error::New(env).ThrowAsJavaScriptException();
    delete d;
    return nullptr;
  }
  d->handle_ = new uv_async_t;
  uv_async_init(loop, d->handle_, OnWake);
  d->handle_->data = d;
  // Delivery must not keep the process alive on its own.
  uv_unref(reinterpret_cast<uv_handle_t*>(d->handle_));
  d->check_ = new uv_check_t;
  uv_check_init(loop, d->check_);
  d->check_->data = d;
  uv_check_start(d->check_, OnCheck);
  uv_unref(reinterpret_cast<uv_handle_t*>(d->check_));

  napi_value object = nullptr, name = nullptr;
  if (napi_create_object(env, &object) != napi_ok ||
      napi_create_reference(env, object, 1, &d->object_ref_) != napi_ok ||
      napi_create_string_utf8(env, "lumen_engine_addon:callback", NAPI_AUTO_LENGTH, &name) != napi_ok ||
      napi_async_init(env, object, name, &d->async_context_) != napi_ok) {
    Napi::Error::New(env).ThrowAsJavaScriptException();
  }
  {
    std::lock_guard<std::mutex> lock(Unrefs().mu);
    Unrefs().live = env;
  }
  Queue().Open(Wake, d);
  instance_ = d;
  return d;
}

void CallbackDispatcher::Wake(void* context) { uv_async_send(static_cast<CallbackDispatcher*>(context)->handle_); }

void CallbackDispatcher::OnWake(uv_async_t* handle) {
  auto* d = static_cast<CallbackDispatcher*>(handle->data);
  if (!d) return;
  DeletePendingReferences();
  if (Queue().closing()) return;
  d->RunItems();
}

void CallbackDispatcher::OnCheck(uv_check_t* handle) {
  auto* d = static_cast<CallbackDispatcher*>(handle->data);
  if (!d || Queue().closing() || !Queue().Pending()) return;
  d->RunItems();
}

// During teardown Node still runs the loop to close handles after JavaScript
// may no longer be called, before the clean-up hook has drained the queue. A
// property read fails then without a pending exception.
bool CallbackDispatcher::CanCallJs() {
  napi_handle_scope scope = nullptr;
  if (napi_open_handle_scope(env_, &scope) != napi_ok) return false;
  napi_value object = nullptr, value = nullptr;
  bool pending = false;
  const bool ok = object_ref_ && napi_get_reference_value(env_, object_ref_, &object) == napi_ok && object &&
                  (napi_get_named_property(env_, object, "probe", &value) == napi_ok ||
                   (napi_is_exception_pending(env_, &pending) == napi_ok && pending));
  napi_close_handle_scope(env_, scope);
  return ok;
}

napi_value CallbackDispatcher::MethodKey(napi_env env, const char* method) {
  CallbackDispatcher* d = instance_;
  if (!d || !d->keys_live_ || env != d->env_ || !method) return nullptr;
  CachedKey& slot = d->keys_[(reinterpret_cast<uintptr_t>(method) >> 3) % kKeySlots];
  if (slot.name != method) {
    napi_value key = nullptr;
    if (napi_create_string_utf8(env, method, NAPI_AUTO_LENGTH, &key) != napi_ok) return nullptr;
    slot.name = method;
    slot.key = key;
  }
  return slot.key;
}

namespace {

// Items run between two closes of their handle scope: values of finished
// items are let go while a long burst runs, yet the open and close are shared.
constexpr int kItemsPerScope = 256;

void CloseHandleScope(napi_env env, napi_handle_scope scope) {
  if (scope && napi_close_handle_scope(env, scope) != napi_ok)
    napi_fatal_error("HandleScope::~HandleScope", NAPI_AUTO_LENGTH, "napi_close_handle_scope", NAPI_AUTO_LENGTH);
}

}  // namespace

void CallbackDispatcher::RunItems() {
  // The items stay queued for the clean-up hook, which destroys them.
  if (!CanCallJs()) return;
  // Until the run ends, posts need not wake the JavaScript thread.
  struct Run {
    Run() { Queue().BeginRun(); }
    ~Run() { Queue().LeaveRun(); }
    bool More() { return Queue().EndRun(); }
  } run;
  CallbackItem* item = Queue().Take();
  if (!item && run.More()) item = Queue().Take();
  if (!item) return;
  TimeSlice slice(Queue().size() + 1);

  Napi::Env env(env_);
  napi_handle_scope scope = nullptr;
  if (napi_open_handle_scope(env_, &scope) != napi_ok) Napi::Error::New(env).ThrowAsJavaScriptException();

  // A callback scope per wake-up: promises resolved by the callbacks have
  // their continuations run when it closes, as after any other callback.
  napi_callback_scope cb_scope = nullptr;
  napi_value resource = nullptr;
  if (object_ref_ && napi_get_reference_value(env_, object_ref_, &resource) == napi_ok && resource)
    napi_open_callback_scope(env_, resource, async_context_, &cb_scope);

  napi_handle_scope batch = nullptr;
  int in_batch = 0;
  AsyncCallbackItemBase::DeferHolderReleases(true);
  while (item) {
    if (in_batch == kItemsPerScope) in_batch = 0;
    if (in_batch++ == 0) {
      AsyncCallbackItemBase::FlushHolderReleases();
      keys_live_ = false;
      CloseHandleScope(env_, batch);
      batch = nullptr;
      keys_live_ = napi_open_handle_scope(env_, &batch) == napi_ok;
      for (CachedKey& k : keys_) k = CachedKey{};
    }
    if (item->Runnable()) {
      item->Run();
      SurfacePendingException(env_);
    } else {
      LUMEN_LOG(kError, kTag) << "GetJsEnv() is nullptr, Nothing can be run ! ";
    }
    item->ReleaseData();
    delete item;
    if ((yield_hook_ && yield_hook_()) || slice.Spent()) {
      uv_async_send(handle_);
      break;
    }
    // An item may have closed the environment's queue (teardown from JavaScript).
    if (Queue().closing()) break;
    item = Queue().Take();
    if (!item && run.More()) item = Queue().Take();
  }

  AsyncCallbackItemBase::DeferHolderReleases(false);
  keys_live_ = false;
  CloseHandleScope(env_, batch);
  if (cb_scope) napi_close_callback_scope(env_, cb_scope);
  SurfacePendingException(env_);
  CloseHandleScope(env_, scope);
}

size_t CallbackDispatcher::DrainClosing() { return Queue().DrainClosing(); }

void CallbackDispatcher::Close() {
  handle_->data = nullptr;
  Queue().DrainClosing();
  uv_close(reinterpret_cast<uv_handle_t*>(handle_),
           [](uv_handle_t* h) { delete reinterpret_cast<uv_async_t*>(h); });
  handle_ = nullptr;
  check_->data = nullptr;
  uv_check_stop(check_);
  uv_close(reinterpret_cast<uv_handle_t*>(check_), [](uv_handle_t* h) { delete reinterpret_cast<uv_check_t*>(h); });
  check_ = nullptr;
  DeletePendingReferences(true);
  if (async_context_) napi_async_destroy(env_, async_context_);
  if (object_ref_) napi_delete_reference(env_, object_ref_);
  if (instance_ == this) instance_ = nullptr;
  delete this;
}

}  // namespace lumen_addon
