// Simulation core of the stand-in engine: a journal of every call the add-on
// makes, scripted results, held callbacks that can be fired from engine
// threads, and captured log lines and analytics. Not part of the engine's
// public headers: only the simulated engine and the control module use it.
#ifndef LIVE_ENGINE_SIM_SIM_H_
#define LIVE_ENGINE_SIM_SIM_H_

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

#include "engine_export.h"

namespace sim {

// ---- values handed to fired callbacks -------------------------------------
using Bytes = std::vector<uint8_t>;
using Value = std::variant<std::monostate, bool, double, std::string, Bytes>;

class ENGINE_API Args {
 public:
  Args() = default;
  explicit Args(std::vector<Value> v) : v_(std::move(v)) {}
  size_t size() const { return v_.size(); }
  const Value& at(size_t i) const;
  double Num(size_t i, double def = 0) const;
  int64_t Int(size_t i, int64_t def = 0) const { return static_cast<int64_t>(Num(i, static_cast<double>(def))); }
  bool Bool(size_t i, bool def = false) const;
  std::string Str(size_t i, const std::string& def = "") const;
  // nullptr unless the argument is a Buffer or typed array.
  const Bytes* Buf(size_t i) const;
  // The bytes of a Buffer or typed array, or of a string (UTF-8); else none.
  Bytes BytesOf(size_t i) const;
  bool Has(size_t i) const { return i < v_.size() && !std::holds_alternative<std::monostate>(v_[i]); }

 private:
  std::vector<Value> v_;
};

// Each value moved into place (a braced list would copy every string and
// byte buffer out of its constant backing array).
template <typename... A>
Args ArgsOf(A&&... values) {
  std::vector<Value> list;
  list.reserve(sizeof...(A));
  (list.emplace_back(std::forward<A>(values)), ...);
  return Args(std::move(list));
}

// ---- journal ----------------------------------------------------------------
struct JournalEntry {
  uint64_t seq;
  std::string op;
  std::string args;  // JSON array text
};

ENGINE_API std::string Quote(const std::string& s);
inline std::string ToJson(const std::string& s) { return Quote(s); }
inline std::string ToJson(const char* s) { return s ? Quote(s) : "null"; }
inline std::string ToJson(bool b) { return b ? "true" : "false"; }
ENGINE_API std::string ToJson(double d);
inline std::string ToJson(float d) { return ToJson(static_cast<double>(d)); }
template <typename T, typename = std::enable_if_t<std::is_integral_v<T>>>
std::string ToJson(T v) { return std::to_string(v); }
template <typename T>
std::string ToJson(const std::vector<T>& v) {
  std::string out = "[";
  for (size_t i = 0; i < v.size(); ++i) out += (i ? "," : "") + ToJson(v[i]);
  return out + "]";
}
inline std::string ToJson(const void* p) { return p ? "\"ptr\"" : "null"; }
// Text that already is JSON (a nested record).
struct RawText {
  std::string text;
};
inline std::string ToJson(const RawText& r) { return r.text; }

inline void AppendFields(std::string&) {}
template <typename V, typename... R>
void AppendFields(std::string& out, const char* key, const V& v, const R&... rest) {
  if (out.size() > 1) out += ",";
  out += Quote(key);
  out += ":";
  out += ToJson(v);
  AppendFields(out, rest...);
}
// {"key":value,...} from alternating keys and values.
template <typename... A>
std::string JsonObject(const A&... a) {
  std::string out = "{";
  AppendFields(out, a...);
  return out + "}";
}

template <typename... A>
std::string ArgsJson(const A&... a) {
  std::string out = "[";
  bool first = true;
  ((out += (first ? "" : ","), out += ToJson(a), first = false), ...);
  return out + "]";
}

ENGINE_API void Record(const std::string& op, std::string args_json);
template <typename... A>
void Note(const std::string& op, const A&... a) {
  Record(op, ArgsJson(a...));
}
ENGINE_API std::vector<JournalEntry> Journal();
ENGINE_API void ClearJournal();

// Scripted results: every call of `op` answers `result` (times < 0: for ever).
ENGINE_API void Script(const std::string& op, Value result, int times = -1);
ENGINE_API Value Scripted(const std::string& op);

// Slow calls: a call of `op` returns only after `ms` milliseconds or once
// ReleaseDelayed(op) ran, `times` times (< 0: for ever; 0 removes). A delayed
// call is journalled when it begins, and "sim.Returned" [op] when it ends.
ENGINE_API void DelayCalls(const std::string& op, int ms, int times = -1);
// Lets every call of `op` waiting now return (all ops when empty) and removes
// the delay.
ENGINE_API void ReleaseDelayed(const std::string& op);
// Called by simulated calls after journalling: waits when `op` is delayed.
ENGINE_API void DelayHere(const std::string& op);

// Records the call and answers its scripted int (default `def`).
template <typename... A>
int Call(const std::string& op, const A&... a) {
  Record(op, ArgsJson(a...));
  DelayHere(op);
  Value v = Scripted(op);
  if (auto* d = std::get_if<double>(&v)) return static_cast<int>(*d);
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  return 0;
}
ENGINE_API int ScriptedInt(const std::string& op, int def);
ENGINE_API bool ScriptedBool(const std::string& op, bool def);
ENGINE_API std::string ScriptedStr(const std::string& op, const std::string& def);

// ---- held callbacks ------------------------------------------------------------
using Firer = std::function<void(const Args&)>;

// Holds `firer` under `name` for `owner`, replacing an earlier one of that
// name; waits until the replaced one is not running (see SetNoWait).
ENGINE_API void Hold(const void* owner, const std::string& name, Firer firer);
// Drops every firer of `owner`; waits until none of them is running. What
// an object's destruction calls: it always waits.
ENGINE_API void Release(const void* owner);
// Drops one firer, as setters and removers do: waits until it is not
// running, unless the no-wait switch is on.
ENGINE_API void ReleaseName(const std::string& name);
// Drops `name` only while `owner` holds it.
ENGINE_API void ReleaseName(const std::string& name, const void* owner);
// The no-wait switch: setters and removers (Hold replacing a firer,
// ReleaseName, a provider's replacement) return at once, while a firing of
// what they dropped may still be running, as the engine's contract allows.
// Off after Reset.
ENGINE_API void SetNoWait(bool on);
ENGINE_API bool NoWait();
ENGINE_API std::vector<std::string> HeldNames();
// Runs the firer on the calling thread; false when nothing is held under name.
ENGINE_API bool FireHere(const std::string& name, const Args& args);
// As above; fires only while `owner` (unless null) holds the name, and
// collects what the firer passed to Answer().
ENGINE_API bool FireHere(const std::string& name, const Args& args, Args* answer, const void* owner);
// Fires `count` times on the calling thread, stopping early once the name is
// dropped; answers how many ran.
ENGINE_API int64_t FireRepeatedly(const std::string& name, const Args& args, int64_t count);
// As FireRepeatedly, each call made through each(index, fire), which runs
// fire() once (a benchmark times it there, or paces the calls).
using EachCall = std::function<void(int64_t, const std::function<void()>&)>;
ENGINE_API int64_t FireEach(const std::string& name, const Args& args, int64_t count, const EachCall& each);
// Called by a running firer: hands values back to whoever fired it.
ENGINE_API void Answer(Args answer);

// ---- engine threads --------------------------------------------------------
// Runs `task` on engine thread `index` (0..7); blocks until it ran when `wait`.
ENGINE_API void RunOnEngineThread(int index, std::function<void()> task, bool wait);
// Runs `task` on engine thread `index` once `delay_ms` have passed.
ENGINE_API void RunOnEngineThreadAfter(int index, int delay_ms, std::function<void()> task);
// Blocks until every delayed task is due and handed over and every engine
// thread has run all it was given.
ENGINE_API void WaitEngineThreadsIdle();

// ---- captures ---------------------------------------------------------------
struct LogLine {
  std::string file;
  int line;
  int severity;
  std::string tag;
  std::string text;
};
ENGINE_API std::vector<LogLine> LogLines();
ENGINE_API void ClearLogLines();
ENGINE_API uint64_t LogMessagesBuilt();
ENGINE_API void CaptureLogLine(LogLine line);
// Counts every rtc::LogMessage built, emitted or not.
ENGINE_API void NoteLogMessage();

struct TallyEntry {
  std::string url;
  std::map<std::string, std::string> str_values;
  std::map<std::string, double> num_values;
  int count;
  int flag;
};
ENGINE_API std::vector<TallyEntry> TallyEntries();
ENGINE_API void CaptureTally(TallyEntry e);

// ---- source flags -------------------------------------------------------------
ENGINE_API void SetFlags(const std::string& text);
// A key never set reads as its engine default (off unless listed in sim.cc).
ENGINE_API bool Flag(const std::string& key);
ENGINE_API std::map<std::string, bool> Flags();

// Hooks that simulated components add to Reset().
ENGINE_API void OnReset(std::function<void()> hook);
// Back to defaults: journal, scripts, captures, flags, log minimum.
ENGINE_API void Reset();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_SIM_H_
