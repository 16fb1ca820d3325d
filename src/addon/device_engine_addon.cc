// deviceEngine_*: audio and video devices of the live engine or of a device
// module that JavaScript holds as a handle.
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "addon/groups.h"
#include "common/capture_sources.h"
#include "common/convert.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "common/stream_identity.h"
#include "callback/video_frame_callback.h"
#include "device/device_module_impl.h"
#include "device/device_observers.h"
#include "engine/device_engine_impl.h"
#include "engine/device_settings.h"
#include "engine/engine_manager.h"
#include "korin/audio_device.h"
#include "qx_base/handle_arg.h"
#include "record_engine/record_engine.h"
#include "rtc/win_version.h"
#include "tavel/source_flag.h"
#include "win/platform_utils_win.h"

namespace lumen_addon {
namespace {

using Live = tavel::LiveDeviceEngine;
constexpr HandleKind kModule = HandleKind::kDeviceModule;

// How an export reports that no live device engine exists.
enum Line { kFull, kBare, kDetector, kThrow };

void NotCreated(const Napi::CallbackInfo& info, Line line) {
  switch (line) {
    case kFull: LUMEN_LOG(kError, "EngineAddon") << "Live device engine is not created yet."; break;
    case kBare: LUMEN_LOG_UNTAGGED(kError) << "Live device engine is not created yet"; break;
    case kDetector: LUMEN_LOG_UNTAGGED(kInfo) << "Device engine is not created yet."; break;
    case kThrow: Napi::Error::New(info.Env(), "Live device engine is not created yet.").ThrowAsJavaScriptException(); break;
  }
}

// What one call acts on, owned for the call: the module a non-zero handle
// names, or the live device engine. A handle that is not a live module finds
// nothing and is never dereferenced.
struct Target {
  std::shared_ptr<DeviceModuleImpl> module;
  std::shared_ptr<DeviceEngineImpl> live;

  template <typename Op>
  int Call(const char* failure, Op&& op) const {
    if (module) return module->Call(op);
    return live->Call(failure, [&](Live* e) { return InvokeIfOffered(op, e); });
  }
  template <typename Op>
  int CallClassic(const char* failure, Op&& op) const {
    if (module) return module->CallClassic(op);
    return live->Call(failure, [&](Live* e) { return InvokeIfOffered(op, e); });
  }
};

// `at`: where the optional handle is (-1: live only).
bool Find(const Napi::CallbackInfo& info, int at, Line line, Target* t) {
  if (at >= 0 && static_cast<size_t>(at) < info.Length()) {
    const double number = js::ToDouble(info[at]);
    // Read as a 64-bit integer, it is 0 (or NaN): no module.
    if (number >= 1 || number <= -1) {
      t->module = HandleRegistry::Find<DeviceModuleImpl>(kModule, HandleFromNumber(number));
      if (!t->module) LogNotLive(info, kModule);
      return t->module != nullptr;
    }
  }
  t->live = EngineManager::instance()->CurrentDeviceEngine();
  if (!t->live) NotCreated(info, line);
  return t->live != nullptr;
}

// An engine operation, offered or not by the engine a call reaches: one that
// lacks it answers -1. CALL runs at once; KEEP holds copies of the converted
// arguments, for operations made by a function whose locals are gone by then.
#define CALL(expr) [&](auto* e) -> decltype(expr) { return expr; }
#define KEEP(expr) [=](auto* e) -> decltype(expr) { return expr; }
#define ENV info.Env()

template <int At, Line L = kFull, typename Make>
Napi::Value Code(const Napi::CallbackInfo& info, Make&& make) {
  Target t;
  if (!Find(info, At, L, &t)) return js::Number(ENV, -1);
  return js::Number(ENV, t.Call(RowOf(info).text, make()));
}

template <typename T>
Napi::Value Result(Napi::Env env, const char* key, T value, int code) {
  Napi::Object o = Napi::Object::New(env);
  if constexpr (std::is_same_v<T, bool>) o.Set(key, js::Boolean(env, value));
  else o.Set(key, js::Number(env, static_cast<double>(value)));
  o.Set("errorCode", js::Number(env, code));
  return o;
}

// {key: what the engine wrote, errorCode}: 0 (false) and -1 without engine.
template <int At, Line L = kFull, bool Classic = false, typename T, typename Make>
Napi::Value Value(const Napi::CallbackInfo& info, const char* key, T* value, Make&& make) {
  Target t;
  int code = -1;
  if (Find(info, At, L, &t)) code = Classic ? t.CallClassic(RowOf(info).text, make()) : t.Call(RowOf(info).text, make());
  return Result(ENV, key, *value, code);
}

std::string Buffer256(const std::string& s) { return s.substr(0, std::min<size_t>(s.size(), tavel::kDeviceNameSize - 1)); }

// ---- volumes, levels, mutes ------------------------------------------------------------
#define SETTER(Name, Method, Read) \
  Napi::Value Name(const Napi::CallbackInfo& info) { return Code<1>(info, [&] { auto v = Read(info[0]); return KEEP(e->Method(v)); }); }
#define GETTER(Name, Method, T, key, ...) \
  Napi::Value Name(const Napi::CallbackInfo& info) { T v{}; return Value<0, __VA_ARGS__>(info, key, &v, [&] { T* out = &v; return KEEP(e->Method(out)); }); }

SETTER(SetSpeakerVolume, SetSpeakerVolume, js::ToUint32)
GETTER(GetSpeakerVolume, GetSpeakerVolume, uint32_t, "volume", kFull)
SETTER(SetMicVolume, SetMicVolume, js::ToUint32)
GETTER(GetMicVolume, GetMicVolume, uint32_t, "volume", kFull)
GETTER(GetSpeechInputLevel, GetSpeechInputLevel, uint32_t, "level", kBare)
Napi::Value GetSpeechOutputLevel(const Napi::CallbackInfo& info) {
  uint32_t v = 0;
  return Value<1, kBare>(info, "level", &v, [&] { int32_t ssrc = js::ToInt32(info[0]); uint32_t* out = &v; return KEEP(e->GetSpeechOutputLevel(ssrc, out)); });
}
Napi::Value GetSpeechOutputLevelBiz(const Napi::CallbackInfo& info) {
  uint32_t v = 0;
  return Value<-1, kBare>(info, "level", &v, [&] { auto b = ToBizInfo(info[0]); uint32_t* out = &v; return KEEP(e->GetSpeechOutputLevel(b, out)); });
}
Napi::Value SetAgcStatus(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 1, kFull, &t)) return js::Number(ENV, -1);
  bool on = js::ToBool(info[0]);
  return js::Number(ENV, t.CallClassic(RowOf(info).text, CALL(e->SetAgcStatus(on))));
}
GETTER(GetAgcStatus, GetAgcStatus, bool, "enable", kFull, true)
SETTER(SetAudioDevicePreprocessorMode, SetAudioDevicePreprocessorMode, js::ToInt32)
SETTER(SetOutputMute, SetOutputMute, js::ToBool)
GETTER(GetOutputMute, GetOutputMute, bool, "enable", kFull)
SETTER(SetInputMute, SetInputMute, js::ToBool)
GETTER(GetInputMute, GetInputMute, bool, "enable", kFull)
SETTER(SetSystemInputMute, SetSystemInputMute, js::ToBool)
GETTER(GetSystemInputMute, GetSystemInputMute, bool, "enable", kFull)
Napi::Value SetSystemOutputMute(const Napi::CallbackInfo& info) {
  return Code<1, kBare>(info, [&] { bool m = js::ToBool(info[0]); return KEEP(e->SetSystemOutputMute(m)); });
}
GETTER(GetSystemOutputMute, GetSystemOutputMute, bool, "enable", kBare)
Napi::Value SetOutputChannelVolume(const Napi::CallbackInfo& info) {
  return Code<2>(info, [&] { int32_t s = js::ToInt32(info[0]); uint32_t v = js::ToUint32(info[1]); return KEEP(e->SetOutputChannelVolume(s, v)); });
}
Napi::Value SetOutputChannelMute(const Napi::CallbackInfo& info) {
  return Code<2>(info, [&] { int32_t s = js::ToInt32(info[0]); bool m = js::ToBool(info[1]); return KEEP(e->SetOutputChannelMute(s, m)); });
}
Napi::Value SetOutputChannelVolumeBiz(const Napi::CallbackInfo& info) {
  return Code<-1>(info, [&] { auto b = ToBizInfo(info[0]); uint32_t v = js::ToUint32(info[1]); return KEEP(e->SetOutputChannelVolume(b, v)); });
}
Napi::Value SetOutputChannelMuteBiz(const Napi::CallbackInfo& info) {
  return Code<-1>(info, [&] { auto b = ToBizInfo(info[0]); bool m = js::ToBool(info[1]); return KEEP(e->SetOutputChannelMute(b, m)); });
}

// ---- microphone recording -------------------------------------------------------------
template <int At>
Napi::Value StartRecording(const Napi::CallbackInfo& info, const RecordingStart& start) {
  Target t;
  if (!Find(info, At, kFull, &t)) return js::Number(ENV, -1);
  return js::Number(ENV, t.module ? t.module->StartRecording(start, ENV, info[0])
                                  : t.live->StartRecording(start, ENV, info[0]));
}
Napi::Value StartRecordingMicrophone(const Napi::CallbackInfo& info) {
  RecordingStart s{RecordingStart::kPlain, js::ToBool(info[1]), -1};
  return StartRecording<2>(info, s);
}
Napi::Value StartRecordingMicrophoneTimeout(const Napi::CallbackInfo& info) {
  RecordingStart s{RecordingStart::kTimeout, false, static_cast<int64_t>(js::ToInt32(info[1]))};
  return StartRecording<2>(info, s);
}
Napi::Value StartRecordingMicrophoneWithSpeakerData(const Napi::CallbackInfo& info) {
  return StartRecording<1>(info, RecordingStart{RecordingStart::kSpeakerData, false, -1});
}
// Only a module's new engine records for speech recognition.
Napi::Value StartRecordingMicrophoneForASR(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 1, kFull, &t) || !t.module) return js::Number(ENV, -1);
  return js::Number(ENV, t.module->StartRecording(RecordingStart{RecordingStart::kForAsr, false, -1}, ENV, info[0]));
}

void WriteStats(const Napi::Value& target, const tavel::DeviceRecordingStats& r) {
  if (!target.IsObject()) return;
  Napi::Object o = target.As<Napi::Object>();
  Napi::Env env = o.Env();
  o.Set("encodedRecordedMs", js::Number(env, r.encoded_recorded_ms));
  o.Set("encodedVoiceActivityMs", js::Number(env, r.encoded_voice_activity_ms));
  o.Set("encodedNonZeroSampleCount", js::Number(env, r.encoded_non_zero_sample_count));
  o.Set("pcmRecordedSampleCount", js::Number(env, r.pcm_recorded_sample_count));
  o.Set("pcmRecordedSampleMax", js::Number(env, r.pcm_recorded_sample_max));
  o.Set("recordingStartTimeMs", js::Number(env, r.recording_start_time_ms));
  o.Set("startDuringInterruption", js::Boolean(env, r.start_during_interruption));
  o.Set("interruptionAfterStart", js::Boolean(env, r.interruption_after_start));
  o.Set("errorCode", js::Number(env, r.error_code));
  o.Set("hint", js::Number(env, r.hint));
}

Napi::Value StopRecordingMicrophone(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 1, kFull, &t)) return js::Number(ENV, -1);
  tavel::DeviceRecordingStats stats;
  bool write = false;
  const int code = t.module ? t.module->StopRecording(&stats, &write) : t.live->StopRecording(&stats, &write);
  if (write) WriteStats(info[0], stats);
  return js::Number(ENV, code);
}

Napi::Value GetRecordInfoAndReset(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 1, kFull, &t)) return js::Number(ENV, -1);
  tavel::DeviceRecordingStats stats;
  const int code = t.module ? t.module->GetRecordInfoAndReset(&stats) : t.live->GetRecordInfoAndReset(&stats);
  if (code == 0) WriteStats(info[0], stats);
  return js::Number(ENV, code);
}

Napi::Value IsAudioRecording(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 0, kFull, &t)) return js::Number(ENV, -1);
  return js::Boolean(ENV, t.module ? t.module->IsAudioRecording() : t.live->IsAudioRecording());
}

// ---- device lists ---------------------------------------------------------------------
Napi::Value GetNumOfCaptureDevices(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 0, kFull, &t)) return js::Number(ENV, -1);
  const int count = t.Call(RowOf(info).text, CALL(e->GetNumOfCaptureDevices()));
  LUMEN_LOG(kInfo, "EngineAddon") << "DeviceEngine_GetNumOfCaptureDevices VideoCapture Device count:" << count;
  return js::Number(ENV, count);
}

// The newer audio device answers the count itself.
template <bool Recording>
struct Count {
  int32_t* n;
  int operator()(korin::AudioDeviceInterface* a) const {
    *n = Recording ? a->GetNumOfRecordingDevices() : a->GetNumOfPlayoutDevices();
    return 0;
  }
  template <typename E>
  auto operator()(E* e) const -> decltype(e->GetNumOfRecordingDevices(n)) {
    return Recording ? e->GetNumOfRecordingDevices(n) : e->GetNumOfPlayoutDevices(n);
  }
};

template <bool Recording>
Napi::Value NumOfAudioDevices(const Napi::CallbackInfo& info) {
  int32_t n = 0;
    return Value<0>(info, "devices", &n, [&] { return Count<Recording>{&n}; });
}

template <typename E, typename = void>
struct HasCaptureName : std::false_type {};
template <typename E>
struct HasCaptureName<E, std::void_t<decltype(std::declval<E*>()->GetCaptureDeviceName(0, nullptr, nullptr))>>
    : std::true_type {};

// The five device information queries; "DISABLE_GET_DEVICE_INFO" takes the
// older per-kind name queries.
Napi::Value DeviceInfo(const Napi::CallbackInfo& info, int32_t kind, bool by_index, const char* prefix) {
  const int at = by_index ? 1 : 0;
  Target t;
  tavel::DeviceInfo d;
  int code = -1;
  int32_t index = tavel::kDefaultDeviceIndex;
  const bool fallback = tavel::GetSourceFlagWithKey("DISABLE_GET_DEVICE_INFO");
  if (Find(info, at, kFull, &t)) {
    if (by_index) index = js::ToInt32(info[0]);
    if (!fallback) {
      code = t.Call(RowOf(info).text, CALL(e->GetDeviceInfo(kind, index, &d)));
    } else {
      d = tavel::DeviceInfo();
      auto older = [&](auto* e) -> decltype(e->GetRecordingDeviceName(index, d.name, d.guid)) {
        if (kind == tavel::kAudioRecording) return e->GetRecordingDeviceName(index, d.name, d.guid);
        if (kind == tavel::kAudioPlayout) return e->GetPlayoutDeviceName(index, d.name, d.guid);
        if constexpr (HasCaptureName<std::decay_t<decltype(*e)>>::value) {
          return e->GetCaptureDeviceName(index, d.name, d.guid);
        } else {
          return -1;
        }
      };
      code = t.Call(RowOf(info).text, older);
      d.transport_type = 0;
    }
    d.name[tavel::kDeviceNameSize - 1] = d.guid[tavel::kDeviceNameSize - 1] = '\0';
    auto log = [&](auto&& stream) {
      stream << prefix;
      if (by_index) stream << index;
      stream << (fallback ? " name:" : " name: ") << d.name << (fallback ? " guid:" : " guid: ") << d.guid;
      if (!fallback) stream << " transportType: " << std::to_string(d.transport_type);
      stream << (fallback ? " code:" : " code: ") << code;
    };
    if (LogOn(kInfo)) log(rtc::LogMessage(LUMEN_SOURCE_FILE, __LINE__, rtc::LS_INFO, "EngineAddon").stream());
  }
  Napi::Object o = Napi::Object::New(ENV);
  o.Set("name", js::String(ENV, d.name));
  o.Set("guid", js::String(ENV, d.guid));
  o.Set("transportType", js::Number(ENV, d.transport_type));
  o.Set("errorCode", js::Number(ENV, code));
  return o;
}
Napi::Value GetCaptureDeviceName(const Napi::CallbackInfo& info) {
  return DeviceInfo(info, tavel::kVideoCapture, true, "DeviceEngine_GetCaptureDeviceName VideoCaptureDevice index:");
}
Napi::Value GetRecordingDeviceName(const Napi::CallbackInfo& info) {
  return DeviceInfo(info, tavel::kAudioRecording, true, "DeviceEngine_GetRecordingDeviceName index:");
}
Napi::Value GetPlayoutDeviceName(const Napi::CallbackInfo& info) {
  return DeviceInfo(info, tavel::kAudioPlayout, true, "DeviceEngine_GetPlayoutDeviceName index:");
}
Napi::Value GetDefaultPlayoutDeviceName(const Napi::CallbackInfo& info) {
  return DeviceInfo(info, tavel::kAudioPlayout, false, "DeviceEngine_GetDefaultPlayoutDeviceName");
}
Napi::Value GetDefaultRecordDeviceName(const Napi::CallbackInfo& info) {
  return DeviceInfo(info, tavel::kAudioRecording, false, "DeviceEngine_GetDefaultRecordDeviceName");
}

#define BY_GUID(Name, Method) \
  Napi::Value Name(const Napi::CallbackInfo& info) { return Code<1>(info, [&] { std::string g = Buffer256(js::ToUtf8(info[0])); return KEEP(e->Method(g.c_str())); }); }
#define NO_ARGS(Name, Method, ...) \
  Napi::Value Name(const Napi::CallbackInfo& info) { return Code<__VA_ARGS__>(info, [&] { return KEEP(e->Method()); }); }
BY_GUID(SetRecordingDevice, SetRecordingDevice)
BY_GUID(SetPlayoutDevice, SetPlayoutDevice)
NO_ARGS(SetDefaultRecordingDevice, SetDefaultRecordingDevice, 0)
NO_ARGS(SetDefaultPlayoutDevice, SetDefaultPlayoutDevice, 0)
BY_GUID(GetRecordingDeviceIndex, GetRecordingDeviceIndex)
BY_GUID(GetPlayoutDeviceIndex, GetPlayoutDeviceIndex)
Napi::Value GetCaptureDeviceIndexByGUID(const Napi::CallbackInfo& info) {
  return Code<1>(info, [&] { std::string g = Buffer256(js::ToUtf8(info[0])); tavel::VideoCaptureFormat f; return KEEP(e->GetCaptureDeviceIndex(g.c_str(), f)); });
}
NO_ARGS(StartTestMicrophone, StartTestMicrophone, 0)
NO_ARGS(StopTestMicrophone, StopTestMicrophone, 0)

// ---- cameras ------------------------------------------------------------------------------
Napi::Value StartTestCamera(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 3, kFull, &t)) return js::Number(ENV, -1);
  std::string guid = js::ToUtf8(info[0]);
  tavel::VideoCaptureFormat f = ToCaptureFormat(info[2]);
  return js::Number(ENV, t.module ? t.module->StartTestCamera(guid, ENV, info[1], f)
                                  : t.live->StartTestCamera(guid, ENV, info[1], f));
}
Napi::Value StopTestCamera(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 0, kFull, &t)) return js::Number(ENV, -1);
  return js::Number(ENV, t.module ? t.module->StopTestCamera() : t.live->StopTestCamera());
}
Napi::Value SetCaptureDeviceInfo(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, -1, kFull, &t)) return js::Number(ENV, -1);
  std::string guid = js::ToUtf8(info[0]);
  return js::Number(ENV, t.live->SelectCaptureDevice(guid, ToCaptureFormat(info[1])));
}
Napi::Value GetCaptureDeviceFormatList(const Napi::CallbackInfo& info) {
  Target t;
  std::vector<tavel::VideoCaptureFormat> list;
  int code = -1;
  if (Find(info, 1, kFull, &t)) {
    std::string g = Buffer256(js::ToUtf8(info[0]));
    code = t.Call(RowOf(info).text, CALL(e->GetCaptureDeviceFormatList(g.c_str(), &list)));
  }
  Napi::Array formats = Napi::Array::New(ENV);
  for (uint32_t i = 0; i < list.size(); ++i) {
    Napi::Object f = Napi::Object::New(ENV);
    f.Set("width", js::Number(ENV, list[i].width));
    f.Set("height", js::Number(ENV, list[i].height));
    f.Set("fps", js::Number(ENV, list[i].fps));
    f.Set("videoColorSpace", js::String(ENV, PixelFormatName(list[i].pixel_format)));
    formats.Set(i, f);
  }
  Napi::Object o = Napi::Object::New(ENV);
  o.Set("formats", formats);
  o.Set("errorCode", js::Number(ENV, code));
  return o;
}
SETTER(HandleDefaultDeviceChange, HandleDefaultDeviceChange, js::ToBool)

Napi::Value OpenCamera(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, 4, kFull, &t)) return js::Number(ENV, -1);
  std::string guid = js::ToUtf8(info[0]);
  int32_t type = js::ToInt32(info[1]);
  tavel::VideoCaptureFormat f = ToCaptureFormat(info[3]);
  const int selected = t.module ? t.module->SelectCaptureDevice(guid, f) : t.live->SelectCaptureDevice(guid, f);
  if (selected < 0) return js::Number(ENV, selected);
  auto renderer = VideoFrameCallback::CreateRenderer(VideoFrameCallback::kLocalUserId, type, ENV, info[2]);
  renderer->SetEnabled(true);
  if (t.module) t.module->Keep(renderer);
  else t.live->Keep(renderer);
  return js::Number(ENV, t.Call(RowOf(info).text, CALL(e->OpenCamera(type, renderer.get()))));
}
SETTER(CloseCamera, CloseCamera, js::ToInt32)
Napi::Value CapturePhoto(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, -1, kFull, &t)) return js::Number(ENV, -1);
  int32_t w = js::ToInt32(info[0]), h = js::ToInt32(info[1]);
  bool mirror = js::ToBool(info[3]);
  return js::Number(ENV, t.live->CapturePhoto(w, h, ENV, info[2], mirror));
}
Napi::Value SetCaptureRotation(const Napi::CallbackInfo& info) {
  return Code<-1>(info, [&] { int32_t r = js::ToInt32(info[0]); return KEEP(e->SetCaptureRotation(r)); });
}

// ---- observers, loopback, detector ------------------------------------------------------
template <DeviceEngineImpl::Observer W>
Napi::Value RegisterObserver(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, -1, kFull, &t)) return js::Number(ENV, -1);
  return js::Number(ENV, t.live->RegisterObserver(W, ENV, info[0]));
}
template <DeviceEngineImpl::Observer W>
Napi::Value UnregisterObserver(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, -1, kFull, &t)) return js::Number(ENV, -1);
  return js::Number(ENV, t.live->UnregisterObserver(W));
}
Napi::Value IsLoopbackDeviceExist(const Napi::CallbackInfo& info) {
  return js::Boolean(ENV, EngineManager::instance()->CurrentDeviceEngine() != nullptr);
}
// Answers `value` with a live device engine, else throws.
template <int V>
Napi::Value LiveOrThrow(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, -1, kThrow, &t)) return Napi::Value();
  return js::Number(ENV, V);
}
NO_ARGS(StartSystemAudioLoopback, StartSystemAudioLoopback, -1)
NO_ARGS(StopSystemAudioLoopback, StopSystemAudioLoopback, -1)
Napi::Value SetAudioParamSavePath(const Napi::CallbackInfo& info) {
  return Code<-1>(info, [&] { std::string p = js::ToUtf8(info[0]); return KEEP(e->SetAudioParameterPath(p)); });
}
Napi::Value EnableStaticFrameDetector(const Napi::CallbackInfo& info) {
  Target t;
  if (!Find(info, -1, kDetector, &t)) return js::Number(ENV, -1);
  Napi::Object o = js::ToObject(info[0]);
  korin::FrameValidDetectorConfig c;
  if (!o.IsEmpty()) {
    c.enable_detect = js::BoolAt(o, "enableDetect");
    c.always_detect = js::BoolAt(o, "alwaysDetect");
    c.valid_detect_cnt = js::Int32At(o, "validDetectCnt");
    c.accuracy = js::Int32At(o, "accuracy");
    Napi::Value cb = js::Get(o, "callback");
    if (cb.IsObject()) c.callback = StaticFrameDetectorForwarder(ENV, cb);
  }
  LUMEN_LOG(kInfo, "EngineAddon") << "StaticFrameDetector" << "enableDetect:" << c.enable_detect << ", alwaysDetect:"
                                  << c.always_detect << ", validDetectCnt:" << c.valid_detect_cnt
                                  << ", accuracy:" << c.accuracy;
  return js::Number(ENV, t.Call(RowOf(info).text, CALL(e->EnableStaticFrameDetector(c))));
}

// ---- platform --------------------------------------------------------------------------------
Napi::Value RequestScreenCaptureAccess(const Napi::CallbackInfo& info) {
  return js::Boolean(ENV, platform::RequestScreenCaptureAccess());
}
Napi::Value IsAeroEnabled(const Napi::CallbackInfo& info) {
  return js::Boolean(ENV, rtc::rtc_win::GetVersion() < 5 ? korin::base::is_aero_enabled() : true);
}
Napi::Value GetWindowsList(const Napi::CallbackInfo& info) {
  return CaptureSourcesToJs(ENV, record_engine::RecordEngineInterface::GetWindowsList(), true);
}
Napi::Value GetScreenList(const Napi::CallbackInfo& info) {
  return CaptureSourcesToJs(ENV, record_engine::RecordEngineInterface::GetScreenList(), false);
}
Napi::Value GetWindowStatus(const Napi::CallbackInfo& info) {
  if (info.Length() < 1 || !info[0].IsNumber()) {
    LUMEN_LOG(kError, "EngineAddon") << "DeviceEngine_getWindowStatus: Invalid arguments";
    return Napi::Value();
  }
  const int64_t id = static_cast<int64_t>(static_cast<int32_t>(js::ToInt64(info[0])));
  record_engine::WindowStatus s = record_engine::RecordEngineInterface::GetWindowStatus(id);
  Napi::Object o = Napi::Object::New(ENV);
  o.Set("posX", js::Number(ENV, s.pos_x));
  o.Set("posY", js::Number(ENV, s.pos_y));
  o.Set("width", js::Number(ENV, s.width));
  o.Set("height", js::Number(ENV, s.height));
  o.Set("minimized", js::Boolean(ENV, s.minimized));
  o.Set("onScreen", js::Boolean(ENV, s.on_screen));
  o.Set("scalingFactor", js::Number(ENV, s.scaling_factor));
  o.Set("unfound", js::Boolean(ENV, s.unfound));
  return o;
}
Napi::Value SetElectronVersion(const Napi::CallbackInfo& info) {
  korin::base::set_electron_version(js::ToInt32(info[0]));
  return Napi::Value();
}

// ---- device modules ------------------------------------------------------------------------
Napi::Value CreateDeviceModule(const Napi::CallbackInfo& info) {
  std::string param = js::ToUtf8(info[1]);
  auto module = std::make_shared<DeviceModuleImpl>(ENV, info[0], param);
  return HandleValue(ENV, HandleRegistry::Add(kModule, std::move(module)));
}
Napi::Value DestroyDeviceModule(const Napi::CallbackInfo& info) {
  TakeHandleArg<DeviceModuleImpl>(info);
  return Napi::Value();
}

#define G "deviceEngine_"
// `handle` names the kind of rows whose first argument may be a module handle.
#define ROW(name, fn, admission) {G name, fn, admission, kMinusOne, name " failed: device engine is gone"}
#define HROW(name, fn, admission) \
  {G name, fn, admission, kMinusOne, name " failed: device engine is gone", Handles(kModule)}
#define H0(name, fn) HROW(name, fn, Free())
#define L0(name, fn) ROW(name, fn, Free())
using O = DeviceEngineImpl::Observer;

const ExportRow kRows[] = {
    {G "createDeviceModule", CreateDeviceModule, AtLeast("os", "Expected arguments : callback and engineParam"), kMinusOne},
    {G "destroyDeviceModule", DestroyDeviceModule, AtLeast("n", "Expected arguments : callback"), kVoid, nullptr,
     Handles(kModule)},
    ROW("setSpeakerVolume", SetSpeakerVolume, AtLeast("n", "Expected arguments : number")),
    H0("getSpeakerVolume", GetSpeakerVolume),
    ROW("setMicVolume", SetMicVolume, AtLeast("n", "Expected arguments : volumn level(unsigned int).")),
    H0("getMicVolume", GetMicVolume),
    H0("getSpeechInputLevel", GetSpeechInputLevel),
    ROW("getSpeechOutputLevel", GetSpeechOutputLevel, AtLeast("n", "Expected arguments : Expected arg 0 : ssrc(int).")),
    ROW("getSpeechOutputLevelBiz", GetSpeechOutputLevelBiz, AtLeast("o", "Expected arg 0 : info(BizInfo).")),
    ROW("setAgcStatus", SetAgcStatus, AtLeast("b", "Expected arguments :  enable(bool).")),
    H0("getAgcStatus", GetAgcStatus),
    ROW("setAudioDevicePreprocessorMode", SetAudioDevicePreprocessorMode, AtLeast("n", "Expected arguments :  mode(int).")),
    ROW("setOutputMute", SetOutputMute, AtLeast("b", "Expected arguments :  enable(bool).")),
    H0("getOutputMute", GetOutputMute),
    ROW("setInputMute", SetInputMute, AtLeast("b", "Expected arguments :  enable(bool).")),
    H0("getInputMute", GetInputMute),
    ROW("setSystemInputMute", SetSystemInputMute, AtLeast("b", "Expected arguments :  enable(bool).")),
    H0("getSystemInputMute", GetSystemInputMute),
    ROW("setSystemOutputMute", SetSystemOutputMute, AtLeast("b", "Expected arguments :  enable(bool).")),
    H0("getSystemOutputMute", GetSystemOutputMute),
    ROW("setOutputChannelVolume", SetOutputChannelVolume, AtLeast("nn", "Expected arguments : ssrc, volume")),
    ROW("setOutputChannelMute", SetOutputChannelMute, AtLeast("nb", "Expected arguments : ssrc, volume")),
    ROW("setOutputChannelVolumeBiz", SetOutputChannelVolumeBiz, AtLeast("on", "Expected arguments : info, volume")),
    ROW("setOutputChannelMuteBiz", SetOutputChannelMuteBiz, AtLeast("ob", "Expected arguments : info, volume")),
    ROW("startRecordingMicrophone", StartRecordingMicrophone, AtLeast("cb", "Expected arguments : callback, enable_aec")),
    ROW("startRecordingMicrophoneForASR", StartRecordingMicrophoneForASR,
        AtLeast("cn", "Expected arguments : callback, nativeDeviceModule")),
    ROW("startRecordingMicrophoneTimeout", StartRecordingMicrophoneTimeout,
        AtLeast("cn", "Expected arguments : callback, timeout_ms(int)")),
    ROW("startRecordingMicrophoneWithSpeakerData", StartRecordingMicrophoneWithSpeakerData,
        AtLeast("c", "Expected arguments : callback")),
    ROW("stopRecordingMicrophone", StopRecordingMicrophone, AtLeast("w", "Expected arguments : info")),
    ROW("getRecordInfoAndReset", GetRecordInfoAndReset, AtLeast("w", "Expected arguments : info")),
    H0("getNumOfCaptureDevices", GetNumOfCaptureDevices),
    H0("getNumOfRecordingDevices", NumOfAudioDevices<true>),
    H0("getNumOfPlayoutDevices", NumOfAudioDevices<false>),
    ROW("getCaptureDeviceName", GetCaptureDeviceName, AtLeast("n", "Expected arguments : id")),
    ROW("getRecordingDeviceName", GetRecordingDeviceName, AtLeast("n", "Expected arguments : id")),
    ROW("getPlayoutDeviceName", GetPlayoutDeviceName, AtLeast("n", "Expected arguments : id")),
    H0("getDefaultPlayoutDeviceName", GetDefaultPlayoutDeviceName),
    H0("getDefaultRecordDeviceName", GetDefaultRecordDeviceName),
    ROW("setRecordingDevice", SetRecordingDevice, AtLeast("s", "Expected arguments : guid or name")),
    ROW("setPlayoutDevice", SetPlayoutDevice, AtLeast("s", "Expected arguments : guid or name")),
    H0("setDefaultRecordingDevice", SetDefaultRecordingDevice),
    H0("setDefaultPlayoutDevice", SetDefaultPlayoutDevice),
    ROW("getRecordingDeviceIndex", GetRecordingDeviceIndex, AtLeast("s", "Expected arguments : guid")),
    ROW("getPlayoutDeviceIndex", GetPlayoutDeviceIndex, AtLeast("s", "Expected arguments : guid")),
    ROW("getCaptureDeviceIndexByGUID", GetCaptureDeviceIndexByGUID, AtLeast("s", "Expected arguments : guid or name")),
    H0("startTestMicrophone", StartTestMicrophone),
    H0("stopTestMicrophone", StopTestMicrophone),
    ROW("startTestCamera", StartTestCamera, AtLeast("sco", "Expected arguments : strGuid, callback, captureFormat")),
    H0("stopTestCamera", StopTestCamera),
    ROW("setCaptureDeviceInfo", SetCaptureDeviceInfo, AtLeast("so", "Expected arguments : guid ,formate")),
    ROW("getCaptureDeviceFormatList", GetCaptureDeviceFormatList, AtLeast("s", "Expected arguments : guid")),
    ROW("handleDefaultDeviceChange", HandleDefaultDeviceChange, AtLeast("b", "Expected arguments : enable")),
    H0("isAudioRecording", IsAudioRecording),
    ROW("registerAudioDeviceDataExceptionCallback", RegisterObserver<O::kDataException>,
        AtLeast("c", "Expected arguments : callback")),
    L0("unRegisterAudioDeviceDataExceptionCallback", UnregisterObserver<O::kDataException>),
    {G "isLoopbackDeviceExist", IsLoopbackDeviceExist, Free(), kMinusOne},
    {G "installLoopbackDevice", LiveOrThrow<0>, Exactly("ss*", "Expected 3 arguments"), kMinusOne},
    {G "cancelInstallLoopbackDevice", LiveOrThrow<-1>, Free(), kMinusOne},
    L0("startSystemAudioLoopback", StartSystemAudioLoopback),
    L0("stopSystemAudioLoopback", StopSystemAudioLoopback),
    {G "restartCoreAudioService", LiveOrThrow<0>, Exactly("s*", "Expected 2 arguments"), kMinusOne},
    ROW("setAudioParamSavePath", SetAudioParamSavePath, AtLeast("s", "Expected arguments : AudioParamSavePath")),
    ROW("openCamera", OpenCamera, AtLeast("snco", "Expected arguments : guid, type, view, format")),
    ROW("closeCamera", CloseCamera, AtLeast("n", "Expected arguments : type")),
    ROW("capturePhoto", CapturePhoto, AtLeast("nncb", "Expected arguments : width, height, callback, mirror")),
    {G "RequestScreenCaptureAccess", RequestScreenCaptureAccess, Free(), kMinusOne},
    {G "IsAeroEnabled", IsAeroEnabled, Free(), kMinusOne},
    {G "getWindowsList", GetWindowsList, NoArgs("Invalid arguments"), kMinusOne},
    {G "getScreenList", GetScreenList, NoArgs("Invalid arguments"), kMinusOne},
    {G "getWindowStatus", GetWindowStatus, Free(), kMinusOne},
    L0("setCaptureRotation", SetCaptureRotation),
    ROW("enableStaticFrameDetector", EnableStaticFrameDetector, AtLeast("o", "Expected arg index 0 to be bizinfo.")),
    ROW("registerDeviceErrorCallback", RegisterObserver<O::kDeviceError>, AtLeast("c", "Expected arguments : callback")),
    L0("unregisterDeviceErrorCallback", UnregisterObserver<O::kDeviceError>),
    ROW("registerDeviceEventCallback", RegisterObserver<O::kDeviceEvent>, AtLeast("c", "Expected arguments : callback")),
    L0("unregisterDeviceEventCallback", UnregisterObserver<O::kDeviceEvent>),
    {G "setElectronVersion", SetElectronVersion, AtLeast("n", "Expected 1 arguments"), kVoid},
};

}  // namespace

void RegisterDeviceEngineGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
