#ifndef TAVEL_SOURCE_FLAG_H_
#define TAVEL_SOURCE_FLAG_H_

#include <string>

#include "engine_export.h"

namespace tavel {

// Replaces the engine's switches with those named in `text`.
ENGINE_API void SetSourceFlag(const std::string& text);
ENGINE_API bool GetSourceFlagWithKey(const std::string& key);
ENGINE_API bool GetAudioEngineSourceFlagWithKey(const std::string& key);

// type 1: engine parameters, type 2: room-scoped parameters.
ENGINE_API int UpdateEngineParams(int type, const std::string& params);

}  // namespace tavel

#endif  // TAVEL_SOURCE_FLAG_H_
