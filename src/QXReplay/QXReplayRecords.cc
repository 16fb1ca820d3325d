#include "QXReplay/QXReplayRecords.h"

#include "common/convert.h"
#include "common/record_reader.h"

namespace lumen_addon {

namespace {

using korin::replay::ActionStatus;
using korin::replay::BizInfo;
using korin::replay::DownloaderConfig;
using korin::replay::DownloadRequest;
using korin::replay::DownloadRoomInfo;
using korin::replay::DownloadSpan;
using korin::replay::DownloadStatus;
using korin::replay::ReplayError;
using korin::replay::ReplayState;
using korin::replay::RoomInfo;
using record::Field;

const Field<RoomInfo> kRoomInfo[] = {
    LUMEN_FIELD("host", RoomInfo, host, kString),
    LUMEN_FIELD("roomId", RoomInfo, room_id, kInt64),
    LUMEN_FIELD("signature", RoomInfo, signature, kString),
    LUMEN_FIELD("businessId", RoomInfo, business_id, kString),
    LUMEN_FIELD("isAdmin", RoomInfo, is_admin, kBool),
    LUMEN_FIELD("isSlim", RoomInfo, is_slim, kBool),
    LUMEN_FIELD("live", RoomInfo, live, kBool),
    LUMEN_FIELD("timeToPlayMs", RoomInfo, time_to_play_ms, kInt64),
    LUMEN_FIELD("forceFlushMetaInfo", RoomInfo, force_flush_meta_info, kBool),
};

const Field<BizInfo> kBizInfo[] = {
    LUMEN_FIELD("bizType", BizInfo, biz_type, kInt32),
    LUMEN_FIELD("userId", BizInfo, user_id, kInt64),
    LUMEN_FIELD("groupId", BizInfo, group_id, kInt32),
};

const Field<ReplayError> kError[] = {
    LUMEN_FIELD("errorCode", ReplayError, error_code, kInt32),
    LUMEN_FIELD("subCode", ReplayError, sub_code, kInt32),
};

const Field<ReplayState> kState[] = {
    LUMEN_FIELD("roomId", ReplayState, room_id, kInt64),
    LUMEN_FIELD("live", ReplayState, live, kBool),
    LUMEN_FIELD("timeToPlayMs", ReplayState, time_to_play_ms, kInt64),
    LUMEN_FIELD("state", ReplayState, state, kInt32),
    LUMEN_FIELD("seeking", ReplayState, seeking, kBool),
    LUMEN_FIELD("buffering", ReplayState, buffering, kBool),
    LUMEN_FIELD("playRate", ReplayState, play_rate, kNumber),
    LUMEN_FIELD("positionMs", ReplayState, position_ms, kInt64),
    LUMEN_FIELD("durationMs", ReplayState, duration_ms, kInt64),
    LUMEN_NESTED_LIST("videoStreams", ReplayState, video_streams, kBizInfo),
    LUMEN_NESTED_LIST("audioStreams", ReplayState, audio_streams, kBizInfo),
    LUMEN_NESTED("error", ReplayState, error, kError),
};

const Field<ActionStatus> kActionStatus[] = {
    LUMEN_FIELD("actionType", ActionStatus, action_type, kInt32),
    LUMEN_FIELD("durationMs", ActionStatus, duration_ms, kInt64),
    LUMEN_FIELD("extraData", ActionStatus, extra_data, kString),
};

const Field<DownloadRoomInfo> kDownloadRoomInfo[] = {
    LUMEN_FIELD("roomId", DownloadRoomInfo, room_id, kInt64),
    LUMEN_FIELD("businessId", DownloadRoomInfo, business_id, kString),
    LUMEN_FIELD("isSlim", DownloadRoomInfo, is_slim, kBool),
    LUMEN_FIELD("isAdmin", DownloadRoomInfo, is_admin, kBool),
};

const Field<DownloadSpan> kSpan[] = {
    LUMEN_FIELD("startNpt", DownloadSpan, start_npt, kInt64),
    LUMEN_FIELD("endNpt", DownloadSpan, end_npt, kInt64),
};

const Field<DownloadRequest> kRequest[] = {
    LUMEN_FIELD("host", DownloadRequest, host, kString),
    LUMEN_NESTED("roomInfo", DownloadRequest, room_info, kDownloadRoomInfo),
    LUMEN_FIELD("signature", DownloadRequest, signature, kString),
    LUMEN_FIELD("enableEvicted", DownloadRequest, enable_evicted, kBool),
    LUMEN_NESTED_LIST("spans", DownloadRequest, spans, kSpan),
    LUMEN_FIELD("startNpt", DownloadRequest, start_npt, kInt64),
    LUMEN_FIELD("endNpt", DownloadRequest, end_npt, kInt64),
};

const Field<DownloadStatus> kDownloadStatus[] = {
    LUMEN_NESTED("request", DownloadStatus, request, kRequest),
    LUMEN_FIELD("downloadSize", DownloadStatus, download_size, kInt64),
    LUMEN_FIELD("totalSize", DownloadStatus, total_size, kInt64),
    LUMEN_FIELD("state", DownloadStatus, state, kInt32),
    LUMEN_FIELD("error", DownloadStatus, error, kInt32),
};

const Field<DownloaderConfig> kConfig[] = {
    LUMEN_FIELD("maxParallelDownloads", DownloaderConfig, max_parallel_downloads, kInt32),
    LUMEN_FIELD("userId", DownloaderConfig, user_id, kInt64),
};

Napi::Value CopyArrayBuffer(Napi::Env env, const std::vector<uint8_t>& bytes) {
  napi_value ab = js::CopyArrayBuffer(env, bytes.data(), bytes.size());
  if (!ab) Napi::Error::New(env).ThrowAsJavaScriptException();
  return Napi::Value(env, ab);
}

// Input records: present keys only, none coerced (the header says why).
constexpr record::Policy kInput = record::kStrictPresent;

}  // namespace

std::vector<ReplayChunk> CopyChunks(const korin::replay::ChunkList& chunks) {
  std::vector<ReplayChunk> out;
  out.reserve(chunks.size());
  for (const auto& c : chunks) {
    ReplayChunk copy;
    copy.npt = c.npt;
    if (c.data && c.size) copy.bytes.assign(c.data, c.data + c.size);
    out.push_back(std::move(copy));
  }
  return out;
}

Napi::Value ChunkBuffers(Napi::Env env, const std::vector<ReplayChunk>& chunks) {
  Napi::Array a = Napi::Array::New(env, chunks.size());
  for (uint32_t i = 0; i < chunks.size(); ++i) a.Set(i, CopyArrayBuffer(env, chunks[i].bytes));
  return a;
}

RoomInfo From<RoomInfo>::Read(const Napi::Value& v) { return record::Read(v, kRoomInfo, kInput); }
BizInfo From<BizInfo>::Read(const Napi::Value& v) { return record::Read(v, kBizInfo, kInput); }
DownloadRoomInfo From<DownloadRoomInfo>::Read(const Napi::Value& v) { return record::Read(v, kDownloadRoomInfo, kInput); }
DownloadRequest From<DownloadRequest>::Read(const Napi::Value& v) { return record::Read(v, kRequest, kInput); }
DownloaderConfig From<DownloaderConfig>::Read(const Napi::Value& v) { return record::Read(v, kConfig, kInput); }

Napi::Value ToJs<ReplayChunk>::New(Napi::Env env, const ReplayChunk& c) {
  Napi::Object o = Napi::Object::New(env);
  o.Set("npt", Napi::Number::New(env, static_cast<double>(c.npt)));
  o.Set("data", CopyArrayBuffer(env, c.bytes));
  return o;
}

Napi::Value ToJs<ReplayState>::New(Napi::Env env, const ReplayState& s) { return record::Write(env, kState, s); }
Napi::Value ToJs<ActionStatus>::New(Napi::Env env, const ActionStatus& s) { return record::Write(env, kActionStatus, s); }
Napi::Value ToJs<DownloadStatus>::New(Napi::Env env, const DownloadStatus& s) {
  return record::Write(env, kDownloadStatus, s);
}

}  // namespace lumen_addon
