// Simulated device engines: the live device engine of a root, the classic
// stand-alone device engine, the newer audio device, the audio recording and
// the window and screen lists. Every call is journalled as
// "<interface>.<Method>"; lists come from the scripted machine (sim/devices.h),
// out values from the object's own state unless "<op>.value" is scripted.
#include <algorithm>
#include <atomic>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <type_traits>

#include "device/device_records.h"
#include "korin/audio_device.h"
#include "korin/sdk_services.h"
#include "live/internal.h"
#include "rtc/win_version.h"
#include "sim/devices.h"
#include "sim/live.h"
#include "sim/methods.h"
#include "sim/records.h"
#include "sim/sim.h"
#include "tavel/live_play_engine.h"

namespace sim {
namespace {

struct Machine {
  std::mutex mu;
  std::map<std::string, std::vector<DeviceEntry>> devices;
  std::vector<WindowEntry> windows;
  std::vector<record_engine::Source> screens;
  bool aero = true;
  int win_version = rtc::rtc_win::VERSION_WIN10;
  int electron = 0;
};

Machine& TheMachine() {
  static Machine* m = [] {
    auto* machine = new Machine;
    OnReset([machine] {
      std::lock_guard<std::mutex> lock(machine->mu);
      machine->devices.clear();
      machine->windows.clear();
      machine->screens.clear();
      machine->aero = true;
      machine->win_version = rtc::rtc_win::VERSION_WIN10;
      machine->electron = 0;
    });
    return machine;
  }();
  return *m;
}

}  // namespace

void SetDevices(const std::string& kind, std::vector<DeviceEntry> devices) {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  TheMachine().devices[kind] = std::move(devices);
}

std::vector<DeviceEntry> Devices(const std::string& kind) {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  auto it = TheMachine().devices.find(kind);
  return it == TheMachine().devices.end() ? std::vector<DeviceEntry>() : it->second;
}

void SetWindows(std::vector<WindowEntry> windows) {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  TheMachine().windows = std::move(windows);
}

void SetScreens(std::vector<record_engine::Source> screens) {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  TheMachine().screens = std::move(screens);
}

void SetAeroEnabled(bool on) {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  TheMachine().aero = on;
}

void SetWinVersion(int version) {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  TheMachine().win_version = version;
}

int ElectronVersion() {
  std::lock_guard<std::mutex> lock(TheMachine().mu);
  return TheMachine().electron;
}

}  // namespace sim

namespace live {
namespace {

const char* KindName(int32_t kind) {
  switch (kind) {
    case tavel::kVideoCapture: return "cameras";
    case tavel::kAudioRecording: return "microphones";
    case tavel::kAudioPlayout: return "speakers";
    default: return "";
  }
}

// The device at `index` of a kind (-2: the default one, else the first).
bool Lookup(int32_t kind, int32_t index, sim::DeviceEntry* out) {
  auto list = sim::Devices(KindName(kind));
  if (index == tavel::kDefaultDeviceIndex) {
    if (list.empty()) return false;
    auto it = std::find_if(list.begin(), list.end(), [](const sim::DeviceEntry& d) { return d.is_default; });
    *out = it == list.end() ? list.front() : *it;
    return true;
  }
  if (index < 0 || static_cast<size_t>(index) >= list.size()) return false;
  *out = list[static_cast<size_t>(index)];
  return true;
}

int IndexOf(int32_t kind, const char* guid_or_name) {
  if (!guid_or_name) return -1;
  auto list = sim::Devices(KindName(kind));
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i].guid == guid_or_name || list[i].name == guid_or_name) return static_cast<int>(i);
  return -1;
}

void CopyName(char* out, const std::string& s) {
  if (!out) return;
  size_t n = std::min(s.size(), static_cast<size_t>(tavel::kDeviceNameSize - 1));
  std::memcpy(out, s.data(), n);
  out[n] = '\0';
}

// Missing in the engine's sense: an invalid parameter.
constexpr int kNoSuchDevice = -3;

// The state every simulated audio device keeps, so that a set reads back.
struct DeviceState {
  std::mutex mu;
  uint32_t speaker_volume = 50;
  uint32_t mic_volume = 50;
  bool agc = false;
  bool output_mute = false;
  bool input_mute = false;
  bool system_input_mute = false;
  bool system_output_mute = false;
};

template <typename T>
int Get(const std::string& op, T* out, T current) {
  int r = sim::Call(op, out != nullptr);
  if (r == 0 && out) *out = static_cast<T>(sim::ScriptedInt(op + ".value", static_cast<int>(current)));
  return r;
}

template <typename T>
int Set(const std::string& op, DeviceState& s, T DeviceState::*field, T value) {
  int r = sim::Call(op, value);
  if (r == 0) {
    std::lock_guard<std::mutex> lock(s.mu);
    s.*field = value;
  }
  return r;
}

template <typename T>
T Read(DeviceState& s, T DeviceState::*field) {
  std::lock_guard<std::mutex> lock(s.mu);
  return s.*field;
}

void HoldRecordingSink(const void* owner, tavel::MicrophoneRecordingCallback* cb) {
  using C = tavel::MicrophoneRecordingCallback;
  sim::HoldMethods<C>(owner, "DeviceRecordingSink", cb,
                      {SIM_METHOD(OnAudioRecordingStart), SIM_METHOD(OnAudioRecordingStop),
                       SIM_METHOD(OnMicrophoneRecordedPcmData), SIM_METHOD(OnMicrophoneRecordedAacData),
                       SIM_METHOD(OnMicrophoneRecordedOpusData), SIM_METHOD(OnMicrophoneRecordedIsacData)});
}

template <typename Stats>
void FillStats(Stats* stats) {
  if (!stats) return;
  tavel::RecordingMicrophoneInfo r = sim::RecordingInfo();
  stats->encoded_recorded_ms = static_cast<int32_t>(r.encoded_recorded_ms);
  stats->encoded_voice_activity_ms = static_cast<int32_t>(r.encoded_voice_activity_ms);
  stats->encoded_non_zero_sample_count = static_cast<int32_t>(r.encoded_non_zero_sample_count);
  stats->pcm_recorded_sample_count = static_cast<int32_t>(r.pcm_recorded_sample_count);
  stats->pcm_recorded_sample_max = r.pcm_recorded_sample_max;
  stats->recording_start_time_ms = static_cast<int32_t>(r.recording_start_time_ms);
  stats->error_code = r.error_code;
  stats->hint = static_cast<uint32_t>(r.hint);
  if constexpr (std::is_same_v<Stats, tavel::DeviceRecordingStats>) {
    stats->start_during_interruption = r.start_during_interruption;
    stats->interruption_after_start = r.interruption_after_start;
  } else {
    stats->flag = r.start_during_interruption;
  }
}

// The operations the classic and the live device engine share; `prefix`
// names the interface in the journal.
template <typename Base>
class SimDevice : public Base {
 public:
  SimDevice(const char* prefix, const void* owner) : prefix_(prefix), owner_(owner) {}

  int SetSpeakerVolume(uint32_t v) override { return Set(Op("SetSpeakerVolume"), s_, &DeviceState::speaker_volume, v); }
  int GetSpeakerVolume(uint32_t* v) override { return Get(Op("GetSpeakerVolume"), v, Read(s_, &DeviceState::speaker_volume)); }
  int SetMicVolume(uint32_t v) override { return Set(Op("SetMicVolume"), s_, &DeviceState::mic_volume, v); }
  int GetMicVolume(uint32_t* v) override { return Get(Op("GetMicVolume"), v, Read(s_, &DeviceState::mic_volume)); }
  int GetSpeechInputLevel(uint32_t* l) override { return Get(Op("GetSpeechInputLevel"), l, 0u); }
  int GetSpeechOutputLevel(int32_t ssrc, uint32_t* l) override {
    int r = sim::Call(Op("GetSpeechOutputLevel"), ssrc);
    if (r == 0 && l) *l = static_cast<uint32_t>(sim::ScriptedInt(Op("GetSpeechOutputLevel.value"), 0));
    return r;
  }
  int SetAgcStatus(bool on) override { return Set(Op("SetAgcStatus"), s_, &DeviceState::agc, on); }
  int GetAgcStatus(bool* on) override { return Get(Op("GetAgcStatus"), on, Read(s_, &DeviceState::agc)); }
  int SetOutputChannelVolume(int32_t ssrc, uint32_t v) override { return sim::Call(Op("SetOutputChannelVolume"), ssrc, v); }
  int SetOutputChannelMute(int32_t ssrc, bool m) override { return sim::Call(Op("SetOutputChannelMute"), ssrc, m); }
  int SetOutputMute(bool m) override { return Set(Op("SetOutputMute"), s_, &DeviceState::output_mute, m); }
  int GetOutputMute(bool* m) override { return Get(Op("GetOutputMute"), m, Read(s_, &DeviceState::output_mute)); }
  int GetInputMute(bool* m) override { return Get(Op("GetInputMute"), m, Read(s_, &DeviceState::input_mute)); }
  int SetInputMute(bool m) override { return Set(Op("SetInputMute"), s_, &DeviceState::input_mute, m); }
  int StartRecordingMicrophone(const tavel::MicrophoneRecordingParam& p) override {
    int r = sim::Call(Op("StartRecordingMicrophone"), p);
    if (r == 0) HoldRecordingSink(owner_, p.sink);
    return r;
  }
  int StartRecordingMicrophone(tavel::MicrophoneRecordingCallback* sink, bool aec) override {
    int r = sim::Call(Op("StartRecordingMicrophone"), sink, aec);
    if (r == 0) HoldRecordingSink(owner_, sink);
    return r;
  }
  int StopRecordingMicrophone(tavel::DeviceRecordingStats* stats) override {
    int r = sim::Call(Op("StopRecordingMicrophone"));
    HoldRecordingSink(owner_, nullptr);
    if (r == 0) FillStats(stats);
    return r;
  }
  int GetRecordInfoAndReset(tavel::DeviceRecordingStats* stats) override {
    int r = sim::Call(Op("GetRecordInfoAndReset"));
    if (r == 0) FillStats(stats);
    return r;
  }
  int GetNumOfRecordingDevices(int32_t* n) override { return Get(Op("GetNumOfRecordingDevices"), n, Count(tavel::kAudioRecording)); }
  int GetNumOfPlayoutDevices(int32_t* n) override { return Get(Op("GetNumOfPlayoutDevices"), n, Count(tavel::kAudioPlayout)); }
  int GetDeviceInfo(int32_t kind, int32_t index, tavel::DeviceInfo* info) override {
    int r = sim::Call(Op("GetDeviceInfo"), kind, index);
    if (r != 0) return r;
    sim::DeviceEntry d;
    if (!Lookup(kind, index, &d)) return kNoSuchDevice;
    if (info) {
      CopyName(info->name, d.name);
      CopyName(info->guid, d.guid);
      info->transport_type = d.transport_type;
    }
    return 0;
  }
  int StartTestMicrophone() override { return sim::Call(Op("StartTestMicrophone")); }
  int StopTestMicrophone() override { return sim::Call(Op("StopTestMicrophone")); }
  int StartTestCamera(const char* guid, tavel::VideoSinkInterface* sink, const tavel::VideoCaptureFormat& f) override {
    int r = sim::Call(Op("StartTestCamera"), guid, sink, f);
    if (r == 0) HoldSink(owner_, kTestCameraSink, sink);
    return r;
  }
  int StopTestCamera() override {
    int r = sim::Call(Op("StopTestCamera"));
    ReleaseSink(owner_, kTestCameraSink);
    return r;
  }
  int GetNumOfCaptureDevices() override {
    sim::Note(Op("GetNumOfCaptureDevices"));
    return sim::ScriptedInt(Op("GetNumOfCaptureDevices"), Count(tavel::kVideoCapture));
  }
  int GetCaptureDeviceName(int32_t i, char* name, char* guid) override { return Name(Op("GetCaptureDeviceName"), tavel::kVideoCapture, i, name, guid); }
  int GetCaptureDeviceIndex(const char* guid, const tavel::VideoCaptureFormat& f) override {
    sim::Note(Op("GetCaptureDeviceIndex"), guid, f);
    return sim::ScriptedInt(Op("GetCaptureDeviceIndex"), IndexOf(tavel::kVideoCapture, guid));
  }
  int SetCaptureDevice(const char* guid, const tavel::VideoCaptureFormat& f) override { return sim::Call(Op("SetCaptureDevice"), guid, f); }
  int HandleDefaultDeviceChange(bool on) override { return sim::Call(Op("HandleDefaultDeviceChange"), on); }
  int GetSystemInputMute(bool* m) override { return Get(Op("GetSystemInputMute"), m, Read(s_, &DeviceState::system_input_mute)); }
  int SetSystemInputMute(bool m) override { return Set(Op("SetSystemInputMute"), s_, &DeviceState::system_input_mute, m); }
  int GetSystemOutputMute(bool* m) override { return Get(Op("GetSystemOutputMute"), m, Read(s_, &DeviceState::system_output_mute)); }
  int SetSystemOutputMute(bool m) override { return Set(Op("SetSystemOutputMute"), s_, &DeviceState::system_output_mute, m); }
  int GetCaptureDeviceFormatList(const char* guid, std::vector<tavel::VideoCaptureFormat>* list) override {
    int r = sim::Call(Op("GetCaptureDeviceFormatList"), guid);
    if (r != 0) return r;
    int i = IndexOf(tavel::kVideoCapture, guid);
    if (i < 0) return kNoSuchDevice;
    if (list) *list = sim::Devices("cameras")[static_cast<size_t>(i)].formats;
    return 0;
  }
  int OpenCamera(int t, tavel::VideoSinkInterface* sink) override {
    int r = sim::Call(Op("OpenCamera"), t, sink);
    if (r == 0) HoldSink(owner_, LocalSink(t), sink);
    return r;
  }
  // A closed camera delivers no more frames to its capture sink.
  int CloseCamera(int t) override {
    int r = sim::Call(Op("CloseCamera"), t);
    ReleaseSink(owner_, LocalSink(t));
    return r;
  }
  int GetRecordingDeviceName(int32_t i, char* name, char* guid) override { return Name(Op("GetRecordingDeviceName"), tavel::kAudioRecording, i, name, guid); }
  int GetPlayoutDeviceName(int32_t i, char* name, char* guid) override { return Name(Op("GetPlayoutDeviceName"), tavel::kAudioPlayout, i, name, guid); }
  int SetRecordingDevice(const char* g) override { return sim::Call(Op("SetRecordingDevice"), g); }
  int SetDefaultRecordingDevice() override { return sim::Call(Op("SetDefaultRecordingDevice")); }
  int SetPlayoutDevice(const char* g) override { return sim::Call(Op("SetPlayoutDevice"), g); }
  int SetDefaultPlayoutDevice() override { return sim::Call(Op("SetDefaultPlayoutDevice")); }
  int GetRecordingDeviceIndex(const char* g) override { return Index(Op("GetRecordingDeviceIndex"), tavel::kAudioRecording, g); }
  int GetPlayoutDeviceIndex(const char* g) override { return Index(Op("GetPlayoutDeviceIndex"), tavel::kAudioPlayout, g); }
  int SetAudioDevicePreprocessorMode(int32_t m) override { return sim::Call(Op("SetAudioDevicePreprocessorMode"), m); }

 protected:
  static constexpr char kTestCameraSink[] = "sink:camera:test";

  std::string Op(const char* method) const { return std::string(prefix_) + "." + method; }
  static int32_t Count(int32_t kind) { return static_cast<int32_t>(sim::Devices(KindName(kind)).size()); }
  static int Name(const std::string& op, int32_t kind, int32_t index, char* name, char* guid) {
    int r = sim::Call(op, index);
    if (r != 0) return r;
    sim::DeviceEntry d;
    if (!Lookup(kind, index, &d)) return kNoSuchDevice;
    CopyName(name, d.name);
    CopyName(guid, d.guid);
    return 0;
  }
  static int Index(const std::string& op, int32_t kind, const char* guid) {
    sim::Note(op, guid);
    return sim::ScriptedInt(op, IndexOf(kind, guid));
  }

  const char* const prefix_;
  const void* const owner_;
  DeviceState s_;
};

class LiveDevice : public SimDevice<tavel::LiveDeviceEngine> {
 public:
  explicit LiveDevice(const void* owner) : SimDevice("tavel.LiveDeviceEngine", owner) {}

  int RegisterDeviceEventCallback(tavel::DeviceEventCallback* cb) override {
    int r = sim::Call(Op("RegisterDeviceEventCallback"), cb);
    if (r >= 0 || !cb) HoldDeviceEventCallback(owner_, cb);
    return r;
  }
  int SetAudioParameterPath(const std::string& path) override { return sim::Call(Op("SetAudioParameterPath"), path); }
  int GetSpeechOutputLevel(const tavel::BizInfo& i, uint32_t* l) override {
    int r = sim::Call(Op("GetSpeechOutputLevelBiz"), i);
    if (r == 0 && l) *l = static_cast<uint32_t>(sim::ScriptedInt(Op("GetSpeechOutputLevelBiz.value"), 0));
    return r;
  }
  using SimDevice::GetSpeechOutputLevel;
  using SimDevice::SetOutputChannelMute;
  using SimDevice::SetOutputChannelVolume;
  int SetOutputChannelVolume(const tavel::BizInfo& i, uint32_t v) override { return sim::Call(Op("SetOutputChannelVolumeBiz"), i, v); }
  int SetOutputChannelMute(const tavel::BizInfo& i, bool m) override { return sim::Call(Op("SetOutputChannelMuteBiz"), i, m); }
  int StartSystemAudioLoopback() override { return sim::Call(Op("StartSystemAudioLoopback")); }
  int StopSystemAudioLoopback() override { return sim::Call(Op("StopSystemAudioLoopback")); }
  int RegisterAudioDeviceDataExceptionObserver(tavel::AudioDeviceDataExceptionObserver* o) override {
    int r = sim::Call(Op("RegisterAudioDeviceDataExceptionObserver"), o);
    using C = tavel::AudioDeviceDataExceptionObserver;
    if (r >= 0 || !o)
      sim::HoldMethods<C>(owner_, "AudioDeviceDataExceptionObserver", r >= 0 ? o : nullptr,
                          {SIM_METHOD(OnRecordingDataException), SIM_METHOD(OnPlayoutDataException),
                           SIM_METHOD(OnLoopbackDataException)});
    return r;
  }
  int RegisterDeviceErrorCallback(tavel::DeviceErrorObserver* o) override {
    int r = sim::Call(Op("RegisterDeviceErrorCallback"), o);
    using C = tavel::DeviceErrorObserver;
    if (r >= 0 || !o) sim::HoldMethods<C>(owner_, "DeviceErrorObserver", r >= 0 ? o : nullptr, {SIM_METHOD(OnDeviceError)});
    return r;
  }
  int EnableStaticFrameDetector(const korin::FrameValidDetectorConfig& c) override {
    int r = sim::Call(Op("EnableStaticFrameDetector"), c);
    if (r == 0 && c.callback) {
      auto cb = c.callback;
      sim::Hold(owner_, "FrameValidDetector.OnResult", [cb](const sim::Args& a) { cb(a.Bool(0), a.Bool(1)); });
    }
    return r;
  }
  int SetCaptureRotation(int rotation) override { return sim::Call(Op("SetCaptureRotation"), rotation); }
  int CapturePhoto(int w, int h, tavel::VideoSinkInterface* sink, tavel::PhotoCaptureCallback* cb, bool mirror) override {
    int r = sim::Call(Op("CapturePhoto"), w, h, sink, cb, mirror);
    if (r != 0) return r;
    HoldSink(owner_, LocalSink(10), sink);
    using C = tavel::PhotoCaptureCallback;
    sim::HoldMethods<C>(owner_, "PhotoCaptureCallback", cb, {SIM_METHOD(OnPictureCaptured)});
    return r;
  }
  int StopCapturePhoto() override {
    int r = sim::Call(Op("StopCapturePhoto"));
    sim::ReleaseName("PhotoCaptureCallback.OnPictureCaptured", owner_);
    return r;
  }
};

class ClassicDevice : public SimDevice<tavel::DeviceEngine> {
 public:
  ClassicDevice() : SimDevice("tavel.DeviceEngine", this) { CountObject("deviceEngines", 1); }
  ~ClassicDevice() override {
    sim::Release(this);
    CountObject("deviceEngines", -1);
  }
  int RegisterObserver(tavel::DeviceEngineObserver* o) override {
    int r = sim::Call(Op("RegisterObserver"), o);
    using C = tavel::DeviceEngineObserver;
    sim::HoldMethods<C>(this, "DeviceEngineObserver", o,
                        {SIM_METHOD(OnAudioInputDeviceChanged), SIM_METHOD(OnAudioOutputDeviceChanged),
                         SIM_METHOD(OnVideoInputDeviceChanged), SIM_METHOD(OnVideoFrameReceived),
                         SIM_METHOD(OnAudioRecordingStart), SIM_METHOD(OnAudioRecordingStop)});
    return r;
  }
  int Release(int64_t value) override { return sim::Call(Op("Release"), value); }
  int Reset(const tavel::Ticket& t) override { return sim::Call(Op("Reset"), t); }
  int SetAudioProcessingBypass(int32_t module, bool bypass) override {
    return sim::Call(Op("SetAudioProcessingBypass"), module, bypass);
  }
};

#define AUDIO_OP(m) "korin.AudioDeviceInterface." m

class AudioDeviceSim : public korin::AudioDeviceInterface {
 public:
  AudioDeviceSim() { CountObject("audioDevices", 1); }
  ~AudioDeviceSim() override {
    sim::Release(this);
    CountObject("audioDevices", -1);
  }
  int RegisterEventListener(korin::AudioDeviceEventListener* l) override {
    int r = sim::Call(AUDIO_OP("RegisterEventListener"), l);
    using C = korin::AudioDeviceEventListener;
    sim::HoldMethods<C>(this, "AudioDeviceEventListener", l,
                        {SIM_METHOD(OnAudioInputDeviceChanged), SIM_METHOD(OnAudioOutputDeviceChanged),
                         SIM_METHOD(OnDefaultAudioInputDeviceChanged), SIM_METHOD(OnDefaultAudioOutputDeviceChanged)});
    return r;
  }
  int SetSpeakerVolume(uint32_t v) override { return Set(AUDIO_OP("SetSpeakerVolume"), s_, &DeviceState::speaker_volume, v); }
  int GetSpeakerVolume(uint32_t* v) override { return Get(AUDIO_OP("GetSpeakerVolume"), v, Read(s_, &DeviceState::speaker_volume)); }
  int SetMicVolume(uint32_t v) override { return Set(AUDIO_OP("SetMicVolume"), s_, &DeviceState::mic_volume, v); }
  int GetMicVolume(uint32_t* v) override { return Get(AUDIO_OP("GetMicVolume"), v, Read(s_, &DeviceState::mic_volume)); }
  int GetSpeechInputLevel(uint32_t* l) override { return Get(AUDIO_OP("GetSpeechInputLevel"), l, 0u); }
  int GetSpeechOutputLevel(int32_t ssrc, uint32_t* l) override {
    int r = sim::Call(AUDIO_OP("GetSpeechOutputLevel"), ssrc);
    if (r == 0 && l) *l = static_cast<uint32_t>(sim::ScriptedInt(AUDIO_OP("GetSpeechOutputLevel.value"), 0));
    return r;
  }
  int SetOutputChannelVolume(int32_t ssrc, uint32_t v) override { return sim::Call(AUDIO_OP("SetOutputChannelVolume"), ssrc, v); }
  int SetOutputChannelMute(int32_t ssrc, bool m) override { return sim::Call(AUDIO_OP("SetOutputChannelMute"), ssrc, m); }
  int SetOutputMute(bool m) override { return Set(AUDIO_OP("SetOutputMute"), s_, &DeviceState::output_mute, m); }
  int GetOutputMute(bool* m) override { return Get(AUDIO_OP("GetOutputMute"), m, Read(s_, &DeviceState::output_mute)); }
  int GetInputMute(bool* m) override { return Get(AUDIO_OP("GetInputMute"), m, Read(s_, &DeviceState::input_mute)); }
  int SetInputMute(bool m) override { return Set(AUDIO_OP("SetInputMute"), s_, &DeviceState::input_mute, m); }
  int GetNumOfRecordingDevices() override {
    sim::Note(AUDIO_OP("GetNumOfRecordingDevices"));
    return sim::ScriptedInt(AUDIO_OP("GetNumOfRecordingDevices"), static_cast<int>(sim::Devices("microphones").size()));
  }
  int GetNumOfPlayoutDevices() override {
    sim::Note(AUDIO_OP("GetNumOfPlayoutDevices"));
    return sim::ScriptedInt(AUDIO_OP("GetNumOfPlayoutDevices"), static_cast<int>(sim::Devices("speakers").size()));
  }
  int GetDeviceInfo(int32_t kind, int32_t index, tavel::DeviceInfo* info) override {
    int r = sim::Call(AUDIO_OP("GetDeviceInfo"), kind, index);
    if (r != 0) return r;
    sim::DeviceEntry d;
    if (kind == tavel::kVideoCapture || !Lookup(kind, index, &d)) return kNoSuchDevice;
    if (info) {
      CopyName(info->name, d.name);
      CopyName(info->guid, d.guid);
      info->transport_type = d.transport_type;
    }
    return 0;
  }
  int GetRecordingDeviceName(int32_t i, char* name, char* guid) override { return Name(AUDIO_OP("GetRecordingDeviceName"), tavel::kAudioRecording, i, name, guid); }
  int GetPlayoutDeviceName(int32_t i, char* name, char* guid) override { return Name(AUDIO_OP("GetPlayoutDeviceName"), tavel::kAudioPlayout, i, name, guid); }
  int SetRecordingDevice(const char* g) override { return sim::Call(AUDIO_OP("SetRecordingDevice"), g); }
  int SetDefaultRecordingDevice() override { return sim::Call(AUDIO_OP("SetDefaultRecordingDevice")); }
  int SetPlayoutDevice(const char* g) override { return sim::Call(AUDIO_OP("SetPlayoutDevice"), g); }
  int SetDefaultPlayoutDevice() override { return sim::Call(AUDIO_OP("SetDefaultPlayoutDevice")); }
  int GetRecordingDeviceIndex(const char* g) override {
    sim::Note(AUDIO_OP("GetRecordingDeviceIndex"), g);
    return sim::ScriptedInt(AUDIO_OP("GetRecordingDeviceIndex"), IndexOf(tavel::kAudioRecording, g));
  }
  int GetPlayoutDeviceIndex(const char* g) override {
    sim::Note(AUDIO_OP("GetPlayoutDeviceIndex"), g);
    return sim::ScriptedInt(AUDIO_OP("GetPlayoutDeviceIndex"), IndexOf(tavel::kAudioPlayout, g));
  }
  int StartTestMicrophone() override { return sim::Call(AUDIO_OP("StartTestMicrophone")); }
  int StopTestMicrophone() override { return sim::Call(AUDIO_OP("StopTestMicrophone")); }
  int HandleDefaultDeviceChange(bool on) override { return sim::Call(AUDIO_OP("HandleDefaultDeviceChange"), on); }
  int GetSystemInputMute(bool* m) override { return Get(AUDIO_OP("GetSystemInputMute"), m, Read(s_, &DeviceState::system_input_mute)); }
  int SetSystemInputMute(bool m) override { return Set(AUDIO_OP("SetSystemInputMute"), s_, &DeviceState::system_input_mute, m); }
  int GetSystemOutputMute(bool* m) override { return Get(AUDIO_OP("GetSystemOutputMute"), m, Read(s_, &DeviceState::system_output_mute)); }
  int SetSystemOutputMute(bool m) override { return Set(AUDIO_OP("SetSystemOutputMute"), s_, &DeviceState::system_output_mute, m); }
  int SetAudioDevicePreprocessorMode(int32_t m) override { return sim::Call(AUDIO_OP("SetAudioDevicePreprocessorMode"), m); }

 private:
  static int Name(const char* op, int32_t kind, int32_t index, char* name, char* guid) {
    int r = sim::Call(op, index);
    if (r != 0) return r;
    sim::DeviceEntry d;
    if (!Lookup(kind, index, &d)) return kNoSuchDevice;
    CopyName(name, d.name);
    CopyName(guid, d.guid);
    return 0;
  }
  DeviceState s_;
};

#define REC_OP(m) "korin.AudioRecording." m

class AudioRecordingSim : public korin::AudioRecording {
 public:
  AudioRecordingSim() { CountObject("audioRecordings", 1); }
  ~AudioRecordingSim() override {
    sim::Release(this);
    CountObject("audioRecordings", -1);
  }
  void SetSceneName(const std::string& scene) override { sim::Note(REC_OP("SetSceneName"), scene); }
  // A microphone device that is running cannot be started again.
  int StartMicrophoneDevice(bool a, int reserved, bool b, const korin::AudioRecordingParam& p) override {
    int r = sim::Call(REC_OP("StartMicrophoneDevice"), a, reserved, b, p);
    if (r == 0 && mic_started_.exchange(true)) r = -1;
    return r;
  }
  int StopMicrophoneDevice() override {
    mic_started_ = false;
    return sim::Call(REC_OP("StopMicrophoneDevice"));
  }
  int StartRecording(const korin::AudioRecordingParam& p, tavel::MicrophoneRecordingCallback* sink, int reserved) override {
    int r = sim::Call(REC_OP("StartRecording"), p, sink, reserved);
    if (r == 0) HoldRecordingSink(this, sink);
    return r;
  }
  int StopRecording(korin::AudioRecordingStats* stats) override {
    int r = sim::Call(REC_OP("StopRecording"));
    HoldRecordingSink(this, nullptr);
    FillStats(stats);
    if (stats) stats->unreported = 7;
    return r;
  }
  int SetAudioProcessingBypass(int32_t module, bool bypass) override {
    return sim::Call(REC_OP("SetAudioProcessingBypass"), module, bypass);
  }

 private:
  std::atomic<bool> mic_started_{false};
};

}  // namespace

tavel::LiveDeviceEngine* NewLiveDevice(const void* owner) { return new LiveDevice(owner); }

}  // namespace live

namespace tavel {

DeviceEngine* DeviceEngine::Create(const Ticket& ticket) {
  sim::Note("tavel.DeviceEngine.Create", ticket);
  return sim::ScriptedBool("tavel.DeviceEngine.Create", true) ? new live::ClassicDevice : nullptr;
}

void DeviceEngine::Destroy(DeviceEngine* engine) {
  sim::Note("tavel.DeviceEngine.Destroy", engine);
  delete engine;
}

DeviceEngine::~DeviceEngine() = default;
AudioDeviceDataExceptionObserver::~AudioDeviceDataExceptionObserver() = default;
DeviceErrorObserver::~DeviceErrorObserver() = default;
DeviceEngineObserver::~DeviceEngineObserver() = default;
PhotoCaptureCallback::~PhotoCaptureCallback() = default;

}  // namespace tavel

namespace korin {

AudioDeviceInterface* AudioDeviceInterface::CreateAudioDevice() {
  sim::Note("korin.AudioDeviceInterface.CreateAudioDevice");
  return sim::ScriptedBool("korin.AudioDeviceInterface.CreateAudioDevice", true) ? new live::AudioDeviceSim : nullptr;
}

AudioDeviceInterface::~AudioDeviceInterface() = default;
AudioDeviceEventListener::~AudioDeviceEventListener() = default;

AudioRecording* AudioRecording::Create(const std::string& config) {
  sim::Note("korin.AudioRecording.Create", config);
  return sim::ScriptedBool("korin.AudioRecording.Create", true) ? new live::AudioRecordingSim : nullptr;
}

void AudioRecording::Destroy(AudioRecording* recording) {
  sim::Note("korin.AudioRecording.Destroy", recording);
  delete recording;
}

AudioRecording::~AudioRecording() = default;

namespace base {
bool is_aero_enabled() {
  sim::Note("korin.base.is_aero_enabled");
  std::lock_guard<std::mutex> lock(sim::TheMachine().mu);
  return sim::TheMachine().aero;
}
void set_electron_version(int version) {
  sim::Note("korin.base.set_electron_version", version);
  std::lock_guard<std::mutex> lock(sim::TheMachine().mu);
  sim::TheMachine().electron = version;
}
}  // namespace base

}  // namespace korin

namespace rtc {
namespace rtc_win {
Version GetVersion() {
  std::lock_guard<std::mutex> lock(sim::TheMachine().mu);
  return static_cast<Version>(sim::TheMachine().win_version);
}
}  // namespace rtc_win
}  // namespace rtc

namespace record_engine {

std::vector<Source> RecordEngineInterface::GetWindowsList() {
  sim::Note("record_engine.RecordEngineInterface.GetWindowsList");
  std::lock_guard<std::mutex> lock(sim::TheMachine().mu);
  std::vector<Source> out;
  for (const auto& w : sim::TheMachine().windows) out.push_back(w.source);
  return out;
}

std::vector<Source> RecordEngineInterface::GetScreenList() {
  sim::Note("record_engine.RecordEngineInterface.GetScreenList");
  std::lock_guard<std::mutex> lock(sim::TheMachine().mu);
  return sim::TheMachine().screens;
}

WindowStatus RecordEngineInterface::GetWindowStatus(int64_t id) {
  sim::Note("record_engine.RecordEngineInterface.GetWindowStatus", id);
  std::lock_guard<std::mutex> lock(sim::TheMachine().mu);
  for (const auto& w : sim::TheMachine().windows)
    if (w.source.id == id) return w.status;
  WindowStatus missing;
  missing.unfound = true;
  return missing;
}

}  // namespace record_engine
