// networkProber_*: the engine's network probe, started, stopped and read.
#include "addon/groups.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "korin/sdk_services.h"

namespace lumen_addon {
namespace {

using korin::transport_v2::NetworkProber;

Napi::Value Start(const Napi::CallbackInfo&) {
  if (NetworkProber* prober = NetworkProber::GetInstance()) prober->StartEsProber();
  return Napi::Value();
}

Napi::Value Stop(const Napi::CallbackInfo&) {
  if (NetworkProber* prober = NetworkProber::GetInstance()) prober->StopEsProber();
  return Napi::Value();
}

// The count is the row's test; the type has a message of its own.
Napi::Value GetResult(const Napi::CallbackInfo& info) {
  if (!info[0].IsObject()) {
    Napi::Error::New(info.Env(), "Expected 1st parameter to be result").ThrowAsJavaScriptException();
    return js::Number(info.Env(), -1);
  }
  korin::transport_v2::NetworkProberContext context;
  if (NetworkProber* prober = NetworkProber::GetInstance()) prober->GetEsProberResult(&context);
  Napi::Object result = info[0].As<Napi::Object>();
  result.Set("isConnected", context.is_connected);
  result.Set("rtt", context.rtt);
  result.Set("lossRate", context.loss_rate);
  return js::Number(info.Env(), 0);
}

const ExportRow kRows[] = {
    {"networkProber_startEsProber", Start, Free(), kVoid},
    {"networkProber_stopEsProber", Stop, Free(), kVoid},
    {"networkProber_getEsProberResult", GetResult, Exactly("*", "Expected 1 arguments"), kMinusOne},
};

}  // namespace

void RegisterNetworkProberGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
