// One-shot answers to JavaScript functions (a seek's completion, a fetch's
// chunks, a downloader's status query): the function is kept under an id,
// the engine's completion answers that id from any thread, and the answer
// travels on the object's strand, after the events posted before it. Each
// function is called at most once; those never answered are let go uncalled
// when the object goes (DropAll, or the table's destruction). While any
// answer is owed the strand keeps the event loop alive, so a script does not
// end with a reply on its way.
#ifndef LUMEN_QX_BASE_REPLY_TABLE_H_
#define LUMEN_QX_BASE_REPLY_TABLE_H_

#include <napi.h>

#include <cstdint>
#include <map>
#include <memory>
#include <utility>

#include "common/to_js.h"
#include "qx_base/strand.h"

namespace lumen_addon {

class ReplyTable {
 public:
  // JavaScript thread.
  explicit ReplyTable(std::shared_ptr<Strand> strand);
  ~ReplyTable();
  ReplyTable(const ReplyTable&) = delete;
  ReplyTable& operator=(const ReplyTable&) = delete;

  // JavaScript thread: keeps `fn` (strongly) until its answer; answers its
  // id (never 0), or 0 when `fn` could not be kept (raised).
  uint32_t Add(napi_value fn);

  // Any thread: a callable for the engine's completion, answering `id` with
  // copies of whatever the engine passes it, converted by ToJs<T> on the
  // JavaScript thread; the function is called with `this` undefined.
  auto Answerer(uint32_t id) {
    return [strand = strand_, entries = std::weak_ptr<Entries>(entries_), id](const auto&... args) {
      strand->Post([entries, id, args...](Napi::Env env) {
        if (auto e = entries.lock()) e->Call(env, id, ToJsArgs(env, args...));
      });
    };
  }

  // JavaScript thread: the function of `id` is let go uncalled (its request
  // was refused, so no answer will come).
  void Drop(uint32_t id);
  // JavaScript thread: every function still waiting is let go uncalled.
  void DropAll();
  // JavaScript thread, for an owner going away after its engine object
  // stopped answering: answers already on the strand still reach their
  // functions, and those still waiting after them are let go uncalled. The
  // table's destruction then drops nothing more.
  void DropAllAfterQueued();
  // JavaScript thread: answers owed.
  std::size_t owed() const;

  // JavaScript thread only.
  class Entries {
   public:
    Entries(napi_env env, std::shared_ptr<Strand> strand) : env_(env), strand_(std::move(strand)) {}
    uint32_t Add(napi_value fn);
    void Call(Napi::Env env, uint32_t id, const std::vector<napi_value>& args);
    void Drop(uint32_t id);
    void DropAll();
    std::size_t size() const { return waiting_.size(); }

   private:
    napi_ref Take(uint32_t id);
    napi_env env_;
    std::shared_ptr<Strand> strand_;
    std::map<uint32_t, napi_ref> waiting_;
    uint32_t last_id_ = 0;
  };

 private:
  std::shared_ptr<Strand> strand_;
  std::shared_ptr<Entries> entries_;
  bool settling_ = false;
};

}  // namespace lumen_addon

#endif  // LUMEN_QX_BASE_REPLY_TABLE_H_
