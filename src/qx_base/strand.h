// The one path from a native QX object's engine threads to the JavaScript
// thread: one Node-API thread-safe function per object (player, room, camera
// engine, thumbnail tool, agent, download listener, ...), so that its events,
// its replies and its frame wake-ups run in the order they were posted.
//
// Posting takes no lock that Close or the environment's teardown needs: a
// post counts itself in, calls Node, and counts itself out; whoever counts
// out last releases the function. Close works from any thread, at once:
// work still queued is dropped uncalled, so nothing reaches JavaScript after
// it returns, and once Node has let go of the function nothing of the strand
// is left (its teardown hook is removed on the JavaScript thread then).
//
// Work runs on the JavaScript thread; an exception it leaves pending becomes
// an 'uncaughtException' and the next work still runs.
#ifndef LUMEN_QX_BASE_STRAND_H_
#define LUMEN_QX_BASE_STRAND_H_

#include <napi.h>

#include <functional>
#include <memory>
#include <utility>

#include "common/to_js.h"
#include "qx_base/listener.h"

namespace lumen_addon {

class Strand {
 public:
  // JavaScript thread, with the live environment. Owns copies of everything
  // it delivers.
  using Work = std::function<void(Napi::Env env)>;

  // JavaScript thread. No async resource, an unbounded queue, one initial
  // thread; it does not keep the event loop alive by itself (see KeepLoop).
  // Null after a failure, which is raised as a JavaScript exception.
  static std::shared_ptr<Strand> Create(napi_env env, const char* resource_name);
  ~Strand();

  Strand(const Strand&) = delete;
  Strand& operator=(const Strand&) = delete;

  // Any thread, never waits (the queue is unbounded; frames are bounded by
  // their mailbox instead). False when the work was dropped: closed, or the
  // environment is gone.
  bool Post(Work work);

  // Any thread: the listener's `method` with copies of `args`, converted by
  // ToJs<T> on the JavaScript thread (see Emit in listener.h; a null method
  // calls the listener itself, a function).
  template <typename... A>
  bool Emit(std::shared_ptr<Listener> listener, const char* method, A... args) {
    return Post([listener = std::move(listener), method, args...](Napi::Env env) { lumen_addon::Emit(env, *listener, method, args...); });
  }

  // Any thread, idempotent: nothing more runs on the JavaScript thread.
  void Close();
  bool closed() const;

  // JavaScript thread: keeps the event loop alive while on (replies owed).
  void KeepLoop(bool on);

  napi_env env() const;

  struct State;

 private:
  explicit Strand(std::shared_ptr<State> state) : state_(std::move(state)) {}
  std::shared_ptr<State> state_;
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_STRAND_H_
