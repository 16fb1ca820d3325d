// What the control module drives in the simulated player core: synthetic I420
// video drawn into the renderers players are given, the bytes players read
// from external data sources, and the downloaders' answers.
#ifndef LIVE_ENGINE_SIM_PLAYER_SIM_H_
#define LIVE_ENGINE_SIM_PLAYER_SIM_H_

#include <cstdint>
#include <string>
#include <vector>

#include "engine_export.h"

namespace sim {

// What a playing player draws on its render thread (fps 0: nothing; frames
// are then drawn only by DrawPlayerFrames).
struct PlayerVideo {
  int width = 320;
  int height = 180;
  int rotation = 0;
  int fps = 0;
  int alpha_type = 0;
};
ENGINE_API void SetPlayerVideo(const PlayerVideo& video);
ENGINE_API PlayerVideo GetPlayerVideo();

// Identifiers of the players alive, oldest first.
ENGINE_API std::vector<int64_t> PlayerIds();

// Draws frames first .. first + count - 1 of the moving picture into player
// `id`'s renderer on the calling thread; answers how many were drawn (0 when
// the player is gone or has no renderer).
ENGINE_API int64_t DrawPlayerFrames(int64_t id, int width, int height, int rotation, int alpha_type,
                                    int64_t first, int64_t count);

// Frames player `id`'s render thread has drawn since it last started
// playing (frame i of the moving picture is the i-th); 0 when gone.
ENGINE_API int64_t PlayerFramesRendered(int64_t id);

// Frame `index` of the moving picture as packed planes: Y (width x height),
// then U and V ((width + 1) / 2 x (height + 1) / 2 each).
ENGINE_API std::vector<uint8_t> PlayerPicture(int width, int height, int64_t index);
// The same frame converted with tavel::I420ToABGR, unrotated.
ENGINE_API std::vector<uint8_t> PlayerPictureAbgr(int width, int height, int64_t index);

// Every byte pushed into the external data source player `id` reads from
// since the last read; false when the player is gone or reads from none.
ENGINE_API bool ReadPlayerData(int64_t id, std::vector<uint8_t>* out);

}  // namespace sim

#endif  // LIVE_ENGINE_SIM_PLAYER_SIM_H_
