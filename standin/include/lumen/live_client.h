#ifndef LUMEN_LIVE_CLIENT_H_
#define LUMEN_LIVE_CLIENT_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine_export.h"
#include "lumen/http.h"

namespace lumen {

class ENGINE_API HttpExecutor {
 public:
  virtual ~HttpExecutor();
  // Engine thread. The request is the executor's copy; `callback` completes
  // it once; `value` comes back to nobody but says which of the engine's
  // requests this is.
  virtual void Execute(const HttpRequest& request, std::shared_ptr<HttpCallback> callback, int value) = 0;
};

// Storage the engine keeps through the host application; engine threads.
class ENGINE_API CacheProvider {
 public:
  virtual ~CacheProvider();
  // Copies the value when it fits: answers its size, 0 when absent or too large.
  virtual int Get(const std::string& key, uint8_t* buffer, int capacity) = 0;
  virtual void Set(const std::string& key, const uint8_t* data, int size) = 0;
  virtual void Remove(const std::string& key) = 0;
};

struct LiveClientConfig {
  HttpExecutor* http_executor = nullptr;
  CacheProvider* cache_provider = nullptr;
  bool enable_quic = false;
  bool enable_ipv6 = false;
  bool enable_debug = false;
};

struct CommandClientConfig {
  int64_t room_id = 0;
  int64_t user_id = 0;
  int32_t team_id = 0;
  bool disable_radio = false;
  int32_t user_type = 0;
  int32_t app_type = 0;
  std::string app_version;
  std::string sdk_version;
  int32_t client_type = 0;
  std::string signature;
  std::string persistent_cookie;
  std::string session_cookie;
  std::string scheduler_host;
  std::vector<uint8_t> features;
  std::vector<uint8_t> auth_extension;

  void SetFeatures(const uint8_t* data, size_t size) { features.assign(data, data + size); }
  void SetAuthExtension(const uint8_t* data, size_t size) { auth_extension.assign(data, data + size); }
};

class ENGINE_API CommandClientCallback {
 public:
  virtual ~CommandClientCallback();
  virtual void OnCommandConnecting() = 0;
  virtual void OnCommandConnected() = 0;
  virtual void OnCommandReconnecting(const char* reason) = 0;
  virtual void OnCommandDisconnected(int code, int sub_code, const char* reason, int extra) = 0;
};

struct CommandNetworkCondition {
  bool is_connected = false;
  int32_t rtt = 0;
};

// The signalling channel of a room.
class ENGINE_API CommandClient {
 public:
  virtual ~CommandClient();
  virtual void RegisterCallback(CommandClientCallback* callback) = 0;
  virtual int Stop() = 0;
  virtual void SetNetworkType(int network_type) = 0;
  // 1 when the data was queued for sending, 0 otherwise.
  virtual int SendUserData(const uint8_t* data, int length) = 0;
  // Positive when sent.
  virtual int SendRadioData(const uint8_t* data, int length) = 0;
  virtual int SyncClock() = 0;
  virtual int GetNetworkCondition(CommandNetworkCondition* condition) = 0;
};

// What the engine knows of the signed-in user.
struct UserRecord {
  uint32_t user_type = 0;
  int64_t room_id = 0;
  int32_t network_type = 0;
  std::string app_version;
  int32_t app_type = 0;
  std::string sdk_version;
  int32_t product_id = 0;
  std::string scheduler_host;
};

class ENGINE_API UserInfo {
 public:
  virtual ~UserInfo();
  // Publishes the record to the engine's services; argument reserved.
  virtual void Apply(const char* reserved) = 0;
  // True once the record is stale and should be replaced.
  virtual bool IsExpired() const = 0;
};

class ENGINE_API LiveClient {
 public:
  static LiveClient* Create(const LiveClientConfig& config);
  static void Destroy(LiveClient* client);
  virtual ~LiveClient();

  virtual CommandClient* CreateCommandClient(const CommandClientConfig& config) = 0;
  virtual void DestroyCommandClient(CommandClient* client) = 0;
  virtual void SetTestEnvironment(bool test) = 0;
  virtual void SetOutRoomParameters(const std::string& parameters) = 0;
  virtual UserInfo* CreateUserInfo(const UserRecord& record) = 0;
  virtual void ReleaseUserInfo(UserInfo* info) = 0;
};

}  // namespace lumen

#endif  // LUMEN_LIVE_CLIENT_H_
