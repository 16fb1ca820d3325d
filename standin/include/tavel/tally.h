#ifndef TAVEL_TALLY_H_
#define TAVEL_TALLY_H_

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "engine_export.h"

namespace tavel {
namespace tallyv2 {

// One analytics record: an event path and keyed parameters.
struct ValueEntry {
  std::string url;
  std::map<std::string, std::string> str_values;
  std::map<std::string, double> num_values;
};

class ENGINE_API TallyClientV2 {
 public:
  static std::shared_ptr<TallyClientV2> singleton();
  virtual ~TallyClientV2();
  virtual void PostValueEntry(const ValueEntry& entry, int count, int flag) = 0;
  // An entry the caller has already serialised.
  virtual void PostSerializedEntry(const std::string& url, const std::string& serialized) = 0;
};

}  // namespace tallyv2
}  // namespace tavel

#endif  // TAVEL_TALLY_H_
