#include "qx_base/reply_table.h"

namespace lumen_addon {

ReplyTable::ReplyTable(std::shared_ptr<Strand> strand)
    : strand_(std::move(strand)), entries_(std::make_shared<Entries>(strand_->env(), strand_)) {}

ReplyTable::~ReplyTable() {
  if (!settling_) DropAll();
}

uint32_t ReplyTable::Add(napi_value fn) { return entries_->Add(fn); }

void ReplyTable::Drop(uint32_t id) { entries_->Drop(id); }

void ReplyTable::DropAll() { entries_->DropAll(); }

void ReplyTable::DropAllAfterQueued() {
  if (settling_) return;
  settling_ = true;
  // Behind every answer queued so far; the work keeps the entries (and with
  // them the strand) until it has run.
  if (!strand_->Post([entries = entries_](Napi::Env) { entries->DropAll(); })) entries_->DropAll();
}

std::size_t ReplyTable::owed() const { return entries_->size(); }

uint32_t ReplyTable::Entries::Add(napi_value fn) {
  napi_ref ref = nullptr;
  if (napi_create_reference(env_, fn, 1, &ref) != napi_ok) {
    Napi::Error::New(env_).ThrowAsJavaScriptException();
    return 0;
  }
  if (++last_id_ == 0) ++last_id_;  // 0 is no id
  waiting_[last_id_] = ref;
  if (waiting_.size() == 1) strand_->KeepLoop(true);
  return last_id_;
}

napi_ref ReplyTable::Entries::Take(uint32_t id) {
  auto it = waiting_.find(id);
  if (it == waiting_.end()) return nullptr;
  napi_ref ref = it->second;
  waiting_.erase(it);
  if (waiting_.empty()) strand_->KeepLoop(false);
  return ref;
}

void ReplyTable::Entries::Call(Napi::Env env, uint32_t id, const std::vector<napi_value>& args) {
  // Taken out before the call: the function may ask again, or destroy the
  // object, and is answered at most once either way.
  napi_ref ref = Take(id);
  if (!ref) return;
  napi_value fn = nullptr;
  const bool found = napi_get_reference_value(env, ref, &fn) == napi_ok && fn;
  napi_delete_reference(env, ref);
  napi_valuetype type = napi_undefined;
  if (!found || napi_typeof(env, fn, &type) != napi_ok || type != napi_function) return;
  napi_value ignored = nullptr;
  napi_call_function(env, env.Undefined(), fn, args.size(), args.data(), &ignored);
}

void ReplyTable::Entries::Drop(uint32_t id) {
  if (napi_ref ref = Take(id)) napi_delete_reference(env_, ref);
}

void ReplyTable::Entries::DropAll() {
  if (waiting_.empty()) return;
  for (auto& [id, ref] : waiting_) napi_delete_reference(env_, ref);
  waiting_.clear();
  strand_->KeepLoop(false);
}

}  // namespace lumen_addon
