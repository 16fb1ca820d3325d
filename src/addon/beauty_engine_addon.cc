// beautyEngine_*: the beauty and AI-sticker state the beauty manager keeps
// and applies to whichever engine is current. No export needs an engine.
#include <cmath>

#include "addon/groups.h"
#include "beauty/beauty_manager.h"
#include "common/convert.h"
#include "common/export_table.h"

namespace lumen_addon {
namespace {

// A degree left out, or one that is no number, reads as 0: NaN would reach
// the engine and be stored for every later sync.
float Degree(const Napi::Object& o, const char* key) {
  const double d = js::DoubleAt(o, key);
  return std::isnan(d) ? 0.0f : static_cast<float>(d);
}

tavel::BeautyParam ToBeautyParam(const Napi::Value& v) {
  Napi::Object o = js::ToObject(v);
  tavel::BeautyParam p;
  p.cheek_degree = Degree(o, "cheekDegree");
  p.eye_degree = Degree(o, "eyeDegree");
  p.smooth_degree = Degree(o, "smoothDegree");
  p.whiten_degree = Degree(o, "whitenDegree");
  return p;
}

BeautyManagerConfig ToManagerConfig(const Napi::Value& v) {
  Napi::Object o = js::ToObject(v);
  BeautyManagerConfig c;
  c.beauty_enable_ = js::BoolAt(o, "beautyEnable");
  c.aisticker_enable_ = js::BoolAt(o, "aistickerEnable");
  c.try_on_error_ = js::BoolAt(o, "tryOnError");
  c.try_times_max = js::Int32At(o, "tryTimesMax");
  c.try_timeout_ = js::Int32At(o, "tryTimeout");
  // A missing record reads as all zero, like every other missing key.
  Napi::Value param = js::Get(o, "beautyParam");
  if (js::IsSet(param)) c.param = ToBeautyParam(param);
  c.sticker_path = js::OptionalUtf8At(o, "stickerPath");
  c.color_filter_path = js::OptionalUtf8At(o, "colorFilterPath");
  return c;
}

using Manager = BeautyManager;
Napi::Value Number(const Napi::CallbackInfo& info, int code) { return js::Number(info.Env(), code); }
#define BEAUTY(name) Napi::Value name(const Napi::CallbackInfo& info)

BEAUTY(ApplyBeautyManagerConfig) { return Number(info, Manager::Instance()->ApplyBeautyManagerConfig(ToManagerConfig(info[0]))); }
BEAUTY(SyncCurrentState) {
  Manager::Instance()->SyncCurrentState();
  return Napi::Value();
}
BEAUTY(SetBeautyConfig) {
  tavel::BeautyConfig c;
  c.resource_path = js::OptionalUtf8At(js::ToObject(info[0]), "resourcePath");
  return Number(info, Manager::Instance()->SetBeautyConfig(c));
}
BEAUTY(EnableBeauty) { return Number(info, Manager::Instance()->EnableBeauty(js::ToBool(info[0]))); }
BEAUTY(SetBeautyParam) { return Number(info, Manager::Instance()->SetBeautyParam(ToBeautyParam(info[0]))); }
BEAUTY(SetStickerPath) { return Number(info, Manager::Instance()->SetStickerPath(js::ToUtf8(info[0]))); }
BEAUTY(SetColorFilterPath) { return Number(info, Manager::Instance()->SetColorFilterPath(js::ToUtf8(info[0]))); }
BEAUTY(SetBackgroundBlur) { return Number(info, Manager::Instance()->SetBackgroundBlur(js::ToBool(info[0]))); }
BEAUTY(SetVirtualBackground) { return Number(info, Manager::Instance()->SetVirtualBackground(js::ToUtf8(info[0]))); }

const ExportRow kRows[] = {
    {"beautyEngine_applyBeautyManagerConfig", ApplyBeautyManagerConfig,
     AtLeast("o", "Expect parameters:BeautyManagerConfig"), kMinusOne},
    {"beautyEngine_syncCurrentState", SyncCurrentState, Free(), kVoid},
    {"beautyEngine_setBeautyConfig", SetBeautyConfig, AtLeast("o", "Expect parameters: BeautyConfig"), kMinusOne},
    {"beautyEngine_enableBeauty", EnableBeauty, AtLeast("b", "Expect parameters: enable"), kMinusOne},
    {"beautyEngine_setBeautyParam", SetBeautyParam, AtLeast("o", "Expect parameters: BeautyParam"), kMinusOne},
    {"beautyEngine_setStickerPath", SetStickerPath, AtLeast("s", "Expect parameters: sticker path"), kMinusOne},
    {"beautyEngine_setColorFilterPath", SetColorFilterPath, AtLeast("s", "Expect parameters: color filter path"),
     kMinusOne},
    {"beautyEngine_setBackgroundBlur", SetBackgroundBlur, AtLeast("b", "Expect parameters: enabled"), kMinusOne},
    {"beautyEngine_setVirtualBackground", SetVirtualBackground,
     AtLeast("s", "Expect parameters: color filter path"), kMinusOne},
};

}  // namespace

void RegisterBeautyEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
