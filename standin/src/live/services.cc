// Process-wide services of the engine library and the business-type helper.
#include "live/internal.h"
#include "sim/records.h"
#include "sim/services.h"
#include "sim/sim.h"
#include "tavel/biz_info.h"

namespace tavel {

// The business type of a track is its track type; the rest is carried over.
bool BizTypeWrapper::ToBizInfo(const VideoTrackInfo& track, BizInfo& biz) {
  sim::Note("tavel.BizTypeWrapper.ToBizInfo", track);
  if (!sim::ScriptedBool("tavel.BizTypeWrapper.ToBizInfo", true)) return false;
  biz.biz_type = track.type;
  biz.user_id = track.user_id;
  biz.group_id = track.group_id;
  biz.collect = track.collect;
  return true;
}

}  // namespace tavel

namespace korin {
namespace {

// Owner of the process-wide analytics handler's firers.
const char kTallyOwner = 0;

class NetworkProberSim : public transport_v2::NetworkProber {
 public:
  void UpdateContext(const transport_v2::NetworkProberContext& c) override { sim::Note("korin.transport_v2.NetworkProber.UpdateContext", c); }
  void StartEsProber() override { sim::Note("korin.transport_v2.NetworkProber.StartEsProber"); }
  void StopEsProber() override { sim::Note("korin.transport_v2.NetworkProber.StopEsProber"); }
  void GetEsProberResult(transport_v2::NetworkProberContext* c) override {
    sim::Note("korin.transport_v2.NetworkProber.GetEsProberResult");
    sim::FillProbeResult(c);
  }
};

}  // namespace

TallyHandler::~TallyHandler() = default;

void RegisterTallyHandler(TallyHandler* handler) {
  sim::Note("korin.RegisterTallyHandler", handler);
  live::HoldTallyHandler(&kTallyOwner, handler);
}

int SetEngineGlobalCacheFolder(const std::string& folder) { return sim::Call("korin.SetEngineGlobalCacheFolder", folder); }

namespace media_dump {
int Init(int64_t id, const std::string& a, const std::string& b, const std::string& c, const std::string& d,
         bool enable, lumen::LiveClient* client, int reserved) {
  return sim::Call("korin.media_dump.Init", id, a, b, c, d, enable, client, reserved);
}
}  // namespace media_dump

namespace thread_monitor {
void Init() { sim::Note("korin.thread_monitor.Init"); }
}  // namespace thread_monitor

namespace transport_v2 {

NetworkProber* NetworkProber::GetInstance() {
  sim::Note("korin.transport_v2.NetworkProber.GetInstance");
  static NetworkProber* prober = new NetworkProberSim;
  return prober;
}

NetworkProber::~NetworkProber() = default;

}  // namespace transport_v2
}  // namespace korin
