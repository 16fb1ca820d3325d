#ifndef LUMEN_COMMON_RESULT_CODE_H_
#define LUMEN_COMMON_RESULT_CODE_H_

#include <cstdint>

namespace lumen_addon {

struct ResultCode {
  int32_t code;
  const char* message;
};

enum : int32_t {
  kOk = 0,
  kUnknown = -1,
  kNotImplemented = -2,
  kInvalidParameter = -3,
  kEngineUncreated = -4,
  kDuplicateAction = -5,
  kLackOfPreAction = -6,
  kEngineNotReady = -7,
};

// The message of a code of the table; "unknown" for any other code.
const char* ResultMessage(int32_t code);

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_RESULT_CODE_H_
