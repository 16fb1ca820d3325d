#include "common/result_code.h"

namespace lumen_addon {

namespace {
constexpr ResultCode kResultCodes[] = {
    {kOk, "ok"},
    {kUnknown, "unknown"},
    {kNotImplemented, "not implemented"},
    {kInvalidParameter, "invalid parameter"},
    {kEngineUncreated, "engine uncreated or has been destroyed"},
    {kDuplicateAction, "duplicate action"},
    {kLackOfPreAction, "lack of pre action"},
    {kEngineNotReady, "engine not ready"},
};
}  // namespace

const char* ResultMessage(int32_t code) {
  for (const ResultCode& rc : kResultCodes)
    if (rc.code == code) return rc.message;
  return "unknown";
}

}  // namespace lumen_addon
