#ifndef RECORD_ENGINE_COMMON_ERROR_CODE_H_
#define RECORD_ENGINE_COMMON_ERROR_CODE_H_

#include <string>

#include "engine_export.h"

namespace record_engine {

// Codes of the record engines; 0 is success.
class ENGINE_API CommonErrorCode {
 public:
  enum Code : int {
    kSuccess = 0,
    kInvalidParameter = -100601,
    kFileNotFound = -100602,
    kNotInitialized = -100603,
    kWrongState = -100604,
    kIoError = -100605,
    kAlreadyCreated = -100606,
  };
  // A readable name of `code` ("error <code>" for codes of no name).
  static std::string codeToString(int code);
};

}  // namespace record_engine

#endif  // RECORD_ENGINE_COMMON_ERROR_CODE_H_
