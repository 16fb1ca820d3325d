// What screenRecordEngine_startScreenRecord's params object becomes: the
// classic recorder's parameters, or the newer recorder's three records, each
// read key by key over its defaults.
#ifndef LUMEN_ENGINE_SCREEN_RECORD_PARAMS_H_
#define LUMEN_ENGINE_SCREEN_RECORD_PARAMS_H_

#include <napi.h>

#include <string>

#include "korin/qx_screen_record_engine.h"
#include "korin/record_engine_config.h"
#include "record_engine/record_engine.h"

namespace lumen_addon {

struct ScreenRecordParams {
  record_engine::RecordParams classic;
  korin::RecordEngineConfig engine;
  korin::ScreenCaptureConfig capture;
  korin::MediaRecordConfig media;
};

// Reads what the path needs; getters run here, before any engine call.
ScreenRecordParams ReadScreenRecordParams(const Napi::Value& params, bool screen_recorder, bool agc_when_pause);

// A frame detector's settings as both recorders' start lines write them.
std::string DetectorText(const korin::FrameValidDetectorConfig& detector);

}  // namespace lumen_addon

#endif  // LUMEN_ENGINE_SCREEN_RECORD_PARAMS_H_
