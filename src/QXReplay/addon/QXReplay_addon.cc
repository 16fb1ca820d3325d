// The QXReplay_* group: replay rooms held by JavaScript as handles. A number
// that is no live room is logged and answered as a zero handle would be
// (undefined; false from getState; 0 from the speech level), never
// dereferenced. Records are read strictly: a key of another type is a
// TypeError and the export does nothing more.
#include <napi.h>

#include <memory>

#include "QXReplay/QXReplayRecords.h"
#include "QXReplay/QXReplayRoom.h"
#include "addon/groups.h"
#include "common/export_table.h"
#include "common/forward.h"
#include "common/logging.h"
#include "korin/replay/replay_engine.h"
#include "qx_base/handle_arg.h"

namespace lumen_addon {
namespace {

constexpr char kTag[] = "EngineAddon";

using Engine = korin::replay::ReplayEngine;
using korin::replay::BizInfo;
using Room = ByHandle<QXReplayRoom>;

// Reads a record argument strictly; false (the TypeError pending) when a
// key had another type.
template <typename R>
bool ReadRecord(const Napi::CallbackInfo& info, size_t i, R* out) {
  *out = From<R>::Read(info[i]);
  return !info.Env().IsExceptionPending();
}

Napi::Value EnterRoom(const Napi::CallbackInfo& info) {
  korin::replay::RoomInfo room_info;
  if (!ReadRecord(info, 0, &room_info)) return FailureValue(info.Env(), RowOf(info).failure);
  std::shared_ptr<QXReplayRoom> room = QXReplayRoom::Enter(info.Env(), room_info, info[1]);
  if (!room) {
    LUMEN_LOG(kError, kTag) << "QXReplay_enterRoom: the replay engine could not be created";
    return Napi::Number::New(info.Env(), 0);
  }
  return HandleValue(info.Env(), HandleRegistry::Add(HandleKind::kReplayRoom, room));
}

Napi::Value LeaveRoom(const Napi::CallbackInfo& info) {
  // Calls still running (a getter of theirs left the room) keep it until they return.
  TakeHandleArg<QXReplayRoom>(info);
  return info.Env().Undefined();
}

Napi::Value SeekTo(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  room.SeekTo(info[1].As<Napi::Number>().Int64Value(), info[2]);
  return info.Env().Undefined();
}

template <void (QXReplayRoom::*kFetch)(int64_t, int64_t, napi_value)>
Napi::Value Fetch(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  (room.*kFetch)(info[1].As<Napi::Number>().Int64Value(), info[2].As<Napi::Number>().Int64Value(), info[3]);
  return info.Env().Undefined();
}

// A stream operation: the stream is read first (getters run there), then
// the room acts on it, unless the read raised.
template <typename Act>
Napi::Value OnStream(const Napi::CallbackInfo& info, QXReplayRoom& room, Act&& act) {
  BizInfo stream;
  if (ReadRecord(info, 1, &stream)) act(stream);
  return info.Env().Undefined();
}

Napi::Value VideoStart(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  // The listener argument has no role: it is admitted, and nothing holds it.
  return OnStream(info, room, [&](const BizInfo& s) { room.VideoStartReceive(s, info[2]); });
}
Napi::Value VideoStop(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  return OnStream(info, room, [&](const BizInfo& s) { room.VideoStopReceive(s); });
}
Napi::Value AudioStart(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  return OnStream(info, room, [&](const BizInfo& s) { room.AudioStartReceive(s, info[2]); });
}
Napi::Value AudioStop(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  return OnStream(info, room, [&](const BizInfo& s) { room.AudioStopReceive(s); });
}

Napi::Value GetState(const Napi::CallbackInfo& info, QXReplayRoom& room) {
  return ToJs<korin::replay::ReplayState>::New(info.Env(), room.engine()->GetState());
}

// Never throws: anything but (room, stream object) answers 0, and so does a
// stream whose keys have other types.
Napi::Value GetSpeechOutputLevel(const Napi::CallbackInfo& info) {
  Napi::Env env = info.Env();
  if (info.Length() < 2 || !info[0].IsNumber() || !info[1].IsObject()) {
    LUMEN_LOG(kWarning, kTag) << "QXReplay_getSpeechOutputLevel: expected arguments: nativeEngine, bizInfo";
    return Napi::Number::New(env, 0);
  }
  std::shared_ptr<QXReplayRoom> room = HandleArg<QXReplayRoom>(info);
  if (!room) return Napi::Number::New(env, 0);
  BizInfo stream;
  if (!ReadRecord(info, 1, &stream)) {
    Napi::Error error = env.GetAndClearPendingException();
    LUMEN_LOG(kWarning, kTag) << "QXReplay_getSpeechOutputLevel: " << error.Message();
    return Napi::Number::New(env, 0);
  }
  return Napi::Number::New(env, room->engine()->GetSpeechOutputLevel(stream));
}

Napi::Value SetSpatialAudioPosition(const Napi::CallbackInfo& info) { return info.Env().Undefined(); }

constexpr char kRoomOnly[] = "Expected arguments: nativeEngine";
constexpr char kOnStream[] = "Expected arguments: nativeEngine, bizInfo";
constexpr HandleArgs kOnRoom = Handles(HandleKind::kReplayRoom);

#define ROOM_ROW(js_name, handler, types, message, failure) \
  {"QXReplay_" js_name, handler, AtLeast(types, message), failure, nullptr, kOnRoom}
#define APPLY(js_name, Method, types, message) \
  ROOM_ROW(js_name, (Forward<Room, &Engine::Method, NoAnswer>), types, message, kVoid)
#define ON_ROOM(js_name, Op, types, message) ROOM_ROW(js_name, (OnEngine<Room, Op>), types, message, kVoid)

const ExportRow kRows[] = {
    {"QXReplay_enterRoom", EnterRoom, AtLeast("oc", "Expected arguments: roomInfo, listener"), kFalse},
    ROOM_ROW("leaveRoom", LeaveRoom, "n", kRoomOnly, kVoid),
    APPLY("play", Play, "n", kRoomOnly),
    APPLY("pause", Pause, "n", kRoomOnly),
    ON_ROOM("seekTo", SeekTo, "nnf", "Expected arguments: nativeEngine, pos, callback"),
    ON_ROOM("videoStartReceive", VideoStart, "noco", "Expected arguments: nativeEngine, bizInfo, render, listener"),
    ON_ROOM("videoStopReceive", VideoStop, "no", kOnStream),
    ON_ROOM("audioStartReceive", AudioStart, "no", kOnStream),
    ON_ROOM("audioStopReceive", AudioStop, "no", kOnStream),
    APPLY("setPlayRate", SetPlayRate, "nn", "Expected arguments: nativeEngine, playRate"),
    APPLY("setMute", SetMute, "nb", "Expected arguments: nativeEngine, mute"),
    ROOM_ROW("getState", (OnEngine<Room, GetState>), "n", kRoomOnly, kFalse),
    {"QXReplay_setSpatialAudioPosition", SetSpatialAudioPosition, Free(), kVoid},
    ON_ROOM("fetchUserData", (Fetch<&QXReplayRoom::FetchUserData>), "nnnf", "wrong arguments"),
    ON_ROOM("fetchRadioData", (Fetch<&QXReplayRoom::FetchRadioData>), "nnnf", "wrong arguments"),
    {"QXReplay_getSpeechOutputLevel", GetSpeechOutputLevel, Free(), FailWith(0), nullptr, kOnRoom},
};

#undef ON_ROOM
#undef APPLY
#undef ROOM_ROW

}  // namespace

void RegisterQXReplayGroup(napi_env env, napi_value exports) { AddExports(env, exports, kRows); }

}  // namespace lumen_addon
