// The simulated live client: command clients, user info handles, and the
// host's HTTP executor and cache provider held as firers.
#include <mutex>
#include <set>

#include "live/internal.h"
#include "sim/records.h"
#include "sim/sim.h"

namespace live {
namespace {

class CommandClientSim : public lumen::CommandClient {
 public:
  CommandClientSim() { CountObject("commandClients", 1); }
  ~CommandClientSim() override {
    sim::Release(owner());
    CountObject("commandClients", -1);
  }
  // Connection events are fired for this address (see LivePlay::Announce).
  const void* owner() const { return static_cast<const lumen::CommandClient*>(this); }

  void RegisterCallback(lumen::CommandClientCallback* cb) override { sim::Note("lumen.CommandClient.RegisterCallback", cb); HoldCommandCallback(owner(), cb); }
  // A stopped client reports nothing any more.
  int Stop() override { int r = sim::Call("lumen.CommandClient.Stop"); sim::Release(owner()); return r; }
  void SetNetworkType(int type) override { sim::Note("lumen.CommandClient.SetNetworkType", type); }
  // Journalled with the bytes themselves; SendUserData answers 1 unless scripted.
  int SendUserData(const uint8_t* d, int n) override { return Send("lumen.CommandClient.SendUserData", d, n, 1); }
  int SendRadioData(const uint8_t* d, int n) override { return Send("lumen.CommandClient.SendRadioData", d, n, 1); }
  int SyncClock() override { return sim::Call("lumen.CommandClient.SyncClock"); }
  int GetNetworkCondition(lumen::CommandNetworkCondition* c) override {
    int r = sim::Call("lumen.CommandClient.GetNetworkCondition", c);
    if (c) {
      c->is_connected = sim::ScriptedBool("lumen.CommandClient.GetNetworkCondition.isConnected", true);
      c->rtt = sim::ScriptedInt("lumen.CommandClient.GetNetworkCondition.rtt", 36);
    }
    return r;
  }

 private:
  static int Send(const char* op, const uint8_t* d, int n, int def) {
    std::vector<uint8_t> bytes;
    if (d && n > 0) bytes.assign(d, d + n);
    sim::Note(op, bytes, n);
    return sim::ScriptedInt(op, def);
  }
};

class UserInfoSim : public lumen::UserInfo {
 public:
  UserInfoSim() { CountObject("userInfos", 1); }
  ~UserInfoSim() override { CountObject("userInfos", -1); }
  void Apply(const char* reserved) override { sim::Note("lumen.UserInfo.Apply", reserved); }
  bool IsExpired() const override { sim::Note("lumen.UserInfo.IsExpired"); return sim::ScriptedBool("lumen.UserInfo.IsExpired", false); }
};

class LiveClientSim : public lumen::LiveClient {
 public:
  explicit LiveClientSim(const lumen::LiveClientConfig& config) {
    CountObject("liveClients", 1);
    HoldHttpExecutor(owner(), config.http_executor);
    HoldCacheProvider(owner(), config.cache_provider);
  }
  ~LiveClientSim() override {
    sim::Release(owner());
    for (auto* c : commands_) delete c;
    for (auto* u : users_) delete u;
    CountObject("liveClients", -1);
  }
  const void* owner() const { return static_cast<const lumen::LiveClient*>(this); }

  lumen::CommandClient* CreateCommandClient(const lumen::CommandClientConfig& config) override {
    sim::Note("lumen.LiveClient.CreateCommandClient", config);
    if (!sim::ScriptedBool("lumen.LiveClient.CreateCommandClient", true)) return nullptr;
    LookUpScheduler(owner(), config);
    std::lock_guard<std::mutex> lock(mu_);
    return *commands_.insert(new CommandClientSim).first;
  }
  void DestroyCommandClient(lumen::CommandClient* client) override {
    sim::Note("lumen.LiveClient.DestroyCommandClient", client);
    std::lock_guard<std::mutex> lock(mu_);
    auto* c = static_cast<CommandClientSim*>(client);
    if (commands_.erase(c)) delete c;
  }
  void SetTestEnvironment(bool test) override { sim::Note("lumen.LiveClient.SetTestEnvironment", test); }
  void SetOutRoomParameters(const std::string& p) override { sim::Note("lumen.LiveClient.SetOutRoomParameters", p); }
  lumen::UserInfo* CreateUserInfo(const lumen::UserRecord& record) override {
    sim::Note("lumen.LiveClient.CreateUserInfo", record);
    if (!sim::ScriptedBool("lumen.LiveClient.CreateUserInfo", true)) return nullptr;
    std::lock_guard<std::mutex> lock(mu_);
    return *users_.insert(new UserInfoSim).first;
  }
  void ReleaseUserInfo(lumen::UserInfo* info) override {
    sim::Note("lumen.LiveClient.ReleaseUserInfo", info);
    std::lock_guard<std::mutex> lock(mu_);
    auto* u = static_cast<UserInfoSim*>(info);
    if (users_.erase(u)) delete u;
  }

 private:
  std::mutex mu_;
  std::set<CommandClientSim*> commands_;
  std::set<UserInfoSim*> users_;
};

}  // namespace
}  // namespace live

namespace lumen {

LiveClient* LiveClient::Create(const LiveClientConfig& config) {
  sim::Note("lumen.LiveClient.Create", config);
  return sim::ScriptedBool("lumen.LiveClient.Create", true) ? new live::LiveClientSim(config) : nullptr;
}

void LiveClient::Destroy(LiveClient* client) {
  sim::Note("lumen.LiveClient.Destroy", client);
  delete static_cast<live::LiveClientSim*>(client);
}

LiveClient::~LiveClient() = default;
CommandClient::~CommandClient() = default;
CommandClientCallback::~CommandClientCallback() = default;
UserInfo::~UserInfo() = default;
HttpExecutor::~HttpExecutor() = default;
CacheProvider::~CacheProvider() = default;

}  // namespace lumen
