#include "record_engine/common_error_code.h"

namespace record_engine {

std::string CommonErrorCode::codeToString(int code) {
  switch (code) {
    case kSuccess: return "success";
    case kInvalidParameter: return "invalid parameter";
    case kFileNotFound: return "file not found";
    case kNotInitialized: return "not initialized";
    case kWrongState: return "wrong state";
    case kIoError: return "io error";
    case kAlreadyCreated: return "already created";
    default: return "error " + std::to_string(code);
  }
}

}  // namespace record_engine
