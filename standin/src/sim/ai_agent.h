// What the simulated AI agent's audio pull loop has read from the host's
// audio provider.
#ifndef LIVE_ENGINE_SIM_AI_AGENT_H_
#define LIVE_ENGINE_SIM_AI_AGENT_H_

#include <cstdint>
#include <vector>

#include "engine_export.h"

namespace sim {

struct AgentAudio {
  uint64_t pulls = 0;
  uint64_t failures = 0;
  int32_t sample_rate = 0;
  int32_t channels = 0;
  uint64_t frames = 0;
  std::vector<int16_t> samples;  // of the last successful pull
};
ENGINE_API AgentAudio GetAgentAudio();

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_AI_AGENT_H_
