#include "sim/sim.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>
#include <thread>

namespace sim {

// ---- Args -------------------------------------------------------------------
const Value& Args::at(size_t i) const {
  static const Value kNone;
  return i < v_.size() ? v_[i] : kNone;
}

double Args::Num(size_t i, double def) const {
  const Value& v = at(i);
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* b = std::get_if<bool>(&v)) return *b ? 1 : 0;
  if (auto* s = std::get_if<std::string>(&v)) return s->empty() ? def : std::atof(s->c_str());
  return def;
}

bool Args::Bool(size_t i, bool def) const {
  const Value& v = at(i);
  if (auto* b = std::get_if<bool>(&v)) return *b;
  if (auto* d = std::get_if<double>(&v)) return *d != 0;
  return def;
}

std::string Args::Str(size_t i, const std::string& def) const {
  const Value& v = at(i);
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  if (auto* d = std::get_if<double>(&v)) return ToJson(*d);
  if (auto* b = std::get_if<Bytes>(&v)) return std::string(b->begin(), b->end());
  return def;
}

const Bytes* Args::Buf(size_t i) const {
  const Value& v = at(i);
  if (auto* b = std::get_if<Bytes>(&v)) return b;
  return nullptr;
}

Bytes Args::BytesOf(size_t i) const {
  if (const Bytes* b = Buf(i)) return *b;
  if (auto* s = std::get_if<std::string>(&at(i))) return Bytes(s->begin(), s->end());
  return Bytes();
}

// ---- JSON -------------------------------------------------------------------
std::string Quote(const std::string& s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

std::string ToJson(double d) {
  if (!std::isfinite(d)) return "null";
  char buf[40];
  if (d == std::floor(d) && std::fabs(d) < 9.007199254740992e15)
    std::snprintf(buf, sizeof buf, "%.0f", d);
  else
    std::snprintf(buf, sizeof buf, "%.17g", d);
  return buf;
}

namespace {

struct State {
  std::mutex mu;
  std::vector<JournalEntry> journal;
  uint64_t seq = 0;
  std::map<std::string, std::pair<Value, int>> scripts;
  std::vector<LogLine> log_lines;
  std::vector<TallyEntry> tally;
  std::map<std::string, bool> flags;
  std::vector<std::function<void()>> reset_hooks;
};

// Leaked on purpose: engine threads may still touch it while the process exits.
State& S() {
  static State* s = new State;
  return *s;
}

constexpr size_t kMaxLogLines = 50000;
constexpr size_t kMaxJournal = 200000;
std::atomic<uint64_t> g_log_messages_built{0};

}  // namespace

void Record(const std::string& op, std::string args_json) {
  State& s = S();
  std::lock_guard<std::mutex> lock(s.mu);
  if (s.journal.size() >= kMaxJournal) s.journal.erase(s.journal.begin(), s.journal.begin() + kMaxJournal / 2);
  s.journal.push_back({++s.seq, op, std::move(args_json)});
}

std::vector<JournalEntry> Journal() {
  std::lock_guard<std::mutex> lock(S().mu);
  return S().journal;
}

void ClearJournal() {
  std::lock_guard<std::mutex> lock(S().mu);
  S().journal.clear();
}

void Script(const std::string& op, Value result, int times) {
  std::lock_guard<std::mutex> lock(S().mu);
  if (times == 0)
    S().scripts.erase(op);
  else
    S().scripts[op] = {std::move(result), times};
}

Value Scripted(const std::string& op) {
  std::lock_guard<std::mutex> lock(S().mu);
  auto it = S().scripts.find(op);
  if (it == S().scripts.end()) return Value{};
  Value v = it->second.first;
  if (it->second.second > 0 && --it->second.second == 0) S().scripts.erase(it);
  return v;
}

int ScriptedInt(const std::string& op, int def) {
  Value v = Scripted(op);
  if (auto* d = std::get_if<double>(&v)) return static_cast<int>(*d);
  if (auto* b = std::get_if<bool>(&v)) return *b;
  return def;
}

bool ScriptedBool(const std::string& op, bool def) {
  Value v = Scripted(op);
  if (auto* b = std::get_if<bool>(&v)) return *b;
  if (auto* d = std::get_if<double>(&v)) return *d != 0;
  return def;
}

std::string ScriptedStr(const std::string& op, const std::string& def) {
  Value v = Scripted(op);
  if (auto* s = std::get_if<std::string>(&v)) return *s;
  return def;
}

// ---- delayed calls ----------------------------------------------------------
namespace {

struct Delays {
  std::mutex mu;
  std::condition_variable cv;
  struct Rule {
    int ms;
    int times;
  };
  std::map<std::string, Rule> rules;
  // Bumped by each release of an op; a waiter returns once it moved.
  std::map<std::string, uint64_t> released;
  std::atomic<bool> any{false};
};

Delays& D() {
  static Delays* d = new Delays;
  return *d;
}

}  // namespace

void DelayCalls(const std::string& op, int ms, int times) {
  Delays& d = D();
  std::lock_guard<std::mutex> lock(d.mu);
  if (times == 0)
    d.rules.erase(op);
  else
    d.rules[op] = {std::max(0, ms), times};
  d.any = !d.rules.empty();
}

void ReleaseDelayed(const std::string& op) {
  Delays& d = D();
  {
    std::lock_guard<std::mutex> lock(d.mu);
    if (op.empty()) {
      d.rules.clear();
      for (auto& kv : d.released) ++kv.second;
    } else {
      d.rules.erase(op);
      ++d.released[op];
    }
    d.any = !d.rules.empty();
  }
  d.cv.notify_all();
}

void DelayHere(const std::string& op) {
  Delays& d = D();
  if (!d.any.load()) return;
  {
    std::unique_lock<std::mutex> lock(d.mu);
    auto it = d.rules.find(op);
    if (it == d.rules.end()) return;
    const int ms = it->second.ms;
    if (it->second.times > 0 && --it->second.times == 0) d.rules.erase(it);
    d.any = !d.rules.empty();
    const uint64_t mine = d.released[op];
    d.cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return d.released[op] != mine; });
  }
  Note("sim.Returned", op);
}

// ---- held callbacks ---------------------------------------------------------
namespace {

struct Held {
  const void* owner;
  Firer firer;
  std::mutex mu;
  std::condition_variable cv;
  int running = 0;
  std::atomic<bool> dropped{false};  // written under mu; read without it by FireRepeatedly
};

struct Holds {
  std::mutex mu;
  std::map<std::string, std::shared_ptr<Held>> by_name;
  // Dropped by a setter without waiting (the no-wait switch): their owner's
  // release still waits for them, as an object's destruction does.
  std::vector<std::shared_ptr<Held>> unwaited;
};

Holds& H() {
  static Holds* h = new Holds;
  return *h;
}

// Firers running on this thread, so that a firer dropping itself does not wait for itself.
thread_local std::vector<const Held*> tl_firing;
// Where Answer() of the innermost running firer goes; null: nobody asked.
thread_local Args* tl_answer = nullptr;

std::atomic<bool> g_no_wait{false};

// With the no-wait switch a firing lingers between finding its callback and
// calling it, so that a setter returning meanwhile overlaps it for real.
void Linger() {
  if (g_no_wait.load(std::memory_order_relaxed)) std::this_thread::sleep_for(std::chrono::microseconds(100));
}

// `setter`: dropped by a setter or a remover, which wait only while the
// no-wait switch is off; an owner's release always waits.
bool Idle(const std::shared_ptr<Held>& held) {
  std::lock_guard<std::mutex> lock(held->mu);
  return held->running == 0;
}

void Drop(const std::shared_ptr<Held>& held, bool setter) {
  int mine = 0;
  for (const Held* h : tl_firing) mine += h == held.get();
  std::unique_lock<std::mutex> lock(held->mu);
  held->dropped = true;
  if (setter && g_no_wait.load()) {
    lock.unlock();
    std::lock_guard<std::mutex> holds(H().mu);
    auto& u = H().unwaited;
    u.erase(std::remove_if(u.begin(), u.end(), Idle), u.end());
    u.push_back(held);
    return;
  }
  held->cv.wait(lock, [&] { return held->running == mine; });
}

}  // namespace

void Hold(const void* owner, const std::string& name, Firer firer) {
  auto held = std::make_shared<Held>();
  held->owner = owner;
  held->firer = std::move(firer);
  std::shared_ptr<Held> old;
  {
    std::lock_guard<std::mutex> lock(H().mu);
    auto& slot = H().by_name[name];
    old = std::move(slot);
    slot = held;
  }
  // Another owner's firer displaced: its owner's release no longer finds it
  // and cannot wait for it, so this does.
  if (old) Drop(old, old->owner == owner);
}

void Release(const void* owner) {
  std::vector<std::shared_ptr<Held>> gone;
  {
    std::lock_guard<std::mutex> lock(H().mu);
    for (auto it = H().by_name.begin(); it != H().by_name.end();) {
      if (it->second->owner == owner) {
        gone.push_back(std::move(it->second));
        it = H().by_name.erase(it);
      } else {
        ++it;
      }
    }
    auto& u = H().unwaited;
    for (auto it = u.begin(); it != u.end();) {
      if ((*it)->owner == owner) {
        gone.push_back(std::move(*it));
        it = u.erase(it);
      } else {
        ++it;
      }
    }
  }
  for (auto& g : gone) Drop(g, false);
}

void ReleaseName(const std::string& name) { ReleaseName(name, nullptr); }

void ReleaseName(const std::string& name, const void* owner) {
  std::shared_ptr<Held> gone;
  {
    std::lock_guard<std::mutex> lock(H().mu);
    auto it = H().by_name.find(name);
    if (it == H().by_name.end() || (owner && it->second->owner != owner)) return;
    gone = std::move(it->second);
    H().by_name.erase(it);
  }
  Drop(gone, true);
}

void SetNoWait(bool on) { g_no_wait.store(on); }
bool NoWait() { return g_no_wait.load(); }

void Answer(Args answer) {
  if (tl_answer) *tl_answer = std::move(answer);
}

std::vector<std::string> HeldNames() {
  std::lock_guard<std::mutex> lock(H().mu);
  std::vector<std::string> names;
  for (auto& kv : H().by_name) names.push_back(kv.first);
  return names;
}

bool FireHere(const std::string& name, const Args& args) { return FireHere(name, args, nullptr, nullptr); }

bool FireHere(const std::string& name, const Args& args, Args* answer, const void* owner) {
  std::shared_ptr<Held> held;
  {
    std::lock_guard<std::mutex> lock(H().mu);
    auto it = H().by_name.find(name);
    if (it == H().by_name.end() || (owner && it->second->owner != owner)) return false;
    held = it->second;
  }
  {
    std::lock_guard<std::mutex> lock(held->mu);
    if (held->dropped) return false;
    ++held->running;
  }
  tl_firing.push_back(held.get());
  Args* outer = tl_answer;
  tl_answer = answer;
  Linger();
  held->firer(args);
  tl_answer = outer;
  tl_firing.pop_back();
  {
    std::lock_guard<std::mutex> lock(held->mu);
    --held->running;
  }
  held->cv.notify_all();
  return true;
}

int64_t FireRepeatedly(const std::string& name, const Args& args, int64_t count) {
  return FireEach(name, args, count, nullptr);
}

int64_t FireEach(const std::string& name, const Args& args, int64_t count, const EachCall& each) {
  std::shared_ptr<Held> held;
  {
    std::lock_guard<std::mutex> lock(H().mu);
    auto it = H().by_name.find(name);
    if (it == H().by_name.end()) return 0;
    held = it->second;
  }
  {
    std::lock_guard<std::mutex> lock(held->mu);
    if (held->dropped) return 0;
    ++held->running;
  }
  // Looked up and counted as running once: an engine calling its callback in
  // a loop takes no lock per call, and a drop still waits for the loop.
  tl_firing.push_back(held.get());
  Args* outer = tl_answer;
  tl_answer = nullptr;
  int64_t fired = 0;
  const std::function<void()> fire = [&] {
    Linger();
    held->firer(args);
  };
  while (fired < count && !held->dropped.load(std::memory_order_acquire)) {
    if (each) each(fired, fire);
    else fire();
    ++fired;
  }
  tl_answer = outer;
  tl_firing.pop_back();
  {
    std::lock_guard<std::mutex> lock(held->mu);
    --held->running;
  }
  held->cv.notify_all();
  return fired;
}

// ---- engine threads -----------------------------------------------------------
namespace {

struct Worker {
  std::mutex mu;
  std::condition_variable cv;
  std::deque<std::function<void()>> tasks;
  bool busy = false;
};

constexpr int kThreads = 8;

Worker& W(int index) {
  static Worker* workers = [] {
    auto* w = new Worker[kThreads];
    for (int i = 0; i < kThreads; ++i) {
      std::thread([w, i] {
        Worker& me = w[i];
        for (;;) {
          std::function<void()> task;
          {
            std::unique_lock<std::mutex> lock(me.mu);
            me.cv.wait(lock, [&] { return !me.tasks.empty(); });
            task = std::move(me.tasks.front());
            me.tasks.pop_front();
            me.busy = true;
          }
          task();
          {
            std::lock_guard<std::mutex> lock(me.mu);
            me.busy = false;
          }
          me.cv.notify_all();
        }
      }).detach();
    }
    return w;
  }();
  return workers[((index % kThreads) + kThreads) % kThreads];
}

}  // namespace

void RunOnEngineThread(int index, std::function<void()> task, bool wait) {
  Worker& w = W(index);
  if (!wait) {
    {
      std::lock_guard<std::mutex> lock(w.mu);
      w.tasks.push_back(std::move(task));
    }
    w.cv.notify_all();
    return;
  }
  auto done = std::make_shared<std::pair<std::mutex, std::condition_variable>>();
  auto flag = std::make_shared<bool>(false);
  {
    std::lock_guard<std::mutex> lock(w.mu);
    w.tasks.push_back([task = std::move(task), done, flag] {
      task();
      std::lock_guard<std::mutex> l(done->first);
      *flag = true;
      done->second.notify_all();
    });
  }
  w.cv.notify_all();
  std::unique_lock<std::mutex> lock(done->first);
  done->second.wait(lock, [&] { return *flag; });
}

namespace {

struct Timers {
  std::mutex mu;
  std::condition_variable cv;
  std::multimap<std::chrono::steady_clock::time_point, std::pair<int, std::function<void()>>> due;
  int handing = 0;  // taken from `due`, not yet queued on its engine thread
};

Timers& T() {
  static Timers* t = [] {
    auto* timers = new Timers;
    std::thread([timers] {
      std::unique_lock<std::mutex> lock(timers->mu);
      for (;;) {
        if (timers->due.empty()) {
          timers->cv.wait(lock);
          continue;
        }
        auto when = timers->due.begin()->first;
        if (std::chrono::steady_clock::now() < when) {
          timers->cv.wait_until(lock, when);
          continue;
        }
        auto first = timers->due.begin();
        auto entry = std::move(first->second);
        timers->due.erase(first);
        ++timers->handing;
        lock.unlock();
        RunOnEngineThread(entry.first, std::move(entry.second), false);
        lock.lock();
        --timers->handing;
        timers->cv.notify_all();
      }
    }).detach();
    return timers;
  }();
  return *t;
}

}  // namespace

void RunOnEngineThreadAfter(int index, int delay_ms, std::function<void()> task) {
  Timers& t = T();
  {
    std::lock_guard<std::mutex> lock(t.mu);
    t.due.emplace(std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(0, delay_ms)),
                  std::make_pair(index, std::move(task)));
  }
  t.cv.notify_all();
}

void WaitEngineThreadsIdle() {
  {
    Timers& t = T();
    std::unique_lock<std::mutex> lock(t.mu);
    t.cv.wait(lock, [&] { return t.due.empty() && t.handing == 0; });
  }
  for (int i = 0; i < kThreads; ++i) {
    Worker& w = W(i);
    std::unique_lock<std::mutex> lock(w.mu);
    w.cv.wait(lock, [&] { return w.tasks.empty() && !w.busy; });
  }
}

// ---- captures -------------------------------------------------------------------
void NoteLogMessage() { g_log_messages_built.fetch_add(1, std::memory_order_relaxed); }

void CaptureLogLine(LogLine line) {
  std::lock_guard<std::mutex> lock(S().mu);
  auto& lines = S().log_lines;
  if (lines.size() >= kMaxLogLines) lines.erase(lines.begin(), lines.begin() + kMaxLogLines / 2);
  lines.push_back(std::move(line));
}

std::vector<LogLine> LogLines() {
  std::lock_guard<std::mutex> lock(S().mu);
  return S().log_lines;
}

void ClearLogLines() {
  std::lock_guard<std::mutex> lock(S().mu);
  S().log_lines.clear();
}

uint64_t LogMessagesBuilt() { return g_log_messages_built.load(); }

void CaptureTally(TallyEntry e) {
  std::lock_guard<std::mutex> lock(S().mu);
  if (S().tally.size() >= kMaxLogLines) S().tally.erase(S().tally.begin(), S().tally.begin() + kMaxLogLines / 2);
  S().tally.push_back(std::move(e));
}

std::vector<TallyEntry> TallyEntries() {
  std::lock_guard<std::mutex> lock(S().mu);
  return S().tally;
}

// ---- source flags ---------------------------------------------------------------
namespace {

void SkipWs(const std::string& t, size_t& i) {
  while (i < t.size() && (t[i] == ' ' || t[i] == '\n' || t[i] == '\r' || t[i] == '\t')) ++i;
}

bool ReadString(const std::string& t, size_t& i, std::string& out) {
  if (i >= t.size() || t[i] != '"') return false;
  ++i;
  out.clear();
  while (i < t.size() && t[i] != '"') {
    if (t[i] == '\\' && i + 1 < t.size()) ++i;
    out += t[i++];
  }
  if (i >= t.size()) return false;
  ++i;
  return true;
}

// A flat JSON object of switches: {"key": true, "other": 0, "third": "1"}.
std::map<std::string, bool> ParseFlags(const std::string& t) {
  std::map<std::string, bool> out;
  size_t i = 0;
  SkipWs(t, i);
  if (i >= t.size() || t[i] != '{') return out;
  ++i;
  for (;;) {
    SkipWs(t, i);
    std::string key;
    if (!ReadString(t, i, key)) break;
    SkipWs(t, i);
    if (i >= t.size() || t[i] != ':') break;
    ++i;
    SkipWs(t, i);
    bool value = false;
    if (t.compare(i, 4, "true") == 0) {
      value = true;
      i += 4;
    } else if (t.compare(i, 5, "false") == 0) {
      i += 5;
    } else if (i < t.size() && t[i] == '"') {
      std::string s;
      if (!ReadString(t, i, s)) break;
      value = s == "1" || s == "true";
    } else {
      size_t start = i;
      while (i < t.size() && t[i] != ',' && t[i] != '}') ++i;
      value = std::atof(t.substr(start, i - start).c_str()) != 0;
    }
    out[key] = value;
    SkipWs(t, i);
    if (i < t.size() && t[i] == ',') {
      ++i;
      continue;
    }
    break;
  }
  return out;
}

}  // namespace

void SetFlags(const std::string& text) {
  auto parsed = ParseFlags(text);
  std::lock_guard<std::mutex> lock(S().mu);
  for (auto& kv : parsed) S().flags[kv.first] = kv.second;
}

namespace {

// Switches the engine has on until they are set; every other key is off.
const std::map<std::string, bool>& FlagDefaults() {
  static const auto* defaults = new std::map<std::string, bool>{
      {"replayVideoRefactor20251118", true},
  };
  return *defaults;
}

}  // namespace

bool Flag(const std::string& key) {
  {
    std::lock_guard<std::mutex> lock(S().mu);
    auto it = S().flags.find(key);
    if (it != S().flags.end()) return it->second;
  }
  auto def = FlagDefaults().find(key);
  return def != FlagDefaults().end() && def->second;
}

std::map<std::string, bool> Flags() {
  std::lock_guard<std::mutex> lock(S().mu);
  return S().flags;
}

void OnReset(std::function<void()> hook) {
  std::lock_guard<std::mutex> lock(S().mu);
  S().reset_hooks.push_back(std::move(hook));
}

void Reset() {
  std::vector<std::function<void()>> hooks;
  {
    std::lock_guard<std::mutex> lock(S().mu);
    S().journal.clear();
    S().scripts.clear();
    S().log_lines.clear();
    S().tally.clear();
    S().flags.clear();
    hooks = S().reset_hooks;
  }
  ReleaseDelayed("");
  SetNoWait(false);
  for (auto& h : hooks) h();
}

}  // namespace sim
