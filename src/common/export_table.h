// The frame every export follows: its admission test is data in its table
// row, checked before the handler runs; a refusal throws the export's own
// message (or, in the groups whose contract says so, logs it) and answers
// the row's failure value.
#ifndef LUMEN_COMMON_EXPORT_TABLE_H_
#define LUMEN_COMMON_EXPORT_TABLE_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>

#include "common/handle_kind.h"

namespace lumen_addon {

using Handler = Napi::Value (*)(const Napi::CallbackInfo& info);

constexpr char kDescriptionKey[] = "lumen_engine_addon.export";

// How the argument count and types decide admission. Type letters, one per
// argument: o record (object or function), c callbacks object the add-on
// keeps and calls, w object the export writes its results into, f function,
// F function or null, s string, n number, b boolean, a array, t typed array or
// Buffer, B bytes (ArrayBuffer, typed array or DataView), * anything. o, c and w admit the same values; they tell readers of
// the description (tests, the fuzzer) what the object is for.
enum class Check : uint8_t {
  kFree,        // no test at all
  kNone,        // any argument is an error
  kAtLeast,     // at least as many arguments as letters, each of its type
  kExactly,     // exactly as many arguments as letters, each of its type
  kLenient,     // refused only when the count differs and no argument has its type
  kLenientMin,  // refused only when too few arguments and no argument has its type
};

// How a refused call tells JavaScript: by throwing the message, or, in the
// groups whose contract never throws, by an error line of the message under
// the row's tag.
enum class Refusal : uint8_t { kThrow, kLog };

struct Admission {
  Check check;
  const char* types;
  const char* message;
  Refusal refusal = Refusal::kThrow;
  const char* tag = nullptr;  // of a logged refusal
};

constexpr Admission Free() { return {Check::kFree, "", nullptr}; }
constexpr Admission NoArgs(const char* message) { return {Check::kNone, "", message}; }
constexpr Admission AtLeast(const char* types, const char* message) { return {Check::kAtLeast, types, message}; }
constexpr Admission Exactly(const char* types, const char* message) { return {Check::kExactly, types, message}; }
constexpr Admission Lenient(const char* types, const char* message) { return {Check::kLenient, types, message}; }
constexpr Admission LenientMin(const char* types, const char* message) { return {Check::kLenientMin, types, message}; }
// The same test, refused with an error line instead of an exception:
// Logged(Exactly("no", "QXCameraRecordEngine_startRecord invalid arguments"), "QXCameraRecordEngine").
constexpr Admission Logged(Admission a, const char* tag) {
  a.refusal = Refusal::kLog;
  a.tag = tag;
  return a;
}

// What a refused call answers (after a throw JavaScript sees the Error
// instead): undefined, a number, or false.
struct Failure {
  enum Kind : uint8_t { kUndefined, kNumber, kFalse } kind;
  int32_t value;
};
constexpr Failure kVoid{Failure::kUndefined, 0};
constexpr Failure kMinusOne{Failure::kNumber, -1};
constexpr Failure kFalse{Failure::kFalse, 0};
constexpr Failure FailWith(int32_t value) { return {Failure::kNumber, value}; }
Napi::Value FailureValue(Napi::Env env, const Failure& failure);

// The kind of native handle each argument position carries (kNone: none).
// The look-ups of an export read it here, so the description that tests
// and the fuzzer read is the one the handler uses.
constexpr std::size_t kMaxHandleArgs = 4;
struct HandleArgs {
  HandleKind at[kMaxHandleArgs];
};
// Handles(HandleKind::kPlayer) for a handle first; Handles(kPlayer, kExternalDataSource) for two.
constexpr HandleArgs Handles(HandleKind a0, HandleKind a1 = HandleKind::kNone, HandleKind a2 = HandleKind::kNone,
                             HandleKind a3 = HandleKind::kNone) {
  return HandleArgs{{a0, a1, a2, a3}};
}

struct ExportRow {
  const char* name;
  Handler handler;
  Admission admission;
  Failure failure;
  // What the engine wrapper logs when a forwarded call finds its engine gone.
  const char* text = nullptr;
  // The kinds of the handle arguments, by position.
  HandleArgs handles = {};
};

// The row of the export being called (its function's data).
const ExportRow& RowOf(const Napi::CallbackInfo& info);

// The name of the export running on this thread (the innermost one when
// exports re-enter), or nullptr outside every export. Holders of JavaScript
// objects keep it to name where an object came from in delivery errors.
const char* CurrentExport();

// True when admitted; otherwise the refusal is thrown (or logged).
bool Admit(const Napi::CallbackInfo& info, const Admission& admission);
// A refusal found after admission (a record key of another type): the row's
// own refusal, thrown or logged as its admission does.
void Refuse(const Napi::CallbackInfo& info);
bool HasType(const Napi::Value& value, char letter);

// Adds every row as a named function of `exports`; failures are raised as
// JavaScript exceptions and registration goes on with the next row. Each
// function carries its row, frozen, under Symbol.for(kDescriptionKey): the
// one description of the exports that tests, the fuzzer and the
// declarations check read, so that none of them can disagree with the module.
void AddExports(napi_env env, napi_value exports, const ExportRow* rows, std::size_t count);

template <std::size_t N>
void AddExports(napi_env env, napi_value exports, const ExportRow (&rows)[N]) {
  AddExports(env, exports, rows, N);
}

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_EXPORT_TABLE_H_
