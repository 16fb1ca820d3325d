#include "engine/media_track_editor_engine_impl.h"

#include <utility>

#include "callback/callback_dispatcher.h"

namespace lumen_addon {

using Editor = record_engine::MediaTrackEditorEngineInterface;

MediaTrackEditorEngineImpl::MediaTrackEditorEngineImpl() {
  LUMEN_LOG(kInfo, kTag) << "MediaTrackEditorEngineImpl()";
  LUMEN_LOG(kInfo, kTag) << "createMediaTrackEditor";
  editor_ = record_engine::MediaTrackEditorEngineInterface::createNewMediaTrackEditor();
}

MediaTrackEditorEngineImpl::~MediaTrackEditorEngineImpl() { Shutdown(); }

int MediaTrackEditorEngineImpl::Init() { return editor_ ? editor_->init() : -1; }

void MediaTrackEditorEngineImpl::Shutdown() {
  if (shut_down_) return;
  shut_down_ = true;
  LUMEN_LOG(kInfo, kTag) << "destroyMediaTrackEditor";
  if (editor_) {
    editor_->release();
    delete editor_;
    editor_ = nullptr;
  }
  // The editor called them until now.
  if (status_) status_->Retire();
  status_.reset();
  retired_.clear();
  LUMEN_LOG(kInfo, kTag) << "~MediaTrackEditorEngineImpl()";
}

int MediaTrackEditorEngineImpl::Export(const std::string& path, napi_env env, napi_value callback, bool segments) {
  LUMEN_LOG(kInfo, kTag) << "mediaTrackExport, path:" << path;
  return Call("mediaTrackExport failed: editor is null", [&](Editor* editor) {
    // Nothing more of the earlier export reaches JavaScript, queued or not.
    if (status_) status_->Retire();
    CallbackDispatcher::PurgeType(kItemExportStatus);
    auto status = std::make_shared<ExportStatusCallbackImpl>(env, callback, segments);
    const int r = editor->mediaTrackExport(path, status.get());
    // Kept: the editor may have called it up to now, from any thread.
    if (status_) retired_.push_back(std::move(status_));
    status_ = std::move(status);
    return r;
  });
}

int MediaTrackEditorEngineImpl::Insert(const std::string& path, int64_t pos_ms) {
  LUMEN_LOG(kInfo, kTag) << "mediaTrackInsert, mediaName:" << path << "insertPosMs:" << pos_ms;
  return Call("mediaTrackInsert failed: editor is null",
              [&](Editor* editor) { return editor->mediaTrackInsert(path, pos_ms); });
}

int MediaTrackEditorEngineImpl::Delete(int64_t start_ms, int64_t end_ms) {
  LUMEN_LOG(kInfo, kTag) << "mediaTrackDelete, startPosMs:" << start_ms << "endPosMs:" << end_ms;
  return Call("mediaTrackDelete failed: editor is null",
              [&](Editor* editor) { return editor->mediaTrackDelete(start_ms, end_ms); });
}

int MediaTrackEditorEngineImpl::Append(const std::string& path) {
  LUMEN_LOG(kInfo, kTag) << "mediaTrackAppend, mediaName:" << path;
  return Call("mediaTrackAppend failed: editor is null", [&](Editor* editor) { return editor->mediaTrackAppend(path); });
}

int MediaTrackEditorEngineImpl::Replace(const std::string& path, int64_t start_ms, int64_t end_ms) {
  LUMEN_LOG(kInfo, kTag) << "mediaTrackReplace, mediaName:" << path << "startPosMs:" << start_ms << "endPosMs"
                         << end_ms;
  return Call("mediaTrackReplace failed: editor is null",
              [&](Editor* editor) { return editor->mediaTrackReplace(path, start_ms, end_ms); });
}

int64_t MediaTrackEditorEngineImpl::Duration() {
  LUMEN_LOG(kInfo, kTag) << "getMediaTrackDuration";
  return editor_ ? editor_->getMediaTrackDuration() : -1;
}

}  // namespace lumen_addon
