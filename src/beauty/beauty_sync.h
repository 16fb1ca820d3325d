#ifndef LUMEN_BEAUTY_BEAUTY_SYNC_H_
#define LUMEN_BEAUTY_BEAUTY_SYNC_H_

namespace lumen_addon {

// Pushes the stored beauty and AI-sticker state into the current engine,
// after an engine was created or connected.
void SyncBeautyState();

}  // namespace lumen_addon

#endif  // LUMEN_BEAUTY_BEAUTY_SYNC_H_
