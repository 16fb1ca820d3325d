// Scriptable answers of the simulated environment services (network probe,
// face detection), shared by the services and the control module.
#ifndef LIVE_ENGINE_SIM_SERVICES_H_
#define LIVE_ENGINE_SIM_SERVICES_H_

#include "engine_export.h"
#include "korin/environment_services.h"
#include "korin/sdk_services.h"

namespace sim {

struct ProbeResult {
  bool is_connected = false;
  double rtt = 0;
  double loss_rate = 0;
};
ENGINE_API void SetProbeResult(const ProbeResult& result);
ENGINE_API void FillProbeResult(korin::transport_v2::NetworkProberContext* context);

ENGINE_API void SetFaceResult(const korin::FaceDetectResult& result);
ENGINE_API korin::FaceDetectResult FaceResult();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_SERVICES_H_
