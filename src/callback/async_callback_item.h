// A queued engine event and its delivery to a named method of a JavaScript
// callback object.
#ifndef LUMEN_CALLBACK_ASYNC_CALLBACK_ITEM_H_
#define LUMEN_CALLBACK_ASYNC_CALLBACK_ITEM_H_

#include <napi.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "callback/addon_callback.h"
#include "callback/callback_queue.h"

namespace lumen_addon {

class AsyncCallbackItemBase : public CallbackItem {
 public:
  explicit AsyncCallbackItemBase(std::shared_ptr<AddonCallback> holder)
      : addon_callback_(std::move(holder)) {}
  ~AsyncCallbackItemBase() override;

  // JavaScript thread, while the dispatcher runs items: holders of finished
  // items are let go together at Flush instead of one by one. Engine threads
  // take a share of the same holder for every event they post; releasing
  // them in a row costs the JavaScript thread one transfer of the count's
  // cache line per batch instead of one per item.
  static void DeferHolderReleases(bool on);
  static void FlushHolderReleases();

  // Set holder with a live JavaScript environment.
  bool Runnable() const override;
  const void* Holder() const override { return addon_callback_.get(); }

  // Calls `method` of the holder's object with the arguments.
  void ExecuteAsyncJsCallBack(const char* method, size_t argc, const napi_value* argv);
  // Calls `method` of `object`, for deliveries to an object of the caller's;
  // `registered_by` names the export that handed the object over.
  static void ExecuteAsyncJsCallBack(napi_env env, const Napi::Object& object, const char* method,
                                     napi_value argument, const char* registered_by = "");

 protected:
  napi_env env() const { return addon_callback_ ? addon_callback_->GetJsEnv() : nullptr; }
  std::shared_ptr<AddonCallback> addon_callback_;
};

struct EventFields;
struct EventList;

// A value an event carries; bytes become a new Buffer on delivery, fields a
// plain object, a list an array.
using EventArg = std::variant<std::monostate, bool, double, std::string, std::vector<uint8_t>,
                              std::shared_ptr<const EventFields>, std::shared_ptr<const EventList>>;

struct EventFields {
  std::vector<std::pair<const char*, EventArg>> fields;  // keys are literals
};
struct EventList {
  std::vector<EventArg> items;
};

inline EventArg Arg(bool b) { return b; }
inline EventArg Arg(int32_t v) { return static_cast<double>(v); }
inline EventArg Arg(uint32_t v) { return static_cast<double>(v); }
inline EventArg Arg(int64_t v) { return static_cast<double>(v); }
inline EventArg Arg(double v) { return v; }
inline EventArg Arg(const char* s) { return std::string(s ? s : ""); }
inline EventArg Arg(std::string s) { return s; }
inline EventArg ArgBytes(const void* data, size_t size) {
  auto* p = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(p, p + size);
}
// An object of the keys given, in their order:
// Fields(Field("errorCode", Arg(c)), Field("message", Arg(m))); each moved into place.
inline std::pair<const char*, EventArg> Field(const char* key, EventArg value) { return {key, std::move(value)}; }
template <typename... F>
EventArg Fields(F&&... fields) {
  auto object = std::make_shared<EventFields>();
  object->fields.reserve(sizeof...(F));
  (object->fields.emplace_back(std::forward<F>(fields)), ...);
  return std::shared_ptr<const EventFields>(std::move(object));
}
inline EventArg List(std::vector<EventArg> items) {
  return std::make_shared<const EventList>(EventList{std::move(items)});
}

// An event's argument list, each argument moved into place: a braced list
// would copy every string and byte buffer out of its constant backing array.
template <typename... A>
std::vector<EventArg> Args(A&&... args) {
  std::vector<EventArg> list;
  list.reserve(sizeof...(A));
  (list.emplace_back(std::forward<A>(args)), ...);
  return list;
}

napi_value EventArgToJs(napi_env env, const EventArg& arg);

// The common event: a method name, an item type and copied arguments.
// Up to kInline numbers and booleans are kept in the item itself, so that
// the usual event costs its engine thread one block of the item pool and
// nothing more; strings, bytes and longer lists are kept as given.
class EventItem : public AsyncCallbackItemBase {
 public:
  EventItem(std::shared_ptr<AddonCallback> holder, const char* method, int32_t type,
            std::vector<EventArg> args);
  ~EventItem() override;

  void Run() override;
  void ReleaseData() override;
  int32_t Type() const override { return type_; }

 protected:
  const char* method_;
  int32_t type_;

 private:
  static constexpr uint8_t kInline = 2;
  static constexpr uint8_t kListed = 0xff;  // argc_: the arguments are in list_
  uint8_t argc_ = 0;
  uint8_t bools_ = 0;  // bit i: inline argument i is a boolean
  union {
    double scalars_[kInline];
    std::vector<EventArg>* list_;
  };
};

// Copies an event on the engine thread and posts it; dropped while closing.
bool PostEvent(std::shared_ptr<AddonCallback> holder, const char* method, int32_t type,
               std::vector<EventArg> args = {});

}  // namespace lumen_addon

#endif  // LUMEN_CALLBACK_ASYNC_CALLBACK_ITEM_H_
