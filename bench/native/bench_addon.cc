// Bench-only add-on: the engine-side producers that feed both bindings, the
// typical add-on the benchmarks compare against (one thread-safe function
// call per frame or event), the plain-copy limit, and probes of memory and
// of the add-on's queue. Never shipped.
#include <dlfcn.h>
#include <node_api.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/live.h"
#include "sim/sim.h"
#include "tavel/live_engine.h"
#include "tavel/live_play_engine.h"

namespace {

// ---- small Node-API helpers ---------------------------------------------------

#define CHECK(call)                                                                   \
  do {                                                                                \
    if ((call) != napi_ok) {                                                          \
      napi_throw_error(env, nullptr, "bench: " #call " failed");                      \
      return nullptr;                                                                 \
    }                                                                                 \
  } while (0)

struct ArgList {
  size_t argc = 8;
  napi_value argv[8] = {};
  napi_value self = nullptr;
};

ArgList Args(napi_env env, napi_callback_info info) {
  ArgList a;
  napi_get_cb_info(env, info, &a.argc, a.argv, &a.self, nullptr);
  return a;
}

double NumArg(napi_env env, const ArgList& a, size_t i, double def) {
  double v = def;
  if (i < a.argc) napi_get_value_double(env, a.argv[i], &v);
  return v;
}

std::string StrArg(napi_env env, const ArgList& a, size_t i) {
  if (i >= a.argc) return "";
  size_t len = 0;
  if (napi_get_value_string_utf8(env, a.argv[i], nullptr, 0, &len) != napi_ok) return "";
  std::string s(len, '\0');
  napi_get_value_string_utf8(env, a.argv[i], s.data(), len + 1, &len);
  return s;
}

napi_value Num(napi_env env, double v) {
  napi_value out = nullptr;
  napi_create_double(env, v, &out);
  return out;
}

void SetNum(napi_env env, napi_value obj, const char* key, double v) { napi_set_named_property(env, obj, key, Num(env, v)); }

double Seconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// ---- clocks and memory ---------------------------------------------------------

// CPU time of the calling thread: on the JavaScript thread, what a delivery cost it.
napi_value ThreadCpuUs(napi_env env, napi_callback_info) {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return Num(env, ts.tv_sec * 1e6 + ts.tv_nsec / 1e3);
}

size_t RssBytes() {
  FILE* f = std::fopen("/proc/self/statm", "r");
  if (!f) return 0;
  unsigned long size = 0, resident = 0;
  const int n = std::fscanf(f, "%lu %lu", &size, &resident);
  std::fclose(f);
  return n == 2 ? resident * static_cast<size_t>(sysconf(_SC_PAGESIZE)) : 0;
}

napi_value Rss(napi_env env, napi_callback_info) { return Num(env, static_cast<double>(RssBytes())); }

// memcpyRate(bytes, threads, ms): frames of `bytes` copied per second by
// `threads` threads at once, each between two buffers of its own.
napi_value MemcpyRate(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  const auto bytes = static_cast<size_t>(NumArg(env, a, 0, 0));
  const int threads = std::max(1, static_cast<int>(NumArg(env, a, 1, 1)));
  const double seconds = NumArg(env, a, 2, 500) / 1000;
  std::atomic<uint64_t> copies{0};
  std::atomic<bool> go{false}, stop{false};
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) {
    pool.emplace_back([&] {
      std::vector<uint8_t> src(bytes, 1), dst(bytes, 2);  // touched: no page faults while timed
      while (!go) std::this_thread::yield();
      uint64_t mine = 0;
      while (!stop) {
        std::memcpy(dst.data(), src.data(), bytes);
        src[mine % bytes] = static_cast<uint8_t>(dst[bytes - 1] + 1);  // keeps the copy observable
        ++mine;
      }
      copies += mine;
    });
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const double start = Seconds();
  go = true;
  std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
  stop = true;
  for (auto& t : pool) t.join();
  return Num(env, static_cast<double>(copies.load()) / (Seconds() - start));
}

// ---- producers -------------------------------------------------------------------

// One engine thread per sink sends frames through the engine's own sink call.
// Byte 0 of frame k is k mod 256, so JavaScript can tell a lost or repeated
// frame. With a window, frame k waits until JavaScript has acknowledged frame
// k - window: the rate found is one at which no frame is lost.
struct Producer {
  std::string sink;
  int width = 0, height = 0, window = 0;
  int64_t interval_us = 0;  // paced: frame k not before start + k intervals
  uint64_t first = 0;       // numbering goes on across runs of the same sink
  std::vector<uint8_t> pixels;
  std::atomic<uint64_t> produced{0};
  std::mutex mu;
  std::condition_variable cv;
  uint64_t acked = 0;
};

struct Production {
  std::vector<std::unique_ptr<Producer>> producers;
  std::atomic<bool> stop{false};
  std::mutex mu;
  std::condition_variable cv;
  int running = 0;
  std::atomic<int> missing{0};  // sinks the engine did not hold
};

Production* g_production = nullptr;
std::map<std::string, uint64_t> g_next_frame;  // JavaScript thread only

void ProduceLoop(Production* run, Producer* p) {
  const auto start = std::chrono::steady_clock::now();
  for (uint64_t k = 0; !run->stop.load(std::memory_order_relaxed); ++k) {
    if (p->window > 0) {
      std::unique_lock<std::mutex> lock(p->mu);
      auto ready = [&] { return run->stop.load() || k < p->acked + p->window; };
      if (p->interval_us > 0)
        p->cv.wait_until(lock, start + std::chrono::microseconds(p->interval_us * k), [&] { return run->stop.load(); });
      p->cv.wait(lock, ready);
      if (run->stop) break;
    }
    p->pixels[0] = static_cast<uint8_t>(p->first + k);
    if (!sim::DeliverFrame(p->sink, p->width, p->height, 0, p->pixels.data())) {
      ++run->missing;
      break;
    }
    p->produced.fetch_add(1, std::memory_order_relaxed);
  }
  std::lock_guard<std::mutex> lock(run->mu);
  --run->running;
  run->cv.notify_all();
}

// Stops every producer and waits for them; answers what each one produced.
std::vector<uint64_t> StopProduction() {
  std::vector<uint64_t> produced;
  Production* run = g_production;
  if (!run) return produced;
  run->stop = true;
  for (auto& p : run->producers) {
    std::lock_guard<std::mutex> lock(p->mu);
    p->cv.notify_all();
  }
  std::unique_lock<std::mutex> lock(run->mu);
  run->cv.wait(lock, [&] { return run->running == 0; });
  lock.unlock();
  for (auto& p : run->producers) {
    produced.push_back(p->produced);
    g_next_frame[p->sink] = p->first + p->produced;
  }
  g_production = nullptr;
  delete run;
  return produced;
}

// startProducers(sinks, width, height, window, intervalUs): sink i on engine
// thread i % 8; intervalUs > 0 paces each producer (with a window).
napi_value StartProducers(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  StopProduction();
  uint32_t count = 0;
  CHECK(napi_get_array_length(env, a.argv[0], &count));
  const int w = static_cast<int>(NumArg(env, a, 1, 0)), h = static_cast<int>(NumArg(env, a, 2, 0));
  auto* run = new Production;
  for (uint32_t i = 0; i < count; ++i) {
    napi_value name = nullptr;
    CHECK(napi_get_element(env, a.argv[0], i, &name));
    ArgList one;
    one.argc = 1;
    one.argv[0] = name;
    auto p = std::make_unique<Producer>();
    p->sink = StrArg(env, one, 0);
    p->width = w;
    p->height = h;
    p->window = static_cast<int>(NumArg(env, a, 3, 0));
    p->interval_us = static_cast<int64_t>(NumArg(env, a, 4, 0));
    p->first = g_next_frame[p->sink];
    p->pixels.resize(static_cast<size_t>(w) * h * 4);
    sim::Pattern(w, h, i, p->pixels.data());
    run->producers.push_back(std::move(p));
  }
  run->running = static_cast<int>(count);
  g_production = run;
  for (uint32_t i = 0; i < count; ++i) {
    Producer* p = run->producers[i].get();
    sim::RunOnEngineThread(static_cast<int>(i), [run, p] { ProduceLoop(run, p); }, false);
  }
  return nullptr;
}

// ack(i): JavaScript has taken a frame of producer i.
napi_value Ack(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  Production* run = g_production;
  const auto i = static_cast<size_t>(NumArg(env, a, 0, 0));
  if (!run || i >= run->producers.size()) return nullptr;
  Producer* p = run->producers[i].get();
  if (p->window <= 0) return nullptr;
  {
    std::lock_guard<std::mutex> lock(p->mu);
    ++p->acked;
  }
  p->cv.notify_one();
  return nullptr;
}

// stopProducers(): frames each producer handed to its sink, once all have stopped.
napi_value StopProducers(napi_env env, napi_callback_info) {
  napi_value out = nullptr;
  CHECK(napi_create_array(env, &out));
  std::vector<uint64_t> produced = StopProduction();
  for (size_t i = 0; i < produced.size(); ++i)
    napi_set_element(env, out, static_cast<uint32_t>(i), Num(env, static_cast<double>(produced[i])));
  return out;
}

// produced(): frames handed to the sinks so far, per producer.
napi_value Produced(napi_env env, napi_callback_info) {
  napi_value out = nullptr;
  CHECK(napi_create_array(env, &out));
  if (Production* run = g_production) {
    for (size_t i = 0; i < run->producers.size(); ++i)
      napi_set_element(env, out, static_cast<uint32_t>(i), Num(env, static_cast<double>(run->producers[i]->produced)));
  }
  return out;
}

napi_value Missing(napi_env env, napi_callback_info) {
  return Num(env, g_production ? g_production->missing.load() : 0);
}

// ---- probe of the add-on's queue and of the process memory ------------------------

// The add-on's own queue, reached through its exported symbols so that the
// product carries no benchmark hooks. Null when the symbols are not visible.
struct QueueProbe {
  void* queue = nullptr;
  int (*count_renderer)(void*, int) = nullptr;
  size_t (*size)(void*) = nullptr;
  bool ok() const { return queue && count_renderer && size; }
};

QueueProbe g_probe;

napi_value OpenQueueProbe(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  std::string path = StrArg(env, a, 0);
  g_probe = QueueProbe{};
  void* lib = dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (lib) {
    auto queue_fn = reinterpret_cast<void* (*)()>(dlsym(lib, "_ZN11lumen_addon18CallbackDispatcher5QueueEv"));
    g_probe.count_renderer = reinterpret_cast<int (*)(void*, int)>(dlsym(lib, "_ZN11lumen_addon13CallbackQueue13CountRendererEi"));
    g_probe.size = reinterpret_cast<size_t (*)(void*)>(dlsym(lib, "_ZN11lumen_addon13CallbackQueue4sizeEv"));
    if (queue_fn) g_probe.queue = queue_fn();
  }
  napi_value out = nullptr;
  napi_get_boolean(env, g_probe.ok(), &out);
  return out;
}

struct Sampler {
  std::thread thread;
  std::atomic<bool> stop{false};
  std::vector<int> renderer_ids;
  std::mutex mu;
  size_t start_rss = 0, peak_rss = 0, last_rss = 0;
  std::vector<int> max_queued;
  size_t max_total = 0;
  uint64_t samples = 0;
};

Sampler* g_sampler = nullptr;

void SampleOnce(Sampler* s) {
  const size_t rss = RssBytes();
  std::vector<int> queued(s->renderer_ids.size());
  size_t total = 0;
  if (g_probe.ok()) {
    for (size_t i = 0; i < queued.size(); ++i) queued[i] = g_probe.count_renderer(g_probe.queue, s->renderer_ids[i]);
    total = g_probe.size(g_probe.queue);
  }
  std::lock_guard<std::mutex> lock(s->mu);
  s->peak_rss = std::max(s->peak_rss, rss);
  s->last_rss = rss;
  for (size_t i = 0; i < queued.size(); ++i) s->max_queued[i] = std::max(s->max_queued[i], queued[i]);
  s->max_total = std::max(s->max_total, total);
  ++s->samples;
}

napi_value SampleStop(napi_env env, napi_callback_info);

// sampleStart(rendererIds, intervalMs): samples RSS and the queued items of
// each renderer on a thread of its own until sampleStop().
napi_value SampleStart(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  if (g_sampler) SampleStop(env, info);
  auto* s = new Sampler;
  uint32_t n = 0;
  if (a.argc > 0) napi_get_array_length(env, a.argv[0], &n);
  for (uint32_t i = 0; i < n; ++i) {
    napi_value v = nullptr;
    int32_t id = 0;
    napi_get_element(env, a.argv[0], i, &v);
    napi_get_value_int32(env, v, &id);
    s->renderer_ids.push_back(id);
  }
  s->max_queued.assign(n, 0);
  s->start_rss = s->peak_rss = s->last_rss = RssBytes();
  const auto interval = std::chrono::microseconds(static_cast<int64_t>(NumArg(env, a, 1, 1) * 1000));
  s->thread = std::thread([s, interval] {
    while (!s->stop) {
      SampleOnce(s);
      std::this_thread::sleep_for(interval);
    }
  });
  g_sampler = s;
  return nullptr;
}

// sampleStop(): { startRss, peakRss, lastRss, maxQueued: [per renderer], maxTotal, samples }
napi_value SampleStop(napi_env env, napi_callback_info) {
  napi_value out = nullptr;
  CHECK(napi_create_object(env, &out));
  Sampler* s = g_sampler;
  if (!s) return out;
  g_sampler = nullptr;
  s->stop = true;
  s->thread.join();
  SampleOnce(s);
  SetNum(env, out, "startRss", static_cast<double>(s->start_rss));
  SetNum(env, out, "peakRss", static_cast<double>(s->peak_rss));
  SetNum(env, out, "lastRss", static_cast<double>(s->last_rss));
  SetNum(env, out, "maxTotal", static_cast<double>(s->max_total));
  SetNum(env, out, "samples", static_cast<double>(s->samples));
  napi_value queued = nullptr;
  napi_create_array(env, &queued);
  for (size_t i = 0; i < s->max_queued.size(); ++i)
    napi_set_element(env, queued, static_cast<uint32_t>(i), Num(env, s->max_queued[i]));
  napi_set_named_property(env, out, "maxQueued", queued);
  napi_value probed = nullptr;
  napi_get_boolean(env, g_probe.ok(), &probed);
  napi_set_named_property(env, out, "queueProbed", probed);
  delete s;
  return out;
}

// queued(rendererId): items of the renderer in the add-on's queue now, -1 unknown.
napi_value Queued(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  if (!g_probe.ok()) return Num(env, -1);
  return Num(env, g_probe.count_renderer(g_probe.queue, static_cast<int>(NumArg(env, a, 0, 0))));
}

// ---- timed posts ------------------------------------------------------------------

// What one engine callback costs the engine thread that makes it: `threads`
// engine threads each call a held callback `perThread` times, pausing
// `pauseUs` after every `burst` calls (so that the JavaScript thread keeps
// up and the figure is the post, not a growing backlog). Each call is timed
// alone; the clock read is part of every figure, for both bindings.
struct TimedPosts {
  std::vector<std::vector<uint32_t>> ns;
  std::atomic<int> running{0};
};

TimedPosts* g_timed = nullptr;

uint64_t NowNs() {
  return static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch()).count());
}

uint64_t CpuNs() {
  timespec ts{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return static_cast<uint64_t>(ts.tv_sec) * 1000000000u + static_cast<uint64_t>(ts.tv_nsec);
}

// timedPosts(name, threads, perThread, burst, pauseUs, arg): starts; poll timedPostsResult().
napi_value TimedPostsStart(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  const std::string name = StrArg(env, a, 0);
  const int threads = std::max(1, std::min(8, static_cast<int>(NumArg(env, a, 1, 1))));
  const auto per = static_cast<int64_t>(NumArg(env, a, 2, 1000));
  const auto burst = std::max<int64_t>(1, static_cast<int64_t>(NumArg(env, a, 3, 50)));
  const auto pause = std::chrono::microseconds(static_cast<int64_t>(NumArg(env, a, 4, 0)));
  const double arg = NumArg(env, a, 5, 123456);
  delete g_timed;
  auto* run = new TimedPosts;
  run->ns.assign(threads, std::vector<uint32_t>(static_cast<size_t>(per), 0));
  run->running = threads;
  g_timed = run;
  for (int t = 0; t < threads; ++t) {
    sim::RunOnEngineThread(t, [run, t, name, per, burst, pause, arg] {
      uint32_t* out = run->ns[t].data();
      sim::FireEach(name, sim::Args({arg}), per, [&](int64_t i, const std::function<void()>& fire) {
        const uint64_t t0 = NowNs();
        fire();
        out[i] = static_cast<uint32_t>(std::min<uint64_t>(NowNs() - t0, UINT32_MAX));
        if (i % burst == burst - 1 && pause.count() > 0) std::this_thread::sleep_for(pause);
      });
      --run->running;
    }, false);
  }
  return nullptr;
}

// timedPostsResult(): null while running; then { posts, meanNs, p50Ns, p999Ns, maxNs }.
napi_value TimedPostsResult(napi_env env, napi_callback_info) {
  napi_value out = nullptr;
  TimedPosts* run = g_timed;
  if (!run || run->running > 0) {
    napi_get_null(env, &out);
    return out;
  }
  std::vector<uint32_t> all;
  for (auto& v : run->ns) all.insert(all.end(), v.begin(), v.end());
  CHECK(napi_create_object(env, &out));
  if (all.empty()) return out;
  double sum = 0;
  for (uint32_t v : all) sum += v;
  auto at = [&](double q) {
    auto k = static_cast<size_t>(q * static_cast<double>(all.size() - 1));
    std::nth_element(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(k), all.end());
    return static_cast<double>(all[k]);
  };
  SetNum(env, out, "posts", static_cast<double>(all.size()));
  SetNum(env, out, "meanNs", sum / static_cast<double>(all.size()));
  SetNum(env, out, "p50Ns", at(0.5));
  SetNum(env, out, "p999Ns", at(0.999));
  SetNum(env, out, "maxNs", static_cast<double>(*std::max_element(all.begin(), all.end())));
  delete run;
  g_timed = nullptr;
  return out;
}

// ---- a class as a scene ----------------------------------------------------------------

// Sources of a class, each on an engine thread of its own choosing, at its
// own rate: frames through a sink, or a held callback fired with fixed
// arguments (a "toggle" source alternates its first argument between 0 and 1,
// as voice activity does). Every call is timed: the time an engine thread
// spends inside the binding is what a media thread is held up by it.
struct Source {
  bool frame = false, toggle = false;
  std::string name;
  int width = 0, height = 0;
  int64_t interval_us = 0;
  std::vector<sim::Value> args;
  std::vector<uint8_t> pixels;
  std::atomic<uint64_t> calls{0};
  uint64_t busy_ns = 0, max_ns = 0;
};

struct Scene {
  std::vector<std::unique_ptr<Source>> sources;
  std::atomic<bool> stop{false};
  std::mutex mu;
  std::condition_variable cv;
  int running = 0;
  double started = 0;
};

Scene* g_scene = nullptr;

void SceneLoop(Scene* scene, std::vector<Source*> mine) {
  using Clock = std::chrono::steady_clock;
  const auto start = Clock::now();
  std::vector<Clock::time_point> due(mine.size(), start);
  std::vector<uint64_t> k(mine.size(), 0);
  // Spread the first calls of a thread's sources over their interval.
  for (size_t i = 0; i < mine.size(); ++i)
    due[i] += std::chrono::microseconds(mine[i]->interval_us * static_cast<int64_t>(i) / static_cast<int64_t>(mine.size()));
  while (!scene->stop.load()) {
    size_t next = 0;
    for (size_t i = 1; i < mine.size(); ++i)
      if (due[i] < due[next]) next = i;
    {
      std::unique_lock<std::mutex> lock(scene->mu);
      if (scene->cv.wait_until(lock, due[next], [&] { return scene->stop.load(); })) break;
    }
    Source* s = mine[next];
    std::vector<sim::Value> args;
    if (!s->frame) {
      args = s->args;
      if (s->toggle && !args.empty()) args[0] = static_cast<double>(k[next] & 1);
    }
    sim::Args fired(std::move(args));
    if (s->frame) s->pixels[0] = static_cast<uint8_t>(k[next]);
    // CPU time measures the work; wall time also what a busy machine adds.
    const uint64_t c0 = CpuNs(), t0 = NowNs();
    if (s->frame) sim::DeliverFrame(s->name, s->width, s->height, 0, s->pixels.data());
    else sim::FireHere(s->name, fired);
    const uint64_t took = NowNs() - t0, cpu = CpuNs() - c0;
    s->calls++;
    s->busy_ns += cpu;
    s->max_ns = std::max(s->max_ns, took);
    ++k[next];
    // Behind by more than a period (the machine was busy): the engine skips
    // ticks rather than bursting.
    due[next] += std::chrono::microseconds(s->interval_us);
    if (due[next] < Clock::now() - std::chrono::microseconds(s->interval_us)) due[next] = Clock::now();
  }
  std::lock_guard<std::mutex> lock(scene->mu);
  --scene->running;
  scene->cv.notify_all();
}

bool ReadProp(napi_env env, napi_value obj, const char* key, napi_value* out) {
  bool has = false;
  return napi_has_named_property(env, obj, key, &has) == napi_ok && has &&
         napi_get_named_property(env, obj, key, out) == napi_ok;
}

double PropNum(napi_env env, napi_value obj, const char* key, double def) {
  napi_value v = nullptr;
  double d = def;
  if (ReadProp(env, obj, key, &v)) napi_get_value_double(env, v, &d);
  return d;
}

napi_value SceneStop(napi_env env, napi_callback_info);

// sceneStart([{ kind: 'frame'|'fire', name, width, height, fps, thread, args, toggle }])
napi_value SceneStart(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  if (g_scene) SceneStop(env, info);
  auto* scene = new Scene;
  uint32_t n = 0;
  CHECK(napi_get_array_length(env, a.argv[0], &n));
  std::map<int, std::vector<Source*>> by_thread;
  for (uint32_t i = 0; i < n; ++i) {
    napi_value o = nullptr, v = nullptr;
    CHECK(napi_get_element(env, a.argv[0], i, &o));
    auto src = std::make_unique<Source>();
    ArgList one;
    one.argc = 1;
    if (ReadProp(env, o, "kind", &v)) {
      one.argv[0] = v;
      src->frame = StrArg(env, one, 0) == "frame";
    }
    if (ReadProp(env, o, "name", &v)) {
      one.argv[0] = v;
      src->name = StrArg(env, one, 0);
    }
    if (ReadProp(env, o, "toggle", &v)) napi_get_value_bool(env, v, &src->toggle);
    src->width = static_cast<int>(PropNum(env, o, "width", 0));
    src->height = static_cast<int>(PropNum(env, o, "height", 0));
    src->interval_us = static_cast<int64_t>(1e6 / std::max(0.001, PropNum(env, o, "fps", 1)));
    if (src->frame) {
      src->pixels.resize(static_cast<size_t>(src->width) * src->height * 4);
      sim::Pattern(src->width, src->height, i, src->pixels.data());
    }
    napi_value list = nullptr;
    uint32_t count = 0;
    if (ReadProp(env, o, "args", &list) && napi_get_array_length(env, list, &count) == napi_ok) {
      for (uint32_t j = 0; j < count; ++j) {
        napi_value e = nullptr;
        napi_valuetype t = napi_undefined;
        bool is_buffer = false;
        napi_get_element(env, list, j, &e);
        napi_typeof(env, e, &t);
        if (t == napi_boolean) {
          bool b = false;
          napi_get_value_bool(env, e, &b);
          src->args.emplace_back(b);
        } else if (t == napi_number) {
          double d = 0;
          napi_get_value_double(env, e, &d);
          src->args.emplace_back(d);
        } else if (napi_is_buffer(env, e, &is_buffer) == napi_ok && is_buffer) {
          void* data = nullptr;
          size_t len = 0;
          napi_get_buffer_info(env, e, &data, &len);
          auto* p = static_cast<uint8_t*>(data);
          src->args.emplace_back(sim::Bytes(p, p + len));
        } else {
          src->args.emplace_back(std::monostate{});
        }
      }
    }
    by_thread[static_cast<int>(PropNum(env, o, "thread", 0)) % 8].push_back(src.get());
    scene->sources.push_back(std::move(src));
  }
  scene->running = static_cast<int>(by_thread.size());
  scene->started = Seconds();
  g_scene = scene;
  for (auto& kv : by_thread) {
    std::vector<Source*> mine = kv.second;
    sim::RunOnEngineThread(kv.first, [scene, mine] { SceneLoop(scene, mine); }, false);
  }
  return nullptr;
}

// sceneCalls(): calls made so far, per source.
napi_value SceneCalls(napi_env env, napi_callback_info) {
  napi_value out = nullptr;
  CHECK(napi_create_array(env, &out));
  if (Scene* scene = g_scene) {
    for (size_t i = 0; i < scene->sources.size(); ++i)
      napi_set_element(env, out, static_cast<uint32_t>(i), Num(env, static_cast<double>(scene->sources[i]->calls.load())));
  }
  return out;
}

// sceneStop(): { seconds, sources: [{ name, calls, busyMs (CPU), maxUs (wall) }], busyMs, maxUs, calls }
napi_value SceneStop(napi_env env, napi_callback_info) {
  napi_value out = nullptr;
  CHECK(napi_create_object(env, &out));
  Scene* scene = g_scene;
  if (!scene) return out;
  g_scene = nullptr;
  {
    std::unique_lock<std::mutex> lock(scene->mu);
    scene->stop = true;
    scene->cv.notify_all();
    scene->cv.wait(lock, [&] { return scene->running == 0; });
  }
  napi_value list = nullptr;
  napi_create_array(env, &list);
  uint64_t busy = 0, calls = 0, max_ns = 0;
  for (size_t i = 0; i < scene->sources.size(); ++i) {
    Source* s = scene->sources[i].get();
    napi_value o = nullptr, name = nullptr;
    napi_create_object(env, &o);
    napi_create_string_utf8(env, s->name.c_str(), s->name.size(), &name);
    napi_set_named_property(env, o, "name", name);
    SetNum(env, o, "calls", static_cast<double>(s->calls.load()));
    SetNum(env, o, "busyMs", s->busy_ns / 1e6);
    SetNum(env, o, "maxUs", s->max_ns / 1e3);
    napi_set_element(env, list, static_cast<uint32_t>(i), o);
    busy += s->busy_ns;
    calls += s->calls;
    max_ns = std::max(max_ns, s->max_ns);
  }
  napi_set_named_property(env, out, "sources", list);
  SetNum(env, out, "seconds", Seconds() - scene->started);
  SetNum(env, out, "busyMs", busy / 1e6);
  SetNum(env, out, "maxUs", max_ns / 1e3);
  SetNum(env, out, "calls", static_cast<double>(calls));
  delete scene;
  return out;
}

// ---- the typical add-on ------------------------------------------------------------

// What a straightforward binding does: every engine callback copies its data
// and makes one call of a Node-API thread-safe function (unbounded queue);
// the JavaScript side builds fresh values and calls the JavaScript function.
tavel::LiveEngine* g_root = nullptr;
tavel::LivePlayEngine* g_live = nullptr;

tavel::LivePlayEngine* Live() {
  if (!g_root) {
    g_root = tavel::LiveEngine::Create();
    g_live = g_root ? tavel::LivePlayEngine::GetInterface(g_root) : nullptr;
  }
  return g_live;
}

struct TypicalFrame {
  int user_id, type, width, height;
  std::vector<uint8_t> pixels;
};

class TypicalSink : public tavel::VideoSinkInterface {
 public:
  TypicalSink(int user_id, int type, napi_threadsafe_function tsfn) : user_id_(user_id), type_(type), tsfn_(tsfn) {}

  void OnFrame(const korin::QXVideoFrame& f) override {
    const size_t size = static_cast<size_t>(f.width) * f.height * 4;
    // The engine's memory is gone once OnFrame returns: the frame is copied.
    auto* frame = new TypicalFrame{user_id_, type_, f.width, f.height, std::vector<uint8_t>(f.buffer.data[0], f.buffer.data[0] + size)};
    if (napi_call_threadsafe_function(tsfn_, frame, napi_tsfn_blocking) != napi_ok) delete frame;
  }

  napi_threadsafe_function tsfn() const { return tsfn_; }

 private:
  int user_id_, type_;
  napi_threadsafe_function tsfn_;
};

void CallFrameJs(napi_env env, napi_value fn, void*, void* data) {
  std::unique_ptr<TypicalFrame> frame(static_cast<TypicalFrame*>(data));
  if (!env) return;
  napi_value obj = nullptr, buffer = nullptr, result = nullptr, undefined = nullptr;
  void* copy = nullptr;
  if (napi_create_object(env, &obj) != napi_ok ||
      napi_create_buffer_copy(env, frame->pixels.size(), frame->pixels.data(), &copy, &buffer) != napi_ok)
    return;
  SetNum(env, obj, "userId", frame->user_id);
  SetNum(env, obj, "videoTrackType", frame->type);
  SetNum(env, obj, "width", frame->width);
  SetNum(env, obj, "height", frame->height);
  napi_set_named_property(env, obj, "buffer", buffer);
  napi_get_undefined(env, &undefined);
  napi_call_function(env, undefined, fn, 1, &obj, &result);
}

std::vector<std::unique_ptr<TypicalSink>> g_sinks;

// typicalReceive(userId, type, fn): the stream's frames go to fn(frame).
napi_value TypicalReceive(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  const int user = static_cast<int>(NumArg(env, a, 0, 0)), type = static_cast<int>(NumArg(env, a, 1, 0));
  napi_value name = nullptr;
  napi_threadsafe_function tsfn = nullptr;
  CHECK(napi_create_string_utf8(env, "typical-frame", NAPI_AUTO_LENGTH, &name));
  CHECK(napi_create_threadsafe_function(env, a.argv[2], nullptr, name, 0, 1, nullptr, nullptr, nullptr, CallFrameJs,
                                        &tsfn));
  napi_unref_threadsafe_function(env, tsfn);
  auto sink = std::make_unique<TypicalSink>(user, type, tsfn);
  tavel::VideoTrackInfo track;
  track.user_id = user;
  track.type = type;
  if (!Live() || Live()->VideoStartReceive(track, sink.get()) != 0) {
    napi_release_threadsafe_function(tsfn, napi_tsfn_abort);
    napi_throw_error(env, nullptr, "bench: VideoStartReceive failed");
    return nullptr;
  }
  g_sinks.push_back(std::move(sink));
  return nullptr;
}

struct TypicalEvent {
  const char* method;
  int argc;
  double args[4];
  std::vector<uint8_t>* bytes;  // a copy of the event's data, the first argument when present
};

class TypicalCallbacks : public tavel::LivePlayEngineCallback {
 public:
  TypicalCallbacks(napi_threadsafe_function tsfn) : tsfn_(tsfn) {}
  napi_threadsafe_function tsfn() const { return tsfn_; }

  void OnMediaConnected() override { Post("onMediaConnected"); }
  void OnMediaConnecting() override { Post("onMediaConnecting"); }
  void OnMediaReconnecting() override { Post("onMediaReconnecting"); }
  void OnMediaDisconnected(bool by_user, int code, int sub, int extra) override {
    Post("onMediaDisconnected", by_user, code, sub, extra);
  }
  void OnAudioSharedConnectionStateChanged(int s) override { Post("onAudioSharedConnectionStateChanged", s); }
  void OnVideoSharedConnectionStateChanged(int s) override { Post("onVideoSharedConnectionStateChanged", s); }
  void OnServerTimestampOffset(int64_t offset) override { Post("onServerTimestampOffset", static_cast<double>(offset)); }
  void OnRadioChannelConnecting() override { Post("onRadioChannelConnecting"); }
  void OnRadioChannelConnected() override { Post("onRadioChannelConnected"); }
  void OnRadioMessage(const uint8_t* data, int length) override { PostBytes("onRadioMessage", data, length); }
  void OnUserData(const uint8_t* data, int length) override { PostBytes("onUserData", data, length); }
  void OnNoSpeechTimeoutEvent() override { Post("onNoSpeechTimeoutEvent"); }
  void OnAudioInputNoVoiceWarning() override { Post("onAudioInputNoVoiceWarning"); }
  void OnRecordingDataException(int c) override { Post("onRecordingDataException", c); }
  void OnPlayoutDataException(int c) override { Post("onPlayoutDataException", c); }
  void OnLoopbackDataException(int c) override { Post("onLoopbackDataException", c); }
  void OnDeviceError(int t, int c, int e) override { Post("onDeviceError", t, c, e); }
  void OnDeviceEvent(int t, int c, int e) override { Post("onDeviceEvent", t, c, e); }
  void OnAudioInputDeviceChanged(int s) override { Post("onAudioInputDeviceChanged", s); }
  void OnAudioOutputDeviceChanged(int s) override { Post("onAudioOutputDeviceChanged", s); }
  void OnVideoInputDeviceChanged(int s) override { Post("onVideoInputDeviceChanged", s); }
  void OnDefaultAudioInputDeviceChanged(const char*, const char*) override { Post("onDefaultAudioInputDeviceChanged"); }
  void OnDefaultAudioOutputDeviceChanged(const char*, const char*) override { Post("onDefaultAudioOutputDeviceChanged"); }
  void OnVideoFrameReceived(int u, int t) override { Post("onVideoFrameReceived", u, t); }
  void OnBeautyReady(bool r) override { Post("onBeautyReady", r); }
  void OnBeautyError(int c) override { Post("onBeautyError", c); }
  void OnAIStickerReady(bool r) override { Post("onAIStickerReady", r); }
  void OnAIStickerError(int c) override { Post("onAIStickerError", c); }

 private:
  template <typename... A>
  void Post(const char* method, A... args) {
    auto* e = new TypicalEvent{method, static_cast<int>(sizeof...(A)), {static_cast<double>(args)...}, nullptr};
    if (napi_call_threadsafe_function(tsfn_, e, napi_tsfn_blocking) != napi_ok) delete e;
  }
  napi_threadsafe_function tsfn_;

 public:
  // The engine's memory is gone once the callback returns: the data is copied.
  void PostBytes(const char* method, const uint8_t* data, int length, int extra_argc = 0, int extra = 0) {
    const size_t size = data && length > 0 ? static_cast<size_t>(length) : 0;
    auto* e = new TypicalEvent{method, 1 + extra_argc, {static_cast<double>(length), static_cast<double>(extra)},
                               new std::vector<uint8_t>(data, data + size)};
    if (napi_call_threadsafe_function(tsfn_, e, napi_tsfn_blocking) != napi_ok) {
      delete e->bytes;
      delete e;
    }
  }
  void PostNumber(const char* method, double v) { Post(method, v); }
};

// The microphone's data and voice activity, each to an object of its own.
class TypicalMic : public tavel::MicrophoneRecordingCallback {
 public:
  explicit TypicalMic(TypicalCallbacks* to) : to_(to) {}
  void OnAudioRecordingStart() override {}
  void OnAudioRecordingStop() override {}
  void OnMicrophoneRecordedPcmData(const uint8_t* data, int length) override {
    to_->PostBytes("onMicrophoneRecordedPcmData", data, length);
  }
  void OnMicrophoneRecordedAacData(const uint8_t* d, int n, int r) override { to_->PostBytes("onMicrophoneRecordedAacData", d, n, 1, r); }
  void OnMicrophoneRecordedOpusData(const uint8_t* d, int n, int r) override { to_->PostBytes("onMicrophoneRecordedOpusData", d, n, 1, r); }
  void OnMicrophoneRecordedIsacData(const uint8_t* d, int n, int r) override { to_->PostBytes("onMicrophoneRecordedIsacData", d, n, 1, r); }

 private:
  TypicalCallbacks* to_;
};

class TypicalVad : public tavel::VadCallback {
 public:
  explicit TypicalVad(TypicalCallbacks* to) : to_(to) {}
  void OnAudioVadStatusChange(int status) override { to_->PostNumber("onAudioVadStatusChange", status); }

 private:
  TypicalCallbacks* to_;
};

void CallEventJs(napi_env env, napi_value, void* context, void* data) {
  std::unique_ptr<TypicalEvent> event(static_cast<TypicalEvent*>(data));
  if (!env) return;
  napi_value object = nullptr, fn = nullptr, result = nullptr, argv[5];
  if (napi_get_reference_value(env, static_cast<napi_ref>(context), &object) != napi_ok || !object ||
      napi_get_named_property(env, object, event->method, &fn) != napi_ok)
    return;
  int argc = 0;
  std::unique_ptr<std::vector<uint8_t>> bytes(event->bytes);
  if (bytes) {
    void* copy = nullptr;
    napi_create_buffer_copy(env, bytes->size(), bytes->data(), &copy, &argv[argc++]);
  }
  for (int i = 0; i < event->argc; ++i) napi_create_double(env, event->args[i], &argv[argc++]);
  if (napi_call_function(env, object, fn, argc, argv, &result) != napi_ok) {
    napi_value error = nullptr;
    napi_get_and_clear_last_exception(env, &error);
  }
}

std::unique_ptr<TypicalCallbacks> g_callbacks;
napi_ref g_callbacks_ref = nullptr;

// A target object of its own: a thread-safe function per object, as a
// straightforward binding makes one per registered callback.
struct TypicalTarget {
  napi_ref ref = nullptr;
  std::unique_ptr<TypicalCallbacks> posts;
};
std::vector<TypicalTarget> g_targets;
std::vector<std::unique_ptr<TypicalMic>> g_mics;
std::vector<std::unique_ptr<TypicalVad>> g_vads;

TypicalCallbacks* NewTarget(napi_env env, napi_value object) {
  TypicalTarget t;
  napi_value name = nullptr;
  napi_threadsafe_function tsfn = nullptr;
  if (napi_create_reference(env, object, 1, &t.ref) != napi_ok ||
      napi_create_string_utf8(env, "typical-target", NAPI_AUTO_LENGTH, &name) != napi_ok ||
      napi_create_threadsafe_function(env, nullptr, nullptr, name, 0, 1, nullptr, nullptr, t.ref, CallEventJs, &tsfn) !=
          napi_ok)
    return nullptr;
  napi_unref_threadsafe_function(env, tsfn);
  t.posts = std::make_unique<TypicalCallbacks>(tsfn);
  TypicalCallbacks* out = t.posts.get();
  g_targets.push_back(std::move(t));
  return out;
}

// typicalEvents(object): the live play events go to object's on... methods.
napi_value TypicalEvents(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  napi_value name = nullptr;
  napi_threadsafe_function tsfn = nullptr;
  CHECK(napi_create_reference(env, a.argv[0], 1, &g_callbacks_ref));
  CHECK(napi_create_string_utf8(env, "typical-event", NAPI_AUTO_LENGTH, &name));
  CHECK(napi_create_threadsafe_function(env, nullptr, nullptr, name, 0, 1, nullptr, nullptr, g_callbacks_ref,
                                        CallEventJs, &tsfn));
  napi_unref_threadsafe_function(env, tsfn);
  g_callbacks = std::make_unique<TypicalCallbacks>(tsfn);
  if (!Live()) {
    napi_throw_error(env, nullptr, "bench: no engine");
    return nullptr;
  }
  Live()->RegisterCallback(g_callbacks.get(), nullptr);
  return nullptr;
}

// typicalClass(micObject, vadObjects: [[ssrc, object]...], localVadObject): the
// microphone recording and voice activity of a class, each object through a
// thread-safe function of its own (typicalEvents gives the room events).
napi_value TypicalClass(napi_env env, napi_callback_info info) {
  ArgList a = Args(env, info);
  if (!Live()) {
    napi_throw_error(env, nullptr, "bench: no engine");
    return nullptr;
  }
  TypicalCallbacks* mic_to = NewTarget(env, a.argv[0]);
  if (!mic_to) {
    napi_throw_error(env, nullptr, "bench: typical target failed");
    return nullptr;
  }
  g_mics.push_back(std::make_unique<TypicalMic>(mic_to));
  Live()->AudioStartRecording(tavel::AudioTrackInfo{}, g_mics.back().get(), {});
  uint32_t n = 0;
  CHECK(napi_get_array_length(env, a.argv[1], &n));
  for (uint32_t i = 0; i < n; ++i) {
    napi_value pair = nullptr, ssrc = nullptr, object = nullptr;
    int32_t id = 0;
    CHECK(napi_get_element(env, a.argv[1], i, &pair));
    CHECK(napi_get_element(env, pair, 0, &ssrc));
    CHECK(napi_get_element(env, pair, 1, &object));
    napi_get_value_int32(env, ssrc, &id);
    TypicalCallbacks* to = NewTarget(env, object);
    if (!to) continue;
    g_vads.push_back(std::make_unique<TypicalVad>(to));
    Live()->RegisterRemoteVadCallback(id, g_vads.back().get());
  }
  if (a.argc > 2) {
    if (TypicalCallbacks* to = NewTarget(env, a.argv[2])) {
      g_vads.push_back(std::make_unique<TypicalVad>(to));
      Live()->RegisterLocalVadCallback(g_vads.back().get());
    }
  }
  return nullptr;
}

// typicalStop(): the engine stops calling, then the functions are released.
napi_value TypicalStop(napi_env env, napi_callback_info) {
  StopProduction();
  if (g_root) tavel::LiveEngine::Delete(g_root);
  g_live = nullptr;
  for (auto& t : g_targets) {
    napi_release_threadsafe_function(t.posts->tsfn(), napi_tsfn_abort);
    napi_delete_reference(env, t.ref);
  }
  g_targets.clear();
  g_mics.clear();
  g_vads.clear();
  for (auto& s : g_sinks) napi_release_threadsafe_function(s->tsfn(), napi_tsfn_abort);
  g_sinks.clear();
  if (g_callbacks) napi_release_threadsafe_function(g_callbacks->tsfn(), napi_tsfn_abort);
  g_callbacks.reset();
  if (g_callbacks_ref) napi_delete_reference(env, g_callbacks_ref);
  g_callbacks_ref = nullptr;
  return nullptr;
}

napi_value Init(napi_env env, napi_value exports) {
  const napi_property_descriptor props[] = {
      {"threadCpuUs", nullptr, ThreadCpuUs, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"rss", nullptr, Rss, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"memcpyRate", nullptr, MemcpyRate, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"startProducers", nullptr, StartProducers, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"ack", nullptr, Ack, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"produced", nullptr, Produced, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"missing", nullptr, Missing, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"stopProducers", nullptr, StopProducers, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"openQueueProbe", nullptr, OpenQueueProbe, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"queued", nullptr, Queued, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"sampleStart", nullptr, SampleStart, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"sampleStop", nullptr, SampleStop, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"typicalReceive", nullptr, TypicalReceive, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"typicalEvents", nullptr, TypicalEvents, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"typicalStop", nullptr, TypicalStop, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"typicalClass", nullptr, TypicalClass, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"timedPosts", nullptr, TimedPostsStart, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"timedPostsResult", nullptr, TimedPostsResult, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"sceneStart", nullptr, SceneStart, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"sceneStop", nullptr, SceneStop, nullptr, nullptr, nullptr, napi_default, nullptr},
      {"sceneCalls", nullptr, SceneCalls, nullptr, nullptr, nullptr, napi_default, nullptr},
  };
  napi_define_properties(env, exports, sizeof props / sizeof props[0], props);
  return exports;
}

}  // namespace

NAPI_MODULE(NODE_GYP_MODULE_NAME, Init)
