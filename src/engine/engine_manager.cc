#include "engine/engine_manager.h"

#include "callback/addon_callback.h"
#include "callback/callback_dispatcher.h"
#include "callback/video_frame_callback.h"
#include "common/convert.h"
#include "common/logging.h"
#include "common/record_reader.h"
#include "client/http_executor_impl.h"
#include "client/http_executor_manager.h"
#include "engine/cache_provider_impl.h"
#include "engine/cache_store.h"
#include "engine/live_replay_engine_impl.h"
#include "engine/local_engine_impl.h"
#include "engine/replay_engine_impl.h"
#include "engine/streaming_engine_impl.h"
#include "engine/live_play_engine_impl.h"
#include "engine/room_config.h"
#include "korin/sdk_services.h"
#include "tavel/source_flag.h"
#include "tavel/tally.h"

namespace lumen_addon {

namespace {

constexpr char kTag[] = "EngineManager";

EngineManager* g_instance = nullptr;
// Guards the slot against threads of the add-on's own (automatic leave,
// background connect) racing the environment teardown.
std::mutex g_instance_mu;

// Forwards the engine's analytics calls to the analytics client.
class TallyForwarder : public korin::TallyHandler {
 public:
  void OnTally(const std::string& name, const std::string& payload) override {
    if (auto client = tavel::tallyv2::TallyClientV2::singleton()) client->PostSerializedEntry(name, payload);
  }
  void OnTallyEvent(const std::string& name, bool flag) override {
    tavel::tallyv2::ValueEntry entry;
    entry.url = name;
    if (auto client = tavel::tallyv2::TallyClientV2::singleton()) client->PostValueEntry(entry, 1, flag ? 1 : 0);
  }
};

using lumen::UserRecord;
const record::Field<UserRecord> kUserFields[] = {
    LUMEN_FIELD("userType", UserRecord, user_type, kUint32),
    LUMEN_FIELD("networkType", UserRecord, network_type, kInt32),
    LUMEN_FIELD("appVersion", UserRecord, app_version, kString),
    LUMEN_FIELD("appType", UserRecord, app_type, kInt32),
    LUMEN_FIELD("productId", UserRecord, product_id, kInt32),
    LUMEN_FIELD("schedulerHost", UserRecord, scheduler_host, kString),
};

}  // namespace

struct EngineManager::Impl {
  std::mutex engines_mu;  // live play and live replay: life and look-up
  std::shared_ptr<LivePlayEngineImpl> live_play;
  std::unique_ptr<ReplayEngineImpl> replay;
  std::unique_ptr<LocalEngineImpl> local;
  std::unique_ptr<StreamingEngineImpl> streaming;
  std::unique_ptr<LiveReplayEngineImpl> live_replay;

  std::unique_ptr<lumen::LiveClientConfig> config;
  std::unique_ptr<CacheProviderImpl> cache_provider;
  std::unique_ptr<HttpExecutorImpl> http_executor;
  std::unique_ptr<TallyForwarder> tally_handler;

  std::mutex user_mu;
  lumen::UserRecord user;
  lumen::UserInfo* user_info = nullptr;

  // A live client replaced by a later onAppInit while engines made with it
  // still existed, with the objects it was configured with: those engines
  // hold its address. Destroyed once no engine is left.
  struct RetiredClient {
    lumen::LiveClient* client;
    std::unique_ptr<lumen::LiveClientConfig> config;
    std::unique_ptr<CacheProviderImpl> cache_provider;
    std::unique_ptr<HttpExecutorImpl> http_executor;
  };
  std::mutex retired_mu;  // after engines_mu
  std::vector<RetiredClient> retired;

  bool AnyLocked() const { return live_play || replay || local || streaming || live_replay; }
};

EngineManager* EngineManager::instance() {
  std::lock_guard<std::mutex> lock(g_instance_mu);
  if (!g_instance) {
    g_instance = new EngineManager();
    g_instance->impl_ = std::make_unique<Impl>();
  }
  return g_instance;
}

void EngineManager::DestroyInstance() {
  std::lock_guard<std::mutex> lock(g_instance_mu);
  delete g_instance;
  g_instance = nullptr;
}

void EngineManager::WithInstance(const std::function<void(EngineManager&)>& fn) {
  std::lock_guard<std::mutex> lock(g_instance_mu);
  if (g_instance) fn(*g_instance);
}

EngineManager::~EngineManager() {
  DestroyLocalEngine();
  DestroyLivePlayEngine();
  DestroyStreamingEngine();
  DestroyLiveReplayEngine();
  DestroyReplayEngine();
  if (impl_->tally_handler) korin::RegisterTallyHandler(nullptr);
  ReleaseRetiredClients();
  if (live_client_) {
    if (impl_->user_info) live_client_->ReleaseUserInfo(impl_->user_info);
    lumen::LiveClient::Destroy(live_client_);
  }
  live_client_ = nullptr;
}

void EngineManager::ReleaseRetiredClients() {
  std::vector<Impl::RetiredClient> gone;
  {
    std::lock_guard<std::mutex> engines(impl_->engines_mu);
    if (impl_->AnyLocked()) return;
    std::lock_guard<std::mutex> lock(impl_->retired_mu);
    gone.swap(impl_->retired);
  }
  // Each client before the objects it was configured with.
  for (Impl::RetiredClient& r : gone) lumen::LiveClient::Destroy(r.client);
}

bool EngineManager::AnyEngineExists() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->AnyLocked();
}

void EngineManager::AfterEngineDestroyed() {
  CallbackDispatcher::DrainEngine();
  if (!tavel::GetSourceFlagWithKey("DISABLE_RELEASE_RENDER")) VideoFrameCallback::RemoveAllRenderers();
  ReleaseRetiredClients();
}

// ---- creation and destruction ------------------------------------------------------

int EngineManager::CreateLocalEngine(napi_env env, napi_value callbacks, int32_t user_id, const std::string& text) {
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create local engine";
  impl_->local = std::make_unique<LocalEngineImpl>(env, callbacks);
  tavel::LocalEngine* local = impl_->local->local();
  if (!local) return -1;
  tavel::LocalEngineConfig config;
  config.user_id = user_id;
  config.text = text;
  config.sdk_version = sdk_version_;
  return local->Start(config, live_client_);
}

int EngineManager::DestroyLocalEngine() {
  if (!impl_->local) return -1;
  auto gone = std::move(impl_->local);
  gone.reset();
  AfterEngineDestroyed();
  return 0;
}

int EngineManager::CreateLivePlayEngine(napi_env env, napi_value callbacks) {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  if (impl_->AnyLocked()) return -1;
  impl_->live_play = std::make_shared<LivePlayEngineImpl>(live_client_, sdk_version_, env, callbacks, false);
  return 0;
}

int EngineManager::DestroyLivePlayEngine() {
  int disconnected = 0;
  {
    std::lock_guard<std::mutex> lock(impl_->engines_mu);
    if (!impl_->live_play) return -1;
    LUMEN_LOG(kInfo, kTag) << "destroy live play engine";
    disconnected = impl_->live_play->Disconnect();
    impl_->live_play->Shutdown();
    impl_->live_play.reset();  // a handler still using it keeps the shell alive, engine gone
  }
  AfterEngineDestroyed();
  return disconnected >= 0 ? 0 : -1;
}

int EngineManager::CreateReplayEngine(napi_env env, napi_value callbacks, const std::string& media_path) {
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create replay engine";
  impl_->replay = std::make_unique<ReplayEngineImpl>(env, callbacks);
  return impl_->replay->Open(media_path, sdk_version_, live_client_);
}

int EngineManager::DestroyReplayEngine() {
  if (!impl_->replay) return -1;
  LUMEN_LOG(kInfo, kTag) << "destroy replay engine";
  int result = 0;
  if (tavel::ReplayEngine* replay = impl_->replay->replay()) result = replay->Stop() >= 0 ? 0 : -1;
  auto gone = std::move(impl_->replay);
  gone.reset();
  AfterEngineDestroyed();
  return result;
}

int EngineManager::CreateStreamingEngine(napi_env env, napi_value config, napi_value callbacks,
                                         const std::string& params) {
  // Read first: its getters may create or destroy engines.
  const lumen::CommandClientConfig command = ToCommandClientConfig(Napi::Value(env, config));
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create streaming engine";
  impl_->streaming = std::make_unique<StreamingEngineImpl>(env, callbacks);
  tavel::StreamingEngine* streaming = impl_->streaming->streaming();
  if (!streaming) return -1;
  return streaming->Start(command, params, live_client_, impl_->streaming->callback());
}

int EngineManager::DestroyStreamingEngine() {
  if (!impl_->streaming) return -1;
  LUMEN_LOG(kInfo, kTag) << "destroy streaming engine";
  auto gone = std::move(impl_->streaming);
  gone.reset();
  AfterEngineDestroyed();
  return 0;
}

int EngineManager::CreateLiveReplayEngine(napi_env env, napi_value replay_callbacks, const std::string& media_path,
                                          napi_value live_callbacks) {
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create liveReplay engine";
  auto live_replay = std::make_unique<LiveReplayEngineImpl>(live_client_, media_path, sdk_version_);
  live_replay->set_live_play(std::make_shared<LivePlayEngineImpl>(live_client_, sdk_version_, env, live_callbacks, true));
  live_replay->CreateReplay(env, replay_callbacks);
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  impl_->live_replay = std::move(live_replay);
  return 0;
}

int EngineManager::DestroyLiveReplayEngine() {
  {
    std::lock_guard<std::mutex> lock(impl_->engines_mu);
    if (impl_->live_replay) {
      impl_->live_replay->Shutdown();
      impl_->live_replay.reset();
    }
  }
  AfterEngineDestroyed();
  return 0;
}

bool EngineManager::HasLiveReplayEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->live_replay != nullptr;
}

int EngineManager::OpenLiveReplayMedia() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->live_replay ? impl_->live_replay->OpenMedia() : -1;
}

int EngineManager::CurrentEngineType() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  if (impl_->live_play) return 0;
  if (impl_->replay) return 1;
  if (impl_->local) return 2;
  if (impl_->streaming) return 4;
  if (impl_->live_replay) return 5;
  return -1;
}

std::shared_ptr<LivePlayEngineImpl> EngineManager::CurrentLivePlayEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  if (impl_->live_replay) return impl_->live_replay->live_play();
  return impl_->live_play;
}

DeviceEngineImpl* EngineManager::CurrentDeviceEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  const EngineImplBase* order[] = {impl_->local.get(), impl_->live_play.get(), impl_->replay.get(),
                                   impl_->streaming.get(),
                                   impl_->live_replay ? impl_->live_replay->live_play().get() : nullptr};
  for (const EngineImplBase* e : order)
    if (e) return e->device_engine();
  return nullptr;
}

// ---- application, user and network ---------------------------------------------------

void EngineManager::OnAppInit(napi_env env, napi_value live_client, const std::string& sdk_version) {
  // The old handler only goes once the engine has let go of it: engine
  // threads may be calling it until the registration returns.
  auto tally_handler = std::make_unique<TallyForwarder>();
  korin::RegisterTallyHandler(tally_handler.get());
  impl_->tally_handler = std::move(tally_handler);
  HttpExecutorManager::Ensure(env, live_client);
  sdk_version_ = sdk_version;

  auto holder = std::make_shared<AddonCallback>(env, live_client);
  auto config = std::make_unique<lumen::LiveClientConfig>();
  auto cache_provider = std::make_unique<CacheProviderImpl>(holder);
  auto http_executor = std::make_unique<HttpExecutorImpl>();
  config->cache_provider = cache_provider.get();
  config->http_executor = http_executor.get();

  // A second init replaces the client; the old one goes first (or once the
  // engines made with it are gone), then what it used.
  if (live_client_) {
    if (impl_->user_info) live_client_->ReleaseUserInfo(impl_->user_info);
    impl_->user_info = nullptr;
    {
      std::lock_guard<std::mutex> lock(impl_->retired_mu);
      impl_->retired.push_back({live_client_, std::move(impl_->config), std::move(impl_->cache_provider),
                                std::move(impl_->http_executor)});
    }
    live_client_ = nullptr;
    ReleaseRetiredClients();
  }
  live_client_ = lumen::LiveClient::Create(*config);
  impl_->config = std::move(config);
  impl_->cache_provider = std::move(cache_provider);
  impl_->http_executor = std::move(http_executor);
}

void EngineManager::ReplaceUserInfo(const lumen::UserRecord& record) {
  if (!live_client_) return;
  if (impl_->user_info) live_client_->ReleaseUserInfo(impl_->user_info);
  impl_->user_info = live_client_->CreateUserInfo(record);
  if (impl_->user_info) impl_->user_info->Apply(nullptr);
}

void EngineManager::SetUserConfig(napi_env env, napi_value value) {
  Napi::Object config = js::ToObject(Napi::Value(env, value));
  // Read strictly: anything but a boolean is false, with the Node-API error left raised.
  bool test = false;
  Napi::Value flag = js::Get(config, "isTestEnvironment");
  if (!flag.IsEmpty()) {
    if (napi_get_value_bool(env, flag, &test) != napi_ok) {
      test = false;
      Napi::Error::New(env).ThrowAsJavaScriptException();
    }
  }
  test_environment_ = test;
  if (live_client_) live_client_->SetTestEnvironment(test);

  lumen::UserRecord record = record::Read(config, kUserFields);
  record.sdk_version = sdk_version_;
  ReplaceUserInfo(record);
  {
    std::lock_guard<std::mutex> lock(impl_->user_mu);
    impl_->user = record;
  }

  korin::transport_v2::NetworkProberContext context;
  context.app_version = record.app_version;
  context.sdk_version = sdk_version_;
  context.scheduler_host = record.scheduler_host;
  context.app_type = js::Int32At(config, "appType");
  context.user_type = js::Int32At(config, "getUserType");
  if (impl_->config) {
    context.http_executor = impl_->config->http_executor;
    context.cache_provider = impl_->config->cache_provider;
  }
  if (auto* prober = korin::transport_v2::NetworkProber::GetInstance()) prober->UpdateContext(context);
}

void EngineManager::NetworkTypeChanged(int32_t network_type) {
  lumen::UserRecord record;
  {
    std::lock_guard<std::mutex> lock(impl_->user_mu);
    impl_->user.network_type = network_type;
    record = impl_->user;
  }
  std::shared_ptr<LivePlayEngineImpl> live_play;
  {
    std::lock_guard<std::mutex> lock(impl_->engines_mu);
    live_play = impl_->live_play;
  }
  if (!live_play) return;
  live_play->NotifyNetworkType(network_type, &record.room_id, &record.scheduler_host);
  if (!impl_->user_info || impl_->user_info->IsExpired()) ReplaceUserInfo(record);
}

}  // namespace lumen_addon
