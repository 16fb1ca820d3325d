// Requests the simulated engine hands to the host's HTTP executor, and the
// completion callbacks that journal what came back.
#include <atomic>
#include <memory>
#include <mutex>

#include "live/internal.h"
#include "sim/http.h"
#include "sim/sim.h"

namespace sim {
namespace {

struct HttpJournal {
  std::mutex mu;
  std::vector<HttpCompletion> completions;
  std::atomic<uint64_t> next_id{1};
  std::atomic<uint64_t> issued{0};
};

HttpJournal& J() {
  static auto* j = [] {
    auto* journal = new HttpJournal;
    OnReset([journal] {
      std::lock_guard<std::mutex> lock(journal->mu);
      journal->completions.clear();
      journal->issued = 0;
    });
    return journal;
  }();
  return *j;
}

// Completes nothing by itself: a callback the host lets go of unanswered
// simply disappears, as the engine would see it.
class JournalingCallback : public lumen::HttpCallback {
 public:
  JournalingCallback(uint64_t id, const lumen::HttpRequest& request, int value)
      : id_(id), url_(request.url), type_(request.type), value_(value) {
    live::CountObject("httpCallbacks", 1);
  }
  ~JournalingCallback() override { live::CountObject("httpCallbacks", -1); }

  void OnSuccess(const lumen::HttpResponse& response) override { Note(true, "", response); }
  void OnFailure(const std::string& message, const lumen::HttpResponse& response) override {
    Note(false, message, response);
  }

 private:
  void Note(bool ok, const std::string& message, const lumen::HttpResponse& r) {
    HttpCompletion c{id_, url_, type_, value_, ok, message, r.status_code, {}, r.body()};
    for (const auto& h : r.headers) c.headers.emplace_back(h.name, h.value);
    std::lock_guard<std::mutex> lock(J().mu);
    J().completions.push_back(std::move(c));
  }

  uint64_t id_;
  std::string url_;
  int32_t type_;
  int32_t value_;
};

void ParseHeaders(const std::string& lines, lumen::HttpRequest* request) {
  for (size_t start = 0; start < lines.size();) {
    size_t end = lines.find('\n', start);
    if (end == std::string::npos) end = lines.size();
    std::string line = lines.substr(start, end - start);
    size_t colon = line.find(':');
    if (colon != std::string::npos) {
      size_t value = line.find_first_not_of(' ', colon + 1);
      request->headers.push_back({line.substr(0, colon), value == std::string::npos ? "" : line.substr(value)});
    }
    start = end + 1;
  }
}

}  // namespace

std::vector<HttpCompletion> HttpCompletions() {
  std::lock_guard<std::mutex> lock(J().mu);
  return J().completions;
}

uint64_t HttpIssued() { return J().issued.load(); }

}  // namespace sim

namespace live {

// Execute takes [url, method, type, headers, body, value]: headers are
// "Name: value" lines kept in their order, body a string or a Buffer. It
// answers the request's id.
void HoldHttpExecutor(const void* owner, lumen::HttpExecutor* executor) {
  if (!executor) {
    sim::ReleaseName("HttpExecutor.Execute", owner);
    return;
  }
  sim::Hold(owner, "HttpExecutor.Execute", [executor](const sim::Args& a) {
    lumen::HttpRequest request;
    request.url = a.Str(0);
    request.method = static_cast<int32_t>(a.Int(1));
    request.type = static_cast<int32_t>(a.Int(2));
    sim::ParseHeaders(a.Str(3), &request);
    if (const sim::Bytes* body = a.Buf(4)) request.SetBody(body->data(), body->size());
    const int value = static_cast<int>(a.Int(5));
    const uint64_t id = sim::J().next_id.fetch_add(1);
    sim::J().issued.fetch_add(1);
    executor->Execute(request, std::make_shared<sim::JournalingCallback>(id, request, value), value);
    sim::Answer(sim::ArgsOf(static_cast<double>(id)));
  });
}

// The room's scheduler look-up: with a scheduler host that is an http://
// URL, the engine asks it where the room lives, from an engine thread.
void LookUpScheduler(const void* live_client, const lumen::CommandClientConfig& config) {
  const std::string& host = config.scheduler_host;
  if (host.rfind("http://", 0) != 0) return;
  std::string url = host;
  if (!url.empty() && url.back() == '/') url.pop_back();
  url += "/v1/schedule?roomId=" + std::to_string(config.room_id) + "&userId=" + std::to_string(config.user_id);
  std::string headers = "Accept: application/json\nX-Room-Id: " + std::to_string(config.room_id) +
                        "\nX-Sdk-Version: " + config.sdk_version;
  sim::Args args({url, static_cast<double>(lumen::kHttpGet), static_cast<double>(lumen::kHttpTypeScheduler), headers,
                  sim::Value{}, static_cast<double>(config.room_id % 1000000)});
  sim::RunOnEngineThread(6, [live_client, args] {
    sim::FireHere("HttpExecutor.Execute", args, nullptr, live_client);
  }, false);
}

}  // namespace live
