// The frame every export follows: its admission test is data in its table
// row, checked before the handler runs; a refusal throws the export's own
// message and answers the row's failure value.
#ifndef LUMEN_COMMON_EXPORT_TABLE_H_
#define LUMEN_COMMON_EXPORT_TABLE_H_

#include <napi.h>

#include <cstddef>
#include <cstdint>

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

struct Admission {
  Check check;
  const char* types;
  const char* message;
};

constexpr Admission Free() { return {Check::kFree, "", nullptr}; }
constexpr Admission NoArgs(const char* message) { return {Check::kNone, "", message}; }
constexpr Admission AtLeast(const char* types, const char* message) { return {Check::kAtLeast, types, message}; }
constexpr Admission Exactly(const char* types, const char* message) { return {Check::kExactly, types, message}; }
constexpr Admission Lenient(const char* types, const char* message) { return {Check::kLenient, types, message}; }
constexpr Admission LenientMin(const char* types, const char* message) { return {Check::kLenientMin, types, message}; }

// What a refused call answers (JavaScript sees the thrown Error instead).
struct Failure {
  bool undefined;
  int32_t value;
};
constexpr Failure kVoid{true, 0};
constexpr Failure kMinusOne{false, -1};
constexpr Failure FailWith(int32_t value) { return {false, value}; }
Napi::Value FailureValue(Napi::Env env, const Failure& failure);

struct ExportRow {
  const char* name;
  Handler handler;
  Admission admission;
  Failure failure;
  // What the engine wrapper logs when a forwarded call finds its engine gone.
  const char* text = nullptr;
  // The kind of native handle the first argument carries, if any.
  const char* handle = nullptr;
};

// The row of the export being called (its function's data).
const ExportRow& RowOf(const Napi::CallbackInfo& info);

// The name of the export running on this thread (the innermost one when
// exports re-enter), or nullptr outside every export. Holders of JavaScript
// objects keep it to name where an object came from in delivery errors.
const char* CurrentExport();

// True when admitted; otherwise the export's Error is thrown.
bool Admit(const Napi::CallbackInfo& info, const Admission& admission);
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
