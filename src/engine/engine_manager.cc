#include "engine/engine_manager.h"

#include <utility>

#include "callback/addon_callback.h"
#include "callback/callback_dispatcher.h"
#include "callback/photo_callback.h"
#include "callback/video_frame_callback.h"
#include "common/convert.h"
#include "common/logging.h"
#include "common/record_reader.h"
#include "client/http_executor_impl.h"
#include "client/http_executor_manager.h"
#include "engine/cache_provider_impl.h"
#include "engine/background_work.h"
#include "engine/cache_store.h"
#include "callback/delivery_gate.h"
#include "engine/camera_record_engine_impl.h"
#include "engine/engine_root.h"
#include "engine/live_replay_engine_impl.h"
#include "engine/local_engine_impl.h"
#include "engine/media_track_editor_engine_impl.h"
#include "engine/replay_engine_impl.h"
#include "engine/streaming_engine_impl.h"
#include "engine/live_play_engine_callback.h"
#include "engine/live_play_engine_impl.h"
#include "engine/room_config.h"
#include "engine/screen_record_engine_impl.h"
#include "record_engine/common_error_code.h"
#include "rtc/string_utils.h"
#include "korin/sdk_services.h"
#include "qx_base/keep_alive.h"
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
  void Retire() {}
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
  std::mutex engines_mu;  // every slot below: life and look-up
  std::shared_ptr<LivePlayEngineImpl> live_play;
  std::shared_ptr<ReplayEngineImpl> replay;
  std::shared_ptr<LocalEngineImpl> local;
  std::shared_ptr<StreamingEngineImpl> streaming;
  std::shared_ptr<LiveReplayEngineImpl> live_replay;
  // Not main engines: none of them counts in AnyLocked.
  std::shared_ptr<ScreenRecordEngineImpl> screen_record;
  std::shared_ptr<MediaTrackEditorEngineImpl> media_track_editor;
  std::shared_ptr<CameraRecordEngineImpl> camera_record;

  std::unique_ptr<lumen::LiveClientConfig> config;
  std::unique_ptr<CacheProviderImpl> cache_provider;
  std::unique_ptr<HttpExecutorImpl> http_executor;
  std::shared_ptr<TallyForwarder> tally_handler;

  std::mutex user_mu;
  lumen::UserRecord user;
  lumen::UserInfo* user_info = nullptr;

  // A live client replaced by a later onAppInit while engines made with it
  // still existed, with the objects it was configured with: those engines
  // hold its address. Destroyed once no engine and no root is left.
  struct RetiredClient {
    lumen::LiveClient* client;
    std::unique_ptr<lumen::LiveClientConfig> config;
    std::unique_ptr<CacheProviderImpl> cache_provider;
    std::unique_ptr<HttpExecutorImpl> http_executor;
  };
  std::mutex retired_mu;  // after engines_mu
  std::vector<RetiredClient> retired;

  bool AnyLocked() const { return live_play || replay || local || streaming || live_replay; }

  std::vector<RetiredClient> TakeRetired() {
    std::vector<RetiredClient> gone;
    std::lock_guard<std::mutex> engines(engines_mu);
    // A root whose deletion waits for a connect in flight still uses its client.
    if (AnyLocked() || EngineRoot::Alive() > 0) return gone;
    std::lock_guard<std::mutex> lock(retired_mu);
    gone.swap(retired);
    return gone;
  }
};

namespace {
// Each client before the objects it was configured with.
template <typename Retired>
void DestroyClients(std::vector<Retired>& gone) {
  for (Retired& r : gone) lumen::LiveClient::Destroy(r.client);
  gone.clear();
}
}  // namespace

namespace {

// Closes the photo capture's camera on the device engine the manager finds
// (JavaScript thread).
int CloseCaptureCamera(int32_t track_type) {
  std::shared_ptr<DeviceEngineImpl> device = EngineManager::instance()->CurrentDeviceEngine();
  if (!device) return -1;
  return device->Call("CloseCamera failed: device_ is null",
                      [&](tavel::LiveDeviceEngine* engine) { return engine->CloseCamera(track_type); });
}

}  // namespace

EngineManager* EngineManager::instance() {
  std::lock_guard<std::mutex> lock(g_instance_mu);
  if (!g_instance) {
    g_instance = new EngineManager();
    g_instance->impl_ = std::make_unique<Impl>();
    // The layers below reach the manager only through what it installs.
    LivePlayEngineCallback::SetAutoLeave(&EngineManager::AutoLeave);
    PhotoCallbackImpl::SetCloseCamera(&CloseCaptureCamera);
  }
  return g_instance;
}

void EngineManager::DestroyInstance() {
  EngineManager* gone;
  {
    // Once the slot is empty no WithInstance runs on the manager; the
    // destruction itself may wait for threads that call WithInstance.
    std::lock_guard<std::mutex> lock(g_instance_mu);
    gone = g_instance;
    g_instance = nullptr;
  }
  delete gone;
}

void EngineManager::WithInstance(const std::function<void(EngineManager&)>& fn) {
  std::lock_guard<std::mutex> lock(g_instance_mu);
  if (g_instance) fn(*g_instance);
}

EngineManager::~EngineManager() {
  DestroyLocalEngine();
  DestroyLivePlayEngine();
  DestroyStreamingEngine();
  DestroyScreenRecordEngine();
  DestroyMediaTrackEditor();
  DestroyLiveReplayEngine();
  DestroyReplayEngine();
  DestroyCameraRecordEngine();
  // A connect or an automatic leave still running may hold the last share
  // of a root; it is deleted, with its holders, before the environment goes.
  BackgroundWork::WaitIdle();
  if (impl_->tally_handler) {
    korin::RegisterTallyHandler(nullptr);
    KeepAlive::ForProcess().Retire(std::move(impl_->tally_handler));
  }
  ReleaseRetiredClients();
  if (live_client_) {
    if (impl_->user_info) live_client_->ReleaseUserInfo(impl_->user_info);
    lumen::LiveClient::Destroy(live_client_);
  }
  live_client_ = nullptr;
}

void EngineManager::ReleaseRetiredClients() {
  std::vector<Impl::RetiredClient> gone = impl_->TakeRetired();
  DestroyClients(gone);
}

bool EngineManager::AnyEngineExists() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->AnyLocked();
}

void EngineManager::ReleaseDelivered() {
  CallbackDispatcher::DrainEngine();
  if (!tavel::GetSourceFlagWithKey("DISABLE_RELEASE_RENDER")) VideoFrameCallback::RemoveAllRenderers();
}

void EngineManager::AfterEngineDestroyed() {
  ReleaseDelivered();
  ReleaseRetiredClients();
}

template <typename W>
bool EngineManager::Store(std::shared_ptr<W>* slot, std::shared_ptr<W> engine) {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  if (impl_->AnyLocked()) return false;
  *slot = std::move(engine);
  return true;
}

template <typename W>
std::shared_ptr<W> EngineManager::Take(std::shared_ptr<W>* slot) {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return std::move(*slot);
}

// ---- creation and destruction ------------------------------------------------------
// Creation runs on the JavaScript thread only, destruction also on the
// automatic-leave thread, which only empties slots: a slot found empty stays
// so until this thread fills it.

int EngineManager::CreateLocalEngine(napi_env env, napi_value callbacks, int32_t user_id, const std::string& text) {
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create local engine";
  auto local = std::make_shared<LocalEngineImpl>(env, callbacks);
  if (!Store(&impl_->local, local)) return -1;
  tavel::LocalEngineConfig config;
  config.user_id = user_id;
  config.text = text;
  config.sdk_version = sdk_version_;
  return local->Call("Start failed: local_ is null",
                     [&](tavel::LocalEngine* engine) { return engine->Start(config, live_client_); });
}

int EngineManager::DestroyLocalEngine() {
  std::shared_ptr<LocalEngineImpl> gone = Take(&impl_->local);
  if (!gone) return -1;
  gone->Shutdown();
  gone.reset();
  AfterEngineDestroyed();
  return 0;
}

int EngineManager::CreateLivePlayEngine(napi_env env, napi_value callbacks) {
  if (AnyEngineExists()) return -1;
  return Store(&impl_->live_play, std::make_shared<LivePlayEngineImpl>(live_client_, sdk_version_, env, callbacks, false))
             ? 0
             : -1;
}

int EngineManager::DestroyLivePlayEngine() {
  std::shared_ptr<LivePlayEngineImpl> gone;
  {
    std::lock_guard<std::mutex> lock(impl_->engines_mu);
    if (!impl_->live_play) return -1;
    LUMEN_LOG(kInfo, kTag) << "destroy live play engine";
    gone = std::move(impl_->live_play);
  }
  // A handler still using it keeps the shell alive, the engine gone.
  const int disconnected = gone->Leave();
  gone.reset();
  AfterEngineDestroyed();
  return disconnected >= 0 ? 0 : -1;
}

int EngineManager::CreateReplayEngine(napi_env env, napi_value callbacks, const std::string& media_path) {
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create replay engine";
  auto replay = std::make_shared<ReplayEngineImpl>(env, callbacks);
  if (!Store(&impl_->replay, replay)) return -1;
  return replay->Open(media_path, sdk_version_, live_client_);
}

int EngineManager::DestroyReplayEngine() {
  std::shared_ptr<ReplayEngineImpl> gone = Take(&impl_->replay);
  if (!gone) return -1;
  LUMEN_LOG(kInfo, kTag) << "destroy replay engine";
  int result = 0;  // also without an interface to stop
  gone->Call("Stop failed: replay_ is null", [&](tavel::ReplayEngine* replay) {
    result = replay->Stop() >= 0 ? 0 : -1;
    return result;
  });
  gone->Shutdown();
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
  auto streaming = std::make_shared<StreamingEngineImpl>(env, callbacks);
  if (!Store(&impl_->streaming, streaming)) return -1;
  return streaming->Call("Start failed: streaming_ is null", [&](tavel::StreamingEngine* engine) {
    return engine->Start(command, params, live_client_, streaming->callback());
  });
}

int EngineManager::DestroyStreamingEngine() {
  std::shared_ptr<StreamingEngineImpl> gone = Take(&impl_->streaming);
  if (!gone) return -1;
  LUMEN_LOG(kInfo, kTag) << "destroy streaming engine";
  gone->Shutdown();
  gone.reset();
  AfterEngineDestroyed();
  return 0;
}

int EngineManager::CreateLiveReplayEngine(napi_env env, napi_value replay_callbacks, const std::string& media_path,
                                          napi_value live_callbacks) {
  if (AnyEngineExists()) return -1;
  LUMEN_LOG(kInfo, kTag) << "create liveReplay engine";
  auto live_replay = std::make_shared<LiveReplayEngineImpl>(live_client_, media_path, sdk_version_);
  live_replay->set_live_play(std::make_shared<LivePlayEngineImpl>(live_client_, sdk_version_, env, live_callbacks, true));
  live_replay->CreateReplay(env, replay_callbacks);
  return Store(&impl_->live_replay, std::move(live_replay)) ? 0 : -1;
}

int EngineManager::DestroyLiveReplayEngine() {
  std::shared_ptr<LiveReplayEngineImpl> gone = Take(&impl_->live_replay);
  if (gone) gone->Shutdown();
  gone.reset();
  AfterEngineDestroyed();
  return 0;
}

// ---- recorders and the editor ------------------------------------------------------
// Made and destroyed on the JavaScript thread only; the slots are read under
// the engines mutex like the others.

template <typename W>
bool EngineManager::StoreAlone(std::shared_ptr<W>* slot, std::shared_ptr<W> made) {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  if (*slot) return false;
  *slot = std::move(made);
  return true;
}

int EngineManager::CreateScreenRecordEngine(napi_env env, napi_value callback, const std::string& params,
                                            const std::string& sdk_version) {
  if (CurrentScreenRecordEngine()) {
    LUMEN_LOG(kError, kTag) << "create screen record engine failed: it is created already";
    return -1;
  }
  LUMEN_LOG(kInfo, kTag) << "create screen record engine";
  auto screen = std::make_shared<ScreenRecordEngineImpl>(env, callback);
  if (!StoreAlone(&impl_->screen_record, screen)) return -1;
  return screen->InitRecordEngine(params, sdk_version);
}

int EngineManager::DestroyScreenRecordEngine() {
  std::shared_ptr<ScreenRecordEngineImpl> gone = Take(&impl_->screen_record);
  if (!gone) return -1;
  LUMEN_LOG(kInfo, kTag) << "destroy screen record engine";
  gone->Shutdown();
  gone.reset();
  CallbackDispatcher::PurgeType(kItemScreenRecord);
  return 0;
}

int EngineManager::CreateCameraRecordEngine(napi_env env, napi_value config, napi_value callback) {
  // Read first: getters may create or destroy a recorder.
  const Napi::Object o = js::ToObject(Napi::Value(env, config));
  record_engine::CameraRecordEngineConfig c;
  if (js::Has(o, "recordMode")) c.record_mode = js::Int32At(o, "recordMode");
  if (js::Has(o, "placeHolderImagePath")) c.place_holder_image_path = rtc::Utf8ToAnsi(js::Utf8At(o, "placeHolderImagePath"));
  const std::string engine_params = js::Has(o, "engineParams") ? js::Utf8At(o, "engineParams") : std::string();
  const std::string sdk_version = js::Has(o, "sdkVersion") ? js::Utf8At(o, "sdkVersion") : std::string();
  if (CurrentCameraRecordEngine()) {
    LUMEN_LOG(kInfo, kTag) << "CreateCameraRecordEngine already created ";
    return -1;
  }
  LUMEN_LOG(kInfo, kTag) << "EngineManager::CreateCameraRecordEngin() create camera record engine";
  auto camera = std::make_shared<CameraRecordEngineImpl>(env, callback, c);
  if (!StoreAlone(&impl_->camera_record, camera)) return -1;
  return camera->Call("init failed: engine is null", [&](record_engine::CameraRecordEngineInterface* engine) {
    return engine->init(engine_params, sdk_version);
  });
}

int EngineManager::DestroyCameraRecordEngine() {
  std::shared_ptr<CameraRecordEngineImpl> gone = Take(&impl_->camera_record);
  if (!gone) return -1;
  LUMEN_LOG(kInfo, kTag) << "EngineManager::DestroyCameraRecordEngine() destroy camera record engine";
  gone->Shutdown();
  return 0;
}

std::pair<int, std::string> EngineManager::CreateMediaTrackEditor() {
  auto code = [](int c) { return std::make_pair(c, record_engine::CommonErrorCode::codeToString(c)); };
  if (CurrentMediaTrackEditor()) return code(record_engine::CommonErrorCode::kAlreadyCreated);
  LUMEN_LOG(kInfo, kTag) << "create media track editor engine";
  auto editor = std::make_shared<MediaTrackEditorEngineImpl>();
  if (!StoreAlone(&impl_->media_track_editor, editor)) return code(record_engine::CommonErrorCode::kAlreadyCreated);
  return code(editor->Init());
}

int EngineManager::DestroyMediaTrackEditor() {
  std::shared_ptr<MediaTrackEditorEngineImpl> gone = Take(&impl_->media_track_editor);
  if (!gone) return -1;
  LUMEN_LOG(kInfo, kTag) << "destroy media track editor engine";
  gone->Shutdown();
  gone.reset();
  CallbackDispatcher::PurgeType(kItemExportStatus);
  return 0;
}

std::shared_ptr<ScreenRecordEngineImpl> EngineManager::CurrentScreenRecordEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->screen_record;
}

std::shared_ptr<CameraRecordEngineImpl> EngineManager::CurrentCameraRecordEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->camera_record;
}

std::shared_ptr<MediaTrackEditorEngineImpl> EngineManager::CurrentMediaTrackEditor() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->media_track_editor;
}

void EngineManager::AutoLeave(const DeliveryGate* gate, bool relay) {
  std::shared_ptr<LivePlayEngineImpl> live_play;
  std::shared_ptr<LiveReplayEngineImpl> live_replay;
  std::vector<Impl::RetiredClient> retired;
  WithInstance([&](EngineManager& m) {
    Impl& impl = *m.impl_;
    std::lock_guard<std::mutex> lock(impl.engines_mu);
    if (relay && impl.live_replay && impl.live_replay->live_play()->callback()->gate().get() == gate) {
      live_replay = std::move(impl.live_replay);
      live_replay->live_play()->Retire();
    } else if (!relay && impl.live_play && impl.live_play->callback()->gate().get() == gate) {
      live_play = std::move(impl.live_play);
      live_play->Retire();
      LUMEN_LOG(kInfo, kTag) << "destroy live play engine";
    } else {
      return;  // left already, perhaps replaced by another engine
    }
    // With the slot: a create on the JavaScript thread right after keeps its
    // own items and renderers. What this engine posts later is gated.
    ReleaseDelivered();
  });
  // Network time, on this thread only.
  if (live_play) live_play->Leave();
  if (live_replay) live_replay->Shutdown();
  live_play.reset();
  live_replay.reset();
  WithInstance([&](EngineManager& m) { retired = m.impl_->TakeRetired(); });
  DestroyClients(retired);
}

bool EngineManager::HasLiveReplayEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->live_replay != nullptr;
}

int EngineManager::OpenLiveReplayMedia() {
  std::shared_ptr<LiveReplayEngineImpl> live_replay = CurrentLiveReplayEngine();
  return live_replay ? live_replay->OpenMedia() : -1;
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

std::shared_ptr<DeviceEngineImpl> EngineManager::CurrentDeviceEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  const EngineImplBase* order[] = {impl_->local.get(), impl_->live_play.get(), impl_->replay.get(),
                                   impl_->streaming.get(),
                                   impl_->live_replay ? impl_->live_replay->live_play().get() : nullptr};
  for (const EngineImplBase* e : order)
    if (e) return e->device_engine();
  return nullptr;
}

std::shared_ptr<BeautyEngineImpl> EngineManager::CurrentBeautyEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  const EngineImplBase* order[] = {impl_->local.get(), impl_->live_play.get(), impl_->replay.get(),
                                   impl_->streaming.get(),
                                   impl_->live_replay ? impl_->live_replay->live_play().get() : nullptr};
  for (const EngineImplBase* e : order)
    if (e) return e->beauty_engine();
  return nullptr;
}

std::shared_ptr<LocalEngineImpl> EngineManager::CurrentLocalEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->local;
}

std::shared_ptr<ReplayEngineImpl> EngineManager::CurrentReplayEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->replay;
}

std::shared_ptr<StreamingEngineImpl> EngineManager::CurrentStreamingEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->streaming;
}

std::shared_ptr<LiveReplayEngineImpl> EngineManager::CurrentLiveReplayEngine() {
  std::lock_guard<std::mutex> lock(impl_->engines_mu);
  return impl_->live_replay;
}

// ---- application, user and network ---------------------------------------------------

void EngineManager::OnAppInit(napi_env env, napi_value live_client, const std::string& sdk_version) {
  // Engine threads may be calling the old handler when the registration
  // returns: it stays for the process.
  auto tally_handler = std::make_shared<TallyForwarder>();
  korin::RegisterTallyHandler(tally_handler.get());
  KeepAlive::ForProcess().Retire(std::exchange(impl_->tally_handler, std::move(tally_handler)));
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
