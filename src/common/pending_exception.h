// Deliveries run outside any JavaScript caller: an exception a callback left
// pending reaches the process as an 'uncaughtException' (with the very value
// thrown), and the deliveries after it still run.
#ifndef LUMEN_COMMON_PENDING_EXCEPTION_H_
#define LUMEN_COMMON_PENDING_EXCEPTION_H_

#include <node_api.h>

namespace lumen_addon {

// JavaScript thread; nothing happens when no exception is pending.
void SurfacePendingException(napi_env env);

// JavaScript thread, for exports that never throw: takes a pending exception
// and lets it go; true when there was one.
bool DiscardPendingException(napi_env env);

}  // namespace lumen_addon

#endif  // LUMEN_COMMON_PENDING_EXCEPTION_H_
