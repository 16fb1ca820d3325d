#ifndef RECORD_ENGINE_MEDIA_TRACK_EDITOR_H_
#define RECORD_ENGINE_MEDIA_TRACK_EDITOR_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"

namespace record_engine {

// Where one piece of the exported track lies in it.
struct SegmentInfo {
  int64_t start_time_ms = 0;
  int64_t end_time_ms = 0;
};

struct ExportResult {
  int32_t error_code = 0;
  std::string message;
  int64_t duration_ms = 0;
  std::vector<SegmentInfo> segment_infos;
};

// Progress and end of one export, on engine threads.
class ENGINE_API ExportStatusCallback {
 public:
  virtual ~ExportStatusCallback();
  virtual void onExportProgress(int progress) = 0;
  virtual void onExportFinished(const ExportResult& result) = 0;
};

// One media track made of recorded media, edited by position (ms).
class ENGINE_API MediaTrackEditorEngineInterface {
 public:
  static MediaTrackEditorEngineInterface* createNewMediaTrackEditor();
  virtual ~MediaTrackEditorEngineInterface();

  virtual int init() = 0;
  // Ends every export; nothing is called afterwards.
  virtual int release() = 0;
  virtual int mediaTrackInsert(const std::string& path, int64_t insert_pos_ms) = 0;
  virtual int mediaTrackDelete(int64_t start_pos_ms, int64_t end_pos_ms) = 0;
  virtual int mediaTrackAppend(const std::string& path) = 0;
  virtual int mediaTrackReplace(const std::string& path, int64_t start_pos_ms, int64_t end_pos_ms) = 0;
  virtual int64_t getMediaTrackDuration() = 0;
  // The engine stops calling an earlier export's callback once this returned.
  virtual int mediaTrackExport(const std::string& path, ExportStatusCallback* callback) = 0;
};

}  // namespace record_engine

#endif  // RECORD_ENGINE_MEDIA_TRACK_EDITOR_H_
