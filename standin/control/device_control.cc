#include "device_control.h"

#include <string>
#include <vector>

#include "sim/devices.h"

namespace device_control {
namespace {

double Num(const Napi::Object& o, const char* key, double def = 0) {
  Napi::Value v = o.Get(key);
  return v.IsNumber() ? v.As<Napi::Number>().DoubleValue() : def;
}
std::string Str(const Napi::Object& o, const char* key) {
  Napi::Value v = o.Get(key);
  return v.IsString() ? v.As<Napi::String>().Utf8Value() : std::string();
}
bool Bool(const Napi::Object& o, const char* key) { return o.Get(key).ToBoolean().Value(); }

template <typename T, typename Fn>
std::vector<T> List(const Napi::Value& v, Fn&& read) {
  std::vector<T> out;
  if (!v.IsArray()) return out;
  Napi::Array a = v.As<Napi::Array>();
  for (uint32_t i = 0; i < a.Length(); ++i) {
    Napi::Value e = a.Get(i);
    if (e.IsObject()) out.push_back(read(e.As<Napi::Object>()));
  }
  return out;
}

sim::DeviceEntry Device(const Napi::Object& o) {
  sim::DeviceEntry d;
  d.name = Str(o, "name");
  d.guid = Str(o, "guid");
  d.transport_type = static_cast<uint32_t>(Num(o, "transportType"));
  d.is_default = Bool(o, "isDefault");
  d.formats = List<tavel::VideoCaptureFormat>(o.Get("formats"), [](const Napi::Object& f) {
    tavel::VideoCaptureFormat c;
    c.width = static_cast<int32_t>(Num(f, "width"));
    c.height = static_cast<int32_t>(Num(f, "height"));
    c.fps = static_cast<int32_t>(Num(f, "fps"));
    c.pixel_format = static_cast<int32_t>(Num(f, "pixelFormat"));
    return c;
  });
  return d;
}

record_engine::Source Source(const Napi::Object& o) {
  record_engine::Source s;
  s.id = static_cast<int64_t>(Num(o, "id"));
  s.title = Str(o, "title");
  s.width = static_cast<int32_t>(Num(o, "width"));
  s.height = static_cast<int32_t>(Num(o, "height"));
  return s;
}

}  // namespace

Napi::Value SetDevices(const Napi::CallbackInfo& info) {
  if (info.Length() < 1 || !info[0].IsObject()) return info.Env().Undefined();
  Napi::Object o = info[0].As<Napi::Object>();
  for (const char* kind : {"cameras", "microphones", "speakers"})
    if (o.Has(kind)) sim::SetDevices(kind, List<sim::DeviceEntry>(o.Get(kind), Device));
  if (o.Has("windows")) {
    sim::SetWindows(List<sim::WindowEntry>(o.Get("windows"), [](const Napi::Object& w) {
      sim::WindowEntry e;
      e.source = Source(w);
      e.status.pos_x = static_cast<int32_t>(Num(w, "posX"));
      e.status.pos_y = static_cast<int32_t>(Num(w, "posY"));
      e.status.width = e.source.width;
      e.status.height = e.source.height;
      e.status.minimized = Bool(w, "minimized");
      e.status.on_screen = !w.Has("onScreen") || Bool(w, "onScreen");
      e.status.scaling_factor = Num(w, "scalingFactor", 1);
      return e;
    }));
  }
  if (o.Has("screens")) sim::SetScreens(List<record_engine::Source>(o.Get("screens"), Source));
  return info.Env().Undefined();
}

Napi::Value SetPlatform(const Napi::CallbackInfo& info) {
  if (info.Length() > 0 && info[0].IsObject()) {
    Napi::Object o = info[0].As<Napi::Object>();
    if (o.Has("aero")) sim::SetAeroEnabled(Bool(o, "aero"));
    if (o.Has("winVersion")) sim::SetWinVersion(static_cast<int>(Num(o, "winVersion")));
  }
  Napi::Object out = Napi::Object::New(info.Env());
  out.Set("electronVersion", sim::ElectronVersion());
  return out;
}

}  // namespace device_control
