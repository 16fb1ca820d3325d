#include "callback/threadsafe_function.h"

namespace lumen_addon {

namespace {

struct Context {
  const char* resource_name;
};

void CallJs(napi_env env, napi_value fn, void*, void* data) {
  std::unique_ptr<JsFunctionBridge::Work> work(static_cast<JsFunctionBridge::Work*>(data));
  if (env == nullptr || !work) return;  // the function is being torn down
  (*work)(Napi::Env(env), Napi::Function(env, fn));
}

void Finalize(napi_env, void* context, void*) { delete static_cast<Context*>(context); }

}  // namespace

std::unique_ptr<JsFunctionBridge> JsFunctionBridge::Create(napi_env env, napi_value fn, const char* resource_name) {
  napi_value name = nullptr;
  napi_threadsafe_function tsfn = nullptr;
  auto* context = new Context{resource_name};
  if (napi_create_string_utf8(env, resource_name, NAPI_AUTO_LENGTH, &name) != napi_ok ||
      napi_create_threadsafe_function(env, fn, nullptr, name, 0, 1, context, Finalize, context, CallJs, &tsfn) !=
          napi_ok) {
    delete context;
    Napi::Error::New(env).ThrowAsJavaScriptException();
    return nullptr;
  }
  return std::unique_ptr<JsFunctionBridge>(new JsFunctionBridge(tsfn));
}

JsFunctionBridge::~JsFunctionBridge() { Release(); }

bool JsFunctionBridge::Call(Work work, bool blocking) {
  if (released_) return false;
  auto* item = new Work(std::move(work));
  if (napi_call_threadsafe_function(tsfn_, item, blocking ? napi_tsfn_blocking : napi_tsfn_nonblocking) != napi_ok) {
    delete item;
    return false;
  }
  return true;
}

void JsFunctionBridge::Release(bool abort) {
  if (released_) return;
  released_ = true;
  napi_release_threadsafe_function(tsfn_, abort ? napi_tsfn_abort : napi_tsfn_release);
}

}  // namespace lumen_addon
