// The simulated media track editor: the track is the recorded spans of the
// segment files inserted into it, in track order; an export writes them as
// one segment file. Each export's callback is held as
// "ExportStatusCallback:<n>.onExportProgress" / ".onExportFinished" until
// the editor is released; an export runs by itself when the timing gives
// it a step, else its firers run it.
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "live/internal.h"
#include "record_engine/common_error_code.h"
#include "record_engine/media_track_editor.h"
#include "recording/recorder_state.h"
#include "sim/sim.h"

namespace recording {
namespace {

using record_engine::CommonErrorCode;

#define EDITOR(m) "record_engine.MediaTrackEditorEngineInterface." m

// The track: spans of recorded time, in track order.
struct Track {
  sim::Segment segment;

  int64_t Duration() const { return segment.DurationMs(); }
  // Splits the span that `pos` falls inside; answers the index of the first
  // span at or after it.
  size_t SplitAt(int64_t pos) {
    int64_t at = 0;
    auto& spans = segment.spans;
    for (size_t i = 0; i < spans.size(); ++i) {
      const int64_t length = spans[i].end_ms - spans[i].start_ms;
      if (pos == at) return i;
      if (pos < at + length) {
        sim::Span tail{spans[i].start_ms + (pos - at), spans[i].end_ms};
        spans[i].end_ms = tail.start_ms;
        spans.insert(spans.begin() + static_cast<long>(i) + 1, tail);
        return i + 1;
      }
      at += length;
    }
    return spans.size();
  }
  void Insert(int64_t pos, const sim::Segment& media) {
    if (segment.spans.empty()) {
      segment.width = media.width;
      segment.height = media.height;
      segment.fps = media.fps;
    }
    const size_t at = SplitAt(pos);
    segment.spans.insert(segment.spans.begin() + static_cast<long>(at), media.spans.begin(), media.spans.end());
  }
  void Delete(int64_t start, int64_t end) {
    const size_t first = SplitAt(start);
    const size_t last = SplitAt(end);
    segment.spans.erase(segment.spans.begin() + static_cast<long>(first),
                        segment.spans.begin() + static_cast<long>(last));
  }
};

class MediaTrackEditor : public record_engine::MediaTrackEditorEngineInterface {
 public:
  MediaTrackEditor() { live::CountObject("mediaTrackEditors", 1); }
  ~MediaTrackEditor() override {
    End();
    live::CountObject("mediaTrackEditors", -1);
  }

  int init() override { return sim::Call(EDITOR("init")); }
  int release() override {
    const int r = sim::Call(EDITOR("release"));
    End();
    return r;
  }
  int mediaTrackInsert(const std::string& path, int64_t pos) override {
    return Edit(sim::Call(EDITOR("mediaTrackInsert"), path, pos), path, pos, pos, true);
  }
  int mediaTrackDelete(int64_t start, int64_t end) override {
    return Edit(sim::Call(EDITOR("mediaTrackDelete"), start, end), "", start, end, false);
  }
  int mediaTrackAppend(const std::string& path) override {
    const int r = sim::Call(EDITOR("mediaTrackAppend"), path);
    int64_t end;
    {
      std::lock_guard<std::mutex> lock(mu_);
      end = track_.Duration();
    }
    return Edit(r, path, end, end, true);
  }
  int mediaTrackReplace(const std::string& path, int64_t start, int64_t end) override {
    return Edit(sim::Call(EDITOR("mediaTrackReplace"), path, start, end), path, start, end, true);
  }
  int64_t getMediaTrackDuration() override {
    sim::Note(EDITOR("getMediaTrackDuration"));
    std::lock_guard<std::mutex> lock(mu_);
    return track_.Duration();
  }
  int mediaTrackExport(const std::string& path, record_engine::ExportStatusCallback* cb) override {
    int r = sim::Call(EDITOR("mediaTrackExport"), path, static_cast<const void*>(cb));
    if (r != 0) return r;
    std::shared_ptr<Export> job;
    {
      std::lock_guard<std::mutex> lock(mu_);
      if (ended_) return CommonErrorCode::kNotInitialized;
      if (path.empty() || !cb) return CommonErrorCode::kInvalidParameter;
      if (track_.segment.spans.empty()) return CommonErrorCode::kWrongState;
      if (running_) running_->cancelled = true;
      job = std::make_shared<Export>();
      job->name = "ExportStatusCallback:" + std::to_string(NextNumber("export"));
      job->path = path;
      job->track = track_.segment;
      running_ = job;
    }
    sim::Hold(owner_, job->name + ".onExportProgress",
              [cb](const sim::Args& a) { cb->onExportProgress(static_cast<int>(a.Int(0))); });
    sim::Hold(owner_, job->name + ".onExportFinished", [cb, job](const sim::Args& a) {
      record_engine::ExportResult result;
      result.error_code = static_cast<int32_t>(a.Int(0));
      result.message = a.Str(1);
      if (result.error_code == 0 && !sim::WriteSegment(job->path, job->track)) {
        result.error_code = CommonErrorCode::kIoError;
        result.message = "cannot write " + job->path;
      }
      if (result.error_code == 0) {
        int64_t at = 0;
        for (const sim::Span& s : job->track.spans) {
          const int64_t length = s.end_ms - s.start_ms;
          result.segment_infos.push_back({at, at + length});
          at += length;
        }
        result.duration_ms = at;
      }
      cb->onExportFinished(result);
    });
    const int step = sim::GetRecordingTiming().export_step_ms;
    if (step >= 0) Run(owner_, job, step, 1);
    return 0;
  }

 private:
  struct Export {
    std::string name;
    std::string path;
    sim::Segment track;
    std::atomic<bool> cancelled{false};
  };

  // Progress 25, 50, 75, 100, then the end, `step` ms apart. Runs through
  // the firers only: they are gone once the editor is.
  static void Run(const void* owner, std::shared_ptr<Export> job, int step, int quarter) {
    sim::RunOnEngineThreadAfter(3, step, [owner, job, step, quarter] {
      if (job->cancelled) return;
      if (quarter > 4) {
        sim::FireHere(job->name + ".onExportFinished", sim::ArgsOf(0.0, std::string()), nullptr, owner);
        return;
      }
      if (sim::FireHere(job->name + ".onExportProgress", sim::ArgsOf(25.0 * quarter), nullptr, owner))
        Run(owner, job, step, quarter + 1);
    });
  }

  int Edit(int r, const std::string& path, int64_t start, int64_t end, bool insert) {
    if (r != 0) return r;
    sim::Segment media;
    if (insert && !sim::ReadSegment(path, &media)) return CommonErrorCode::kFileNotFound;
    std::lock_guard<std::mutex> lock(mu_);
    if (ended_) return CommonErrorCode::kNotInitialized;
    if (start < 0 || end < start || end > track_.Duration() || (!insert && end == start))
      return CommonErrorCode::kInvalidParameter;
    if (end > start) track_.Delete(start, end);
    if (insert) track_.Insert(start, media);
    return 0;
  }

  // No export reports anything afterwards.
  void End() {
    {
      std::lock_guard<std::mutex> lock(mu_);
      ended_ = true;
      if (running_) running_->cancelled = true;
    }
    sim::Release(owner_);
  }

  const void* const owner_ = NewOwnerKey();
  std::mutex mu_;
  Track track_;
  bool ended_ = false;
  std::shared_ptr<Export> running_;
};

}  // namespace
}  // namespace recording

namespace record_engine {

MediaTrackEditorEngineInterface* MediaTrackEditorEngineInterface::createNewMediaTrackEditor() {
  sim::Note(EDITOR("createNewMediaTrackEditor"));
  return sim::ScriptedBool(EDITOR("createNewMediaTrackEditor"), true) ? new recording::MediaTrackEditor : nullptr;
}

MediaTrackEditorEngineInterface::~MediaTrackEditorEngineInterface() = default;
ExportStatusCallback::~ExportStatusCallback() = default;

}  // namespace record_engine
