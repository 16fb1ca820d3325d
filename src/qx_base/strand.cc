#include "qx_base/strand.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "common/pending_exception.h"

namespace lumen_addon {

// Shared by the strand, the work Node runs (as its context), Node's
// finaliser and the environment's teardown hook.
struct Strand::State {
  napi_env env = nullptr;
  napi_threadsafe_function tsfn = nullptr;
  // Cleared by Close and by the teardown: queued work is dropped uncalled.
  std::atomic<bool> open{true};
  // One count for the strand until it is closed, one per call into Node in
  // progress. Whoever takes it to 0 releases the function: Node frees it
  // then, so no call may start after.
  std::atomic<uint32_t> users{1};
  std::atomic<bool> share_dropped{false};
  // Guards the release against the teardown, and the hook's argument.
  std::mutex mu;
  bool env_gone = false;
  std::shared_ptr<State>* hook = nullptr;
};

namespace {

using State = Strand::State;

bool Enter(State& s) {
  uint32_t n = s.users.load(std::memory_order_acquire);
  do {
    if (n == 0) return false;
  } while (!s.users.compare_exchange_weak(n, n + 1, std::memory_order_acq_rel, std::memory_order_acquire));
  return true;
}

void Leave(State& s) {
  if (s.users.fetch_sub(1, std::memory_order_acq_rel) != 1) return;
  std::lock_guard<std::mutex> lock(s.mu);
  // After the teardown Node frees the function itself.
  if (!s.env_gone) napi_release_threadsafe_function(s.tsfn, napi_tsfn_release);
}

void DropShare(State& s) {
  s.open.store(false, std::memory_order_release);
  if (!s.share_dropped.exchange(true, std::memory_order_acq_rel)) Leave(s);
}

void CallJs(napi_env env, napi_value, void* context, void* data) {
  std::unique_ptr<Strand::Work> work(static_cast<Strand::Work*>(data));
  // A null environment: Node empties the queue of a function it tears down.
  if (env == nullptr || !work) return;
  if (!static_cast<State*>(context)->open.load(std::memory_order_acquire)) return;
  (*work)(Napi::Env(env));
  SurfacePendingException(env);
}

// Installed after the function, so that it runs before Node's own clean-up
// of it: posts stop here, and those in progress are waited for (they never
// wait for the JavaScript thread), since Node frees the function next.
void EnvironmentGone(void* arg) {
  std::unique_ptr<std::shared_ptr<State>> holder(static_cast<std::shared_ptr<State>*>(arg));
  State& s = **holder;
  {
    std::lock_guard<std::mutex> lock(s.mu);
    s.env_gone = true;
    s.hook = nullptr;
  }
  DropShare(s);
  while (s.users.load(std::memory_order_acquire) != 0) std::this_thread::yield();
}

// Node let go of the function (after its last release, or at the teardown):
// nothing of the strand stays with the environment.
void Finalize(napi_env env, void* data, void*) {
  std::unique_ptr<std::shared_ptr<State>> state(static_cast<std::shared_ptr<State>*>(data));
  std::shared_ptr<State>* hook = nullptr;
  {
    std::lock_guard<std::mutex> lock((*state)->mu);
    std::swap(hook, (*state)->hook);
  }
  if (hook) {
    napi_remove_env_cleanup_hook(env, EnvironmentGone, hook);
    delete hook;
  }
}

void Raise(napi_env env) { Napi::Error::New(env).ThrowAsJavaScriptException(); }

}  // namespace

std::shared_ptr<Strand> Strand::Create(napi_env env, const char* resource_name) {
  auto state = std::make_shared<State>();
  state->env = env;
  napi_value name = nullptr;
  auto* finalize_data = new std::shared_ptr<State>(state);
  if (napi_create_string_utf8(env, resource_name, NAPI_AUTO_LENGTH, &name) != napi_ok ||
      napi_create_threadsafe_function(env, nullptr, nullptr, name, 0, 1, finalize_data, Finalize, state.get(), CallJs,
                                      &state->tsfn) != napi_ok) {
    delete finalize_data;
    Raise(env);
    return nullptr;
  }
  napi_unref_threadsafe_function(env, state->tsfn);
  auto* hook = new std::shared_ptr<State>(state);
  state->hook = hook;
  if (napi_add_env_cleanup_hook(env, EnvironmentGone, hook) != napi_ok) {
    // Without the hook a post could outlive the function at the teardown.
    state->hook = nullptr;
    delete hook;
    state->open = false;
    state->share_dropped = true;
    state->users = 0;
    napi_release_threadsafe_function(state->tsfn, napi_tsfn_abort);
    Raise(env);
    return nullptr;
  }
  return std::shared_ptr<Strand>(new Strand(std::move(state)));
}

Strand::~Strand() { Close(); }

bool Strand::Post(Work work) {
  State& s = *state_;
  if (!s.open.load(std::memory_order_acquire) || !Enter(s)) return false;
  bool queued = false;
  if (s.open.load(std::memory_order_acquire)) {
    auto* item = new Work(std::move(work));
    // The queue is unbounded: a blocking call never waits.
    queued = napi_call_threadsafe_function(s.tsfn, item, napi_tsfn_blocking) == napi_ok;
    if (!queued) delete item;
  }
  Leave(s);
  return queued;
}

void Strand::Close() { DropShare(*state_); }

napi_env Strand::env() const { return state_->env; }

bool Strand::closed() const { return !state_->open.load(std::memory_order_acquire); }

void Strand::KeepLoop(bool on) {
  State& s = *state_;
  if (!Enter(s)) return;
  if (s.open.load(std::memory_order_acquire)) {
    if (on)
      napi_ref_threadsafe_function(s.env, s.tsfn);
    else
      napi_unref_threadsafe_function(s.env, s.tsfn);
  }
  Leave(s);
}

}  // namespace lumen_addon
