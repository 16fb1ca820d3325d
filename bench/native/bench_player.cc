// Producers of the player benchmark (bench/player.js): 1080p frames drawn
// into a player's renderer one at a time, each once JavaScript has taken the
// previous one; and the typical add-on's way for the same frames: a new
// converted copy per frame through a thread-safe function, a new ArrayBuffer
// per frame on the JavaScript thread.
#include <napi.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "player/player_sim.h"
#include "tavel/media_utils.h"

namespace {

std::atomic<int64_t> g_acked{-1};
std::atomic<int64_t> g_done{0};

void WaitAck(int64_t i) {
  while (g_acked.load(std::memory_order_acquire) < i) std::this_thread::yield();
}

Napi::Value Ack(const Napi::CallbackInfo& info) {
  g_acked.store(info[0].As<Napi::Number>().Int64Value(), std::memory_order_release);
  return info.Env().Undefined();
}

Napi::Value Done(const Napi::CallbackInfo& info) { return Napi::Number::New(info.Env(), static_cast<double>(g_done.load())); }

// playerProducer(coreId, width, height, frames)
Napi::Value PlayerProducer(const Napi::CallbackInfo& info) {
  const int64_t id = info[0].As<Napi::Number>().Int64Value();
  const int w = info[1].As<Napi::Number>().Int32Value(), h = info[2].As<Napi::Number>().Int32Value();
  const int64_t frames = info[3].As<Napi::Number>().Int64Value();
  g_acked = -1;
  g_done = 0;
  std::thread([=] {
    for (int64_t i = 0; i < frames; ++i) {
      if (sim::DrawPlayerFrames(id, w, h, 0, 0, i, 1) != 1) break;
      WaitAck(i);
    }
    g_done = 1;
  }).detach();
  return info.Env().Undefined();
}

struct Frame {
  uint8_t* pixels;
  size_t size;
};

void CallJs(napi_env env, napi_value fn, void*, void* data) {
  auto* f = static_cast<Frame*>(data);
  if (env) {
    napi_value ab = nullptr;
    void* dst = nullptr;
    if (napi_create_arraybuffer(env, f->size, &dst, &ab) == napi_ok) {
      std::memcpy(dst, f->pixels, f->size);
      napi_value undefined = nullptr, ignored = nullptr;
      napi_get_undefined(env, &undefined);
      napi_call_function(env, undefined, fn, 1, &ab, &ignored);
    }
  }
  std::free(f->pixels);
  delete f;
}

// typicalProducer(fn, width, height, frames)
Napi::Value TypicalProducer(const Napi::CallbackInfo& info) {
  const int w = info[1].As<Napi::Number>().Int32Value(), h = info[2].As<Napi::Number>().Int32Value();
  const int64_t frames = info[3].As<Napi::Number>().Int64Value();
  napi_value name = Napi::String::New(info.Env(), "typical");
  napi_threadsafe_function tsfn = nullptr;
  napi_create_threadsafe_function(info.Env(), info[0], nullptr, name, 0, 1, nullptr, nullptr, nullptr, CallJs, &tsfn);
  g_acked = -1;
  g_done = 0;
  std::thread([=] {
    const int cw = (w + 1) / 2, ch = (h + 1) / 2;
    for (int64_t i = 0; i < frames; ++i) {
      std::vector<uint8_t> planes = sim::PlayerPicture(w, h, i);
      const uint8_t* y = planes.data();
      const uint8_t* u = y + static_cast<size_t>(w) * h;
      const uint8_t* v = u + static_cast<size_t>(cw) * ch;
      auto* f = new Frame{static_cast<uint8_t*>(std::malloc(static_cast<size_t>(w) * h * 4)), static_cast<size_t>(w) * h * 4};
      tavel::I420ToABGR(y, w, u, cw, v, cw, f->pixels, w * 4, w, h);
      napi_call_threadsafe_function(tsfn, f, napi_tsfn_blocking);
      WaitAck(i);
    }
    napi_release_threadsafe_function(tsfn, napi_tsfn_release);
    g_done = 1;
  }).detach();
  return info.Env().Undefined();
}

Napi::Object Init(Napi::Env env, Napi::Object exports) {
  exports.Set("ack", Napi::Function::New(env, Ack));
  exports.Set("done", Napi::Function::New(env, Done));
  exports.Set("playerProducer", Napi::Function::New(env, PlayerProducer));
  exports.Set("typicalProducer", Napi::Function::New(env, TypicalProducer));
  return exports;
}

}  // namespace

NODE_API_MODULE(lumen_engine_bench_player, Init)
