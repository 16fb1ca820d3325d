// The host's HTTP executor as the simulated engine uses it: requests issued
// from engine threads through the held executor, and a journal of how each
// was completed.
#ifndef LIVE_ENGINE_SIM_HTTP_H_
#define LIVE_ENGINE_SIM_HTTP_H_

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "engine_export.h"
#include "sim/sim.h"

namespace sim {

// One completion of one request: a request completed twice has two.
struct HttpCompletion {
  uint64_t id;
  std::string url;
  int32_t type;
  int32_t value;
  bool ok;
  std::string message;
  int32_t status;
  std::vector<std::pair<std::string, std::string>> headers;
  Bytes body;
};

ENGINE_API std::vector<HttpCompletion> HttpCompletions();
// Requests handed to an executor so far (since the last reset).
ENGINE_API uint64_t HttpIssued();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_HTTP_H_
