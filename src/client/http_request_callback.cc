#include "client/http_request_callback.h"

#include <string>
#include <utility>

#include "common/convert.h"
#include "common/export_table.h"
#include "common/logging.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "HttpRequestCallback";

// JavaScript thread only; set at registration, deleted at teardown.
Napi::FunctionReference* g_constructor = nullptr;

// The response object JavaScript answers with. Failed reads are raised and
// leave their fields empty.
lumen::HttpResponse ReadResponse(const Napi::Value& value) {
  lumen::HttpResponse response;
  Napi::Object o = js::ToObject(value);
  response.status_code = js::Int32At(o, "statusCode");
  Napi::Value headers = js::Get(o, "headers");
  if (!headers.IsEmpty() && headers.IsArray()) {
    auto list = headers.As<Napi::Array>();
    const uint32_t n = list.Length();
    if (n > js::kMaxListLength) {
      Napi::RangeError::New(value.Env(), "lists are limited to " + std::to_string(js::kMaxListLength) + " elements")
          .ThrowAsJavaScriptException();
    } else {
      for (uint32_t i = 0; i < n; ++i) {
        Napi::Value item = list.Get(i);
        if (item.IsEmpty()) break;
        Napi::Object h = js::ToObject(item);
        std::string name = js::Utf8At(h, "name");
        std::string text = js::Utf8At(h, "value");
        response.headers.push_back({std::move(name), std::move(text)});
      }
    }
  }
  // Last: a getter above may detach the body's buffer.
  std::vector<uint8_t> body = js::Bytes(js::Get(o, "body"));
  response.SetBody(body.data(), body.size());
  return response;
}

// The same description every export carries, so that tests and the fuzzer
// find the class among the exports.
void Describe(Napi::Env env, Napi::Function constructor) {
  Napi::Value symbol = env.Global().Get("Symbol");
  if (symbol.IsEmpty() || !symbol.IsFunction()) return;
  Napi::Value make = symbol.As<Napi::Object>().Get("for");
  if (make.IsEmpty() || !make.IsFunction()) return;
  Napi::Value key = make.As<Napi::Function>().Call(symbol, {Napi::String::New(env, kDescriptionKey)});
  if (key.IsEmpty()) return;
  Napi::Object d = Napi::Object::New(env);
  d.Set("name", "HttpRequestCallback");
  d.Set("group", "HttpRequestCallback");
  d.Set("check", "free");
  d.Set("types", "");
  d.Set("message", env.Null());
  d.Set("failure", env.Undefined());
  d.Set("forwards", false);
  d.Set("handle", env.Null());
  d.Set("constructor", true);
  d.Freeze();
  napi_property_descriptor p{nullptr, key, nullptr, nullptr, nullptr, d, napi_default, nullptr};
  napi_define_properties(env, constructor, 1, &p);
}

}  // namespace

void HttpRequestCallback::Register(napi_env env, napi_value exports) {
  Napi::Env e(env);
  Napi::Function constructor =
      DefineClass(e, "HttpRequestCallback",
                  {InstanceMethod<&HttpRequestCallback::OnSuccess>("onSuccess"),
                   InstanceMethod<&HttpRequestCallback::OnFailed>("onFailed")});
  if (constructor.IsEmpty()) {
    Napi::Error::New(e).ThrowAsJavaScriptException();
    return;
  }
  Describe(e, constructor);
  if (!g_constructor) g_constructor = new Napi::FunctionReference();
  *g_constructor = Napi::Persistent(constructor);
  if (napi_set_named_property(env, exports, "HttpRequestCallback", constructor) != napi_ok)
    Napi::Error::New(e).ThrowAsJavaScriptException();
}

void HttpRequestCallback::ReleaseConstructor() {
  delete g_constructor;
  g_constructor = nullptr;
}

Napi::Value HttpRequestCallback::NewInstance(Napi::Env env, std::unique_ptr<HttpEntry> entry) {
  if (!g_constructor || g_constructor->IsEmpty()) {
    LUMEN_LOG(kError, kTag) << "HttpRequestCallback::NewInstance constructor is empty";
    return Napi::Value();
  }
  Napi::Object instance = g_constructor->New({});
  if (instance.IsEmpty()) return Napi::Value();
  // While the environment is being terminated the constructor can answer an
  // object it could not wrap; the request is then let go uncompleted.
  HttpRequestCallback* wrap = Unwrap(instance);
  if (!wrap) return Napi::Value();
  wrap->entry_ = std::move(entry);
  return instance;
}

HttpRequestCallback::HttpRequestCallback(const Napi::CallbackInfo& info) : Napi::ObjectWrap<HttpRequestCallback>(info) {}

HttpRequestCallback::~HttpRequestCallback() {
  if (!entry_ || !HttpExecutorManager::Exists()) return;
  // Not the URL: it may carry credentials.
  LUMEN_LOG(kWarning, kTag) << "a request of type " << entry_->request.type << " was dropped unanswered";
  entry_->callback->OnFailure(kDropped, lumen::HttpResponse());
  HttpExecutorManager::ReportTime("httpSendRequest-httpRequestFailed", HttpExecutorManager::NowMs() - entry_->queued_ms);
}

// The entry leaves the instance before the response is read: a getter that
// answers again finds nothing to complete.
Napi::Value HttpRequestCallback::OnSuccess(const Napi::CallbackInfo& info) {
  std::unique_ptr<HttpEntry> entry = std::move(entry_);
  if (!entry) return info.Env().Undefined();
  lumen::HttpResponse response = ReadResponse(info[0]);
  entry->callback->OnSuccess(response);
  HttpExecutorManager::ReportTime("httpSendRequest-httpRequestSucceed", HttpExecutorManager::NowMs() - entry->queued_ms);
  return info.Env().Undefined();
}

Napi::Value HttpRequestCallback::OnFailed(const Napi::CallbackInfo& info) {
  if (info.Length() != 2) {
    Napi::Error::New(info.Env(), "Expected 2 arguments").ThrowAsJavaScriptException();
    return info.Env().Undefined();
  }
  std::unique_ptr<HttpEntry> entry = std::move(entry_);
  if (!entry) return info.Env().Undefined();
  lumen::HttpResponse response = ReadResponse(info[0]);
  const std::string message = js::ToUtf8(info[1]);
  entry->callback->OnFailure(message, response);
  HttpExecutorManager::ReportTime("httpSendRequest-httpRequestFailed", HttpExecutorManager::NowMs() - entry->queued_ms);
  return info.Env().Undefined();
}

}  // namespace lumen_addon
