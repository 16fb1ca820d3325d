#include "client/http_executor_manager.h"

#include <atomic>
#include <chrono>
#include <mutex>

#include "callback/addon_callback.h"
#include "callback/callback_dispatcher.h"
#include "client/http_executor_impl.h"
#include "client/http_request_callback.h"
#include "common/convert.h"
#include "common/logging.h"
#include "common/pending_exception.h"
#include "common/time_slice.h"
#include "tavel/tally.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "HttpExecutorManager";

// The slot and the queue are reached from engine threads, which may call in
// while the environment is torn down: both are guarded by this mutex, and
// the manager is only freed once it is out of the slot.
std::mutex g_mu;
HttpExecutorManager* g_manager = nullptr;
std::atomic<size_t> g_pending{0};

void CloseHandleScope(napi_env env, napi_handle_scope scope) {
  if (scope && napi_close_handle_scope(env, scope) != napi_ok)
    napi_fatal_error("HandleScope::~HandleScope", NAPI_AUTO_LENGTH, "napi_close_handle_scope", NAPI_AUTO_LENGTH);
}

Napi::Object RequestObject(Napi::Env env, const lumen::HttpRequest& r) {
  Napi::Object o = Napi::Object::New(env);
  o.Set("url", r.url);
  o.Set("method", static_cast<double>(r.method));
  o.Set("type", static_cast<double>(r.type));
  Napi::Array headers = Napi::Array::New(env, r.headers.size());
  for (size_t i = 0; i < r.headers.size(); ++i) {
    Napi::Object h = Napi::Object::New(env);
    h.Set("name", r.headers[i].name);
    h.Set("value", r.headers[i].value);
    headers.Set(static_cast<uint32_t>(i), h);
  }
  o.Set("headers", headers);
  if (r.body_size() > 0) {
    if (r.body() == nullptr) {
      LUMEN_LOG(kError, kTag) << "Request body data is null";
    } else {
      Napi::Value body = js::CopyBuffer(env, r.body(), r.body_size());
      if (body.IsEmpty()) {
        LUMEN_LOG(kError, kTag) << "Failed to allocate buffer for request body";
        SurfacePendingException(env);
      } else {
        o.Set("body", body);
      }
    }
  }
  return o;
}

}  // namespace

int64_t HttpExecutorManager::NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void HttpExecutorManager::ReportTime(const char* name, int64_t ms) {
  auto client = tavel::tallyv2::TallyClientV2::singleton();
  if (!client) return;
  tavel::tallyv2::ValueEntry entry;
  entry.url = "sdk/statistics/timeConsuming/httpRequest";
  entry.str_values["name"] = name;
  entry.num_values["time"] = static_cast<double>(ms);
  client->PostValueEntry(entry, 1, 0);
}

HttpExecutorManager::HttpExecutorManager(napi_env env) : env_(env) {}

HttpExecutorManager::~HttpExecutorManager() = default;

void HttpExecutorManager::Ensure(napi_env env, napi_value live_client) {
  HttpExecutorManager* m = nullptr;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    m = g_manager;
  }
  if (!m) {
    uv_loop_t* loop = nullptr;
    if (napi_get_uv_event_loop(env, &loop) != napi_ok || loop == nullptr) {
      Napi::Error::New(env).ThrowAsJavaScriptException();
      return;
    }
    m = new HttpExecutorManager(env);
    m->handle_ = new uv_async_t;
    uv_async_init(loop, m->handle_, OnWake);
    m->handle_->data = m;
    // Requests alone must not keep the process alive.
    uv_unref(reinterpret_cast<uv_handle_t*>(m->handle_));
    napi_value object = nullptr, name = nullptr;
    if (napi_create_object(env, &object) != napi_ok || napi_create_reference(env, object, 1, &m->env_ref_) != napi_ok ||
        napi_create_string_utf8(env, "lumen_engine_addon:http", NAPI_AUTO_LENGTH, &name) != napi_ok ||
        napi_async_init(env, object, name, &m->async_context_) != napi_ok) {
      Napi::Error::New(env).ThrowAsJavaScriptException();
    }
    {
      std::lock_guard<std::mutex> lock(g_mu);
      g_manager = m;
    }
    HttpExecutorImpl::SetForward(Enqueue);
    CallbackDispatcher::SetYieldHook(HasPending);
  }
  m->live_client_ = std::make_shared<AddonCallback>(env, live_client);
}

bool HttpExecutorManager::Exists() {
  std::lock_guard<std::mutex> lock(g_mu);
  return g_manager != nullptr;
}

void HttpExecutorManager::Close() {
  HttpExecutorManager* m = nullptr;
  std::deque<std::unique_ptr<HttpEntry>> dropped;
  {
    std::lock_guard<std::mutex> lock(g_mu);
    m = g_manager;
    g_manager = nullptr;
    if (m) dropped.swap(m->queue_);
    g_pending = 0;
  }
  if (!m) return;
  HttpExecutorImpl::SetForward(nullptr);
  CallbackDispatcher::SetYieldHook(nullptr);
  m->handle_->data = nullptr;
  uv_close(reinterpret_cast<uv_handle_t*>(m->handle_), [](uv_handle_t* h) { delete reinterpret_cast<uv_async_t*>(h); });
  if (m->async_context_) napi_async_destroy(m->env_, m->async_context_);
  if (m->env_ref_) napi_delete_reference(m->env_, m->env_ref_);
  m->live_client_.reset();
  delete m;
  // The engine is gone by now: its callbacks are let go, not called.
  dropped.clear();
}

void HttpExecutorManager::Enqueue(const lumen::HttpRequest& request, std::shared_ptr<lumen::HttpCallback> callback,
                                  int value) {
  auto entry = std::make_unique<HttpEntry>();
  entry->request = request;
  entry->callback = std::move(callback);
  entry->value = value;
  entry->queued_ms = NowMs();
  std::lock_guard<std::mutex> lock(g_mu);
  if (!g_manager) return;
  g_manager->queue_.push_back(std::move(entry));
  g_pending.fetch_add(1);
  uv_async_send(g_manager->handle_);
}

bool HttpExecutorManager::HasPending() { return g_pending.load(std::memory_order_relaxed) > 0; }

std::unique_ptr<HttpEntry> HttpExecutorManager::Take() {
  std::lock_guard<std::mutex> lock(g_mu);
  if (queue_.empty()) return nullptr;
  std::unique_ptr<HttpEntry> entry = std::move(queue_.front());
  queue_.pop_front();
  g_pending.fetch_sub(1);
  return entry;
}

void HttpExecutorManager::OnWake(uv_async_t* handle) {
  if (auto* m = static_cast<HttpExecutorManager*>(handle->data)) m->Run();
}

// While the environment is torn down Node may still run the loop after
// JavaScript can no longer be called; the requests then stay queued for Close.
bool HttpExecutorManager::CanCallJs() {
  napi_handle_scope scope = nullptr;
  if (napi_open_handle_scope(env_, &scope) != napi_ok) return false;
  napi_value object = nullptr, value = nullptr;
  bool pending = false;
  const bool ok = napi_get_reference_value(env_, env_ref_, &object) == napi_ok && object &&
                  (napi_get_named_property(env_, object, "probe", &value) == napi_ok ||
                   (napi_is_exception_pending(env_, &pending) == napi_ok && pending));
  napi_close_handle_scope(env_, scope);
  return ok;
}

void HttpExecutorManager::Run() {
  if (!env_ref_) {
    LUMEN_LOG(kError, kTag) << " env_ref_ is Empty ! Can't doRequest in HttpExecutorManager !";
    return;
  }
  if (!CanCallJs()) return;
  napi_handle_scope scope = nullptr;
  if (napi_open_handle_scope(env_, &scope) != napi_ok) Napi::Error::New(env_).ThrowAsJavaScriptException();
  // Promises that executeHttpRequest starts (fetch) run their continuations
  // when this scope closes, as after any other callback.
  napi_callback_scope cb_scope = nullptr;
  napi_value resource = nullptr;
  if (napi_get_reference_value(env_, env_ref_, &resource) == napi_ok && resource)
    napi_open_callback_scope(env_, resource, async_context_, &cb_scope);
  // Each entry in its own scope: a burst of requests lets its values go.
  TimeSlice slice(g_pending.load());
  while (std::unique_ptr<HttpEntry> entry = Take()) {
    napi_handle_scope one = nullptr;
    napi_open_handle_scope(env_, &one);
    RunOne(std::move(entry));
    SurfacePendingException(env_);
    CloseHandleScope(env_, one);
    if (slice.Spent()) {
      uv_async_send(handle_);
      break;
    }
  }
  if (cb_scope) napi_close_callback_scope(env_, cb_scope);
  SurfacePendingException(env_);
  CloseHandleScope(env_, scope);
}

void HttpExecutorManager::RunOne(std::unique_ptr<HttpEntry> entry) {
  Napi::Env env(env_);
  const int64_t start = NowMs();
  ReportTime("httpSendRequest-doRequest", start - entry->queued_ms);
  Napi::Object request = RequestObject(env, entry->request);
  const int value = entry->value;
  Napi::Value callback = HttpRequestCallback::NewInstance(env, std::move(entry));
  // Held for the call: the method may run onAppInit again and replace it.
  std::shared_ptr<AddonCallback> holder = live_client_;
  Napi::Object client = holder ? holder->GetJsCallback() : Napi::Object();
  if (!client.IsEmpty()) {
    Napi::Value method = client.Get("executeHttpRequest");
    if (!method.IsEmpty() && method.IsFunction()) {
      // Values that could not be made go as undefined, never as null handles.
      napi_value argv[] = {request.IsEmpty() ? env.Undefined() : request, callback.IsEmpty() ? env.Undefined() : callback,
                           Napi::Number::New(env, value)};
      if (!argv[2]) argv[2] = env.Undefined();
      napi_value ignored = nullptr;
      napi_call_function(env_, client, method, 3, argv, &ignored);
    }
  }
  ReportTime("httpDoRequest-CompleteRequest", NowMs() - start);
}

}  // namespace lumen_addon
