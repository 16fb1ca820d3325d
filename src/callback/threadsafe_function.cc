#include "callback/threadsafe_function.h"

namespace lumen_addon {

// Shared by the bridge, Node's finaliser and the environment's clean-up hook:
// whichever comes first closes it, and nobody touches the function after.
// Node frees a thread-safe function at the environment's teardown whatever
// its thread count, so `open` must turn false before that.
struct JsFunctionBridge::State {
  mutable std::mutex mu;
  napi_threadsafe_function tsfn = nullptr;
  bool open = false;
  napi_env env = nullptr;
  std::thread::id js_thread;
  // The clean-up hook's argument while the hook is installed.
  std::shared_ptr<State>* hook = nullptr;

  void Close() {
    std::lock_guard<std::mutex> lock(mu);
    open = false;
    tsfn = nullptr;
  }
};

namespace {

using State = JsFunctionBridge::State;

void CallJs(napi_env env, napi_value fn, void*, void* data) {
  std::unique_ptr<JsFunctionBridge::Work> work(static_cast<JsFunctionBridge::Work*>(data));
  if (env == nullptr || !work) return;  // the function is being torn down
  (*work)(Napi::Env(env), Napi::Function(env, fn));
}

// Node finalised the function: its last release went through.
void Finalize(napi_env, void* data, void*) {
  std::unique_ptr<std::shared_ptr<State>> state(static_cast<std::shared_ptr<State>*>(data));
  (*state)->Close();
}

// Installed after the function, so it runs before Node's own clean-up of it.
void EnvironmentGone(void* arg) {
  std::unique_ptr<std::shared_ptr<State>> state(static_cast<std::shared_ptr<State>*>(arg));
  {
    std::lock_guard<std::mutex> lock((*state)->mu);
    (*state)->hook = nullptr;
  }
  (*state)->Close();
}

}  // namespace

std::shared_ptr<JsFunctionBridge> JsFunctionBridge::Create(napi_env env, napi_value fn, const char* resource_name) {
  auto state = std::make_shared<State>();
  state->env = env;
  state->js_thread = std::this_thread::get_id();
  napi_value name = nullptr;
  auto* finalize_ref = new std::shared_ptr<State>(state);
  napi_threadsafe_function tsfn = nullptr;
  napi_valuetype type = napi_undefined;
  if (fn != nullptr && napi_typeof(env, fn, &type) == napi_ok && type != napi_function) fn = nullptr;
  if (napi_create_string_utf8(env, resource_name, NAPI_AUTO_LENGTH, &name) != napi_ok ||
      napi_create_threadsafe_function(env, fn, nullptr, name, 0, 1, finalize_ref, Finalize, nullptr, CallJs, &tsfn) !=
          napi_ok) {
    delete finalize_ref;
    Napi::Error::New(env).ThrowAsJavaScriptException();
    return nullptr;
  }
  napi_unref_threadsafe_function(env, tsfn);
  state->tsfn = tsfn;
  state->open = true;
  state->hook = new std::shared_ptr<State>(state);
  if (napi_add_env_cleanup_hook(env, EnvironmentGone, state->hook) != napi_ok) {
    // Without the hook the function cannot be used safely up to teardown.
    delete state->hook;
    state->hook = nullptr;
    state->open = false;
    state->tsfn = nullptr;
    napi_release_threadsafe_function(tsfn, napi_tsfn_abort);
    Napi::Error::New(env).ThrowAsJavaScriptException();
    return nullptr;
  }
  return std::shared_ptr<JsFunctionBridge>(new JsFunctionBridge(std::move(state)));
}

JsFunctionBridge::~JsFunctionBridge() { Release(); }

bool JsFunctionBridge::Call(Work work, bool blocking) {
  std::lock_guard<std::mutex> lock(state_->mu);
  if (!state_->open) return false;
  auto* item = new Work(std::move(work));
  if (napi_call_threadsafe_function(state_->tsfn, item, blocking ? napi_tsfn_blocking : napi_tsfn_nonblocking) !=
      napi_ok) {
    delete item;
    return false;
  }
  return true;
}

void JsFunctionBridge::Release(bool abort) {
  std::shared_ptr<State>* hook = nullptr;
  {
    std::lock_guard<std::mutex> lock(state_->mu);
    if (state_->open) napi_release_threadsafe_function(state_->tsfn, abort ? napi_tsfn_abort : napi_tsfn_release);
    state_->open = false;
    state_->tsfn = nullptr;
    // The hook can only be removed on the JavaScript thread; elsewhere it
    // stays until the environment's teardown.
    if (state_->hook && std::this_thread::get_id() == state_->js_thread) std::swap(hook, state_->hook);
  }
  if (hook) {
    napi_remove_env_cleanup_hook(state_->env, EnvironmentGone, hook);
    delete hook;
  }
}

bool JsFunctionBridge::released() const {
  std::lock_guard<std::mutex> lock(state_->mu);
  return !state_->open;
}

}  // namespace lumen_addon
