#ifndef TAVEL_TALLY_H_
#define TAVEL_TALLY_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine_export.h"

namespace tavel {
namespace tallyv2 {

// One analytics record: an event path and keyed parameters.
struct ValueEntry {
  std::string url;
  std::map<std::string, std::string> str_values;
  std::map<std::string, double> num_values;
};

struct TallyConfig {
  int64_t user_id = 0;
  std::string server_host;
};

// An update of the header or common state: values set, keys removed.
struct TallyMaps {
  std::map<std::string, std::string> str_values;
  std::map<std::string, double> num_values;
  std::vector<std::string> remove_str_values;
  std::vector<std::string> remove_num_values;
};

// Sees what the client is given, on the thread that gave it (tests).
class ENGINE_API LocalTallyObserver {
 public:
  virtual ~LocalTallyObserver();
  virtual void OnLocalTallyUpdateHeader(const TallyMaps& header, int category) = 0;
  virtual void OnLocalTallyPostValueEntry(const ValueEntry& entry, int category) = 0;
};

class ENGINE_API TallyClientV2 {
 public:
  static std::shared_ptr<TallyClientV2> singleton();
  virtual ~TallyClientV2();
  virtual void PostValueEntry(const ValueEntry& entry, int count, int flag) = 0;
  // An entry the caller has already serialised.
  virtual void PostSerializedEntry(const std::string& url, const std::string& serialized) = 0;
  virtual void PostSerialized(const std::string& url, const std::string& serialized, int category) = 0;
  virtual void UpdateConfig(const TallyConfig& config) = 0;
  virtual void UpdateHeader(const TallyMaps& header, int category) = 0;
  virtual void UpdateCommonState(const TallyMaps& state, int category) = 0;
  // Null removes it; the old one is no longer called once this returns.
  virtual void SetLocalTallyObserver(LocalTallyObserver* observer) = 0;
};

}  // namespace tallyv2
}  // namespace tavel

#endif  // TAVEL_TALLY_H_
